#include "view/ScrollMath.h"

#include <algorithm>
#include <limits>

namespace {

int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t LineCountForLength(int32_t fileLength) {
    return Saturate(std::max<int64_t>(0, (int64_t{fileLength} + 15) / 16));
}

int32_t PageFromClientHeight(int32_t clientHeight) {
    const int64_t wholeLines = (int64_t{clientHeight} - (kDumpLineHeight - 1)) / kDumpLineHeight;
    return Saturate(std::max<int64_t>(0, wholeLines * kDumpLineHeight));
}

AxisFit FitHorizontal(int32_t clientWidth, int32_t contentWidth, int32_t position) {
    if (clientWidth < contentWidth) {
        const int64_t limit = int64_t{contentWidth} - clientWidth;
        return {clientWidth, Saturate(std::min<int64_t>(position, limit)), contentWidth - 1};
    }
    return {0, 0, 0};
}

AxisFit FitVertical(int32_t page, int32_t contentHeight, int32_t position) {
    if (page < contentHeight) {
        const int64_t limit = int64_t{contentHeight} - page;
        return {page, Saturate(std::min<int64_t>(position, limit)), contentHeight - 1};
    }
    return {page, 0, 0};
}

int32_t RoundUpToWholeLine(int32_t y) {
    return Saturate((int64_t{y} + (kDumpLineHeight - 1)) / kDumpLineHeight * kDumpLineHeight);
}

std::optional<int32_t> RequestedScrollStep(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                           int32_t trackPosition) {
    switch (code) {
    case kScrollLineUp:
        return Saturate(-int64_t{state.lineStep});
    case kScrollLineDown:
        return state.lineStep;
    case kScrollPageUp:
        return Saturate(-int64_t{state.page});
    case kScrollPageDown:
        return state.page;
    case kScrollThumbTrack: {
        const int32_t target = axis == ScrollAxis::Vertical ? RoundUpToWholeLine(trackPosition) : trackPosition;
        return Saturate(int64_t{target} - state.position);
    }
    default:
        return std::nullopt;
    }
}

int32_t ClampScrollStep(const ScrollAxisState& state, int32_t step) {
    const int64_t limit = std::max<int64_t>(0, int64_t{state.content} - state.page);
    const int64_t target = int64_t{state.position} + step;
    if (target < 0)
        return Saturate(-int64_t{state.position});
    if (target > limit)
        return Saturate(limit - state.position);
    return step;
}

std::optional<int32_t> ScrollStepFor(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                     int32_t trackPosition) {
    const std::optional<int32_t> step = RequestedScrollStep(axis, code, state, trackPosition);
    if (!step)
        return std::nullopt;
    return ClampScrollStep(state, *step);
}

LineRange LinesToPaint(int32_t clipTop, int32_t clipBottom, int32_t lineCount) {
    const int64_t first = (int64_t{clipTop} - (kDumpLineHeight - 1)) / kDumpLineHeight;
    const int64_t last = (int64_t{clipBottom} + (kDumpLineHeight - 1)) / kDumpLineHeight;
    const int64_t lastLine = int64_t{lineCount} - 1;
    return {Saturate(std::max<int64_t>(first, 0)), Saturate(std::min(last, lastLine))};
}

int32_t LineAtLogicalY(int32_t y, int32_t lineCount) {
    if (lineCount <= 0)
        return -1;
    return std::clamp(y / kDumpLineHeight, 0, lineCount - 1);
}
