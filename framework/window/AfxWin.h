// AfxWin: the application's globals: the main window, the application object as a command
// target, the title, the module and the start-up show command. They only hold what they are
// given; the window layer (Wnd.h) acts on them.
#pragma once

#include "framework/core/String.h"

#include <windows.h>

class CCmdTarget;
class CWnd;

// The application's main window, or null. The application object sets it when it makes or
// drops its main frame (AfxSetMainWnd(pFrame) / AfxSetMainWnd(nullptr)); nothing else does.
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* pWnd);

// The application's title: the one set with AfxSetAppTitle; otherwise the program's string
// AFX_IDS_APP_TITLE (57344); otherwise the program file's name without its extension.
CString AfxGetAppTitle();
void AfxSetAppTitle(LPCWSTR lpszTitle);

// The module whose resources (dialogs, strings) the framework loads: the program itself.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The application object as the windows know it: the command target a frame hands on the
// commands and command-UI updates that no view, document or frame took. The application object
// sets it while it lives (AfxSetAppCmdTarget(this) / AfxSetAppCmdTarget(nullptr)).
CCmdTarget* AfxGetAppCmdTarget();
void AfxSetAppCmdTarget(CCmdTarget* pApp);

// How the program was asked to show its first window (WinMain's nCmdShow; SW_SHOWNORMAL until
// the entry sets it). The first frame that shows itself takes it; later takes give SW_SHOWNORMAL.
void AfxSetStartupShowCommand(int nCmdShow);
int AfxTakeStartupShowCommand();
