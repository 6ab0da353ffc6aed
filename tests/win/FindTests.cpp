#include "framework/window/CmdUI.h"
#include "res/resource.h"
#include "tests/win/ViewFixture.h"

#include <gtest/gtest.h>

namespace {
std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Fills the Find dialog as a person would and confirms it.
void Answer(HWND dialog, bool textMode, const std::wstring& input) {
    if (textMode) {
        SendMessageW(GetDlgItem(dialog, IDC_MODE_TEXT), BM_CLICK, 0, 0);
        SetDlgItemTextW(dialog, IDC_PLAIN_TEXT, input.c_str());
    } else {
        SetDlgItemTextW(dialog, IDC_HEX_TEXT, input.c_str());
    }
    Click(dialog, IDOK);
}

class FindTest : public ::testing::Test {
protected:
    void Command(UINT id) { fixture.doc.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }

    void Find(bool textMode, const std::wstring& input) {
        WhenWindowAppears answer(L"Hledat", [&](HWND dialog) { Answer(dialog, textMode, input); });
        Command(ID_SEARCH_FIND);
        ASSERT_TRUE(answer.Appeared());
    }

    bool Enabled(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        fixture.doc.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.m_bEnabled != FALSE;
    }

    ViewFixture fixture{700, 300};
};
}  // namespace

TEST_F(FindTest, WalksThroughOverlappingMatchesThenStartsAgain) {
    TempFile temp("AAAA");
    ASSERT_TRUE(fixture.Open(temp.path()));
    MessageBoxWatcher watcher;
    Find(false, L"4141");
    EXPECT_EQ(fixture.doc.GetSearchPos(), 1);
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 2);
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 3);
    EXPECT_TRUE(watcher.Seen().empty());
    Command(ID_SEARCH_FIND_NEXT);
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"Informace");
    EXPECT_EQ(seen[0].text, L"Nenalezeno!");
    EXPECT_EQ(seen[0].icon, L"information");
    EXPECT_EQ(fixture.doc.GetSearchPos(), 0);
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 0);
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 1) << "found at offset 0 again";
}

TEST_F(FindTest, BringsTheMatchedLineToTheTop) {
    std::string bytes(16 * 400, '.');
    bytes.replace(37, 5, "Hello");
    bytes.replace(16 * 398 + 3, 5, "World");
    TempFile temp(bytes);
    ASSERT_TRUE(fixture.Open(temp.path()));
    fixture.VScroll(SB_PAGEDOWN);
    Find(true, L"Hello");
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 2);
    EXPECT_EQ(fixture.ScrollY(), 30) << "the line at the top, whatever was shown before";
    EXPECT_EQ(fixture.doc.GetSearchPos(), 38);

    Find(false, L"576F726C64");
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 398);
    const int page = static_cast<int>(fixture.VerticalBar().nPage);
    EXPECT_EQ(fixture.ScrollY(), 400 * 15 - page) << "a match in the last page shows the last page";

    MessageBoxWatcher watcher;
    Find(true, L"hello");
    EXPECT_EQ(watcher.Seen().size(), 1u) << "text is matched with its case";
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 398) << "not found: the marked line stays";
    EXPECT_EQ(fixture.ScrollY(), 400 * 15 - page) << "not found: the view stays";
}

TEST_F(FindTest, FindNextAfterAClickStartsAtTheLineAbove) {
    std::string bytes(16 * 20, '.');
    bytes.replace(16 * 4 + 2, 2, "XY");
    bytes.replace(16 * 5 + 2, 2, "XY");
    TempFile temp(bytes);
    ASSERT_TRUE(fixture.Open(temp.path()));
    Find(true, L"XY");
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 4);
    fixture.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 15 * 5 + 3 - fixture.ScrollY()));
    ASSERT_EQ(fixture.doc.GetMarkedLine(), 5);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 64);
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 4) << "line 4's match comes before line 5's";
}

TEST_F(FindTest, CancelledFindKeepsTheEarlierSearch) {
    TempFile temp("xxABxxABxx");
    ASSERT_TRUE(fixture.Open(temp.path()));
    Find(true, L"AB");
    ASSERT_EQ(fixture.doc.GetSearchPos(), 3);
    {
        WhenWindowAppears cancel(L"Hledat", [](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_HEX_TEXT, L"7878");
            Click(dialog, IDCANCEL);
        });
        Command(ID_SEARCH_FIND);
        ASSERT_TRUE(cancel.Appeared());
    }
    EXPECT_EQ(fixture.doc.GetSearchPos(), 3);
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 7) << "Find Next goes on with AB";
}

TEST_F(FindTest, CommandsAreEnabledOnlyWhenTheyCanRun) {
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND)) << "no file";
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND_NEXT));
    TempFile empty("");
    ASSERT_TRUE(fixture.Open(empty.path()));
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND)) << "empty file";
    TempFile data("some data");
    ASSERT_TRUE(fixture.Open(data.path()));
    EXPECT_TRUE(Enabled(ID_SEARCH_FIND));
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND_NEXT)) << "no pattern yet";
    Find(true, L"data");
    EXPECT_TRUE(Enabled(ID_SEARCH_FIND_NEXT));
    TempFile other("other data");
    ASSERT_TRUE(fixture.Open(other.path()));
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND_NEXT)) << "a new file forgets the pattern";
}

TEST_F(FindTest, DialogRefusesBadInputAndStaysOpen) {
    TempFile temp("0123456789");
    ASSERT_TRUE(fixture.Open(temp.path()));
    struct Outcome {
        std::wstring input;
        bool textMode;
        std::wstring caption, message, hexAfter;
        int focusId;
        bool stillOpen;
        bool hexEnabled, textEnabled;  // after the mode button was clicked
    };
    std::vector<Outcome> outcomes;
    const DWORD uiThread = GetCurrentThreadId();
    WhenWindowAppears script(L"Hledat", [&](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PLAIN_TEXT))) << "opens in hex mode";
        auto attempt = [&](bool textMode, const std::wstring& input) {
            if (textMode) {
                SendMessageW(GetDlgItem(dialog, IDC_MODE_TEXT), BM_CLICK, 0, 0);
                SetDlgItemTextW(dialog, IDC_PLAIN_TEXT, input.c_str());
            } else {
                SendMessageW(GetDlgItem(dialog, IDC_MODE_HEX), BM_CLICK, 0, 0);
                SetDlgItemTextW(dialog, IDC_HEX_TEXT, input.c_str());
            }
            const bool hexEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_HEX_TEXT)) != FALSE;
            const bool textEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PLAIN_TEXT)) != FALSE;
            Click(dialog, IDOK);
            const HWND box = WaitForProcessWindow(L"Chyba", 3000);
            Outcome outcome{input, textMode, L"", L"", L"", 0, false, hexEnabled, textEnabled};
            if (box != nullptr) {
                wchar_t text[256] = L"";
                GetWindowTextW(box, text, 256);
                outcome.caption = text;
                GetDlgItemTextW(box, 0xFFFF, text, 256);
                outcome.message = text;
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                while (IsWindow(box))
                    Sleep(10);
                Sleep(50);
            }
            outcome.hexAfter = ControlText(dialog, IDC_HEX_TEXT);
            outcome.focusId = GetDlgCtrlID(FocusOfThread(uiThread));
            outcome.stillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
            outcomes.push_back(outcome);
        };
        attempt(false, L"");
        attempt(false, L"abc");  // the box makes it upper case
        attempt(true, L"");
        attempt(false, L"0G");  // back from text mode
        attempt(false, L"0A 1B");
        attempt(false, L"0A  1B");
        SetDlgItemTextW(dialog, IDC_HEX_TEXT, L"41");
        attempt(true, L"\u03A9");  // not in code page 1250
        Click(dialog, IDCANCEL);
    });
    Command(ID_SEARCH_FIND);
    ASSERT_TRUE(script.Appeared());
    ASSERT_EQ(outcomes.size(), 7u);
    const std::vector<std::pair<std::wstring, int>> expected = {
        {L"Musíte napsat text k vyhledání!", IDC_HEX_TEXT},
        {L"Chybná délka HEXA textu!", IDC_HEX_TEXT},
        {L"Musíte napsat text k vyhledání!", IDC_PLAIN_TEXT},
        {L"Znak \"G\" není platným HEXA znakem!", IDC_HEX_TEXT},
        {L"Chybná délka HEXA textu!", IDC_HEX_TEXT},
        {L"Znak \" \" není platným HEXA znakem!", IDC_HEX_TEXT},
        {L"Text obsahuje znak, který v kódové stránce systému nelze vyhledat!", IDC_PLAIN_TEXT},
    };
    for (size_t i = 0; i < outcomes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(outcomes[i].caption, L"Chyba");
        EXPECT_EQ(outcomes[i].message, expected[i].first);
        EXPECT_EQ(outcomes[i].focusId, expected[i].second);
        EXPECT_TRUE(outcomes[i].stillOpen);
        EXPECT_EQ(outcomes[i].hexEnabled, !outcomes[i].textMode) << "only the mode's own box takes input";
        EXPECT_EQ(outcomes[i].textEnabled, outcomes[i].textMode);
    }
    EXPECT_EQ(outcomes[1].hexAfter, L"ABC") << "letters typed into the hex box turn upper case";
    EXPECT_EQ(outcomes[6].hexAfter, L"41") << "the disabled box keeps its text";
    EXPECT_EQ(fixture.doc.GetSearchPos(), 0) << "cancelled: no search";
}

TEST_F(FindTest, HexAndTextGiveTheSamePattern) {
    TempFile temp("say Hello, hello");
    ASSERT_TRUE(fixture.Open(temp.path()));
    Find(false, L"48656C6C6F");
    EXPECT_EQ(fixture.doc.GetSearchPos(), 5);
    Find(true, L"Hello");
    EXPECT_EQ(fixture.doc.GetSearchPos(), 5);
    TempFile czech("xx\xE8R");
    ASSERT_TRUE(fixture.Open(czech.path()));
    Find(true, L"čR");  // the bytes E8 52 in code page 1250
    EXPECT_EQ(fixture.doc.GetSearchPos(), 3);
}

// The text pattern is the text's bytes in the system's ANSI code page, which may be UTF-8.
TEST(TextPatternTest, EachCodePageGivesTheTextsBytesOrSaysItCannot) {
    const std::wstring czech = L"k\u016F\u0148";  // kůň
    const std::wstring lone(1, wchar_t(0xD800));
    struct Row {
        UINT codePage;
        std::wstring text;
        std::string bytes;  // checked when lossless
        bool lossless;
    };
    const Row rows[] = {
        {1250, czech, "k\xF9\xF2", true},
        {1250, L"\u4E2D", "", false},  // not in the code page
        {1250, L"\u0101", "", false},  // a with macron: no best-fit "a"
        {CP_UTF8, czech, "k\xC5\xAF\xC5\x88", true},
        {CP_UTF8, L"\u4E2D\U0001F600", "\xE4\xB8\xAD\xF0\x9F\x98\x80", true},
        {CP_UTF8, lone, "", false},
        {CP_UTF8, L"a" + lone + L"b", "", false},
    };
    for (const Row& row : rows) {
        bool lossless = !row.lossless;
        const std::string bytes = CString(row.text).ToCodePage(row.codePage, &lossless);
        EXPECT_EQ(lossless, row.lossless) << row.codePage << " " << bytes;
        if (row.lossless) {
            EXPECT_EQ(bytes, row.bytes) << row.codePage;
        }
    }
    EXPECT_EQ(CString(czech).ToAnsi(), CString(czech).ToCodePage(GetACP()));
}
