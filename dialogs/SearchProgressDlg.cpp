// CSearchProgressDlg: making the window over the main window, showing the progress, Storno.
#include "dialogs/SearchProgressDlg.h"

#include "dialogs/SearchProgressText.h"
#include "res/resource.h"

#include <commctrl.h>

#include <string_view>
#include <utility>

namespace {
constexpr int kBarSteps = 1000;

CString FromUtf16(const std::u16string& text) {
    return CString(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}
}  // namespace

CSearchProgressDlg::CSearchProgressDlg(CString what) : CDialog(IDD_SEARCH_PROGRESS), m_strWhat(std::move(what)) {}

CSearchProgressDlg::~CSearchProgressDlg() {
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
}

BOOL CSearchProgressDlg::Create() {
    if (!CDialog::Create(IDD_SEARCH_PROGRESS))
        return FALSE;
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

BOOL CSearchProgressDlg::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    GetDlgItem(IDC_SEARCH_WHAT)->SetWindowText(m_strWhat);
    GetDlgItem(IDC_SEARCH_PROGRESS)->SendMessage(PBM_SETRANGE32, 0, kBarSteps);
    return result;
}

void CSearchProgressDlg::ShowProgress(uint64_t done, uint64_t total) {
    if (GetSafeHwnd() == nullptr)
        return;
    const int permille =
        total == 0 ? kBarSteps : static_cast<int>(done >= total ? kBarSteps : done / (total / kBarSteps + 1));
    if (permille != m_nShownPermille) {
        m_nShownPermille = permille;
        GetDlgItem(IDC_SEARCH_PROGRESS)->SendMessage(PBM_SETPOS, static_cast<WPARAM>(permille), 0);
    }
    const CString amount = FromUtf16(SearchedAmountText(done, total));
    if (amount != m_strShownAmount) {
        m_strShownAmount = amount;
        GetDlgItem(IDC_SEARCH_AMOUNT)->SetWindowText(amount);
    }
}

void CSearchProgressDlg::OnCancel() {
    m_bStopAsked = true;
}
