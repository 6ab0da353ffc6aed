// CAboutDlg: the About box from its template.
#include "app/AboutDlg.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

// No parent: the dialog belongs to the main window.
CAboutDlg::CAboutDlg() : CDialog(IDD) {}
