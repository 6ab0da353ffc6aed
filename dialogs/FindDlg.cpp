// CFindDlg: the dialog's data exchange, its two modes, and the checks of OK.
#include "dialogs/FindDlg.h"

#include "dialogs/HexInput.h"
#include "res/resource.h"

#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "window texts are UTF-16");

BEGIN_MESSAGE_MAP(CFindDlg, CDialog)
    ON_BN_CLICKED(IDC_MODE_HEX, OnModeHex)
    ON_BN_CLICKED(IDC_MODE_TEXT, OnModeText)
END_MESSAGE_MAP()

CFindDlg::CFindDlg(CWnd* pParent) : CDialog(IDD_FIND, pParent) {}

CFindDlg::~CFindDlg() = default;

void CFindDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_HEX_TEXT, m_strHex);
    DDX_Text(pDX, IDC_PLAIN_TEXT, m_strText);
    DDX_Radio(pDX, IDC_MODE_HEX, m_nMode);
    KeepModeButtonsOutOfTabOrder();
}

void CFindDlg::KeepModeButtonsOutOfTabOrder() {
    for (const int id : {IDC_MODE_HEX, IDC_MODE_TEXT})
        GetDlgItem(id)->ModifyStyle(WS_TABSTOP, 0);
}

BOOL CFindDlg::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    // An edit box takes only about 30,000 characters by default and drops the rest of a paste
    // without a word: a long pattern would be cut and the search would look for its beginning
    // only (or, cut at an odd length, be refused for a fault the user never made). Both boxes
    // take as much as the system allows.
    for (const int id : {IDC_HEX_TEXT, IDC_PLAIN_TEXT})
        GetDlgItem(id)->SendMessage(EM_LIMITTEXT, 0, 0);
    return result;
}

void CFindDlg::OnModeHex() {
    GetDlgItem(IDC_PLAIN_TEXT)->EnableWindow(FALSE);
    GetDlgItem(IDC_HEX_TEXT)->EnableWindow(TRUE);
    GetDlgItem(IDC_HEX_TEXT)->SetFocus();
    KeepModeButtonsOutOfTabOrder();
}

void CFindDlg::OnModeText() {
    GetDlgItem(IDC_HEX_TEXT)->EnableWindow(FALSE);
    GetDlgItem(IDC_PLAIN_TEXT)->EnableWindow(TRUE);
    GetDlgItem(IDC_PLAIN_TEXT)->SetFocus();
    KeepModeButtonsOutOfTabOrder();
}

void CFindDlg::Refuse(const CString& message, int focusControlId) {
    MessageBox(message, L"Chyba", MB_ICONEXCLAMATION);
    GetDlgItem(focusControlId)->SetFocus();
}

void CFindDlg::OnOK() {
    UpdateData(TRUE);
    static constexpr const wchar_t* kEmptyMessage = L"Musíte napsat text k vyhledání!";
    if (m_nMode != 0) {
        if (m_strText.IsEmpty()) {
            Refuse(kEmptyMessage, IDC_PLAIN_TEXT);
            return;
        }
        // The pattern is the text's bytes in the system's code page; a character the code page
        // cannot hold would silently become another pattern ('?'), so it is refused instead.
        bool lossless = true;
        m_strText.ToAnsi(&lossless);
        if (!lossless) {
            Refuse(L"Text obsahuje znak, který v kódové stránce systému nelze vyhledat!", IDC_PLAIN_TEXT);
            return;
        }
        CDialog::OnOK();
        return;
    }
    const std::u16string_view hex(reinterpret_cast<const char16_t*>(m_strHex.GetString()),
                                  static_cast<size_t>(m_strHex.GetLength()));
    const HexInputCheck check = CheckHexInput(hex);
    switch (check.status) {
    case HexInputStatus::Valid:
        CDialog::OnOK();
        return;
    case HexInputStatus::Empty:
        Refuse(kEmptyMessage, IDC_HEX_TEXT);
        return;
    case HexInputStatus::OddLength:
        Refuse(L"Chybná délka HEXA textu!", IDC_HEX_TEXT);
        return;
    case HexInputStatus::InvalidChar: {
        const std::wstring offending(check.invalidChar.begin(), check.invalidChar.end());
        CString message;
        message.Format(L"Znak \"%s\" není platným HEXA znakem!", offending.c_str());
        Refuse(message, IDC_HEX_TEXT);
        return;
    }
    }
}
