// Gdi: the GDI objects' creation and ownership, the device contexts' operations and selection.
#include "framework/window/Gdi.h"

#include "framework/core/Exception.h"
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

CGdiObject::CGdiObject(CGdiObject&& other) noexcept
    : m_hObject(std::exchange(other.m_hObject, nullptr)), m_bOwned(std::exchange(other.m_bOwned, true)) {}

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept {
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
        m_bOwned = std::exchange(other.m_bOwned, true);
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
    m_bOwned = true;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    m_bOwned = true;
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    const HGDIOBJ hObject = std::exchange(m_hObject, nullptr);
    const bool bOwned = std::exchange(m_bOwned, true);
    if (hObject == nullptr)
        return FALSE;
    return bOwned ? ::DeleteObject(hObject) : TRUE;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return m_hObject != nullptr ? ::GetObjectW(m_hObject, nCount, lpObject) : 0;
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC) {
    LOGFONTW logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = nPointSize;
    if (lpszFaceName != nullptr)
        lstrcpynW(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontForDpi(int nPointSize, LPCWSTR lpszFaceName, UINT dpi) {
    LOGFONTW logFont{};
    logFont.lfCharSet = DEFAULT_CHARSET;
    // As CreatePointFont works it out for a screen of that resolution.
    logFont.lfHeight = -std::abs(static_cast<int>(dpi) * nPointSize / 720);
    if (lpszFaceName != nullptr)
        lstrcpynW(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreateFontIndirect(&logFont);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC) {
    std::optional<CClientDC> screen;
    const HDC hDC = DcOrScreen(pDC, screen);
    if (hDC == nullptr)
        return FALSE;
    // Tenths of a point to device pixels (72 points an inch), then to the context's logical
    // units, measured as a distance from the origin so any window origin drops out.
    LOGFONTW logFont = *lpLogFont;
    POINT pt = {0, ::GetDeviceCaps(hDC, LOGPIXELSY) * logFont.lfHeight / 720};
    POINT ptOrigin = {0, 0};
    ::DPtoLP(hDC, &pt, 1);
    ::DPtoLP(hDC, &ptOrigin, 1);
    logFont.lfHeight = -std::abs(pt.y - ptOrigin.y);
    return CreateFontIndirect(&logFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* lpLogFont) {
    if (m_hObject != nullptr)
        return FALSE;
    return Attach(::CreateFontIndirectW(lpLogFont));
}

CBrush::CBrush(COLORREF crColor) {
    if (!CreateSolidBrush(crColor))
        throw CMemoryException();
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

BOOL CDC::Attach(HDC hDC) {
    if (m_hDC != nullptr || hDC == nullptr)
        return FALSE;
    m_hDC = hDC;
    m_bOwned = false;
    return TRUE;
}

HDC CDC::Detach() {
    m_bOwned = false;
    return std::exchange(m_hDC, nullptr);
}

CPoint CDC::SetPoint(SetPointFunction pfnSet, int x, int y) {
    POINT previous = {0, 0};
    pfnSet(m_hDC, x, y, &previous);
    return previous;
}

CPoint CDC::GetPoint(GetPointFunction pfnGet) const {
    POINT point = {0, 0};
    pfnGet(m_hDC, &point);
    return point;
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const {
    ::DPtoLP(m_hDC, lpPoints, nCount);
}

void CDC::DPtoLP(LPRECT lpRect) const {
    ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const {
    ::LPtoDP(m_hDC, lpPoints, nCount);
}

void CDC::LPtoDP(LPRECT lpRect) const {
    ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}

int CDC::GetClipBox(LPRECT lpRect) const {
    return ::GetClipBox(m_hDC, lpRect);
}

int CDC::GetDeviceCaps(int nIndex) const {
    return ::GetDeviceCaps(m_hDC, nIndex);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    if (m_hDC == nullptr || hObject == nullptr)
        return nullptr;
    const HGDIOBJ hPrevious = ::SelectObject(m_hDC, hObject);
    return hPrevious == HGDI_ERROR ? nullptr : hPrevious;
}

template <class T>
T* CDC::Borrowed(HGDIOBJ hObject) {
    if (hObject == nullptr)
        return nullptr;
    for (const auto& pObject : m_borrowed) {
        if (pObject->m_hObject == hObject) {
            if (auto* pTyped = dynamic_cast<T*>(pObject.get()))
                return pTyped;
        }
    }
    auto pObject = std::make_unique<T>();
    pObject->m_hObject = hObject;
    pObject->m_bOwned = false;
    T* pResult = pObject.get();
    m_borrowed.push_back(std::move(pObject));
    return pResult;
}

CFont* CDC::SelectObject(CFont* pFont) {
    return pFont != nullptr ? Borrowed<CFont>(SelectObject(pFont->m_hObject)) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    return pBrush != nullptr ? Borrowed<CBrush>(SelectObject(pBrush->m_hObject)) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return pBitmap != nullptr ? Borrowed<CBitmap>(SelectObject(pBitmap->m_hObject)) : nullptr;
}

int CDC::SaveDC() {
    return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int nSavedDC) {
    return ::RestoreDC(m_hDC, nSavedDC);
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ::SetBkColor(m_hDC, crColor);
}

COLORREF CDC::GetBkColor() const {
    return ::GetBkColor(m_hDC);
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ::SetTextColor(m_hDC, crColor);
}

COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hDC);
}

int CDC::SetBkMode(int nBkMode) {
    return ::SetBkMode(m_hDC, nBkMode);
}

int CDC::GetBkMode() const {
    return ::GetBkMode(m_hDC);
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

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor) {
    // Opaque output of no text fills the rectangle with the background colour.
    const COLORREF crPrevious = ::SetBkColor(m_hDC, crColor);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, crPrevious);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
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
