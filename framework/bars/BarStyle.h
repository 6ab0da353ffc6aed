// BarStyle: the bar style bits (CBRS_*) and what they say: the side a bar is docked on, whether
// it lies horizontally, the style of a bar placed on a side, and the side a dock bar id names.
//
// Use: a bar's style is given when it is created (CToolBar::CreateEx, CStatusBar::Create) and
// read back with CControlBar::GetBarStyle. The frame and the dock context set the side bits
// (PlacedBarStyle) as the bar moves; the rest stays as given.
#pragma once

#include "framework/core/FrameworkIds.h"

#include <windows.h>

#include <initializer_list>

// Bar styles. They live in the bar object, not in the window's style: the low word and
// CBRS_GRIPPER would mean other things to the common controls.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;  // tooltips from the string table
constexpr DWORD CBRS_FLYBY = 0x0020;     // the status bar shows the prompt of the item under the mouse
constexpr DWORD CBRS_FLOATING = 0x0001;  // the bar lives in a floating window of its own
// Accepted, as the main frame passes it, and has no effect: a docked bar is as long as its
// side, a floating one as its items.
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_GRIPPER = 0x00400000;  // a handle drawn at the bar's leading edge
// A side, with the border toward the view.
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
// Every bit that is a bar style rather than a window style.
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// Whether a bar of this style, or docked on this side (a CBRS_ALIGN_* bit), lies horizontally:
// anywhere but on the left or right side. A floating bar is a row.
constexpr bool IsHorizontalBarStyle(DWORD dwBarStyleOrSide) {
    return (dwBarStyleOrSide & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0;
}

// The side a bar style names (top, bottom, left or right, in that order), or 0 for none.
constexpr DWORD DockSideOfStyle(DWORD dwBarStyle) {
    for (DWORD side : {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT})
        if (dwBarStyle & side)
            return side;
    return 0;
}

// The bar style of a bar docked on dwSide (its border toward the view), or floating when dwSide
// is 0 (a row without borders); the rest of dwBarStyle is kept.
constexpr DWORD PlacedBarStyle(DWORD dwBarStyle, DWORD dwSide) {
    const DWORD kept = dwBarStyle & ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY | CBRS_FLOATING);
    switch (dwSide) {
    case CBRS_ALIGN_TOP:
        return kept | CBRS_TOP;
    case CBRS_ALIGN_BOTTOM:
        return kept | CBRS_BOTTOM;
    case CBRS_ALIGN_LEFT:
        return kept | CBRS_LEFT;
    case CBRS_ALIGN_RIGHT:
        return kept | CBRS_RIGHT;
    default:
        return kept | CBRS_FLOATING | CBRS_ALIGN_TOP;
    }
}

// The side (CBRS_ALIGN_*) that a frame's dock bar id (AFX_IDW_DOCKBAR_*) names; 0 for any other id.
constexpr DWORD SideOfDockBarId(UINT nDockBarID) {
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        return CBRS_ALIGN_TOP;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return CBRS_ALIGN_BOTTOM;
    case AFX_IDW_DOCKBAR_LEFT:
        return CBRS_ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return CBRS_ALIGN_RIGHT;
    default:
        return 0;
    }
}
