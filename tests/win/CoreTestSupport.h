#pragma once

// Helpers for the tests of the framework's window core: a plain top-level test window, and a
// catcher that answers the message boxes this thread shows, from a timer running inside the
// box's own modal loop.

#include "framework/Wnd.h"
#include "tests/win/TestSupport.h"  // PumpMessages

#include <string>
#include <vector>

struct CaughtBox {
    std::wstring caption;
    std::wstring text;
    HWND hOwner = nullptr;
    bool bExclamationIcon = false;
};

// While alive, every message box this thread shows is recorded and closed with OK.
class BoxCatcher {
public:
    BoxCatcher();
    ~BoxCatcher();
    BoxCatcher(const BoxCatcher&) = delete;
    BoxCatcher& operator=(const BoxCatcher&) = delete;

    const std::vector<CaughtBox>& Boxes() const { return m_boxes; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);

    std::vector<CaughtBox> m_boxes;
    UINT_PTR m_timer = 0;
};

// Creates pWnd as a visible top-level window of the framework's default class.
bool CreateTestWindow(CWnd& wnd, int width = 300, int height = 200, DWORD style = WS_OVERLAPPEDWINDOW);
