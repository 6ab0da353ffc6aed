// CGdiObject and its kinds CFont, CBrush, CBitmap: move-only owners of GDI objects.
#pragma once

#include <windows.h>

class CDC;

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(CGdiObject&& other) noexcept;
    CGdiObject& operator=(CGdiObject&& other) noexcept;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    // Deletes the object it owns. The object must not be selected into a device context any
    // more: restore the earlier selection first (CSelectGuard does).
    virtual ~CGdiObject();

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership of a GDI object; fails when this already holds one.
    BOOL Attach(HGDIOBJ hObject);
    // Gives up ownership and returns the handle.
    HGDIOBJ Detach();
    // Deletes the object now (nothing when there is none, or when it is only borrowed).
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;

    HGDIOBJ m_hObject = nullptr;

protected:
    friend class CDC;
    // False for the wrappers a device context makes of objects it did not create (the objects
    // SelectObject replaced): those are never deleted through the wrapper.
    bool m_bOwned = true;
};

class CFont : public CGdiObject {
public:
    CFont() = default;

    // A font of nPointSize tenths of a point. The height is worked out for pDC's vertical
    // resolution and mapping mode, or for the screen's when pDC is null. The other attributes
    // are the defaults: normal weight, upright, the system's default character set.
    BOOL CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC = nullptr);
    // As CreatePointFont, with lfHeight in tenths of a point.
    BOOL CreatePointFontIndirect(const LOGFONTW* lpLogFont, CDC* pDC = nullptr);
    BOOL CreateFontIndirect(const LOGFONTW* lpLogFont);

    HFONT GetSafeHandle() const { return static_cast<HFONT>(m_hObject); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    // A solid brush of that colour; throws CMemoryException when the system has no room for it.
    explicit CBrush(COLORREF crColor);

    BOOL CreateSolidBrush(COLORREF crColor);

    HBRUSH GetSafeHandle() const { return static_cast<HBRUSH>(m_hObject); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    CBitmap() = default;

    // A bitmap compatible with pDC (the screen when null), nWidth by nHeight pixels.
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);

    HBITMAP GetSafeHandle() const { return static_cast<HBITMAP>(m_hObject); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
