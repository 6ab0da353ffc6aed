// The framework's global helpers: the main window, the application title, the instance handle
// and the framework's message box (AfxMessageBox).
#pragma once

#include <windows.h>

#include "framework/core/String.h"

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

// The window that a modal dialog or message box of pParent belongs to: pParent's top-level
// window, or the main window when pParent is null (the thread's active window while there is
// no main window); in either case the last popup that window activated (an open dialog, so a
// box over it is modal to it). Null when there is none.
HWND AfxGetSafeOwner(CWnd* pParent);

// The framework's message box: owned by the main window (see AfxGetSafeOwner), with the
// application's title as its caption; MB_ICONEXCLAMATION is added when nType names no icon.
// nIDHelp is accepted for the familiar signature; the program has no help. Returns the
// button pressed (IDOK, ...), or 0 when the box could not be shown.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// The same with the text taken from the program's string table.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
