// Device contexts, fonts, brushes and selections: drawn into memory bitmaps and real windows.

#include "framework/core/Exception.h"
#include "framework/docview/View.h"
#include "framework/window/Gdi.h"
#include "tests/win/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A memory device context with a screen-compatible bitmap selected.
struct Canvas {
    CDC dc;
    CBitmap bitmap;
    std::optional<CSelectGuard> select;
    Canvas(int width, int height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(nullptr, width, height);
        select.emplace(dc, bitmap);
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(dc, x, y); }
};

CBrush SolidBrush(COLORREF color) {
    CBrush brush;
    EXPECT_TRUE(brush.CreateSolidBrush(color));
    return brush;
}

LOGFONTW FontOf(const CFont& font) {
    LOGFONTW logFont{};
    GetObjectW(font.GetSafeHandle(), sizeof(logFont), &logFont);
    return logFont;
}
}  // namespace

TEST(FontTest, PointFontHeightFollowsTheDisplayResolution) {
    for (const UINT dpi : {96u, 120u, 144u, 192u}) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFontForDpi(90, L"Courier New", dpi));
        const LOGFONTW logFont = FontOf(font);
        EXPECT_EQ(logFont.lfHeight, -static_cast<LONG>(dpi * 90 / 720))
            << "9 points at " << dpi << " dpi, as a character height";
        EXPECT_STREQ(logFont.lfFaceName, L"Courier New");
        EXPECT_EQ(logFont.lfWeight, 0);
        EXPECT_EQ(logFont.lfItalic, 0);
        EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);
        EXPECT_FALSE(font.CreatePointFontForDpi(100, L"Arial", dpi)) << "one object, one font";
    }
}

TEST(GdiObjectTest, OwnershipMovesAndEndsOnce) {
    CBrush first;
    ASSERT_TRUE(first.CreateSolidBrush(kRed));
    const HGDIOBJ hBrush = first.GetSafeHandle();
    CBrush second(std::move(first));
    EXPECT_EQ(first.GetSafeHandle(), nullptr);
    EXPECT_EQ(second.GetSafeHandle(), hBrush);
    CBrush third = SolidBrush(kCyan);
    third = std::move(second);
    EXPECT_EQ(third.GetSafeHandle(), hBrush);
    EXPECT_EQ(GetObjectType(hBrush), static_cast<DWORD>(OBJ_BRUSH));
    third.DeleteObject();
    EXPECT_EQ(GetObjectType(hBrush), 0u) << "deleted";
    EXPECT_FALSE(third.DeleteObject());

    HGDIOBJ hDetached = nullptr;
    {
        CBrush brush = SolidBrush(kWhite);
        hDetached = brush.Detach();
    }
    EXPECT_EQ(GetObjectType(hDetached), static_cast<DWORD>(OBJ_BRUSH)) << "detached objects stay";
    DeleteObject(hDetached);
}

TEST(DeviceContextTest, SelectGuardRestoresBeforeTheObjectGoes) {
    Canvas canvas(40, 20);
    const HGDIOBJ hOriginal = GetCurrentObject(canvas.dc, OBJ_FONT);
    HGDIOBJ hFont = nullptr;
    {
        CFont font;
        ASSERT_TRUE(font.CreatePointFontForDpi(90, L"Courier New", 96));
        hFont = font.GetSafeHandle();
        CSelectGuard select(canvas.dc, font);
        EXPECT_TRUE(select.Selected());
        EXPECT_EQ(select.GetPrevious(), hOriginal);
        EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), hFont);
    }
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), hOriginal);
    EXPECT_EQ(GetObjectType(hFont), 0u) << "restored first, so the font could be deleted";

    // Also when an exception leaves the scope.
    try {
        CFont font;
        font.CreatePointFontForDpi(90, L"Courier New", 96);
        CSelectGuard select(canvas.dc, font);
        throw CMemoryException();
    } catch (const CMemoryException&) {
    }
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), hOriginal);
}

TEST(DeviceContextTest, WindowOriginMovesDrawingAndTheClipBox) {
    Canvas canvas(50, 50);
    CRect all(0, 0, 50, 50);
    CBrush white = SolidBrush(kWhite);
    canvas.dc.FillRect(&all, &white);

    EXPECT_EQ(canvas.dc.SetWindowOrg(30, 150), CPoint(0, 0));
    CPoint origin;
    GetWindowOrgEx(canvas.dc, &origin);
    EXPECT_EQ(origin, CPoint(30, 150));
    CBrush red = SolidBrush(kRed);
    CRect logical(30, 150, 32, 152);  // the logical point at the top-left device pixel
    canvas.dc.FillRect(&logical, &red);
    EXPECT_EQ(canvas.Pixel(30, 150), kRed);
    EXPECT_EQ(canvas.dc.SetWindowOrg(0, 0), CPoint(30, 150));
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);
    EXPECT_EQ(canvas.Pixel(1, 1), kRed);
    EXPECT_EQ(canvas.Pixel(2, 2), kWhite);

    canvas.dc.SetWindowOrg(0, 150);
    CRect clip;
    EXPECT_NE(canvas.dc.GetClipBox(&clip), ERROR);
    EXPECT_EQ(clip, CRect(0, 150, 50, 200)) << "the clip box is logical";
}

TEST(DeviceContextTest, OpaqueTextFillsItsCellsWithTheBackgroundColour) {
    Canvas canvas(200, 30);
    CRect all(0, 0, 200, 30);
    CBrush red = SolidBrush(kRed);
    canvas.dc.FillRect(&all, &red);
    EXPECT_EQ(canvas.Pixel(100, 20), kRed);

    CFont font;
    ASSERT_TRUE(font.CreatePointFontForDpi(90, L"Courier New", 96));
    CSelectGuard select(canvas.dc, font);
    EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);
    EXPECT_EQ(canvas.dc.SetBkColor(kCyan), kWhite) << "a new device context's background is white";
    EXPECT_EQ(GetBkColor(canvas.dc), kCyan);
    // The view's 8-bit line text goes through the ANSI constructor.
    const CString line("....");
    ASSERT_TRUE(canvas.dc.TextOut(0, 0, line));
    const CSize extent = canvas.dc.GetTextExtent(line);
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(canvas.Pixel(1, 1), kCyan) << "the cell background, not the red behind it";
    EXPECT_EQ(canvas.Pixel(extent.cx + 2, 1), kRed) << "nothing drawn past the text";
    EXPECT_EQ(canvas.Pixel(1, extent.cy + 2), kRed);
}

namespace {
class CClientPainter : public CWnd {
public:
    CRect clipSeen;
    int paints = 0;
    afx_msg void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        dc.GetClipBox(&clipSeen);
    }
    afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CClientPainter, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()
}  // namespace

TEST(DeviceContextTest, PaintAndClientContextsPairTheirCalls) {
    CClientPainter wnd;
    ASSERT_TRUE(CreateTestWindow(wnd, 300, 200, WS_POPUP));
    PumpMessages(50);
    CRect strip(0, 100, 300, 115);
    wnd.InvalidateRect(&strip, FALSE);
    const int before = wnd.paints;
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, before + 1);
    EXPECT_EQ(wnd.clipSeen, strip) << "the paint context is clipped to the invalid strip";
    EXPECT_FALSE(GetUpdateRect(wnd.m_hWnd, nullptr, FALSE)) << "EndPaint validated it";

    // A client context draws straight onto the window and is released with its object.
    {
        CClientDC dc(&wnd);
        ASSERT_NE(dc.GetSafeHdc(), nullptr);
        CRect box(0, 0, 5, 5);
        CBrush cyan = SolidBrush(kCyan);
        dc.FillRect(&box, &cyan);
        EXPECT_EQ(GetPixel(dc, 2, 2), kCyan);
    }
}
