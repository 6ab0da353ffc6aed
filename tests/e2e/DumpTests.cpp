// What the dump shows: line layout, the character column under code page 1250, short files, and
// marking a line with a click.
#include "tests/e2e/ViewerTest.h"

namespace e2e {
namespace {

using Dump = ViewerTest;

TEST_F(Dump, CharacterColumnUnderCodePage1250) {
    ASSERT_EQ(1250u, GetACP()) << "the test bed runs with the Czech ANSI code page";
    // A, blank, NUL, c with caron (a letter in 1250), dot above (0xFF, a symbol in 1250).
    std::vector<uint8_t> file = Bytes({0x41, 0x20, 0x00, 0xE8, 0xFF});
    StartWith(MakeFile(L"znaky.bin", file));
    ASSERT_TRUE(m_viewer->Main());
    const std::string expected = std::string("  00000000     ") + "41 20 00 E8 FF " + std::string(9, ' ') + "  " +
                                 std::string(24, ' ') + "    " + "A..\xE8." + std::string(11, ' ') + "   ";
    ASSERT_EQ(88u, expected.size());
    EXPECT_TRUE(WaitUntil([&] { return m_reader.Shows(ViewShot(), 0, expected, kCyan); }, 3000))
        << m_reader.Mismatch(ViewShot(), 0, expected, kCyan) << " pixels differ from the expected line";
    EXPECT_TRUE(ShowsDump(file, 0, 0));
    Shot("code-page-1250");
}

TEST_F(Dump, PartialLastLineOfHelloWorld) {
    // 43 bytes: the last line, at offset 0x20, holds 11 bytes.
    std::vector<uint8_t> file = LinesFile(2);
    for (uint8_t b : Text("Hello World"))
        file.push_back(b);
    ASSERT_EQ(43u, file.size());
    StartWith(MakeFile(L"hello.bin", file));
    ASSERT_TRUE(m_viewer->Main());
    const std::string expected = std::string("  00000020     ") + "48 65 6C 6C 6F 20 57 6F " + "- " + "72 6C 64 " +
                                 std::string(15, ' ') + "    " + "Hello.World" + std::string(5, ' ') + "   ";
    ASSERT_EQ(88u, expected.size());
    EXPECT_TRUE(WaitUntil([&] { return m_reader.Shows(ViewShot(), 2 * kLinePixels, expected, kWhite); }, 3000))
        << m_reader.Mismatch(ViewShot(), 2 * kLinePixels, expected, kWhite) << " pixels differ";
    EXPECT_TRUE(ShowsDump(file, 0, 0)) << "white below the last line";
}

TEST_F(Dump, EightAndNineByteLinesAndOneByteFile) {
    for (int size : {1, 8, 9, 16, 17}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> file = LinesFile(2);
        file.resize(static_cast<size_t>(size));
        StartWith(MakeFile(L"kratky" + std::to_wstring(size) + L".bin", file));
        ASSERT_TRUE(m_viewer->Main());
        EXPECT_TRUE(WaitShowsDump(file, 0, 0));
        m_viewer->Kill();
    }
}

TEST_F(Dump, EmptyFileShowsOnlyWhite) {
    StartWith(MakeFile(L"prazdny.bin", {}));
    ASSERT_TRUE(m_viewer->Main());
    EXPECT_TRUE(WaitUntil([&] { return ViewIsBlank(); }, 3000));
    EXPECT_FALSE(StyleOf(m_viewer->View()) & WS_VSCROLL);
    input::Key(VK_F4);
    EXPECT_FALSE(m_viewer->WaitForWindow(L"Hledat", L"#32770", 1000)) << "F4 opened Find for an empty file";
    ClickRow(0);
    Sleep(300);
    EXPECT_TRUE(ViewIsBlank()) << "a click marked a line in an empty file";
}

using Marking = ViewerTest;

TEST_F(Marking, ClickMarksTheClickedLine) {
    std::vector<uint8_t> file = LinesFile(100);
    StartWith(MakeFile(L"klik.bin", file));
    ASSERT_TRUE(m_viewer->Main());
    ASSERT_TRUE(WaitShowsDump(file, 0, 0));
    ClickRow(4);
    EXPECT_TRUE(WaitShowsDump(file, 0, 4));
    Shot("line-4-marked");
    // In the margin right of the dump, the row still counts.
    RECT client{};
    GetClientRect(m_viewer->View(), &client);
    ASSERT_GT(client.right, 700);
    input::Click(ViewPoint(client.right - 20, 7 * kLinePixels + 3));
    EXPECT_TRUE(WaitShowsDump(file, 0, 7));
}

TEST_F(Marking, MarkedLineFollowsTheContentWhenScrolling) {
    std::vector<uint8_t> file = LinesFile(100);
    StartWith(MakeFile(L"posun.bin", file));
    ASSERT_TRUE(m_viewer->Main());
    ClickRow(6);
    ASSERT_TRUE(WaitShowsDump(file, 0, 6));
    input::MoveTo(ViewPoint(300, 100));
    input::Wheel(-WHEEL_DELTA);
    EXPECT_TRUE(WaitShowsDump(file, 3, 6)) << "marked row " << MarkedRow();
    EXPECT_EQ(3, MarkedRow());
    // A click while scrolled marks the line under the pointer: row 2 is line 5.
    ClickRow(2);
    EXPECT_TRUE(WaitShowsDump(file, 3, 5));
}

TEST_F(Marking, ClickBelowTheLastLineMarksTheLastLine) {
    std::vector<uint8_t> file = LinesFile(5);
    StartWith(MakeFile(L"pet.bin", file));
    ASSERT_TRUE(m_viewer->Main());
    ASSERT_TRUE(WaitShowsDump(file, 0, 0));
    input::Click(ViewPoint(200, 12 * kLinePixels));
    EXPECT_TRUE(WaitShowsDump(file, 0, 4));
}

TEST_F(Marking, ClickWithNoFileMarksNothing) {
    Start();
    ASSERT_TRUE(m_viewer->Main());
    ClickRow(0);
    ClickRow(3);
    Sleep(300);
    EXPECT_TRUE(ViewIsBlank());
    EXPECT_TRUE(m_viewer->Running());
}

}  // namespace
}  // namespace e2e
