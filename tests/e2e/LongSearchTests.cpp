// A search through a file of tens of GiB: its progress window comes within a moment, the program
// keeps answering, Esc stops the scan at once, Find Next goes on from where it stopped, nothing
// behind the window takes a command, and closing the main window meanwhile ends the program.
#include <windows.h>

#include "res/resource.h"
#include "tests/e2e/ViewerTest.h"

#include <chrono>
#include <cstdio>
#include <cwchar>

namespace e2e {
namespace {

constexpr long long kGiB = 1LL << 30;
// 16 GiB of zeros (sparse: the system makes them up as they are read, at about 1 GB/s here the
// first time), with KONEC at 12 GiB and as the last five bytes. Offsets take 9 digits.
constexpr long long kLength = 16 * kGiB;
constexpr long long kFirstMarker = 12 * kGiB;
constexpr long long kLastMarker = kLength - 5;
constexpr int kDigits = 9;

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class LongSearch : public ViewerTest {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        m_path = MakeSparseFile(L"obraz.bin", kLength, {{kFirstMarker, "KONEC"}, {kLastMarker, "KONEC"}});
        StartWith(m_path);
        ASSERT_TRUE(m_viewer->Main());
        ASSERT_TRUE(WaitUntil([&] { return m_reader.ReadOffset(ViewShot(), 0, kDigits) == 0; }, 5000));
    }

    // The progress window, once it has come (nullptr when it does not within `ms`).
    HWND WaitForProgress(DWORD ms = 5000) { return m_viewer->WaitForWindow(L"Hledání", L"#32770", ms); }
    // The top line's offset, read from the screen.
    long long TopOffset() const { return m_reader.ReadOffset(ViewShot(), 0, kDigits); }
    // GiB searched so far, as the progress window says ("Prohledáno 1,2 GB z 16,0 GB").
    static double SearchedGiB(HWND progress) {
        const std::wstring amount = TextOf(GetDlgItem(progress, IDC_SEARCH_AMOUNT));
        const size_t digits = amount.find_first_of(L"0123456789");
        if (digits == std::wstring::npos)
            return -1;
        std::wstring number;
        for (size_t i = digits; i < amount.size() && amount[i] != L' '; ++i)
            number += amount[i] == L',' ? L'.' : amount[i] == L'\u00A0' ? L'\0' : amount[i];
        const double value = std::wcstod(number.c_str(), nullptr);
        return amount.find(L"MB", digits) < amount.find(L" z ") ? value / 1024 : value;
    }
    // Whether the window stays and Wine never reports the main window as not responding, over `ms`.
    bool AnswersWhileShown(HWND progress, DWORD ms) const {
        const ULONGLONG end = GetTickCount64() + ms;
        while (GetTickCount64() < end) {
            if (!IsWindow(progress) || IsHungAppWindow(m_viewer->Main()))
                return false;
            Sleep(50);
        }
        return true;
    }

    std::wstring m_path;
};

TEST_F(LongSearch, ShowsItsProgressStopsAtEscAndFindNextGoesOnFromThere) {
    POINT findButton{};
    ASSERT_TRUE(FindButton(1, findButton)) << "no Find button on the toolbar";
    const auto started = std::chrono::steady_clock::now();
    Find(L"KONEC", true);
    HWND progress = WaitForProgress();
    ASSERT_TRUE(progress) << "no progress window";
    const double shownAfter = MillisecondsSince(started);
    std::printf("the progress window came %.0f ms after Enter\n", shownAfter);
    EXPECT_LT(shownAfter, 3000) << "it comes within a moment of the start";

    // A small window over the main window, centred on it, which stays disabled meanwhile.
    EXPECT_EQ(GetWindow(progress, GW_OWNER), m_viewer->Main());
    EXPECT_FALSE(IsWindowEnabled(m_viewer->Main()));
    const RECT main = ScreenRect(m_viewer->Main()), box = ScreenRect(progress);
    EXPECT_NEAR((box.left + box.right) / 2, (main.left + main.right) / 2, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2, (main.top + main.bottom) / 2, 2);
    EXPECT_LT(box.right - box.left, (main.right - main.left) / 2);
    EXPECT_EQ(TextOf(GetDlgItem(progress, IDC_SEARCH_WHAT)), L"Hledá se text „KONEC“");
    EXPECT_NE(TextOf(GetDlgItem(progress, IDC_SEARCH_AMOUNT)).find(L" z 16,0\u00A0GB"), std::wstring::npos)
        << Narrow(TextOf(GetDlgItem(progress, IDC_SEARCH_AMOUNT)));
    EXPECT_EQ(TextOf(GetDlgItem(progress, IDCANCEL)), L"Storno");
    Shot("progress");

    // The program answers; the toolbar behind the window takes no click.
    EXPECT_TRUE(AnswersWhileShown(progress, 300)) << "the main window stopped answering";
    input::Click(findButton);
    EXPECT_FALSE(m_viewer->WaitForWindow(L"Hledat", L"#32770", 300)) << "a Find dialog came behind the progress";
    EXPECT_TRUE(AnswersWhileShown(progress, 200));

    // Esc stops the scan: the window goes at once, with no message, and the view stays.
    const double searched = SearchedGiB(progress);
    SetForegroundWindow(progress);
    const auto escape = std::chrono::steady_clock::now();
    input::Key(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(progress); }, 5000)) << "Esc does not stop the search";
    const double stoppedAfter = MillisecondsSince(escape);
    std::printf("stopped %.0f ms after Esc, %.1f GiB into the file\n", stoppedAfter, searched);
    EXPECT_LT(stoppedAfter, 1000);
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(500)) << "a stopped search says nothing";
    EXPECT_TRUE(IsWindowEnabled(m_viewer->Main()));
    EXPECT_EQ(TopOffset(), 0);
    EXPECT_EQ(MarkedRow(), 0);

    // F3 goes on from where the scan stopped and finds KONEC at 12 GiB, then at the end.
    ASSERT_LT(searched, 12) << "the scan passed the first marker before Esc: a machine this fast needs a longer file";
    m_viewer->Activate();
    input::Key(VK_F3);
    EXPECT_TRUE(WaitUntil([&] { return TopOffset() == kFirstMarker && MarkedRow() == 0; }, 120000))
        << "top offset " << std::hex << TopOffset();
    input::Key(VK_F3);
    const int page = PageLines();
    const long long lastLine = kLastMarker / 16 * 16;
    EXPECT_TRUE(
        WaitUntil([&] { return TopOffset() == lastLine - 16LL * (page - 1) && MarkedRow() == page - 1; }, 120000))
        << "top offset " << std::hex << TopOffset();
    Shot("found at the end");
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(300));
    Exit();

    WIN32_FILE_ATTRIBUTE_DATA after{};
    ASSERT_TRUE(GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ((static_cast<long long>(after.nFileSizeHigh) << 32) | after.nFileSizeLow, kLength)
        << "the file was changed";
}

TEST_F(LongSearch, ClosingTheMainWindowDuringAScanEndsTheProgram) {
    Find(L"NIKDE", true);
    HWND progress = WaitForProgress();
    ASSERT_TRUE(progress) << "no progress window";
    PostMessageW(m_viewer->Main(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_viewer->WaitForExit(10000)) << "the program goes on after its window was closed";
    EXPECT_EQ(m_viewer->ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
