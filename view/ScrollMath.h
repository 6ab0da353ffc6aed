#pragma once
// Scroll arithmetic of the hex view: line count, pages, bar settings, the
// step of each scroll request and its clamp, the lines to paint, hit lines.
//
// Every quantity is a 32-bit signed pixel or line figure; divisions truncate
// toward zero. Intermediate sums are worked out in 64 bits, so no input,
// however far out of the view's range, overflows.

#include <cstdint>
#include <optional>

inline constexpr int32_t kDumpLineHeight = 15;     // pixels per dump line
inline constexpr int32_t kDumpContentWidth = 610;  // fixed, not measured from the font

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
int32_t LineCountForLength(int32_t fileLength);

// Vertical page for a client height: whole lines, leaving out a line that
// would be shown for less than its full height plus one pixel;
// 15 * ((cy - 14) / 15), and 0 for heights up to 28 (never negative).
int32_t PageFromClientHeight(int32_t clientHeight);

// One axis after a size change: what the view keeps and what the bar gets
// (range 0..rangeMax, page, position). rangeMax 0 hides the bar.
struct AxisFit {
    int32_t page;
    int32_t position;
    int32_t rangeMax;
};

// Horizontal: the page is the client width while it is narrower than the
// content, otherwise 0 with the position back at 0.
AxisFit FitHorizontal(int32_t clientWidth, int32_t contentWidth, int32_t position);

// Vertical: the page is always `page`; the position is lowered so that the
// last page stays full (growing the window at the end of the content), and is
// 0 when the content fits into the page.
AxisFit FitVertical(int32_t page, int32_t contentHeight, int32_t position);

// One axis as a scroll request sees it.
struct ScrollAxisState {
    int32_t position;
    int32_t page;
    int32_t content;
    int32_t lineStep;
};

// Moves a thumb position up to the next whole line (a whole line stays).
int32_t RoundUpToWholeLine(int32_t y);

// The step a request asks for before the clamp, or nullopt for a request the
// view ignores altogether (thumb release, top, bottom, end of scroll, any
// unknown code). `trackPosition` is read only for kScrollThumbTrack; vertical
// thumb positions are rounded up to a whole line.
std::optional<int32_t> RequestedScrollStep(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                           int32_t trackPosition);

// Cuts a step so that the position stays within 0..max(0, content - page).
int32_t ClampScrollStep(const ScrollAxisState& state, int32_t step);

// RequestedScrollStep followed by ClampScrollStep.
std::optional<int32_t> ScrollStepFor(ScrollAxis axis, int32_t code, const ScrollAxisState& state,
                                     int32_t trackPosition);

// Lines to paint for a clip box given in logical y: every line that crosses
// it, and at most one more at either end. Empty when first > last.
struct LineRange {
    int32_t first;
    int32_t last;
    bool Empty() const { return first > last; }
};
LineRange LinesToPaint(int32_t clipTop, int32_t clipBottom, int32_t lineCount);

// Line under a logical y: y / 15, limited to the last line; -1 when there
// are no lines. A y above the content (never produced by a click) gives 0.
int32_t LineAtLogicalY(int32_t y, int32_t lineCount);
