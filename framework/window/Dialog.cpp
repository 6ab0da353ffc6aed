// CDialog: running a modal dialog from its template, or making a modeless one; dialog data
// exchange (UpdateData, DDX_Text, DDX_Radio).
#include "framework/window/Dialog.h"

#include <string>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------------------------
// Dialog data exchange
// ---------------------------------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int nIDC) {
    const HWND hDlg = m_pDlgWnd != nullptr ? m_pDlgWnd->GetSafeHwnd() : nullptr;
    const HWND hCtrl = hDlg != nullptr ? ::GetDlgItem(hDlg, nIDC) : nullptr;
    if (hCtrl == nullptr)
        Fail();
    m_idLastControl = nIDC;
    return hCtrl;
}

void CDataExchange::Fail() {
    throw CUserException();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    const HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthW(hCtrl);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int copied = ::GetWindowTextW(hCtrl, text.data(), length + 1);
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        value = CString(std::move(text));
    } else {
        ::SetWindowTextW(hCtrl, value.GetString());
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group: this control and those after it up to the next one that starts a group.
    int index = 0;
    do {
        if (::SendMessageW(hCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (value == -1 && ::SendMessageW(hCtrl, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                // The button control makes a checked automatic radio button a tab stop and
                // the others not; the transfer changes the checks only, never the tab order
                // the dialog's template gives.
                const LONG_PTR style = ::GetWindowLongPtrW(hCtrl, GWL_STYLE);
                ::SendMessageW(hCtrl, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
                if (::GetWindowLongPtrW(hCtrl, GWL_STYLE) != style)
                    ::SetWindowLongPtrW(hCtrl, GWL_STYLE, style);
            }
            ++index;
        }
        hCtrl = ::GetWindow(hCtrl, GW_HWNDNEXT);
    } while (hCtrl != nullptr && !(::GetWindowLongPtrW(hCtrl, GWL_STYLE) & WS_GROUP));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    if (m_hWnd == nullptr)
        return FALSE;
    CDataExchange exchange(this, bSaveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange* /*pDX*/) {}

// ---------------------------------------------------------------------------------------------
// CDialog
// ---------------------------------------------------------------------------------------------

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
    if (lpDialogTemplate == nullptr)
        return FALSE;
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpszTemplateName = nullptr;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr || (m_lpDialogTemplate == nullptr && m_lpszTemplateName == nullptr))
        return -1;
    const HWND hOwner = AfxGetSafeOwner(m_pParentWnd);
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    const INT_PTR result =
        m_lpDialogTemplate != nullptr
            ? DialogBoxIndirectParamW(AfxGetResourceHandle(), m_lpDialogTemplate, hOwner, &CDialog::DialogProc, self)
            : DialogBoxParamW(AfxGetResourceHandle(), m_lpszTemplateName, hOwner, &CDialog::DialogProc, self);
    // The dialog is gone; should the system not have sent WM_NCDESTROY to the dialog
    // procedure, the binding still ends here.
    if (m_hWnd != nullptr)
        UnbindHandle();
    // Give the activation back to the owner, which the system enabled again.
    if (hOwner != nullptr && ::IsWindow(hOwner) && ::GetActiveWindow() == nullptr)
        ::SetActiveWindow(hOwner);
    return result;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    if (m_hWnd != nullptr)
        return FALSE;
    m_lpszTemplateName = MAKEINTRESOURCEW(nIDTemplate);
    m_pParentWnd = pParentWnd;
    const HWND hWnd = CreateDialogParamW(AfxGetResourceHandle(), m_lpszTemplateName, AfxGetSafeOwner(pParentWnd),
                                         &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr && m_hWnd == hWnd;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // The dialog manager runs after the dialog procedure returns FALSE.
    NoteDefaultAsked();
    return 0;
}

void CDialog::CenterIfUnplaced(const RECT& rectBefore) {
    if (m_hWnd == nullptr || (GetStyle() & WS_CHILD) || ::IsWindowVisible(m_hWnd))
        return;
    CRect rectNow;
    GetWindowRect(&rectNow);
    if (rectNow.left == rectBefore.left && rectNow.top == rectBefore.top)
        CenterWindow();
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* pDialog = nullptr;
    if (message == WM_INITDIALOG) {
        pDialog = reinterpret_cast<CDialog*>(lParam);
        if (pDialog == nullptr || pDialog->m_hWnd != nullptr)
            return FALSE;
        pDialog->m_bDialog = true;
        pDialog->BindHandle(hWnd);

        CRect rectBefore;
        ::GetWindowRect(hWnd, &rectBefore);
        bool bDefaultAsked = false;
        const LRESULT result = Dispatch(pDialog, hWnd, message, wParam, lParam, &bDefaultAsked);
        // A dialog at the place its template gives is centred on its owner.
        if (CWnd::FromHandlePermanent(hWnd) == pDialog)
            pDialog->CenterIfUnplaced(rectBefore);
        return result;
    }

    pDialog = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    if (pDialog == nullptr)
        return FALSE;
    bool bDefaultAsked = false;
    const LRESULT result = Dispatch(pDialog, hWnd, message, wParam, lParam, &bDefaultAsked);
    if (bDefaultAsked)
        return FALSE;
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}
