// HexInput: checking the Find dialog's hex input and turning it into bytes. Window-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class HexInputStatus {
    Valid,
    Empty,        // nothing typed
    OddLength,    // an odd number of characters
    InvalidChar,  // a character other than 0-9 and A-F
};

struct HexInputCheck {
    HexInputStatus status;
    // The first character that is not a hex digit (InvalidChar only), as the
    // UTF-16 text of that one character: two code units for a character
    // outside the Basic Multilingual Plane, so a message never shows half of it.
    std::u16string invalidChar;
};

// Checks in this order: empty, odd length, the first character that is not
// '0'-'9' or 'A'-'F' (lower-case letters are refused: the edit box makes them
// upper case). Lengths count characters, not UTF-16 code units.
HexInputCheck CheckHexInput(std::u16string_view text);

// Value of one hex digit: '0'-'9' give 0-9; any other character gives its
// code minus 55, so 'A'-'F' give 10-15. Only checked input reaches it.
uint8_t HexCharValue(char16_t digit);

// One byte per pair of digits, high nibble first, in the order written:
// u"0A1B" gives {0x0A, 0x1B}. Meant for input CheckHexInput accepted; a last
// unpaired character is ignored.
std::vector<uint8_t> HexToBytes(std::u16string_view hex);
