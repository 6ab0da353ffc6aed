// Starting the viewer: with no file, with a readable file, with a file that cannot be opened.
#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"
#include "tests/e2e/ViewerTest.h"

namespace e2e {
namespace {

using Launch = ViewerTest;

TEST_F(Launch, WithoutFileShowsWhiteViewAndDisablesSearch) {
    Viewer& viewer = Start();
    ASSERT_TRUE(viewer.Main());
    std::wstring title = TextOf(viewer.Main());
    EXPECT_EQ(0u, title.rfind(L"Oktalon 1.0", 0)) << "title: " << Narrow(title);
    ASSERT_TRUE(viewer.View());
    EXPECT_TRUE(WaitUntil([&] { return ViewIsBlank(); }, 3000)) << "the empty view is not all white";
    EXPECT_FALSE(StyleOf(viewer.View()) & WS_VSCROLL) << "no lines, no vertical scroll bar";
    EXPECT_TRUE(WaitUntil([&] { return viewer.StatusText() == L"P\u0159ipraven"; }, 3000))
        << "status: " << Narrow(viewer.StatusText());
    Shot("empty");

    EXPECT_TRUE(WaitUntil(
        [&] { return viewer.ToolbarState(ID_FILE_OPEN) >= 0 && (viewer.ToolbarState(ID_FILE_OPEN) & TBSTATE_ENABLED); },
        3000));
    EXPECT_FALSE(viewer.ToolbarState(ID_SEARCH_FIND) & TBSTATE_ENABLED) << "Find needs an open file";
    input::Key(VK_F4);
    EXPECT_FALSE(viewer.WaitForWindow(L"Hledat", L"#32770", 1000)) << "F4 opened Find with no file";
    input::Key(VK_F3);
    EXPECT_TRUE(viewer.NoMessageBoxFor(1000)) << "F3 did something with no file";
    EXPECT_TRUE(viewer.Running());
}

TEST_F(Launch, WithFileShowsItsDumpAtOnceWithTheFirstLineMarked) {
    std::vector<uint8_t> file = LinesFile(100);
    std::wstring path = MakeFile(L"sto-radek.bin", file);
    Viewer& viewer = StartWith(path);
    ASSERT_TRUE(viewer.Main());
    EXPECT_TRUE(WaitShowsDump(file, 0, 0));
    EXPECT_TRUE(StyleOf(viewer.View()) & WS_VSCROLL) << "100 lines do not fit: the vertical bar shows";
    EXPECT_TRUE(WaitUntil([&] { return (viewer.ToolbarState(ID_SEARCH_FIND) & TBSTATE_ENABLED) != 0; }, 3000))
        << "Find is enabled for a non-empty file";
    Shot("dump");
}

TEST_F(Launch, FileNameWithCzechLettersOpens) {
    std::vector<uint8_t> file =
        Text("P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2");  // a Czech sentence in code page 1250
    std::wstring path = MakeFile(L"v\u00fdpis \u010d\u0159\u017e.bin", file);
    Viewer& viewer = StartWith(path);
    ASSERT_TRUE(viewer.Main());
    EXPECT_TRUE(WaitShowsDump(file, 0, 0));
    EXPECT_TRUE(HeldExclusively(path));
}

TEST_F(Launch, MissingFileIsReportedAndTheProgramEnds) {
    const std::wstring title = L"Oktalon 1.0 \u2013 \u00a9 2026 auto\u0159i projektu Oktalon";
    const std::wstring missing = PathOf(L"nen\u00ed-tu.bin");
    m_viewer = std::make_unique<Viewer>(std::vector<std::wstring>{missing});
    ASSERT_TRUE(m_viewer->Started());
    Box box = m_viewer->WaitForMessageBox(15000);
    ASSERT_TRUE(box) << "no message about the missing file";
    EXPECT_NE(box.text.find(L"nen\u00ed-tu.bin"), std::wstring::npos) << "names the file: " << Narrow(box.text);
    EXPECT_EQ(box.caption, title) << "caption: " << Narrow(box.caption);
    EXPECT_EQ(m_viewer->TopLevelWindows().size(), 1u) << "no main window while the message is up";
    Shot("missing-file");
    Dismiss(box);
    EXPECT_TRUE(m_viewer->WaitForExit(5000)) << "the program goes on without a document";
    EXPECT_NE(m_viewer->ExitCode(), 0u) << "a start that failed";
    EXPECT_TRUE(m_viewer->TopLevelWindows().empty());
    // The file did not join the recent-file list.
    wchar_t first[MAX_PATH] = L"";
    DWORD size = sizeof first;
    RegGetValueW(HKEY_CURRENT_USER,
                 (L"Software\\Local AppWizard-Generated Applications\\" + title + L"\\Recent File List").c_str(),
                 L"File1", RRF_RT_REG_SZ, nullptr, first, &size);
    EXPECT_NE(std::wstring(first), missing);
}

TEST_F(Launch, FileThatAnotherProgramReadsIsRefused) {
    std::wstring path = MakeFile(L"cteny.bin", LinesFile(3));
    // Another program reads the file and lets others read it too: the viewer may check it, but
    // cannot hold it alone.
    Handle reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    m_viewer = std::make_unique<Viewer>(std::vector<std::wstring>{path});
    Box box = m_viewer->WaitForMessageBox(15000);
    reader.reset();
    ASSERT_TRUE(box) << "no message about the file in use";
    EXPECT_EQ(L"Chyba p\u0159i otev\u00edr\u00e1n\u00ed souboru!", box.text);
    EXPECT_EQ(0u, box.caption.rfind(L"Oktalon 1.0", 0)) << "caption: " << Narrow(box.caption);
    Dismiss(box);
    EXPECT_TRUE(m_viewer->WaitForExit(5000));
    EXPECT_TRUE(m_viewer->TopLevelWindows().empty());
}

}  // namespace
}  // namespace e2e
