// HexInput: checking hex input and turning it into bytes.
#include "dialogs/HexInput.h"

namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Code units of the character starting at `index`: a surrogate pair counts as
// one character, an unpaired surrogate as a character of its own.
size_t CharacterUnits(std::u16string_view text, size_t index) {
    const bool pair = IsHighSurrogate(text[index]) && index + 1 < text.size() && IsLowSurrogate(text[index + 1]);
    return pair ? 2 : 1;
}

size_t CountCharacters(std::u16string_view text) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); i += CharacterUnits(text, i))
        ++characters;
    return characters;
}

bool IsUpperHexDigit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'F');
}

}  // namespace

HexInputCheck CheckHexInput(std::u16string_view text) {
    if (text.empty())
        return {HexInputStatus::Empty, {}};
    if (CountCharacters(text) % 2 != 0)
        return {HexInputStatus::OddLength, {}};
    for (size_t i = 0; i < text.size(); i += CharacterUnits(text, i)) {
        if (!IsUpperHexDigit(text[i]))
            return {HexInputStatus::InvalidChar, std::u16string(text.substr(i, CharacterUnits(text, i)))};
    }
    return {HexInputStatus::Valid, {}};
}

uint8_t HexCharValue(char16_t digit) {
    if (digit >= u'0' && digit <= u'9')
        return static_cast<uint8_t>(digit - u'0');
    return static_cast<uint8_t>(digit - 55);
}

std::vector<uint8_t> HexToBytes(std::u16string_view hex) {
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(16 * HexCharValue(hex[i]) + HexCharValue(hex[i + 1])));
    return bytes;
}
