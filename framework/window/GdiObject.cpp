#include "framework/window/GdiObject.h"

#include "framework/window/Dc.h"
#include "framework/core/Exception.h"

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
