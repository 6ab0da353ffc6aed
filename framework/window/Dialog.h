// CDialog: modal and modeless dialogs from templates, with dialog data exchange (CDataExchange, DDX_Text,
// DDX_Radio).
#pragma once

#include "framework/core/Exception.h"
#include "framework/window/Wnd.h"

// Ends a data exchange that cannot go on (a control that the dialog lacks); UpdateData
// catches it and returns FALSE.
class CUserException : public CException {
public:
    CUserException() = default;
    CUserException(const CUserException&) : CException() {}
};

// One transfer between a dialog's controls and its members, handed to DoDataExchange.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The window of control nIDC; ends the exchange (Fail) when the dialog has no such control.
    HWND PrepareCtrl(int nIDC);
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;  // TRUE: controls -> members; FALSE: members -> controls
    CWnd* m_pDlgWnd;
    int m_idLastControl = 0;
};

// The whole text of control nIDC.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The radio-button group that starts at nIDC (up to the next control with WS_GROUP): saving
// gives the index of the checked button among the group's radio buttons, or -1 when none is
// checked; loading checks button value and clears the others, leaving the buttons' tab stops
// as they were.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// A modal dialog, or one the caller runs itself (Create). Its template is a resource of the
// program (by id) or a template in memory (InitModalIndirect). The object is bound to its window from WM_INITDIALOG to
// WM_NCDESTROY; its message map serves the dialog's messages and its controls'
// notifications (ON_BN_CLICKED ...). IDOK and IDCANCEL reach OnOK and OnCancel.
class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Uses a template in memory (which must outlive DoModal) instead of a resource.
    BOOL InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog until EndDialog; owned by the parent's top-level window, or by the main
    // window when there is no parent. Returns the EndDialog result, or -1 when the dialog
    // could not be made.
    virtual INT_PTR DoModal();
    // Makes the dialog of template nIDTemplate as a window of its own, owned as DoModal owns it,
    // and returns at once: the caller runs the messages (IsDialogMessage) and destroys it.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Transfers the members into the controls (UpdateData(FALSE)); when that fails, ends the
    // dialog with -1. TRUE: the system gives the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);

    // A dialog's default processing is the dialog manager's; it runs after the handler.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Transfers the controls into the members (UpdateData(TRUE)) and, when that worked, ends
    // the dialog with IDOK.
    virtual void OnOK();
    // Ends the dialog with IDCANCEL; nothing is transferred.
    virtual void OnCancel();

    LPCWSTR m_lpszTemplateName = nullptr;          // resource id (MAKEINTRESOURCE)
    LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr;  // template in memory
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    // WM_INITDIALOG: OnInitDialog.
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Centres the dialog on its owner unless OnInitDialog placed it.
    void CenterIfUnplaced(const RECT& rectBefore);
};
