// CSearchRun: a long scan of the document's file on the user-interface thread, its progress
// window and its stop.
#pragma once

#include "framework/core/String.h"

#include <windows.h>

#include <memory>
#include <optional>

class CSearchProgressDlg;
class PatternScanner;

// Runs a scan of the document's file on the user-interface thread, as a person sees it. A scan
// that ends within half a second shows nothing and handles no message. A longer one shows its
// progress in a window over the main window, which stays disabled meanwhile, as behind any modal
// window; between blocks it handles the thread's messages, so that the program paints and
// answers, and it stops at Storno, Esc, the progress window's closing, or Stop.
//
// One thread does it all: only one party at a time reads the file (a painting between two blocks
// reads its lines with its own positioned reads, and the next block seeks to where the scan
// stands), and nothing needs a lock.
class CSearchRun {
public:
    enum class Outcome { Found, NotFound, Stopped };

    // `description`: the line of the progress window that says what is searched for.
    CSearchRun(PatternScanner& scanner, CString description);
    ~CSearchRun();
    CSearchRun(const CSearchRun&) = delete;
    CSearchRun& operator=(const CSearchRun&) = delete;

    // Scans until the scanner is done or the search is stopped. A read failure goes through once
    // the progress window is gone and the main window is enabled again.
    Outcome Run();
    // Stops the search at its next block: for a handler that runs while Run handles messages.
    void Stop() { m_bStopAsked = true; }

private:
    void ShowProgressWindow();
    void EndProgressWindow();
    // Handles the messages that wait; a WM_QUIT among them stops the search and is posted again
    // once the search has ended.
    void HandleWaitingMessages();
    bool StopAsked() const;

    PatternScanner& m_scanner;
    CString m_strDescription;
    std::unique_ptr<CSearchProgressDlg> m_pProgress;
    HWND m_hDisabledOwner = nullptr;  // the window the progress window keeps disabled
    bool m_bStopAsked = false;
    std::optional<WPARAM> m_quitCode;
};
