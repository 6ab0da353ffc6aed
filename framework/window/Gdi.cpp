// Gdi: the GDI objects' creation and ownership, the device contexts' operations and selection.
#include "framework/window/Gdi.h"

#include "framework/window/Wnd.h"

#include <cstdlib>
#include <optional>
#include <utility>

namespace {

// pDC's device context, or else the screen's, held by `screen` for the caller's scope.
HDC DcOrScreen(CDC* pDC, std::optional<CClientDC>& screen) {
    if (pDC != nullptr && pDC->GetSafeHdc() != nullptr)
        return pDC->GetSafeHdc();
    return screen.emplace(nullptr).GetSafeHdc();
}

}  // namespace

CGdiObject::CGdiObject(CGdiObject&& other) noexcept : m_hObject(std::exchange(other.m_hObject, nullptr)) {}

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept {
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
    }
    return *this;
}

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (m_hObject != nullptr || hObject == nullptr)
        return FALSE;
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    const HGDIOBJ hObject = std::exchange(m_hObject, nullptr);
    return hObject != nullptr ? ::DeleteObject(hObject) : FALSE;
}

BOOL CFont::CreatePointFontForDpi(int nPointSize, LPCWSTR lpszFaceName, UINT dpi) {
    LOGFONTW logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    // Tenths of a point to pixels at 72 points an inch, as a character height.
    logFont.lfHeight = -std::abs(static_cast<int>(dpi) * nPointSize / 720);
    if (lpszFaceName != nullptr)
        lstrcpynW(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreateFontIndirect(&logFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) {
    if (m_hObject != nullptr)
        return FALSE;
    return Attach(::CreateFontIndirectW(lpLogFont));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    if (m_hObject != nullptr)
        return FALSE;
    return Attach(::CreateSolidBrush(crColor));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    if (m_hObject != nullptr)
        return FALSE;
    std::optional<CClientDC> screen;
    const HDC hDC = DcOrScreen(pDC, screen);
    if (hDC == nullptr)
        return FALSE;
    return Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
}

CDC::~CDC() {
    if (m_bOwned)
        DeleteDC();
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_hDC != nullptr)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(pDC != nullptr ? pDC->GetSafeHdc() : nullptr);
    m_bOwned = m_hDC != nullptr;
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC() {
    const HDC hDC = std::exchange(m_hDC, nullptr);
    const bool bOwned = std::exchange(m_bOwned, false);
    if (hDC == nullptr || !bOwned)
        return FALSE;
    return ::DeleteDC(hDC);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT previous = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &previous);
    return previous;
}

int CDC::GetClipBox(LPRECT lpRect) const {
    return ::GetClipBox(m_hDC, lpRect);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ::SetBkColor(m_hDC, crColor);
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ::SetTextColor(m_hDC, crColor);
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return TextOut(x, y, str.GetString(), str.GetLength());
}

BOOL CDC::TextOut(int x, int y, LPCWSTR lpszString, int nCount) {
    return ::TextOutW(m_hDC, x, y, lpszString, nCount);
}

CSize CDC::GetTextExtent(const CString& str) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hDC, str.GetString(), str.GetLength(), &size);
    return size;
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICW lpMetrics) const {
    return ::GetTextMetricsW(m_hDC, lpMetrics);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    if (pBrush != nullptr)
        ::FillRect(m_hDC, lpRect, pBrush->GetSafeHandle());
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr) {
    if (m_hWnd != nullptr)
        m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    if (m_hWnd != nullptr)
        ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CWindowReleasedDC::CWindowReleasedDC(CWnd* pWnd, GetDcFunction pfnGetDC)
    : m_hWnd(pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr) {
    // No window object: the screen's device context, as GetDC(NULL) gives it. A window object
    // without a window: none.
    if (pWnd == nullptr || m_hWnd != nullptr)
        m_hDC = pfnGetDC(m_hWnd);
}

CWindowReleasedDC::~CWindowReleasedDC() {
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

CSelectGuard::CSelectGuard(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC) {
    if (hDC != nullptr && hObject != nullptr) {
        const HGDIOBJ hPrevious = ::SelectObject(hDC, hObject);
        m_hPrevious = hPrevious == HGDI_ERROR ? nullptr : hPrevious;
    }
}

void CSelectGuard::Restore() {
    if (m_hPrevious != nullptr)
        ::SelectObject(m_hDC, std::exchange(m_hPrevious, nullptr));
}
