#include "tests/win/CoreTestSupport.h"

bool CreateTestWindow(CWnd& wnd, int width, int height, DWORD style) {
    if (!wnd.CreateEx(0, nullptr, L"Oktalon test", style | WS_VISIBLE, 40, 40, width, height, nullptr, nullptr))
        return false;
    wnd.UpdateWindow();
    return true;
}

IMPLEMENT_DYNCREATE(CWhiteTestView, CView)

void CWhiteTestView::OnDraw(CDC* pDC) {
    CRect area;
    pDC->GetClipBox(&area);
    CBrush white;
    white.CreateSolidBrush(RGB(255, 255, 255));
    pDC->FillRect(&area, &white);
}
