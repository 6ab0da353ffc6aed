// CMyScrollView: geometry and scrolling, painting, keys, wheel and clicks, a new DPI.
#include "view/MyScrollView.h"

#include "doc/ScrollDoc.h"
#include "framework/window/AfxWin.h"
#include "framework/window/Dpi.h"
#include "view/DumpLine.h"
#include "view/ScrollMath.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

IMPLEMENT_DYNCREATE(CMyScrollView, CView)

namespace {
constexpr UINT_PTR kKeyTimerId = 1;
constexpr UINT kKeyTimerPeriodMs = 50;
constexpr int kWheelLineSteps = 3;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);

bool IsAlphaNumericInSystemCodePage(unsigned char byte) {
    return IsCharAlphaNumericA(static_cast<CHAR>(byte)) != FALSE;
}

// The bytes of one line for painting. A line the system cannot read (a failing disk, a lost
// network share) gets none: it shows its offset and blank cells, as a line past the end does,
// and the lines below it still paint. Let through, the error would end the painting there and
// leave the rows below showing whatever the window held before: other lines' bytes.
int32_t ReadLineForPainting(CScrollDoc& doc, int64_t offset, BYTE* bytes) {
    try {
        return doc.ReadBlock(offset, kBytesPerLine, bytes);
    } catch (const CFileException&) {
        return 0;
    }
}
}  // namespace

BEGIN_MESSAGE_MAP(CMyScrollView, CView)
    ON_WM_HSCROLL()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_DPICHANGED()
END_MESSAGE_MAP()

CMyScrollView::CMyScrollView() = default;

CMyScrollView::~CMyScrollView() = default;

CScrollDoc* CMyScrollView::GetDocument() const {
    return static_cast<CScrollDoc*>(m_pDocument);
}

BOOL CMyScrollView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style |= WS_HSCROLL | WS_VSCROLL;
    return CView::PreCreateWindow(cs);
}

// ---- Geometry and scrolling -------------------------------------------------------------

void CMyScrollView::OnInitialUpdate() {
    CView::OnInitialUpdate();
    ResetToDocument();
}

void CMyScrollView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    CView::OnUpdate(pSender, lHint, pHint);
    if (lHint == CScrollDoc::kHintFileClosed)
        ResetToDocument();
    else if (lHint == CScrollDoc::kHintMarkedLineToTop)
        BringLineToTop(GetDocument()->GetMarkedLine());
}

void CMyScrollView::ResetToDocument() {
    m_nScrollY = 0;
    m_nScrollX = 0;
    m_nFileSize = GetDocument()->GetFileLength();
    m_nLineCount = LineCountForLength(m_nFileSize);
    m_nOffsetDigits = OffsetDigitsForLength(m_nFileSize);
    m_nContentWidth = m_geometry.ContentWidthFor(m_nOffsetDigits);
    m_nContentHeight = m_geometry.linePitch * m_nLineCount;
    CRect client;
    GetClientRect(&client);
    FitToClient(client.Width(), client.Height());
}

void CMyScrollView::OnSize(UINT, int cx, int cy) {
    Default();
    FitToClient(cx, cy);
}

void CMyScrollView::FitToClient(int cx, int cy) {
    const unsigned generation = ++m_nFitGeneration;
    const AxisFit horizontal = FitHorizontal(cx, m_nContentWidth, m_nScrollX);
    m_nPageX = horizontal.page;
    m_nScrollX = horizontal.position;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = horizontal.rangeMax;
    info.nPage = static_cast<UINT>(m_nPageX);
    info.nPos = static_cast<int>(m_nScrollX);
    SetScrollInfo(SB_HORZ, &info, TRUE);
    if (generation != m_nFitGeneration)
        return;  // showing or hiding the bar changed the client, and that size has been fitted

    const AxisFit vertical = FitVertical(PageFromClientHeight(cy, m_geometry.linePitch), m_nContentHeight, m_nScrollY);
    m_nPageY = vertical.page;
    m_nScrollY = vertical.position;
    const VerticalBarScale scale = VerticalScale();
    info.nMax = vertical.rangeMax;
    info.nPage = static_cast<UINT>(scale.Page());
    info.nPos = scale.BarPosition(m_nScrollY);
    SetScrollInfo(SB_VERT, &info, TRUE);
}

bool CMyScrollView::ScrollByRequest(int bar, UINT nSBCode) {
    const bool vertical = bar == SB_VERT;
    const ScrollAxisState state = vertical ? ScrollAxisState{m_nScrollY, m_nPageY, m_nContentHeight, m_nLineStepY}
                                           : ScrollAxisState{m_nScrollX, m_nPageX, m_nContentWidth, m_nLineStepX};
    int64_t track = 0;
    if (nSBCode == SB_THUMBTRACK) {
        // The 32-bit tracking position: the message's 16-bit one cannot reach every line. On a
        // scaled bar it stands for a line in proportion.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        GetScrollInfo(bar, &info, SIF_TRACKPOS);
        track = vertical ? VerticalScale().PositionForTrack(info.nTrackPos) : info.nTrackPos;
    }
    const std::optional<int64_t> step = ScrollStepFor(vertical ? ScrollAxis::Vertical : ScrollAxis::Horizontal,
                                                      static_cast<int32_t>(nSBCode), state, track);
    if (!step)
        return false;
    ApplyStep(bar, *step);
    return true;
}

void CMyScrollView::ApplyStep(int bar, int64_t step) {
    if (step == 0)
        return;
    const bool vertical = bar == SB_VERT;
    int64_t& position = vertical ? m_nScrollY : m_nScrollX;
    position += step;
    SetScrollPos(bar, vertical ? VerticalScale().BarPosition(position) : static_cast<int>(position), TRUE);
    // A step of a window or less moves the picture on the screen and repaints the strip it
    // uncovers; a longer jump (through a long file) leaves nothing to keep.
    if (step > INT32_MAX || step < -INT32_MAX)
        InvalidateRect(nullptr, FALSE);
    else if (vertical)
        ScrollWindow(0, static_cast<int>(-step));
    else
        ScrollWindow(static_cast<int>(-step), 0);
}

void CMyScrollView::BringLineToTop(int64_t line) {
    const ScrollAxisState state{m_nScrollY, m_nPageY, m_nContentHeight, m_nLineStepY};
    const int64_t target = std::clamp<int64_t>(line, 0, m_nLineCount) * m_geometry.linePitch;
    ApplyStep(SB_VERT, ClampScrollStep(state, target - m_nScrollY));
}

void CMyScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (ScrollByRequest(SB_VERT, nSBCode))
        CView::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CMyScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (ScrollByRequest(SB_HORZ, nSBCode))
        CView::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CMyScrollView::ApplyGeometry(const ViewGeometry& geometry) {
    m_geometry = geometry;
    m_nLineStepY = geometry.linePitch;
    m_nLineStepX = geometry.horizontalStep;
    m_nContentWidth = m_nContentWidth == 0 ? 0 : geometry.ContentWidthFor(m_nOffsetDigits);
    m_nContentHeight = int64_t{geometry.linePitch} * m_nLineCount;
}

void CMyScrollView::OnDpiChanged(UINT dpi, const RECT*) {
    const auto newDpi = static_cast<int32_t>(dpi);
    if (newDpi == 0 || newDpi == m_geometry.dpi)
        return;
    const int32_t oldPitch = m_geometry.linePitch;
    const int64_t topLine = m_nScrollY / oldPitch;
    const int64_t pageLines = m_nPageY / oldPitch;
    const int64_t marked = GetDocument()->GetMarkedLine();
    const bool markShown = marked >= topLine && marked < topLine + std::max<int64_t>(pageLines, 1);
    const int32_t oldContentWidth = m_nContentWidth;
    ApplyGeometry(GeometryForDpi(newDpi));
    m_nScrollY = topLine * m_geometry.linePitch;
    m_nScrollX = oldContentWidth > 0 ? m_nScrollX * m_nContentWidth / oldContentWidth : 0;
    CRect client;
    GetClientRect(&client);
    FitToClient(client.Width(), client.Height());
    // The window grows or shrinks with the DPI, so a page keeps about as many lines; should it
    // hold fewer, the view moves down just far enough for a shown mark to stay in view.
    const int64_t newPageLines = std::max<int64_t>(m_nPageY / m_geometry.linePitch, 1);
    if (markShown && marked >= m_nScrollY / m_geometry.linePitch + newPageLines)
        BringLineToTop(marked - newPageLines + 1);
    InvalidateRect(nullptr, FALSE);
}

// ---- Painting ---------------------------------------------------------------------------

BOOL CMyScrollView::OnEraseBkgnd(CDC*) {
    // Every pixel is painted by OnDraw, so erasing first would only make the view flicker.
    return TRUE;
}

void CMyScrollView::OnDraw(CDC* pDC) {
    // The view's vertical positions go far past what GDI holds: it keeps its transforms in
    // floating point and its device coordinates in 27 bits, so a window origin deep in a long file
    // would draw the lines tens of pixels away from where they belong, or nowhere. Only the
    // horizontal origin goes to GDI; vertical positions are turned into client rows here, in
    // 64-bit integers.
    pDC->SetWindowOrg(static_cast<int>(m_nScrollX), 0);
    const auto row = [this](int64_t y) {
        return static_cast<int>(std::clamp<int64_t>(y - m_nScrollY, INT32_MIN / 2, INT32_MAX / 2));
    };
    CRect client;
    GetClientRect(&client);
    CBrush white;
    white.CreateSolidBrush(kWhite);
    // The margins reach this far below the client, so that a scroll step never uncovers an
    // unpainted strip at the bottom.
    const int overhang = m_geometry.marginOverhang;
    const CRect rightMargin(m_nContentWidth, 0, client.right, client.bottom + overhang);
    pDC->FillRect(&rightMargin, &white);
    const CRect bottomMargin(0, std::min<int>(row(m_nContentHeight), client.bottom + overhang), m_nContentWidth,
                             client.bottom + overhang);
    pDC->FillRect(&bottomMargin, &white);
    if (m_nFileSize <= 0)
        return;

    CRect clip;
    pDC->GetClipBox(&clip);
    CFont font;
    font.CreatePointFontForDpi(90, L"Courier New", static_cast<UINT>(m_geometry.dpi));
    CSelectGuard selectFont(*pDC, font);

    // A text band is one font cell high and as wide as the font makes the line. Where the cell is
    // lower than the line pitch, the rows left below it are filled white, and so is the strip
    // between the text's end and the content's, or they would show whatever the screen held.
    TEXTMETRICW metrics{};
    pDC->GetTextMetrics(&metrics);
    const int pitch = m_geometry.linePitch;
    const int bandHeight = static_cast<int>(metrics.tmHeight);
    std::optional<int> bandWidth;

    CScrollDoc* pDoc = GetDocument();
    const LineRange lines = LinesToPaint(clip.top + m_nScrollY, clip.bottom + m_nScrollY, m_nLineCount, pitch);
    std::array<uint8_t, kBytesPerLine> bytes{};
    for (int64_t line = lines.first; line <= lines.last; ++line) {
        pDC->SetBkColor(pDoc->GetMarkedLine() == line ? kCyan : kWhite);
        const int64_t offset = kBytesPerLine * line;
        const int32_t read = ReadLineForPainting(*pDoc, offset, bytes.data());
        const CString text(
            std::string_view(FormatDumpLine(offset, bytes, DumpLineValidCount(offset, m_nFileSize),
                                            &IsAlphaNumericInSystemCodePage, read < 0 ? 0 : read, m_nOffsetDigits)));
        const int top = row(int64_t{pitch} * line);
        pDC->TextOut(0, top, text);
        if (!bandWidth)
            bandWidth = pDC->GetTextExtent(text).cx;
        if (*bandWidth < m_nContentWidth) {
            const CRect strip(*bandWidth, top, m_nContentWidth, top + std::min(bandHeight, pitch));
            pDC->FillRect(&strip, &white);
        }
        if (bandHeight < pitch) {
            const CRect gap(0, top + bandHeight, m_nContentWidth, top + pitch);
            pDC->FillRect(&gap, &white);
        }
    }
}

// ---- Keys, wheel and mouse ----------------------------------------------------------------

int CMyScrollView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    ApplyGeometry(GeometryForDpi(static_cast<int32_t>(AfxGetDpiForWindow(m_hWnd))));
    SetTimer(kKeyTimerId, kKeyTimerPeriodMs);
    return 0;
}

void CMyScrollView::OnDestroy() {
    CView::OnDestroy();
    KillTimer(kKeyTimerId);
}

void CMyScrollView::OnTimer(UINT_PTR) {
    // While a search runs (a long one handles messages meanwhile) the view stays where it is: a
    // key pressed meanwhile is not queried, so it counts once at the first tick after the search.
    if (GetDocument()->IsSearching()) {
        Default();
        return;
    }
    // The keys are polled rather than taken from keyboard messages: a held key scrolls once a
    // tick, whatever the keyboard's own repeat rate. Each key is queried whatever the others
    // did: the query also clears the key's "pressed since the last query" state.
    const bool contentOverflowsPage = m_nPageY < m_nContentHeight;
    if (GetAsyncKeyState(VK_DOWN) != 0 && contentOverflowsPage)
        OnVScroll(SB_LINEDOWN, 0, nullptr);
    if (GetAsyncKeyState(VK_UP) != 0)
        OnVScroll(SB_LINEUP, 0, nullptr);
    if (GetAsyncKeyState(VK_NEXT) != 0 && contentOverflowsPage)
        OnVScroll(SB_PAGEDOWN, 0, nullptr);
    if (GetAsyncKeyState(VK_PRIOR) != 0)
        OnVScroll(SB_PAGEUP, 0, nullptr);
    Default();
}

BOOL CMyScrollView::OnMouseWheel(UINT, short zDelta, CPoint) {
    // Only the direction counts: every wheel message scrolls three lines.
    const UINT request = zDelta < 0 && m_nPageY < m_nContentHeight ? SB_LINEDOWN : SB_LINEUP;
    for (int i = 0; i < kWheelLineSteps; ++i)
        OnVScroll(request, 0, nullptr);
    return static_cast<BOOL>(Default());
}

void CMyScrollView::OnLButtonDown(UINT, CPoint point) {
    // The view's only mapping is its scroll offset; adding it here in integers keeps clicks exact
    // where GDI's floating-point transform would miss by lines (see OnDraw).
    GetDocument()->SetMarkedLine(LineAtLogicalY(point.y + m_nScrollY, m_nLineCount, m_geometry.linePitch));
    InvalidateRect(nullptr, FALSE);
    Default();
}
