#include "doc/ScrollDoc.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <array>

namespace {
std::string Bytes(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += static_cast<char>(0x40 + i);
    return bytes;
}

bool OthersCanRead(const std::wstring& path) {
    UniqueHandle other(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(other);
}
}  // namespace

TEST(ScrollDocTest, WithoutAFileThereIsNothingToRead) {
    CScrollDoc doc;
    EXPECT_EQ(doc.GetFileLength(), -1);
    std::array<BYTE, 16> buffer;
    buffer.fill(0xAB);
    EXPECT_EQ(doc.ReadBlock(0, 16, buffer.data()), -1);
    EXPECT_EQ(buffer[0], 0xAB) << "the buffer stays untouched";
    EXPECT_EQ(doc.GetMarkedLine(), 0);
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetFileLength(), -1) << "a new document opens nothing";
}

TEST(ScrollDocTest, ReadsLinesOfAFortyByteFile) {
    TempFile temp(Bytes(40));
    CScrollDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(temp.c_str()));
    EXPECT_EQ(doc.GetFileLength(), 40);
    std::array<BYTE, 16> buffer{};
    EXPECT_EQ(doc.ReadBlock(16, 16, buffer.data()), 16);
    EXPECT_EQ(buffer[0], 0x50);
    EXPECT_EQ(doc.ReadBlock(32, 16, buffer.data()), 8);
    EXPECT_EQ(buffer[7], 0x40 + 39);
    EXPECT_EQ(doc.ReadBlock(48, 16, buffer.data()), 0);
    EXPECT_THROW(doc.ReadBlock(-16, 16, buffer.data()), CFileException);
    EXPECT_EQ(doc.GetFileLength(), 40) << "a refused read changes nothing";
}

TEST(ScrollDocTest, EmptyFileOpens) {
    TempFile temp("");
    CScrollDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(temp.c_str()));
    EXPECT_EQ(doc.GetFileLength(), 0);
    std::array<BYTE, 16> buffer{};
    EXPECT_EQ(doc.ReadBlock(0, 16, buffer.data()), 0);
}

TEST(ScrollDocTest, HoldsTheShownFileExclusivelyUntilAnotherOpens) {
    TempFile first(Bytes(20)), second(Bytes(3));
    CScrollDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(first.c_str()));
    EXPECT_FALSE(OthersCanRead(first.path())) << "not even readers get in while it is shown";
    ASSERT_TRUE(doc.OnOpenDocument(second.c_str()));
    EXPECT_TRUE(OthersCanRead(first.path())) << "the first file is free again";
    EXPECT_FALSE(OthersCanRead(second.path()));
    EXPECT_EQ(doc.GetFileLength(), 3);
}

TEST(ScrollDocTest, OpeningAFileMarksItsFirstLine) {
    TempFile first(Bytes(100)), second(Bytes(50));
    CScrollDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(first.c_str()));
    doc.SetMarkedLine(5);
    EXPECT_EQ(doc.GetMarkedLine(), 5);
    doc.SetMarkedLine(-1);
    EXPECT_EQ(doc.GetMarkedLine(), -1);
    doc.SetMarkedLine(4);
    ASSERT_TRUE(doc.OnOpenDocument(second.c_str()));
    EXPECT_EQ(doc.GetMarkedLine(), 0);
}

TEST(ScrollDocTest, FailedBaseOpenKeepsTheShownFile) {
    TempFile shown(Bytes(40));
    CScrollDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(shown.c_str()));
    doc.SetMarkedLine(2);
    const std::wstring missing = UniqueTempPath(L"gone");
    MessageBoxWatcher watcher;
    EXPECT_FALSE(doc.OnOpenDocument(missing.c_str()));
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u) << "the framework reports its own failure once";
    EXPECT_NE(seen[0].text, L"Chyba při otevírání souboru!");
    EXPECT_EQ(seen[0].icon, L"exclamation");
    EXPECT_EQ(doc.GetFileLength(), 40) << "the file shown so far stays open and shown";
    EXPECT_EQ(doc.GetMarkedLine(), 2);
    EXPECT_FALSE(OthersCanRead(shown.path()));
}

TEST(ScrollDocTest, FailedExclusiveOpenLeavesNoFileOpen) {
    TempFile shown(Bytes(40)), shared(Bytes(10));
    CScrollDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(shown.c_str()));
    doc.SetPathName(shown.c_str());  // as the application names an opened document
    doc.SetMarkedLine(2);
    // Another reader that lets readers in: the base open gets through, the exclusive one not.
    UniqueHandle reader(CreateFileW(shared.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    MessageBoxWatcher watcher;
    EXPECT_FALSE(doc.OnOpenDocument(shared.c_str()));
    const auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Chyba při otevírání souboru!");
    EXPECT_EQ(seen[0].icon, L"exclamation");
    EXPECT_EQ(doc.GetFileLength(), -1);
    std::array<BYTE, 16> buffer{};
    EXPECT_EQ(doc.ReadBlock(0, 16, buffer.data()), -1);
    EXPECT_EQ(doc.GetMarkedLine(), 2) << "the marked line keeps its value";
    EXPECT_TRUE(OthersCanRead(shown.path())) << "the old file was closed";
    EXPECT_TRUE(doc.GetPathName().IsEmpty()) << "the closed file is not the document's any more";
    EXPECT_TRUE(doc.GetTitle().IsEmpty());
}

TEST(ScrollDocTest, FilesOfAnyLengthGiveTheirWholeLengthAndEveryLine) {
    for (const uint64_t length : {(1ull << 31) - 16, (1ull << 31) - 15, (1ull << 32) + 1, (1ull << 36) + 1}) {
        TempFile temp = TempFile::Sparse(length, {{length - 1, "Z"}});
        CScrollDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(temp.c_str()));
        EXPECT_EQ(doc.GetFileLength(), static_cast<int64_t>(length)) << length;
        const auto lastLine = static_cast<int64_t>((length - 1) / 16);
        std::array<BYTE, 16> buffer;
        buffer.fill(0xAB);
        const int32_t count = doc.ReadBlock(16 * lastLine, 16, buffer.data());
        ASSERT_EQ(count, static_cast<int32_t>(length - 16 * static_cast<uint64_t>(lastLine))) << length;
        EXPECT_EQ(buffer[static_cast<size_t>(count - 1)], 'Z') << length;
        doc.SetMarkedLine(lastLine);
        EXPECT_EQ(doc.GetSearchPos(), 16 * (lastLine - 1)) << length;
    }
}
