#include "tests/win/DumpPicture.h"
#include "tests/win/ViewFixture.h"

#include <gtest/gtest.h>

namespace {
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

std::string LinesOfBytes(int lines) {
    std::string bytes;
    for (int i = 0; i < lines * 16; ++i)
        bytes += static_cast<char>('a' + i % 26);
    return bytes;
}

int PageFor(const CRect& client) {
    return 15 * ((client.Height() - 14) / 15);
}
}  // namespace

TEST(ScrollViewTest, BarsFollowTheFileAndTheClient) {
    ViewFixture fixture(700, 600);
    SCROLLINFO bar = fixture.VerticalBar();
    EXPECT_EQ(bar.nMax, 0) << "no file: nothing to scroll";

    TempFile temp(LinesOfBytes(1000));
    ASSERT_TRUE(fixture.Open(temp.path()));
    const CRect client = fixture.Client();
    bar = fixture.VerticalBar();
    EXPECT_EQ(bar.nMin, 0);
    EXPECT_EQ(bar.nMax, 15000 - 1);
    EXPECT_EQ(static_cast<int>(bar.nPage), PageFor(client));
    EXPECT_EQ(bar.nPos, 0);
    EXPECT_EQ(fixture.HorizontalBar().nMax, 0) << "a client of 610 pixels or more shows no horizontal bar";

    fixture.ResizeWindow(400, 300);
    const SCROLLINFO horizontal = fixture.HorizontalBar();
    EXPECT_EQ(horizontal.nMax, 609);
    EXPECT_EQ(static_cast<int>(horizontal.nPage), fixture.Client().Width());
    EXPECT_EQ(static_cast<int>(fixture.VerticalBar().nPage), PageFor(fixture.Client()));
}

TEST(ScrollViewTest, LinePageAndThumbRequestsMoveInWholeLinesWithinTheContent) {
    ViewFixture fixture(700, 600);
    TempFile temp(LinesOfBytes(1000));
    ASSERT_TRUE(fixture.Open(temp.path()));
    const int page = PageFor(fixture.Client());

    fixture.VScroll(SB_LINEUP);
    EXPECT_EQ(fixture.ScrollY(), 0) << "clamped at the top";
    fixture.VScroll(SB_LINEDOWN);
    EXPECT_EQ(fixture.ScrollY(), 15);
    fixture.VScroll(SB_PAGEDOWN);
    EXPECT_EQ(fixture.ScrollY(), 15 + page);
    fixture.VScroll(SB_PAGEUP);
    EXPECT_EQ(fixture.ScrollY(), 15);

    fixture.view->SetScrollPos(SB_VERT, 0, TRUE);
    fixture.VScroll(SB_THUMBTRACK);
    ASSERT_EQ(fixture.ScrollY(), 0);
    for (const auto& [box, expected] : {std::pair{1, 15}, {15, 15}, {16, 30}, {0, 0}}) {
        fixture.view->SetScrollPos(SB_VERT, box, TRUE);
        fixture.VScroll(SB_THUMBTRACK);
        EXPECT_EQ(fixture.ScrollY(), expected) << "thumb at " << box;
    }
    fixture.VScroll(SB_LINEDOWN);
    for (UINT ignored : {SB_TOP, SB_BOTTOM, SB_ENDSCROLL, SB_THUMBPOSITION}) {
        fixture.VScroll(ignored);
        EXPECT_EQ(fixture.ScrollY(), 15) << "request " << ignored << " changes nothing";
        // With the box away from the view's position: the view stays where it was, as the next
        // line step shows (it steps from the view's position and puts the box there).
        fixture.view->SetScrollPos(SB_VERT, 300, TRUE);
        fixture.VScroll(ignored);
        fixture.VScroll(SB_LINEDOWN);
        EXPECT_EQ(fixture.ScrollY(), 30) << "request " << ignored << " with the box away";
        fixture.VScroll(SB_LINEUP);
    }

    for (int i = 0; i < 100; ++i)
        fixture.VScroll(SB_PAGEDOWN);
    EXPECT_EQ(fixture.ScrollY(), 15000 - page) << "the last line stays at the foot of the page";
}

TEST(ScrollViewTest, GrowingAtTheEndKeepsTheLastPageFullAndNewFilesStartAtTheTop) {
    ViewFixture fixture(700, 300);
    TempFile temp(LinesOfBytes(100));
    ASSERT_TRUE(fixture.Open(temp.path()));
    for (int i = 0; i < 20; ++i)
        fixture.VScroll(SB_PAGEDOWN);
    fixture.ResizeWindow(700, 600);
    EXPECT_EQ(fixture.ScrollY(), 1500 - PageFor(fixture.Client()));
    const int before = fixture.ScrollY();
    fixture.ResizeWindow(700, 400);
    EXPECT_EQ(fixture.ScrollY(), before) << "shrinking leaves the position";

    fixture.ResizeWindow(700, 2000);
    EXPECT_EQ(fixture.ScrollY(), 0) << "content that fits is shown from the top";
    fixture.VScroll(SB_LINEDOWN);
    EXPECT_EQ(fixture.ScrollY(), 0);

    fixture.ResizeWindow(700, 300);
    fixture.VScroll(SB_PAGEDOWN);
    ASSERT_GT(fixture.ScrollY(), 0);
    // Scrolled to the right as well (a client narrower than the dump), where the horizontal
    // requests the view ignores leave it, wherever the box is.
    fixture.ResizeWindow(400, 300);
    auto hScroll = [&](UINT code) { fixture.view->SendMessage(WM_HSCROLL, MAKEWPARAM(code, 0), 0); };
    hScroll(SB_LINERIGHT);
    ASSERT_EQ(fixture.HorizontalBar().nPos, 15);
    for (UINT ignored : {SB_LEFT, SB_RIGHT, SB_ENDSCROLL, SB_THUMBPOSITION}) {
        fixture.view->SetScrollPos(SB_HORZ, 100, TRUE);
        hScroll(ignored);
        hScroll(SB_LINERIGHT);
        EXPECT_EQ(fixture.HorizontalBar().nPos, 30) << "request " << ignored << " with the box away";
        hScroll(SB_LINELEFT);
    }
    hScroll(SB_PAGERIGHT);
    ASSERT_GT(fixture.HorizontalBar().nPos, 15);
    // A new file starts at the top left.
    TempFile other(LinesOfBytes(50));
    ASSERT_TRUE(fixture.Open(other.path()));
    EXPECT_EQ(fixture.ScrollY(), 0);
    EXPECT_EQ(fixture.HorizontalBar().nPos, 0);
    EXPECT_EQ(fixture.VerticalBar().nMax, 750 - 1);
    hScroll(SB_LINERIGHT);
    EXPECT_EQ(fixture.HorizontalBar().nPos, 15) << "the view itself is back at the left edge";
}

TEST(ScrollViewTest, PaintsTheMarkedLineCyanAndTheMarginsWhite) {
    ViewFixture fixture(700, 600);
    TempFile temp(LinesOfBytes(100));
    ASSERT_TRUE(fixture.Open(temp.path()));
    fixture.VScroll(SB_LINEDOWN);
    fixture.VScroll(SB_LINEDOWN);  // scrolled to 30
    fixture.doc.SetMarkedLine(5);
    auto picture = fixture.Paint();
    // The tail of each line is blank, so its cells show the background colour.
    EXPECT_EQ(picture.At(600, 15 * 5 - 30 + 2), kCyan);
    EXPECT_EQ(picture.At(600, 15 * 4 - 30 + 2), kWhite);
    EXPECT_EQ(picture.At(600, 15 * 6 - 30 + 2), kWhite);
    EXPECT_EQ(picture.At(picture.width - 2, 300), kWhite) << "right margin";
    for (int y = 0; y < 15 * 10; ++y)
        ASSERT_NE(picture.At(5, y), RGB(255, 0, 255)) << "every row of the content is painted, row " << y;

    fixture.doc.SetMarkedLine(-1);
    picture = fixture.Paint();
    for (int y = 0; y < picture.height; ++y)
        ASSERT_NE(picture.At(600, y), kCyan) << "no cyan anywhere, row " << y;

    TempFile shortFile(LinesOfBytes(3));
    ASSERT_TRUE(fixture.Open(shortFile.path()));
    picture = fixture.Paint();
    EXPECT_EQ(picture.At(600, 2), kCyan) << "a new file marks its first line";
    EXPECT_EQ(picture.At(300, 15 * 3 + 5), kWhite) << "below the last line";
    EXPECT_EQ(picture.At(300, picture.height - 1), kWhite);
}

TEST(ScrollViewTest, LinesThatCannotBeReadShowTheirOffsetAndBlankCells) {
    ViewFixture fixture(700, 300);
    const std::string bytes = Letters(16 * 12);
    TempFile temp(bytes);
    ASSERT_TRUE(fixture.Open(temp.path()));
    fixture.doc.failFirst = 3;
    fixture.doc.failLast = 5;
    const auto picture = fixture.Paint();
    for (int64_t line = 0; line < 12; ++line) {
        const bool unreadable = line >= 3 && line <= 5;
        const std::string shown = unreadable ? "" : bytes.substr(static_cast<size_t>(16 * line), 16);
        EXPECT_TRUE(ShowsLine(picture, static_cast<int>(15 * line), ExpectedLine(16 * line, shown, 16 * 12),
                              line == 0 ? kDumpCyan : kDumpWhite))
            << "line " << line;
    }
    EXPECT_TRUE(WhiteFrom(picture, 15 * 12));
}

TEST(ScrollViewTest, WithoutAFileTheViewIsWhite) {
    ViewFixture fixture(700, 300);
    const auto picture = fixture.Paint();
    for (int y = 0; y < picture.height; y += 7)
        for (int x = 0; x < picture.width; x += 7)
            ASSERT_EQ(picture.At(x, y), kWhite) << x << "," << y;
}

TEST(ScrollViewTest, RepaintsReadOnlyTheLinesThatNeedIt) {
    ViewFixture fixture(700, 620);
    TempFile temp(LinesOfBytes(2000));
    ASSERT_TRUE(fixture.Open(temp.path()));
    CRect window;
    fixture.view->GetWindowRect(&window);
    fixture.ResizeWindow(700, 600 + window.Height() - fixture.Client().Height());  // a 600-pixel client
    ASSERT_EQ(fixture.Client().Height(), 600);
    fixture.view->UpdateWindow();
    fixture.view->Invalidate(FALSE);
    fixture.doc.reads = 0;
    fixture.view->UpdateWindow();
    EXPECT_GT(fixture.doc.reads, 0);
    EXPECT_LE(fixture.doc.reads, 42) << "a full repaint";

    fixture.doc.reads = 0;
    fixture.VScroll(SB_LINEDOWN);
    fixture.view->UpdateWindow();
    EXPECT_GT(fixture.doc.reads, 0);
    EXPECT_LE(fixture.doc.reads, 4) << "a line step paints only the uncovered strip";
}

TEST(ScrollViewTest, WheelScrollsThreeLinesANotchWhateverItsSize) {
    ViewFixture fixture(700, 300);
    TempFile temp(LinesOfBytes(500));
    ASSERT_TRUE(fixture.Open(temp.path()));
    auto wheel = [&](short delta) {
        fixture.view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(10, 10));
    };
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(fixture.ScrollY(), 45);
    wheel(-3 * WHEEL_DELTA);
    EXPECT_EQ(fixture.ScrollY(), 90);
    wheel(-1);
    EXPECT_EQ(fixture.ScrollY(), 135);
    wheel(WHEEL_DELTA);
    EXPECT_EQ(fixture.ScrollY(), 90);
    wheel(0);
    EXPECT_EQ(fixture.ScrollY(), 45) << "a delta of 0 counts as a turn away from the user";
}

TEST(ScrollViewTest, ClickMarksTheLineUnderThePointer) {
    ViewFixture fixture(700, 300);
    auto click = [&](int x, int y) {
        fixture.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        fixture.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    click(10, 20);
    EXPECT_EQ(fixture.doc.GetMarkedLine(), -1) << "no file: no line";

    TempFile temp(LinesOfBytes(500));
    ASSERT_TRUE(fixture.Open(temp.path()));
    for (int i = 0; i < 10; ++i)
        fixture.VScroll(SB_LINEDOWN);
    ASSERT_EQ(fixture.ScrollY(), 150);
    click(10, 20);
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 11);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 160) << "Find Next starts at the line above";
    click(650, 20);
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 11) << "right of the dump: the line of that row";

    TempFile shortFile(LinesOfBytes(3));
    ASSERT_TRUE(fixture.Open(shortFile.path()));
    click(10, 200);
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 2) << "below the last line: the last line";
    click(10, 3);
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 0);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 0);
}

TEST(ScrollViewTest, HeldKeysScrollOnceATick) {
    ViewFixture fixture(700, 300);
    TempFile temp(LinesOfBytes(5000));
    ASSERT_TRUE(fixture.Open(temp.path()));
    auto key = [](WORD vk, bool down) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | KEYEVENTF_EXTENDEDKEY;
        SendInput(1, &input, sizeof(input));
    };
    key(VK_DOWN, true);
    PumpMessages(400);
    key(VK_DOWN, false);
    PumpMessages(120);
    const int afterDown = fixture.ScrollY();
    EXPECT_GE(afterDown, 15 * 3) << "about eight ticks of 50 ms";
    EXPECT_EQ(afterDown % 15, 0);

    key(VK_NEXT, true);
    PumpMessages(120);
    key(VK_NEXT, false);
    PumpMessages(120);
    EXPECT_GE(fixture.ScrollY(), afterDown + PageFor(fixture.Client()));

    key(VK_PRIOR, true);
    PumpMessages(600);
    key(VK_PRIOR, false);
    PumpMessages(120);
    EXPECT_EQ(fixture.ScrollY(), 0);
}

TEST(ScrollViewTest, FailedOwnOpenTakesTheViewBackToTheEmptyState) {
    ViewFixture fixture(700, 300);
    TempFile shown(LinesOfBytes(100)), held(LinesOfBytes(5));
    ASSERT_TRUE(fixture.Open(shown.path()));
    fixture.VScroll(SB_PAGEDOWN);
    UniqueHandle reader(CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    MessageBoxWatcher watcher;
    EXPECT_FALSE(fixture.doc.OnOpenDocument(held.c_str()));
    EXPECT_EQ(fixture.ScrollY(), 0);
    EXPECT_EQ(fixture.VerticalBar().nMax, 0);
    const auto picture = fixture.Paint();
    EXPECT_EQ(picture.At(300, 2), kWhite) << "no dump of a file that is no longer open";
}
