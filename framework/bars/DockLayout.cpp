// DockLayout: the docked bars' strips, and the side a dropped bar docks to.
#include "framework/bars/DockLayout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

CRect LayoutDockedBars(const CRect& area, std::vector<DockedBar>& bars) {
    CRect rest = area;
    if (rest.right < rest.left)
        rest.right = rest.left;
    if (rest.bottom < rest.top)
        rest.bottom = rest.top;
    for (DockedBar& bar : bars) {
        const int thickness = std::max(bar.nThickness, 0);
        switch (DockSideOfStyle(bar.dwSide)) {
        case CBRS_ALIGN_TOP: {
            const int bottom = std::min(rest.top + std::min(thickness, rest.Height()), rest.bottom);
            bar.rect = CRect(rest.left, rest.top, rest.right, bottom);
            rest.top = bottom;
            break;
        }
        case CBRS_ALIGN_BOTTOM: {
            const int top = rest.bottom - std::min(thickness, rest.Height());
            bar.rect = CRect(rest.left, top, rest.right, rest.bottom);
            rest.bottom = top;
            break;
        }
        case CBRS_ALIGN_LEFT: {
            const int right = rest.left + std::min(thickness, rest.Width());
            bar.rect = CRect(rest.left, rest.top, right, rest.bottom);
            rest.left = right;
            break;
        }
        case CBRS_ALIGN_RIGHT: {
            const int left = rest.right - std::min(thickness, rest.Width());
            bar.rect = CRect(left, rest.top, rest.right, rest.bottom);
            rest.right = left;
            break;
        }
        default:
            bar.rect = CRect();
            break;
        }
    }
    return rest;
}

namespace {
// How far `value` lies outside [low, high]; 0 inside.
long long Outside(long long value, long long low, long long high) {
    return value < low ? low - value : (value > high ? value - high : 0);
}
}  // namespace

DWORD DockSideAt(const CRect& area, POINT point, DWORD allowed, int reach) {
    if (reach < 0)
        return 0;
    struct Edge {
        DWORD side;
        long long across;  // the distance from the edge's line
        long long along;   // how far past the edge's ends
    };
    // 64-bit arithmetic: points and areas may lie anywhere in the virtual screen.
    const Edge edges[] = {
        {CBRS_ALIGN_TOP, std::llabs(static_cast<long long>(point.y) - area.top),
         Outside(point.x, area.left, area.right)},
        {CBRS_ALIGN_BOTTOM, std::llabs(static_cast<long long>(point.y) - area.bottom),
         Outside(point.x, area.left, area.right)},
        {CBRS_ALIGN_LEFT, std::llabs(static_cast<long long>(point.x) - area.left),
         Outside(point.y, area.top, area.bottom)},
        {CBRS_ALIGN_RIGHT, std::llabs(static_cast<long long>(point.x) - area.right),
         Outside(point.y, area.top, area.bottom)},
    };
    DWORD best = 0;
    long long bestDistance = LLONG_MAX;
    for (const Edge& edge : edges) {
        if ((allowed & edge.side) == 0 || edge.across > reach || edge.along > reach)
            continue;
        const long long distance = std::max(edge.across, edge.along);
        if (distance < bestDistance) {
            best = edge.side;
            bestDistance = distance;
        }
    }
    return best;
}
