// ScrollMath: the scroll arithmetic of the hex view: line count, pages, bar settings, the step of
// each scroll request and its clamp, the lines to paint, hit lines. Window-free.
#pragma once

// Positions, extents, line counts and steps are 64-bit, so every line of a
// file of any length (up to 2^63 - 1 bytes) has its place; client sizes and
// pages are 32-bit. Divisions truncate toward zero. The platform's scroll bar
// holds only 32-bit positions: content taller than that is shown on a scaled
// bar (VerticalBarScale), while the view itself keeps exact positions.

#include <cstdint>
#include <optional>

inline constexpr int32_t kDumpLineHeight = 15;     // pixels per dump line
inline constexpr int32_t kDumpContentWidth = 610;  // fixed, not measured from the font
// One character cell of the dump's font, for the extra offset digits of files past 4 GiB: the
// content grows by this much per digit.
inline constexpr int32_t kDumpCharWidth = 7;

// Scroll request codes, with the values the scroll-bar messages carry
// (SB_LINEUP/SB_LINELEFT = 0 ... SB_ENDSCROLL = 8).
inline constexpr int32_t kScrollLineUp = 0;
inline constexpr int32_t kScrollLineDown = 1;
inline constexpr int32_t kScrollPageUp = 2;
inline constexpr int32_t kScrollPageDown = 3;
inline constexpr int32_t kScrollThumbPosition = 4;
inline constexpr int32_t kScrollThumbTrack = 5;
inline constexpr int32_t kScrollTop = 6;
inline constexpr int32_t kScrollBottom = 7;
inline constexpr int32_t kScrollEndScroll = 8;

enum class ScrollAxis { Horizontal, Vertical };

// Dump lines of a file of `fileLength` bytes, (length + 15) / 16: 0 with no
// file (-1) or an empty file; never negative.
int64_t LineCountForLength(int64_t fileLength);

// Vertical page for a client height: whole lines, leaving out a line that
// would be shown for less than its full height plus one pixel;
// 15 * ((cy - 14) / 15), and 0 for heights up to 28 (never negative). The
// line height is the line pitch of the display's DPI (ViewGeometry).
int32_t PageFromClientHeight(int32_t clientHeight, int32_t lineHeight = kDumpLineHeight);

// One axis after a size change: what the view keeps (page, position) and the
// bar's range maximum (0 hides the bar).
struct AxisFit {
    int32_t page;
    int64_t position;
    int32_t rangeMax;
};

// Horizontal: the page is the client width while it is narrower than the
// content, otherwise 0 with the position back at 0.
AxisFit FitHorizontal(int32_t clientWidth, int32_t contentWidth, int64_t position);

// Vertical: the page is always `page`; the position is lowered so that the
// last page stays full (growing the window at the end of the content), and is
// 0 when the content fits into the page. The range maximum is the bar's
// (VerticalBarScale).
AxisFit FitVertical(int32_t page, int64_t contentHeight, int64_t position);

// The vertical scroll bar for content of `contentHeight` pixels and a page of
// `page` pixels. Content of up to 2^31 - 1 pixels is counted on the bar in
// pixels: range 0..content - 1, the page, the position itself. Taller content
// is counted in 2^27 units (fewer than its lines, so each unit stands for a
// line or more) and the box moves through the file in proportion: at its top
// the view shows line 0, at its bottom exactly the last page.
class VerticalBarScale {
public:
    static constexpr int64_t kLargestUnscaledContent = INT32_MAX;
    static constexpr int32_t kScaledUnits = int32_t{1} << 27;

    VerticalBarScale(int64_t contentHeight, int32_t page, int32_t lineHeight = kDumpLineHeight);

    bool Scaled() const { return m_scaled; }
    int32_t RangeMax() const { return m_rangeMax; }
    int32_t Page() const { return m_barPage; }
    // The box position that shows the view position `position` (0..limit).
    int32_t BarPosition(int64_t position) const;
    // The view position a box dragged to `track` asks for: the track itself on
    // an unscaled bar (the scroll request rounds it up to a whole line), a
    // whole line in proportion on a scaled one.
    int64_t PositionForTrack(int32_t track) const;

private:
    int64_t LineForTrack(int32_t track) const;

    bool m_scaled = false;
    int32_t m_rangeMax = 0;
    int32_t m_barPage = 0;
    int32_t m_maxTrack = 0;    // scaled: the box's lowest position
    int64_t m_limitLines = 0;  // scaled: the top line of the last page
    int32_t m_lineHeight = kDumpLineHeight;
};

// One axis as a scroll request sees it.
struct ScrollAxisState {
    int64_t position;
    int32_t page;
    int64_t content;
    int32_t lineStep;
};

// Moves a thumb position up to the next whole line (a whole line stays).
int64_t RoundUpToWholeLine(int64_t y, int32_t lineHeight = kDumpLineHeight);

// The step a request asks for before the clamp, or nullopt for a request the
// view ignores altogether (thumb release, top, bottom, end of scroll, any
// unknown code). `trackPosition`, in view pixels (VerticalBarScale::
// PositionForTrack), is read only for kScrollThumbTrack; vertical thumb
// positions are rounded up to a whole line (of the state's line step).
std::optional<int64_t> RequestedScrollStep(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                           int64_t trackPosition);

// Cuts a step so that the position stays within 0..max(0, content - page).
int64_t ClampScrollStep(const ScrollAxisState& state, int64_t step);

// RequestedScrollStep followed by ClampScrollStep.
std::optional<int64_t> ScrollStepFor(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                     int64_t trackPosition);

// Lines to paint for a clip box given in logical y: every line that crosses
// it, and at most one more at either end. Empty when first > last.
struct LineRange {
    int64_t first;
    int64_t last;
    bool Empty() const { return first > last; }
};
LineRange LinesToPaint(int64_t clipTop, int64_t clipBottom, int64_t lineCount, int32_t lineHeight = kDumpLineHeight);

// Line under a logical y: y / 15, limited to the last line; -1 when there
// are no lines. A y above the content (never produced by a click) gives 0.
int64_t LineAtLogicalY(int64_t y, int64_t lineCount, int32_t lineHeight = kDumpLineHeight);
