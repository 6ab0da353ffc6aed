#include "dialogs/SearchProgressText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {
constexpr uint64_t kMiB = uint64_t{1} << 20;
constexpr uint64_t kGiB = uint64_t{1} << 30;
constexpr uint64_t kTiB = uint64_t{1} << 40;
}  // namespace

TEST(SearchProgressText, AmountsInCzechWithOneDecimal) {
    struct Case {
        uint64_t bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {0, u"0,0\u00A0MB"},
        {kMiB / 2, u"0,5\u00A0MB"},
        {kMiB / 20, u"0,0\u00A0MB"},      // just under half a tenth
        {kMiB / 20 + 1, u"0,1\u00A0MB"},  // half a tenth rounds up
        {1023 * kMiB + 900 * 1024, u"1\u00A0023,9\u00A0MB"},
        {kGiB - 1, u"1\u00A0024,0\u00A0MB"},  // just under a GB
        {kGiB, u"1,0\u00A0GB"},
        {16 * kGiB, u"16,0\u00A0GB"},
        {kTiB - 1, u"1\u00A0024,0\u00A0GB"},
        {16 * kTiB - 65536, u"16,0\u00A0TB"},
        {UINT64_MAX, u"16\u00A0777\u00A0216,0\u00A0TB"},  // no overflow at the largest amount
    };
    for (const Case& c : cases)
        EXPECT_EQ(ByteAmountText(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(SearchedAmountText(kGiB + kGiB / 5, 16 * kGiB), u"Prohledáno 1,2\u00A0GB z 16,0\u00A0GB");
}

TEST(SearchProgressText, PatternsAreShownShort) {
    const std::vector<uint8_t> hello = {0x48, 0x65, 0x6C, 0x6C, 0x6F};
    EXPECT_EQ(PatternHexText(hello), u"48 65 6C 6C 6F");
    EXPECT_EQ(PatternHexText(hello, 2), u"48 65 \u2026");
    EXPECT_EQ(PatternHexText({}), u"");
    EXPECT_EQ(ShortenedText(u"Hello", 5), u"Hello");
    EXPECT_EQ(ShortenedText(u"Hello!", 5), u"Hello\u2026");
    // A character outside the Basic Multilingual Plane is never cut in half.
    EXPECT_EQ(ShortenedText(u"ab\U0001F600cd", 3), u"ab\u2026");
}
