// Cp1250: the table of Windows-1250 letters and digits.
#include "tests/native/Cp1250.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

// Built from the code page's mapping to Unicode: a byte counts when its
// character is in a Unicode letter category (Lu, Ll, Lt, Lm, Lo) or is a
// decimal digit (Nd). That is how the platform's C1_ALPHA / C1_DIGIT flags
// answer for these characters. Windows-1250 has no superscript digits or
// fractions, so no "other number" needs a decision. Unassigned bytes (0x81,
// 0x83, 0x88, 0x90, 0x98) are not letters.
//   [b for b in range(256) if (c := bytes([b]).decode('cp1250', 'ignore'))
//    and (unicodedata.category(c)[0] == 'L' or unicodedata.category(c) == 'Nd')]
constexpr uint8_t kHighLetters[] = {
    0x8A, 0x8C, 0x8D, 0x8E, 0x8F,  // Š Ś Ť Ž Ź
    0x9A, 0x9C, 0x9D, 0x9E, 0x9F,  // š ś ť ž ź
    0xA1,                          // ˇ caron: a modifier letter (Lm)
    0xA3, 0xA5, 0xAA, 0xAF,        // Ł Ą Ş Ż
    0xB3, 0xB5, 0xB9, 0xBA,        // ł µ ą ş
    0xBC, 0xBE, 0xBF,              // Ľ ľ ż
};
// 0xC0-0xFE are letters except the multiplication and division signs;
// 0xFF is the dot above (˙), a modifier symbol (Sk), not a letter.
constexpr uint8_t kMultiplicationSign = 0xD7;
constexpr uint8_t kDivisionSign = 0xF7;

constexpr void MarkRange(std::array<bool, 256>& table, size_t first, size_t last) {
    for (size_t c = first; c <= last; ++c)
        table[c] = true;
}

constexpr std::array<bool, 256> MakeTable() {
    std::array<bool, 256> table{};
    MarkRange(table, '0', '9');
    MarkRange(table, 'A', 'Z');
    MarkRange(table, 'a', 'z');
    for (uint8_t c : kHighLetters)
        table[c] = true;
    MarkRange(table, 0xC0, 0xFE);
    table[kMultiplicationSign] = false;
    table[kDivisionSign] = false;
    return table;
}

constexpr std::array<bool, 256> kAlphaNumeric = MakeTable();

}  // namespace

bool IsCp1250AlphaNumeric(unsigned char byte) {
    return kAlphaNumeric[byte];
}
