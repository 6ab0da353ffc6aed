#pragma once

// Helpers for the tests of the framework's window classes: a plain top-level test window, and a
// view that paints white, for frames whose tests need a view but not the hex dump. The message
// box watcher and the other helpers that need no framework class are in TestSupport.h.

#include "framework/docview/View.h"
#include "framework/window/Wnd.h"
#include "tests/win/TestSupport.h"

// Creates `wnd` as a visible top-level window of the framework's default class, `width` by
// `height` pixels with the given style, and paints it once.
bool CreateTestWindow(CWnd& wnd, int width = 300, int height = 200, DWORD style = WS_OVERLAPPEDWINDOW);

// A view that fills what it is asked to paint with white and shows nothing else.
class CWhiteTestView : public CView {
    DECLARE_DYNCREATE(CWhiteTestView)
public:
    void OnDraw(CDC* pDC) override;
};
