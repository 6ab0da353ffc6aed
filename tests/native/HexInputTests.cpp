#include "dialogs/HexInput.h"

#include <gtest/gtest.h>

#include <string>

TEST(HexInput, ChecksEmptyThenLengthThenCharacters) {
    struct Case {
        std::u16string input;
        HexInputStatus status;
        std::u16string invalidChar;
    };
    const Case cases[] = {
        {u"", HexInputStatus::Empty, u""},
        {u"ABC", HexInputStatus::OddLength, u""},
        {u"0G", HexInputStatus::InvalidChar, u"G"},
        {u"0A 1B", HexInputStatus::OddLength, u""},      // five characters
        {u"0A  1B", HexInputStatus::InvalidChar, u" "},  // names the first space
        {u"FF", HexInputStatus::Valid, u""},
        {u"0123456789ABCDEF", HexInputStatus::Valid, u""},
        {u"G1X", HexInputStatus::OddLength, u""},    // length before characters
        {u"ZQ", HexInputStatus::InvalidChar, u"Z"},  // only the first is named
        {u"ff", HexInputStatus::InvalidChar, u"f"},  // the box upper-cases; lower case is refused
        {u"0x", HexInputStatus::InvalidChar, u"x"},
        {u"1\u017D", HexInputStatus::InvalidChar, u"\u017D"},          // Ž
        {u"\uFF10\uFF11", HexInputStatus::InvalidChar, u"\uFF10"},     // full-width digits are not digits
        {u"A\U0001F600", HexInputStatus::InvalidChar, u"\U0001F600"},  // two characters, one pair
        {u"\U0001F600", HexInputStatus::OddLength, u""},               // one character in two code units
        {u"A\U0010FFFF", HexInputStatus::InvalidChar, u"\U0010FFFF"},  // the last pair: DBFF DFFF
        {u"A\xDBFF", HexInputStatus::InvalidChar, u"\xDBFF"},          // a lone high surrogate at the very end
        {u"\xD800"
         u"A",
         HexInputStatus::InvalidChar, u"\xD800"},  // a lone surrogate
        {std::u16string(u"0\0", 2), HexInputStatus::InvalidChar, std::u16string(1, u'\0')},
    };
    for (const Case& c : cases) {
        const HexInputCheck check = CheckHexInput(c.input);
        EXPECT_EQ(check.status, c.status) << testing::PrintToString(c.input);
        EXPECT_EQ(check.invalidChar, c.invalidChar) << testing::PrintToString(c.input);
    }
}

TEST(HexInput, DigitValues) {
    const std::u16string digits = u"0123456789ABCDEF";
    for (size_t i = 0; i < digits.size(); ++i)
        EXPECT_EQ(HexCharValue(digits[i]), i) << static_cast<char>(digits[i]);
}

TEST(HexInput, PairsBecomeBytesHighNibbleFirst) {
    EXPECT_EQ(HexToBytes(u"0A1B"), (std::vector<uint8_t>{0x0A, 0x1B}));
    const std::vector<uint8_t> hello = HexToBytes(u"48656C6C6F");
    EXPECT_EQ(std::string(hello.begin(), hello.end()), "Hello");
    EXPECT_EQ(HexToBytes(u"00FF80"), (std::vector<uint8_t>{0x00, 0xFF, 0x80}));
    EXPECT_TRUE(HexToBytes(u"").empty());
}

TEST(HexInput, EveryByteValueSurvivesTheRoundTrip) {
    const char16_t digits[] = u"0123456789ABCDEF";
    std::u16string hex;
    for (int b = 0; b < 256; ++b) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    ASSERT_EQ(CheckHexInput(hex).status, HexInputStatus::Valid);
    const std::vector<uint8_t> bytes = HexToBytes(hex);
    ASSERT_EQ(bytes.size(), 256u);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(bytes[static_cast<size_t>(b)], b);
}

TEST(HexInput, LongInputIsCheckedWhole) {
    // 64 KiB of hex: a fault at the very end is still found and named.
    std::u16string hex(65536, u'A');
    EXPECT_EQ(CheckHexInput(hex).status, HexInputStatus::Valid);
    EXPECT_EQ(HexToBytes(hex).size(), 32768u);
    hex.back() = u'g';
    const HexInputCheck check = CheckHexInput(hex);
    EXPECT_EQ(check.status, HexInputStatus::InvalidChar);
    EXPECT_EQ(check.invalidChar, u"g");
}
