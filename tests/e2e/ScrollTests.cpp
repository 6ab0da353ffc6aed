// Scrolling: the wheel, the arrow and page keys held down, the scroll bars' arrows, trough and
// box, the end of the content and resizing. Positions are read from the screen (the offset of
// the top line), since another program's scroll bars cannot be queried.
#include "tests/e2e/ViewerTest.h"

#include <utility>

namespace e2e {
namespace {

class Scrolling : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        m_file = LinesFile(kLines);
        StartWith(MakeFile(L"dlouhy.bin", m_file));
        ASSERT_TRUE(m_viewer->Main());
        ASSERT_TRUE(WaitShowsDump(m_file, 0, 0));
        m_page = PageLines();
        ASSERT_GT(m_page, 5);
        input::MoveTo(ViewPoint(300, 100));  // the wheel goes to the view
    }

    int LastTop() const { return kLines - m_page; }

    // The view comes to rest at this top line (and does not go on past it).
    bool SettlesAt(int line) const {
        if (!WaitTopLine(line))
            return false;
        Sleep(300);
        return TopLine() == line;
    }

    // The parts of the view's vertical bar, in screen coordinates.
    POINT UpArrow() const {
        RECT c = ClientScreenRect(m_viewer->View());
        return POINT{c.right + GetSystemMetrics(SM_CXVSCROLL) / 2, c.top + GetSystemMetrics(SM_CYVSCROLL) / 2};
    }
    POINT DownArrow() const {
        RECT c = ClientScreenRect(m_viewer->View());
        return POINT{c.right + GetSystemMetrics(SM_CXVSCROLL) / 2, c.bottom - GetSystemMetrics(SM_CYVSCROLL) / 2};
    }
    POINT TroughBottom() const  // just above the down arrow, below the box unless it is at the end
    {
        POINT p = DownArrow();
        p.y -= GetSystemMetrics(SM_CYVSCROLL) / 2 + 3;
        return p;
    }
    POINT BoxAtTop() const  // the box while the position is 0
    {
        POINT p = UpArrow();
        p.y += GetSystemMetrics(SM_CYVSCROLL) / 2 + 4;
        return p;
    }

    void Drag(POINT from, POINT to) {
        input::MouseDown(from);
        for (int i = 1; i <= 8; ++i)
            input::MoveTo(POINT{from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
        Sleep(100);
        input::MouseUp(to);
    }

    static const int kLines = 300;
    std::vector<uint8_t> m_file;
    int m_page = 0;
};

TEST_F(Scrolling, WheelScrollsThreeLinesPerNotch) {
    input::Wheel(-WHEEL_DELTA);
    EXPECT_TRUE(SettlesAt(3)) << "top line " << TopLine();
    input::Wheel(-WHEEL_DELTA);
    EXPECT_TRUE(SettlesAt(6)) << "top line " << TopLine();
    EXPECT_TRUE(ShowsDump(m_file, 6, 0));
    input::Wheel(WHEEL_DELTA);
    EXPECT_TRUE(WaitTopLine(3)) << "top line " << TopLine();
    input::Wheel(WHEEL_DELTA);
    input::Wheel(WHEEL_DELTA);
    EXPECT_TRUE(WaitTopLine(0)) << "top line " << TopLine();
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 0)) << "the wheel stops at the top";
    // Only the sign counts: a quarter notch scrolls three lines too.
    input::Wheel(-WHEEL_DELTA / 4);
    EXPECT_TRUE(WaitTopLine(3)) << "top line " << TopLine();
}

TEST_F(Scrolling, PageKeysStepOnePageAtATime) {
    input::Key(VK_NEXT);
    EXPECT_TRUE(SettlesAt(m_page)) << "top line " << TopLine() << ", page " << m_page;
    input::Key(VK_NEXT);
    EXPECT_TRUE(SettlesAt(2 * m_page)) << "top line " << TopLine();
    input::Key(VK_PRIOR);
    EXPECT_TRUE(WaitTopLine(m_page)) << "top line " << TopLine();
    EXPECT_TRUE(WaitShowsDump(m_file, m_page, 0));
}

TEST_F(Scrolling, HeldDownArrowScrollsAboutTwentyLinesASecondAndStopsOnRelease) {
    input::HoldKey(VK_DOWN, 1000);
    // The tick that saw the key last may land late on a busy machine: wait until the view rests.
    int top = TopLine();
    WaitUntil(
        [&] {
            Sleep(150);
            const int now = TopLine();
            return std::exchange(top, now) == now;
        },
        3000);
    EXPECT_GE(top, 10) << "held for a second";
    EXPECT_LE(top, 30) << "held for a second";
    Sleep(400);
    EXPECT_EQ(top, TopLine()) << "the view goes on scrolling after the key is released";
    EXPECT_TRUE(ShowsDump(m_file, top, 0));
    // Up and Down held together: each tick steps down and back up.
    input::KeysDown({VK_DOWN, VK_UP});
    Sleep(1500);
    input::KeysUp({VK_DOWN, VK_UP});
    Sleep(200);
    // About thirty ticks that each step down and back up. The two keys go down (and up) one
    // after the other, so a tick may see one without the other at each end: a line or two of
    // difference, where a view that honoured only one of the keys would move thirty.
    EXPECT_NEAR(top, TopLine(), 2) << "Up and Down together moved the view";
    input::HoldKey(VK_UP, 2500);
    EXPECT_TRUE(WaitTopLine(0)) << "top line " << TopLine();
}

TEST_F(Scrolling, HeldPageDownStopsWithTheLastLineAtTheFoot) {
    input::HoldKey(VK_NEXT, 1500);
    EXPECT_TRUE(WaitTopLine(LastTop())) << "top line " << TopLine() << ", expected " << LastTop();
    EXPECT_TRUE(WaitShowsDump(m_file, LastTop(), 0));
    Shot("end-of-file");
    input::HoldKey(VK_DOWN, 300);
    input::Wheel(-WHEEL_DELTA);
    Sleep(200);
    EXPECT_EQ(LastTop(), TopLine()) << "scrolled past the end";
    input::HoldKey(VK_PRIOR, 1500);
    EXPECT_TRUE(WaitTopLine(0)) << "top line " << TopLine();
}

TEST_F(Scrolling, KeysAndWheelWorkWhileAnotherWindowIsInFront) {
    // The keys are polled from the global key state, so the view scrolls even when the viewer
    // is not the active program.
    HWND other = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"jiny program", WS_POPUP | WS_VISIBLE | WS_BORDER, 900, 700,
                                 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(other);
    SetForegroundWindow(other);
    WaitUntil([&] { return GetForegroundWindow() == other; }, 2000);
    input::Key(VK_NEXT);
    EXPECT_TRUE(WaitTopLine(m_page)) << "top line " << TopLine();
    // The wheel goes to the window under the pointer, which is the view.
    input::MoveTo(ViewPoint(300, 100));
    input::Wheel(-WHEEL_DELTA);
    EXPECT_TRUE(WaitTopLine(m_page + 3)) << "top line " << TopLine();
    EXPECT_EQ(GetForegroundWindow(), other) << "the other window stayed in front";
    DestroyWindow(other);
}

TEST_F(Scrolling, ScrollBarArrowsTroughAndBox) {
    ASSERT_TRUE(StyleOf(m_viewer->View()) & WS_VSCROLL);
    input::Click(DownArrow());
    EXPECT_TRUE(SettlesAt(1)) << "down arrow: top line " << TopLine();
    input::Click(DownArrow());
    EXPECT_TRUE(SettlesAt(2)) << "down arrow: top line " << TopLine();
    input::Click(UpArrow());
    EXPECT_TRUE(SettlesAt(1)) << "up arrow: top line " << TopLine();
    input::Click(UpArrow());
    EXPECT_TRUE(SettlesAt(0)) << "up arrow: top line " << TopLine();
    input::Click(TroughBottom());
    EXPECT_TRUE(SettlesAt(m_page)) << "trough: top line " << TopLine();
    input::Click(UpArrow());
    EXPECT_TRUE(SettlesAt(m_page - 1)) << "up arrow: top line " << TopLine();
    input::Key(VK_PRIOR);
    ASSERT_TRUE(WaitTopLine(0)) << "top line " << TopLine();

    // Dragging the box to the bottom of the bar shows the last page; back to the top, the first.
    POINT bottom = DownArrow();
    bottom.y += 40;
    Drag(BoxAtTop(), bottom);
    EXPECT_TRUE(WaitTopLine(LastTop())) << "box at the bottom: top line " << TopLine();
    EXPECT_TRUE(WaitShowsDump(m_file, LastTop(), 0));
    POINT top = UpArrow();
    top.y -= 40;
    POINT box = TroughBottom();
    Drag(box, top);
    EXPECT_TRUE(WaitTopLine(0)) << "box at the top: top line " << TopLine();
}

TEST_F(Scrolling, GrowingTheWindowAtTheEndKeepsTheLastLineAtTheFoot) {
    input::HoldKey(VK_NEXT, 1500);
    ASSERT_TRUE(WaitTopLine(LastTop()));
    m_viewer->Place(0, 0, kFrameWidth, kFrameHeight + 150);
    int page = PageLines();
    ASSERT_GT(page, m_page);
    EXPECT_TRUE(WaitTopLine(kLines - page)) << "top line " << TopLine() << " with " << page << " lines a page";
    EXPECT_TRUE(WaitShowsDump(m_file, kLines - page, 0));
    // Shrinking leaves the position.
    m_viewer->Place(0, 0, kFrameWidth, kFrameHeight);
    EXPECT_TRUE(WaitTopLine(kLines - page)) << "top line " << TopLine();
}

TEST_F(Scrolling, HorizontalBarOnlyWhileTheViewIsNarrowerThanTheDump) {
    EXPECT_FALSE(StyleOf(m_viewer->View()) & WS_HSCROLL) << "the dump fits across";
    m_viewer->Place(0, 0, 450, kFrameHeight);
    ASSERT_TRUE(WaitUntil([&] { return (StyleOf(m_viewer->View()) & WS_HSCROLL) != 0; }, 3000))
        << "a narrow view gets a horizontal bar";
    RECT c = ClientScreenRect(m_viewer->View());
    POINT right{c.right - GetSystemMetrics(SM_CXHSCROLL) / 2, c.bottom + GetSystemMetrics(SM_CYHSCROLL) / 2};
    input::Click(right);
    const std::string line0 = DumpLineOfFile(m_file, 0);
    EXPECT_TRUE(WaitUntil([&] { return m_reader.Shows(ViewShot(), 0, line0, kCyan, 15); }, 3000))
        << "one step right moves the dump 15 pixels: " << m_reader.Mismatch(ViewShot(), 0, line0, kCyan, 15);
    Shot("scrolled-right");
    m_viewer->Place(0, 0, kFrameWidth, kFrameHeight);
    EXPECT_TRUE(WaitUntil([&] { return !(StyleOf(m_viewer->View()) & WS_HSCROLL); }, 3000));
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 0)) << "a wide view shows the dump from its left edge";
}

class ShortContent : public ViewerTest {};

TEST_F(ShortContent, KeysAndWheelLeaveTheViewAtTheTop) {
    std::vector<uint8_t> file = LinesFile(5);
    StartWith(MakeFile(L"kratky.bin", file));
    ASSERT_TRUE(m_viewer->Main());
    ASSERT_TRUE(WaitShowsDump(file, 0, 0));
    EXPECT_FALSE(StyleOf(m_viewer->View()) & WS_VSCROLL) << "five lines fit: no vertical bar";
    input::MoveTo(ViewPoint(300, 30));
    input::Wheel(-WHEEL_DELTA);
    input::Key(VK_NEXT);
    input::HoldKey(VK_DOWN, 300);
    input::Wheel(WHEEL_DELTA);
    Sleep(200);
    EXPECT_TRUE(ShowsDump(file, 0, 0));
}

}  // namespace
}  // namespace e2e
