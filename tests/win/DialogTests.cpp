// Modal dialogs and dialog data exchange, with templates built in memory and the program's own
// Find dialog resource, driven by real messages inside the dialog's modal loop.

#include "framework/core/Exception.h"
#include "framework/window/Dialog.h"
#include "res/resource.h"
#include "tests/win/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int IDC_FIRST_TEXT = 1000;
constexpr int IDC_SECOND_TEXT = 1001;
constexpr int IDC_CHOICE_A = 1002;
constexpr int IDC_CHOICE_B = 1003;
constexpr int IDC_OTHER_BUTTON = 1004;
constexpr int IDC_MISSING = 1999;
constexpr UINT WM_RUN_SCRIPT = WM_APP + 1;

// Builds a DLGTEMPLATE with its items in memory.
class TemplateBuilder {
public:
    TemplateBuilder(const wchar_t* caption, short cx, short cy) {
        DLGTEMPLATE header{};
        header.style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        header.cx = cx;
        header.cy = cy;
        Append(&header, sizeof(header));
        Word(0);  // no menu
        Word(0);  // the dialog class
        String(caption);
        Word(8);
        String(L"MS Shell Dlg");
    }

    TemplateBuilder& Item(WORD classAtom, const wchar_t* text, int id, DWORD style, short x, short y, short cx,
                          short cy) {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = static_cast<WORD>(id);
        Append(&item, sizeof(item));
        Word(0xFFFF);
        Word(classAtom);
        String(text);
        Word(0);  // no creation data
        ++m_count;
        reinterpret_cast<DLGTEMPLATE*>(m_data.data())->cdit = m_count;
        return *this;
    }
    TemplateBuilder& Edit(int id, short y, DWORD style = 0) {
        return Item(0x0081, L"", id, style | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, y, 150, 14);
    }
    TemplateBuilder& Button(const wchar_t* text, int id, DWORD style, short x, short y) {
        return Item(0x0080, text, id, style, x, y, 60, 14);
    }

    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_data.data()); }

private:
    void Append(const void* p, size_t n) {
        const auto* bytes = static_cast<const BYTE*>(p);
        for (size_t i = 0; i < n; i += 2)
            m_data.push_back(static_cast<WORD>(bytes[i] | (i + 1 < n ? bytes[i + 1] << 8 : 0)));
    }
    void Word(WORD w) { m_data.push_back(w); }
    void String(const wchar_t* s) { Append(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
    void Align() {
        if (m_data.size() % 2 != 0)
            m_data.push_back(0);
    }

    std::vector<WORD> m_data;  // WORD-aligned; DWORD-aligned when the size is even (vector storage is)
    WORD m_count = 0;
};

TemplateBuilder ChoiceTemplate() {
    TemplateBuilder t(L"Volba", 220, 120);
    t.Edit(IDC_FIRST_TEXT, 7)
        .Edit(IDC_SECOND_TEXT, 25)
        .Button(L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 100)
        .Button(L"Storno", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 80, 100)
        .Button(L"A", IDC_CHOICE_A, BS_AUTORADIOBUTTON | WS_GROUP, 7, 45)
        .Button(L"B", IDC_CHOICE_B, BS_AUTORADIOBUTTON, 7, 60)
        .Button(L"Jiné", IDC_OTHER_BUTTON, BS_AUTORADIOBUTTON | WS_GROUP, 7, 75);
    return t;
}

class CChoiceDlg : public CDialog {
public:
    CString m_strFirst;
    CString m_strSecond;
    int m_nChoice = 0;
    bool exchangeMissing = false;
    std::function<void(CChoiceDlg&)> script;
    std::vector<std::string> log;
    bool throwOnB = false;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_FIRST_TEXT, m_strFirst);
        DDX_Text(pDX, IDC_SECOND_TEXT, m_strSecond);
        DDX_Radio(pDX, IDC_CHOICE_A, m_nChoice);
        if (exchangeMissing)
            DDX_Text(pDX, IDC_MISSING, m_strFirst);
    }
    BOOL OnInitDialog() override {
        const BOOL result = CDialog::OnInitDialog();
        log.push_back("init");
        // The script runs once the dialog is up: timers come when the queue is empty, which
        // is when the dialog manager shows the dialog.
        SetTimer(1, 10);
        return result;
    }
    afx_msg void OnTimer(UINT_PTR) {
        if (!IsWindowVisible())
            return;
        KillTimer(1);
        PostMessage(WM_RUN_SCRIPT);
    }
    void OnOK() override {
        log.push_back("ok");
        CDialog::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialog::OnCancel();
    }
    afx_msg LRESULT OnRunScript(WPARAM, LPARAM) {
        if (script)
            script(*this);
        return 0;
    }
    afx_msg void OnChoiceB() {
        log.push_back("B clicked");
        if (throwOnB)
            CFileException::ThrowOsError(ERROR_ACCESS_DENIED, L"dialog.bin");
    }

    CString Text(int id) const {
        CString text;
        GetDlgItem(id)->GetWindowText(text);
        return text;
    }
    bool Checked(int id) const { return GetDlgItem(id)->SendMessage(BM_GETCHECK) == BST_CHECKED; }
    void Click(int id) { GetDlgItem(id)->SendMessage(BM_CLICK); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CChoiceDlg, CDialog)
    ON_MESSAGE(WM_RUN_SCRIPT, OnRunScript)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_CHOICE_B, OnChoiceB)
END_MESSAGE_MAP()

}  // namespace

TEST(DialogTest, DataGoesIntoTheControlsAndBackOnOK) {
    TemplateBuilder t = ChoiceTemplate();
    CChoiceDlg dlg;
    ASSERT_TRUE(dlg.InitModalIndirect(t.Get()));
    dlg.m_strFirst = L"0A1B";
    dlg.m_strSecond = L"Žluťoučký kůň";
    dlg.m_nChoice = 1;
    bool sawLoaded = false;
    dlg.script = [&](CChoiceDlg& d) {
        sawLoaded = d.Text(IDC_FIRST_TEXT) == L"0A1B" && d.Text(IDC_SECOND_TEXT) == L"Žluťoučký kůň" &&
                    !d.Checked(IDC_CHOICE_A) && d.Checked(IDC_CHOICE_B);
        d.GetDlgItem(IDC_FIRST_TEXT)->SetWindowText(L"48656C6C6F");
        d.GetDlgItem(IDC_SECOND_TEXT)->SetWindowText(L"");
        d.Click(IDC_CHOICE_A);
        d.Click(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(sawLoaded) << "OnInitDialog put the members into the controls";
    EXPECT_EQ(dlg.m_strFirst, L"48656C6C6F");
    EXPECT_EQ(dlg.m_strSecond, L"");
    EXPECT_EQ(dlg.m_nChoice, 0);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "ok"}));
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "unbound once the dialog is gone";
}

TEST(DialogTest, RadioGroupEndsAtTheNextGroupAndReadsMinusOneWhenNoneIsChecked) {
    TemplateBuilder t = ChoiceTemplate();
    CChoiceDlg dlg;
    dlg.InitModalIndirect(t.Get());
    dlg.m_nChoice = 1;
    bool otherUntouched = false;
    dlg.script = [&](CChoiceDlg& d) {
        // The button of the next group is no third member of this one.
        d.GetDlgItem(IDC_OTHER_BUTTON)->SendMessage(BM_SETCHECK, BST_CHECKED);
        d.GetDlgItem(IDC_CHOICE_B)->SendMessage(BM_SETCHECK, BST_UNCHECKED);
        d.UpdateData(TRUE);
        otherUntouched = d.m_nChoice == -1;
        d.m_nChoice = 1;
        d.UpdateData(FALSE);
        otherUntouched = otherUntouched && d.Checked(IDC_OTHER_BUTTON) && d.Checked(IDC_CHOICE_B);
        d.GetDlgItem(IDC_CHOICE_B)->SendMessage(BM_SETCHECK, BST_UNCHECKED);
        d.Click(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(otherUntouched);
    EXPECT_EQ(dlg.m_nChoice, -1);
}

TEST(DialogTest, CancelEndsWithoutTransfer) {
    TemplateBuilder t = ChoiceTemplate();
    for (int way = 0; way < 3; ++way) {
        CChoiceDlg dlg;
        dlg.InitModalIndirect(t.Get());
        dlg.m_strFirst = L"kept";
        dlg.script = [way](CChoiceDlg& d) {
            d.GetDlgItem(IDC_FIRST_TEXT)->SetWindowText(L"typed");
            d.Click(IDC_CHOICE_B);
            if (way == 0) {
                d.Click(IDCANCEL);
            } else if (way == 1) {
                d.SendMessage(WM_CLOSE);  // the caption's close button
            } else {
                // Esc in the edit box, through the dialog's own keyboard handling.
                CWnd* pEdit = d.GetDlgItem(IDC_FIRST_TEXT);
                pEdit->SetFocus();
                pEdit->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            }
        };
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << "way " << way;
        EXPECT_EQ(dlg.m_strFirst, L"kept") << "way " << way;
        EXPECT_EQ(dlg.m_nChoice, 0) << "way " << way;
        EXPECT_EQ(dlg.log.back(), "cancel") << "way " << way;
    }
}

TEST(DialogTest, ControlNotificationsReachTheMapAndExceptionsLeaveTheDialogOpen) {
    TemplateBuilder t = ChoiceTemplate();
    CChoiceDlg dlg;
    dlg.InitModalIndirect(t.Get());
    dlg.throwOnB = true;
    HWND hDialog = nullptr;
    bool stillOpen = false;
    dlg.script = [&](CChoiceDlg& d) {
        hDialog = d.m_hWnd;
        d.Click(IDC_CHOICE_B);  // the handler throws; the box is answered inside this call
        stillOpen = IsWindow(hDialog) && IsWindowVisible(hDialog);
        d.Click(IDCANCEL);
    };
    MessageBoxWatcher boxes;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"init", "B clicked", "cancel"}));
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_EQ(boxes.Seen()[0].owner, hDialog) << "the box belongs to the dialog that is up";
}

TEST(DialogTest, MissingControlMakesTheDialogFail) {
    TemplateBuilder t = ChoiceTemplate();
    CChoiceDlg dlg;
    dlg.InitModalIndirect(t.Get());
    dlg.exchangeMissing = true;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(DialogTest, OwnedByTheMainWindowAndCentredOnIt) {
    CWnd main;
    ASSERT_TRUE(CreateTestWindow(main, 600, 400));
    AfxSetMainWnd(&main);
    TemplateBuilder t = ChoiceTemplate();
    CChoiceDlg dlg;
    dlg.InitModalIndirect(t.Get());
    HWND hOwner = nullptr;
    BOOL ownerEnabled = TRUE;
    CRect dialogRect, mainRect;
    dlg.script = [&](CChoiceDlg& d) {
        hOwner = GetWindow(d.m_hWnd, GW_OWNER);
        ownerEnabled = IsWindowEnabled(main);
        d.GetWindowRect(&dialogRect);
        main.GetWindowRect(&mainRect);
        d.Click(IDOK);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    AfxSetMainWnd(nullptr);
    EXPECT_EQ(hOwner, main.m_hWnd);
    EXPECT_FALSE(ownerEnabled) << "modal to its owner";
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_NEAR(dialogRect.CenterPoint().x, mainRect.CenterPoint().x, 1);
    EXPECT_NEAR(dialogRect.CenterPoint().y, mainRect.CenterPoint().y, 1);
}

TEST(DialogTest, FindDialogResourceRunsWithItsControls) {
    class CFindTemplateDlg : public CDialog {
    public:
        CFindTemplateDlg() : CDialog(IDD_FIND) {}
        CString caption;
        bool upperCaseHex = false;
        bool textDisabled = false;
        int mode = 7;
        bool radioTabStop = true;
        bool hexChecked = false;
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            GetWindowText(caption);
            upperCaseHex = (GetDlgItem(IDC_HEX_TEXT)->GetStyle() & ES_UPPERCASE) != 0;
            textDisabled = !::IsWindowEnabled(*GetDlgItem(IDC_PLAIN_TEXT));
            int hexMode = 0;
            CDataExchange load(this, FALSE);
            DDX_Radio(&load, IDC_MODE_HEX, hexMode);
            hexChecked = GetDlgItem(IDC_MODE_HEX)->SendMessage(BM_GETCHECK) == BST_CHECKED;
            radioTabStop =
                ((GetDlgItem(IDC_MODE_HEX)->GetStyle() | GetDlgItem(IDC_MODE_TEXT)->GetStyle()) & WS_TABSTOP) != 0;
            GetDlgItem(IDC_MODE_HEX)->SendMessage(BM_SETCHECK, BST_UNCHECKED);
            GetDlgItem(IDC_MODE_TEXT)->SendMessage(BM_SETCHECK, BST_CHECKED);
            CDataExchange save(this, TRUE);
            DDX_Radio(&save, IDC_MODE_HEX, mode);
            PostMessage(WM_COMMAND, IDCANCEL);
            return TRUE;
        }
    };
    CFindTemplateDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.caption, L"Hledat");
    EXPECT_TRUE(dlg.upperCaseHex);
    EXPECT_TRUE(dlg.textDisabled);
    EXPECT_EQ(dlg.mode, 1);
    EXPECT_TRUE(dlg.hexChecked);
    EXPECT_FALSE(dlg.radioTabStop) << "the transfer leaves the radio buttons out of the tab order";

    CDialog missing(static_cast<UINT>(9999));
    EXPECT_EQ(missing.DoModal(), -1) << "no such template";
}
