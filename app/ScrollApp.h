// CScrollApp: the viewer's application object.
#pragma once

#include "framework/docview/WinApp.h"

// The viewer's application: registers the one document template and acts on the command line.
class CScrollApp : public CWinApp {
public:
    CScrollApp();

    BOOL InitInstance() override;

    afx_msg void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
