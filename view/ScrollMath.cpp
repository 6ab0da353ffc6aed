// ScrollMath: the hex view's pages, clamps, steps, bar settings and line ranges.
#include "view/ScrollMath.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

int64_t SaturatingAdd(int64_t a, int64_t b) {
    if (b > 0 && a > kMax - b)
        return kMax;
    if (b < 0 && a < kMin - b)
        return kMin;
    return a + b;
}

int32_t ToInt32(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// a * b / c rounded to the nearest, for 0 <= a <= c and b >= 0, c > 0 (with c below 2^31), without
// forming the product: the result is at most b.
int64_t ScaleDown(int64_t a, int64_t b, int64_t c) {
    const int64_t whole = b / c;
    const int64_t rest = b % c;
    return a * whole + (a * rest + c / 2) / c;
}

}  // namespace

int64_t LineCountForLength(int64_t fileLength) {
    if (fileLength <= 0)
        return 0;
    return fileLength / 16 + (fileLength % 16 != 0 ? 1 : 0);
}

int32_t PageFromClientHeight(int32_t clientHeight, int32_t lineHeight) {
    const int64_t wholeLines = (int64_t{clientHeight} - (lineHeight - 1)) / lineHeight;
    return ToInt32(std::max<int64_t>(0, wholeLines * lineHeight));
}

AxisFit FitHorizontal(int32_t clientWidth, int32_t contentWidth, int64_t position) {
    if (clientWidth < contentWidth) {
        const int64_t limit = int64_t{contentWidth} - clientWidth;
        return {clientWidth, std::min(position, limit), contentWidth - 1};
    }
    return {0, 0, 0};
}

AxisFit FitVertical(int32_t page, int64_t contentHeight, int64_t position) {
    const int32_t rangeMax = VerticalBarScale(contentHeight, page).RangeMax();
    if (page < contentHeight)
        return {page, std::min(position, contentHeight - page), rangeMax};
    return {page, 0, rangeMax};
}

VerticalBarScale::VerticalBarScale(int64_t contentHeight, int32_t page, int32_t lineHeight)
    : m_scaled(contentHeight > kLargestUnscaledContent), m_lineHeight(lineHeight) {
    if (!m_scaled) {
        m_rangeMax = page < contentHeight ? static_cast<int32_t>(contentHeight - 1) : 0;
        m_barPage = page;
        return;
    }
    // The box keeps the page's share of the bar, at least one unit; its lowest position then
    // stands for the last page, and that is never more units than the lines above the last page.
    m_rangeMax = kScaledUnits - 1;
    const int64_t share = (int64_t{std::max(page, 0)} * kScaledUnits + contentHeight - 1) / contentHeight;
    m_barPage = page > 0 ? static_cast<int32_t>(std::max<int64_t>(share, 1)) : 0;
    m_maxTrack = m_barPage >= 1 ? kScaledUnits - m_barPage : kScaledUnits - 1;
    m_limitLines = std::max<int64_t>(0, contentHeight - std::max(page, 0)) / m_lineHeight;
}

int64_t VerticalBarScale::LineForTrack(int32_t track) const {
    if (m_maxTrack <= 0)
        return 0;
    return ScaleDown(std::clamp(track, 0, m_maxTrack), m_limitLines, m_maxTrack);
}

int64_t VerticalBarScale::PositionForTrack(int32_t track) const {
    if (!m_scaled)
        return track;
    return LineForTrack(track) * m_lineHeight;
}

int32_t VerticalBarScale::BarPosition(int64_t position) const {
    if (!m_scaled)
        return ToInt32(position);
    // The unit whose line lies nearest: LineForTrack rises by a line or more per unit, so the
    // unit of a line that a drag has shown is found exactly.
    const int64_t line = std::clamp<int64_t>(position / m_lineHeight, 0, m_limitLines);
    int32_t low = 0, high = m_maxTrack;  // the first unit whose line is at or below `line`
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (LineForTrack(middle) < line)
            low = middle + 1;
        else
            high = middle;
    }
    if (low > 0 && line - LineForTrack(low - 1) < LineForTrack(low) - line)
        return low - 1;
    return low;
}

int64_t RoundUpToWholeLine(int64_t y, int32_t lineHeight) {
    const int64_t rounded = SaturatingAdd(y, lineHeight - 1);
    return rounded / lineHeight * lineHeight;
}

std::optional<int64_t> RequestedScrollStep(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                           int64_t trackPosition) {
    switch (code) {
    case kScrollLineUp:
        return -int64_t{state.lineStep};
    case kScrollLineDown:
        return state.lineStep;
    case kScrollPageUp:
        return -int64_t{state.page};
    case kScrollPageDown:
        return state.page;
    case kScrollThumbTrack: {
        const int64_t target =
            axis == ScrollAxis::Vertical ? RoundUpToWholeLine(trackPosition, state.lineStep) : trackPosition;
        return SaturatingAdd(target, -state.position);
    }
    default:
        return std::nullopt;
    }
}

int64_t ClampScrollStep(const ScrollAxisState& state, int64_t step) {
    const int64_t limit = std::max<int64_t>(0, state.content - state.page);
    const int64_t target = SaturatingAdd(state.position, step);
    if (target < 0)
        return -state.position;
    if (target > limit)
        return limit - state.position;
    return step;
}

std::optional<int64_t> ScrollStepFor(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                     int64_t trackPosition) {
    const std::optional<int64_t> step = RequestedScrollStep(axis, code, state, trackPosition);
    if (!step)
        return std::nullopt;
    return ClampScrollStep(state, *step);
}

LineRange LinesToPaint(int64_t clipTop, int64_t clipBottom, int64_t lineCount, int32_t lineHeight) {
    const int64_t first = SaturatingAdd(clipTop, -(lineHeight - 1)) / lineHeight;
    const int64_t last = SaturatingAdd(clipBottom, lineHeight - 1) / lineHeight;
    return {std::max<int64_t>(first, 0), std::min(last, lineCount - 1)};
}

int64_t LineAtLogicalY(int64_t y, int64_t lineCount, int32_t lineHeight) {
    if (lineCount <= 0)
        return -1;
    return std::clamp<int64_t>(y / lineHeight, 0, lineCount - 1);
}
