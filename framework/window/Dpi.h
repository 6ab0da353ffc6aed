// The DPI a window is shown at, and pixel figures scaled to it.
#pragma once

#include <windows.h>

inline constexpr UINT kAfxBaseDpi = 96;

// The DPI of the window's monitor where the system says it per window (GetDpiForWindow, looked up
// at run time so that systems without it still start the program), else the system's
// (LOGPIXELSY of the screen).
UINT AfxGetDpiForWindow(HWND hWnd);

// A figure of pixels at 96 DPI, at `dpi` (rounded to the nearest pixel).
inline int AfxScaleForDpi(int pixelsAt96, UINT dpi) {
    return MulDiv(pixelsAt96, static_cast<int>(dpi), static_cast<int>(kAfxBaseDpi));
}
