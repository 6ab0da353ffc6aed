// CWnd: a framework window — creation, the one window procedure and its message dispatch,
// Default(), the exception net, and the window operations; the ON_WM_* message-map entries.
#pragma once

#include "framework/core/Geometry.h"
#include "framework/core/String.h"
#include "framework/window/AfxWin.h"
#include "framework/window/CmdTarget.h"
#include "framework/window/Gdi.h"

#include <windows.h>
#include <windowsx.h>
// windowsx.h makes SubclassWindow a macro; here it is CWnd's member.
#undef SubclassWindow

#include <climits>

class CDataExchange;
class CScrollBar;
struct CCreateContext;  // the document/view layer's (docview/CreateContext.h)

// The window procedure of every framework window class.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class served by AfxWndProc with these attributes and returns its
// name, which stays valid for the life of the program. Null when registration failed.
LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// The window that a modal dialog or message box of pParent belongs to: pParent's top-level
// window, or the main window when pParent is null (the thread's active window while there is
// no main window); in either case the last popup that window activated (an open dialog, so a
// box over it is modal to it). Null when there is none.
HWND AfxGetSafeOwner(CWnd* pParent);

// The framework's message box: owned by the main window (see AfxGetSafeOwner), with the
// application's title as its caption; MB_ICONEXCLAMATION is added when nType names no icon.
// nIDHelp is accepted for the familiar signature; the program has no help. Returns the
// button pressed (IDOK, ...), or 0 when the box could not be shown.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with the text taken from the program's string table.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Ownership: a CWnd object and its window are separate. Whoever creates the object owns it
// (by value or unique_ptr); destroying the window never deletes the object, and deleting the
// object destroys a window it still has (its own handlers no longer run then). The window
// is bound to the object from WM_NCCREATE (or SubclassWindow) to WM_NCDESTROY, after
// which m_hWnd is null and PostNcDestroy runs. Operations on an object without a window do
// nothing and report failure.
class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // ---- Creation and destruction -------------------------------------------------------
    // A child window (WS_CHILD is added) with id nID; pContext becomes the creation parameter.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    // Any window. PreCreateWindow may adjust the creation structure first (a null class gets
    // the framework's default class). lpParam reaches the handlers as
    // CREATESTRUCT::lpCreateParams. A window of a class not served by AfxWndProc (a common
    // control) is subclassed once it exists, so its messages after WM_CREATE reach the maps.
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL DestroyWindow();
    // Binds an existing window to this object, routing its messages through the maps.
    BOOL SubclassWindow(HWND hWnd);

    // The object bound to hWnd; for any other window a temporary wrapper that the framework
    // owns and keeps at least until the thread is next idle (see DeleteTempMap). Null for null.
    static CWnd* FromHandle(HWND hWnd);
    // The object bound to hWnd, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Frees the temporary wrappers of windows that no longer exist. The message loop calls
    // it when idle; a wrapper of a live window stays, so no pointer handed out goes stale.
    static void DeleteTempMap();

    // ---- Message handling ---------------------------------------------------------------
    // Dispatches one message: WM_COMMAND to OnCommand, WM_NOTIFY to OnNotify, others to the
    // message maps; what none handles goes to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The default processing: the subclassed window's own procedure, or ::DefWindowProc.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled now on this thread (from inside a
    // handler); 0 outside message handling.
    LRESULT Default();
    // A command from a menu or an accelerator is first offered to the command-UI update
    // handlers and dropped when disabled; then it, or a control notification, is routed
    // through OnCmdMsg. Returns TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called by the message loop for each message bound for this window or its children;
    // TRUE when the message was taken (translated) and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to PreTranslateMessage of the bound windows from pMsg->hwnd up to
    // and including hWndStop; TRUE when one took it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
    // Called after WM_NCDESTROY, once the window is gone and m_hWnd is null.
    virtual void PostNcDestroy();

    // ---- Dialog data exchange -------------------------------------------------------------
    // Transfers between controls and members through DoDataExchange: to the members when
    // bSaveAndValidate, to the controls otherwise. FALSE when a transfer failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // ---- Operations ---------------------------------------------------------------------
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    void GetClientRect(LPRECT lpRect) const;
    void GetWindowRect(LPRECT lpRect) const;
    // Between the client area and the screen; nothing happens while there is no window.
    void ClientToScreen(LPPOINT lpPoint) const { MapClientPoints(true, lpPoint, 1); }
    void ClientToScreen(LPRECT lpRect) const { MapClientPoints(true, reinterpret_cast<LPPOINT>(lpRect), 2); }
    void ScreenToClient(LPPOINT lpPoint) const { MapClientPoints(false, lpPoint, 1); }
    void ScreenToClient(LPRECT lpRect) const { MapClientPoints(false, reinterpret_cast<LPPOINT>(lpRect), 2); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();

    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr);

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // A message box owned by this window; a null caption means the application's title.
    int MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption = nullptr, UINT nType = MB_OK);

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    // Returns the window that had the focus before, or null.
    CWnd* SetFocus();
    void SetWindowText(LPCWSTR lpszString);
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    HWND m_hWnd = nullptr;

protected:
    // The base handlers: each hands the current message to Default().
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSetFocus(CWnd* pOldWnd);

    // The window procedure a subclassed window had before, or null for the framework's classes.
    WNDPROC m_pfnSuper = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;

    void BindHandle(HWND hWnd);  // permanent map and GWLP_USERDATA (dialogs: DWLP_USER)
    void UnbindHandle();         // the reverse; m_hWnd becomes null
    // Runs one message through WindowProc inside the exception net, as the current message
    // of the thread (for Default); unbinds at WM_NCDESTROY. pDefaultAsked tells whether a
    // handler asked for the default processing (or none handled the message).
    static LRESULT Dispatch(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                            bool* pDefaultAsked = nullptr);
    // Records that the current message wants the default processing (dialogs run it later).
    static void NoteDefaultAsked();
    // Maps points from the client area to the screen, or back.
    void MapClientPoints(bool bToScreen, LPPOINT lpPoints, UINT nCount) const;

    bool m_bDialog = false;             // bound through a dialog procedure (see CDialog)
    const void* m_pCreating = nullptr;  // the pending creation record while CreateEx runs
    LPVOID m_lpCreateParam = nullptr;   // the caller's creation parameter while CreateEx runs
};

// The wrapper handed to scroll handlers for a scroll-bar control (null for a window's own bars).
class CScrollBar : public CWnd {
public:
    // The object bound to hWnd when it is a CScrollBar, else a temporary CScrollBar wrapper.
    static CScrollBar* FromHandle(HWND hWnd);
};

// ---------------------------------------------------------------------------------------------
// Window-message entries. Each unpacks WPARAM/LPARAM once and calls the handler with typed
// arguments (coordinates signed, as GET_X_LPARAM / GET_Y_LPARAM give them).
// ---------------------------------------------------------------------------------------------
namespace afx {

template <class T, auto P>
LRESULT OnCreateThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, int(LPCREATESTRUCT)>, "int OnCreate(LPCREATESTRUCT)");
    return (static_cast<T&>(t).*P)(reinterpret_cast<LPCREATESTRUCT>(c.lParam));
}

template <class T, auto P>
LRESULT OnSizeThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(UINT, int, int)>, "void OnSize(UINT nType, int cx, int cy)");
    (static_cast<T&>(t).*P)(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam));
    return 0;
}

template <class T, auto P>
LRESULT OnScrollThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(UINT, UINT, CScrollBar*)>,
                  "void OnXScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)");
    CScrollBar* pBar = c.lParam != 0 ? CScrollBar::FromHandle(reinterpret_cast<HWND>(c.lParam)) : nullptr;
    (static_cast<T&>(t).*P)(LOWORD(c.wParam), HIWORD(c.wParam), pBar);
    return 0;
}

template <class T, auto P>
LRESULT OnEraseBkgndThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, BOOL(CDC*)>, "BOOL OnEraseBkgnd(CDC* pDC)");
    CDC dc(reinterpret_cast<HDC>(c.wParam));
    return (static_cast<T&>(t).*P)(&dc);
}

// The mouse in the client area (the point in client coordinates) and, with the hit-test code for
// nFlags, in the non-client area (the point on the screen).
template <class T, auto P>
LRESULT OnMouseThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(UINT, CPoint)>, "void OnXButtonY(UINT nFlags, CPoint point)");
    (static_cast<T&>(t).*P)(static_cast<UINT>(c.wParam), CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)));
    return 0;
}

template <class T, auto P>
LRESULT OnNcHitTestThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, LRESULT(CPoint)>, "LRESULT OnNcHitTest(CPoint point)");
    return (static_cast<T&>(t).*P)(CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)));
}

// Both forms of the message: with bCalcValidRects the whole structure, else only its first
// rectangle (the proposed window rectangle), which is where the structure starts.
template <class T, auto P>
LRESULT OnNcCalcSizeThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, LRESULT(BOOL, NCCALCSIZE_PARAMS*)>,
                  "LRESULT OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)");
    return (static_cast<T&>(t).*P)(c.wParam != FALSE, reinterpret_cast<NCCALCSIZE_PARAMS*>(c.lParam));
}

template <class T, auto P>
LRESULT OnMouseActivateThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, int(CWnd*, UINT, UINT)>,
                  "int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)");
    return (static_cast<T&>(t).*P)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)), LOWORD(c.lParam),
                                   HIWORD(c.lParam));
}

template <class T, auto P>
LRESULT OnMouseWheelThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, BOOL(UINT, short, CPoint)>,
                  "BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)");
    return (static_cast<T&>(t).*P)(GET_KEYSTATE_WPARAM(c.wParam), GET_WHEEL_DELTA_WPARAM(c.wParam),
                                   CPoint(GET_X_LPARAM(c.lParam), GET_Y_LPARAM(c.lParam)));
}

template <class T, auto P>
LRESULT OnTimerThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(UINT_PTR)>, "void OnTimer(UINT_PTR nIDEvent)");
    (static_cast<T&>(t).*P)(static_cast<UINT_PTR>(c.wParam));
    return 0;
}

template <class T, auto P>
LRESULT OnSetFocusThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(CWnd*)>, "void OnSetFocus(CWnd* pOldWnd)");
    (static_cast<T&>(t).*P)(CWnd::FromHandle(reinterpret_cast<HWND>(c.wParam)));
    return 0;
}

template <class T, auto P>
LRESULT OnActivateThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(UINT, CWnd*, BOOL)>,
                  "void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)");
    (static_cast<T&>(t).*P)(LOWORD(c.wParam), CWnd::FromHandle(reinterpret_cast<HWND>(c.lParam)),
                            HIWORD(c.wParam) != 0);
    return 0;
}

// WM_ENABLE and WM_EXITMENULOOP: one flag in wParam.
template <class T, auto P>
LRESULT OnFlagThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(BOOL)>,
                  "void OnEnable(BOOL bEnable), void OnExitMenuLoop(BOOL bIsTrackPopupMenu)");
    (static_cast<T&>(t).*P)(c.wParam != FALSE);
    return 0;
}

template <class T, auto P>
LRESULT OnDrawItemThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, BOOL(int, LPDRAWITEMSTRUCT)>,
                  "BOOL OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)");
    return (static_cast<T&>(t).*P)(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam));
}

template <class T, auto P>
LRESULT OnInitMenuPopupThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(HMENU, UINT, BOOL)>,
                  "void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu)");
    (static_cast<T&>(t).*P)(reinterpret_cast<HMENU>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam) != 0);
    return 0;
}

template <class T, auto P>
LRESULT OnMenuSelectThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(UINT, UINT, HMENU)>,
                  "void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)");
    (static_cast<T&>(t).*P)(LOWORD(c.wParam), HIWORD(c.wParam), reinterpret_cast<HMENU>(c.lParam));
    return 0;
}

// The new DPI (the same horizontally and vertically) and the window rectangle the system suggests
// for it; the rectangle is null when a parent passes the message on without one.
template <class T, auto P>
LRESULT OnDpiChangedThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, void(UINT, const RECT*)>, "void OnDpiChanged(UINT dpi, const RECT* pSuggested)");
    (static_cast<T&>(t).*P)(LOWORD(c.wParam), reinterpret_cast<const RECT*>(c.lParam));
    return 0;
}

template <class T, auto P>
LRESULT OnSetTextThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, BOOL(LPCWSTR)>, "BOOL OnSetText(LPCWSTR lpszText)");
    return (static_cast<T&>(t).*P)(reinterpret_cast<LPCWSTR>(c.lParam));
}

// The buffer's size in characters, the terminator's place included; a size past INT_MAX counts
// as INT_MAX.
template <class T, auto P>
LRESULT OnGetTextThunk(CCmdTarget& t, const AFX_MSGCALL& c) {
    static_assert(kHandlerFits<T, P, int(int, LPWSTR)>, "int OnGetText(int nMaxChars, LPWSTR lpszText)");
    const int nMaxChars = c.wParam > static_cast<WPARAM>(INT_MAX) ? INT_MAX : static_cast<int>(c.wParam);
    return (static_cast<T&>(t).*P)(nMaxChars, reinterpret_cast<LPWSTR>(c.lParam));
}

template <class T, auto P>
LRESULT OnGetTextLengthThunk(CCmdTarget& t, const AFX_MSGCALL&) {
    static_assert(kHandlerFits<T, P, int()>, "int OnGetTextLength()");
    return (static_cast<T&>(t).*P)();
}

}  // namespace afx

// clang-format off
#define OKTALON_ON_MESSAGE_ENTRY(message, thunk, memberFxn) \
    {AfxEntryKind::Message, static_cast<UINT>(message), 0, 0, 0, \
     &::afx::thunk<ThisClass, &ThisClass::memberFxn>},

#define ON_WM_CREATE()           OKTALON_ON_MESSAGE_ENTRY(WM_CREATE, OnCreateThunk, OnCreate)
#define ON_WM_DESTROY()          OKTALON_ON_MESSAGE_ENTRY(WM_DESTROY, VoidThunk, OnDestroy)
#define ON_WM_CLOSE()            OKTALON_ON_MESSAGE_ENTRY(WM_CLOSE, VoidThunk, OnClose)
#define ON_WM_PAINT()            OKTALON_ON_MESSAGE_ENTRY(WM_PAINT, VoidThunk, OnPaint)
#define ON_WM_SIZE()             OKTALON_ON_MESSAGE_ENTRY(WM_SIZE, OnSizeThunk, OnSize)
#define ON_WM_VSCROLL()          OKTALON_ON_MESSAGE_ENTRY(WM_VSCROLL, OnScrollThunk, OnVScroll)
#define ON_WM_HSCROLL()          OKTALON_ON_MESSAGE_ENTRY(WM_HSCROLL, OnScrollThunk, OnHScroll)
#define ON_WM_ERASEBKGND()       OKTALON_ON_MESSAGE_ENTRY(WM_ERASEBKGND, OnEraseBkgndThunk, OnEraseBkgnd)
#define ON_WM_LBUTTONDOWN()      OKTALON_ON_MESSAGE_ENTRY(WM_LBUTTONDOWN, OnMouseThunk, OnLButtonDown)
#define ON_WM_MOUSEWHEEL()       OKTALON_ON_MESSAGE_ENTRY(WM_MOUSEWHEEL, OnMouseWheelThunk, OnMouseWheel)
#define ON_WM_TIMER()            OKTALON_ON_MESSAGE_ENTRY(WM_TIMER, OnTimerThunk, OnTimer)
#define ON_WM_SETFOCUS()         OKTALON_ON_MESSAGE_ENTRY(WM_SETFOCUS, OnSetFocusThunk, OnSetFocus)
#define ON_WM_ACTIVATE()         OKTALON_ON_MESSAGE_ENTRY(WM_ACTIVATE, OnActivateThunk, OnActivate)
#define ON_WM_ENABLE()           OKTALON_ON_MESSAGE_ENTRY(WM_ENABLE, OnFlagThunk, OnEnable)
#define ON_WM_MOUSEMOVE()        OKTALON_ON_MESSAGE_ENTRY(WM_MOUSEMOVE, OnMouseThunk, OnMouseMove)
#define ON_WM_MOUSELEAVE()       OKTALON_ON_MESSAGE_ENTRY(WM_MOUSELEAVE, VoidThunk, OnMouseLeave)
#define ON_WM_LBUTTONDBLCLK()    OKTALON_ON_MESSAGE_ENTRY(WM_LBUTTONDBLCLK, OnMouseThunk, OnLButtonDblClk)
#define ON_WM_MOUSEACTIVATE()    OKTALON_ON_MESSAGE_ENTRY(WM_MOUSEACTIVATE, OnMouseActivateThunk, OnMouseActivate)
#define ON_WM_NCHITTEST()        OKTALON_ON_MESSAGE_ENTRY(WM_NCHITTEST, OnNcHitTestThunk, OnNcHitTest)
#define ON_WM_NCCALCSIZE()       OKTALON_ON_MESSAGE_ENTRY(WM_NCCALCSIZE, OnNcCalcSizeThunk, OnNcCalcSize)
#define ON_WM_NCPAINT()          OKTALON_ON_MESSAGE_ENTRY(WM_NCPAINT, VoidThunk, OnNcPaint)
#define ON_WM_NCLBUTTONDOWN()    OKTALON_ON_MESSAGE_ENTRY(WM_NCLBUTTONDOWN, OnMouseThunk, OnNcLButtonDown)
#define ON_WM_NCLBUTTONDBLCLK()  OKTALON_ON_MESSAGE_ENTRY(WM_NCLBUTTONDBLCLK, OnMouseThunk, OnNcLButtonDblClk)
#define ON_WM_DRAWITEM()         OKTALON_ON_MESSAGE_ENTRY(WM_DRAWITEM, OnDrawItemThunk, OnDrawItem)
#define ON_WM_INITMENUPOPUP()    OKTALON_ON_MESSAGE_ENTRY(WM_INITMENUPOPUP, OnInitMenuPopupThunk, OnInitMenuPopup)
#define ON_WM_MENUSELECT()       OKTALON_ON_MESSAGE_ENTRY(WM_MENUSELECT, OnMenuSelectThunk, OnMenuSelect)
#define ON_WM_EXITMENULOOP()     OKTALON_ON_MESSAGE_ENTRY(WM_EXITMENULOOP, OnFlagThunk, OnExitMenuLoop)
#define ON_WM_DPICHANGED()       OKTALON_ON_MESSAGE_ENTRY(WM_DPICHANGED, OnDpiChangedThunk, OnDpiChanged)
#define ON_WM_SETTEXT()          OKTALON_ON_MESSAGE_ENTRY(WM_SETTEXT, OnSetTextThunk, OnSetText)
#define ON_WM_GETTEXT()          OKTALON_ON_MESSAGE_ENTRY(WM_GETTEXT, OnGetTextThunk, OnGetText)
#define ON_WM_GETTEXTLENGTH()    OKTALON_ON_MESSAGE_ENTRY(WM_GETTEXTLENGTH, OnGetTextLengthThunk, OnGetTextLength)
// clang-format on
