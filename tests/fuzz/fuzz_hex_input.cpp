// Hex input checking and conversion against a small reference that works on
// whole characters decoded up front.

#include "dialogs/HexInput.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Bytes below 0xF0 stand for themselves (so hex digits are easy to reach);
// 0xF0 and above take the next two bytes as any UTF-16 code unit.
std::u16string UnitsFrom(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] < 0xF0 || i + 2 >= size) {
            text += static_cast<char16_t>(data[i]);
        } else {
            text += static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]);
            i += 2;
        }
    }
    return text;
}

// Each character as the code units that spell it.
std::vector<std::u16string> Characters(const std::u16string& text) {
    std::vector<std::u16string> characters;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            characters.push_back(text.substr(i, 2));
            ++i;
        } else {
            characters.push_back(text.substr(i, 1));
        }
    }
    return characters;
}

bool IsHexCharacter(const std::u16string& c) {
    return c.size() == 1 && c[0] < 0x80 &&
           std::string("0123456789ABCDEF").find(static_cast<char>(c[0])) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = UnitsFrom(data, size);
    const std::vector<std::u16string> characters = Characters(text);
    const HexInputCheck check = CheckHexInput(text);

    if (characters.empty()) {
        FUZZ_CHECK(check.status == HexInputStatus::Empty);
        return 0;
    }
    if (characters.size() % 2 != 0) {
        FUZZ_CHECK(check.status == HexInputStatus::OddLength);
        return 0;
    }
    for (const std::u16string& c : characters) {
        if (!IsHexCharacter(c)) {
            FUZZ_CHECK(check.status == HexInputStatus::InvalidChar);
            FUZZ_CHECK(check.invalidChar == c);
            return 0;
        }
    }
    FUZZ_CHECK(check.status == HexInputStatus::Valid);
    FUZZ_CHECK(check.invalidChar.empty());

    const std::vector<uint8_t> bytes = HexToBytes(text);
    FUZZ_CHECK(bytes.size() == text.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char pair[3] = {static_cast<char>(text[2 * i]), static_cast<char>(text[2 * i + 1]), '\0'};
        FUZZ_CHECK(bytes[i] == std::strtoul(pair, nullptr, 16));
    }
    return 0;
}
