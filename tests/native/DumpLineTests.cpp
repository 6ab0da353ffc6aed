#include "tests/native/Cp1250.h"
#include "view/DumpLine.h"
#include "view/ScrollMath.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <random>
#include <string>

namespace {

using Line = std::array<uint8_t, 16>;

Line BytesOf(const char* text) {
    Line line{};
    std::memcpy(line.data(), text, std::min<size_t>(std::strlen(text), line.size()));
    return line;
}

std::string Format(int32_t offset, const Line& bytes, int32_t count, int32_t filled = 16) {
    return FormatDumpLine(offset, bytes, count, IsCp1250AlphaNumeric, filled);
}

std::string HexCell(const std::string& line, int i) {
    const size_t column = i < 8 ? 15 + 3 * i : 41 + 3 * (i - 8);
    return line.substr(column, 3);
}

char CharCell(const std::string& line, int i) {
    return line[69 + i];
}

// Cells that show a byte, checked against the layout every line must keep.
int CheckLayoutAndCountShownCells(const std::string& line) {
    EXPECT_EQ(line.size(), 88u);
    EXPECT_EQ(line.substr(0, 2), "  ");
    EXPECT_EQ(line.substr(10, 5), "     ");
    EXPECT_EQ(line[40], ' ');
    EXPECT_EQ(line.substr(65, 4), "    ");
    EXPECT_EQ(line.substr(85, 3), "   ");
    int shown = 0;
    for (int i = 0; i < 16; ++i) {
        const bool hexShown = HexCell(line, i) != "   ";
        const bool charShown = CharCell(line, i) != ' ';
        EXPECT_EQ(hexShown, charShown) << "cell " << i << " in [" << line << "]";
        if (hexShown) {
            EXPECT_EQ(shown, i) << "blank cell before cell " << i << " in [" << line << "]";
            ++shown;
        }
    }
    return shown;
}

}  // namespace

TEST(DumpLine, WorkedExampleHelloWorldAtOffset0x20) {
    const Line bytes = BytesOf("Hello World");
    const int32_t count = DumpLineValidCount(0x20, 43);
    ASSERT_EQ(count, 11);
    const std::string expected = "  00000020     "
                                 "48 65 6C 6C 6F 20 57 6F "
                                 "- "
                                 "72 6C 64 " +
                                 std::string(15, ' ') +
                                 "    "
                                 "Hello.World" +
                                 std::string(5, ' ') + "   ";
    EXPECT_EQ(Format(0x20, bytes, count), expected);
}

TEST(DumpLine, FullLineShowsHyphenAndAllSixteenCharacters) {
    const std::string line = Format(0x10, BytesOf("0123456789ABCDEF"), 16);
    EXPECT_EQ(line, "  00000010     30 31 32 33 34 35 36 37 - 38 39 41 42 43 44 45 46 "
                    "    0123456789ABCDEF   ");
}

TEST(DumpLine, CountDecidesShownCellsAndHyphen) {
    struct Case {
        int32_t count;
        int shownCells;
        bool hyphen;
    };
    const Case cases[] = {
        {-5, 0, false}, {0, 0, false},  {1, 1, false},  {8, 8, false},
        {9, 9, true},   {15, 15, true}, {16, 16, true}, {17, 16, true},
    };
    const Line bytes = BytesOf("ABCDEFGHIJKLMNOP");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const std::string line = Format(0x30, bytes, c.count);
        EXPECT_EQ(CheckLayoutAndCountShownCells(line), c.shownCells);
        EXPECT_EQ(line.substr(39, 2), c.hyphen ? "- " : "  ");
    }
    const std::string one = Format(0x30, bytes, 1);
    EXPECT_EQ(one.substr(15, 50), "41 " + std::string(47, ' '));
    EXPECT_EQ(one.substr(69, 16), "A" + std::string(15, ' '));
}

TEST(DumpLine, OffsetAlwaysHasEightUpperCaseDigits) {
    const Line bytes{};
    EXPECT_EQ(Format(0, bytes, 16).substr(0, 15), "  00000000     ");
    EXPECT_EQ(Format(0xABCDE0, bytes, 16).substr(0, 15), "  00ABCDE0     ");
    EXPECT_EQ(Format(0x7FFFFFE0, bytes, 16).substr(0, 15), "  7FFFFFE0     ");
}

TEST(DumpLine, CharacterColumnFollowsWindows1250) {
    struct Case {
        uint8_t byte;
        char shown;
    };
    const Case cases[] = {
        {0x00, '.'},    {0x20, '.'}, {0x41, 'A'}, {0x7A, 'z'}, {0x39, '9'}, {0xE8, '\xE8'},  // č
        {0x8A, '\x8A'},                                                                      // Š
        {0xFF, '.'},  // ˙ dot above: a symbol in this code page
        {0x2E, '.'},    {0x7F, '.'}, {0xA0, '.'},
    };
    for (const Case& c : cases) {
        Line bytes{};
        bytes[3] = c.byte;
        const std::string line = Format(0, bytes, 16);
        EXPECT_EQ(CharCell(line, 3), c.shown) << std::hex << int(c.byte);
        const char hex[] = "0123456789ABCDEF";
        const std::string cell{hex[c.byte >> 4], hex[c.byte & 15], ' '};
        EXPECT_EQ(HexCell(line, 3), cell);
    }
}

TEST(DumpLine, ClassifierReceivesTheUnsignedByteValue) {
    Line bytes{};
    bytes[0] = 0xE8;
    bytes[1] = 0x41;
    const auto onlyE8 = [](unsigned char b) { return b == 0xE8; };
    const std::string line = FormatDumpLine(0, bytes, 2, onlyE8);
    EXPECT_EQ(line.substr(69, 3), "\xE8. ");
}

TEST(DumpLine, CellsTheReadDidNotFillAreBlankButLayoutStays) {
    const Line bytes = BytesOf("ABCDEFGHIJKLMNOP");
    struct Case {
        int32_t count;
        int32_t filled;
        int shown;
        bool hyphen;
    };
    const Case cases[] = {
        {16, 16, 16, true}, {16, 10, 10, true}, {16, 0, 0, true}, {16, -3, 0, true},
        {11, 5, 5, true},   {5, 11, 5, false},  {8, 3, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << "/" << c.filled);
        const std::string line = Format(0x100, bytes, c.count, c.filled);
        EXPECT_EQ(CheckLayoutAndCountShownCells(line), c.shown);
        EXPECT_EQ(line.substr(39, 2), c.hyphen ? "- " : "  ");
    }
}

TEST(DumpLineValidCount, FollowsTheFileEnd) {
    struct Case {
        int32_t offset;
        int32_t length;
        int32_t count;
    };
    const Case cases[] = {
        {0x00, 43, 16},
        {0x10, 43, 16},
        {0x20, 43, 11},
        {0x20, 33, 1},
        {0x10, 32, 16},
        {0x00, 16, 16},
        {0x00, 1, 1},
        {0x00, 17, 16},
        {0x10, 17, 1},
        {0x00, 0, 0},
        {0x00, -1, 0},
        {0x30, 43, 0},
        {0x7FFFFFE0, 0x7FFFFFF0, 16},
        {0x7FFFFFE0, 0x7FFFFFEF, 15},
        {0x7FFFFFE0, 0x7FFFFFE1, 1},
        {0x7FFFFFE0, -1, 0},
        {0x7FFFFFE0, INT_MIN, 0},
        {0, INT_MAX, 16},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DumpLineValidCount(c.offset, c.length), c.count) << "offset " << c.offset << " length " << c.length;
}

TEST(DumpLineValidCount, LinesOfAFileAddUpToItsLength) {
    std::mt19937 random(1250);
    std::uniform_int_distribution<int32_t> lengths(0, 5000);
    for (int round = 0; round < 200; ++round) {
        const int32_t length = round < 40 ? round : lengths(random);
        const int32_t lines = LineCountForLength(length);
        int64_t total = 0;
        for (int32_t n = 0; n < lines; ++n) {
            const int32_t count = DumpLineValidCount(16 * n, length);
            ASSERT_GE(count, 1);
            ASSERT_LE(count, 16);
            if (n + 1 < lines) {
                ASSERT_EQ(count, 16);
            }
            total += count;
        }
        EXPECT_EQ(total, length);
    }
}

TEST(DumpLine, OffsetsPastFourGiBTakeTheDigitsOfTheLastLine) {
    struct Case {
        int64_t length;
        int32_t digits;
    };
    const Case cases[] = {
        {-1, 8},
        {0, 8},
        {1LL << 32, 8},             // last line FFFFFFF0
        {(1LL << 32) + 1, 9},       // last line 100000000
        {1LL << 36, 9},             // last line FFFFFFFF0
        {(1LL << 36) + 1, 10},      // 10 digits past 64 GiB
        {(1LL << 40) + 1, 11},      // 11 past 1 TiB
        {(1LL << 44) - 65536, 11},  // the longest sparse file of ext4
        {INT64_MAX, 16},            // last line 7FFFFFFFFFFFFFF0
    };
    for (const Case& c : cases)
        EXPECT_EQ(OffsetDigitsForLength(c.length), c.digits) << c.length;

    // Only the offset field widens: every field after it keeps its text and its order.
    const Line bytes = BytesOf("0123456789ABCDEF");
    const std::string narrow = FormatDumpLine(0x10, bytes, 16, IsCp1250AlphaNumeric);
    for (int32_t digits = 8; digits <= 16; ++digits) {
        const std::string wide = FormatDumpLine(0x10, bytes, 16, IsCp1250AlphaNumeric, 16, digits);
        ASSERT_EQ(wide.size(), static_cast<size_t>(DumpLineLength(digits))) << digits;
        EXPECT_EQ(wide.substr(0, 2), "  ");
        EXPECT_EQ(wide.substr(2, static_cast<size_t>(digits)),
                  std::string(static_cast<size_t>(digits) - 2, '0') + "10");
        EXPECT_EQ(wide.substr(static_cast<size_t>(digits) + 2), narrow.substr(10)) << digits;
    }
    EXPECT_EQ(FormatDumpLine(0x7FFFFFFFFFFFFFF0, bytes, 15, IsCp1250AlphaNumeric, 16, 16).substr(0, 18),
              "  7FFFFFFFFFFFFFF0");
    EXPECT_EQ(FormatDumpLine(0x1234567890, bytes, 16, IsCp1250AlphaNumeric).substr(2, 8), "34567890")
        << "eight digits show the low 32 bits, as a 32-bit offset would";
}

TEST(DumpLineValidCount, LinesOfFilesOfAnyLength) {
    struct Case {
        int64_t offset;
        int64_t length;
        int32_t count;
    };
    const Case cases[] = {
        {(1LL << 32) - 16, (1LL << 32) + 1, 16},
        {1LL << 32, (1LL << 32) + 1, 1},
        {(1LL << 32) + 16, (1LL << 32) + 1, 0},
        {INT64_MAX - 15, INT64_MAX, 15},
        {INT64_MAX - 31, INT64_MAX, 16},
        {INT64_MAX - 15, -1, 0},
        {INT64_MIN, INT64_MAX, 16},  // no overflow whatever the pair
        {0, INT64_MIN, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DumpLineValidCount(c.offset, c.length), c.count) << "offset " << c.offset << " length " << c.length;
}
