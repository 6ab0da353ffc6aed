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
#include <cstdio>
#include <optional>
#include <span>
#include <stdexcept>
#include <thread>

namespace {
const std::wstring kOwnOpenFailure = L"Chyba při otevírání souboru!";
constexpr int32_t kLastShownLine = 0x7FFFFFE0 / 16;  // of a file of 2^31 - 16 bytes

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

// What a view shows of the end of a long sparse file whose bytes are zero but for `markers`.
class LongFileTest : public HostileTest {
protected:
    struct Marker {
        int64_t offset;
        std::string bytes;
    };

    bool Open(const TempFile& temp, int64_t length, std::vector<Marker> markers) {
        m_length = length;
        m_markers = std::move(markers);
        if (!fixture.Open(temp.path()))
            return false;
        m_lines = (length + 15) / 16;
        m_pageLines = (fixture.Client().Height() - 14) / 15;
        return true;
    }
    // The file's 16 bytes of line n, as far as the file goes.
    std::string BytesOfLine(int64_t n) const {
        std::string bytes(static_cast<size_t>(std::min<int64_t>(16, m_length - 16 * n)), '\0');
        for (const Marker& marker : m_markers)
            for (size_t i = 0; i < marker.bytes.size(); ++i) {
                const int64_t at = marker.offset + static_cast<int64_t>(i) - 16 * n;
                if (at >= 0 && at < static_cast<int64_t>(bytes.size()))
                    bytes[static_cast<size_t>(at)] = marker.bytes[i];
            }
        return bytes;
    }
    std::string Line(int64_t n) const { return ExpectedLine(16 * n, BytesOfLine(n), m_length); }
    int64_t LastPageTop() const { return m_lines - m_pageLines; }
    // Whether the view's top row shows line n (on cyan when it is the marked line).
    ::testing::AssertionResult ShowsAtTop(int64_t n) {
        return ShowsLine(fixture.Paint(), 0, Line(n), fixture.doc.GetMarkedLine() == n ? kDumpCyan : kDumpWhite);
    }
    void DragBoxTo(int box) {
        fixture.view->SetScrollPos(SB_VERT, box, TRUE);
        fixture.VScroll(SB_THUMBTRACK);
    }
    void Wheel(int delta) { fixture.view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); }

    // The checks every long file passes: the last page after the box is dragged to the bottom,
    // every step stopped there, each step back exact, the box back at the top, a click and a
    // Find Next deep in the file.
    void CheckEnd(int32_t offsetDigits) {
        const std::string last = Line(m_lines - 1);
        EXPECT_EQ(last.size(), 88u + static_cast<size_t>(offsetDigits - 8));
        EXPECT_EQ(last.find_first_not_of(' ', 2), 2u);
        EXPECT_EQ(last.find(' ', 2), 2u + static_cast<size_t>(offsetDigits)) << last;

        DragBoxTo(INT32_MAX);
        const int lastRow = 15 * static_cast<int>(m_pageLines - 1);
        auto picture = fixture.Paint();
        EXPECT_TRUE(ShowsLine(picture, lastRow, last, kDumpWhite)) << "the box at the bottom shows the last page";
        EXPECT_TRUE(ShowsAtTop(LastPageTop()));
        EXPECT_TRUE(WhiteFrom(picture, lastRow + 15));
        fixture.doc.reads = 0;
        fixture.view->Invalidate(FALSE);
        fixture.view->UpdateWindow();
        EXPECT_LE(fixture.doc.reads, m_pageLines + 3) << "a repaint reads no more lines than the window shows";
        fixture.VScroll(SB_THUMBPOSITION);
        fixture.VScroll(SB_LINEDOWN);
        fixture.VScroll(SB_PAGEDOWN);
        Wheel(-WHEEL_DELTA);
        EXPECT_TRUE(ShowsAtTop(LastPageTop())) << "no step goes past the end";

        fixture.VScroll(SB_LINEUP);
        EXPECT_TRUE(ShowsAtTop(LastPageTop() - 1));
        fixture.VScroll(SB_PAGEUP);
        EXPECT_TRUE(ShowsAtTop(LastPageTop() - 1 - m_pageLines));
        Wheel(-WHEEL_DELTA);
        EXPECT_TRUE(ShowsAtTop(LastPageTop() + 2 - m_pageLines));
        fixture.VScroll(SB_PAGEDOWN);
        EXPECT_TRUE(ShowsAtTop(LastPageTop())) << "the page step stops at the last page";

        // A click on the fourth row marks that line; Find Next then starts at the line above it.
        fixture.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 3 * 15 + 7));
        EXPECT_EQ(fixture.doc.GetMarkedLine(), LastPageTop() + 3);
        EXPECT_EQ(fixture.doc.GetSearchPos(), 16 * (LastPageTop() + 2));
        EXPECT_TRUE(ShowsLine(fixture.Paint(), 3 * 15, Line(LastPageTop() + 3), kDumpCyan));

        DragBoxTo(0);
        EXPECT_TRUE(ShowsAtTop(0)) << "the box at the top shows line 0";
        EXPECT_EQ(fixture.VerticalBar().nPos, 0);
    }

    // Find with `pattern` (which also stands near the start, so the scan returns at once), then
    // Find Next from two lines above the match at `offset`: the match is marked and brought as
    // far up as the end allows.
    void FindNextFromJustBefore(const std::wstring& pattern, int64_t offset) {
        MessageBoxWatcher watcher;
        ASSERT_TRUE(FindText(pattern));
        ASSERT_LT(fixture.doc.GetSearchPos(), 32) << "found at the start";
        const int64_t matchLine = offset / 16;
        fixture.doc.SetMarkedLine(matchLine - 2);
        Command(ID_SEARCH_FIND_NEXT);
        EXPECT_TRUE(watcher.Seen().empty());
        EXPECT_EQ(fixture.doc.GetMarkedLine(), matchLine);
        EXPECT_EQ(fixture.doc.GetSearchPos(), offset + 1);
        const int64_t top = std::min(matchLine, LastPageTop());
        EXPECT_TRUE(ShowsAtTop(top));
        EXPECT_TRUE(ShowsLine(fixture.Paint(), 15 * static_cast<int>(matchLine - top), Line(matchLine), kDumpCyan));
        if (offset + 16 > m_length - 16 * m_pageLines) {
            // From the last page, the rest of the file holds no further match.
            Command(ID_SEARCH_FIND_NEXT);
            EXPECT_EQ(Texts(watcher.Seen()), std::vector<std::wstring>{L"Nenalezeno!"});
            EXPECT_EQ(fixture.doc.GetSearchPos(), 0);
        }
    }

    int64_t m_length = 0;
    int64_t m_lines = 0;
    int64_t m_pageLines = 0;
    std::vector<Marker> m_markers;
};

TEST_F(LongFileTest, FilesPastTwoGiBShowEveryLineWithTheOffsetDigitsTheirLastLineNeeds) {
    struct Case {
        int64_t length;
        int32_t digits;
    };
    const Case cases[] = {
        {(1LL << 31) - 15, 8},  // one byte past what a 32-bit view could count
        {(1LL << 32) - 16, 8},  // last line FFFFFFE0
        {(1LL << 32) + 17, 9},  // last line 100000010
        {(1LL << 36), 9},       // last line FFFFFFFF0
        {(1LL << 36) + 1, 10},  // last line 1000000000
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        // Each marker also stands near the start, so that Find returns at once.
        std::vector<Marker> markers = {{0, "KONEC"}, {16, "PRES"}, {c.length - 5, "KONEC"}};
        // Across the 4 GiB boundary, where 32-bit offsets wrap.
        if (c.length > (1LL << 32) + 2)
            markers.push_back({(1LL << 32) - 2, "PRES"});
        std::vector<std::pair<uint64_t, std::string>> patches;
        for (const Marker& marker : markers)
            patches.emplace_back(static_cast<uint64_t>(marker.offset), marker.bytes);
        TempFile temp = TempFile::Sparse(static_cast<uint64_t>(c.length), patches);
        {
            MessageBoxWatcher watcher;
            ASSERT_TRUE(Open(temp, c.length, markers));
            PumpMessages(200);
            EXPECT_TRUE(watcher.Seen().empty()) << "the whole file is shown, with no notice";
        }
        EXPECT_TRUE(ShowsAtTop(0));

        fixture.ResizeWindow(400, 300);
        EXPECT_EQ(fixture.HorizontalBar().nMax, 610 + 7 * (c.digits - 8) - 1) << "a cell wider per offset digit";
        fixture.ResizeWindow(700, 300);

        CheckEnd(c.digits);
        FindNextFromJustBefore(L"KONEC", c.length - 5);
        if (c.length > (1LL << 32) + 2)
            FindNextFromJustBefore(L"PRES", (1LL << 32) - 2);
    }
}

TEST_F(LongFileTest, TheLongestFileTheDiskHoldsShowsItsLastByte) {
    // The longest sparse file this machine's file system makes (ext4: just under 16 TiB).
    std::optional<TempFile> temp;
    int64_t length = 0;
    for (int64_t candidate = (1LL << 44) - 65536; candidate > (1LL << 36) && !temp; candidate /= 2) {
        try {
            temp.emplace(TempFile::Sparse(static_cast<uint64_t>(candidate), {{0, "Z"}, {candidate - 1, "Z"}}));
            length = candidate;
        } catch (const std::runtime_error&) {
        }
    }
    ASSERT_TRUE(temp) << "no sparse file longer than 64 GiB can be made here";
    std::printf("the longest file made here: %lld bytes\n", static_cast<long long>(length));
    ASSERT_TRUE(Open(*temp, length, {{0, "Z"}, {length - 1, "Z"}}));
    int32_t digits = 8;
    while ((length - 1) / 16 * 16 >> (4 * digits) != 0)
        ++digits;
    CheckEnd(digits);
    FindNextFromJustBefore(L"Z", length - 1);
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
