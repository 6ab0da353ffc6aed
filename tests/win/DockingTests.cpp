// Docking and floating of the frame's bars: the layout arithmetic on its own, then the viewer's
// main frame with real windows: docking on each side, a bar destroyed while the frame lives,
// floating in a tool window whose caption looks as active as the frame, hiding and showing in
// place, the double-click toggle, and drags run through the bar's own tracking loop.

#include "app/MainFrame.h"
#include "framework/bars/DockContext.h"
#include "framework/bars/DockLayout.h"
#include "framework/bars/MiniFrameWnd.h"
#include "framework/window/CmdUI.h"
#include "framework/window/Dpi.h"
#include "res/resource.h"
#include "tests/win/CoreTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---- The arithmetic -------------------------------------------------------------------------

// Bars in layout order, each given as its side and thickness.
std::vector<DockedBar> Bars(std::initializer_list<std::pair<DWORD, int>> sides) {
    std::vector<DockedBar> bars;
    for (const auto& [side, thickness] : sides) {
        DockedBar bar;
        bar.dwSide = side;
        bar.nThickness = thickness;
        bars.push_back(bar);
    }
    return bars;
}

TEST(DockLayout, BarsTakeStripsFromTheOutsideInAndTheViewGetsTheRest) {
    // The bottom one is a status bar: outermost.
    std::vector<DockedBar> bars = Bars({{CBRS_ALIGN_BOTTOM, 20}, {CBRS_ALIGN_LEFT, 30}, {CBRS_ALIGN_TOP, 28}});
    const CRect rest = LayoutDockedBars(CRect(0, 0, 400, 300), bars);
    EXPECT_EQ(bars[0].rect, CRect(0, 280, 400, 300));
    EXPECT_EQ(bars[1].rect, CRect(0, 0, 30, 280)) << "beside the view, above the status bar";
    EXPECT_EQ(bars[2].rect, CRect(30, 0, 400, 28)) << "only what the left bar left";
    EXPECT_EQ(rest, CRect(30, 28, 400, 280));

    // Bars thicker than the room left get only that room; the view's rest is empty, never
    // inside out.
    bars = Bars({{CBRS_ALIGN_BOTTOM, 40}, {CBRS_ALIGN_RIGHT, 500}});
    const CRect squeezed = LayoutDockedBars(CRect(10, 10, 110, 40), bars);
    EXPECT_EQ(bars[0].rect, CRect(10, 10, 110, 40));
    EXPECT_EQ(bars[1].rect, CRect(10, 10, 110, 10));
    EXPECT_TRUE(squeezed.IsRectEmpty());
    EXPECT_GE(squeezed.Width(), 0);
    EXPECT_GE(squeezed.Height(), 0);
}

TEST(DockLayout, ADropNearASideDocksThereAndElsewhereFloats) {
    const CRect area(100, 100, 500, 400);
    const int reach = 30;
    auto at = [&](int x, int y, DWORD allowed = CBRS_ALIGN_ANY) {
        return DockSideAt(area, POINT{x, y}, allowed, reach);
    };
    EXPECT_EQ(at(300, 105), CBRS_ALIGN_TOP);
    EXPECT_EQ(at(300, 75), CBRS_ALIGN_TOP) << "just outside the area, over the menu bar";
    EXPECT_EQ(at(300, 395), CBRS_ALIGN_BOTTOM);
    EXPECT_EQ(at(105, 250), CBRS_ALIGN_LEFT);
    EXPECT_EQ(at(520, 250), CBRS_ALIGN_RIGHT);
    EXPECT_EQ(at(300, 250), 0u) << "the middle floats";
    EXPECT_EQ(at(300, 60), 0u) << "too far above";
    EXPECT_EQ(at(40, 105), 0u) << "past the end of the top side";
    // In a corner the nearer side wins.
    EXPECT_EQ(at(110, 104), CBRS_ALIGN_TOP);
    EXPECT_EQ(at(104, 110), CBRS_ALIGN_LEFT);
    // Only the sides allowed.
    EXPECT_EQ(at(105, 250, CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM), 0u);
    EXPECT_EQ(at(104, 110, CBRS_ALIGN_TOP), CBRS_ALIGN_TOP);
    // Far corners of the coordinate space do not overflow into a side.
    EXPECT_EQ(DockSideAt(CRect(INT_MIN + 5, 0, INT_MAX - 5, 100), POINT{INT_MAX, INT_MIN}, CBRS_ALIGN_ANY, reach), 0u);
    EXPECT_EQ(DockSideAt(area, POINT{0, 0}, CBRS_ALIGN_ANY, 1000), CBRS_ALIGN_TOP) << "a tie goes to the top";
}

// ---- The main frame -------------------------------------------------------------------------

// The viewer's frame, with the About button's command counted and its state set by the test.
class CDockTestFrame : public CMainFrame {
public:
    CToolBar& ToolBar() { return m_wndToolBar; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }
    int m_nAbout = 0;
    bool m_bAboutEnabled = true;

protected:
    void OnAbout() { ++m_nAbout; }
    void OnUpdateAbout(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bAboutEnabled); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDockTestFrame, CMainFrame)
    ON_COMMAND(ID_APP_ABOUT, OnAbout)
    ON_UPDATE_COMMAND_UI(ID_APP_ABOUT, OnUpdateAbout)
END_MESSAGE_MAP()

class DockingTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_frame = std::make_unique<CDockTestFrame>();
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CWhiteTestView);
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context));
        m_frame->SetWindowPos(nullptr, 40, 40, 640, 480, SWP_NOZORDER);
        m_frame->InitialUpdateFrame(nullptr, TRUE);
        SetForegroundWindow(m_frame->GetSafeHwnd());
        PumpMessages(30);
    }
    void TearDown() override {
        if (m_frame && m_frame->GetSafeHwnd() != nullptr)
            m_frame->DestroyWindow();
        m_frame.reset();
    }

    CToolBar& Bar() { return m_frame->ToolBar(); }
    HWND BarWnd() { return m_frame->ToolBar().GetSafeHwnd(); }
    HWND ViewWnd() { return m_frame->GetActiveView()->GetSafeHwnd(); }
    // A child's rectangle in the frame's client coordinates.
    CRect InFrame(HWND hChild) {
        CRect rect;
        GetWindowRect(hChild, &rect);
        MapWindowPoints(nullptr, m_frame->GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    CRect ScreenRectOf(HWND hWnd) {
        CRect rect;
        GetWindowRect(hWnd, &rect);
        return rect;
    }
    CRect Item(int index) {
        CRect rect;
        Bar().GetItemRect(index, &rect);
        return rect;
    }
    HWND Floating() {
        CMiniFrameWnd* pFloating = Bar().GetDockContext()->GetFloatingFrameIfAny();
        return pFloating != nullptr ? pFloating->GetSafeHwnd() : nullptr;
    }
    bool ToolbarChecked() {
        HMENU hView = GetSubMenu(GetMenu(m_frame->GetSafeHwnd()), 2);
        m_frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hView), MAKELPARAM(2, FALSE));
        return (GetMenuState(hView, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    // A real press and release on a toolbar button, as the control sees them.
    void ClickButton(UINT nID) {
        const CPoint centre = Item(static_cast<int>(Bar().SendMessage(TB_COMMANDTOINDEX, nID))).CenterPoint();
        const LPARAM at = MAKELPARAM(centre.x, centre.y);
        Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Bar().SendMessage(WM_LBUTTONUP, 0, at);
        PumpMessages(20);
    }
    // A drag through the bar's tracking loop: the moves along screenPath, then cancelMessage
    // (if any), then the release at the path's end are queued first, as the mouse and the
    // keyboard would queue them; then the press on `from` (a client point of hFrom: the bar,
    // or the floating window's caption) runs the loop.
    void Drag(HWND hFrom, CPoint from, const std::vector<POINT>& screenPath, UINT cancelMessage = 0,
              WPARAM cancelWParam = 0) {
        LPARAM at = 0;
        for (POINT point : screenPath) {
            ScreenToClient(hFrom, &point);
            at = MAKELPARAM(point.x, point.y);
            PostMessageW(hFrom, WM_MOUSEMOVE, MK_LBUTTON, at);
        }
        if (cancelMessage != 0)
            PostMessageW(hFrom, cancelMessage, cancelWParam, cancelMessage == WM_KEYDOWN ? 1 : at);
        PostMessageW(hFrom, WM_LBUTTONUP, 0, at);
        if (hFrom == BarWnd()) {
            SendMessageW(hFrom, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        } else {
            POINT screen = from;
            ClientToScreen(hFrom, &screen);
            SendMessageW(hFrom, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        }
        PumpMessages(20);
    }
    // The middle of the toolbar's gripper, in its client coordinates (it lies outside them).
    CPoint Gripper() {
        CRect window = ScreenRectOf(BarWnd());
        POINT origin = {0, 0};
        ClientToScreen(BarWnd(), &origin);
        return Bar().IsHorizontal() ? CPoint((window.left - origin.x) + 4, window.Height() / 2)
                                    : CPoint(window.Width() / 2, (window.top - origin.y) + 4);
    }
    // The middle of the floating window's caption, in its client coordinates (it lies above them).
    CPoint Caption(HWND hFloating) {
        return CPoint(ScreenRectOf(hFloating).Width() / 2, -GetSystemMetrics(SM_CYSMCAPTION) / 2);
    }
    // Whether a floating window's caption, left of its close button, is drawn in `colour` with
    // nothing of `other`: what the window itself shows, whatever covers it on the screen.
    ::testing::AssertionResult CaptionDrawnIn(CWnd* pFloating, COLORREF colour, COLORREF other) {
        CWindowDC dc(pFloating);
        const int left = GetSystemMetrics(SM_CXFIXEDFRAME);
        const int top = GetSystemMetrics(SM_CYFIXEDFRAME);
        const int right = ScreenRectOf(pFloating->GetSafeHwnd()).Width() - left - GetSystemMetrics(SM_CXSMSIZE);
        const int bottom = top + GetSystemMetrics(SM_CYSMCAPTION) - 1;
        int inColour = 0, inOther = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const COLORREF pixel = GetPixel(dc, x, y);
                inColour += pixel == colour ? 1 : 0;
                inOther += pixel == other ? 1 : 0;
            }
        }
        if (inColour > 0 && inOther == 0)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << inColour << " pixels of the wanted colour, " << inOther << " of the other";
    }
    CRect DockingAreaOnScreen() {
        CRect area = m_frame->GetDockingArea();
        m_frame->ClientToScreen(&area);
        return area;
    }

    std::unique_ptr<CDockTestFrame> m_frame;
};

TEST_F(DockingTest, TheToolbarDocksOnEachSideAndTheViewTakesTheRest) {
    CRect client;
    m_frame->GetClientRect(&client);
    const int statusTop = InFrame(m_frame->StatusBar().GetSafeHwnd()).top;
    const int rowHeight = InFrame(BarWnd()).Height();
    ASSERT_EQ(InFrame(BarWnd()), CRect(0, 0, client.right, rowHeight)) << "each start: at the top";

    struct Place {
        UINT id;
        const char* name;
    };
    for (const Place& place : {Place{AFX_IDW_DOCKBAR_LEFT, "left"}, Place{AFX_IDW_DOCKBAR_BOTTOM, "bottom"},
                               Place{AFX_IDW_DOCKBAR_RIGHT, "right"}, Place{AFX_IDW_DOCKBAR_TOP, "top"}}) {
        SCOPED_TRACE(place.name);
        m_frame->DockControlBar(&Bar(), place.id);
        const CRect bar = InFrame(BarWnd());
        const CRect view = InFrame(ViewWnd());
        EXPECT_EQ(GetParent(BarWnd()), m_frame->GetSafeHwnd());
        EXPECT_FALSE(Bar().IsFloating());
        EXPECT_EQ(InFrame(m_frame->StatusBar().GetSafeHwnd()).top, statusTop) << "the status bar stays at the bottom";
        switch (place.id) {
        case AFX_IDW_DOCKBAR_LEFT:
        case AFX_IDW_DOCKBAR_RIGHT:
            // An upright column of buttons as high as the room between the status bar and the top.
            EXPECT_EQ(bar.top, 0);
            EXPECT_EQ(bar.bottom, statusTop);
            EXPECT_LT(bar.Width(), rowHeight + 10);
            EXPECT_GT(Item(1).top, Item(0).top);
            EXPECT_GT(Item(3).top, Item(1).top);
            EXPECT_EQ(Item(3).left, Item(0).left);
            EXPECT_LE(Item(3).bottom, bar.Height());
            EXPECT_EQ(place.id == AFX_IDW_DOCKBAR_LEFT ? bar.left : bar.right,
                      place.id == AFX_IDW_DOCKBAR_LEFT ? 0 : client.right);
            EXPECT_EQ(view, place.id == AFX_IDW_DOCKBAR_LEFT ? CRect(bar.right, 0, client.right, statusTop)
                                                             : CRect(0, 0, bar.left, statusTop));
            break;
        default:
            // A row across the whole width.
            EXPECT_EQ(bar.Height(), rowHeight);
            EXPECT_EQ(bar.Width(), client.Width());
            EXPECT_EQ(Item(3).top, Item(0).top);
            EXPECT_GT(Item(3).left, Item(1).left);
            if (place.id == AFX_IDW_DOCKBAR_BOTTOM) {
                EXPECT_EQ(bar.bottom, statusTop) << "just above the status bar";
                EXPECT_EQ(view, CRect(0, 0, client.right, bar.top));
            } else {
                EXPECT_EQ(bar.top, 0);
                EXPECT_EQ(view, CRect(0, bar.bottom, client.right, statusTop));
            }
            break;
        }
    }
}

TEST_F(DockingTest, TheButtonsHaveTheDisplaysScaledSizeAndFollowADpiChange) {
    // 16 by 15 pixels of art and 7 of frame at 96 DPI, in proportion at any other.
    const UINT dpi = AfxGetDpiForWindow(BarWnd());
    const auto buttonAt = [](UINT at) {
        return CSize(AfxScaleForDpi(16, at) + AfxScaleForDpi(7, at), AfxScaleForDpi(15, at) + AfxScaleForDpi(7, at));
    };
    EXPECT_EQ(Item(0).Size(), buttonAt(dpi)) << "at " << dpi << " DPI";
    const int barHeight = InFrame(BarWnd()).Height();

    // Moved to a display of twice the DPI, the frame takes the suggested rectangle and the
    // buttons grow with it.
    const CRect suggested(60, 50, 60 + 1100, 50 + 800);
    m_frame->SendMessage(WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages(20);
    EXPECT_EQ(ScreenRectOf(m_frame->GetSafeHwnd()), suggested);
    EXPECT_EQ(Item(0).Size(), buttonAt(2 * dpi));
    EXPECT_GT(InFrame(BarWnd()).Height(), barHeight);
    EXPECT_EQ(InFrame(ViewWnd()).top, InFrame(BarWnd()).bottom) << "the view starts below the taller bar";
}

TEST_F(DockingTest, AToolbarDestroyedWhileTheFrameLivesLeavesTheFrameToTheStatusBarAndTheView) {
    const HWND hStatus = m_frame->StatusBar().GetSafeHwnd();
    const int statusHeight = InFrame(hStatus).Height();
    CRect client;
    m_frame->GetClientRect(&client);
    ASSERT_TRUE(Bar().DestroyWindow());
    m_frame->RecalcLayout();
    EXPECT_EQ(InFrame(hStatus), CRect(0, client.bottom - statusHeight, client.right, client.bottom))
        << "the status bar, once, at the bottom";
    EXPECT_EQ(InFrame(ViewWnd()), CRect(0, 0, client.right, client.bottom - statusHeight));

    // The frame holds the bar no longer: made again in another window, the bar is that window's
    // alone, and the frame neither lays it out nor finds it.
    CWnd other;
    ASSERT_TRUE(CreateTestWindow(other));
    ASSERT_TRUE(Bar().CreateEx(&other, 0, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR));
    ASSERT_TRUE(Bar().LoadToolBar(IDR_MAINFRAME));
    m_frame->RecalcLayout();
    EXPECT_EQ(InFrame(ViewWnd()).top, 0);
    EXPECT_EQ(m_frame->GetControlBar(AFX_IDW_TOOLBAR), nullptr);
}

TEST_F(DockingTest, AFloatingToolbarLivesInAnOwnedToolWindowAndKeepsItsPlaceWhenHiddenAndShown) {
    Bar().GetDockContext()->Float(CPoint(300, 200));
    const HWND hFloating = Floating();
    ASSERT_NE(hFloating, nullptr);
    EXPECT_TRUE(Bar().IsFloating());
    EXPECT_EQ(GetParent(BarWnd()), hFloating);
    EXPECT_EQ(GetWindow(hFloating, GW_OWNER), m_frame->GetSafeHwnd());
    EXPECT_TRUE(GetWindowLongPtrW(hFloating, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongPtrW(hFloating, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_TRUE(IsWindowVisible(hFloating));
    EXPECT_EQ(ScreenRectOf(hFloating).TopLeft(), CPoint(300, 200));
    // One row, all of it inside the window.
    CRect floatingClient;
    GetClientRect(hFloating, &floatingClient);
    EXPECT_EQ(Item(3).top, Item(0).top);
    EXPECT_LE(Item(3).right, floatingClient.right);
    EXPECT_LE(Item(3).bottom, floatingClient.bottom);
    EXPECT_GE(ScreenRectOf(BarWnd()).right, ScreenRectOf(hFloating).right - 8) << "no wide empty margin";
    EXPECT_EQ(InFrame(ViewWnd()).top, 0) << "the view takes the toolbar's place";
    EXPECT_NE(GetActiveWindow(), hFloating) << "floating does not take the keyboard from the frame";

    // The buttons still command the frame, and their tooltips come from its strings.
    ClickButton(ID_APP_ABOUT);
    EXPECT_EQ(m_frame->m_nAbout, 1);
    NMTTDISPINFOW tip = {};
    tip.hdr.hwndFrom = Bar().GetToolTips();
    tip.hdr.idFrom = ID_APP_ABOUT;
    tip.hdr.code = TTN_GETDISPINFOW;
    m_frame->SendMessage(WM_NOTIFY, ID_APP_ABOUT, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ(tip.lpszText, L"O programu");

    // The View menu hides and shows it in its place; the check mark follows.
    EXPECT_TRUE(ToolbarChecked());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_FALSE(IsWindowVisible(hFloating));
    EXPECT_FALSE(Bar().IsVisible());
    EXPECT_FALSE(ToolbarChecked());
    EXPECT_EQ(InFrame(ViewWnd()).top, 0);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(hFloating));
    EXPECT_TRUE(Bar().IsFloating());
    EXPECT_EQ(ScreenRectOf(hFloating).TopLeft(), CPoint(300, 200));
    EXPECT_TRUE(ToolbarChecked());
    EXPECT_EQ(InFrame(ViewWnd()).top, 0) << "still floating: the view keeps the top";

    // Its close button hides the bar the same way.
    SendMessageW(hFloating, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hFloating));
    EXPECT_FALSE(IsWindowVisible(hFloating));
    EXPECT_FALSE(ToolbarChecked());
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(IsWindowVisible(hFloating));
    EXPECT_EQ(ScreenRectOf(hFloating).TopLeft(), CPoint(300, 200));

    // Hidden while docked on a side, shown there again.
    m_frame->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_RIGHT);
    EXPECT_FALSE(IsWindowVisible(hFloating));
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBAR);
    EXPECT_EQ(GetParent(BarWnd()), m_frame->GetSafeHwnd());
    EXPECT_EQ(DockSideOfStyle(Bar().GetBarStyle()), CBRS_ALIGN_RIGHT);
    EXPECT_FALSE(IsWindowVisible(hFloating));

    // The floating window goes with the frame.
    Bar().GetDockContext()->Float(CPoint(320, 220));
    m_frame->DestroyWindow();
    EXPECT_FALSE(IsWindow(hFloating));
}

TEST_F(DockingTest, TheFloatingCaptionLooksActiveWhileTheFrameIs) {
    const COLORREF active = GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF inactive = GetSysColor(COLOR_INACTIVECAPTION);
    ASSERT_NE(active, inactive);
    ASSERT_EQ(GetActiveWindow(), m_frame->GetSafeHwnd());
    Bar().GetDockContext()->Float(CPoint(300, 200));
    CMiniFrameWnd* pFloating = Bar().GetDockContext()->GetFloatingFrameIfAny();
    ASSERT_NE(pFloating, nullptr);
    PumpMessages(20);
    EXPECT_TRUE(CaptionDrawnIn(pFloating, active, inactive)) << "shown while the frame is active";

    // Another window takes the activation, and gives it back.
    CWnd other;
    ASSERT_TRUE(CreateTestWindow(other));
    SetForegroundWindow(other.GetSafeHwnd());
    PumpMessages(20);
    ASSERT_EQ(GetActiveWindow(), other.GetSafeHwnd());
    EXPECT_TRUE(CaptionDrawnIn(pFloating, inactive, active));
    SetForegroundWindow(m_frame->GetSafeHwnd());
    PumpMessages(20);
    ASSERT_EQ(GetActiveWindow(), m_frame->GetSafeHwnd());
    EXPECT_TRUE(CaptionDrawnIn(pFloating, active, inactive));
}

TEST_F(DockingTest, DoubleClicksToggleBetweenTheLastDockedSideAndTheLastFloatingPlace) {
    m_frame->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_LEFT);
    Bar().GetDockContext()->Float(CPoint(250, 150));
    m_frame->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_BOTTOM);
    Bar().GetDockContext()->Float(CPoint(260, 170));
    const HWND hFloating = Floating();

    // On the floating window's caption: back to the last side, the bottom.
    SendMessageW(hFloating, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(265, 175));
    EXPECT_FALSE(Bar().IsFloating());
    EXPECT_EQ(DockSideOfStyle(Bar().GetBarStyle()), CBRS_ALIGN_BOTTOM);
    EXPECT_FALSE(IsWindowVisible(hFloating));

    // On the docked bar's gripper: floating again at the last place.
    const CPoint grip = Gripper();
    Bar().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
    EXPECT_TRUE(Bar().IsFloating());
    EXPECT_EQ(ScreenRectOf(hFloating).TopLeft(), CPoint(260, 170));

    // A double-click on a button is the button's, not a toggle.
    const CPoint button = Item(0).CenterPoint();
    Bar().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(button.x, button.y));
    Bar().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));
    EXPECT_TRUE(Bar().IsFloating());
}

TEST_F(DockingTest, EscOrTheRightButtonCancelADragOfTheGripper) {
    const CRect docked = InFrame(BarWnd());
    const CPoint grip = Gripper();
    const POINT middle = DockingAreaOnScreen().CenterPoint();
    Drag(BarWnd(), grip, {middle}, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(Bar().IsFloating());
    EXPECT_EQ(InFrame(BarWnd()), docked);
    EXPECT_EQ(GetCapture(), nullptr);
    Drag(BarWnd(), grip, {middle}, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON);
    EXPECT_FALSE(Bar().IsFloating());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DockingTest, TheGripperDroppedNearTheLeftSideDocksTheBarThere) {
    const CRect area = DockingAreaOnScreen();
    const POINT middle = area.CenterPoint();
    const POINT left = {area.left + 6, middle.y};
    Drag(BarWnd(), Gripper(), {middle, left, left});
    EXPECT_FALSE(Bar().IsFloating());
    EXPECT_EQ(DockSideOfStyle(Bar().GetBarStyle()), CBRS_ALIGN_LEFT);
    EXPECT_EQ(InFrame(BarWnd()).left, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DockingTest, TheGripperDroppedInTheMiddleFloatsTheBarWhereThePointerHeldIt) {
    // From the left side, where the gripper heads an upright column.
    m_frame->DockControlBar(&Bar(), AFX_IDW_DOCKBAR_LEFT);
    const POINT middle = DockingAreaOnScreen().CenterPoint();
    const CPoint fromLeftGrip = Gripper();
    CPoint held = fromLeftGrip;
    ClientToScreen(BarWnd(), &held);
    const CRect before = ScreenRectOf(BarWnd());
    const POINT drop = {middle.x + 40, middle.y + 30};
    Drag(BarWnd(), fromLeftGrip, {middle, drop});
    ASSERT_TRUE(Bar().IsFloating());
    const CRect floating = ScreenRectOf(Floating());
    EXPECT_EQ(floating.TopLeft(), CPoint(drop.x - (held.x - before.left), drop.y - (held.y - before.top)))
        << "held where the pointer held the gripper";
    EXPECT_EQ(GetFocus(), ViewWnd()) << "the keyboard is back with the view";
}

TEST_F(DockingTest, APressOnTheFloatingCaptionThatHardlyMovesIsAClick) {
    Bar().GetDockContext()->Float(CPoint(300, 200));
    const HWND hFloating = Floating();
    const CRect floating = ScreenRectOf(hFloating);
    const CPoint caption = Caption(hFloating);
    CPoint captionScreen = caption;
    ClientToScreen(hFloating, &captionScreen);
    Drag(hFloating, caption, {POINT{captionScreen.x + 1, captionScreen.y + 1}});
    EXPECT_TRUE(Bar().IsFloating());
    EXPECT_EQ(ScreenRectOf(hFloating), floating);
}

TEST_F(DockingTest, TheFloatingCaptionDraggedToTheBottomDocksTheBarThere) {
    Bar().GetDockContext()->Float(CPoint(300, 200));
    const HWND hFloating = Floating();
    const CRect area = DockingAreaOnScreen();
    const POINT middle = area.CenterPoint();
    const POINT bottom = {middle.x, area.bottom - 4};
    Drag(hFloating, Caption(hFloating), {middle, bottom, bottom});
    EXPECT_FALSE(Bar().IsFloating());
    EXPECT_EQ(DockSideOfStyle(Bar().GetBarStyle()), CBRS_ALIGN_BOTTOM);
    EXPECT_FALSE(IsWindowVisible(hFloating));
    EXPECT_EQ(InFrame(BarWnd()).bottom, InFrame(m_frame->StatusBar().GetSafeHwnd()).top);
    EXPECT_EQ(GetFocus(), ViewWnd());
}

TEST_F(DockingTest, AFloatingToolbarTakesNoInputBehindAModalWindowNorRunsACommandDisabledMeanwhile) {
    Bar().GetDockContext()->Float(CPoint(300, 200));
    const HWND hFloating = Floating();
    const HWND hFrame = m_frame->GetSafeHwnd();
    // A message box disables its owner, the frame, and the floating window goes with it.
    bool enabledBehindTheBox = true;
    {
        WhenWindowAppears box(L"Modální", [&](HWND hBox) {
            enabledBehindTheBox = IsWindowEnabled(hFloating) != FALSE;
            PostMessageW(hBox, WM_COMMAND, IDOK, 0);
        });
        MessageBoxW(hFrame, L"Za oknem nic nepracuje.", L"Modální", MB_OK);
        EXPECT_TRUE(box.Appeared());
    }
    EXPECT_FALSE(enabledBehindTheBox);
    EXPECT_TRUE(IsWindowEnabled(hFloating)) << "back with the frame";

    // A button drawn enabled whose command has been disabled since: the click is dropped.
    m_frame->m_bAboutEnabled = false;
    ClickButton(ID_APP_ABOUT);
    EXPECT_EQ(m_frame->m_nAbout, 0);
    m_frame->m_bAboutEnabled = true;
    ClickButton(ID_APP_ABOUT);
    EXPECT_EQ(m_frame->m_nAbout, 1);
}

}  // namespace
