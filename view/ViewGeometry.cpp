// ViewGeometry: the view's pixel figures scaled to a DPI.
#include "view/ViewGeometry.h"

#include "view/DumpLine.h"
#include "view/ScrollMath.h"

#include <algorithm>

namespace {
constexpr int32_t kHorizontalStepAt96 = 15;
constexpr int32_t kMarginOverhangAt96 = 128;
}  // namespace

int32_t ScaleForDpi(int32_t pixelsAt96, int32_t dpi) {
    constexpr int64_t kTwiceBase = int64_t{2} * kBaseDpi;
    const int64_t scaled = (int64_t{pixelsAt96} * (dpi >= 1 ? dpi : kBaseDpi) * 2 + kBaseDpi) / kTwiceBase;
    return static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

int32_t ViewGeometry::ContentWidthFor(int32_t offsetDigits) const {
    return contentWidth + charWidth * std::max(0, offsetDigits - kMinOffsetDigits);
}

ViewGeometry GeometryForDpi(int32_t dpi) {
    const int32_t effective = dpi >= 1 ? dpi : kBaseDpi;
    return {effective,
            ScaleForDpi(kDumpLineHeight, effective),
            ScaleForDpi(kDumpContentWidth, effective),
            ScaleForDpi(kDumpCharWidth, effective),
            ScaleForDpi(kHorizontalStepAt96, effective),
            ScaleForDpi(kMarginOverhangAt96, effective)};
}
