// The menu bar, the toolbar and the status bar, worked with the keyboard and the mouse.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "res/resource.h"
#include "tests/e2e/ViewerTest.h"

namespace e2e {
namespace {

class MenusAndBars : public ViewerTest {
protected:
    // Opens a popup with Alt+letter; returns its window.
    HWND OpenPopup(wchar_t letter) {
        m_viewer->Activate();
        input::Chord({VK_MENU, static_cast<WORD>(LOBYTE(VkKeyScanW(letter)))});
        HWND menu = nullptr;
        WaitUntil([&] { return (menu = m_viewer->OpenMenuWindow()) != nullptr; }, 3000);
        return menu;
    }
    void CloseMenus() {
        for (int i = 0; i < 3 && m_viewer->OpenMenuWindow(); ++i) {
            input::Key(VK_ESCAPE);
            Sleep(100);
        }
        input::Key(VK_ESCAPE);
        WaitUntil([&] { return !m_viewer->OpenMenuWindow(); }, 2000);
    }

    std::wstring TooltipAt(POINT where) {
        input::MoveTo(POINT{where.x, where.y + 60});  // away first, so the tip shows anew
        Sleep(300);
        input::MoveTo(where);
        input::MoveTo(POINT{where.x + 1, where.y});
        std::wstring text;
        WaitUntil(
            [&] {
                for (HWND w : m_viewer->TopLevelWindows())
                    if (ClassOf(w).find(L"tooltips_class32") != std::wstring::npos && !(text = TextOf(w)).empty())
                        return true;
                return false;
            },
            4000);
        return text;
    }
};

TEST_F(MenusAndBars, StatusBarShowsReadyAndLightsCapsAndNumPanes) {
    Viewer& viewer = Start();
    ASSERT_TRUE(viewer.StatusBar());
    EXPECT_TRUE(WaitUntil([&] { return viewer.StatusText() == L"P\u0159ipraven"; }, 3000))
        << "status: " << Narrow(viewer.StatusText());
    DWORD_PTR parts = 0;
    SendMessageTimeoutW(viewer.StatusBar(), SB_GETPARTS, 0, 0, SMTO_ABORTIFHUNG, 2000, &parts);
    EXPECT_EQ(3u, parts) << "the message pane, ABC and 123";

    // A lock key's pane is drawn in black while the lock is on and not in black while it is off.
    // The pane is found as the part of the status bar that changes with the key. (Which state
    // is "on" cannot be asked of another program reliably; the test display starts with both
    // locks off, and each key is pressed twice, so it ends as it began.)
    auto isDark = [](uint32_t p) { return ((p >> 16) & 0xFF) < 0x50 && ((p >> 8) & 0xFF) < 0x50 && (p & 0xFF) < 0x50; };
    struct Lock {
        WORD vk;
        const char* name;
    } locks[] = {{VK_CAPITAL, "caps-lock"}, {VK_NUMLOCK, "num-lock"}};
    for (const Lock& lock : locks) {
        SCOPED_TRACE(lock.name);
        Sleep(300);
        Image before = CaptureWindow(viewer.StatusBar());
        viewer.Activate();
        input::Key(lock.vk);
        Image after;
        EXPECT_TRUE(WaitUntil(
            [&] {
                after = CaptureWindow(viewer.StatusBar());
                return after.Pixels() != before.Pixels();
            },
            3000))
            << "the status bar does not change with the key";
        Shot(std::string(lock.name) + "-pressed");
        int darkBefore = 0, darkAfter = 0, leftmost = after.Width();
        for (int y = 0; y < after.Height(); ++y)
            for (int x = 0; x < after.Width(); ++x)
                if (after.At(x, y) != before.At(x, y)) {
                    leftmost = std::min(leftmost, x);
                    darkBefore += isDark(before.At(x, y));
                    darkAfter += isDark(after.At(x, y));
                }
        EXPECT_TRUE((darkBefore == 0) != (darkAfter == 0))
            << "the pane should be lit in exactly one of the two states: " << darkBefore << " dark pixels before, "
            << darkAfter << " after";
        EXPECT_GT(leftmost, after.Width() / 2) << "the change is not in a pane on the right";
        viewer.Activate();
        input::Key(lock.vk);
        EXPECT_TRUE(WaitUntil([&] { return CaptureWindow(viewer.StatusBar()).Pixels() == before.Pixels(); }, 3000))
            << "the pane does not return to its first look";
    }
}

TEST_F(MenusAndBars, HighlightedMenuItemsShowTheirPromptsInTheStatusBar) {
    std::wstring path = MakeFile(L"a.bin", LinesFile(4));
    Viewer& viewer = StartWith(path);
    ASSERT_TRUE(viewer.Main());
    ASSERT_TRUE(OpenPopup(L'h')) << "Alt+H opens no menu";
    EXPECT_TRUE(WaitUntil([&] { return viewer.StatusText() == L"Vyhled\u00e1 v souboru data"; }, 3000))
        << "status: " << Narrow(viewer.StatusText());
    input::Key(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return viewer.StatusText() == L"Najde dal\u0161\u00ed data v souboru"; }, 3000))
        << "status: " << Narrow(viewer.StatusText());
    Shot("find-next-highlighted");
    CloseMenus();
    EXPECT_TRUE(WaitUntil([&] { return viewer.StatusText() == L"P\u0159ipraven"; }, 3000))
        << "status: " << Narrow(viewer.StatusText());
}

TEST_F(MenusAndBars, FourPopupsOpenByTheirLettersWithTheirItems) {
    Viewer& viewer = Start();
    ASSERT_TRUE(viewer.Main());
    // The menus of another program cannot be read, only seen: each popup opens on its letter,
    // and its height follows its items (Soubor: three items and two separators; Hledat and
    // Zobrazit: two items; Napoveda: one).
    const wchar_t letters[] = {L's', L'h', L'z', L'n'};
    const char* names[] = {"menu-soubor", "menu-hledat", "menu-zobrazit", "menu-napoveda"};
    int heights[4] = {};
    for (int i = 0; i < 4; ++i) {
        HWND popup = OpenPopup(letters[i]);
        ASSERT_TRUE(popup) << "Alt+" << char(letters[i]) << " opens no menu";
        RECT r = ScreenRect(popup);
        heights[i] = r.bottom - r.top;
        Shot(names[i]);
        CloseMenus();
    }
    EXPECT_EQ(heights[1], heights[2]) << "Hledat and Zobrazit both hold two items";
    EXPECT_LT(heights[3], heights[1]) << "Napoveda holds one item";
    EXPECT_GT(heights[0], heights[1] + (heights[1] - heights[3])) << "Soubor holds three items and two separators";
}

TEST_F(MenusAndBars, ToolbarTooltips) {
    std::wstring path = MakeFile(L"a.bin", LinesFile(4));  // with a file, Find is enabled and drawn
    Viewer& viewer = StartWith(path);
    ASSERT_TRUE(viewer.Toolbar());
    ASSERT_TRUE(WaitUntil([&] { return (viewer.ToolbarState(ID_SEARCH_FIND) & TBSTATE_ENABLED) != 0; }, 3000));
    EXPECT_EQ(-1, viewer.ToolbarState(ID_SEARCH_FIND_NEXT)) << "Find Next has no button";
    const wchar_t* tips[] = {L"Otev\u0159\u00edt", L"Hledat", L"O programu"};
    for (int i = 0; i < 3; ++i) {
        POINT centre{};
        ASSERT_TRUE(FindButton(i, centre)) << "button " << i << " is not on the toolbar";
        std::wstring tip = TooltipAt(centre);
        EXPECT_EQ(tips[i], tip) << "button " << i;
        if (i == 1)
            Shot("tooltip-hledat");
    }
}

TEST_F(MenusAndBars, EachToolbarButtonRunsItsCommandWhenClicked) {
    std::wstring path = MakeFile(L"a.bin", LinesFile(4));  // with a file, Find is enabled
    Viewer& viewer = StartWith(path);
    ASSERT_TRUE(viewer.Toolbar());
    ASSERT_TRUE(WaitUntil([&] { return (viewer.ToolbarState(ID_SEARCH_FIND) & TBSTATE_ENABLED) != 0; }, 3000));
    // Open, Find and About each bring their own dialog.
    const wchar_t* dialogs[] = {L"Otev\u0159\u00edt", L"Hledat", L"O programu"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(Narrow(dialogs[i]));
        POINT centre{};
        ASSERT_TRUE(FindButton(i, centre)) << "button " << i << " is not on the toolbar";
        viewer.Activate();
        input::Click(centre);
        HWND dialog = viewer.WaitForWindow(dialogs[i], L"#32770", 10000);
        ASSERT_TRUE(dialog) << "the click on button " << i << " opens nothing";
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(viewer.Main()) != FALSE; }, 5000));
    }
    EXPECT_TRUE(viewer.NoMessageBoxFor(300));
}

TEST_F(MenusAndBars, ViewMenuHidesAndShowsEachBar) {
    Viewer& viewer = Start();
    HWND toolbar = viewer.Toolbar(), status = viewer.StatusBar(), view = viewer.View();
    ASSERT_TRUE(toolbar && status && view);
    ASSERT_TRUE(IsWindowVisible(toolbar) && IsWindowVisible(status));
    RECT withBars = ScreenRect(view);

    input::Menu(L'z', L'p');
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(toolbar); }, 3000)) << "Zobrazit > Panel nastroju";
    EXPECT_TRUE(WaitUntil([&] { return ScreenRect(view).top < withBars.top; }, 3000))
        << "the view takes the toolbar's place";
    input::Menu(L'z', L't');
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(status); }, 3000)) << "Zobrazit > Stavovy radek";
    EXPECT_TRUE(WaitUntil([&] { return ScreenRect(view).bottom > withBars.bottom; }, 3000));
    Shot("bars-hidden");

    input::Menu(L'z', L'p');
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(toolbar) != FALSE; }, 3000));
    input::Menu(L'z', L't');
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(status) != FALSE; }, 3000));
    EXPECT_TRUE(WaitUntil(
        [&] {
            RECT now = ScreenRect(view);
            return EqualRect(&withBars, &now) != FALSE;
        },
        3000))
        << "the bars come back where they were";
}

TEST_F(MenusAndBars, AboutIsModalWithCzechCaption) {
    Viewer& viewer = Start();
    input::Menu(L'n', L'r');
    HWND about = viewer.WaitForWindow(L"O programu", L"#32770", 5000);
    ASSERT_TRUE(about) << "Napoveda > O programu opens no About box";
    EXPECT_FALSE(IsWindowEnabled(viewer.Main())) << "the About box is modal";
    EXPECT_EQ(GetWindow(about, GW_OWNER), viewer.Main()) << "over the main window";
    bool named = false;
    for (HWND child : Children(about))
        named = named || TextOf(child) == L"Oktalon 1.0";
    EXPECT_TRUE(named) << "the About box names the program";
    Shot("about");
    SetForegroundWindow(about);
    input::Key(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 3000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(viewer.Main()) != FALSE; }, 3000));
}

TEST_F(MenusAndBars, ExitEndsTheProgram) {
    Viewer& viewer = Start();
    ASSERT_TRUE(viewer.Main());
    input::Menu(L's', L'k');
    EXPECT_TRUE(viewer.WaitForExit(5000)) << "Soubor > Konec";
    EXPECT_TRUE(viewer.TopLevelWindows().empty());
}

}  // namespace
}  // namespace e2e
