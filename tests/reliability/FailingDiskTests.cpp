// The real program showing a file on a disk that fails: reads of one stretch of the file fail
// with an input/output error, as they do on a damaged disk or a dropped network share. The file
// is served by a FUSE file system on the Linux side (failing_disk_fs.c, mounted by
// failing_disk.sh, which names the file in OKTALON_FAILING_FILE).
//
// A search that runs into the stretch is reported once, as an input/output error with the
// system's code, and changes nothing, also after a long search through a slow file with its
// progress shown; scrolling over it shows no message, costs no processor time once it has stopped,
// and the lines past it show again.
#include <windows.h>
#include <winternl.h>

#include <optional>

#include "tests/e2e/ViewerTest.h"

namespace e2e {
namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = L"";
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? value : L"";
}

// What the test reads of the file before the viewer holds it: every line that can be read, and
// which lines cannot be, with the error the system gives for them.
struct ProbedFile {
    std::vector<uint8_t> bytes;
    int lineCount = 0;
    int firstBadLine = -1;
    int endBadLine = -1;  // one past the last line that cannot be read
    DWORD error = 0;      // what ReadFile says for them
    bool Readable(int line) const { return line < firstBadLine || line >= endBadLine; }
};

std::optional<ProbedFile> Probe(const std::wstring& path) {
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size))
        return std::nullopt;
    ProbedFile probed;
    probed.bytes.resize(static_cast<size_t>(size.QuadPart));
    probed.lineCount = static_cast<int>((probed.bytes.size() + 15) / 16);
    for (int line = 0; line < probed.lineCount; ++line) {
        LARGE_INTEGER at{};
        at.QuadPart = 16LL * line;
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(16, probed.bytes.size() - 16u * line));
        if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN))
            return std::nullopt;
        if (ReadFile(file.get(), probed.bytes.data() + 16u * line, wanted, &read, nullptr))
            continue;
        if (probed.firstBadLine < 0) {
            probed.firstBadLine = line;
            probed.error = GetLastError();
        }
        probed.endBadLine = line + 1;
    }
    return probed;
}

// Processor time the process has used so far, user and kernel, in milliseconds; 0 when the
// system does not say. Taken from the system's process list: under Wine, GetProcessTimes on
// another process reports the same figure however busy that process is.
ULONGLONG CpuMilliseconds(DWORD pid) {
    using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    // The leading members of SYSTEM_PROCESS_INFORMATION, as the system lays them out.
    struct ProcessEntry {
        ULONG nextEntryOffset;
        ULONG threadCount;
        LARGE_INTEGER reserved[3];
        LARGE_INTEGER createTime, userTime, kernelTime;
        UNICODE_STRING imageName;
        LONG basePriority;
        HANDLE processId;
    };
    std::vector<char> buffer(1 << 20);
    ULONG needed = 0;
    if (!query || query(5 /* SystemProcessInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed))
        return 0;
    for (size_t at = 0;;) {
        const auto* entry = reinterpret_cast<const ProcessEntry*>(buffer.data() + at);
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->processId)) == pid)
            return static_cast<ULONGLONG>(entry->userTime.QuadPart + entry->kernelTime.QuadPart) / 10000;
        if (entry->nextEntryOffset == 0)
            return 0;
        at += entry->nextEntryOffset;
    }
}

// A test of a file that the FUSE disk serves, named in `variable`; it skips where no FUSE disk
// could be mounted.
class OnFailingDisk : public ViewerTest {
protected:
    void TakeFile(const wchar_t* variable) {
        const std::wstring skip = Environment(L"OKTALON_FAILING_DISK_SKIP");
        if (!skip.empty())
            GTEST_SKIP() << Narrow(skip);
        m_path = Environment(variable);
        ASSERT_FALSE(m_path.empty()) << "run through tests/reliability/failing_disk.sh";
    }
    bool SetUpEnded() const { return IsSkipped() || HasFatalFailure(); }

    std::wstring m_path;
};

class FailingDisk : public OnFailingDisk {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        TakeFile(L"OKTALON_FAILING_FILE");
        if (SetUpEnded())
            return;
        const std::optional<ProbedFile> probed = Probe(m_path);
        ASSERT_TRUE(probed) << "cannot read " << Narrow(m_path);
        m_probe = *probed;
        // The stretch lies past the first page, spans more than a page and has lines after it.
        ASSERT_GT(m_probe.firstBadLine, 40);
        ASSERT_GT(m_probe.endBadLine - m_probe.firstBadLine, 40);
        ASSERT_LT(m_probe.endBadLine + 40, m_probe.lineCount);
        StartWith(m_path);
        ASSERT_TRUE(m_viewer->Main());
        ASSERT_TRUE(WaitShowsFile(0, 0));
    }

    // The view from `topLine` with `markedLine` marked: lines that can be read show their bytes,
    // lines that cannot show their offsets and blank cells.
    ::testing::AssertionResult WaitShowsFile(int topLine, int markedLine, DWORD ms = 3000) const {
        return WaitShowsDump(
            m_probe.lineCount,
            [this](int line) {
                return m_probe.Readable(line) ? DumpLineOfFile(m_probe.bytes, line)
                                              : UnreadDumpLineText(static_cast<uint32_t>(16 * line));
            },
            topLine, markedLine, ms);
    }

    // The line of the n-th CA FE marker in the readable part of the file.
    int MarkerLine(int n) const {
        for (size_t i = 0; i + 1 < m_probe.bytes.size(); ++i)
            if (m_probe.bytes[i] == 0xCA && m_probe.bytes[i + 1] == 0xFE && n-- == 0)
                return static_cast<int>(i / 16);
        return -1;
    }

    void FindNext() {
        m_viewer->Activate();
        input::Key(VK_F3);
    }

    ProbedFile m_probe;
};

// One session, as a person would have it: scrolling over the stretch and back, searching into it
// and past it, and ending the program.
TEST_F(FailingDisk, ScrollingIsQuietSearchingIntoTheStretchIsReportedOnceAndChangesNothing) {
    const int page = PageLines();
    ASSERT_GT(page, 10);
    input::MoveTo(ViewPoint(300, 100));
    // Page by page into the stretch, through it and out again: the lines that cannot be read
    // show their offsets and blank cells, the lines around them what they hold.
    int top = 0;
    bool measured = false;
    while (top < m_probe.endBadLine + page) {
        input::Key(VK_NEXT);
        top += page;
        ASSERT_TRUE(WaitShowsFile(top, 0)) << "at line " << top;
        EXPECT_TRUE(m_viewer->NoMessageBoxFor(300)) << "a message at line " << top;
        if (top + page > m_probe.firstBadLine && !measured) {
            // At rest over the stretch the program takes next to no processor time; a window
            // that fails to paint and is asked again and again would take all of one.
            measured = true;
            const ULONGLONG cpuBefore = CpuMilliseconds(m_viewer->Pid()), timeBefore = GetTickCount64();
            ASSERT_GT(cpuBefore, 0u) << "the system tells nothing of the viewer's processor time";
            Sleep(3000);
            const ULONGLONG cpu = CpuMilliseconds(m_viewer->Pid()) - cpuBefore;
            const ULONGLONG elapsed = GetTickCount64() - timeBefore;
            std::printf("[ at rest  ] %llu ms of processor time in %llu ms\n", cpu, elapsed);
            EXPECT_LT(cpu * 20, elapsed) << "more than 5 % of a processor at rest";
        }
    }
    ASSERT_TRUE(measured);
    // Back up through it with the wheel, three lines a notch.
    while (top > m_probe.firstBadLine - 6) {
        input::Wheel(WHEEL_DELTA);
        top -= 3;
        ASSERT_TRUE(WaitShowsFile(top, 0)) << "at line " << top;
    }
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(500));

    // The first block the search reads runs into the stretch; the match before it counts.
    const int before = MarkerLine(0), after = MarkerLine(1);
    ASSERT_LT(before, m_probe.firstBadLine);
    ASSERT_GE(after, m_probe.endBadLine);
    Find(L"CAFE");
    EXPECT_TRUE(WaitShowsFile(before, before)) << "the match before the stretch";
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(500));

    wchar_t expected[1024] = L"";
    swprintf(expected, 1024, L"Chyba při práci se souborem „%ls“: došlo k chybě vstupu/výstupu (kód %lu).",
             m_path.c_str(), m_probe.error);
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        FindNext();
        const Box box = m_viewer->WaitForMessageBox(15000);
        ASSERT_TRUE(box) << "no message for the failed search";
        EXPECT_EQ(Narrow(box.text), Narrow(expected));
        EXPECT_EQ(Narrow(box.caption), "Oktalon 1.0 – © 2026 autoři projektu Oktalon");
        EXPECT_EQ(GetWindow(box.window, GW_OWNER), m_viewer->Main());
        Dismiss(box);
        EXPECT_TRUE(m_viewer->NoMessageBoxFor(1000)) << "more than one message";
        // The search position stayed: the next Find Next runs into the stretch again, rather
        // than starting over at the first match or going on past the stretch.
        EXPECT_TRUE(WaitShowsFile(before, before));
    }

    // Past the stretch the search goes on: from a click on the line of the match there.
    top = before;
    while (after >= top + page) {
        input::Key(VK_NEXT);
        top += page;
        ASSERT_TRUE(WaitShowsFile(top, before)) << "at line " << top;
    }
    ClickRow(after - top);
    ASSERT_TRUE(WaitShowsFile(top, after));
    FindNext();
    EXPECT_TRUE(WaitShowsFile(after, after)) << "the match past the stretch";
    EXPECT_TRUE(m_viewer->NoMessageBoxFor(500));

    // The program ends as it always does.
    m_viewer->Activate();
    input::Menu(L's', L'k');  // Soubor, Konec
    ASSERT_TRUE(m_viewer->WaitForExit(5000));
    EXPECT_EQ(m_viewer->ExitCode(), 0u);
}

// A disk that is slow as well as failing: a search reads 159 MiB at 40 MiB/s before it meets the
// stretch, with its progress shown and the program answering, and then says so once.
class SlowFailingDisk : public OnFailingDisk {
protected:
    void SetUp() override {
        ViewerTest::SetUp();
        TakeFile(L"OKTALON_SLOW_FILE");
        if (SetUpEnded())
            return;
        StartWith(m_path);
        ASSERT_TRUE(m_viewer->Main());
        ASSERT_TRUE(WaitTopLine(0));
    }
};

TEST_F(SlowFailingDisk, ALongSearchShowsItsProgressThenTheOneMessageAndChangesNothing) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        if (attempt == 0) {
            Find(L"CAFE");
        } else {
            m_viewer->Activate();
            input::Key(VK_F3);
        }
        const HWND progress = m_viewer->WaitForWindow(L"Hledání", L"#32770", 5000);
        ASSERT_TRUE(progress) << "no progress window";
        bool answered = true;
        const ULONGLONG deadline = GetTickCount64() + 30000;
        while (IsWindow(progress) && GetTickCount64() < deadline) {
            answered = answered && !IsHungAppWindow(m_viewer->Main());
            Sleep(50);
        }
        EXPECT_TRUE(answered) << "the main window stopped answering";
        EXPECT_FALSE(IsWindow(progress)) << "the progress window stays";
        const Box box = m_viewer->WaitForMessageBox(15000);
        ASSERT_TRUE(box) << "no message for the failed search";
        EXPECT_NE(box.text.find(L"došlo k chybě vstupu/výstupu"), std::wstring::npos) << Narrow(box.text);
        EXPECT_EQ(GetWindow(box.window, GW_OWNER), m_viewer->Main());
        Dismiss(box);
        EXPECT_TRUE(m_viewer->NoMessageBoxFor(1000)) << "more than one message";
        // The search stayed where it was: the view at the top, the first line marked, and the
        // next Find Next starts again from the start of the file.
        EXPECT_EQ(TopLine(), 0);
        EXPECT_EQ(MarkedRow(), 0);
    }
    m_viewer->Activate();
    input::Menu(L's', L'k');  // Soubor, Konec
    ASSERT_TRUE(m_viewer->WaitForExit(5000));
    EXPECT_EQ(m_viewer->ExitCode(), 0u);
}

}  // namespace
}  // namespace e2e
