// DockLayout: where the frame's bars go, as arithmetic on rectangles: how the client area is
// shared out between the docked bars and the view, and which side a bar dropped at a point
// docks to. No windows are involved, so the rules can be checked on their own.
//
// Use: the dock site lays its bars out with LayoutDockedBars; the dock context asks DockSideAt
// where a dragged bar would go. Both take and give sides as CBRS_ALIGN_* bits.
#pragma once

#include "framework/bars/BarStyle.h"
#include "framework/core/Geometry.h"

#include <vector>

// One bar docked along a side: a strip of the area the bars before it left.
struct DockedBar {
    DWORD dwSide = 0;    // CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT or CBRS_ALIGN_RIGHT
    int nThickness = 0;  // the height of a top or bottom bar, the width of a left or right one
    CRect rect;          // set by LayoutDockedBars: where the bar goes
};

// Gives each bar, in order, its strip along its side of what the bars before it left (so the
// first bars are the outermost): top and bottom bars span the remaining width, left and right
// bars the remaining height. A strip never reaches past the opposite edge. Returns the rest,
// for the view; it may be empty but is never inside out.
CRect LayoutDockedBars(const CRect& area, std::vector<DockedBar>& bars);

// The side of `area` that a bar dropped at `point` docks to: one of the sides in `allowed`
// (CBRS_ALIGN_* bits) whose edge lies within `reach` pixels of the point, inside or outside the
// area and along the edge's length; the nearest of them when several do (top, bottom, left,
// right on a tie). 0 when none does: the bar floats.
DWORD DockSideAt(const CRect& area, POINT point, DWORD allowed, int reach);
