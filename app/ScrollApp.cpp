// CScrollApp: the one application object, the start (profile, document template, command line)
// and the About command.
#include "app/ScrollApp.h"

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "doc/ScrollDoc.h"
#include "framework/core/CommandLineInfo.h"
#include "framework/docview/DocTemplate.h"
#include "res/resource.h"
#include "view/MyScrollView.h"

BEGIN_MESSAGE_MAP(CScrollApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
END_MESSAGE_MAP()

// No name: the application's name is its title from the string table.
CScrollApp::CScrollApp() = default;

// The one application object.
CScrollApp theApp;

BOOL CScrollApp::InitInstance() {
    // The profile (the recent-file list) lives under this company key and the application's name.
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);

    AddDocTemplate(std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CScrollDoc),
                                                        RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CMyScrollView)));

    // No file: an empty document; a file: that file opened. A failure ends the program.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    CWnd* pMainWnd = AfxGetMainWnd();
    pMainWnd->ShowWindow(SW_SHOW);
    pMainWnd->UpdateWindow();
    return TRUE;
}

void CScrollApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
