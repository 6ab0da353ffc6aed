#include "view/ScrollMath.h"
#include "view/ViewGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

constexpr int32_t kLine = kDumpLineHeight;

ScrollAxisState Vertical(int32_t position, int32_t page, int32_t content) {
    return {position, page, content, kLine};
}

std::optional<int32_t> VStep(int32_t code, const ScrollAxisState& s, int32_t track = 0) {
    return ScrollStepFor(ScrollAxis::Vertical, code, s, track);
}

std::optional<int32_t> HStep(int32_t code, const ScrollAxisState& s, int32_t track = 0) {
    return ScrollStepFor(ScrollAxis::Horizontal, code, s, track);
}

}  // namespace

TEST(ScrollMath, LineCountFromFileLength) {
    struct Case {
        int32_t length;
        int32_t lines;
    };
    const Case cases[] = {
        {-1, 0},
        {0, 0},
        {1, 1},
        {15, 1},
        {16, 1},
        {17, 2},
        {32, 2},
        {33, 3},
        {0x7FFFFFF0, (1 << 27) - 1},  // the longest file shown: last line at 0x7FFFFFE0
        {INT_MAX, 1 << 27},
        {INT_MIN, 0},
        {-100, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineCountForLength(c.length), c.lines) << c.length;
    // The content height of the longest file still fits 32 bits.
    EXPECT_LT(int64_t{LineCountForLength(0x7FFFFFF0)} * kLine, int64_t{INT_MAX});
}

TEST(ScrollMath, PageIsClientHeightInWholeLines) {
    struct Case {
        int32_t height;
        int32_t page;
    };
    const Case cases[] = {
        {0, 0},
        {14, 0},
        {28, 0},
        {29, 15},
        {43, 15},
        {44, 30},
        {58, 30},
        {59, 45},
        {600, 585},
        {-1, 0},
        {-100, 0},
        {INT_MIN, 0},
        {INT_MAX, (INT_MAX - 14) / 15 * 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageFromClientHeight(c.height), c.page) << c.height;
}

TEST(ScrollMath, HorizontalFitAroundTheContentWidth) {
    struct Case {
        int32_t width;
        int32_t position;
        AxisFit fit;
    };
    const Case cases[] = {
        {300, 0, {300, 0, 609}},   {300, 500, {300, 310, 609}},  // lowered so the right edge stays in view
        {609, 100, {609, 1, 609}}, {610, 100, {0, 0, 0}},        // wide enough: bar hidden, back to 0
        {611, 100, {0, 0, 0}},     {2000, 0, {0, 0, 0}},        {0, 50, {0, 50, 609}},
    };
    for (const Case& c : cases) {
        const AxisFit fit = FitHorizontal(c.width, kDumpContentWidth, c.position);
        EXPECT_EQ(fit.page, c.fit.page) << c.width;
        EXPECT_EQ(fit.position, c.fit.position) << c.width;
        EXPECT_EQ(fit.rangeMax, c.fit.rangeMax) << c.width;
    }
    // Before the first file both extents are 0: the bar stays hidden.
    const AxisFit empty = FitHorizontal(500, 0, 0);
    EXPECT_EQ(empty.rangeMax, 0);
    EXPECT_EQ(empty.page, 0);
}

TEST(ScrollMath, VerticalFitKeepsTheLastPageFull) {
    const int32_t content = 100 * kLine;
    // At the end of the content with a page of 300; growing the window lowers
    // the position so that the last line stays at the foot of the page.
    const AxisFit grown = FitVertical(450, content, content - 300);
    EXPECT_EQ(grown.position, content - 450);
    EXPECT_EQ(grown.page, 450);
    EXPECT_EQ(grown.rangeMax, content - 1);
    EXPECT_EQ(grown.position % kLine, 0);
    // Shrinking leaves the position where it was.
    const AxisFit shrunk = FitVertical(150, content, content - 300);
    EXPECT_EQ(shrunk.position, content - 300);
    // A page as tall as the content or taller hides the bar and goes to 0.
    for (int32_t page : {content, content + 15, content + 600}) {
        const AxisFit fits = FitVertical(page, content, 600);
        EXPECT_EQ(fits.position, 0);
        EXPECT_EQ(fits.rangeMax, 0);
        EXPECT_EQ(fits.page, page);
    }
    // No file: content 0, hidden bar whatever the page.
    const AxisFit none = FitVertical(0, 0, 0);
    EXPECT_EQ(none.rangeMax, 0);
    EXPECT_EQ(none.position, 0);
}

TEST(ScrollMath, ThumbTrackRoundsUpToAWholeLine) {
    struct Case {
        int32_t track;
        int32_t rounded;
    };
    const Case cases[] = {{0, 0}, {1, 15}, {14, 15}, {15, 15}, {16, 30}, {29, 30}, {30, 30}, {-1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(RoundUpToWholeLine(c.track), c.rounded) << c.track;

    const ScrollAxisState longFile = Vertical(0, 300, 1000 * kLine);
    EXPECT_EQ(VStep(kScrollThumbTrack, longFile, 1), 15);
    EXPECT_EQ(VStep(kScrollThumbTrack, longFile, 15), 15);
    EXPECT_EQ(VStep(kScrollThumbTrack, longFile, 16), 30);
    EXPECT_EQ(VStep(kScrollThumbTrack, Vertical(150, 300, 1000 * kLine), 16), 30 - 150);
    // Horizontally the track value is taken as it is.
    EXPECT_EQ(HStep(kScrollThumbTrack, {0, 300, kDumpContentWidth, kLine}, 7), 7);
}

TEST(ScrollMath, StepsAreClampedAtBothEnds) {
    const int32_t content = 100 * kLine;
    const int32_t page = 300;
    const int32_t end = content - page;
    struct Case {
        int32_t code;
        int32_t position;
        int32_t track;
        int32_t step;
    };
    const Case cases[] = {
        {kScrollLineUp, 0, 0, 0},  // nothing to scroll, but not ignored
        {kScrollLineUp, 15, 0, -15},
        {kScrollLineDown, 0, 0, 15},
        {kScrollLineDown, end, 0, 0},
        {kScrollLineDown, end - 15, 0, 15},
        {kScrollPageDown, 0, 0, 300},
        {kScrollPageDown, end - 90, 0, 90},  // stops exactly at content - page
        {kScrollPageUp, 90, 0, -90},
        {kScrollPageUp, end, 0, -300},
        {kScrollThumbTrack, 0, content, end},  // a box beyond the end
        {kScrollThumbTrack, 600, 0, -600},
        {kScrollThumbTrack, 0, INT_MAX, end},  // no overflow however far
        {kScrollThumbTrack, 600, INT_MIN, -600},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VStep(c.code, Vertical(c.position, page, content), c.track), c.step)
            << "code " << c.code << " at " << c.position;
}

TEST(ScrollMath, ContentThatFitsNeverMoves) {
    const ScrollAxisState fits = Vertical(0, 600, 300);
    for (int32_t code : {kScrollLineDown, kScrollPageDown, kScrollThumbTrack, kScrollLineUp})
        EXPECT_EQ(VStep(code, fits, 150), 0) << code;
    // Page 0 (a client of 28 pixels or less): the limit is the full content.
    EXPECT_EQ(VStep(kScrollThumbTrack, Vertical(0, 0, 300), 1000), 300);
    EXPECT_EQ(VStep(kScrollPageDown, Vertical(0, 0, 300)), 0);
}

TEST(ScrollMath, HorizontalStepsUseTheWidthPage) {
    const ScrollAxisState narrow{0, 400, kDumpContentWidth, kLine};
    EXPECT_EQ(HStep(kScrollLineDown, narrow), 15);
    EXPECT_EQ(HStep(kScrollPageDown, narrow), 210);
    EXPECT_EQ(HStep(kScrollPageUp, {200, 400, kDumpContentWidth, kLine}), -200);
    EXPECT_EQ(HStep(kScrollLineDown, {0, 0, 0, kLine}), 0);
}

TEST(ScrollMath, IgnoredRequestsHaveNoStep) {
    const ScrollAxisState s = Vertical(150, 300, 1000 * kLine);
    for (int32_t code : {kScrollThumbPosition, kScrollTop, kScrollBottom, kScrollEndScroll, 9, -1, 1000}) {
        EXPECT_FALSE(VStep(code, s, 450).has_value()) << code;
        EXPECT_FALSE(HStep(code, s, 450).has_value()) << code;
    }
}

TEST(ScrollMath, BringingALineToTheTop) {
    // The box is set to 15 * L, limited by the bar to its range, then read
    // back as the track value.
    const int32_t lines = 1000;
    const ScrollAxisState s = Vertical(0, 585, lines * kLine);
    EXPECT_EQ(VStep(kScrollThumbTrack, s, 15 * 2), 30);
    const int32_t lastPage = lines * kLine - 585;
    EXPECT_EQ(VStep(kScrollThumbTrack, s, 15 * 999), lastPage);
}

TEST(ScrollMath, LinesToPaintCoverTheClipBox) {
    struct Case {
        int32_t top;
        int32_t bottom;
        int32_t lines;
        int32_t first;
        int32_t last;
    };
    const Case cases[] = {
        {0, 585, 1000, 0, 39},
        {585, 600, 1000, 38, 40},  // the strip a line step down uncovers
        {15, 30, 1000, 0, 2},
        {0, 585, 3, 0, 2},
        {0, 585, 0, 0, -1},  // no lines
        {45, 60, 3, 2, 2},   // top less than 15 below the last line
        {59, 80, 3, 3, 2},   // 15 or more below: nothing
        {INT_MAX - 5, INT_MAX, 1 << 27, (INT_MAX - 19) / 15, (1 << 27) - 1},
    };
    for (const Case& c : cases) {
        const LineRange range = LinesToPaint(c.top, c.bottom, c.lines);
        EXPECT_EQ(range.first, c.first) << c.top << ".." << c.bottom;
        EXPECT_EQ(range.last, c.last) << c.top << ".." << c.bottom;
    }
    EXPECT_TRUE(LinesToPaint(59, 80, 3).Empty());
    EXPECT_FALSE(LinesToPaint(45, 60, 3).Empty());
    // A one-line strip anywhere reads at most four lines.
    for (int32_t top = 0; top < 600; ++top) {
        const LineRange r = LinesToPaint(top, top + 15, 1000);
        EXPECT_LE(r.last - r.first + 1, 4) << top;
    }
}

TEST(ScrollMath, LineUnderAClick) {
    struct Case {
        int32_t y;
        int32_t lines;
        int32_t line;
    };
    const Case cases[] = {
        {20 + 150, 1000, 11}, {0, 1000, 0},  {14, 1000, 0},
        {15, 1000, 1},        {5000, 10, 9},  // below the last line: the last line
        {0, 0, -1},           {100, 0, -1},  {-1, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineAtLogicalY(c.y, c.lines), c.line) << c.y << " of " << c.lines;
}

TEST(ScrollMath, LinesAndWidthOfFilesOfAnyLength) {
    EXPECT_EQ(LineCountForLength((1LL << 31) - 15), 1 << 27);
    EXPECT_EQ(LineCountForLength((1LL << 44) - 65536), (1LL << 40) - 4096);
    EXPECT_EQ(LineCountForLength(INT64_MAX), 1LL << 59) << "no overflow at the largest length";
    EXPECT_EQ(LineCountForLength(INT64_MIN), 0);
    EXPECT_LT(LineCountForLength(INT64_MAX), INT64_MAX / kLine) << "the tallest content still fits";
    EXPECT_EQ(GeometryForDpi(96).ContentWidthFor(8), kDumpContentWidth);
    EXPECT_EQ(GeometryForDpi(96).ContentWidthFor(11), kDumpContentWidth + 3 * kDumpCharWidth);
    EXPECT_EQ(GeometryForDpi(96).ContentWidthFor(16), kDumpContentWidth + 8 * kDumpCharWidth);
}

TEST(ScrollMath, ContentThatTheBarHoldsIsCountedInPixels) {
    // The longest content counted in pixels: the bar is the view's position itself.
    const int64_t content = VerticalBarScale::kLargestUnscaledContent / kLine * kLine;
    const VerticalBarScale bar(content, 585);
    EXPECT_FALSE(bar.Scaled());
    EXPECT_EQ(bar.RangeMax(), content - 1);
    EXPECT_EQ(bar.Page(), 585);
    EXPECT_EQ(bar.BarPosition(content - 585), content - 585);
    EXPECT_EQ(bar.PositionForTrack(16), 16) << "the scroll request rounds it up to the line";
    EXPECT_EQ(VerticalBarScale(300, 585).RangeMax(), 0) << "content that fits hides the bar";
    EXPECT_TRUE(VerticalBarScale(content + kLine, 585).Scaled());
}

TEST(ScrollMath, TallerContentMovesTheBoxInProportionWithExactEnds) {
    for (const int64_t lines : {143165577LL, 1LL << 32, (1LL << 40) - 4096, 1LL << 59}) {
        for (const int32_t page : {0, 15, 585, 9000}) {
            SCOPED_TRACE(testing::Message() << lines << " lines, page " << page);
            const int64_t content = lines * kLine;
            const int64_t limit = content - page;
            const VerticalBarScale bar(content, page);
            ASSERT_TRUE(bar.Scaled());
            const int32_t maxBox = page > 0 ? bar.RangeMax() + 1 - bar.Page() : bar.RangeMax();
            EXPECT_EQ(bar.Page() > 0, page > 0) << "a page shows as a box of a unit or more";
            // The box at its top shows line 0, at its bottom exactly the last page; beyond either
            // end it stays there.
            EXPECT_EQ(bar.PositionForTrack(0), 0);
            EXPECT_EQ(bar.PositionForTrack(-5), 0);
            EXPECT_EQ(bar.PositionForTrack(maxBox), limit);
            EXPECT_EQ(bar.PositionForTrack(INT32_MAX), limit);
            EXPECT_EQ(bar.BarPosition(0), 0);
            EXPECT_EQ(bar.BarPosition(limit), maxBox);
            // In between, whole lines in proportion, rising with the box, and the box that a
            // dragged position shows is the box it was dragged to.
            int64_t previous = -1;
            for (const int32_t box : {1, 2, maxBox / 3, maxBox / 2, maxBox - 2, maxBox - 1}) {
                const int64_t position = bar.PositionForTrack(box);
                EXPECT_EQ(position % kLine, 0) << box;
                EXPECT_GT(position, previous) << box;
                previous = position;
                EXPECT_NEAR(static_cast<double>(position) / static_cast<double>(limit),
                            static_cast<double>(box) / maxBox, 1e-6)
                    << box;
                EXPECT_EQ(bar.BarPosition(position), box) << "the box does not jump on release";
            }
            // A line step moves the view, and the box follows to the nearest unit.
            const int64_t nearEnd = limit - kLine;
            EXPECT_GE(bar.BarPosition(nearEnd), maxBox - 1);
            EXPECT_LE(bar.BarPosition(nearEnd), maxBox);
        }
    }
}

TEST(ScrollMath, StepsInTheLongestContentAreExact) {
    const int64_t content = (1LL << 59) * kLine;
    const ScrollAxisState atEnd{content - 585, 585, content, kLine};
    EXPECT_EQ(ScrollStepFor(ScrollAxis::Vertical, kScrollLineDown, atEnd, 0), 0);
    EXPECT_EQ(ScrollStepFor(ScrollAxis::Vertical, kScrollPageDown, atEnd, 0), 0);
    EXPECT_EQ(ScrollStepFor(ScrollAxis::Vertical, kScrollLineUp, atEnd, 0), -kLine);
    EXPECT_EQ(ScrollStepFor(ScrollAxis::Vertical, kScrollPageUp, atEnd, 0), -585);
    EXPECT_EQ(ScrollStepFor(ScrollAxis::Vertical, kScrollThumbTrack, atEnd, INT64_MAX), 0);
    EXPECT_EQ(ScrollStepFor(ScrollAxis::Vertical, kScrollThumbTrack, atEnd, 0), -(content - 585));
    const LineRange lastPage = LinesToPaint(content - 585, content, 1LL << 59);
    EXPECT_EQ(lastPage.last, (1LL << 59) - 1);
    EXPECT_LE(lastPage.last - lastPage.first + 1, 39 + 2);
    EXPECT_EQ(LineAtLogicalY(content - 1, 1LL << 59), (1LL << 59) - 1);
}

TEST(ScrollMath, FiguresScaleWithTheDpiAndStayExactAt96) {
    struct Case {
        int32_t dpi;
        ViewGeometry geometry;
    };
    const Case cases[] = {
        {96, {96, 15, 610, 7, 15, 128}},  // the dump's own figures
        {120, {120, 19, 763, 9, 19, 160}},
        {144, {144, 23, 915, 11, 23, 192}},  // halves round up: 22.5 -> 23, 10.5 -> 11
        {192, {192, 30, 1220, 14, 30, 256}},
        {0, {96, 15, 610, 7, 15, 128}},  // no DPI known: 96
    };
    for (const Case& c : cases) {
        const ViewGeometry g = GeometryForDpi(c.dpi);
        EXPECT_EQ(g.dpi, c.geometry.dpi) << c.dpi;
        EXPECT_EQ(g.linePitch, c.geometry.linePitch) << c.dpi;
        EXPECT_EQ(g.contentWidth, c.geometry.contentWidth) << c.dpi;
        EXPECT_EQ(g.charWidth, c.geometry.charWidth) << c.dpi;
        EXPECT_EQ(g.horizontalStep, c.geometry.horizontalStep) << c.dpi;
        EXPECT_EQ(g.marginOverhang, c.geometry.marginOverhang) << c.dpi;
    }
    // Positions stay whole lines of the pitch: pages, thumbs, painted lines and clicks.
    EXPECT_EQ(PageFromClientHeight(600, 23), 23 * ((600 - 22) / 23));
    EXPECT_EQ(PageFromClientHeight(44, 23), 0);
    EXPECT_EQ(RoundUpToWholeLine(24, 23), 46);
    EXPECT_EQ(ScrollStepFor(ScrollAxis::Vertical, kScrollThumbTrack, {0, 575, 1000 * 23, 23}, 24), 46);
    const LineRange strip = LinesToPaint(575, 598, 1000, 23);
    EXPECT_EQ(strip.first, 24);
    EXPECT_EQ(strip.last, 26);
    EXPECT_EQ(LineAtLogicalY(23 * 7 + 22, 1000, 23), 7);
    const VerticalBarScale tall(int64_t{23} << 32, 575, 23);
    EXPECT_EQ(tall.PositionForTrack(tall.RangeMax() + 1 - tall.Page()), (int64_t{23} << 32) - 575);
    EXPECT_EQ(tall.PositionForTrack(12345) % 23, 0);
}
