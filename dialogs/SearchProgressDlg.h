// CSearchProgressDlg: the progress window of a long search.
#pragma once

#include "framework/window/Dialog.h"

#include <cstdint>

// The progress of a search that outlasts a moment: what is searched for, a bar and the amount
// searched so far, and "Storno". A window of its own over the main window, which the search keeps
// disabled meanwhile; Storno, Esc and the close button of its caption ask the search to stop.
class CSearchProgressDlg : public CDialog {
public:
    // `what`: the line that says what is searched for.
    explicit CSearchProgressDlg(CString what);
    ~CSearchProgressDlg() override;

    // Makes the window, centred on the main window, and shows it.
    BOOL Create();
    // `done` of `total` bytes searched.
    void ShowProgress(uint64_t done, uint64_t total);
    bool StopAsked() const { return m_bStopAsked; }

protected:
    BOOL OnInitDialog() override;
    // Asks the search to stop; the search ends the window once it has.
    void OnCancel() override;

private:
    CString m_strWhat;
    bool m_bStopAsked = false;
    int m_nShownPermille = -1;
    CString m_strShownAmount;
};
