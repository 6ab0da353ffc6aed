// Searching with F4 and F3, and the Find dialog's input checks, as a user meets them.
#include "res/resource.h"
#include "tests/e2e/ViewerTest.h"

namespace e2e {
namespace {

// A file of `lines` lines of zero bytes with `bytes` written at each of `offsets`.
std::vector<uint8_t> FileWith(int lines, const std::vector<uint8_t>& bytes, std::initializer_list<size_t> offsets) {
    std::vector<uint8_t> file(static_cast<size_t>(lines) * 16, 0);
    for (size_t at : offsets)
        for (size_t i = 0; i < bytes.size(); ++i)
            file[at + i] = bytes[i];
    return file;
}

class Searching : public ViewerTest {
protected:
    void Open(const std::vector<uint8_t>& file) {
        m_file = file;
        StartWith(MakeFile(L"hledani.bin", file));
        ASSERT_TRUE(m_viewer->Main());
        ASSERT_TRUE(WaitShowsDump(file, 0, 0));
    }
    void FindNext() {
        m_viewer->Activate();
        input::Key(VK_F3);
    }
    // The "Nenalezeno!" box: caption, text, owner, a single OK button. Closes it.
    void ExpectNotFound() {
        Box box = m_viewer->WaitForMessageBox(15000);
        ASSERT_TRUE(box) << "no \"Nenalezeno!\"";
        EXPECT_EQ(L"Nenalezeno!", box.text);
        EXPECT_EQ(L"Informace", box.caption);
        EXPECT_EQ(m_viewer->Main(), GetWindow(box.window, GW_OWNER)) << "the main window owns the box";
        int buttons = 0;
        for (HWND child : Children(box.window))
            buttons += ClassOf(child) == L"Button";
        EXPECT_EQ(1, buttons) << "an OK button only";
        Dismiss(box);
    }
    std::vector<uint8_t> m_file;
};

TEST_F(Searching, FindNextWaitsForAConfirmedFind) {
    Open(LinesFile(10));
    FindNext();
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(1000)) << "F3 ran with no pattern";
    HWND dialog = OpenFind();
    ASSERT_TRUE(dialog);
    input::Key(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000)) << "Esc does not cancel the Find dialog";
    FindNext();
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(1000)) << "F3 ran after a cancelled Find";
    EXPECT_TRUE(ShowsDump(m_file, 0, 0));
}

TEST_F(Searching, FindNextWalksOverlappingMatchesThenStartsAgain) {
    // 41 41 41 41 from offset 15: matches at 15 (line 0), 16 and 17 (line 1).
    Open(FileWith(3, Bytes({0x41, 0x41, 0x41, 0x41}), {15}));
    ClickRow(2);
    ASSERT_TRUE(WaitShowsDump(m_file, 0, 2));
    Find(L"4141");
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 0)) << "first match, offset 15";
    FindNext();
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 1)) << "second match, offset 16";
    FindNext();
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(1000)) << "the overlapping match at offset 17 was skipped";
    EXPECT_TRUE(ShowsDump(m_file, 0, 1));
    FindNext();
    ExpectNotFound();
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 1)) << "not found leaves the marked line";
    FindNext();
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 0)) << "after \"Nenalezeno!\" the search starts again at the beginning";
}

TEST_F(Searching, HexAndTextFindTheSameBytesAndCaseCounts) {
    std::vector<uint8_t> file = FileWith(10, Text("Hello"), {3 * 16 + 2});
    for (size_t i = 0; i < 5; ++i)
        file[6 * 16 + 9 + i] = static_cast<uint8_t>("hello"[i]);
    Open(file);
    Find(L"48656C6C6F");
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 3));
    Find(L"hello", true);
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 6)) << "text search is exact: lower case finds lower case";
    Find(L"Hello", true);
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 3));
}

TEST_F(Searching, TextIsSearchedAsAnsiBytes) {
    // c with caron is 0xE8 in code page 1250; a single blank is a pattern too.
    std::vector<uint8_t> file = FileWith(10, Bytes({0xE8}), {4 * 16 + 7});
    file[8 * 16 + 3] = 0x20;
    Open(file);
    Find(L"\u010d", true);
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 4));
    Find(L" ", true);
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 8));
}

// Windows may run with UTF-8 as its ANSI code page; under Wine a locale without an ANSI code
// page of its own does the same (the test bed's --locale hi_IN.UTF-8, where the suite runs again
// with OKTALON_E2E_UTF8=1). Text is then searched as its UTF-8 bytes, and characters beyond any
// single-byte code page are searched too.
TEST_F(Searching, TextUnderAUtf8CodePageIsSearchedAsItsUtf8Bytes) {
    if (GetEnvironmentVariableW(L"OKTALON_E2E_UTF8", nullptr, 0) == 0)
        GTEST_SKIP() << "runs in the bed's UTF-8 locale only";
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the bed's locale did not give the UTF-8 code page";
    // kůň in code page 1250 on line 2, in UTF-8 on line 6; a CJK character in UTF-8 on line 8.
    std::vector<uint8_t> file = FileWith(10, Bytes({'k', 0xF9, 0xF2}), {2 * 16 + 3});
    for (const auto& [bytes, at] : {std::pair{Bytes({'k', 0xC5, 0xAF, 0xC5, 0x88}), 6 * 16 + 9},
                                    std::pair{Bytes({0xE4, 0xB8, 0xAD}), 8 * 16 + 14}})
        std::copy(bytes.begin(), bytes.end(), file.begin() + at);
    Open(file);
    Find(L"k\u016f\u0148", true);
    EXPECT_TRUE(WaitMarkedRow(6)) << "found at row " << MarkedRow();
    Find(L"\u4e2d", true);
    EXPECT_TRUE(WaitMarkedRow(8)) << "found at row " << MarkedRow();
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(500));
}

TEST_F(Searching, DeepMatchComesToTheTopOfTheView) {
    std::vector<uint8_t> file = LinesFile(20000);
    const int line = 12345;
    for (int i = 0; i < 4; ++i)
        file[static_cast<size_t>(line) * 16 + 5 + i] = Bytes({0xCA, 0xFE, 0xBA, 0xBE})[i];
    Open(file);
    Find(L"CAFEBABE");
    EXPECT_TRUE(WaitTopLine(line, 60000)) << "top line " << TopLine();
    EXPECT_TRUE(WaitShowsDump(m_file, line, line));
    Shot("deep-match");
}

TEST_F(Searching, MatchInTheLastPageShowsTheLastPage) {
    std::vector<uint8_t> file = LinesFile(300);
    const int line = 297;
    file[static_cast<size_t>(line) * 16] = 0xCA;
    file[static_cast<size_t>(line) * 16 + 1] = 0xFE;
    Open(file);
    Find(L"CAFE");
    int top = 300 - PageLines();
    EXPECT_TRUE(WaitTopLine(top)) << "top line " << TopLine();
    EXPECT_TRUE(WaitShowsDump(m_file, top, line));
}

TEST_F(Searching, FindScansFromTheStartEvenWhenScrolled) {
    std::vector<uint8_t> file = LinesFile(300);
    for (int line : {2, 200}) {
        file[static_cast<size_t>(line) * 16 + 3] = 0xCA;
        file[static_cast<size_t>(line) * 16 + 4] = 0xFE;
    }
    Open(file);
    input::HoldKey(VK_NEXT, 500);
    ASSERT_TRUE(WaitUntil([&] { return TopLine() > 50; }, 3000));
    Find(L"CAFE");
    EXPECT_TRUE(WaitTopLine(2)) << "top line " << TopLine();
    EXPECT_TRUE(WaitShowsDump(m_file, 2, 2));
    FindNext();
    EXPECT_TRUE(WaitTopLine(200)) << "top line " << TopLine();
}

TEST_F(Searching, AClickMovesWhereFindNextStarts) {
    // Matches on lines 2, 4 and 5. After a click on line 5, Find Next starts at the first byte of
    // line 4, so it finds line 4 before line 5.
    std::vector<uint8_t> file = LinesFile(300);
    for (int line : {2, 4, 5}) {
        file[static_cast<size_t>(line) * 16 + 8] = 0xCA;
        file[static_cast<size_t>(line) * 16 + 9] = 0xFE;
    }
    Open(file);
    Find(L"CAFE");
    ASSERT_TRUE(WaitShowsDump(m_file, 2, 2));
    ClickRow(3);  // line 5
    ASSERT_TRUE(WaitShowsDump(m_file, 2, 5));
    FindNext();
    EXPECT_TRUE(WaitShowsDump(m_file, 4, 4)) << "Find Next after a click on line 5 finds line 4";
    FindNext();
    EXPECT_TRUE(WaitShowsDump(m_file, 5, 5));
}

TEST_F(Searching, CancelledFindKeepsTheEarlierSearch) {
    std::vector<uint8_t> file = FileWith(10, Bytes({0x12, 0x34}), {1 * 16 + 4, 3 * 16 + 4});
    Open(file);
    Find(L"1234");
    ASSERT_TRUE(WaitShowsDump(m_file, 0, 1));
    HWND dialog = OpenFind();
    ASSERT_TRUE(dialog);
    input::Type(L"5678");
    RECT storno = ScreenRect(GetDlgItem(dialog, IDCANCEL));
    input::Click(Center(storno));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000)) << "Storno does not close the dialog";
    EXPECT_TRUE(ShowsDump(m_file, 0, 1));
    // The caption's close button ends the dialog the same way. It is found where the dialog
    // itself says it is (the hit test), along the middle of the caption.
    dialog = OpenFind();
    ASSERT_TRUE(dialog);
    input::Type(L"5678");
    RECT frame = ScreenRect(dialog);
    const int captionMiddle = frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    POINT close{-1, -1};
    for (int x = frame.right - 1; x > frame.left && close.x < 0; --x) {
        DWORD_PTR hit = 0;
        SendMessageTimeoutW(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, captionMiddle), SMTO_ABORTIFHUNG, 1000, &hit);
        if (hit == HTCLOSE)
            close = POINT{x - GetSystemMetrics(SM_CXSIZE) / 3, captionMiddle};
    }
    ASSERT_GE(close.x, 0) << "the Find dialog has no close button";
    input::Click(close);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 3000)) << "the close button does not close the dialog";
    EXPECT_TRUE(ShowsDump(m_file, 0, 1));
    FindNext();
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 3)) << "Find Next goes on with the earlier pattern";
}

TEST_F(Searching, NotFoundLeavesTheViewAndTheMarkedLine) {
    std::vector<uint8_t> file = LinesFile(300);
    Open(file);
    input::MoveTo(ViewPoint(300, 100));
    input::Wheel(-WHEEL_DELTA);
    input::Wheel(-WHEEL_DELTA);
    ClickRow(2);
    ASSERT_TRUE(WaitShowsDump(m_file, 6, 8));
    HWND dialog = OpenFind();
    ASSERT_TRUE(dialog);
    TypeAndConfirm(L"CAFE");
    ExpectNotFound();
    Shot("after-not-found");
    EXPECT_TRUE(WaitShowsDump(m_file, 6, 8));
}

// ---------------------------------------------------------------------------------------------

class FindDialog : public Searching {
protected:
    void SetUp() override {
        Searching::SetUp();
        Open(FileWith(10, Bytes({0xFF}), {3 * 16 + 1}));
        if (HasFatalFailure())
            return;
        m_dialog = OpenFind();
        ASSERT_TRUE(m_dialog) << "F4 does not open the Find dialog";
        m_hex = GetDlgItem(m_dialog, IDC_HEX_TEXT);
        m_text = GetDlgItem(m_dialog, IDC_PLAIN_TEXT);
        ASSERT_TRUE(m_hex && m_text);
    }
    void ClickRadio(int id) {
        RECT r = ScreenRect(GetDlgItem(m_dialog, id));
        input::Click(POINT{r.left + 6, (r.top + r.bottom) / 2});
    }
    bool FocusIn(HWND box) const {
        return WaitUntil([&] { return m_viewer->Focus() == box; }, 2000);
    }
    void ClearFocusedBox() {
        input::Key(VK_END);
        input::Chord({VK_SHIFT, VK_HOME});
        input::Key(VK_DELETE);
    }
    // Enter with the current input: the dialog refuses it with `message`, stays open and keeps
    // both boxes' text, and the focus goes back to `focusBox`.
    void ExpectRefused(const std::wstring& message, HWND focusBox) {
        std::wstring hexBefore = TextOf(m_hex), textBefore = TextOf(m_text);
        input::Key(VK_RETURN);
        Box box = m_viewer->WaitForMessageBox(5000);
        ASSERT_TRUE(box) << "no message for " << Narrow(hexBefore) << " / " << Narrow(textBefore);
        EXPECT_EQ(message, box.text);
        EXPECT_EQ(L"Chyba", box.caption);
        EXPECT_EQ(m_dialog, GetWindow(box.window, GW_OWNER)) << "the dialog owns its message";
        Dismiss(box);
        EXPECT_TRUE(IsWindow(m_dialog) && IsWindowVisible(m_dialog)) << "the dialog closed";
        EXPECT_EQ(hexBefore, TextOf(m_hex));
        EXPECT_EQ(textBefore, TextOf(m_text));
        EXPECT_TRUE(FocusIn(focusBox)) << "the focus is not in the box to correct";
    }

    HWND m_dialog = nullptr;
    HWND m_hex = nullptr;
    HWND m_text = nullptr;
};

TEST_F(FindDialog, OpensInHexModeWithEmptyBoxesAndTabSkipsTheRadioButtons) {
    EXPECT_TRUE(IsWindowEnabled(m_hex));
    EXPECT_FALSE(IsWindowEnabled(m_text));
    EXPECT_EQ(L"", TextOf(m_hex));
    EXPECT_EQ(L"", TextOf(m_text));
    EXPECT_TRUE(FocusIn(m_hex));
    EXPECT_FALSE(IsWindowEnabled(m_viewer->Main())) << "the dialog is modal";
    Shot("find-dialog");
    HWND ok = GetDlgItem(m_dialog, IDOK), storno = GetDlgItem(m_dialog, IDCANCEL);
    input::Key(VK_TAB);
    EXPECT_TRUE(FocusIn(ok));
    input::Key(VK_TAB);
    EXPECT_TRUE(FocusIn(storno));
    input::Key(VK_TAB);
    // The system makes a checked automatic radio button a tab stop; the dialog keeps both radio
    // buttons out of the tab order all the same.
    EXPECT_TRUE(FocusIn(m_hex)) << "Tab from Storno went to control " << GetDlgCtrlID(m_viewer->Focus());

    // Whatever was entered, the next Find opens afresh.
    input::Type(L"12");
    ClickRadio(IDC_MODE_TEXT);
    input::Type(L"abc");
    input::Key(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(m_dialog); }, 3000));
    m_dialog = OpenFind();
    ASSERT_TRUE(m_dialog);
    EXPECT_EQ(L"", TextOf(GetDlgItem(m_dialog, IDC_HEX_TEXT)));
    EXPECT_EQ(L"", TextOf(GetDlgItem(m_dialog, IDC_PLAIN_TEXT)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(m_dialog, IDC_HEX_TEXT)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(m_dialog, IDC_PLAIN_TEXT)));
}

TEST_F(FindDialog, RefusesEmptyOddLengthAndNonHexInput) {
    struct Case {
        const wchar_t* typed;
        std::wstring message;
    } cases[] = {
        {L"", L"Mus\u00edte napsat text k vyhled\u00e1n\u00ed!"},
        {L"ABC", L"Chybn\u00e1 d\u00e9lka HEXA textu!"},
        {L"0G", L"Znak \"G\" nen\u00ed platn\u00fdm HEXA znakem!"},
        {L"0A 1B", L"Chybn\u00e1 d\u00e9lka HEXA textu!"},
        {L"0A  1B", L"Znak \" \" nen\u00ed platn\u00fdm HEXA znakem!"},
        {L"XYZW", L"Znak \"X\" nen\u00ed platn\u00fdm HEXA znakem!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.typed));
        ClearFocusedBox();
        input::Type(c.typed);
        ExpectRefused(c.message, m_hex);
        if (HasFatalFailure())
            return;
    }
    Shot("refused-input-still-open");
}

TEST_F(FindDialog, LowerCaseHexIsShownInUpperCaseAndAccepted) {
    input::Type(L"ff");
    EXPECT_TRUE(WaitUntil([&] { return TextOf(m_hex) == L"FF"; }, 2000)) << Narrow(TextOf(m_hex));
    input::Key(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(m_dialog); }, 3000)) << "FF is refused";
    EXPECT_TRUE(WaitShowsDump(m_file, 0, 3));
}

TEST_F(FindDialog, TextModeSwitchesBoxesAndChecksTheTextBox) {
    input::Type(L"41");
    ClickRadio(IDC_MODE_TEXT);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_text) && !IsWindowEnabled(m_hex); }, 2000));
    EXPECT_TRUE(FocusIn(m_text));
    ExpectRefused(L"Mus\u00edte napsat text k vyhled\u00e1n\u00ed!", m_text);
    EXPECT_EQ(L"41", TextOf(m_hex)) << "the disabled box keeps its text";
    ClickRadio(IDC_MODE_HEX);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(m_hex) && !IsWindowEnabled(m_text); }, 2000));
    EXPECT_TRUE(FocusIn(m_hex));
    ClickRadio(IDC_MODE_TEXT);
    ASSERT_TRUE(FocusIn(m_text));
    input::Type(L"\u010dern\u00fd kun");  // any text goes in text mode
    input::Key(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(m_dialog); }, 3000)) << "text mode refused a text";
    ExpectNotFound();
}

}  // namespace
}  // namespace e2e
