// CControlBar: joining the dock site, the bar style, showing in place, the presses that move the
// bar, and the borders and gripper it draws.
#include "framework/bars/ControlBar.h"

#include "framework/bars/DockContext.h"
#include "framework/bars/DockSite.h"
#include "framework/bars/MiniFrameWnd.h"
#include "framework/window/Gdi.h"

#include <commctrl.h>

namespace {
// The gripper of a horizontal bar: a raised bar this wide, inside a strip this wide.
constexpr int kGripperBarWidth = 3;
constexpr int kGripperStripWidth = 8;
constexpr int kBorderWidth = 2;  // an etched line: shadow and highlight
}  // namespace

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
    // The bar's window goes before its floating window (which the dock context holds).
    if (m_hWnd != nullptr)
        DestroyWindow();
    DetachFromDockSite();
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY;
    if (m_dwDockStyle != 0 && !m_pDockContext)
        m_pDockContext = std::make_unique<CDockContext>(*this);
}

void CControlBar::EnsureCommonControls(DWORD dwICC) {
    INITCOMMONCONTROLSEX init = {sizeof(init), dwICC};
    InitCommonControlsEx(&init);
}

void CControlBar::AttachToDockSite(CWnd* pParentWnd, DWORD dwStyle) {
    m_dwStyle = dwStyle & CBRS_ALL;
    m_pDockSite = dynamic_cast<CDockSite*>(pParentWnd);
    if (m_pDockSite != nullptr)
        m_pDockSite->AddControlBar(this);
}

void CControlBar::DetachFromDockSite() {
    if (m_pDockSite != nullptr) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
}

void CControlBar::PostNcDestroy() {
    DetachFromDockSite();
    CWnd::PostNcDestroy();
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
    const DWORD old = m_dwStyle;
    m_dwStyle = dwStyle & CBRS_ALL;
    if (old != m_dwStyle)
        OnBarStyleChange(old, m_dwStyle);
    constexpr DWORD kFrameBits = CBRS_BORDER_ANY | CBRS_GRIPPER | CBRS_FLOATING | CBRS_ALIGN_ANY;
    if (m_hWnd != nullptr && (old & kFrameBits) != (m_dwStyle & kFrameBits))
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

bool CControlBar::DragsAt(CPoint) const {
    return true;
}

LRESULT CControlBar::OnNcHitTest(CPoint) {
    const LRESULT result = Default();
    // The gripper and the borders belong to the bar: a press there starts a drag.
    if (m_pDockContext && result != HTCLIENT && !IsFloating())
        return HTCLIENT;
    return result;
}

void CControlBar::OnLButtonDown(UINT, CPoint point) {
    if (!m_pDockContext || m_pDockSite == nullptr || !DragsAt(point)) {
        Default();
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    m_pDockContext->StartDrag(screen);
}

void CControlBar::OnLButtonDblClk(UINT, CPoint point) {
    if (!m_pDockContext || m_pDockSite == nullptr || !DragsAt(point)) {
        Default();
        return;
    }
    m_pDockContext->ToggleDocking();
}

bool CControlBar::IsVisible() const {
    return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
}

CMiniFrameWnd* CControlBar::FloatingFrame() const {
    CMiniFrameWnd* pFloating = m_pDockContext ? m_pDockContext->GetFloatingFrameIfAny() : nullptr;
    return pFloating != nullptr && pFloating->GetSafeHwnd() != nullptr ? pFloating : nullptr;
}

CWnd* CControlBar::GetFloatingWindow() const {
    return FloatingFrame();
}

void CControlBar::ShowInPlace(BOOL bShow) {
    if (m_hWnd == nullptr)
        return;
    ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    CMiniFrameWnd* pFloating = FloatingFrame();
    if (IsFloating() && pFloating != nullptr) {
        if (bShow)
            pFloating->ShowWithoutActivating();
        else
            pFloating->ShowWindow(SW_HIDE);
    }
    if (m_pDockSite != nullptr)
        m_pDockSite->RecalcLayout();
}

void CControlBar::OnFrameLayout() {}

BOOL CControlBar::DrawItem(LPDRAWITEMSTRUCT) {
    return FALSE;
}

CRect CControlBar::GetNonClientBorders(DWORD dwStyle) const {
    CRect borders = m_rectBorders;
    if (dwStyle & CBRS_BORDER_LEFT)
        borders.left += kBorderWidth;
    if (dwStyle & CBRS_BORDER_TOP)
        borders.top += kBorderWidth;
    if (dwStyle & CBRS_BORDER_RIGHT)
        borders.right += kBorderWidth;
    if (dwStyle & CBRS_BORDER_BOTTOM)
        borders.bottom += kBorderWidth;
    if ((dwStyle & CBRS_GRIPPER) && !(dwStyle & CBRS_FLOATING)) {
        if (IsHorizontalBarStyle(dwStyle))
            borders.left += kGripperStripWidth;
        else
            borders.top += kGripperStripWidth;
    }
    return borders;
}

LRESULT CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    const LRESULT result = Default();
    // Both forms of the message start with the proposed client rectangle.
    RECT* client = reinterpret_cast<RECT*>(lpncsp);
    const CRect borders = GetNonClientBorders();
    client->left += borders.left;
    client->top += borders.top;
    client->right -= borders.right;
    client->bottom -= borders.bottom;
    if (client->right < client->left)
        client->right = client->left;
    if (client->bottom < client->top)
        client->bottom = client->top;
    return result;
}

void CControlBar::OnNcPaint() {
    const CRect borders = GetNonClientBorders();
    if (borders.left == 0 && borders.top == 0 && borders.right == 0 && borders.bottom == 0)
        Default();
    else
        DrawNonClient();
}

void CControlBar::DrawNonClient() {
    if (m_hWnd == nullptr)
        return;
    CWindowDC dc(this);
    const HDC hDC = dc.GetSafeHdc();
    if (hDC == nullptr)
        return;
    CRect window;
    GetWindowRect(&window);
    CRect bar(0, 0, window.Width(), window.Height());
    const CRect borders = GetNonClientBorders();

    // Everything outside the client area gets the bar's face colour first.
    CRect client(bar.left + borders.left, bar.top + borders.top, bar.right - borders.right,
                 bar.bottom - borders.bottom);
    const int saved = SaveDC(hDC);
    ExcludeClipRect(hDC, client.left, client.top, client.right, client.bottom);
    FillRect(hDC, &bar, GetSysColorBrush(COLOR_BTNFACE));

    CRect edge = bar;
    if (m_dwStyle & CBRS_BORDER_TOP) {
        CRect line(edge.left, edge.top, edge.right, edge.top + kBorderWidth);
        DrawEdge(hDC, &line, EDGE_ETCHED, BF_TOP);
        edge.top += kBorderWidth;
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        CRect line(edge.left, edge.bottom - kBorderWidth, edge.right, edge.bottom);
        DrawEdge(hDC, &line, EDGE_ETCHED, BF_TOP);
        edge.bottom -= kBorderWidth;
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        CRect line(edge.left, edge.top, edge.left + kBorderWidth, edge.bottom);
        DrawEdge(hDC, &line, EDGE_ETCHED, BF_LEFT);
        edge.left += kBorderWidth;
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        CRect line(edge.right - kBorderWidth, edge.top, edge.right, edge.bottom);
        DrawEdge(hDC, &line, EDGE_ETCHED, BF_LEFT);
        edge.right -= kBorderWidth;
    }
    if ((m_dwStyle & CBRS_GRIPPER) && !IsFloating()) {
        CRect grip;
        if (IsHorizontal()) {
            const int x = edge.left + m_rectBorders.left + (kGripperStripWidth - kGripperBarWidth) / 2;
            grip = CRect(x, edge.top + 2, x + kGripperBarWidth, edge.bottom - 2);
        } else {
            const int y = edge.top + m_rectBorders.top + (kGripperStripWidth - kGripperBarWidth) / 2;
            grip = CRect(edge.left + 2, y, edge.right - 2, y + kGripperBarWidth);
        }
        if (!grip.IsRectEmpty())
            DrawEdge(hDC, &grip, BDR_RAISEDINNER, BF_RECT);
    }
    RestoreDC(hDC, saved);
}
