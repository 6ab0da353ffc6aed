#include "tests/e2e/ViewerTest.h"

#include <algorithm>
#include <sstream>

#include "res/resource.h"

namespace e2e {

std::vector<uint8_t> LinesFile(int lines) {
    std::vector<uint8_t> bytes(static_cast<size_t>(lines) * 16);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>((i / 16 * 7 + i % 16) & 0xFF);
    return bytes;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

std::vector<uint8_t> Text(const std::string& ascii) {
    return std::vector<uint8_t>(ascii.begin(), ascii.end());
}

namespace {

std::string TestName() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "." + info->name() : "unknown";
}

std::wstring Widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace

void ViewerTest::SetUp() {
    // Every test starts without a recent-file list.
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Local AppWizard-Generated Applications");
    // A folder no one has: Wine gives later runs the same process ids, and a run that ended
    // early leaves its folders behind.
    static unsigned counter = 0;
    do {
        m_folder =
            TempFolder() + L"oktalon-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    } while (GetFileAttributesW(m_folder.c_str()) != INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr)) << "no folder for the test's files";
}

void ViewerTest::TearDown() {
    if (HasFailure())
        Shot("failed");
    if (m_viewer) {
        m_viewer->Kill();
        m_viewer.reset();
    }
    // The files once the viewer no longer holds them, then their folder.
    m_files.clear();
    if (!m_folder.empty() && !RemoveDirectoryW(m_folder.c_str()) && !HasFailure())
        ADD_FAILURE() << "the test left something in its folder";
    // Keys left down by a failed step would spill into the next test.
    for (WORD vk : {VK_MENU, VK_CONTROL, VK_SHIFT, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT})
        if (GetAsyncKeyState(vk) & 0x8000)
            input::KeyUp(vk);
}

std::wstring ViewerTest::MakeFile(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    m_files.push_back(TempFile::At(PathOf(name), std::string(bytes.begin(), bytes.end())));
    return m_files.back().path();
}

std::wstring ViewerTest::MakeSparseFile(const std::wstring& name, uint64_t length, const FilePatches& patches) {
    m_files.push_back(TempFile::SparseAt(PathOf(name), length, patches));
    return m_files.back().path();
}

bool ViewerTest::DeleteMadeFile(const std::wstring& path) {
    for (TempFile& file : m_files)
        if (file.path() == path)
            return file.Delete();
    return false;
}

Viewer& ViewerTest::Start(const std::vector<std::wstring>& args) {
    if (m_viewer)
        m_viewer->Kill();
    m_viewer = std::make_unique<Viewer>(args);
    EXPECT_TRUE(m_viewer->Started()) << "cannot start " << Narrow(Viewer::ExePath());
    if (m_viewer->WaitForMain()) {
        m_viewer->Place(0, 0, kFrameWidth, kFrameHeight);
        EXPECT_TRUE(m_viewer->Activate()) << "the main window does not come to the front";
    } else {
        ADD_FAILURE() << "no main window of " << Narrow(Viewer::ExePath());
    }
    return *m_viewer;
}

void ViewerTest::Exit() {
    if (!m_viewer)
        return;
    if (m_viewer->Running() && m_viewer->Activate()) {
        input::Menu(L's', L'k');  // Soubor, Konec
        EXPECT_TRUE(m_viewer->WaitForExit(5000)) << "Soubor > Konec did not end the program";
    }
    m_viewer.reset();
}

std::wstring ViewerTest::ShotsDir() {
    wchar_t value[MAX_PATH] = {};
    std::wstring dir;
    DWORD n = GetEnvironmentVariableW(L"OKTALON_E2E_SHOTS", value, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        dir = value;
    } else {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        dir = self;
        dir.resize(dir.find_last_of(L"\\/"));
        dir += L"\\e2e-shots";
    }
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void ViewerTest::Shot(const std::string& state) {
    Image image;
    if (m_viewer && m_viewer->Running() && !m_viewer->TopLevelWindows().empty())
        image = CaptureScreen(m_viewer->ShownArea());
    if (image.Empty())
        image = CaptureScreen(RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    std::wstring path = ShotsDir() + L"\\" + Widen(TestName() + "-" + state) + L".bmp";
    if (image.SaveBmp(path))
        std::printf("[ screenshot ] %s\n", Narrow(path).c_str());
}

// Toolbars draw the greys and the white of their bitmap in the system's 3-D colours, so only the
// other colours are compared.
bool ViewerTest::FindButton(int index, POINT& centre) const {
    HWND toolbar = m_viewer ? m_viewer->Toolbar() : nullptr;
    GdiObject<HBITMAP> bitmap(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    if (!toolbar || !bitmap)
        return false;
    struct Ink {
        POINT at;
        uint32_t rgb;
    };
    std::vector<Ink> ink;
    {
        MemoryDc dc;
        SelectGuard select(dc.get(), bitmap.get());
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x) {
                COLORREF c = GetPixel(dc.get(), index * 16 + x, y);
                if (c != RGB(192, 192, 192) && c != RGB(128, 128, 128) && c != RGB(255, 255, 255))
                    ink.push_back(Ink{POINT{x, y}, Rgb(GetRValue(c), GetGValue(c), GetBValue(c))});
            }
    }
    Image bar = CaptureWindow(toolbar);
    for (int y = 0; y + 15 <= bar.Height(); ++y)
        for (int x = 0; x + 16 <= bar.Width(); ++x) {
            bool all = !ink.empty();
            for (const Ink& p : ink)
                if (bar.At(x + p.at.x, y + p.at.y) != p.rgb) {
                    all = false;
                    break;
                }
            if (all) {
                RECT r = ScreenRect(toolbar);
                centre = POINT{r.left + x + 8, r.top + y + 7};
                return true;
            }
        }
    return false;
}

Image ViewerTest::ViewShot() const {
    HWND view = m_viewer ? m_viewer->View() : nullptr;
    return view ? CaptureClient(view) : Image();
}

int ViewerTest::PageLines() const {
    RECT client{};
    if (!m_viewer || !GetClientRect(m_viewer->View(), &client))
        return 0;
    return std::max(0, (static_cast<int>(client.bottom) - 14) / kLinePixels);
}

int ViewerTest::VisibleRows() const {
    RECT client{};
    if (!m_viewer || !GetClientRect(m_viewer->View(), &client))
        return 0;
    int rows = 0;
    while (rows * kLinePixels + m_reader.CellHeight() <= client.bottom)
        ++rows;
    return rows;
}

int ViewerTest::TopLine() const {
    long long offset = m_reader.ReadOffset(ViewShot(), 0);
    return offset < 0 || offset % 16 ? -1 : static_cast<int>(offset / 16);
}

int ViewerTest::MarkedRow() const {
    Image shot = ViewShot();
    for (int row = 0; row * kLinePixels + 2 < shot.Height(); ++row)
        if (shot.At(1, row * kLinePixels + 1) == kCyan)
            return row;
    return -1;
}

bool ViewerTest::WaitTopLine(int line, DWORD ms) const {
    return WaitUntil([&] { return TopLine() == line; }, ms);
}

bool ViewerTest::WaitMarkedRow(int row, DWORD ms) const {
    return WaitUntil([&] { return MarkedRow() == row; }, ms);
}

bool ViewerTest::ViewIsBlank() const {
    Image shot = ViewShot();
    if (shot.Empty())
        return false;
    return std::all_of(shot.Pixels().begin(), shot.Pixels().end(), [](uint32_t p) { return p == kWhite; });
}

namespace {
int LineCountOf(const std::vector<uint8_t>& file) {
    return static_cast<int>((file.size() + 15) / 16);
}
LineText LinesOf(const std::vector<uint8_t>& file) {
    return [&file](int line) { return DumpLineOfFile(file, line); };
}
}  // namespace

::testing::AssertionResult ViewerTest::ShowsDump(const std::vector<uint8_t>& file, int topLine, int markedLine) const {
    return ShowsDump(LineCountOf(file), LinesOf(file), topLine, markedLine);
}

::testing::AssertionResult ViewerTest::ShowsDump(int lineCount, const LineText& lineText, int topLine,
                                                 int markedLine) const {
    Image shot = ViewShot();
    if (shot.Empty())
        return ::testing::AssertionFailure() << "no view to look at";
    const int textWidth = 88 * m_reader.CellWidth();
    std::ostringstream faults;
    for (int row = 0; row * kLinePixels + m_reader.CellHeight() <= shot.Height(); ++row) {
        int y = row * kLinePixels;
        int line = topLine + row;
        if (line < lineCount) {
            uint32_t background = line == markedLine ? kCyan : kWhite;
            int mismatch = m_reader.Mismatch(shot, y, lineText(line), background);
            if (mismatch) {
                faults << "\n  row " << row << " (line " << line << (line == markedLine ? ", marked" : "")
                       << "): " << mismatch << " pixels differ; the offset read there is "
                       << m_reader.ReadOffset(shot, y) << ", background " << std::hex << shot.At(1, y + 1) << std::dec;
                continue;
            }
            for (int x = textWidth; x < shot.Width(); ++x)
                if (shot.At(x, y + 1) != kWhite) {
                    faults << "\n  row " << row << ": not white right of the dump at x " << x;
                    break;
                }
        } else {
            for (int x = 0; x < shot.Width(); ++x)
                if (shot.At(x, y + 1) != kWhite || shot.At(x, y + m_reader.CellHeight() - 1) != kWhite) {
                    faults << "\n  row " << row << ": not white below the last line, at x " << x;
                    break;
                }
        }
    }
    if (faults.str().empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the view does not show the dump from line " << topLine << " with line "
                                         << markedLine << " marked:" << faults.str();
}

::testing::AssertionResult ViewerTest::WaitShowsDump(const std::vector<uint8_t>& file, int topLine, int markedLine,
                                                     DWORD ms) const {
    return WaitShowsDump(LineCountOf(file), LinesOf(file), topLine, markedLine, ms);
}

::testing::AssertionResult ViewerTest::WaitShowsDump(int lineCount, const LineText& lineText, int topLine,
                                                     int markedLine, DWORD ms) const {
    ::testing::AssertionResult last = ::testing::AssertionFailure();
    WaitUntil([&] { return bool(last = ShowsDump(lineCount, lineText, topLine, markedLine)); }, ms);
    return last;
}

POINT ViewerTest::ViewPoint(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(m_viewer->View(), &p);
    return p;
}

void ViewerTest::ClickRow(int row) {
    input::Click(ViewPoint(300, row * kLinePixels + 7));
}

HWND ViewerTest::OpenFind() {
    m_viewer->Activate();
    input::Key(VK_F4);
    return m_viewer->WaitForWindow(L"Hledat", L"#32770", 5000);
}

void ViewerTest::TypeAndConfirm(const std::wstring& text) {
    input::Type(text);
    input::Key(VK_RETURN);
}

void ViewerTest::Find(const std::wstring& text, bool textMode) {
    HWND dialog = OpenFind();
    ASSERT_TRUE(dialog) << "F4 does not open the Find dialog";
    if (textMode) {
        HWND radio = GetDlgItem(dialog, IDC_MODE_TEXT);
        RECT r = ScreenRect(radio);
        input::Click(POINT{r.left + 6, (r.top + r.bottom) / 2});
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_PLAIN_TEXT)) != FALSE; }, 2000));
        ASSERT_TRUE(WaitUntil([&] { return m_viewer->Focus() == GetDlgItem(dialog, IDC_PLAIN_TEXT); }, 2000));
    }
    TypeAndConfirm(text);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000))
        << "the Find dialog stays open after " << Narrow(text);
}

void ViewerTest::Dismiss(const Box& box) {
    if (!box)
        return;
    SetForegroundWindow(box.window);
    WaitUntil([&] { return GetForegroundWindow() == box.window; }, 1000);
    input::Key(VK_RETURN);
    if (!WaitUntil([&] { return !IsWindow(box.window); }, 3000))
        PostMessageW(box.window, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box.window); }, 2000);
}

}  // namespace e2e
