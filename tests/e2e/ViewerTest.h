// ViewerTest.h: the fixture of the end-to-end tests: a fresh registry profile, the test's files, one run of the viewer placed at a known size, reading the dump off the screen, and a
// screenshot of the viewer when a test fails.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/Driver.h"
#include "tests/e2e/Screen.h"
#include "tests/e2e/TempFile.h"

namespace e2e {

// Pixels of one dump line; the view scrolls by whole lines.
const int kLinePixels = 15;
// The frame's size in the tests.
const int kFrameWidth = 800;
const int kFrameHeight = 600;

// File contents.
std::vector<uint8_t> LinesFile(int lines);  // 16 bytes per line, every line different
std::vector<uint8_t> Bytes(std::initializer_list<int> values);
std::vector<uint8_t> Text(const std::string& ascii);

// The text the viewer draws for each line of a dump, by line index.
using LineText = std::function<std::string(int line)>;

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the viewer (with a file, or none), waits for its main window, gives the frame the
    // test size at the top left of the screen and brings it to the front. Fails the test when
    // the window does not come.
    Viewer& Start(const std::vector<std::wstring>& args = {});
    Viewer& StartWith(const std::wstring& file) { return Start({file}); }
    // Ends the current run: through Exit, so the program saves its settings, or by force.
    void Exit();

    // A BMP of everything the viewer shows, into the screenshot folder, named after the test.
    void Shot(const std::string& state);
    static std::wstring ShotsDir();

    // The view, read from the screen.
    Image ViewShot() const;
    int PageLines() const;    // whole lines in the view's page
    int VisibleRows() const;  // rows whose text band lies wholly inside the view
    int TopLine() const;      // the line at the top, from its offset text; -1 if none
    int MarkedRow() const;    // the row drawn on cyan, -1 if none
    bool WaitTopLine(int line, DWORD ms = 3000) const;
    bool WaitMarkedRow(int row, DWORD ms = 3000) const;
    bool ViewIsBlank() const;  // only white
    // Every row of the view shows its line of file as the viewer draws it: text, the marked
    // line on cyan, white below the last line and right of the dump.
    ::testing::AssertionResult ShowsDump(const std::vector<uint8_t>& file, int topLine, int markedLine) const;
    ::testing::AssertionResult WaitShowsDump(const std::vector<uint8_t>& file, int topLine, int markedLine,
                                             DWORD ms = 3000) const;
    // The same for content given line by line: `lineCount` lines, each drawn as `lineText` says.
    ::testing::AssertionResult ShowsDump(int lineCount, const LineText& lineText, int topLine, int markedLine) const;
    ::testing::AssertionResult WaitShowsDump(int lineCount, const LineText& lineText, int topLine, int markedLine,
                                             DWORD ms = 3000) const;

    // Where the toolbar shows the image of button `index` of the toolbar bitmap, found by its
    // pixels in a picture of the toolbar, wherever the toolbar is. Screen coordinates of the
    // image's centre; false when the image is not shown.
    bool FindButton(int index, POINT& centre) const;

    // Screen point of client point (x, y) of the view.
    POINT ViewPoint(int x, int y) const;
    // Clicks the middle of a view row.
    void ClickRow(int row);

    // The Find dialog: opened with F4; null if it does not come.
    HWND OpenFind();
    // Types into the dialog's focused box and presses OK (Enter).
    void TypeAndConfirm(const std::wstring& text);
    // Runs one Find: F4, the text typed into the hex box (or the text box, with textMode), Enter.
    void Find(const std::wstring& input, bool textMode = false);
    // Closes a message box with Enter and waits until it is gone.
    void Dismiss(const Box& box);

    // The test's files, in a folder of the test's own that goes when the test ends: each one is
    // checked unchanged then and deleted (TempFile). PathOf names a file in the folder that
    // no one has made.
    std::wstring MakeFile(const std::wstring& name, const std::vector<uint8_t>& bytes);
    std::wstring MakeSparseFile(const std::wstring& name, uint64_t length, const FilePatches& patches);
    std::wstring PathOf(const std::wstring& name) const { return m_folder + L"\\" + name; }
    const std::wstring& Folder() const { return m_folder; }
    // Deletes a file that MakeFile made, as the test's own doing (a file that vanishes).
    bool DeleteMadeFile(const std::wstring& path);

    std::wstring m_folder;
    std::vector<TempFile> m_files;
    std::unique_ptr<Viewer> m_viewer;
    DumpReader m_reader;
};

}  // namespace e2e
