// Gdi: the GDI wrappers: CGdiObject and its kinds CFont, CBrush and CBitmap, move-only owners of
// GDI objects; CDC, CPaintDC, CClientDC and CWindowDC, device contexts; and CSelectGuard, what is
// selected into them. One unit: the guard selects the objects into a device context, and a bitmap
// is made compatible with one (the screen's when none is given).
#pragma once

#include "framework/core/Geometry.h"
#include "framework/core/String.h"

#include <windows.h>

class CDC;
class CWnd;

// Move-only owners of GDI objects.
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
    // Deletes the object now (nothing when there is none).
    BOOL DeleteObject();

    HGDIOBJ m_hObject = nullptr;
};

class CFont : public CGdiObject {
public:
    CFont() = default;

    // A font of nPointSize tenths of a point for a display of `dpi` dots an inch (a window's,
    // which may differ from the screen's), in the device's own units. The other attributes are
    // the defaults: normal weight, upright, the system's default character set.
    BOOL CreatePointFontForDpi(int nPointSize, LPCWSTR lpszFaceName, UINT dpi);
    BOOL CreateFontIndirect(const LOGFONTW* lpLogFont);

    HFONT GetSafeHandle() const { return static_cast<HFONT>(m_hObject); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;

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

// ---------------------------------------------------------------------------------------------
// Device contexts
// ---------------------------------------------------------------------------------------------

// A device context. Wraps one that someone else releases (CDC(HDC), CPaintDC, CClientDC,
// CWindowDC), or owns a memory device context that it made itself (CreateCompatibleDC).
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    // Deletes a memory device context that this object made; leaves others alone.
    virtual ~CDC();

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Makes an owned memory device context compatible with pDC (the screen when null).
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    // Coordinates.
    // The window origin; returns the earlier one.
    CPoint SetWindowOrg(int x, int y);
    // The smallest rectangle around the clip region, in logical units; returns the region's
    // kind (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
    int GetClipBox(LPRECT lpRect) const;

    // Selection: see CSelectGuard, which selects the earlier object back before the selected
    // one is deleted.

    // Colours and text.
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF SetTextColor(COLORREF crColor);
    BOOL TextOut(int x, int y, const CString& str);
    BOOL TextOut(int x, int y, LPCWSTR lpszString, int nCount);
    CSize GetTextExtent(const CString& str) const;
    BOOL GetTextMetrics(LPTEXTMETRICW lpMetrics) const;

    // Drawing.
    void FillRect(LPCRECT lpRect, CBrush* pBrush);

    HDC m_hDC = nullptr;

private:
    bool m_bOwned = false;  // a memory device context made by CreateCompatibleDC
};

// The device context of a WM_PAINT: BeginPaint in the constructor, EndPaint in the destructor
// (also when an exception leaves the painting). Its clip region is the area to repaint.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

protected:
    HWND m_hWnd;
};

// A window's device context that ReleaseDC gives back in the destructor: the common part of
// CClientDC and CWindowDC, which differ only in the call that gets it. A null window gives the
// screen's.
class CWindowReleasedDC : public CDC {
public:
    ~CWindowReleasedDC() override;

protected:
    using GetDcFunction = HDC(WINAPI*)(HWND);
    CWindowReleasedDC(CWnd* pWnd, GetDcFunction pfnGetDC);

    HWND m_hWnd;
};

// The client-area device context of a window: GetDC in the constructor, ReleaseDC in the
// destructor.
class CClientDC : public CWindowReleasedDC {
public:
    explicit CClientDC(CWnd* pWnd) : CWindowReleasedDC(pWnd, &::GetDC) {}
};

// The whole window's device context, non-client area (borders, caption) included:
// GetWindowDC in the constructor, ReleaseDC in the destructor.
class CWindowDC : public CWindowReleasedDC {
public:
    explicit CWindowDC(CWnd* pWnd) : CWindowReleasedDC(pWnd, &::GetWindowDC) {}
};

// Selects a GDI object into a device context for its own lifetime and selects the earlier one
// back when it ends. Declare the object before the guard, so the guard ends first:
//     CFont font;  font.CreatePointFont(90, L"Courier New");
//     CSelectGuard select(dc, font);
class CSelectGuard {
public:
    CSelectGuard(CDC& dc, CGdiObject& object) : CSelectGuard(dc.GetSafeHdc(), object.GetSafeHandle()) {}
    CSelectGuard(HDC hDC, HGDIOBJ hObject);
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;
    ~CSelectGuard() { Restore(); }

    // Whether the selection took place.
    bool Selected() const { return m_hPrevious != nullptr; }
    HGDIOBJ GetPrevious() const { return m_hPrevious; }
    // Selects the earlier object back now (once).
    void Restore();

private:
    HDC m_hDC;
    HGDIOBJ m_hPrevious = nullptr;
};
