// CAboutDlg: the About box.
#pragma once

#include "framework/window/Dialog.h"
#include "res/resource.h"

// The About box: the program's name, version and authors; OK closes it.
class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg();

    DECLARE_MESSAGE_MAP()
};
