// CDockContext: docking and floating the bar, and the drag: its own message loop and the
// tracking outline.
#include "framework/bars/DockContext.h"

#include "framework/bars/ControlBar.h"
#include "framework/bars/DockLayout.h"
#include "framework/bars/DockSite.h"
#include "framework/bars/MiniFrameWnd.h"
#include "framework/window/Gdi.h"

#include <algorithm>
#include <functional>

namespace {
// Outline widths: a thin line where the bar would dock, a thick one where it would float.
constexpr int kDockedOutlineWidth = 2;
constexpr int kFloatingOutlineWidth = 3;

// Holds the mouse capture for its own lifetime.
class CCaptureGuard {
public:
    explicit CCaptureGuard(HWND hWnd) : m_hWnd(hWnd) { ::SetCapture(hWnd); }
    ~CCaptureGuard() {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    CCaptureGuard(const CCaptureGuard&) = delete;
    CCaptureGuard& operator=(const CCaptureGuard&) = delete;
    bool Held() const { return ::GetCapture() == m_hWnd; }

private:
    HWND m_hWnd;
};

// The tracking outline: a hollow rectangle of a grey checker pattern above every window. A
// window of its own, shaped to the frame of the rectangle, so it never leaves pixels behind.
class CDragOutline : public CWnd {
public:
    CDragOutline() {
        static const WORD kChecker[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
        m_pattern.Attach(::CreateBitmap(8, 8, 1, 1, kChecker));
        if (m_pattern.GetSafeHandle() != nullptr)
            m_brush.Attach(::CreatePatternBrush(m_pattern));
    }

    void Show(const CRect& rect, int width) {
        if (rect == m_rect && width == m_width && m_hWnd != nullptr)
            return;
        if (m_hWnd == nullptr && !CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
                                           AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW)), nullptr, WS_POPUP,
                                           rect.left, rect.top, rect.Width(), rect.Height(), nullptr, nullptr))
            return;
        m_rect = rect;
        m_width = width;
        // The window keeps only the frame: the inside stays the windows underneath.
        CGdiObject outer;
        CGdiObject inner;
        outer.Attach(::CreateRectRgn(0, 0, rect.Width(), rect.Height()));
        inner.Attach(::CreateRectRgn(width, width, rect.Width() - width, rect.Height() - width));
        const auto region = [](const CGdiObject& object) { return static_cast<HRGN>(object.GetSafeHandle()); };
        if (region(outer) != nullptr && region(inner) != nullptr)
            ::CombineRgn(region(outer), region(outer), region(inner), RGN_DIFF);
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
        // The window owns the region once it has it.
        if (region(outer) != nullptr && ::SetWindowRgn(m_hWnd, region(outer), TRUE) != 0)
            outer.Detach();
        UpdateWindow();
    }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.SetTextColor(::GetSysColor(COLOR_3DDKSHADOW));
        dc.SetBkColor(::GetSysColor(COLOR_3DHILIGHT));
        if (m_brush.GetSafeHandle() != nullptr)
            ::FillRect(dc, &client, m_brush);
        else
            ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_3DDKSHADOW));
    }

private:
    CBitmap m_pattern;
    CBrush m_brush;
    CRect m_rect;
    int m_width = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDragOutline, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

// A bar that changed shape draws itself anew, borders and gripper included.
void RedrawBar(CControlBar& bar) {
    if (bar.GetSafeHwnd() != nullptr)
        ::RedrawWindow(bar.GetSafeHwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

enum class DragEnd { Click, Drop, Cancel };

// The screen position of a mouse message.
CPoint MessagePoint(const MSG& msg) {
    POINT point = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ::ClientToScreen(msg.hwnd, &point);
    return point;
}

// The drag's own message loop, with the mouse captured by hWnd, until the left button goes up.
// onMove sees each pointer position once the pointer left the system's drag rectangle around
// ptStart. ptEnd: where the button went up.
DragEnd TrackDrag(HWND hWnd, CPoint ptStart, const std::function<void(CPoint)>& onMove, CPoint& ptEnd) {
    CCaptureGuard capture(hWnd);
    RECT still = {ptStart.x, ptStart.y, ptStart.x, ptStart.y};
    ::InflateRect(&still, ::GetSystemMetrics(SM_CXDRAG) / 2, ::GetSystemMetrics(SM_CYDRAG) / 2);
    bool dragging = false;
    auto follow = [&](CPoint point) {
        if (!dragging && ::PtInRect(&still, point))
            return;
        dragging = true;
        onMove(point);
    };
    MSG msg;
    while (capture.Held()) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop
            return DragEnd::Cancel;
        }
        if (got == -1)
            return DragEnd::Cancel;
        switch (msg.message) {
        case WM_MOUSEMOVE:
            if (msg.hwnd == hWnd)
                follow(MessagePoint(msg));
            break;
        case WM_LBUTTONUP:
            ptEnd = msg.hwnd == hWnd ? MessagePoint(msg) : CPoint(msg.pt);
            follow(ptEnd);
            return dragging ? DragEnd::Drop : DragEnd::Click;
        case WM_RBUTTONDOWN:
            return DragEnd::Cancel;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                return DragEnd::Cancel;
            break;  // no other key acts in the middle of a drag
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            break;
        default:
            ::DispatchMessageW(&msg);
            break;
        }
    }
    return DragEnd::Cancel;
}
}  // namespace

CDockContext::CDockContext(CControlBar& bar) : m_bar(bar), m_dwLastDockSide(CBRS_ALIGN_TOP) {}

CDockContext::~CDockContext() = default;

CMiniFrameWnd* CDockContext::FloatingFrame() {
    CDockSite* pSite = m_bar.GetDockSite();
    if (pSite == nullptr)
        return nullptr;
    if (!m_pFloatingFrame)
        m_pFloatingFrame = std::make_unique<CMiniFrameWnd>(m_bar);
    if (m_pFloatingFrame->GetSafeHwnd() == nullptr && !m_pFloatingFrame->Create(pSite->GetSafeHwnd()))
        return nullptr;
    return m_pFloatingFrame.get();
}

void CDockContext::Dock(DWORD dwSide) {
    CDockSite* pSite = m_bar.GetDockSite();
    if (pSite == nullptr)
        return;
    if (dwSide == 0)
        dwSide = DockSideOfStyle(m_bar.GetBarStyle());
    if (dwSide == 0)
        dwSide = CBRS_ALIGN_TOP;
    if (m_bar.IsFloating() && m_bar.GetSafeHwnd() != nullptr) {
        ::SetParent(m_bar.GetSafeHwnd(), pSite->GetSafeHwnd());
        if (CWnd* pFloating = m_bar.GetFloatingWindow())
            pFloating->ShowWindow(SW_HIDE);
    }
    m_bar.SetBarStyle(PlacedBarStyle(m_bar.GetBarStyle(), dwSide));
    m_dwLastDockSide = dwSide;
    pSite->RecalcLayout();
    RedrawBar(m_bar);
}

void CDockContext::Float(CPoint ptTopLeft) {
    CDockSite* pSite = m_bar.GetDockSite();
    if (pSite == nullptr || m_bar.GetSafeHwnd() == nullptr || pSite->GetSafeHwnd() == nullptr)
        return;
    CMiniFrameWnd* pFloating = FloatingFrame();
    if (pFloating == nullptr)
        return;
    m_bar.SetBarStyle(PlacedBarStyle(m_bar.GetBarStyle(), 0));
    if (::GetParent(m_bar.GetSafeHwnd()) != pFloating->GetSafeHwnd())
        ::SetParent(m_bar.GetSafeHwnd(), pFloating->GetSafeHwnd());
    pFloating->PlaceBar(ptTopLeft);
    m_ptLastFloat = ptTopLeft;
    if (m_bar.IsVisible())
        pFloating->ShowWithoutActivating();
    pSite->RecalcLayout();
    RedrawBar(m_bar);
}

CSize CDockContext::SizeWhenPlaced(DWORD dwSide, BOOL bStretch) const {
    // The bar's size now, with the borders and gripper it has now traded for those it would have.
    const bool horizontal = IsHorizontalBarStyle(dwSide);
    const CSize size = m_bar.CalcFixedLayout(bStretch, horizontal ? TRUE : FALSE);
    const CRect now = m_bar.GetNonClientBorders();
    const CRect placed = m_bar.GetNonClientBorders(PlacedBarStyle(m_bar.GetBarStyle(), dwSide));
    const int dx = placed.left + placed.right - now.left - now.right;
    const int dy = placed.top + placed.bottom - now.top - now.bottom;
    if (!bStretch)
        return CSize(size.cx + dx, size.cy + dy);
    return horizontal ? CSize(0, size.cy + dy) : CSize(size.cx + dx, 0);
}

CRect CDockContext::DockedOutline(const CRect& dockArea, DWORD dwSide) const {
    const CSize size = SizeWhenPlaced(dwSide, TRUE);
    std::vector<DockedBar> strip(1);
    strip[0].dwSide = dwSide;
    strip[0].nThickness = size.cx != 0 ? size.cx : size.cy;
    LayoutDockedBars(dockArea, strip);
    return strip[0].rect;
}

CRect CDockContext::FloatingOutline(CPoint topLeft) const {
    return CMiniFrameWnd::WindowRectFor(topLeft, SizeWhenPlaced(0, FALSE));
}

void CDockContext::StartDrag(CPoint ptScreen, HWND hWndCapture) {
    CDockSite* pSite = m_bar.GetDockSite();
    if (pSite == nullptr || pSite->GetSafeHwnd() == nullptr || m_bar.GetSafeHwnd() == nullptr)
        return;
    if (hWndCapture == nullptr)
        hWndCapture = m_bar.GetSafeHwnd();

    // The pointer keeps its place on the floating window's outline, as far as that reaches.
    CRect held;
    CWnd* pFloating = m_bar.GetFloatingWindow();
    if (m_bar.IsFloating() && pFloating != nullptr)
        pFloating->GetWindowRect(&held);
    else
        m_bar.GetWindowRect(&held);
    const CRect floating = FloatingOutline(CPoint(0, 0));
    const CPoint grab(std::clamp<LONG>(ptScreen.x - held.left, 0, std::max<LONG>(floating.Width() - 1, 0)),
                      std::clamp<LONG>(ptScreen.y - held.top, 0, std::max<LONG>(floating.Height() - 1, 0)));

    CRect dockArea = pSite->GetDockingArea();
    pSite->ClientToScreen(&dockArea);
    const DWORD sides = m_bar.GetDockingStyle() & pSite->GetDockStyle();
    // Near means within a horizontal bar's thickness of the side.
    const int reach = SizeWhenPlaced(CBRS_ALIGN_TOP, TRUE).cy;
    auto sideAt = [&](CPoint point) { return DockSideAt(dockArea, point, sides, reach); };
    auto floatAt = [&](CPoint point) { return CPoint(point.x - grab.x, point.y - grab.y); };

    CPoint end;
    DragEnd result;
    {
        CDragOutline outline;
        result = TrackDrag(
            hWndCapture, ptScreen,
            [&](CPoint point) {
                const DWORD side = sideAt(point);
                if (side != 0)
                    outline.Show(DockedOutline(dockArea, side), kDockedOutlineWidth);
                else
                    outline.Show(FloatingOutline(floatAt(point)), kFloatingOutlineWidth);
            },
            end);
    }
    if (result == DragEnd::Drop) {
        const DWORD side = sideAt(end);
        if (side != 0)
            Dock(side);
        else
            Float(floatAt(end));
    }
    pSite->ReturnFocusToView();
}

void CDockContext::ToggleDocking() {
    CDockSite* pSite = m_bar.GetDockSite();
    if (pSite == nullptr || m_bar.GetSafeHwnd() == nullptr)
        return;
    if (m_bar.IsFloating()) {
        Dock(m_dwLastDockSide);
    } else {
        CPoint at;
        if (m_ptLastFloat) {
            at = *m_ptLastFloat;
        } else {
            // Never floated yet: where the bar is now.
            CRect rect;
            m_bar.GetWindowRect(&rect);
            at = rect.TopLeft();
        }
        Float(at);
    }
    pSite->ReturnFocusToView();
}
