#pragma once

// What a painted hex view must show, for tests that compare its pixels with the dump text they
// expect (drawn with the view's font into a bitmap of their own).

#include "tests/win/ViewFixture.h"
#include "view/ScrollMath.h"

#include <gtest/gtest.h>

#include <string>

inline constexpr COLORREF kDumpCyan = RGB(0, 255, 255);
inline constexpr COLORREF kDumpWhite = RGB(255, 255, 255);

// The text of the line at `offset` of a view that holds `viewLength` as the file's length, when
// the file has `bytes` there (at most 16; fewer where the file ends): cells past what the file
// has are blank, whatever the view read for another line before. The offset takes the digits the
// file's last line needs.
std::string ExpectedLine(int64_t offset, const std::string& bytes, int64_t viewLength);

// Whether the band of client rows that starts at `top` shows `text` on `background`, drawn in the
// dump's font at the screen's DPI, its cell cut to the line pitch; and, where the cell is lower
// than the pitch, white below it.
::testing::AssertionResult ShowsLine(const ViewFixture::Picture& picture, int top, const std::string& text,
                                     COLORREF background, int pitch = kDumpLineHeight);

// Whether every pixel from row `top` down is white.
::testing::AssertionResult WhiteFrom(const ViewFixture::Picture& picture, int top);
