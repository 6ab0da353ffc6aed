// CFindDlg: the Find dialog.
#pragma once

#include "framework/window/Dialog.h"

// The Find dialog: asks for a search pattern as hex digits or as text and refuses input that
// cannot become one, naming the fault and putting the focus back where it can be mended.
// A new dialog each time: it opens in hex mode with both boxes empty.
class CFindDlg : public CDialog {
public:
    explicit CFindDlg(CWnd* pParent = nullptr);
    ~CFindDlg() override;

    // After IDOK: m_nMode tells which box counts (0 hex, 1 text); that box's text is not empty,
    // and in hex mode it is an even number of the digits 0-9 and A-F.
    CString m_strHex;
    CString m_strText;
    int m_nMode = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnModeHex();
    void OnModeText();

    DECLARE_MESSAGE_MAP()

private:
    // Checking an automatic radio button makes it a tab stop; the mode buttons stay out of the
    // tab order, which runs through the enabled box, OK and Storno only.
    void KeepModeButtonsOutOfTabOrder();
    // Shows the fault in the dialog's own box and moves the focus to the box to mend.
    void Refuse(const CString& message, int focusControlId);
};
