// Hostile input for the document, the view and the Find dialog: names that cannot be opened,
// files at the edges of the sizes the view shows, unusual names and paths, and search input at
// its limits. Each must end in a clear message or a sound display; every file is checked
// unchanged when its test ends (TempFile).
#include "framework/window/CmdUI.h"
#include "res/resource.h"
#include "tests/win/DumpPicture.h"
#include "tests/win/ViewFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <span>
#include <thread>

namespace {
const std::wstring kOwnOpenFailure = L"Chyba při otevírání souboru!";
constexpr int32_t kLastShownLine = 0x7FFFFFE0 / 16;

std::wstring Hex(const std::string& bytes) {
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring hex;
    for (const char c : bytes) {
        hex += kDigits[static_cast<uint8_t>(c) >> 4];
        hex += kDigits[static_cast<uint8_t>(c) & 15];
    }
    return hex;
}

std::vector<std::wstring> Texts(const std::vector<SeenMessageBox>& boxes) {
    std::vector<std::wstring> texts;
    for (const SeenMessageBox& box : boxes)
        texts.push_back(box.text);
    return texts;
}

class HostileTest : public ::testing::Test {
protected:
    void Command(UINT id) { fixture.doc.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }

    bool Enabled(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        fixture.doc.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.m_bEnabled != FALSE;
    }

    // Runs Find; `fill` fills the dialog from a helper thread, then OK is pressed. A dialog that
    // refuses the input is cancelled once its message has been answered, and one that does not
    // come or does not go is cancelled after a while, so that nothing can hang the test.
    // Returns whether the dialog ended with the input accepted.
    bool Find(const std::function<void(HWND)>& fill) {
        const DWORD uiThread = GetCurrentThreadId();
        std::atomic<bool> ended{false}, accepted{false}, appeared{false};
        std::thread helper([&] {
            const ULONGLONG deadline = GetTickCount64() + 15000;
            HWND dialog = nullptr;
            while (!ended && dialog == nullptr && GetTickCount64() < deadline) {
                dialog = FindDialogOfThread(uiThread);
                Sleep(10);
            }
            if (dialog != nullptr) {
                appeared = true;
                fill(dialog);
                const size_t answeredBefore = MessageBoxWatcher::BoxesAnswered();
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                // Accepted: the dialog goes. Refused: a "Chyba" box comes (and is answered by
                // the test's watcher, maybe before this thread sees it) while the dialog stays.
                bool refused = false;
                while (IsWindow(dialog) && GetTickCount64() < deadline) {
                    const bool boxShown = MessageBoxOfThread(uiThread) != nullptr;
                    if (refused && !boxShown)
                        break;
                    refused = refused || boxShown || MessageBoxWatcher::BoxesAnswered() != answeredBefore;
                    Sleep(10);
                }
                accepted = !IsWindow(dialog);
            }
            while (!ended) {
                if (HWND stuck = FindDialogOfThread(uiThread))
                    PostMessageW(stuck, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                Sleep(50);
            }
        });
        Command(ID_SEARCH_FIND);
        ended = true;
        helper.join();
        EXPECT_TRUE(appeared) << "no Find dialog";
        return accepted;
    }
    // The windows are looked for through the test thread and without asking them anything
    // (no window text): a message to the test thread's windows could wait for good while the
    // test thread waits for this helper.
    static HWND MessageBoxOfThread(DWORD threadId) {
        HWND found = nullptr;
        EnumThreadWindows(threadId, &VisitForMessageBox, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    // The Find dialog that the test thread runs: found through its thread, so that no other
    // window with the same caption can stand in for it.
    static HWND FindDialogOfThread(DWORD threadId) {
        HWND found = nullptr;
        EnumThreadWindows(threadId, &VisitForFindDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static bool IsFindDialog(HWND window) {
        return GetDlgItem(window, IDC_HEX_TEXT) != nullptr && GetDlgItem(window, IDC_PLAIN_TEXT) != nullptr;
    }
    static BOOL CALLBACK VisitForMessageBox(HWND window, LPARAM param) {
        // A message box: a dialog with the static text 0xFFFF, and not the Find dialog.
        if (IsWindowVisible(window) && GetDlgItem(window, 0xFFFF) != nullptr && !IsFindDialog(window)) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }
    static BOOL CALLBACK VisitForFindDialog(HWND window, LPARAM param) {
        if (IsWindowVisible(window) && IsFindDialog(window)) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }
    bool FindHex(const std::wstring& hex) {
        return Find([&](HWND dialog) { SetDlgItemTextW(dialog, IDC_HEX_TEXT, hex.c_str()); });
    }
    bool FindText(const std::wstring& text) {
        return Find([&](HWND dialog) {
            SendMessageW(GetDlgItem(dialog, IDC_MODE_TEXT), BM_CLICK, 0, 0);
            SetDlgItemTextW(dialog, IDC_PLAIN_TEXT, text.c_str());
        });
    }

    ViewFixture fixture{700, 300};
};

using HostileOpenTest = HostileTest;
using HostileSizeTest = HostileTest;
using HostileFindTest = HostileTest;
}  // namespace

// ---- Names that cannot be opened -------------------------------------------------------------

TEST_F(HostileOpenTest, UnopenableNamesAreReportedOnceAndTheShownFileStays) {
    const std::string shownBytes = Letters(40);
    TempFile shown(shownBytes);
    ASSERT_TRUE(fixture.Open(shown.path()));
    fixture.doc.SetMarkedLine(1);

    const std::wstring tempFolder = TempFolder();
    const std::wstring folderNoSlash = tempFolder.substr(0, tempFolder.size() - 1);
    TempFile written("being written");
    // Another program writing the file: the base open, which denies writers, cannot get in.
    UniqueHandle writer(CreateFileW(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);

    const std::vector<std::wstring> names = {
        UniqueTempPath(L"missing"), tempFolder, folderNoSlash,  tempFolder + L"no-such-folder\\file.bin",
        tempFolder + L"a<b>|?.bin", L"",        written.path(),
    };
    for (const std::wstring& name : names) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        MessageBoxWatcher watcher;
        EXPECT_FALSE(fixture.Open(name));
        const auto seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u) << "one message, from the check before anything changes";
        EXPECT_FALSE(seen[0].text.empty());
        EXPECT_NE(seen[0].text, kOwnOpenFailure) << "the shown file must not have been closed";
        EXPECT_EQ(fixture.doc.GetFileLength(), 40);
        EXPECT_EQ(fixture.doc.GetMarkedLine(), 1);
        const auto picture = fixture.Paint();
        EXPECT_TRUE(ShowsLine(picture, 0, ExpectedLine(0, shownBytes.substr(0, 16), 40), kDumpWhite));
        EXPECT_TRUE(ShowsLine(picture, 15, ExpectedLine(16, shownBytes.substr(16, 16), 40), kDumpCyan));
        EXPECT_TRUE(WhiteFrom(picture, 45));
    }
}

TEST_F(HostileOpenTest, DevicesAndPipesNeitherHangNorShowAnything) {
    // A pipe whose server never sends: reading it would block the viewer for good.
    const wchar_t* pipeName = L"\\\\.\\pipe\\oktalon-hostile-test";
    UniqueHandle server(CreateNamedPipeW(pipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr));
    ASSERT_TRUE(server);
    for (const wchar_t* name : {pipeName, L"CON", L"CONIN$", L"NUL"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        MessageBoxWatcher watcher;
        const bool opened = fixture.Open(name);
        const auto seen = watcher.Seen();
        if (opened) {
            // Only the null device opens: it reads as an empty file.
            EXPECT_TRUE(seen.empty());
            EXPECT_EQ(fixture.doc.GetFileLength(), 0);
            EXPECT_FALSE(Enabled(ID_SEARCH_FIND));
        } else {
            EXPECT_EQ(seen.size(), 1u);
        }
        EXPECT_TRUE(WhiteFrom(fixture.Paint(), 0)) << "nothing read from a device is shown";
    }
}

// ---- Sizes at the edges ----------------------------------------------------------------------

TEST_F(HostileSizeTest, SmallFilesShowEachByteOnceAndWhiteBelow) {
    for (const int size : {0, 1, 15, 16, 17, 33}) {
        SCOPED_TRACE(size);
        const std::string bytes = Letters(static_cast<size_t>(size));
        TempFile temp(bytes);
        ASSERT_TRUE(fixture.Open(temp.path()));
        const auto picture = fixture.Paint();
        const int lines = (size + 15) / 16;
        for (int line = 0; line < lines; ++line)
            EXPECT_TRUE(ShowsLine(picture, 15 * line, ExpectedLine(16 * line, bytes.substr(16 * line, 16), size),
                                  line == 0 ? kDumpCyan : kDumpWhite));
        EXPECT_TRUE(WhiteFrom(picture, 15 * lines));
        EXPECT_EQ(Enabled(ID_SEARCH_FIND), size != 0);

        if (size == 0)
            continue;
        // The whole file is found; one byte more is "Nenalezeno!" at once.
        MessageBoxWatcher watcher;
        ASSERT_TRUE(FindHex(Hex(bytes)));
        EXPECT_EQ(fixture.doc.GetSearchPos(), 1);
        ASSERT_TRUE(FindHex(Hex(bytes + "A")));
        EXPECT_EQ(Texts(watcher.Seen()), std::vector<std::wstring>{L"Nenalezeno!"});
        EXPECT_EQ(fixture.doc.GetSearchPos(), 0);
        EXPECT_EQ(fixture.doc.GetMarkedLine(), 0);
    }
}

TEST_F(HostileSizeTest, LongestShownFileEndsWithTheLineAt7FFFFFE0) {
    const int64_t length = (1LL << 31) - 16;
    const std::string tail = "end of the view!";  // the last 16 bytes
    TempFile temp = TempFile::Sparse(static_cast<uint64_t>(length), {{0, "Xq"}, {length - 16, tail}});
    MessageBoxWatcher watcher;
    ASSERT_TRUE(fixture.Open(temp.path()));
    PumpMessages(200);
    EXPECT_TRUE(watcher.Seen().empty()) << "the whole file is shown: no notice";

    const int page = static_cast<int>(fixture.VerticalBar().nPage);
    const int content = 15 * (kLastShownLine + 1);
    EXPECT_EQ(fixture.VerticalBar().nMax, content - 1);
    fixture.view->SetScrollPos(SB_VERT, INT32_MAX, TRUE);
    fixture.VScroll(SB_THUMBTRACK);
    ASSERT_EQ(fixture.ScrollY(), content - page);
    fixture.VScroll(SB_LINEDOWN);
    fixture.VScroll(SB_PAGEDOWN);
    EXPECT_EQ(fixture.ScrollY(), content - page) << "no step goes past the end";

    const auto picture = fixture.Paint();
    const int lastTop = 15 * kLastShownLine - fixture.ScrollY();
    EXPECT_TRUE(ShowsLine(picture, lastTop, ExpectedLine(0x7FFFFFE0, tail, static_cast<int32_t>(length)), kDumpWhite));
    EXPECT_TRUE(ShowsLine(picture, lastTop - 15,
                          ExpectedLine(0x7FFFFFD0, std::string(16, '\0'), static_cast<int32_t>(length)), kDumpWhite));
    EXPECT_TRUE(WhiteFrom(picture, lastTop + 15));

    // A click there marks the line under the pointer, exactly.
    fixture.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, lastTop - 30 + 3));
    EXPECT_EQ(fixture.doc.GetMarkedLine(), kLastShownLine - 2);
    EXPECT_TRUE(ShowsLine(fixture.Paint(), lastTop - 30,
                          ExpectedLine(0x7FFFFFC0, std::string(16, '\0'), static_cast<int32_t>(length)), kDumpCyan));

    // The search reaches the last byte: a pattern that ends there is found from the start.
    ASSERT_TRUE(FindText(L"view!"));
    EXPECT_EQ(fixture.doc.GetMarkedLine(), kLastShownLine);
    EXPECT_EQ(fixture.doc.GetSearchPos(), 0x7FFFFFF0 - 5 + 1);
    EXPECT_EQ(fixture.ScrollY(), content - page);
    EXPECT_TRUE(watcher.Seen().empty());
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(Texts(watcher.Seen()), std::vector<std::wstring>{L"Nenalezeno!"});
}

TEST_F(HostileSizeTest, LongerFilesShowTheirBeginningSayWhyAndAreSearchedOnlyThere) {
    constexpr int64_t kShown = (1LL << 31) - 16;
    for (const int64_t length : {kShown + 1, 1LL << 31, (1LL << 32) + 1}) {
        SCOPED_TRACE(length);
        // Each pattern also stands at offset 0, so Find returns at once; Find Next then starts
        // near the end after a click on a line there.
        std::vector<std::pair<uint64_t, std::string>> patches = {
            {0, "ENDS|CRO|PAST"}, {kShown - 8, "ENDS"}, {kShown - 2, "CR"}, {kShown, "O"}};
        if (length >= kShown + 8)
            patches.push_back({kShown + 3, "PAST"});
        TempFile temp = TempFile::Sparse(static_cast<uint64_t>(length), patches);
        MessageBoxWatcher watcher;
        ASSERT_TRUE(fixture.Open(temp.path()));
        PumpMessages(300);
        const auto notices = watcher.Seen();
        ASSERT_EQ(notices.size(), 1u) << "the view says once that it shows only the beginning";
        EXPECT_EQ(notices[0].caption, L"Informace");
        EXPECT_NE(notices[0].text.find(L"2 147 483 632"), std::wstring::npos);
        EXPECT_EQ(fixture.doc.GetFileLength(), kShown);
        EXPECT_EQ(fixture.VerticalBar().nMax, 15 * (kLastShownLine + 1) - 1);

        fixture.view->SetScrollPos(SB_VERT, INT32_MAX, TRUE);
        fixture.VScroll(SB_THUMBTRACK);
        const auto picture = fixture.Paint();
        const int lastTop = 15 * kLastShownLine - fixture.ScrollY();
        std::string lastLine(16, '\0');
        lastLine.replace(8, 4, "ENDS");
        lastLine.replace(14, 2, "CR");
        EXPECT_TRUE(
            ShowsLine(picture, lastTop, ExpectedLine(0x7FFFFFE0, lastLine, static_cast<int32_t>(kShown)), kDumpWhite));
        EXPECT_TRUE(WhiteFrom(picture, lastTop + 15)) << "nothing past the shown range is drawn";

        auto findNextFromNearTheEnd = [&](const std::wstring& text) {
            ASSERT_TRUE(FindText(text));
            ASSERT_LT(fixture.doc.GetSearchPos(), 16) << "found at the start";
            fixture.doc.SetMarkedLine(kLastShownLine - 3);
            Command(ID_SEARCH_FIND_NEXT);
        };
        findNextFromNearTheEnd(L"ENDS");
        EXPECT_EQ(fixture.doc.GetMarkedLine(), kLastShownLine) << "found in the last shown line";
        EXPECT_EQ(fixture.doc.GetSearchPos(), static_cast<int32_t>(kShown - 8 + 1));
        findNextFromNearTheEnd(L"CRO");
        findNextFromNearTheEnd(L"PAST");
        const auto texts = Texts(watcher.Seen());
        EXPECT_EQ(std::vector<std::wstring>(texts.begin() + 1, texts.end()),
                  (std::vector<std::wstring>{L"Nenalezeno!", L"Nenalezeno!"}))
            << "a match that leaves the shown range is no match";
        EXPECT_EQ(fixture.doc.GetSearchPos(), 0);
    }
}

// ---- Unusual names and paths -----------------------------------------------------------------

TEST(HostileNamesTest, NamesInAnyScriptAndWithSpacesOpen) {
    const std::string bytes = Letters(20);
    for (const wchar_t* hint : {L"příliš žluťoučký kůň", L"Ωμέγα", L"Файл", L"文件 名", L"\U0001F4C4 dokument",
                                L" leading space", L"a;b,c=d&e'f"}) {
        SCOPED_TRACE(::testing::Message() << "name " << std::wstring(hint).size() << " units");
        TempFile temp(bytes, hint);
        ViewFixture fixture(700, 300);
        MessageBoxWatcher watcher;
        ASSERT_TRUE(fixture.Open(temp.path()));
        EXPECT_TRUE(watcher.Seen().empty());
        EXPECT_EQ(fixture.doc.GetFileLength(), 20);
        EXPECT_TRUE(ShowsLine(fixture.Paint(), 15, ExpectedLine(16, bytes.substr(16), 20), kDumpWhite));
    }
}

TEST(HostileNamesTest, PathsLongerThanMaxPath) {
    // A folder chain that takes the path well past MAX_PATH, made through the \\?\ prefix.
    const std::wstring root = L"\\\\?\\" + TempFolder() + L"okt-long-" + std::to_wstring(GetCurrentProcessId());
    std::vector<std::wstring> folders{root};
    for (int i = 0; i < 12; ++i)
        folders.push_back(folders.back() + L"\\slozka s dlouhym nazvem " + std::to_wstring(i));
    for (const std::wstring& folder : folders)
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring longPath = folders.back() + L"\\soubor.bin";
    ASSERT_GT(longPath.size(), static_cast<size_t>(MAX_PATH + 40));
    const std::string bytes = Letters(30);
    {
        UniqueHandle file(CreateFileW(longPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), bytes.data(), 30, &written, nullptr));
    }
    const FileFingerprint before = TakeFingerprint(longPath);
    {
        ViewFixture fixture(700, 300);
        MessageBoxWatcher watcher;
        ASSERT_TRUE(fixture.Open(longPath)) << "the \\\\?\\ form names the file exactly";
        EXPECT_EQ(fixture.doc.GetFileLength(), 30);
        EXPECT_TRUE(ShowsLine(fixture.Paint(), 15, ExpectedLine(16, bytes.substr(16), 30), kDumpWhite));
        // The plain form of the same path: shown, or refused with one message; never a crash.
        const std::wstring plain = longPath.substr(4);
        if (fixture.Open(plain)) {
            EXPECT_EQ(fixture.doc.GetFileLength(), 30);
            EXPECT_TRUE(watcher.Seen().empty());
        } else {
            EXPECT_EQ(watcher.Seen().size(), 1u);
        }
    }
    EXPECT_TRUE(TakeFingerprint(longPath).Matches(before)) << "the file was changed";
    EXPECT_TRUE(DeleteFileW(longPath.c_str()));
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        RemoveDirectoryW(it->c_str());
}

// ---- Find input at its limits ----------------------------------------------------------------

TEST_F(HostileFindTest, PatternsBeyondTheEditBoxesDefaultLimitAreTakenWhole) {
    // The file holds all but the pattern's last byte early on and the whole pattern later: a
    // pattern cut short anywhere on its way in would be found at the decoy.
    const std::string pattern = Letters(32 * 1024 + 7).substr(7);
    std::string bytes(100, '.');
    bytes += pattern.substr(0, pattern.size() - 1) + "#";
    bytes += std::string(50, '.');
    const size_t whole = bytes.size();
    bytes += pattern + "..";
    TempFile temp(bytes);
    ASSERT_TRUE(fixture.Open(temp.path()));
    MessageBoxWatcher watcher;
    const std::wstring hex = Hex(pattern);
    ASSERT_EQ(hex.size(), 64u * 1024);

    // Set as the box's text.
    ASSERT_TRUE(FindHex(hex));
    EXPECT_EQ(fixture.doc.GetSearchPos(), static_cast<int32_t>(whole + 1));

    // Pasted, as a person would: the box takes what its limit lets in.
    size_t boxLength = 0;
    EXPECT_TRUE(Find([&](HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_HEX_TEXT);
        SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(hex.c_str()));
        boxLength = static_cast<size_t>(GetWindowTextLengthW(box));
    })) << "refused: "
        << (watcher.Seen().empty() ? std::string() : "a message");
    EXPECT_EQ(boxLength, hex.size()) << "the paste was cut short";
    EXPECT_EQ(fixture.doc.GetSearchPos(), static_cast<int32_t>(whole + 1));

    // The same as text, typed into the text box.
    EXPECT_TRUE(Find([&](HWND dialog) {
        SendMessageW(GetDlgItem(dialog, IDC_MODE_TEXT), BM_CLICK, 0, 0);
        const std::wstring text(pattern.begin(), pattern.end());
        SendMessageW(GetDlgItem(dialog, IDC_PLAIN_TEXT), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }));
    EXPECT_EQ(fixture.doc.GetSearchPos(), static_cast<int32_t>(whole + 1)) << "the text was cut short";
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(HostileFindTest, InputThatCannotBeAPatternIsRefusedAndSearchesNothing) {
    TempFile temp("some bytes a to search");
    ASSERT_TRUE(fixture.Open(temp.path()));
    MessageBoxWatcher watcher;
    const std::wstring bestFit = L"\u0101";    // a with macron: the code page would make it a plain a
    const std::wstring emoji = L"\U0001F600";  // outside the BMP: a surrogate pair
    const std::wstring lone(1, wchar_t(0xD800));
    for (const std::wstring& text : {bestFit, emoji, lone, std::wstring(L"中"), L"search" + emoji})
        EXPECT_FALSE(FindText(text));
    for (const std::wstring& hex : {L"4" + emoji, L"41" + emoji, L"41" + lone + L"4", std::wstring(L"\uFF11\uFF12")})
        EXPECT_FALSE(FindHex(hex));
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 9u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(seen[i].text, L"Text obsahuje znak, který v kódové stránce systému nelze vyhledat!") << i;
    EXPECT_EQ(seen[5].text, L"Znak \"" + emoji + L"\" není platným HEXA znakem!") << "the whole character";
    EXPECT_EQ(seen[6].text, L"Chybná délka HEXA textu!") << "a character counts once, whatever its size";
    EXPECT_EQ(seen[7].text, L"Znak \"" + lone + L"\" není platným HEXA znakem!");
    EXPECT_EQ(seen[8].text, L"Znak \"\uFF11\" není platným HEXA znakem!") << "full-width digits are no hex";
    for (const SeenMessageBox& box : seen) {
        EXPECT_EQ(box.caption, L"Chyba");
        EXPECT_EQ(box.icon, L"exclamation");
    }
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND_NEXT)) << "no pattern was set";
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 0);
}
