// Device contexts, fonts, brushes and selections: drawn into memory bitmaps and real windows.

#include "framework/core/Exception.h"
#include "framework/docview/View.h"
#include "framework/window/Gdi.h"
#include "tests/win/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A memory device context with a screen-compatible bitmap selected.
struct Canvas {
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ hOldBitmap = nullptr;
    Canvas(int width, int height) {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(nullptr, width, height);
        hOldBitmap = dc.SelectObject(bitmap.GetSafeHandle());
    }
    ~Canvas() { dc.SelectObject(hOldBitmap); }
};

int FontHeight(const CFont& font) {
    LOGFONTW logFont{};
    font.GetObject(sizeof(logFont), &logFont);
    return logFont.lfHeight;
}
}  // namespace

TEST(FontTest, PointFontHeightFollowsTheScreenResolution) {
    HDC hScreen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(hScreen, LOGPIXELSY);
    ReleaseDC(nullptr, hScreen);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Courier New"));
    EXPECT_EQ(FontHeight(font), -(dpi * 90 / 720)) << "9 points at " << dpi << " dpi, as a character height";
    LOGFONTW logFont{};
    font.GetObject(sizeof(logFont), &logFont);
    EXPECT_STREQ(logFont.lfFaceName, L"Courier New");
    EXPECT_EQ(logFont.lfWeight, 0);
    EXPECT_EQ(logFont.lfItalic, 0);
    EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);
    EXPECT_FALSE(font.CreatePointFont(100, L"Arial")) << "one object, one font";

    // A window origin on the device context does not change the height.
    Canvas canvas(10, 10);
    canvas.dc.SetWindowOrg(500, 7000);
    CFont onCanvas;
    ASSERT_TRUE(onCanvas.CreatePointFont(90, L"Courier New", &canvas.dc));
    EXPECT_EQ(FontHeight(onCanvas), -(canvas.dc.GetDeviceCaps(LOGPIXELSY) * 90 / 720));
}

TEST(GdiObjectTest, OwnershipMovesAndEndsOnce) {
    CBrush first;
    ASSERT_TRUE(first.CreateSolidBrush(kRed));
    const HGDIOBJ hBrush = first.GetSafeHandle();
    CBrush second(std::move(first));
    EXPECT_EQ(first.GetSafeHandle(), nullptr);
    EXPECT_EQ(second.GetSafeHandle(), hBrush);
    CBrush third(kCyan);
    third = std::move(second);
    EXPECT_EQ(third.GetSafeHandle(), hBrush);
    EXPECT_EQ(GetObjectType(hBrush), static_cast<DWORD>(OBJ_BRUSH));
    third.DeleteObject();
    EXPECT_EQ(GetObjectType(hBrush), 0u) << "deleted";
    EXPECT_FALSE(third.DeleteObject());

    HGDIOBJ hDetached = nullptr;
    {
        CBrush brush(kWhite);
        hDetached = brush.Detach();
    }
    EXPECT_EQ(GetObjectType(hDetached), static_cast<DWORD>(OBJ_BRUSH)) << "detached objects stay";
    DeleteObject(hDetached);
}

TEST(DeviceContextTest, SelectionReturnsTheEarlierObjectWithoutOwningIt) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Courier New"));
    CFont other;
    ASSERT_TRUE(other.CreatePointFont(120, L"Courier New"));
    Canvas canvas(40, 20);
    const HGDIOBJ hOriginal = GetCurrentObject(canvas.dc, OBJ_FONT);
    {
        CDC dc;
        dc.Attach(canvas.dc.GetSafeHdc());
        CFont* pOld = dc.SelectObject(&font);
        ASSERT_NE(pOld, nullptr);
        EXPECT_EQ(pOld->GetSafeHandle(), hOriginal);
        CFont* pFont = dc.SelectObject(&other);
        ASSERT_NE(pFont, nullptr);
        EXPECT_EQ(pFont->GetSafeHandle(), font.GetSafeHandle());
        dc.SelectObject(pOld);
        dc.Detach();
    }
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), hOriginal);
    EXPECT_EQ(GetObjectType(font.GetSafeHandle()), static_cast<DWORD>(OBJ_FONT))
        << "the wrapper of an earlier selection deletes nothing";
    EXPECT_EQ(GetObjectType(other.GetSafeHandle()), static_cast<DWORD>(OBJ_FONT));
}

TEST(DeviceContextTest, SelectGuardRestoresBeforeTheObjectGoes) {
    Canvas canvas(40, 20);
    const HGDIOBJ hOriginal = GetCurrentObject(canvas.dc, OBJ_FONT);
    HGDIOBJ hFont = nullptr;
    {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(90, L"Courier New"));
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
        font.CreatePointFont(90, L"Courier New");
        CSelectGuard select(canvas.dc, font);
        throw CMemoryException();
    } catch (const CMemoryException&) {
    }
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), hOriginal);
}

TEST(DeviceContextTest, WindowOriginMovesDrawingAndConversions) {
    Canvas canvas(50, 50);
    CRect all(0, 0, 50, 50);
    CBrush white(kWhite);
    canvas.dc.FillRect(&all, &white);

    EXPECT_EQ(canvas.dc.SetWindowOrg(30, 150), CPoint(0, 0));
    EXPECT_EQ(canvas.dc.GetWindowOrg(), CPoint(30, 150));
    CBrush red(kRed);
    CRect logical(30, 150, 32, 152);  // the logical point at the top-left device pixel
    canvas.dc.FillRect(&logical, &red);
    EXPECT_EQ(canvas.dc.GetPixel(30, 150), kRed);
    canvas.dc.SetWindowOrg(0, 0);
    EXPECT_EQ(canvas.dc.GetPixel(0, 0), kRed);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), kRed);
    EXPECT_EQ(canvas.dc.GetPixel(2, 2), kWhite);

    // Device to logical: a click at client y = 20 with the view at 150 is logical y 170.
    canvas.dc.SetWindowOrg(0, 150);
    CPoint click(7, 20);
    canvas.dc.DPtoLP(&click);
    EXPECT_EQ(click, CPoint(7, 170));
    CRect clip;
    EXPECT_NE(canvas.dc.GetClipBox(&clip), ERROR);
    EXPECT_EQ(clip, CRect(0, 150, 50, 200)) << "the clip box is logical";
}

TEST(DeviceContextTest, OpaqueTextFillsItsCellsWithTheBackgroundColour) {
    Canvas canvas(200, 30);
    CRect all(0, 0, 200, 30);
    canvas.dc.FillSolidRect(&all, kRed);
    EXPECT_EQ(canvas.dc.GetPixel(100, 20), kRed);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, L"Courier New"));
    CSelectGuard select(canvas.dc, font);
    EXPECT_EQ(canvas.dc.GetBkMode(), OPAQUE);
    canvas.dc.SetBkColor(kCyan);
    EXPECT_EQ(canvas.dc.GetBkColor(), kCyan);
    // The view's 8-bit line text goes through the ANSI constructor.
    const CString line("....");
    ASSERT_TRUE(canvas.dc.TextOut(0, 0, line));
    const CSize extent = canvas.dc.GetTextExtent(line);
    EXPECT_GT(extent.cx, 0);
    EXPECT_EQ(canvas.dc.GetPixel(1, 1), kCyan) << "the cell background, not the red behind it";
    EXPECT_EQ(canvas.dc.GetPixel(extent.cx + 2, 1), kRed) << "nothing drawn past the text";
    EXPECT_EQ(canvas.dc.GetPixel(1, extent.cy + 2), kRed);
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
        dc.FillSolidRect(&box, kCyan);
        EXPECT_EQ(dc.GetPixel(2, 2), kCyan);
    }
}
