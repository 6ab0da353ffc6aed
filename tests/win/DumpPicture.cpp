#include "tests/win/DumpPicture.h"

#include "view/DumpLine.h"
#include "view/ScrollMath.h"

#include <algorithm>
#include <array>

namespace {
bool IsAlnumInCodePage(unsigned char byte) {
    return IsCharAlphaNumericA(static_cast<CHAR>(byte)) != FALSE;
}
}  // namespace

std::string ExpectedLine(int64_t offset, const std::string& bytes, int64_t viewLength) {
    std::array<uint8_t, 16> cells{};
    const size_t filled = std::min<size_t>(bytes.size(), 16);
    std::copy_n(bytes.begin(), filled, cells.begin());
    return FormatDumpLine(offset, cells, DumpLineValidCount(offset, viewLength), &IsAlnumInCodePage,
                          static_cast<int32_t>(filled), OffsetDigitsForLength(viewLength));
}

// Draws a line text as the view draws its lines (same font, opaque background) and compares the
// band with the rows of the painted view that start at `top`.
::testing::AssertionResult ShowsLine(const ViewFixture::Picture& picture, int top, const std::string& text,
                                     COLORREF background, int pitch) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, pitch);
    const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    CFont font;
    font.CreatePointFontForDpi(90, L"Courier New", static_cast<UINT>(screenDpi));
    HGDIOBJ oldFont = SelectObject(memory, font.GetSafeHandle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(memory, &metrics);
    SetBkColor(memory, background);
    const CString wide{std::string_view(text)};
    TextOutW(memory, 0, 0, wide.GetString(), wide.GetLength());
    const int bandHeight = std::min<int>(metrics.tmHeight, pitch);
    const int bandWidth = std::min<int>(picture.width, metrics.tmAveCharWidth * static_cast<int>(text.size()));
    std::string fault;
    for (int y = 0; y < bandHeight && fault.empty(); ++y) {
        if (top + y < 0 || top + y >= picture.height)
            continue;
        for (int x = 0; x < bandWidth; ++x) {
            const COLORREF want = GetPixel(memory, x, y);
            const COLORREF got = picture.At(x, top + y);
            if (want != got) {
                fault = "pixel (" + std::to_string(x) + ", " + std::to_string(top + y) + ") is " + std::to_string(got) +
                        ", not " + std::to_string(want);
                break;
            }
        }
    }
    // Below a cell lower than the pitch, white (over the content's width at least).
    for (int y = bandHeight; y < pitch && fault.empty(); ++y) {
        if (top + y < 0 || top + y >= picture.height)
            continue;
        for (int x = 0; x < bandWidth; ++x)
            if (picture.At(x, top + y) != kDumpWhite) {
                fault =
                    "pixel (" + std::to_string(x) + ", " + std::to_string(top + y) + ") below the cell is not white";
                break;
            }
    }
    SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (fault.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the band at y " << top << " does not read \"" << text << "\": " << fault;
}

::testing::AssertionResult WhiteFrom(const ViewFixture::Picture& picture, int top) {
    for (int y = std::max(top, 0); y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.At(x, y) != kDumpWhite)
                return ::testing::AssertionFailure() << "not white at (" << x << ", " << y << ")";
    return ::testing::AssertionSuccess();
}
