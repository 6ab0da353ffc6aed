// A file whose length changes while the viewer shows it. Windows locks the shown file against
// other Windows programs, but not against Linux processes under Wine (nor against a file system
// that others change): the view and the search must stay sound, reading nothing outside the
// file and never showing bytes that are no longer there.
//
// Run by change_file.sh, which makes the requested changes from the Linux side.
#include "framework/window/CmdUI.h"
#include "res/resource.h"
#include "tests/win/DumpPicture.h"
#include "tests/win/ViewFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {
// The work folder shared with the Linux side.
std::wstring WorkDir() {
    wchar_t dir[1024] = L"";
    const DWORD n = GetEnvironmentVariableW(L"OKTALON_CHANGE_DIR", dir, 1024);
    return n > 0 && n < 1024 ? dir : L"";
}

std::string ReadWhole(const std::wstring& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    if (!file)
        return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    return bytes;
}

class ChangingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = WorkDir();
        ASSERT_FALSE(m_dir.empty()) << "run through tests/reliability/change_file.sh";
    }

    void TearDown() override {
        // Let go of the file, then check that the viewer wrote nothing: the file holds exactly
        // what was made plus what the Linux side did to it.
        fixture.reset();
        if (!m_name.empty()) {
            EXPECT_EQ(ReadWhole(Path()), m_expected) << "the file's contents are not what was made of them";
            DeleteFileW(Path().c_str());
        }
    }

    std::wstring Path() const { return m_dir + L"\\" + m_name; }

    // Makes the file and shows it.
    void Show(const std::wstring& name, const std::string& bytes) {
        m_name = name;
        m_expected = bytes;
        {
            UniqueHandle file(CreateFileW(Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(file);
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        }
        ASSERT_TRUE(fixture->Open(Path()));
    }

    // Asks the Linux side for a change and waits until it is made.
    void Change(const std::string& action, const std::string& argument) {
        const std::wstring request = m_dir + L"\\request", pending = m_dir + L"\\request.tmp", done = m_dir + L"\\done";
        DeleteFileW(done.c_str());
        {
            const std::string line = action + " " + std::string(m_name.begin(), m_name.end()) + " " + argument + "\n";
            UniqueHandle file(CreateFileW(pending.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            ASSERT_TRUE(file);
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr));
        }
        ASSERT_TRUE(MoveFileExW(pending.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING));
        const ULONGLONG deadline = GetTickCount64() + 15000;
        while (GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
            ASSERT_LT(GetTickCount64(), deadline) << "the Linux side did not answer " << action;
            Sleep(20);
        }
        DeleteFileW(done.c_str());
        if (action == "truncate")
            m_expected.resize(std::stoul(argument), '\0');
        else
            m_expected += argument;
    }

    void Command(UINT id) { fixture->doc.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); }
    bool Enabled(UINT id) {
        CCmdUI ui;
        ui.m_nID = id;
        fixture->doc.OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui.m_bEnabled != FALSE;
    }
    void FindText(const std::wstring& text) {
        WhenWindowAppears answer(L"Hledat", [&](HWND dialog) {
            SendMessageW(GetDlgItem(dialog, IDC_MODE_TEXT), BM_CLICK, 0, 0);
            SetDlgItemTextW(dialog, IDC_PLAIN_TEXT, text.c_str());
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        Command(ID_SEARCH_FIND);
        EXPECT_TRUE(answer.Appeared());
    }
    void ScrollToLine(int line) {
        fixture->view->SetScrollPos(SB_VERT, 15 * line, TRUE);
        fixture->VScroll(SB_THUMBTRACK);
    }

    // Every client row shows the file as it is now, in the layout of the length the view took
    // when the file was opened.
    void ExpectDumpOfTheFileAsItIs(int32_t viewLength, int markedLine) {
        const auto picture = fixture->Paint();
        const int top = fixture->ScrollY() / 15;
        const int lines = (viewLength + 15) / 16;
        int line = top;
        for (; line < lines && 15 * (line - top) < picture.height; ++line) {
            const size_t offset = 16u * static_cast<size_t>(line);
            const std::string there = offset < m_expected.size() ? m_expected.substr(offset, 16) : std::string();
            EXPECT_TRUE(ShowsLine(picture, 15 * (line - top),
                                  ExpectedLine(static_cast<int32_t>(offset), there, viewLength),
                                  line == markedLine ? kDumpCyan : kDumpWhite))
                << "line " << line;
        }
        EXPECT_TRUE(WhiteFrom(picture, 15 * (line - top)));
    }

    std::unique_ptr<ViewFixture> fixture = std::make_unique<ViewFixture>(700, 300);
    std::wstring m_dir, m_name;
    std::string m_expected;
};
}  // namespace

TEST_F(ChangingFileTest, ShrunkFileShowsBlankCellsAndIsSearchedOnlyAsFarAsItGoes) {
    std::string bytes = Letters(1600, 'a');
    bytes.replace(500, 4, "KEEP");
    bytes.replace(997, 6, "NEEDLE");   // cut in half by the shrink
    bytes.replace(1300, 6, "NEEDLE");  // cut off altogether
    Show(L"shrinking.bin", bytes);
    ScrollToLine(55);
    ExpectDumpOfTheFileAsItIs(1600, 0);

    Change("truncate", "1000");
    // Line 62 keeps 8 bytes; from line 63 on only the offsets remain, with blank cells where
    // the view's buffer still holds the bytes of the line before.
    ExpectDumpOfTheFileAsItIs(1600, 0);

    MessageBoxWatcher watcher;
    FindText(L"NEEDLE");
    ASSERT_EQ(watcher.Seen().size(), 1u) << "a match past the end was found";
    EXPECT_EQ(watcher.Seen()[0].text, L"Nenalezeno!");
    EXPECT_EQ(fixture->doc.GetSearchPos(), 0);
    FindText(L"KEEP");
    EXPECT_EQ(fixture->doc.GetSearchPos(), 501);
    EXPECT_EQ(fixture->doc.GetMarkedLine(), 500 / 16);
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(watcher.Seen().size(), 2u);
    ExpectDumpOfTheFileAsItIs(1600, 500 / 16);

    Change("truncate", "0");
    ExpectDumpOfTheFileAsItIs(1600, 500 / 16);
    EXPECT_FALSE(Enabled(ID_SEARCH_FIND)) << "nothing left to search";
    Command(ID_SEARCH_FIND_NEXT);  // as if the key came before the commands were updated
    EXPECT_EQ(watcher.Seen().size(), 3u);
    EXPECT_EQ(fixture->doc.GetSearchPos(), 0);
}

TEST_F(ChangingFileTest, GrownFileShowsWhatWasThereAndIsSearchedAsItIsNow) {
    Show(L"growing.bin", Letters(1000, 'a'));
    ScrollToLine(50);
    Change("append", "APPENDED-NEEDLE");
    // The view keeps the length it took: the last line shows its 8 bytes, nothing below it.
    ExpectDumpOfTheFileAsItIs(1000, 0);

    MessageBoxWatcher watcher;
    FindText(L"NEEDLE");
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(fixture->doc.GetSearchPos(), 1009 + 1) << "the search reads the file as it is now";
    Command(ID_SEARCH_FIND_NEXT);
    EXPECT_EQ(watcher.Seen().size(), 1u);
    ExpectDumpOfTheFileAsItIs(1000, 1009 / 16);
}
