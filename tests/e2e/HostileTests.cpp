// Hostile input to the real program: command-line names it cannot open, names in other scripts,
// paths longer than MAX_PATH, and files longer than the view shows. Each ends in a clear message
// or a sound display, and the program either goes on or ends as it should; no file is changed.
#include <windows.h>
#include <winioctl.h>

#include "tests/e2e/ViewerTest.h"

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

// A sparse file of `length` bytes with `head` at its start and `text` at `at`.
bool WriteSparse(const std::wstring& path, unsigned long long length, const std::vector<uint8_t>& head, long long at,
                 const std::string& text) {
    const Handle owner(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!owner)
        return false;
    const HANDLE file = owner.get();
    DWORD returned = 0, written = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
              SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN) &&
              WriteFile(file, head.data(), static_cast<DWORD>(head.size()), &written, nullptr);
    LARGE_INTEGER where{};
    where.QuadPart = at;
    ok = ok && SetFilePointerEx(file, where, nullptr, FILE_BEGIN) &&
         WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return ok;
}

using HostileStart = ViewerTest;

TEST_F(HostileStart, NamesThatCannotBeOpenedAreReportedAndTheProgramEnds) {
    const std::vector<uint8_t> bytes = LinesFile(4);
    const std::wstring written = m_files.Write(L"zapisovany.bin", bytes);
    // Another program has the file open for writing: the viewer may not even check it.
    Handle writer(CreateFileW(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    for (const std::wstring& name : {m_files.Path(), m_files.Path() + L"\\", written, m_files.PathOf(L"a<b>.bin")}) {
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
    std::vector<std::wstring> paths = {
        m_files.Write(L"\u03A9\u03BC\u03AD\u03B3\u03B1 \u0424\u0430\u0439\u043B.bin", bytes),
        m_files.Write(L"\u6587\u4EF6 \U0001F4C4.bin", bytes)};
    // A folder chain past MAX_PATH, named through the \\?\ prefix, which the viewer takes as it is.
    std::vector<std::wstring> folders{L"\\\\?\\" + m_files.Path() + L"\\dlouha cesta"};
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

TEST_F(HostileStart, FileLongerThanTheViewShowsSaysSoAndEndsAtTheLastShownLine) {
    const std::wstring path = m_files.PathOf(L"velky.bin");
    const std::vector<uint8_t> head = LinesFile(2);
    // KONEC in the last shown line, DALSI right after the shown range.
    ASSERT_TRUE(WriteSparse(path, (1ull << 32) + 1, head, 0x7FFFFFE8, "KONEC...DALSI"));
    StartWith(path);
    ASSERT_TRUE(m_viewer->Main());
    Box notice = m_viewer->WaitForMessageBox(10000);
    ASSERT_TRUE(notice) << "no word that only the beginning is shown";
    EXPECT_EQ(notice.caption, L"Informace");
    EXPECT_NE(notice.text.find(L"2 147 483 632"), std::wstring::npos) << Narrow(notice.text);
    Shot("notice");
    Dismiss(notice);
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(500)) << "the notice comes once";
    EXPECT_TRUE(WaitTopLine(0));
    EXPECT_EQ(MarkedRow(), 0);

    // Drag the vertical scroll box to the bottom: the last row is the line at 7FFFFFE0.
    // A word in the last shown line: Find reads its way through the 2 GiB to it and shows the
    // last page, the line at 7FFFFFE0 marked at its foot.
    Find(L"KONEC", true);
    const int lastRow = PageLines() - 1;
    // The scan reads 2 GiB first: a busy machine or the x86 build may need many seconds.
    EXPECT_TRUE(WaitUntil([&] { return m_reader.ReadOffset(ViewShot(), lastRow * kLinePixels) == 0x7FFFFFE0; }, 30000))
        << "the last row shows offset " << std::hex << m_reader.ReadOffset(ViewShot(), lastRow * kLinePixels);
    EXPECT_EQ(m_reader.ReadOffset(ViewShot(), 0), 0x7FFFFFE0 - 16LL * lastRow);
    EXPECT_EQ(MarkedRow(), lastRow);
    // The same word just past the shown range is not found.
    Find(L"DALSI", true);
    Box notFound = m_viewer->WaitForMessageBox(20000);
    ASSERT_TRUE(notFound) << "a word past the shown range was found";
    EXPECT_EQ(notFound.text, L"Nenalezeno!");
    Dismiss(notFound);
    Shot("end");
    EXPECT_TRUE(m_viewer->Running());
    Exit();
    WIN32_FILE_ATTRIBUTE_DATA after{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ((static_cast<unsigned long long>(after.nFileSizeHigh) << 32) | after.nFileSizeLow, (1ull << 32) + 1)
        << "the file was changed";
}

}  // namespace
}  // namespace e2e
