// SearchProgressText: the progress window's Czech texts.
#include "dialogs/SearchProgressText.h"

#include <algorithm>
#include <array>

namespace {

constexpr char16_t kNoBreakSpace = u'\u00A0';
constexpr char16_t kEllipsis = u'\u2026';

// The whole number with its thousands set apart.
std::u16string GroupedDigits(uint64_t value) {
    std::u16string digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits.push_back(kNoBreakSpace);
            inGroup = 0;
        }
        digits.push_back(static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
        ++inGroup;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

}  // namespace

std::u16string ByteAmountText(uint64_t bytes) {
    struct Unit {
        uint64_t size;
        const char16_t* name;
    };
    constexpr std::array<Unit, 3> kUnits = {
        {{uint64_t{1} << 40, u"TB"}, {uint64_t{1} << 30, u"GB"}, {uint64_t{1} << 20, u"MB"}}};
    const Unit& unit = *std::find_if(kUnits.begin(), kUnits.end() - 1, [&](const Unit& u) { return bytes >= u.size; });
    // Rounded to the nearest tenth without forming bytes * 10, which may not fit.
    uint64_t whole = bytes / unit.size;
    uint64_t tenths = (bytes % unit.size * 10 + unit.size / 2) / unit.size;
    if (tenths == 10) {
        ++whole;
        tenths = 0;
    }
    return GroupedDigits(whole) + u',' + static_cast<char16_t>(u'0' + tenths) + kNoBreakSpace + unit.name;
}

std::u16string SearchedAmountText(uint64_t done, uint64_t total) {
    return u"Prohledáno " + ByteAmountText(done) + u" z " + ByteAmountText(total);
}

std::u16string PatternHexText(std::span<const uint8_t> pattern, size_t shownBytes) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text;
    for (size_t i = 0; i < pattern.size() && i < shownBytes; ++i) {
        if (i != 0)
            text.push_back(u' ');
        text.push_back(kDigits[pattern[i] >> 4]);
        text.push_back(kDigits[pattern[i] & 0x0F]);
    }
    if (pattern.size() > shownBytes)
        text += u" \u2026";
    return text;
}

std::u16string ShortenedText(std::u16string_view text, size_t shownCharacters) {
    if (text.size() <= shownCharacters)
        return std::u16string(text);
    size_t cut = shownCharacters;
    // A high surrogate at the cut would lose its low half.
    if (cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF)
        --cut;
    return std::u16string(text.substr(0, cut)) + kEllipsis;
}
