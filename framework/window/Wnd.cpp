// CWnd: the window procedure, the dispatcher and its exception net, binding windows and objects,
// creation, the window operations; the owner of modal windows and the framework's message box.
#include "framework/window/Wnd.h"

#include "framework/core/Exception.h"

#include <exception>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// One message being dispatched on this thread. The frames form a stack through nested sends.
struct MsgFrame {
    CWnd* pWnd;
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    MsgFrame* pPrev;
    bool bGone = false;          // the object was unbound or deleted meanwhile: hands off
    bool bDefaultAsked = false;  // a handler asked for the default processing
};

// The creation that CreateEx has under way; its address is the creation parameter that
// identifies the window at WM_NCCREATE.
struct CreateRecord {
    CWnd* pWnd;
};

thread_local MsgFrame* t_pCurrentMsg = nullptr;
thread_local CreateRecord* t_pCreating = nullptr;
thread_local int t_nReporting = 0;

// The framework's windows live on the user-interface thread; these maps belong to it.
struct HandleMaps {
    std::unordered_map<HWND, CWnd*> permanent;
    // Temporary wrappers, by window and by kind (plain CWnd or CScrollBar). Declared after the
    // permanent map, so they are destroyed first.
    std::map<std::pair<HWND, bool>, std::unique_ptr<CWnd>> temporary;
};

HandleMaps& Maps() {
    static HandleMaps maps;
    return maps;
}

// Nothing may touch pWnd after the handler running for it returns.
void MarkGone(const CWnd* pWnd) {
    for (MsgFrame* frame = t_pCurrentMsg; frame != nullptr; frame = frame->pPrev) {
        if (frame->pWnd == pWnd)
            frame->bGone = true;
    }
}

bool IsFrameworkClass(HINSTANCE hInstance, LPCWSTR lpszClassName) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(hInstance, lpszClassName, &wc))
        return false;
    return wc.lpfnWndProc == &AfxWndProc;
}

// Shows what an exception out of a handler says. Only one such box at a time: an exception
// while one is up (a timer that keeps failing, a paint behind the box) only beeps, so the
// boxes cannot pile up.
void ReportException(const CString& text) {
    if (t_nReporting > 0) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    ++t_nReporting;
    struct Leave {
        ~Leave() { --t_nReporting; }
    } leave;
    AfxMessageBox(text.IsEmpty() ? CException().GetErrorMessage().GetString() : text.GetString(),
                  MB_OK | MB_ICONEXCLAMATION);
}

// What the window procedure returns after an exception left the handler of message.
LRESULT ProcessWndProcException(HWND hWnd, UINT message, const CString& text) {
    switch (message) {
    case WM_PAINT:
        // The painting is abandoned: validate, or the window would be asked again at once.
        ::ValidateRect(hWnd, nullptr);
        return 0;
    case WM_NCCREATE:
        ReportException(text);
        return FALSE;
    case WM_CREATE:
        ReportException(text);
        return -1;
    default:
        ReportException(text);
        return 0;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The owner of modal windows and the framework's message box
// ---------------------------------------------------------------------------------------------

HWND AfxGetSafeOwner(CWnd* pParent) {
    HWND hWnd = pParent != nullptr ? pParent->GetSafeHwnd() : nullptr;
    if (hWnd == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain != nullptr ? pMain->GetSafeHwnd() : nullptr;
    }
    if (hWnd == nullptr)
        hWnd = ::GetActiveWindow();  // no main window yet: the window the user is working in
    if (hWnd == nullptr || !::IsWindow(hWnd))
        return nullptr;
    // The top-level window, then the popup it activated last: a box over an open dialog
    // belongs to the dialog, which it keeps disabled while it is up.
    HWND hTop = GetAncestor(hWnd, GA_ROOT);
    if (hTop == nullptr)
        hTop = hWnd;
    HWND hPopup = GetLastActivePopup(hTop);
    return hPopup != nullptr && ::IsWindowEnabled(hPopup) ? hPopup : hTop;
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT /*nIDHelp: the program has no help*/) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    const CString caption = AfxGetAppTitle();
    return MessageBoxW(AfxGetSafeOwner(nullptr), lpszText != nullptr ? lpszText : L"", caption.GetString(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    return AfxMessageBox(AfxLoadString(nIDPrompt).GetString(), nType,
                         nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

// ---------------------------------------------------------------------------------------------
// The window procedure and the dispatcher
// ---------------------------------------------------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pWnd = reinterpret_cast<CWnd*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pWnd == nullptr && message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (t_pCreating != nullptr && cs->lpCreateParams == t_pCreating) {
            pWnd = t_pCreating->pWnd;
            pWnd->BindHandle(hWnd);
        }
    }
    if (pWnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    return CWnd::Dispatch(pWnd, hWnd, message, wParam, lParam);
}

LRESULT CWnd::Dispatch(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool* pDefaultAsked) {
    MsgFrame frame{pWnd, hWnd, message, wParam, lParam, t_pCurrentMsg};
    t_pCurrentMsg = &frame;
    struct Pop {
        MsgFrame& frame;
        ~Pop() { t_pCurrentMsg = frame.pPrev; }
    } pop{frame};

    // The handlers of a window that CreateEx makes see the caller's creation parameter.
    CREATESTRUCTW cs;
    if ((message == WM_NCCREATE || message == WM_CREATE) && pWnd->m_pCreating != nullptr &&
        reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams == pWnd->m_pCreating) {
        cs = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        cs.lpCreateParams = pWnd->m_lpCreateParam;
        frame.lParam = lParam = reinterpret_cast<LPARAM>(&cs);
    }

    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (const CException& e) {
        result = ProcessWndProcException(hWnd, message, e.GetErrorMessage());
    } catch (const std::bad_alloc&) {
        result = ProcessWndProcException(hWnd, message, CMemoryException().GetErrorMessage());
    } catch (...) {
        // Nothing may unwind through the system's dispatch code.
        result = ProcessWndProcException(hWnd, message, CException().GetErrorMessage());
    }

    if (message == WM_NCDESTROY && !frame.bGone && pWnd->m_hWnd == hWnd) {
        MarkGone(pWnd);
        pWnd->UnbindHandle();
        pWnd->PostNcDestroy();  // may end the object's life: nothing touches it afterwards
    }
    if (pDefaultAsked != nullptr)
        *pDefaultAsked = frame.bDefaultAsked;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (!OnNotify(wParam, lParam, &result))
            return FALSE;
        *pResult = result;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message);
    if (entry == nullptr)
        return FALSE;
    const AFX_MSGCALL call{.message = message, .wParam = wParam, .lParam = lParam};
    *pResult = entry->pfn(*this, call);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr)
        return 0;
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void CWnd::NoteDefaultAsked() {
    if (t_pCurrentMsg != nullptr)
        t_pCurrentMsg->bDefaultAsked = true;
}

LRESULT CWnd::Default() {
    MsgFrame* frame = t_pCurrentMsg;
    if (frame == nullptr || m_hWnd == nullptr)
        return 0;
    frame->bDefaultAsked = true;
    return DefWindowProc(frame->message, frame->wParam, frame->lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    if (nID == 0)
        return FALSE;
    // A menu item or an accelerator (1 in the high word) comes without a control's handle; a
    // control's click (a toolbar button's, say) comes with one and code 0. Either is a command.
    const int nCode = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    // Its state may have changed since the menu was shown, the key pressed or the button last
    // drawn: ask once more and drop a command that is disabled now, whatever sent it.
    if (nCode == CN_COMMAND && !IsCommandEnabled(nID))
        return TRUE;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pHeader == nullptr)
        return FALSE;
    const UINT nID = static_cast<UINT>(pHeader->idFrom);
    const AFX_MSGMAP_ENTRY* entry = FindCommandEntry(AfxEntryKind::Notify, nID, static_cast<int>(pHeader->code));
    if (entry == nullptr)
        return FALSE;
    const AFX_MSGCALL call{.message = WM_NOTIFY, .wParam = wParam, .lParam = lParam, .nID = nID, .pResult = pResult};
    entry->pfn(*this, call);
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::PostNcDestroy() {}

// ---------------------------------------------------------------------------------------------
// Binding windows and objects
// ---------------------------------------------------------------------------------------------

void CWnd::BindHandle(HWND hWnd) {
    m_hWnd = hWnd;
    Maps().permanent[hWnd] = this;
    ::SetWindowLongPtrW(hWnd, m_bDialog ? DWLP_USER : GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::UnbindHandle() {
    if (m_hWnd == nullptr)
        return;
    auto& permanent = Maps().permanent;
    auto it = permanent.find(m_hWnd);
    if (it != permanent.end() && it->second == this)
        permanent.erase(it);
    ::SetWindowLongPtrW(m_hWnd, m_bDialog ? DWLP_USER : GWLP_USERDATA, 0);
    if (m_pfnSuper != nullptr)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    m_bDialog = false;
    m_hWnd = nullptr;
}

CWnd::~CWnd() {
    MarkGone(this);
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        const HWND hWnd = m_hWnd;
        // Unbind first: the derived parts are gone, so no handler of this object may run for
        // the messages that destroying the window sends.
        UnbindHandle();
        ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    auto& permanent = Maps().permanent;
    auto it = permanent.find(hWnd);
    return it != permanent.end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    std::unique_ptr<CWnd>& slot = Maps().temporary[{hWnd, false}];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hWnd;
    }
    return slot.get();
}

CScrollBar* CScrollBar::FromHandle(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    if (auto* pBar = dynamic_cast<CScrollBar*>(FromHandlePermanent(hWnd)))
        return pBar;
    std::unique_ptr<CWnd>& slot = Maps().temporary[{hWnd, true}];
    if (!slot) {
        slot = std::make_unique<CScrollBar>();
        slot->m_hWnd = hWnd;
    }
    return static_cast<CScrollBar*>(slot.get());
}

void CWnd::DeleteTempMap() {
    auto& temporary = Maps().temporary;
    for (auto it = temporary.begin(); it != temporary.end();) {
        if (!::IsWindow(it->first.first))
            it = temporary.erase(it);
        else
            ++it;
    }
}

// ---------------------------------------------------------------------------------------------
// Creation
// ---------------------------------------------------------------------------------------------

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static std::set<std::wstring> registered;  // node-based: the names stay where they are
    wchar_t name[128];
    swprintf(name, 128, L"Oktalon:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
             static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    auto it = registered.find(name);
    if (it != registered.end())
        return it->c_str();

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    const HINSTANCE hInstance = AfxGetInstanceHandle();
    if (!GetClassInfoExW(hInstance, name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.style = nClassStyle;
        wc.lpfnWndProc = &AfxWndProc;
        wc.hInstance = hInstance;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = name;
        if (!RegisterClassExW(&wc))
            return nullptr;
    }
    return registered.insert(name).first->c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (cs.lpszClass == nullptr)
            return FALSE;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd != nullptr)
        return FALSE;  // one window per object

    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    if (!IsFrameworkClass(cs.hInstance, cs.lpszClass)) {
        // A system or common-control class: made as it is, then routed through the maps.
        HWND hWnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                    cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
        if (hWnd == nullptr)
            return FALSE;
        if (!SubclassWindow(hWnd)) {
            ::DestroyWindow(hWnd);
            return FALSE;
        }
        return TRUE;
    }

    CreateRecord record{this};
    CreateRecord* pOuter = std::exchange(t_pCreating, &record);
    m_pCreating = &record;
    m_lpCreateParam = cs.lpCreateParams;
    HWND hWnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, &record);
    t_pCreating = pOuter;
    m_pCreating = nullptr;
    m_lpCreateParam = nullptr;
    return hWnd != nullptr && m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr || !::IsWindow(hWnd) || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    BindHandle(hWnd);
    auto previous =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous == nullptr || previous == &AfxWndProc) {
        // Not a window this object can sit in front of.
        if (previous != nullptr)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        UnbindHandle();
        return FALSE;
    }
    m_pfnSuper = previous;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Base handlers: the default processing
// ---------------------------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}

// ---------------------------------------------------------------------------------------------
// Operations
// ---------------------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return m_hWnd != nullptr ? ::SendMessageW(m_hWnd, message, wParam, lParam) : 0;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return m_hWnd != nullptr ? ::PostMessageW(m_hWnd, message, wParam, lParam) : FALSE;
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (m_hWnd == nullptr || !::GetClientRect(m_hWnd, lpRect))
        ::SetRectEmpty(lpRect);
}

void CWnd::GetWindowRect(LPRECT lpRect) const {
    if (m_hWnd == nullptr || !::GetWindowRect(m_hWnd, lpRect))
        ::SetRectEmpty(lpRect);
}

void CWnd::MapClientPoints(bool bToScreen, LPPOINT lpPoints, UINT nCount) const {
    if (m_hWnd != nullptr)
        ::MapWindowPoints(bToScreen ? m_hWnd : nullptr, bToScreen ? nullptr : m_hWnd, lpPoints, nCount);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    if (m_hWnd != nullptr)
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::SetWindowPos(m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    if (m_hWnd == nullptr)
        return;
    HWND hCenter = pAlternateOwner != nullptr ? pAlternateOwner->GetSafeHwnd() : nullptr;
    if (hCenter == nullptr)
        hCenter = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    CRect rectWindow;
    ::GetWindowRect(m_hWnd, &rectWindow);
    CRect rectArea;  // where the window may go: the parent's client area, or the work area
    CRect rectCenter;
    if (GetStyle() & WS_CHILD) {
        const HWND hParent = ::GetParent(m_hWnd);
        ::GetClientRect(hParent, &rectArea);
        rectCenter = rectArea;
        if (hCenter != nullptr && hCenter != hParent) {
            ::GetClientRect(hCenter, &rectCenter);
            ::MapWindowPoints(hCenter, hParent, reinterpret_cast<LPPOINT>(&rectCenter), 2);
        }
    } else {
        const HMONITOR hMonitor = MonitorFromWindow(hCenter != nullptr ? hCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        GetMonitorInfoW(hMonitor, &info);
        rectArea = info.rcWork;
        if (hCenter != nullptr && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter))
            ::GetWindowRect(hCenter, &rectCenter);
        else
            rectCenter = rectArea;
    }
    const int width = rectWindow.Width();
    const int height = rectWindow.Height();
    int left = (rectCenter.left + rectCenter.right) / 2 - width / 2;
    int top = (rectCenter.top + rectCenter.bottom) / 2 - height / 2;
    // Keep it inside the area, the top-left corner winning when it does not fit.
    if (left + width > rectArea.right)
        left = rectArea.right - width;
    if (left < rectArea.left)
        left = rectArea.left;
    if (top + height > rectArea.bottom)
        top = rectArea.bottom - height;
    if (top < rectArea.top)
        top = rectArea.top;
    ::SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, lpRect, bErase);
}

void CWnd::Invalidate(BOOL bErase) {
    InvalidateRect(nullptr, bErase);
}

void CWnd::UpdateWindow() {
    if (m_hWnd != nullptr)
        ::UpdateWindow(m_hWnd);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    if (m_hWnd == nullptr)
        return FALSE;
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) const {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    if (m_hWnd == nullptr)
        return FALSE;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    return m_hWnd != nullptr ? ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw) : 0;
}

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect) {
    if (m_hWnd != nullptr)
        ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return m_hWnd != nullptr ? ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer) : 0;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return m_hWnd != nullptr ? ::KillTimer(m_hWnd, nIDEvent) : FALSE;
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType) {
    const CString caption = lpszCaption != nullptr ? CString(lpszCaption) : AfxGetAppTitle();
    return ::MessageBoxW(m_hWnd, lpszText != nullptr ? lpszText : L"", caption.GetString(), nType);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return m_hWnd != nullptr ? FromHandle(::GetDlgItem(m_hWnd, nID)) : nullptr;
}

int CWnd::GetDlgCtrlID() const {
    return m_hWnd != nullptr ? ::GetDlgCtrlID(m_hWnd) : 0;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    return m_hWnd != nullptr ? ::ShowWindow(m_hWnd, nCmdShow) : FALSE;
}

BOOL CWnd::IsWindowVisible() const {
    return m_hWnd != nullptr ? ::IsWindowVisible(m_hWnd) : FALSE;
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    return m_hWnd != nullptr ? ::EnableWindow(m_hWnd, bEnable) : FALSE;
}

CWnd* CWnd::SetFocus() {
    if (m_hWnd == nullptr)
        return nullptr;
    return FromHandle(::SetFocus(m_hWnd));
}

void CWnd::SetWindowText(LPCWSTR lpszString) {
    if (m_hWnd != nullptr)
        ::SetWindowTextW(m_hWnd, lpszString != nullptr ? lpszString : L"");
}

void CWnd::GetWindowText(CString& rString) const {
    const int length = GetWindowTextLength();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = m_hWnd != nullptr ? ::GetWindowTextW(m_hWnd, text.data(), length + 1) : 0;
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    rString = CString(std::move(text));
}

int CWnd::GetWindowTextLength() const {
    return m_hWnd != nullptr ? ::GetWindowTextLengthW(m_hWnd) : 0;
}

DWORD CWnd::GetStyle() const {
    return m_hWnd != nullptr ? static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)) : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    if (m_hWnd == nullptr)
        return FALSE;
    const DWORD dwStyle = GetStyle();
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}
