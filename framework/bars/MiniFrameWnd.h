// CMiniFrameWnd: the small tool window a floating bar lives in, owned by the main frame, with
// a caption and a close button. Its caption drags the bar (which may dock again); a
// double-click on it docks the bar on its last side; its close button hides the bar. It never
// takes the activation (the keyboard stays with the frame); its caption looks as active as the
// frame's.
//
// Use: the bar's dock context makes it the first time the bar floats and moves the bar into it
// and out again; nothing else makes one.
#pragma once

#include "framework/window/Wnd.h"

class CControlBar;

// Ownership: the bar's dock context owns this object; the window is owned by the frame window,
// so it goes when the frame's window goes. The bar's window is its child while the bar floats.
class CMiniFrameWnd : public CWnd {
public:
    explicit CMiniFrameWnd(CControlBar& bar);
    ~CMiniFrameWnd() override;

    // Makes the window, hidden, owned by hOwner.
    BOOL Create(HWND hOwner);
    // The window rectangle of a floating window that shows a client area of `client` size with
    // its top-left corner at `topLeft` (screen coordinates); the window need not exist.
    static CRect WindowRectFor(CPoint topLeft, CSize client);
    // Puts the bar at the client area's origin at its natural size and fits the window around
    // it, its top-left corner at `topLeft`. Does not show it.
    void PlaceBar(CPoint topLeft);
    // Shows the window without taking the activation from its owner; its caption looks active
    // while the owner is.
    void ShowWithoutActivating();

protected:
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnClose();

private:
    static constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    static constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

    CControlBar& m_bar;

    DECLARE_MESSAGE_MAP()
};
