// The application shell with real windows: the main frame from the viewer's resources, its
// toolbar and status bar, command routing and enabling through real WM_COMMANDs, menus, the
// recent-file list across runs of the application, and opening files.

#include "app/MainFrame.h"
#include "framework/bars/StatusBar.h"
#include "framework/bars/ToolBar.h"
#include "framework/core/CommandLineInfo.h"
#include "framework/core/Path.h"
#include "framework/core/RegKey.h"
#include "framework/core/UniqueHandle.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/RecentFileList.h"
#include "framework/docview/WinApp.h"
#include "framework/window/CmdUI.h"
#include "res/resource.h"
#include "tests/win/CoreTestSupport.h"

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kTestRegistryRoot = L"Software\\OktalonTests";
constexpr const wchar_t* kTestRegistryKey = L"OktalonTests";
constexpr const wchar_t* kTestAppName = L"OktalonShellTest";

// Commands the tests route: each handled by the targets its name lists.
constexpr UINT ID_TEST_VIEW_AND_DOC = 40001;
constexpr UINT ID_TEST_DOC_AND_APP = 40002;
constexpr UINT ID_TEST_APP_ONLY = 40003;
constexpr UINT ID_TEST_NOBODY = 40004;

std::vector<std::string> g_log;  // who handled what, in order
bool g_bFindNextEnabled = true;  // what the document's update handler answers

class CShellTestDoc : public CDocument {
    DECLARE_DYNCREATE(CShellTestDoc)
public:
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override {
        ++m_nOpens;
        return CDocument::OnOpenDocument(lpszPathName);
    }
    int m_nOpens = 0;

protected:
    void OnViewAndDoc() { g_log.push_back("doc"); }
    void OnDocAndApp() { g_log.push_back("doc"); }
    void OnFindNext() { g_log.push_back("find next"); }
    void OnUpdateFindNext(CCmdUI* pCmdUI) { pCmdUI->Enable(g_bFindNextEnabled); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CShellTestDoc, CDocument)
BEGIN_MESSAGE_MAP(CShellTestDoc, CDocument)
    ON_COMMAND(ID_TEST_VIEW_AND_DOC, OnViewAndDoc)
    ON_COMMAND(ID_TEST_DOC_AND_APP, OnDocAndApp)
    ON_COMMAND(ID_SEARCH_FIND_NEXT, OnFindNext)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_FIND_NEXT, OnUpdateFindNext)
END_MESSAGE_MAP()

class CShellTestView : public CWhiteTestView {
    DECLARE_DYNCREATE(CShellTestView)
public:
    void OnInitialUpdate() override {
        ++m_nInitialUpdates;
        CWhiteTestView::OnInitialUpdate();
    }
    int m_nInitialUpdates = 0;

protected:
    void OnViewAndDoc() { g_log.push_back("view"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CShellTestView, CWhiteTestView)
BEGIN_MESSAGE_MAP(CShellTestView, CWhiteTestView)
    ON_COMMAND(ID_TEST_VIEW_AND_DOC, OnViewAndDoc)
END_MESSAGE_MAP()

class CShellTestApp : public CWinApp {
public:
    CShellTestApp() : CWinApp(kTestAppName) {
        SetRegistryKey(kTestRegistryKey);
        LoadStdProfileSettings(4);
        AddDocTemplate(std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CShellTestDoc),
                                                            RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CShellTestView)));
    }

    CSingleDocTemplate* Template() const { return static_cast<CSingleDocTemplate*>(GetFirstDocTemplate()); }
    CShellTestDoc* Doc() const { return static_cast<CShellTestDoc*>(Template()->GetDocument()); }
    CFrameWnd* Frame() const { return Template()->GetFrame(); }
    CShellTestView* View() const { return static_cast<CShellTestView*>(Frame()->GetActiveView()); }
    CToolBar* ToolBar() const { return static_cast<CToolBar*>(Frame()->GetControlBar(AFX_IDW_TOOLBAR)); }
    CStatusBar* StatusBar() const { return static_cast<CStatusBar*>(Frame()->GetMessageBar()); }

protected:
    void OnDocAndApp() { g_log.push_back("app"); }
    void OnAppOnly() { g_log.push_back("app"); }
    void OnStatusBarToo() { g_log.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CShellTestApp, CWinApp)
    ON_COMMAND(ID_TEST_DOC_AND_APP, OnDocAndApp)
    ON_COMMAND(ID_TEST_APP_ONLY, OnAppOnly)
    ON_COMMAND(ID_VIEW_STATUS_BAR, OnStatusBarToo)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

// The message the main window's end leaves for the message loop, which these tests do not run.
void DropQuitMessage() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        g_bFindNextEnabled = true;
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestRegistryRoot);
    }
    void TearDown() override {
        EndRun();
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestRegistryRoot);
    }

    // One run of the application: the object, its profile, and (with bNew) an empty document
    // in the main frame, shown.
    CShellTestApp& StartRun(bool bNew = true) {
        EndRun();
        m_app = std::make_unique<CShellTestApp>();
        if (bNew) {
            CCommandLineInfo info;
            EXPECT_TRUE(m_app->ProcessShellCommand(info));
            EXPECT_NE(m_app->Frame(), nullptr);
            PumpMessages(30);
        }
        return *m_app;
    }
    void EndRun() {
        if (m_app) {
            m_app->ExitInstance();
            m_app.reset();
        }
        DropQuitMessage();
    }

    LRESULT Command(UINT nID, WORD source = 0) {
        return m_app->Frame()->SendMessage(WM_COMMAND, MAKEWPARAM(nID, source), 0);
    }
    // The popup of the main menu at position, after the frame prepared it as for showing.
    HMENU OpenPopup(int position) {
        HMENU hPopup = GetSubMenu(GetMenu(m_app->Frame()->GetSafeHwnd()), position);
        m_app->Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(position, FALSE));
        return hPopup;
    }
    static int Position(HMENU hPopup, UINT nID) {
        for (int i = 0; i < GetMenuItemCount(hPopup); ++i)
            if (GetMenuItemID(hPopup, i) == nID)
                return i;
        return -1;
    }
    static UINT State(HMENU hPopup, UINT nID) { return GetMenuState(hPopup, nID, MF_BYCOMMAND); }
    static std::wstring ControlText(HWND hStatus, int part) {
        wchar_t text[256] = L"";
        const LRESULT info = SendMessageW(hStatus, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
        if (HIWORD(info) & SBT_OWNERDRAW)
            return L"(owner-drawn)";
        SendMessageW(hStatus, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The status bar's window text: the message the frame shows there.
    static std::wstring MessageText(CShellTestApp& app) {
        CString text;
        app.StatusBar()->GetWindowText(text);
        return text.str();
    }
    static CRect ChildRect(CWnd& parent, HWND hChild) {
        CRect rect;
        GetWindowRect(hChild, &rect);
        MapWindowPoints(nullptr, parent.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    std::unique_ptr<CShellTestApp> m_app;
};

TEST_F(ShellTest, TheFirstFrameShowsAsTheProgramWasStartedALaterOneNormally) {
    AfxSetStartupShowCommand(SW_SHOWMAXIMIZED);  // as a shortcut set to "maximized" starts it
    CShellTestApp& first = StartRun();
    EXPECT_TRUE(IsZoomed(first.Frame()->GetSafeHwnd()));
    CShellTestApp& second = StartRun();
    EXPECT_TRUE(second.Frame()->IsWindowVisible());
    EXPECT_FALSE(IsZoomed(second.Frame()->GetSafeHwnd())) << "the start-up show command is taken once";
}

TEST_F(ShellTest, FrameTakesMenuAccelIconAndTitleAndLaysOutBarsAndView) {
    CShellTestApp& app = StartRun();
    CFrameWnd* frame = app.Frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(AfxGetMainWnd(), frame);
    EXPECT_TRUE(frame->IsWindowVisible());
    CString title;
    frame->GetWindowText(title);
    EXPECT_EQ(title.str(), L"Oktalon 1.0 – © 2026 autoři projektu Oktalon") << "no file: the program's title alone";
    EXPECT_NE(GetMenu(frame->GetSafeHwnd()), nullptr);
    EXPECT_EQ(GetMenuItemCount(GetMenu(frame->GetSafeHwnd())), 4);
    EXPECT_NE(frame->GetAccelerators(), nullptr);
    EXPECT_NE(frame->SendMessage(WM_GETICON, ICON_SMALL), 0);

    // Toolbar at the top, status bar at the bottom, the view exactly in between.
    CRect client;
    frame->GetClientRect(&client);
    const CRect toolbar = ChildRect(*frame, app.ToolBar()->GetSafeHwnd());
    const CRect status = ChildRect(*frame, app.StatusBar()->GetSafeHwnd());
    const CRect view = ChildRect(*frame, app.View()->GetSafeHwnd());
    EXPECT_EQ(toolbar.top, 0);
    EXPECT_EQ(toolbar.Width(), client.Width());
    EXPECT_GT(toolbar.Height(), 22) << "a row of 22-pixel buttons and its margins";
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(view, CRect(0, toolbar.bottom, client.right, status.top));
    // The bars' window ids and the panes are the framework's fixed numbers.
    EXPECT_EQ(GetDlgCtrlID(app.ToolBar()->GetSafeHwnd()), 59392);
    EXPECT_EQ(GetDlgCtrlID(app.StatusBar()->GetSafeHwnd()), 59393);
    ASSERT_EQ(app.StatusBar()->GetCount(), 3);
    EXPECT_EQ((std::vector<UINT>{app.StatusBar()->GetItemID(0), app.StatusBar()->GetItemID(1),
                                 app.StatusBar()->GetItemID(2)}),
              (std::vector<UINT>{0, 59137, 59138}));

    // Resizing lays everything out again.
    frame->SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    frame->GetClientRect(&client);
    EXPECT_EQ(ChildRect(*frame, app.StatusBar()->GetSafeHwnd()).bottom, client.bottom);
    EXPECT_EQ(ChildRect(*frame, app.View()->GetSafeHwnd()).right, client.right);

    // The frame hands the keyboard to its view.
    frame->SetFocus();
    EXPECT_EQ(::GetFocus(), app.View()->GetSafeHwnd());
}

TEST_F(ShellTest, CommandsGoToTheViewThenTheDocumentThenTheFrameThenTheApplication) {
    StartRun();
    Command(ID_TEST_VIEW_AND_DOC);
    Command(ID_TEST_DOC_AND_APP);
    Command(ID_TEST_APP_ONLY);
    Command(ID_TEST_NOBODY);
    EXPECT_EQ(g_log, (std::vector<std::string>{"view", "doc", "app"}));

    // The frame serves the bars' commands before the application could.
    g_log.clear();
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(g_log.empty());
    EXPECT_FALSE(m_app->StatusBar()->IsVisible());
}

TEST_F(ShellTest, DisabledMenuAndAcceleratorCommandsAreDropped) {
    CShellTestApp& app = StartRun();
    g_bFindNextEnabled = false;
    Command(ID_SEARCH_FIND_NEXT, 1);  // as an accelerator sends it
    Command(ID_SEARCH_FIND_NEXT, 0);  // as a menu sends it
    EXPECT_TRUE(g_log.empty());
    g_bFindNextEnabled = true;
    Command(ID_SEARCH_FIND_NEXT, 1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"find next"}));

    // The real key, through the message loop's translation: F3 is Find Next.
    auto pressF3 = [&] {
        MSG msg = {};
        msg.hwnd = app.View()->GetSafeHwnd();
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_F3;
        msg.lParam = 1 | (MapVirtualKeyW(VK_F3, MAPVK_VK_TO_VSC) << 16);
        return app.PreTranslateMessage(&msg);
    };
    g_log.clear();
    EXPECT_TRUE(pressF3());
    EXPECT_EQ(g_log, (std::vector<std::string>{"find next"}));
    g_bFindNextEnabled = false;
    g_log.clear();
    pressF3();
    EXPECT_TRUE(g_log.empty()) << "F3 does nothing while Find Next is disabled";
}

TEST_F(ShellTest, MenusShowTheCommandStateWhenTheyOpen) {
    StartRun();
    g_bFindNextEnabled = false;
    HMENU search = OpenPopup(1);
    EXPECT_TRUE(State(search, ID_SEARCH_FIND_NEXT) & MF_GRAYED);
    EXPECT_TRUE(State(search, ID_SEARCH_FIND) & MF_GRAYED) << "no handler anywhere: not offered";
    g_bFindNextEnabled = true;
    search = OpenPopup(1);
    EXPECT_FALSE(State(search, ID_SEARCH_FIND_NEXT) & MF_GRAYED);

    HMENU file = OpenPopup(0);
    EXPECT_FALSE(State(file, ID_FILE_OPEN) & MF_GRAYED);
    EXPECT_FALSE(State(file, ID_APP_EXIT) & MF_GRAYED);
    EXPECT_TRUE(State(file, ID_FILE_MRU_FILE1) & MF_GRAYED) << "the empty list's placeholder";
}

TEST_F(ShellTest, ViewMenuHidesAndShowsEachBarKeepingItsCheckMark) {
    CShellTestApp& app = StartRun();
    CFrameWnd* frame = app.Frame();
    const int toolbarHeight = ChildRect(*frame, app.ToolBar()->GetSafeHwnd()).Height();
    HMENU view = OpenPopup(2);
    EXPECT_TRUE(State(view, ID_VIEW_TOOLBAR) & MF_CHECKED);
    EXPECT_TRUE(State(view, ID_VIEW_STATUS_BAR) & MF_CHECKED);

    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(app.ToolBar()->IsVisible());
    EXPECT_EQ(ChildRect(*frame, app.View()->GetSafeHwnd()).top, 0) << "the view takes the toolbar's place";
    view = OpenPopup(2);
    EXPECT_FALSE(State(view, ID_VIEW_TOOLBAR) & MF_CHECKED);
    EXPECT_TRUE(State(view, ID_VIEW_STATUS_BAR) & MF_CHECKED);

    Command(ID_VIEW_STATUS_BAR);
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(ChildRect(*frame, app.View()->GetSafeHwnd()).bottom, client.bottom);
    view = OpenPopup(2);
    EXPECT_FALSE(State(view, ID_VIEW_STATUS_BAR) & MF_CHECKED);

    Command(ID_VIEW_TOOLBAR);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(app.ToolBar()->IsVisible());
    EXPECT_EQ(ChildRect(*frame, app.ToolBar()->GetSafeHwnd()).top, 0) << "back at the top";
    EXPECT_EQ(ChildRect(*frame, app.View()->GetSafeHwnd()).top, toolbarHeight);
    view = OpenPopup(2);
    EXPECT_TRUE(State(view, ID_VIEW_TOOLBAR) & MF_CHECKED);
    EXPECT_TRUE(State(view, ID_VIEW_STATUS_BAR) & MF_CHECKED);
}

TEST_F(ShellTest, StatusBarShowsTheIdleTextAndTheHighlightedCommandsPrompt) {
    CShellTestApp& app = StartRun();
    CFrameWnd* frame = app.Frame();
    const HWND hStatus = app.StatusBar()->GetSafeHwnd();
    EXPECT_EQ(MessageText(app), L"Připraven");
    EXPECT_EQ(ControlText(hStatus, 0), L"Připraven");

    HMENU search = GetSubMenu(GetMenu(frame->GetSafeHwnd()), 1);
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_SEARCH_FIND_NEXT, MF_HILITE), reinterpret_cast<LPARAM>(search));
    EXPECT_EQ(ControlText(hStatus, 0), L"Najde další data v souboru");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_OPEN, MF_HILITE), reinterpret_cast<LPARAM>(search));
    EXPECT_EQ(ControlText(hStatus, 0), L"Otevře existující dokument") << "the prompt stops at the tooltip";
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(1, MF_POPUP | MF_HILITE),
                       reinterpret_cast<LPARAM>(GetMenu(frame->GetSafeHwnd())));
    EXPECT_EQ(ControlText(hStatus, 0), L"");
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(ControlText(hStatus, 0), L"Připraven") << "the menu closed";
}

TEST_F(ShellTest, LockIndicatorsAreLitOnlyWhileTheirLockIsOn) {
    CShellTestApp& app = StartRun();
    CStatusBar* status = app.StatusBar();
    ASSERT_EQ(status->GetCount(), 3);
    EXPECT_EQ(status->GetItemID(1), static_cast<UINT>(ID_INDICATOR_CAPS));
    EXPECT_EQ(status->GetPaneText(1).str(), L"ABC");
    EXPECT_EQ(status->GetPaneText(2).str(), L"123");

    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE keys[256];
    std::memcpy(keys, saved, sizeof(keys));
    // Caps Lock on and Num Lock off, then the other way round: the lit pane shows its text, the
    // other is drawn dimmed by the bar itself.
    for (const bool capsOn : {true, false}) {
        SCOPED_TRACE(capsOn ? "Caps Lock on" : "Num Lock on");
        keys[VK_CAPITAL] = capsOn ? 0x01 : 0x00;
        keys[VK_NUMLOCK] = capsOn ? 0x00 : 0x01;
        SetKeyboardState(keys);
        app.OnIdle(0);
        EXPECT_EQ(status->IsPaneLit(1), capsOn);
        EXPECT_EQ(status->IsPaneLit(2), !capsOn);
        EXPECT_EQ(ControlText(status->GetSafeHwnd(), capsOn ? 1 : 2), capsOn ? L"ABC" : L"123");
        if (capsOn) {
            EXPECT_EQ(ControlText(status->GetSafeHwnd(), 2), L"(owner-drawn)") << "drawn dimmed";
        }
    }
    SetKeyboardState(saved);
}

TEST_F(ShellTest, ToolbarHasRaisedButtonsAGripperTooltipsAndFlyByPrompts) {
    CShellTestApp& app = StartRun();
    CToolBar* toolbar = app.ToolBar();
    ASSERT_EQ(toolbar->GetCount(), 4);
    EXPECT_EQ(toolbar->GetItemID(0), static_cast<UINT>(ID_FILE_OPEN));
    EXPECT_EQ(toolbar->GetItemID(1), static_cast<UINT>(ID_SEARCH_FIND));
    EXPECT_EQ(toolbar->GetItemID(2), static_cast<UINT>(ID_SEPARATOR));
    EXPECT_EQ(toolbar->GetItemID(3), static_cast<UINT>(ID_APP_ABOUT));
    const DWORD style = toolbar->GetStyle();
    EXPECT_EQ(style & TBSTYLE_FLAT, 0u);
    EXPECT_NE(style & TBSTYLE_TOOLTIPS, 0u);
    EXPECT_EQ(style & WS_DLGFRAME, 0u) << "the gripper bit is the bar's, not the window's";
    EXPECT_EQ(toolbar->GetBarStyle() & (CBRS_GRIPPER | CBRS_FLYBY | CBRS_TOOLTIPS),
              CBRS_GRIPPER | CBRS_FLYBY | CBRS_TOOLTIPS);
    CRect window;
    toolbar->GetWindowRect(&window);
    POINT clientOrigin = {0, 0};
    toolbar->ClientToScreen(&clientOrigin);
    EXPECT_GE(clientOrigin.x - window.left, 6) << "room for the gripper";

    // Tooltips: asked of the frame, as the toolbar's tooltip control asks.
    auto tipOf = [&](UINT nID) {
        NMTTDISPINFOW info = {};
        info.hdr.hwndFrom = toolbar->GetToolTips();
        info.hdr.idFrom = nID;
        info.hdr.code = TTN_GETDISPINFOW;
        app.Frame()->SendMessage(WM_NOTIFY, nID, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText != nullptr ? info.lpszText : info.szText);
    };
    EXPECT_EQ(tipOf(ID_FILE_OPEN), L"Otevřít");
    EXPECT_EQ(tipOf(ID_SEARCH_FIND), L"Hledat");
    EXPECT_EQ(tipOf(ID_APP_ABOUT), L"O programu");
    EXPECT_EQ(tipOf(ID_SEARCH_FIND_NEXT), L"") << "its string has no tooltip part";

    // ... and through the tooltip control itself.
    const HWND hTips = toolbar->GetToolTips();
    ASSERT_NE(hTips, nullptr);
    wchar_t buffer[80] = L"";
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = toolbar->GetSafeHwnd();
    tool.uId = ID_APP_ABOUT;
    tool.lpszText = buffer;
    SendMessageW(hTips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(buffer, L"O programu");

    // The prompt of the button under the mouse, the idle text when it leaves.
    auto moveOver = [&](int index) {
        CRect item;
        toolbar->GetItemRect(index, &item);
        toolbar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y));
    };
    moveOver(1);
    EXPECT_EQ(MessageText(app), L"Vyhledá v souboru data");
    moveOver(0);
    EXPECT_EQ(MessageText(app), L"Otevře existující dokument");
    moveOver(2);
    EXPECT_EQ(MessageText(app), L"Připraven") << "over the gap";
    moveOver(3);
    toolbar->SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(MessageText(app), L"Připraven");
}

TEST_F(ShellTest, IdleUpdatesEnableToolbarButtonsAndTheTitleFollowsTheDocument) {
    CShellTestApp& app = StartRun();
    CToolBar* toolbar = app.ToolBar();
    // This test application handles File Open only: the other buttons go gray.
    app.OnIdle(0);
    EXPECT_NE(toolbar->SendMessage(TB_ISBUTTONENABLED, ID_FILE_OPEN), 0);
    EXPECT_EQ(toolbar->SendMessage(TB_ISBUTTONENABLED, ID_SEARCH_FIND), 0);
    EXPECT_EQ(toolbar->SendMessage(TB_ISBUTTONENABLED, ID_APP_ABOUT), 0);

    TempFile file("0123456789abcdef", L"okt-title");
    ASSERT_NE(app.OpenDocumentFile(file.c_str()), nullptr);
    app.OnIdle(0);
    CString title;
    app.Frame()->GetWindowText(title);
    const std::wstring name = file.path().substr(file.path().find_last_of(L'\\') + 1);
    EXPECT_EQ(title.str(), name + L" - Oktalon 1.0 – © 2026 autoři projektu Oktalon");
}

TEST_F(ShellTest, RecentFilesKeepTheFourNewestAcrossRunsAndLoseVanishedOnes) {
    std::vector<std::unique_ptr<TempFile>> files;
    for (int i = 0; i < 5; ++i)
        files.push_back(std::make_unique<TempFile>(std::string(40, static_cast<char>('a' + i)), L"okt-mru"));
    std::vector<std::wstring> paths;
    for (const auto& file : files)
        paths.push_back(FullPath(file->c_str()).str());
    auto full = [&](int i) { return paths[static_cast<size_t>(i)]; };

    {
        CShellTestApp& app = StartRun();
        for (int i = 0; i < 5; ++i)
            ASSERT_NE(app.OpenDocumentFile(files[static_cast<size_t>(i)]->c_str()), nullptr);
        HMENU file = OpenPopup(0);
        EXPECT_EQ(Position(file, ID_FILE_MRU_FILE1), 2);
        EXPECT_EQ(Position(file, ID_FILE_MRU_FILE4), 5);
        EXPECT_EQ(Position(file, ID_FILE_MRU_FILE5), -1);
        EXPECT_FALSE(State(file, ID_FILE_MRU_FILE1) & MF_GRAYED);
        wchar_t text[512] = L"";
        GetMenuStringW(file, ID_FILE_MRU_FILE1, text, 512, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring(text).rfind(L"&1 ", 0), 0u);
        EXPECT_NE(std::wstring(text).find(full(4).substr(full(4).find_last_of(L'\\') + 1)), std::wstring::npos);
    }
    EndRun();

    // The second run finds the same four, newest first.
    CShellTestApp& second = StartRun();
    CRecentFileList* list = second.GetRecentFileList();
    ASSERT_EQ(list->GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((*list)[i].str(), full(4 - i));

    // Choosing an entry whose file has gone: the document's message, and the entry leaves.
    files[2].reset();
    {
        MessageBoxWatcher boxes;
        Command(ID_FILE_MRU_FILE3);
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_NE(boxes.Seen()[0].text.find(full(2).substr(full(2).find_last_of(L'\\') + 1)), std::wstring::npos);
    }
    ASSERT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->Find(full(2).c_str()), -1);

    // One that exists but cannot be opened now (held exclusively elsewhere) stays.
    {
        UniqueHandle holder(CreateFileW(full(1).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        MessageBoxWatcher boxes;
        Command(ID_FILE_MRU_FILE3);
        EXPECT_EQ(boxes.Seen().size(), 1u);
    }
    EXPECT_EQ(list->GetCount(), 3);
    EndRun();

    CShellTestApp& third = StartRun(false);
    EXPECT_EQ(third.GetRecentFileList()->GetCount(), 3);
    EXPECT_EQ((*third.GetRecentFileList())[0].str(), full(4));
}

TEST_F(ShellTest, ADamagedRecentFileListOffersOnlyFileNamesAndAFolderLeavesItWhenChosen) {
    const std::wstring folder = UniqueTempPath(L"okt-folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    TempFile file("0123456789", L"okt-damaged");
    {
        CRegKey section =
            CRegKey::Create(HKEY_CURRENT_USER,
                            (std::wstring(kTestRegistryRoot) + L"\\" + kTestAppName + L"\\Recent File List").c_str());
        section.SetString(L"File1", folder.c_str());
        section.SetString(L"File2", L"CON");
        section.SetString(L"File3", (L"C:\\" + std::wstring(40000, L'x')).c_str());
        section.SetString(L"File4", file.c_str());
    }
    CShellTestApp& app = StartRun();
    HMENU menu = OpenPopup(0);
    EXPECT_EQ(Position(menu, ID_FILE_MRU_FILE1), 2);
    EXPECT_EQ(Position(menu, ID_FILE_MRU_FILE2), 3);
    EXPECT_EQ(Position(menu, ID_FILE_MRU_FILE3), -1) << "the device and the overlong name are left out";

    // The folder fails with the usual message, and leaves the list: it can never open.
    {
        MessageBoxWatcher boxes;
        Command(ID_FILE_MRU_FILE1);
        ASSERT_EQ(boxes.Seen().size(), 1u);
        EXPECT_NE(boxes.Seen()[0].text.find(folder.substr(folder.find_last_of(L'\\') + 1)), std::wstring::npos);
        EXPECT_EQ(boxes.Seen()[0].icon, L"exclamation");
    }
    ASSERT_EQ(app.GetRecentFileList()->GetCount(), 1);
    EXPECT_TRUE(SameFullPath(FullPath((*app.GetRecentFileList())[0]), FullPath(file.c_str())));
    const CRegKey section = CRegKey::Open(
        HKEY_CURRENT_USER, (std::wstring(kTestRegistryRoot) + L"\\" + kTestAppName + L"\\Recent File List").c_str());
    CString value;
    EXPECT_TRUE(section.QueryString(L"File1", value));
    EXPECT_TRUE(SameFullPath(FullPath(value), FullPath(file.c_str())));
    for (const wchar_t* gone : {L"File2", L"File3", L"File4"})
        EXPECT_FALSE(section.QueryString(gone, value)) << gone;
    EndRun();
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "the folder is still held";
}

TEST_F(ShellTest, OpeningTheFileAlreadyShownOnlyActivatesTheWindow) {
    CShellTestApp& app = StartRun();
    TempFile file(std::string(100, 'x'), L"okt-same");
    CDocument* doc = app.OpenDocumentFile(file.c_str());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(app.Doc()->m_nOpens, 1);
    const int updates = app.View()->m_nInitialUpdates;

    // Another spelling of the same path: upper case, and a detour through "..".
    std::wstring other = file.path();
    const size_t slash = other.find_last_of(L'\\');
    other = other.substr(0, slash) + L"\\sub\\..\\" + other.substr(slash + 1);
    CharUpperW(other.data());
    EXPECT_EQ(app.OpenDocumentFile(other.c_str()), doc);
    EXPECT_EQ(app.Doc()->m_nOpens, 1) << "nothing was opened again";
    EXPECT_EQ(app.View()->m_nInitialUpdates, updates);

    TempFile second(std::string(100, 'y'), L"okt-same");
    EXPECT_EQ(app.OpenDocumentFile(second.c_str()), doc) << "one document, reused";
    EXPECT_EQ(app.Doc()->m_nOpens, 2);
    EXPECT_EQ(app.View()->m_nInitialUpdates, updates + 1);
}

TEST_F(ShellTest, FileOpenAsksWithTheCommonDialogOfferingAllFiles) {
    CShellTestApp& app = StartRun();
    TempFile file(std::string(32, 'z'), L"okt-dialog");
    std::wstring filter;
    const HWND hMain = app.Frame()->GetSafeHwnd();
    HWND owner = nullptr;
    WhenWindowAppears chooser(L"Otevřít", [&](HWND hDialog) {
        owner = GetWindow(hDialog, GW_OWNER);
        wchar_t text[256] = L"";
        GetDlgItemTextW(hDialog, cmb1, text, 256);
        filter = text;
        // The name box: a plain edit, or the combo box of newer dialogs.
        if (!SetDlgItemTextW(hDialog, edt1, file.c_str()))
            SetDlgItemTextW(hDialog, cmb13, file.c_str());
        PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(chooser.Appeared());
    EXPECT_EQ(owner, hMain);
    EXPECT_EQ(filter, L"Všechny soubory (*.*)");
    ASSERT_NE(app.Doc(), nullptr);
    EXPECT_TRUE(SameFullPath(FullPath(app.Doc()->GetPathName()), FullPath(file.c_str())));
    EXPECT_EQ(app.Doc()->m_nOpens, 1);
}

TEST_F(ShellTest, ARelativeNameIsMadeFullForTheDocumentAndTheRecentFileList) {
    CShellTestApp& app = StartRun();
    TempFile file(std::string(20, 'r'), L"okt-relative");
    const std::wstring name = file.path().substr(file.path().find_last_of(L'\\') + 1);
    ASSERT_TRUE(SetCurrentDirectoryW(TempFolder().c_str()));
    ASSERT_NE(app.OpenDocumentFile((L"sub\\..\\" + name).c_str()), nullptr);
    EXPECT_EQ(app.Doc()->GetPathName().str(), FullPath(file.c_str()).str());
    EXPECT_EQ(app.Doc()->GetTitle().str(), name);
    EXPECT_EQ((*app.GetRecentFileList())[0].str(), FullPath(file.c_str()).str());
}

// A file whose full name is past MAX_PATH, with blanks and Czech letters in it.
class LongNameShellTest : public ShellTest {
protected:
    LongFolder m_folder{300};
    TempFile m_file = TempFile::At(m_folder.path() + L"\\dlouhý název souboru.bin", Letters(40));
    const std::wstring m_plain = m_file.path();
    const std::wstring m_ending = L"\\dlouhý název souboru.bin";

    // Every name of the file that the open handed the system is its "\\?\" form; the document,
    // the title, the recent-file list and the stored list show the plain one.
    void ExpectOpenedThroughTheLongPathForm(const SystemFileNameRecorder& recorder) {
        const std::vector<std::wstring> handed = recorder.NamesEndingIn(m_ending);
        EXPECT_FALSE(handed.empty()) << "the file was not opened";
        for (const std::wstring& name : handed)
            EXPECT_EQ(name, L"\\\\?\\" + m_plain);
        ASSERT_NE(m_app->Doc(), nullptr);
        EXPECT_EQ(m_app->Doc()->GetPathName().str(), m_plain);
        m_app->OnIdle(0);
        CString title;
        m_app->Frame()->GetWindowText(title);
        EXPECT_EQ(title.str(), L"dlouhý název souboru.bin - Oktalon 1.0 – © 2026 autoři projektu Oktalon");
        ASSERT_GE(m_app->GetRecentFileList()->GetCount(), 1);
        EXPECT_EQ((*m_app->GetRecentFileList())[0].str(), m_plain);
        const CRegKey section =
            CRegKey::Open(HKEY_CURRENT_USER,
                          (std::wstring(kTestRegistryRoot) + L"\\" + kTestAppName + L"\\Recent File List").c_str());
        CString stored;
        EXPECT_TRUE(section.QueryString(L"File1", stored));
        EXPECT_EQ(stored.str(), m_plain);
    }
};

TEST_F(LongNameShellTest, OpensFromTheCommandLineAndTheRecentFileList) {
    {
        // The command line, as the shell's context-menu entry also starts the program.
        CShellTestApp& app = StartRun(false);
        SystemFileNameRecorder recorder;
        CCommandLineInfo info;
        info.ParseCommandLineText((L"oktalon.exe \"" + m_plain + L"\"").c_str());
        ASSERT_TRUE(app.ProcessShellCommand(info));
        ExpectOpenedThroughTheLongPathForm(recorder);
    }
    EndRun();
    CShellTestApp& app = StartRun();
    ASSERT_EQ(app.GetRecentFileList()->GetCount(), 1);
    SystemFileNameRecorder recorder;
    Command(ID_FILE_MRU_FILE1);
    ExpectOpenedThroughTheLongPathForm(recorder);
}

TEST_F(LongNameShellTest, AnEntryWhoseFileHasGoneIsLookedUpByItsLongPathFormAndLeaves) {
    CShellTestApp& app = StartRun();
    app.AddToRecentFileList(m_plain.c_str());
    ASSERT_TRUE(m_file.Delete());
    SystemFileNameRecorder recorder;
    {
        MessageBoxWatcher boxes;
        Command(ID_FILE_MRU_FILE1);
        EXPECT_EQ(boxes.Seen().size(), 1u);
    }
    const std::vector<std::wstring> handed = recorder.NamesEndingIn(m_ending);
    EXPECT_FALSE(handed.empty());
    for (const std::wstring& name : handed)
        EXPECT_EQ(name, L"\\\\?\\" + m_plain);
    EXPECT_EQ(app.GetRecentFileList()->GetCount(), 0) << "a file that has gone leaves the list";
}

}  // namespace
