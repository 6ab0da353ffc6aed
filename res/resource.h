// resource.h: the viewer's resource, command and control ids.
// Read by the resource script and by C++; plain #defines only.
// Include guard rather than #pragma once: the resource compilers read this file too.
#ifndef OKTALON_RES_RESOURCE_H
#define OKTALON_RES_RESOURCE_H

// Relative to this file, so the resource compiler finds it without an include path.
#include "../framework/core/FrameworkIds.h"

// Dialogs.
#define IDD_ABOUTBOX        100
#define IDD_FIND            131
#define IDD_SEARCH_PROGRESS 132

// Menu, accelerators, toolbar and its bitmap, icon and the document string.
#define IDR_MAINFRAME 128

// Search commands.
#define ID_SEARCH_FIND      32771
#define ID_SEARCH_FIND_NEXT 32772

// Controls of the Find dialog.
#define IDC_HEX_TEXT   1000
#define IDC_PLAIN_TEXT 1001
#define IDC_MODE_HEX   1002
#define IDC_MODE_TEXT  1003

// Controls of the search's progress window.
#define IDC_SEARCH_WHAT     1010
#define IDC_SEARCH_PROGRESS 1011
#define IDC_SEARCH_AMOUNT   1012

#endif  // OKTALON_RES_RESOURCE_H
