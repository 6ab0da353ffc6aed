// Message maps, typed message unpacking, Default(), command routing and command-UI state, and
// the exception net of the dispatcher, with real windows and real messages.

#include "framework/core/Exception.h"
#include "framework/core/FrameworkIds.h"
#include "framework/docview/View.h"
#include "framework/window/CmdUI.h"
#include "framework/window/Dialog.h"
#include "framework/window/Wnd.h"
#include "tests/win/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr UINT ID_TEST_FIRST = 40001;
constexpr UINT ID_TEST_SECOND = 40002;
constexpr UINT ID_TEST_RANGE_LOW = 40010;
constexpr UINT ID_TEST_RANGE_HIGH = 40019;
constexpr UINT ID_TEST_THROW_FILE = 40030;
constexpr UINT ID_TEST_THROW_MEMORY = 40031;
constexpr UINT ID_TEST_DESTROY = 40032;
constexpr UINT IDC_TEST_BUTTON = 1200;

// ---- A base window and a derived one, both logging what reaches them -------------------------

class CLogWnd : public CWnd {
public:
    std::vector<std::string> log;

    afx_msg void OnSize(UINT nType, int cx, int cy) {
        log.push_back("base size " + std::to_string(nType) + " " + std::to_string(cx) + "x" + std::to_string(cy));
        Default();
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { log.push_back("base timer " + std::to_string(nIDEvent)); }
    afx_msg void OnFirst() { log.push_back("base first"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLogWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_COMMAND(ID_TEST_FIRST, OnFirst)
END_MESSAGE_MAP()

class CDerivedLogWnd : public CLogWnd {
public:
    bool chainToBase = false;
    bool callDefaultOnSetText = true;
    CPoint lastClick{1000, 1000};
    UINT lastClickFlags = 0;
    short lastWheelDelta = 0;
    UINT lastWheelFlags = 0;
    CPoint lastWheelPoint;
    UINT lastScrollCode = 99, lastScrollPos = 0;
    CScrollBar* lastScrollBar = reinterpret_cast<CScrollBar*>(1);
    HDC lastEraseDC = nullptr;
    LPVOID createParam = nullptr;
    int destroyed = 0;
    int postNcDestroyed = 0;
    int nestedLength = -1;
    int rangeHits = 0;
    UINT lastRangeId = 0;
    bool firstEnabled = true;
    int throwOnCreate = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        if (throwOnCreate)
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, L"create.bin");
        createParam = lpcs->lpCreateParams;
        return CLogWnd::OnCreate(lpcs);
    }
    afx_msg void OnDestroy() {
        ++destroyed;
        CLogWnd::OnDestroy();
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        log.push_back("derived size");
        if (chainToBase)
            CLogWnd::OnSize(nType, cx, cy);
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point) {
        lastClickFlags = nFlags;
        lastClick = point;
    }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
        lastWheelFlags = nFlags;
        lastWheelDelta = zDelta;
        lastWheelPoint = pt;
        return TRUE;
    }
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
        lastScrollCode = nSBCode;
        lastScrollPos = nPos;
        lastScrollBar = pScrollBar;
        CLogWnd::OnVScroll(nSBCode, nPos, pScrollBar);
    }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        lastEraseDC = pDC->GetSafeHdc();
        return TRUE;
    }
    afx_msg LRESULT OnSetText(WPARAM, LPARAM) {
        // A message sent meanwhile must not change what Default() hands on.
        nestedLength = static_cast<int>(SendMessage(WM_GETTEXTLENGTH));
        return callDefaultOnSetText ? Default() : TRUE;
    }
    afx_msg void OnSecond() { log.push_back("derived second"); }
    afx_msg void OnRange(UINT nID) {
        ++rangeHits;
        lastRangeId = nID;
    }
    afx_msg void OnUpdateFirst(CCmdUI* pCmdUI) { pCmdUI->Enable(firstEnabled); }
    afx_msg void OnButton() { log.push_back("button clicked"); }
    afx_msg void OnThrowFile() { CFileException::ThrowOsError(ERROR_SHARING_VIOLATION, L"C:\\data\\locked.bin"); }
    afx_msg void OnThrowMemory() { throw std::bad_alloc(); }
    afx_msg void OnDestroyMe() {
        DestroyWindow();
        // The window is gone and so is the binding; the object is still ours.
        log.push_back(m_hWnd == nullptr ? "destroyed inside" : "still bound");
    }
    void PostNcDestroy() override { ++postNcDestroyed; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedLogWnd, CLogWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_VSCROLL()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_COMMAND(ID_TEST_SECOND, OnSecond)
    ON_COMMAND_RANGE(ID_TEST_RANGE_LOW, ID_TEST_RANGE_HIGH, OnRange)
    ON_UPDATE_COMMAND_UI(ID_TEST_FIRST, OnUpdateFirst)
    ON_BN_CLICKED(IDC_TEST_BUTTON, OnButton)
    ON_COMMAND(ID_TEST_THROW_FILE, OnThrowFile)
    ON_COMMAND(ID_TEST_THROW_MEMORY, OnThrowMemory)
    ON_COMMAND(ID_TEST_DESTROY, OnDestroyMe)
END_MESSAGE_MAP()

LRESULT Command(CWnd& wnd, UINT id) {
    return wnd.SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

}  // namespace

TEST(MessageMapTest, MostDerivedEntryWinsAndChainsToBaseOnRequest) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));
    wnd.log.clear();

    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"derived size"})) << "only the derived entry runs";

    wnd.log.clear();
    wnd.chainToBase = true;
    wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"derived size", "base size 2 640x480"}));

    // A message only the base class maps is found through the chain.
    wnd.log.clear();
    wnd.SendMessage(WM_TIMER, 77, 0);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"base timer 77"}));

    // And a command the base maps, as well as one the derived class maps.
    wnd.log.clear();
    EXPECT_EQ(Command(wnd, ID_TEST_FIRST), 1);
    EXPECT_EQ(Command(wnd, ID_TEST_SECOND), 1);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"base first", "derived second"}));
    EXPECT_EQ(Command(wnd, 40999), 0) << "an unmapped command is not handled";
}

TEST(MessageMapTest, HandlersGetTypedSignedArguments) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));

    // Coordinates left of and above the client area arrive negative, not as 65531.
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, -7));
    EXPECT_EQ(wnd.lastClick, CPoint(-5, -7));
    EXPECT_EQ(wnd.lastClickFlags, static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
    wnd.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(300, 32000));
    EXPECT_EQ(wnd.lastClick, CPoint(300, 32000));

    // Wheel towards the user: a negative delta; key flags apart; screen point signed.
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-120)), MAKELPARAM(-1200, 15));
    EXPECT_EQ(wnd.lastWheelDelta, -120);
    EXPECT_EQ(wnd.lastWheelFlags, static_cast<UINT>(MK_CONTROL));
    EXPECT_EQ(wnd.lastWheelPoint, CPoint(-1200, 15));
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(wnd.lastWheelDelta, 240);

    // The scroll position word is unsigned, and the window's own bar comes as no control.
    wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0x8001), 0);
    EXPECT_EQ(wnd.lastScrollCode, static_cast<UINT>(SB_THUMBTRACK));
    EXPECT_EQ(wnd.lastScrollPos, 0x8001u);
    EXPECT_EQ(wnd.lastScrollBar, nullptr);

    // A scroll-bar control comes as a wrapper of that control.
    HWND hBar =
        CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 10, 50, wnd.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(hBar, nullptr);
    wnd.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(hBar));
    ASSERT_NE(wnd.lastScrollBar, nullptr);
    EXPECT_EQ(wnd.lastScrollBar->m_hWnd, hBar);

    // The erase handler gets the message's device context.
    HDC hDC = GetDC(wnd.m_hWnd);
    EXPECT_EQ(wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hDC)), TRUE);
    EXPECT_EQ(wnd.lastEraseDC, hDC);
    ReleaseDC(wnd.m_hWnd, hDC);
}

namespace {
// Records what the typed entries of the frame's and the bars' messages hand their handlers, and
// answers with values of its own, so that the results can be seen to come back.
class CUnpackSpy : public CWnd {
public:
    std::vector<std::string> log;
    CWnd* lastOther = reinterpret_cast<CWnd*>(1);
    const RECT* lastSuggested = nullptr;
    NCCALCSIZE_PARAMS* lastCalc = nullptr;
    LPDRAWITEMSTRUCT lastDrawItem = nullptr;
    HMENU lastMenu = nullptr;
    int lastMaxChars = 0;

    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
        lastOther = pWndOther;
        log.push_back("activate " + std::to_string(nState) + " " + std::to_string(bMinimized));
    }
    afx_msg void OnEnable(BOOL bEnable) { log.push_back("enable " + std::to_string(bEnable)); }
    afx_msg LRESULT OnNcHitTest(CPoint point) {
        log.push_back("hit " + std::to_string(point.x) + " " + std::to_string(point.y));
        return HTCAPTION;
    }
    afx_msg LRESULT OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
        lastCalc = lpncsp;
        log.push_back("calc " + std::to_string(bCalcValidRects));
        return WVR_REDRAW;
    }
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point) {
        log.push_back("nc down " + std::to_string(nHitTest) + " " + std::to_string(point.x) + " " +
                      std::to_string(point.y));
    }
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
        lastOther = pDesktopWnd;
        log.push_back("mouse activate " + std::to_string(nHitTest) + " " + std::to_string(message));
        return MA_NOACTIVATE;
    }
    afx_msg void OnMouseMove(UINT nFlags, CPoint point) {
        log.push_back("move " + std::to_string(nFlags) + " " + std::to_string(point.x) + " " + std::to_string(point.y));
    }
    afx_msg void OnMouseLeave() { log.push_back("leave"); }
    afx_msg BOOL OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
        lastDrawItem = lpDrawItemStruct;
        log.push_back("draw " + std::to_string(nIDCtl));
        return TRUE;
    }
    afx_msg void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu) {
        lastMenu = hPopupMenu;
        log.push_back("popup " + std::to_string(nIndex) + " " + std::to_string(bSysMenu));
    }
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
        lastMenu = hSysMenu;
        log.push_back("select " + std::to_string(nItemID) + " " + std::to_string(nFlags));
    }
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu) { log.push_back("exit " + std::to_string(bIsTrackPopupMenu)); }
    afx_msg void OnDpiChanged(UINT dpi, const RECT* pSuggested) {
        lastSuggested = pSuggested;
        log.push_back("dpi " + std::to_string(dpi));
    }
    afx_msg int OnGetText(int nMaxChars, LPWSTR lpszText) {
        lastMaxChars = nMaxChars;
        if (nMaxChars >= 3)
            wcscpy(lpszText, L"ab");
        return 2;
    }
    afx_msg int OnGetTextLength() { return 42; }

    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CUnpackSpy, CWnd)
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_NCHITTEST()
    ON_WM_NCCALCSIZE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEACTIVATE()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_DRAWITEM()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_EXITMENULOOP()
    ON_WM_DPICHANGED()
    ON_WM_GETTEXT()
    ON_WM_GETTEXTLENGTH()
END_MESSAGE_MAP()
}  // namespace

TEST(MessageMapTest, FrameAndBarMessagesArriveUnpackedAndTheirResultsReturn) {
    CUnpackSpy spy;
    ASSERT_TRUE(CreateTestWindow(spy));
    CWnd other;
    ASSERT_TRUE(CreateTestWindow(other));
    spy.log.clear();

    spy.SendMessage(WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), reinterpret_cast<LPARAM>(other.m_hWnd));
    EXPECT_EQ(spy.lastOther, &other) << "the other window as its object";
    spy.SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(spy.lastOther, nullptr);
    spy.SendMessage(WM_ENABLE, FALSE);
    // Screen points left of and above the primary monitor arrive negative.
    EXPECT_EQ(spy.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(-30, -2)), HTCAPTION);
    spy.SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(-4, 900));
    EXPECT_EQ(
        spy.SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(other.m_hWnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
        MA_NOACTIVATE);
    EXPECT_EQ(spy.lastOther, &other);
    spy.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-1, 7));
    spy.SendMessage(WM_MOUSELEAVE);

    NCCALCSIZE_PARAMS calc{};
    EXPECT_EQ(spy.SendMessage(WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&calc)), WVR_REDRAW);
    EXPECT_EQ(spy.lastCalc, &calc);
    DRAWITEMSTRUCT draw{};
    EXPECT_EQ(spy.SendMessage(WM_DRAWITEM, 1234, reinterpret_cast<LPARAM>(&draw)), TRUE);
    EXPECT_EQ(spy.lastDrawItem, &draw);

    HMENU menu = CreatePopupMenu();
    spy.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(3, TRUE));
    EXPECT_EQ(spy.lastMenu, menu);
    spy.SendMessage(WM_MENUSELECT, MAKEWPARAM(40001, MF_HILITE | MF_POPUP), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(spy.lastMenu, menu);
    spy.SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(spy.lastMenu, nullptr) << "the menu closed";
    DestroyMenu(menu);
    spy.SendMessage(WM_EXITMENULOOP, TRUE);

    const RECT suggested{10, 20, 300, 400};
    spy.SendMessage(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(spy.lastSuggested, &suggested);
    spy.SendMessage(WM_DPICHANGED, MAKEWPARAM(120, 120), 0);
    EXPECT_EQ(spy.lastSuggested, nullptr) << "passed on without a rectangle";

    EXPECT_EQ(
        (std::vector<std::string>{"activate 2 1", "activate 0 0", "enable 0", "hit -30 -2", "nc down 2 -4 900",
                                  "mouse activate 1 513", "move 1 -1 7", "leave", "calc 1", "draw 1234", "popup 3 1",
                                  "select 40001 144", "select 0 65535", "exit 1", "dpi 144", "dpi 120"}),
        spy.log);

    wchar_t text[8] = L"";
    EXPECT_EQ(spy.SendMessage(WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text)), 2);
    EXPECT_EQ(spy.lastMaxChars, 8);
    EXPECT_STREQ(text, L"ab");
    spy.SendMessage(WM_GETTEXT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    EXPECT_GT(spy.lastMaxChars, 0) << "a size past INT_MAX counts as INT_MAX, never as negative";
    EXPECT_EQ(spy.SendMessage(WM_GETTEXTLENGTH), 42);
}

TEST(MessageMapTest, CreationParameterReachesOnCreate) {
    int marker = 0;
    CDerivedLogWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"p", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, &marker));
    EXPECT_EQ(wnd.createParam, &marker);
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, L"again", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr))
        << "one window per object";
}

TEST(DefaultTest, DefaultHandsTheCurrentMessageToDefWindowProc) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));

    wnd.SetWindowText(L"abc");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, L"abc") << "Default() let the system store the text";
    EXPECT_EQ(wnd.nestedLength, 12) << "the nested message saw the old text ('Oktalon test')";

    wnd.callDefaultOnSetText = false;
    wnd.SetWindowText(L"xyz");
    wnd.GetWindowText(text);
    EXPECT_EQ(text, L"abc") << "without Default() the system never saw the message";

    // Outside any message, Default() has nothing to hand on.
    EXPECT_EQ(wnd.Default(), 0);
}

namespace {
class CButtonSpy : public CWnd {
public:
    int setTexts = 0;
    afx_msg LRESULT OnSetText(WPARAM, LPARAM) {
        ++setTexts;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CButtonSpy, CWnd)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()
}  // namespace

TEST(DefaultTest, ControlMadeThroughCreateExIsRoutedThroughTheMaps) {
    CDerivedLogWnd parent;
    ASSERT_TRUE(CreateTestWindow(parent));
    CButtonSpy button;
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"first", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 90, 30,
                                parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_TEST_BUTTON))));
    button.SetWindowText(L"second");
    EXPECT_EQ(button.setTexts, 1);
    CString text;
    button.GetWindowText(text);
    EXPECT_EQ(text, L"second") << "the button's own procedure got the message";

    // Its click notification reaches the parent's ON_BN_CLICKED entry.
    parent.log.clear();
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(parent.log, (std::vector<std::string>{"button clicked"}));

    // When the control goes, it is unbound and its procedure restored.
    const HWND hButton = button.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hButton), &button);
    ASSERT_TRUE(button.DestroyWindow());
    EXPECT_EQ(button.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hButton), nullptr);
}

TEST(CommandRoutingTest, DisabledMenuOrAcceleratorCommandIsDropped) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));
    wnd.log.clear();

    wnd.firstEnabled = false;
    EXPECT_FALSE(wnd.IsCommandEnabled(ID_TEST_FIRST));
    EXPECT_EQ(Command(wnd, ID_TEST_FIRST), 1) << "taken, but not run";
    // An accelerator sends 1 in the high word; it is checked the same way.
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_FIRST, 1), 0);
    EXPECT_TRUE(wnd.log.empty());

    wnd.firstEnabled = true;
    EXPECT_TRUE(wnd.IsCommandEnabled(ID_TEST_FIRST));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_FIRST, 1), 0);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"base first"}));

    // A command without an update handler counts as enabled.
    EXPECT_TRUE(wnd.IsCommandEnabled(ID_TEST_SECOND));
}

TEST(CommandRoutingTest, RangeEntriesCoverTheirIdsOnly) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));
    Command(wnd, ID_TEST_RANGE_LOW);
    Command(wnd, ID_TEST_RANGE_HIGH);
    EXPECT_EQ(wnd.rangeHits, 2);
    EXPECT_EQ(wnd.lastRangeId, ID_TEST_RANGE_HIGH);
    EXPECT_EQ(Command(wnd, ID_TEST_RANGE_HIGH + 1), 0);
    EXPECT_EQ(wnd.rangeHits, 2);
}

namespace {
class CRoutedDoc : public CDocument {
public:
    std::vector<std::string> log;
    BOOL canSecond = TRUE;
    bool continueRouting = false;
    afx_msg void OnFirst() { log.push_back("doc first"); }
    afx_msg void OnSecond() { log.push_back("doc second"); }
    afx_msg void OnUpdateSecond(CCmdUI* pCmdUI) { pCmdUI->Enable(canSecond); }
    afx_msg void OnUpdateFirst(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRoutedDoc, CDocument)
    ON_COMMAND(ID_TEST_FIRST, OnFirst)
    ON_COMMAND(ID_TEST_SECOND, OnSecond)
    ON_UPDATE_COMMAND_UI(ID_TEST_SECOND, OnUpdateSecond)
    ON_UPDATE_COMMAND_UI(ID_TEST_FIRST, OnUpdateFirst)
END_MESSAGE_MAP()

class CRoutedView : public CView {
public:
    std::vector<std::string> log;
    bool passUpdate = false;
    void OnDraw(CDC*) override {}
    afx_msg void OnFirst() { log.push_back("view first"); }
    afx_msg void OnUpdateFirst(CCmdUI* pCmdUI) {
        if (passUpdate)
            pCmdUI->ContinueRouting();
        else
            pCmdUI->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRoutedView, CView)
    ON_COMMAND(ID_TEST_FIRST, OnFirst)
    ON_UPDATE_COMMAND_UI(ID_TEST_FIRST, OnUpdateFirst)
END_MESSAGE_MAP()
}  // namespace

TEST(CommandRoutingTest, ViewRoutesToItsDocumentAfterItself) {
    CDerivedLogWnd frame;
    ASSERT_TRUE(CreateTestWindow(frame));
    CRoutedDoc doc;
    CRoutedView view;
    CCreateContext context;
    context.m_pCurrentDoc = &doc;
    ASSERT_TRUE(view.Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 100, 100), &frame, AFX_IDW_PANE_FIRST,
                            &context));
    ASSERT_EQ(view.GetDocument(), &doc);

    // The view's own handler comes first; what it lacks goes to the document.
    EXPECT_TRUE(view.OnCmdMsg(ID_TEST_FIRST, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(view.OnCmdMsg(ID_TEST_SECOND, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(view.log, (std::vector<std::string>{"view first"}));
    EXPECT_EQ(doc.log, (std::vector<std::string>{"doc second"}));

    // The document's update handler decides, also for a command sent to the view's window.
    doc.canSecond = FALSE;
    EXPECT_FALSE(view.IsCommandEnabled(ID_TEST_SECOND));
    Command(view, ID_TEST_SECOND);
    EXPECT_EQ(doc.log.size(), 1u) << "dropped while disabled";
    doc.canSecond = TRUE;
    Command(view, ID_TEST_SECOND);
    EXPECT_EQ(doc.log.size(), 2u);

    // The first update handler that answers wins; ContinueRouting passes the item on.
    CCmdUI state;
    state.m_nID = ID_TEST_FIRST;
    EXPECT_TRUE(state.DoUpdate(&view, FALSE));
    EXPECT_FALSE(state.m_bEnabled);
    EXPECT_EQ(state.m_nCheck, 0);
    view.passUpdate = true;
    CCmdUI passed;
    passed.m_nID = ID_TEST_FIRST;
    EXPECT_TRUE(passed.DoUpdate(&view, FALSE));
    EXPECT_TRUE(passed.m_bEnabled);
    EXPECT_EQ(passed.m_nCheck, 1) << "the document's handler was reached";
}

TEST(CommandUITest, UpdatesMenuItemsAndDisablesCommandsWithoutHandler) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));
    wnd.firstEnabled = false;

    HMENU hMenu = CreatePopupMenu();
    AppendMenuW(hMenu, MF_STRING, ID_TEST_FIRST, L"First");
    AppendMenuW(hMenu, MF_STRING, ID_TEST_SECOND, L"Second");
    AppendMenuW(hMenu, MF_STRING, 40900, L"Nobody's");
    const UINT ids[] = {ID_TEST_FIRST, ID_TEST_SECOND, 40900};
    for (UINT index = 0; index < 3; ++index) {
        CCmdUI state;
        state.m_nID = ids[index];
        state.m_nIndex = index;
        state.m_hMenu = hMenu;
        state.DoUpdate(&wnd, TRUE);
    }
    EXPECT_TRUE(GetMenuState(hMenu, 0, MF_BYPOSITION) & MF_GRAYED) << "its update handler disabled it";
    EXPECT_FALSE(GetMenuState(hMenu, 1, MF_BYPOSITION) & MF_GRAYED) << "a command handler exists";
    EXPECT_TRUE(GetMenuState(hMenu, 2, MF_BYPOSITION) & MF_GRAYED) << "nothing handles it";

    CCmdUI check;
    check.m_nID = ID_TEST_SECOND;
    check.m_nIndex = 1;
    check.m_hMenu = hMenu;
    check.SetCheck(1);
    check.SetText(L"Druhý");
    EXPECT_TRUE(GetMenuState(hMenu, 1, MF_BYPOSITION) & MF_CHECKED);
    wchar_t text[32] = L"";
    GetMenuStringW(hMenu, 1, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Druhý");
    DestroyMenu(hMenu);
}

// ---- The exception net ------------------------------------------------------------------

TEST(ExceptionNetTest, FileExceptionFromACommandIsShownAndTheProgramGoesOn) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));
    AfxSetMainWnd(&wnd);
    {
        MessageBoxWatcher boxes;
        EXPECT_EQ(Command(wnd, ID_TEST_THROW_FILE), 0);
        ASSERT_EQ(boxes.Seen().size(), 1u);
        const SeenMessageBox box = boxes.Seen()[0];
        EXPECT_EQ(box.text,
                  CFileException(CFileException::sharingViolation, ERROR_SHARING_VIOLATION, L"C:\\data\\locked.bin")
                      .GetErrorMessage()
                      .str());
        EXPECT_EQ(box.caption, AfxGetAppTitle().str());
        EXPECT_EQ(box.owner, wnd.m_hWnd) << "owned by the main window";
        EXPECT_EQ(box.icon, L"exclamation");

        // Out of memory reads as such.
        Command(wnd, ID_TEST_THROW_MEMORY);
        ASSERT_EQ(boxes.Seen().size(), 2u);
        EXPECT_EQ(boxes.Seen()[1].text, CMemoryException().GetErrorMessage().str());
    }
    // The window still works.
    wnd.log.clear();
    Command(wnd, ID_TEST_SECOND);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"derived second"}));
    AfxSetMainWnd(nullptr);
}

TEST(ExceptionNetTest, ExceptionInCreationFailsTheWindowAndIsReported) {
    MessageBoxWatcher boxes;
    CDerivedLogWnd wnd;
    wnd.throwOnCreate = 1;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, L"x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(boxes.Seen().size(), 1u);
}

namespace {
class CFailingPainter : public CWnd {
public:
    int paints = 0;
    afx_msg void OnPaint() {
        ++paints;
        CPaintDC dc(this);
        CFileException::ThrowOsError(ERROR_READ_FAULT, L"bad.bin");
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFailingPainter, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

class CUnpaintedPainter : public CWnd {
public:
    afx_msg void OnPaint() { throw CMemoryException(); }  // throws before BeginPaint
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CUnpaintedPainter, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()
}  // namespace

TEST(ExceptionNetTest, ExceptionFromPaintingValidatesAndShowsNothing) {
    MessageBoxWatcher boxes;
    CFailingPainter painter;
    ASSERT_TRUE(CreateTestWindow(painter));
    painter.Invalidate();
    painter.UpdateWindow();
    EXPECT_GE(painter.paints, 1);
    EXPECT_FALSE(GetUpdateRect(painter.m_hWnd, nullptr, FALSE));

    // Even when the painting fails before it begins, the window is not asked again and again.
    CUnpaintedPainter early;
    ASSERT_TRUE(CreateTestWindow(early));
    early.Invalidate();
    early.UpdateWindow();
    EXPECT_FALSE(GetUpdateRect(early.m_hWnd, nullptr, FALSE));
    ValidateRect(early, nullptr);  // should the net fail, the loop below must not paint forever
    PumpMessages(100);
    EXPECT_TRUE(boxes.Seen().empty());
}

namespace {
class CKeepsFailing : public CWnd {
public:
    int ticks = 0;
    afx_msg void OnTimer(UINT_PTR) {
        ++ticks;
        throw CFileException(CFileException::hardIO, ERROR_READ_FAULT);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CKeepsFailing, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()
}  // namespace

TEST(ExceptionNetTest, RepeatedFailuresDoNotPileUpBoxes) {
    CKeepsFailing wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));
    AfxSetMainWnd(&wnd);
    wnd.SetTimer(1, 5, nullptr);
    {
        MessageBoxWatcher boxes;
        PumpMessages(400);
        wnd.KillTimer(1);
        // Ticks went on while each box was up; every box was closed before the next one.
        EXPECT_GT(wnd.ticks, static_cast<int>(boxes.Seen().size()));
        EXPECT_GE(boxes.Seen().size(), 1u);
    }
    AfxSetMainWnd(nullptr);
}

// ---- Window lifetime ------------------------------------------------------------------------

TEST(WindowLifetimeTest, DestroyingTheWindowInsideItsOwnHandlerIsSafe) {
    CDerivedLogWnd wnd;
    ASSERT_TRUE(CreateTestWindow(wnd));
    const HWND hWnd = wnd.m_hWnd;
    wnd.log.clear();
    Command(wnd, ID_TEST_DESTROY);
    EXPECT_EQ(wnd.log, (std::vector<std::string>{"destroyed inside"}));
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(wnd.destroyed, 1);
    EXPECT_EQ(wnd.postNcDestroyed, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    // Operations on an object without a window do nothing.
    wnd.Invalidate();
    EXPECT_EQ(wnd.SetTimer(1, 10), 0u);
    EXPECT_FALSE(wnd.DestroyWindow());
}

namespace {
class CSelfDeleting : public CWnd {
public:
    static int deleted;
    ~CSelfDeleting() override { ++deleted; }
    afx_msg void OnClose() { DestroyWindow(); }
    void PostNcDestroy() override { delete this; }
    DECLARE_MESSAGE_MAP()
};
int CSelfDeleting::deleted = 0;
BEGIN_MESSAGE_MAP(CSelfDeleting, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()
}  // namespace

TEST(WindowLifetimeTest, ObjectMayEndItsLifeInPostNcDestroy) {
    auto* pWnd = new CSelfDeleting;
    ASSERT_TRUE(CreateTestWindow(*pWnd));
    const HWND hWnd = pWnd->m_hWnd;
    SendMessageW(hWnd, WM_CLOSE, 0, 0);  // destroys, deletes, then returns through the dispatcher
    EXPECT_EQ(CSelfDeleting::deleted, 1);
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST(WindowLifetimeTest, DeletingTheObjectDestroysItsWindowWithoutCallingItsHandlers) {
    auto pWnd = std::make_unique<CDerivedLogWnd>();
    ASSERT_TRUE(CreateTestWindow(*pWnd));
    const HWND hWnd = pWnd->m_hWnd;
    pWnd.reset();
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WindowLifetimeTest, ForeignWindowsGetStableTemporaryWrappers) {
    CDerivedLogWnd parent;
    ASSERT_TRUE(CreateTestWindow(parent));
    HWND hEdit = CreateWindowExW(0, L"EDIT", L"foreign", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, parent.m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1300)), nullptr, nullptr);
    ASSERT_NE(hEdit, nullptr);
    CWnd* pEdit = parent.GetDlgItem(1300);
    ASSERT_NE(pEdit, nullptr);
    EXPECT_EQ(pEdit->m_hWnd, hEdit);
    EXPECT_EQ(parent.GetDlgItem(1300), pEdit) << "one wrapper per window";
    EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
    EXPECT_EQ(CWnd::FromHandle(GetParent(hEdit)), &parent) << "a bound window comes back as its object";
    EXPECT_EQ(parent.GetDlgItem(4444), nullptr);

    // Idle clean-up keeps wrappers of live windows, so pointers held stay good.
    CWnd::DeleteTempMap();
    EXPECT_EQ(parent.GetDlgItem(1300), pEdit);
    CString text;
    pEdit->GetWindowText(text);
    EXPECT_EQ(text, L"foreign");
    DestroyWindow(hEdit);
    CWnd::DeleteTempMap();
    EXPECT_EQ(parent.GetDlgItem(1300), nullptr);
}
