// Hostile input to the real program: command-line names it cannot open, names in other scripts,
// paths longer than MAX_PATH, and a file of terabytes. Each ends in a clear message
// or a sound display, and the program either goes on or ends as it should; no file is changed.
#include <windows.h>

#include "tests/e2e/ViewerTest.h"

#include <cstring>

namespace e2e {
namespace {

std::vector<uint8_t> ReadAll(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file)
        return bytes;
    uint8_t buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    return bytes;
}

using HostileStart = ViewerTest;

TEST_F(HostileStart, NamesThatCannotBeOpenedAreReportedAndTheProgramEnds) {
    const std::vector<uint8_t> bytes = LinesFile(4);
    const std::wstring written = MakeFile(L"zapisovany.bin", bytes);
    // Another program has the file open for writing: the viewer may not even check it.
    Handle writer(CreateFileW(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    for (const std::wstring& name : {Folder(), Folder() + L"\\", written, PathOf(L"a<b>.bin")}) {
        SCOPED_TRACE(Narrow(name));
        m_viewer = std::make_unique<Viewer>(std::vector<std::wstring>{name});
        ASSERT_TRUE(m_viewer->Started());
        Box box = m_viewer->WaitForMessageBox(15000);
        ASSERT_TRUE(box) << "no message";
        EXPECT_NE(box.text.find(L"nelze otev"), std::wstring::npos) << Narrow(box.text);
        Dismiss(box);
        EXPECT_TRUE(m_viewer->WaitForExit(5000)) << "the program goes on without a document";
        EXPECT_TRUE(m_viewer->TopLevelWindows().empty());
    }
    writer.reset();
    EXPECT_EQ(ReadAll(written), bytes) << "the file was changed";
}

TEST_F(HostileStart, NamesInOtherScriptsAndPathsLongerThanMaxPathOpen) {
    const std::vector<uint8_t> bytes = LinesFile(5);
    std::vector<std::wstring> paths = {MakeFile(L"\u03A9\u03BC\u03AD\u03B3\u03B1 \u0424\u0430\u0439\u043B.bin", bytes),
                                       MakeFile(L"\u6587\u4EF6 \U0001F4C4.bin", bytes)};
    // A folder chain past MAX_PATH, named through the \\?\ prefix, which the viewer takes as it is.
    std::vector<std::wstring> folders{L"\\\\?\\" + Folder() + L"\\dlouha cesta"};
    for (int i = 0; i < 12; ++i)
        folders.push_back(folders.back() + L"\\slozka s dlouhym nazvem " + std::to_wstring(i));
    for (const std::wstring& folder : folders)
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring longPath = folders.back() + L"\\soubor.bin";
    ASSERT_GT(longPath.size(), 300u);
    {
        const Handle file(CreateFileW(longPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    paths.push_back(longPath);
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(Narrow(path));
        StartWith(path);
        ASSERT_TRUE(m_viewer->Main());
        EXPECT_TRUE(WaitShowsDump(bytes, 0, 0));
        EXPECT_TRUE(HeldExclusively(path));
        EXPECT_TRUE(m_viewer->NoMessageBoxFor(300));
        Exit();
        EXPECT_EQ(ReadAll(path), bytes) << "the file was changed";
    }
    DeleteFileW(longPath.c_str());
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        RemoveDirectoryW(it->c_str());
}

TEST_F(HostileStart, AFileOfTerabytesShowsEveryLineToItsLastWithElevenDigitOffsets) {
    // 2 TiB and 5 bytes: KONEC at its start and as its last line, at offset 200 0000 0000.
    constexpr long long kLastLine = 1LL << 41;
    constexpr unsigned long long kLength = kLastLine + 5;
    const std::wstring path = MakeSparseFile(L"obraz disku.bin", kLength, {{0, "KONEC"}, {kLastLine, "KONEC"}});
    StartWith(path);
    ASSERT_TRUE(m_viewer->Main());
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(1000)) << "the whole file is shown, with no notice";

    const auto lineText = [](long long offset) {
        uint8_t bytes[16] = {};
        if (offset == 0 || offset == kLastLine)
            std::memcpy(bytes, "KONEC", 5);
        return DumpLineText(static_cast<uint64_t>(offset), bytes, offset == kLastLine ? 5 : 16, 11);
    };
    const auto topOffset = [&] { return m_reader.ReadOffset(ViewShot(), 0, 11); };
    EXPECT_TRUE(WaitUntil([&] { return m_reader.Shows(ViewShot(), 0, lineText(0), kCyan); }, 5000))
        << "the first line, with an 11-digit offset, marked";
    const int page = PageLines();
    const long long lastTop = kLastLine - 16LL * (page - 1);
    const auto showsLastPage = [&](uint32_t lastLineBackground) {
        const Image shot = ViewShot();
        return m_reader.ReadOffset(shot, 0, 11) == lastTop &&
               m_reader.Shows(shot, (page - 1) * kLinePixels, lineText(kLastLine), lastLineBackground);
    };

    // The vertical bar, in screen coordinates: the box at its top, the trough at its foot.
    const RECT client = ClientScreenRect(m_viewer->View());
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const int barX = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
    const POINT boxAtTop{barX, client.top + arrow + 4};
    const POINT boxAtBottom{barX, client.bottom - arrow - 4};
    const auto drag = [](POINT from, POINT to) {
        input::MouseDown(from);
        for (int i = 1; i <= 8; ++i)
            input::MoveTo(POINT{from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8});
        Sleep(100);
        input::MouseUp(to);
    };

    // The box dragged to the bottom shows the last page, the last line at its foot.
    drag(boxAtTop, boxAtBottom);
    EXPECT_TRUE(WaitUntil([&] { return showsLastPage(kWhite); }, 5000)) << "top offset " << std::hex << topOffset();
    Shot("last page");
    // Down, Page Down and the wheel stop there; Up goes back one line, Page Down to the end again.
    input::MoveTo(ViewPoint(300, 100));
    input::Key(VK_DOWN);
    input::Key(VK_NEXT);
    input::Wheel(-WHEEL_DELTA);
    Sleep(300);
    EXPECT_TRUE(showsLastPage(kWhite)) << "top offset " << std::hex << topOffset();
    input::Key(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return topOffset() == lastTop - 16; }, 3000)) << std::hex << topOffset();
    input::Key(VK_NEXT);
    EXPECT_TRUE(WaitUntil([&] { return showsLastPage(kWhite); }, 3000)) << std::hex << topOffset();

    // Find takes the word at the start; after a click two lines above the last, F3 marks the last.
    Find(L"KONEC", true);
    EXPECT_TRUE(WaitUntil([&] { return topOffset() == 0 && MarkedRow() == 0; }, 5000));
    drag(boxAtTop, boxAtBottom);
    ASSERT_TRUE(WaitUntil([&] { return showsLastPage(kWhite); }, 5000)) << std::hex << topOffset();
    ClickRow(page - 3);
    EXPECT_TRUE(WaitMarkedRow(page - 3));
    drag(boxAtBottom, boxAtTop);
    EXPECT_TRUE(WaitUntil([&] { return topOffset() == 0; }, 5000)) << "the box back at the top shows line 0";
    input::Key(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return showsLastPage(kCyan); }, 10000)) << std::hex << topOffset();
    EXPECT_EQ(MarkedRow(), page - 1);
    Shot("found at the end");
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(300));
    Exit();

    WIN32_FILE_ATTRIBUTE_DATA after{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ((static_cast<unsigned long long>(after.nFileSizeHigh) << 32) | after.nFileSizeLow, kLength)
        << "the file was changed";
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char last[6] = {};
    DWORD read = 0;
    LARGE_INTEGER at{};
    at.QuadPart = kLastLine;
    ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) && ReadFile(file.get(), last, 5, &read, nullptr));
    EXPECT_STREQ(last, "KONEC");
}

}  // namespace
}  // namespace e2e
