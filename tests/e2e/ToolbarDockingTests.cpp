// The toolbar moved with real mouse drags, one move a test: off the frame to float, hidden and
// shown while floating, by its caption onto the left side, by its gripper from the left to the
// bottom; its buttons, their prompts and the layout of the frame in each place.
#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"
#include "tests/e2e/ViewerTest.h"

namespace e2e {
namespace {

class ToolbarDocking : public ViewerTest {
protected:
    // Starts the viewer without a file and notes its windows and client area; each start docks
    // the toolbar at the top.
    void StartDockedAtTheTop() {
        Viewer& viewer = Start();
        m_toolbar = viewer.Toolbar();
        m_view = viewer.View();
        m_status = viewer.StatusBar();
        ASSERT_TRUE(m_toolbar && m_view && m_status);
        m_client = ClientScreenRect(viewer.Main());
        m_middle = POINT{(m_client.left + m_client.right) / 2, (m_client.top + m_client.bottom) / 2};
        ASSERT_EQ(m_client.top, ScreenRect(m_toolbar).top) << "each start docks the toolbar at the top";
    }
    // The toolbar docks on the left, as an upright column in the main window.
    void ExpectUprightOnTheLeft() {
        ASSERT_TRUE(WaitUntil(
            [&] {
                RECT r = ScreenRect(m_toolbar);
                return GetParent(m_toolbar) == m_viewer->Main() && r.left == m_client.left &&
                       r.bottom - r.top > r.right - r.left;
            },
            3000))
            << "the toolbar does not dock on the left";
    }
    // Drags with the left button from `from` to `to` in small steps, as a hand would.
    static void DragMouse(POINT from, POINT to) {
        input::MouseDown(from);
        for (int step = 1; step <= 8; ++step)
            input::MoveTo(POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8});
        input::MouseUp(to);
    }
    // The middle of the gripper: at the left end of a row, at the top of a column.
    static POINT Gripper(HWND toolbar) {
        RECT r = ScreenRect(toolbar);
        bool upright = r.bottom - r.top > r.right - r.left;
        return upright ? POINT{(r.left + r.right) / 2, r.top + 4} : POINT{r.left + 4, (r.top + r.bottom) / 2};
    }
    // Drags the docked toolbar by its gripper off the frame to `drop`: the window it floats in
    // then, or null when it does not float.
    HWND FloatAt(HWND toolbar, POINT drop) {
        DragMouse(Gripper(toolbar), drop);
        HWND floating = nullptr;
        const bool floats = WaitUntil(
            [&] {
                floating = GetParent(toolbar);
                return floating != m_viewer->Main() && IsWindowVisible(floating);
            },
            3000);
        return floats ? floating : nullptr;
    }
    // The About button (the third image) opens the About box; the box is closed again.
    void ClickAbout(const char* place) {
        POINT about{};
        ASSERT_TRUE(FindButton(2, about)) << "no About button " << place;
        input::Click(about);
        HWND box = m_viewer->WaitForWindow(L"O programu", L"#32770", 5000);
        ASSERT_TRUE(box) << "the About button does nothing " << place;
        SetForegroundWindow(box);
        input::Key(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
    }

    HWND m_toolbar = nullptr;
    HWND m_view = nullptr;
    HWND m_status = nullptr;
    RECT m_client{};   // the main window's client area on the screen
    POINT m_middle{};  // its middle
};

TEST_F(ToolbarDocking, DraggedOffTheFrameItFloatsInAWindowOfItsOwnWhereItWasDropped) {
    ASSERT_NO_FATAL_FAILURE(StartDockedAtTheTop());
    Viewer& viewer = *m_viewer;

    // Off the frame: a small window of its own, owned by the main window.
    HWND floating = FloatAt(m_toolbar, m_middle);
    ASSERT_TRUE(floating) << "the toolbar does not float";
    EXPECT_EQ(viewer.Main(), GetWindow(floating, GW_OWNER));
    EXPECT_TRUE(WaitUntil([&] { return ScreenRect(m_view).top == m_client.top; }, 3000))
        << "the view takes the toolbar's place";
    EXPECT_TRUE(WaitUntil([&] { return viewer.Focus() == m_view; }, 3000)) << "the keyboard goes back to the view";
    const RECT floatingAt = ScreenRect(floating);
    EXPECT_TRUE(PtInRect(&floatingAt, m_middle)) << "it floats where it was dropped";
    Shot("floating");
    POINT about{};
    ASSERT_TRUE(FindButton(2, about));
    input::MoveTo(about);
    EXPECT_TRUE(WaitUntil([&] { return viewer.StatusText() == L"Zobraz\u00ed informace o autorovi a programu"; }, 3000))
        << "status: " << Narrow(viewer.StatusText());
    ClickAbout("while floating");
    viewer.Activate();  // the main window brought forward: its floating toolbar stays above it
    EXPECT_TRUE(WaitUntil([&] { return GetAncestor(WindowFromPoint(Center(floatingAt)), GA_ROOT) == floating; }, 3000))
        << "the main window covers its floating toolbar";
    EXPECT_EQ(0, viewer.ToolbarState(ID_SEARCH_FIND) & TBSTATE_ENABLED) << "Find stays grey without a file";
}

TEST_F(ToolbarDocking, HiddenAndShownThroughTheViewMenuWhileFloatingItComesBackInTheSamePlace) {
    ASSERT_NO_FATAL_FAILURE(StartDockedAtTheTop());
    HWND floating = FloatAt(m_toolbar, m_middle);
    ASSERT_TRUE(floating) << "the toolbar does not float";
    const RECT floatingAt = ScreenRect(floating);

    input::Menu(L'z', L'p');
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(floating); }, 3000)) << "Zobrazit > Panel nastroju hides it";
    input::Menu(L'z', L'p');
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(floating) != FALSE; }, 3000)) << "and shows it again";
    RECT shownAgain = ScreenRect(floating);
    EXPECT_TRUE(EqualRect(&floatingAt, &shownAgain)) << "in the same place";
    EXPECT_EQ(m_client.top, ScreenRect(m_view).top);
}

TEST_F(ToolbarDocking, DraggedByItsCaptionOntoTheLeftSideItStandsUprightBesideTheView) {
    ASSERT_NO_FATAL_FAILURE(StartDockedAtTheTop());
    HWND floating = FloatAt(m_toolbar, m_middle);
    ASSERT_TRUE(floating) << "the toolbar does not float";
    const RECT floatingAt = ScreenRect(floating);

    const POINT caption{(floatingAt.left + floatingAt.right) / 2,
                        floatingAt.top + GetSystemMetrics(SM_CYSMCAPTION) / 2 + 1};
    DragMouse(caption, POINT{m_client.left + 5, m_middle.y});
    ASSERT_NO_FATAL_FAILURE(ExpectUprightOnTheLeft());
    EXPECT_TRUE(WaitUntil([&] { return ScreenRect(m_view).left > m_client.left; }, 3000));
    RECT left = ScreenRect(m_toolbar);
    EXPECT_EQ(m_client.left, left.left);
    EXPECT_EQ(m_client.top, left.top);
    EXPECT_GT(left.bottom - left.top, 3 * (left.right - left.left)) << "upright";
    EXPECT_EQ(left.right, ScreenRect(m_view).left);
    EXPECT_EQ(m_client.top, ScreenRect(m_view).top);
    EXPECT_FALSE(IsWindowVisible(floating));
    Shot("left");
    ClickAbout("docked on the left");
}

TEST_F(ToolbarDocking, DraggedByItsGripperToTheBottomItLiesJustAboveTheStatusBar) {
    ASSERT_NO_FATAL_FAILURE(StartDockedAtTheTop());
    // From the left side, where the gripper heads an upright column.
    DragMouse(Gripper(m_toolbar), POINT{m_client.left + 5, m_middle.y});
    ASSERT_NO_FATAL_FAILURE(ExpectUprightOnTheLeft());

    const RECT statusAt = ScreenRect(m_status);
    DragMouse(Gripper(m_toolbar), POINT{m_middle.x, statusAt.top - 5});
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT r = ScreenRect(m_toolbar);
            return r.right - r.left > r.bottom - r.top && r.bottom == statusAt.top;
        },
        3000))
        << "the toolbar does not dock at the bottom";
    RECT bottom = ScreenRect(m_toolbar);
    EXPECT_EQ(m_client.left, bottom.left);
    EXPECT_EQ(m_client.right, bottom.right);
    EXPECT_TRUE(WaitUntil([&] { return ScreenRect(m_view).bottom == bottom.top; }, 3000))
        << "the view ends at the toolbar";
    EXPECT_EQ(m_client.left, ScreenRect(m_view).left);
    EXPECT_EQ(m_client.top, ScreenRect(m_view).top);
    RECT statusNow = ScreenRect(m_status);
    EXPECT_TRUE(EqualRect(&statusAt, &statusNow));
    Shot("bottom");
    ClickAbout("docked at the bottom");
    EXPECT_TRUE(WaitUntil([&] { return m_viewer->Focus() == m_view; }, 3000));
}

// Behind a modal window nothing of the viewer takes input: the floating toolbar lives in a
// window of its own, and a dialog disables only the main window it belongs to.
TEST_F(ToolbarDocking, AFloatingToolbarTakesNoClicksWhileADialogIsUpAndWorksAgainAfterwards) {
    const std::wstring path = MakeFile(L"modal.bin", LinesFile(40));
    Viewer& viewer = StartWith(path);
    HWND toolbar = viewer.Toolbar();
    ASSERT_TRUE(toolbar);
    // Floating low on the right, where no dialog covers it.
    const RECT client = ClientScreenRect(viewer.Main());
    HWND floating = FloatAt(toolbar, POINT{client.right - 150, client.bottom - 100});
    ASSERT_TRUE(floating) << "the toolbar does not float";
    ASSERT_TRUE(WaitUntil([&] { return (viewer.ToolbarState(ID_SEARCH_FIND) & TBSTATE_ENABLED) != 0; }, 3000));
    POINT open{}, find{}, about{};
    ASSERT_TRUE(WaitUntil([&] { return FindButton(0, open) && FindButton(1, find) && FindButton(2, about); }, 3000));

    // The floating toolbar is in sight where its buttons are (the main window may cover it for
    // a moment when it comes to the front).
    auto inSight = [&] {
        return WaitUntil(
            [&] {
                for (POINT button : {about, find, open})
                    if (GetAncestor(WindowFromPoint(button), GA_ROOT) != floating)
                        return false;
                return true;
            },
            3000);
    };
    // The dialogs the viewer shows: exactly `expected` (and no other) for a while after the
    // clicks on every floating button.
    auto clicksDoNothing = [&](HWND expected, const char* behind) {
        ASSERT_TRUE(inSight()) << "the floating toolbar is covered behind " << behind;
        for (POINT button : {about, find, open})
            input::Click(button);
        auto onlyExpected = [&] {
            std::vector<HWND> dialogs;
            for (HWND w : viewer.TopLevelWindows())
                if (ClassOf(w) == L"#32770")
                    dialogs.push_back(w);
            return dialogs == std::vector<HWND>{expected};
        };
        EXPECT_FALSE(WaitUntil([&] { return !onlyExpected(); }, 1500))
            << "a click on the floating toolbar opened a window behind " << behind;
        Shot(std::string("behind-") + behind);
    };
    auto close = [&](HWND dialog) {
        SetForegroundWindow(dialog);
        WaitUntil([&] { return GetForegroundWindow() == dialog; }, 1000);
        input::Key(VK_ESCAPE);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 3000));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(viewer.Main()) != FALSE; }, 3000));
    };

    HWND findDialog = OpenFind();
    ASSERT_TRUE(findDialog) << "F4 does not open the Find dialog";
    clicksDoNothing(findDialog, "Find");
    close(findDialog);

    ASSERT_TRUE(inSight());
    input::Click(about);
    HWND aboutBox = viewer.WaitForWindow(L"O programu", L"#32770", 5000);
    ASSERT_TRUE(aboutBox) << "after the Find dialog the floating About button does nothing";
    clicksDoNothing(aboutBox, "About");
    close(aboutBox);

    ASSERT_TRUE(viewer.Activate());
    ASSERT_TRUE(inSight());
    input::Chord({VK_CONTROL, 'O'});
    HWND openDialog = viewer.WaitForWindow(L"Otev\u0159\u00edt", L"#32770", 5000);
    ASSERT_TRUE(openDialog) << "Ctrl+O opens no File Open dialog";
    clicksDoNothing(openDialog, "Open");
    close(openDialog);

    // The floating buttons work again: their tooltips and prompts follow the mouse, Find is
    // still enabled, and a click runs it; the keyboard is still the view's.
    ASSERT_TRUE(inSight());
    input::MoveTo(POINT{about.x - 3, about.y});
    input::MoveTo(about);
    EXPECT_TRUE(WaitUntil(
        [&] {
            for (HWND w : viewer.TopLevelWindows())
                if (ClassOf(w) == TOOLTIPS_CLASSW && TextOf(w) == L"O programu")
                    return true;
            return false;
        },
        5000))
        << "no tooltip over the floating About button";
    EXPECT_TRUE(WaitUntil([&] { return viewer.StatusText() == L"Zobraz\u00ed informace o autorovi a programu"; }, 3000))
        << "status: " << Narrow(viewer.StatusText());
    EXPECT_EQ(viewer.ToolbarState(ID_SEARCH_FIND) & (TBSTATE_ENABLED | TBSTATE_PRESSED), TBSTATE_ENABLED);
    input::Click(find);
    HWND again = viewer.WaitForWindow(L"Hledat", L"#32770", 5000);
    EXPECT_TRUE(again) << "after the dialogs the floating Find button does nothing";
    if (again)
        close(again);
    EXPECT_TRUE(WaitUntil([&] { return viewer.Focus() == viewer.View(); }, 3000));
}

}  // namespace
}  // namespace e2e
