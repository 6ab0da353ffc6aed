// CMiniFrameWnd: making and placing the floating window; its caption's drag and double-click,
// its close button.
#include "framework/bars/MiniFrameWnd.h"

#include "framework/bars/ControlBar.h"
#include "framework/bars/DockContext.h"

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CWnd)
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd(CControlBar& bar) : m_bar(bar) {}

CMiniFrameWnd::~CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(HWND hOwner) {
    if (hOwner == nullptr || m_hWnd != nullptr)
        return FALSE;
    const LPCWSTR className = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                                                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    if (className == nullptr)
        return FALSE;
    CString title;
    m_bar.GetWindowText(title);
    return CreateEx(kExStyle, className, title, kStyle, 0, 0, 0, 0, hOwner, nullptr);
}

CRect CMiniFrameWnd::WindowRectFor(CPoint topLeft, CSize client) {
    CRect rect(0, 0, client.cx, client.cy);
    AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
    rect.OffsetRect(topLeft.x - rect.left, topLeft.y - rect.top);
    return rect;
}

void CMiniFrameWnd::PlaceBar(CPoint topLeft) {
    if (m_hWnd == nullptr || m_bar.GetSafeHwnd() == nullptr)
        return;
    const CSize size = m_bar.CalcFixedLayout(FALSE, TRUE);
    m_bar.MoveWindow(0, 0, size.cx, size.cy);
    const CRect window = WindowRectFor(topLeft, size);
    SetWindowPos(nullptr, window.left, window.top, window.Width(), window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMiniFrameWnd::ShowWithoutActivating() {
    if (m_hWnd == nullptr)
        return;
    ShowWindow(SW_SHOWNOACTIVATE);
    const HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    SendMessage(WM_NCACTIVATE, hOwner != nullptr && ::GetActiveWindow() == hOwner ? TRUE : FALSE);
}

void CMiniFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    CDockContext* pContext = m_bar.GetDockContext();
    if (nHitTest != HTCAPTION || pContext == nullptr) {
        Default();
        return;
    }
    // The caption moves the bar the way its gripper does, so it may dock again.
    pContext->StartDrag(point, m_hWnd);
}

void CMiniFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint) {
    CDockContext* pContext = m_bar.GetDockContext();
    if (nHitTest != HTCAPTION || pContext == nullptr) {
        Default();
        return;
    }
    pContext->ToggleDocking();
}

int CMiniFrameWnd::OnMouseActivate(CWnd*, UINT, UINT) {
    // The keyboard stays with the main frame's view: the bar only sends commands.
    return MA_NOACTIVATE;
}

void CMiniFrameWnd::OnClose() {
    // Closing hides the bar; the View menu shows it again in this place.
    m_bar.ShowInPlace(FALSE);
}
