// ViewGeometry: the hex view's pixel figures at a display's DPI. Window-free.
#pragma once

// The dump's figures at 96 DPI (15 pixels a line, 610 pixels of content, a 7-pixel character cell,
// 15-pixel horizontal steps, margins filled 128 pixels past the client), scaled by DPI / 96 and
// rounded to whole pixels. At 96 DPI they are exactly those figures.

#include <cstdint>

inline constexpr int32_t kBaseDpi = 96;

// pixelsAt96 * dpi / 96, rounded to the nearest pixel (halves up); a DPI below 1 counts as 96.
int32_t ScaleForDpi(int32_t pixelsAt96, int32_t dpi);

struct ViewGeometry {
    int32_t dpi;
    int32_t linePitch;
    int32_t contentWidth;  // of lines with eight offset digits
    int32_t charWidth;     // what each further offset digit adds to the content
    int32_t horizontalStep;
    int32_t marginOverhang;

    // The content width of lines whose offsets take `offsetDigits` digits.
    int32_t ContentWidthFor(int32_t offsetDigits) const;
};

ViewGeometry GeometryForDpi(int32_t dpi);
