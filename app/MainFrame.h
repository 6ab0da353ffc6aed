// CMainFrame: the viewer's main window, with its toolbar and status bar.
#pragma once

#include "framework/bars/StatusBar.h"
#include "framework/bars/ToolBar.h"
#include "framework/docview/FrameWnd.h"

// The main window: the framework's frame with the viewer's toolbar and status bar.
class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // Constructed in this order, destroyed in the reverse order, with the frame.
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    DECLARE_MESSAGE_MAP()
};
