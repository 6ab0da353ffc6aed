// FrameworkIds: the framework's standard command, string, control-bar and resource-type ids.
//
// Plain #defines only, so the resource compilers (windres, rc) can read this file as well as C++.
// The values are the classic document/view framework's, which the viewer's resources and
// message maps are written against.
// Include guard rather than #pragma once: the resource compilers read this file too.
#ifndef OKTALON_FRAMEWORK_FRAMEWORKIDS_H
#define OKTALON_FRAMEWORK_FRAMEWORKIDS_H

// Control id of a dialog item that code never addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Command id of a separator: a toolbar gap, and the status bar's message pane.
#define ID_SEPARATOR 0

// File commands.
#define ID_FILE_NEW  0xE100  // 57600
#define ID_FILE_OPEN 0xE101  // 57601

// The recent-file entries of the File menu: ID_FILE_MRU_FILE1 + n for the (n+1)-th entry.
#define ID_FILE_MRU_FIRST  0xE110  // 57616
#define ID_FILE_MRU_FILE1  0xE110
#define ID_FILE_MRU_FILE2  0xE111
#define ID_FILE_MRU_FILE3  0xE112
#define ID_FILE_MRU_FILE4  0xE113
#define ID_FILE_MRU_FILE5  0xE114
#define ID_FILE_MRU_FILE6  0xE115
#define ID_FILE_MRU_FILE7  0xE116
#define ID_FILE_MRU_FILE8  0xE117
#define ID_FILE_MRU_FILE9  0xE118
#define ID_FILE_MRU_FILE10 0xE119
#define ID_FILE_MRU_FILE11 0xE11A
#define ID_FILE_MRU_FILE12 0xE11B
#define ID_FILE_MRU_FILE13 0xE11C
#define ID_FILE_MRU_FILE14 0xE11D
#define ID_FILE_MRU_FILE15 0xE11E
#define ID_FILE_MRU_FILE16 0xE11F  // 57631
#define ID_FILE_MRU_LAST   0xE11F

// Application commands.
#define ID_APP_ABOUT 0xE140  // 57664
#define ID_APP_EXIT  0xE141  // 57665

// Status-bar indicator panes (their strings are the panes' texts).
#define ID_INDICATOR_CAPS 0xE701  // 59137
#define ID_INDICATOR_NUM  0xE702  // 59138
#define ID_INDICATOR_OVR  0xE704  // 59140
#define ID_INDICATOR_REC  0xE705  // 59141

// View commands: show or hide a bar. Each equals the id of the bar's window.
#define ID_VIEW_TOOLBAR    0xE800  // 59392
#define ID_VIEW_STATUS_BAR 0xE801  // 59393

// Child-window ids of the frame's bars.
#define AFX_IDW_TOOLBAR    0xE800  // 59392
#define AFX_IDW_STATUS_BAR 0xE801  // 59393

// The sides of the frame a bar docks on (CDockSite::DockControlBar).
#define AFX_IDW_DOCKBAR_TOP    0xE81B  // 59419
#define AFX_IDW_DOCKBAR_LEFT   0xE81C  // 59420
#define AFX_IDW_DOCKBAR_RIGHT  0xE81D  // 59421
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E  // 59422

// The view's child-window id inside the frame.
#define AFX_IDW_PANE_FIRST 0xE900  // 59648

// Strings the framework loads by itself, given by the program's own resources.
#define AFX_IDS_APP_TITLE   0xE000  // 57344: the application's name and main title
#define AFX_IDS_IDLEMESSAGE 0xE001  // 57345: the status bar's idle text

// The framework's own strings, in its resource script framework/core/Framework.rc, which the
// program's resource script includes.
// The File Open dialog.
#define AFX_IDS_OPENFILE               0xF000  // 61440: its title
#define AFX_IDS_ALLFILTER              0xF001  // 61441: the name of its all-files filter
// Message boxes.
#define AFX_IDP_FAILED_TO_OPEN_DOC     0xF100  // 61696: a file that cannot be opened; %s: its name
#define AFX_IDP_FAILED_TO_CREATE       0xF101  // 61697: the document or its window could not be made
#define AFX_IDP_COMMAND_FAILURE        0xF102  // 61698: an error without a text of its own
#define AFX_IDP_FAILED_MEMORY_ALLOC    0xF103  // 61699: out of memory
#define AFX_IDP_FILE_ERROR             0xF104  // 61700: a file error; %s: its cause, %ld: the system's code
#define AFX_IDP_FILE_ERROR_NAMED       0xF105  // 61701: the same with the file's name first (%s)
// The causes of a file error, inserted into AFX_IDP_FILE_ERROR(_NAMED).
#define AFX_IDS_FILE_GENERIC           0xF120  // 61728: any cause without a text of its own
#define AFX_IDS_FILE_NOT_FOUND         0xF121
#define AFX_IDS_FILE_BAD_PATH          0xF122
#define AFX_IDS_FILE_TOO_MANY_OPEN     0xF123
#define AFX_IDS_FILE_ACCESS_DENIED     0xF124
#define AFX_IDS_FILE_INVALID           0xF125
#define AFX_IDS_FILE_BAD_SEEK          0xF126
#define AFX_IDS_FILE_HARD_IO           0xF127
#define AFX_IDS_FILE_SHARING_VIOLATION 0xF128
#define AFX_IDS_FILE_LOCK_VIOLATION    0xF129
#define AFX_IDS_FILE_DISK_FULL         0xF12A
#define AFX_IDS_FILE_END_OF_FILE       0xF12B  // 61739

// Resource type of a toolbar description (the classic toolbar resource layout):
//   WORD version (1), WORD button width, WORD button height, WORD item count,
//   then item count WORDs: each a command id, 0 for a separator.
// Images are taken from the bitmap of the same resource id, one per non-separator item, left
// to right, each button width wide.
#define RT_TOOLBAR_DATA 241

#endif  // OKTALON_FRAMEWORK_FRAMEWORKIDS_H
