// A long session of the real program: 10,000 scroll steps of every kind, 1,000 Find Next
// commands and 100 file opens, after which the process must hold no more handles, windows or
// memory than before, within a small bound. The figures are printed before and after.
//
// The steps go to the viewer's windows as the messages that the scroll bars, the wheel and the
// menu send (WM_VSCROLL, WM_HSCROLL, WM_MOUSEWHEEL, WM_COMMAND), synchronously, so that 10,000
// of them take seconds rather than the minutes that real input would; the arrow and page keys,
// which the viewer polls, are pressed for real.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "framework/core/FrameworkIds.h"
#include "res/resource.h"
#include "tests/e2e/ViewerTest.h"

namespace e2e {
namespace {

// What another process can learn of the viewer's resources. Under Wine the documented counters
// (GetGuiResources, GetProcessHandleCount, GetProcessMemoryInfo) report nothing; the native
// queries behind them do, so they fill in.
struct Resources {
    DWORD gdiObjects = 0, userObjects = 0;  // 0: not reported
    DWORD handles = 0;
    DWORD windows = 0;  // top-level and child windows of the process
    SIZE_T privateBytes = 0, workingSet = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

struct WindowCount {
    DWORD pid;
    DWORD count = 0;
};

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
    auto* c = reinterpret_cast<WindowCount*>(param);
    if (ProcessOf(window) == c->pid) {
        ++c->count;
        EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&c->count));
    }
    return TRUE;
}

DWORD HandlesFromSystemList(DWORD pid) {
    using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    struct Entry {
        ULONG pid;
        UCHAR type, flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    std::vector<char> buffer(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status =
            query(16 /* SystemHandleInformation */, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
            const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(void*));
            DWORD mine = 0;
            for (ULONG i = 0; i < count; ++i)
                mine += entries[i].pid == pid;
            return mine;
        }
        buffer.resize(buffer.size() * 2);
    }
    return 0;
}

Resources Measure(DWORD pid) {
    Resources r;
    const Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process)
        return r;
    r.gdiObjects = GetGuiResources(process.get(), GR_GDIOBJECTS);
    r.userObjects = GetGuiResources(process.get(), GR_USEROBJECTS);
    if (!GetProcessHandleCount(process.get(), &r.handles) || r.handles == 0)
        r.handles = HandlesFromSystemList(pid);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory) &&
        memory.PrivateUsage != 0) {
        r.privateBytes = memory.PrivateUsage;
        r.workingSet = memory.WorkingSetSize;
    } else {
        using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
        auto query = reinterpret_cast<QueryProcess>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
        VM_COUNTERS vm{};
        if (query && query(process.get(), 3 /* ProcessVmCounters */, &vm, sizeof vm, nullptr) == 0) {
            r.privateBytes = vm.PagefileUsage;
            r.workingSet = vm.WorkingSetSize;
        }
    }
    WindowCount windows{pid};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
    r.windows = windows.count;
    return r;
}

void Print(const char* when, const Resources& r) {
    std::printf("[ soak ] %-22s GDI %s, USER %s, handles %lu, windows %lu, private %.1f MiB, working set %.1f MiB\n",
                when, r.gdiObjects ? std::to_string(r.gdiObjects).c_str() : "not reported",
                r.userObjects ? std::to_string(r.userObjects).c_str() : "not reported", r.handles, r.windows,
                static_cast<double>(r.privateBytes) / (1 << 20), static_cast<double>(r.workingSet) / (1 << 20));
    std::fflush(stdout);
}

// Sends a message and waits until the viewer has handled it; false when it does not answer.
bool Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs = 20000) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result) != 0;
}

// Answers the viewer's message boxes ("Nenalezeno!") while it lives, counting them.
class BoxAnswerer {
public:
    explicit BoxAnswerer(const Viewer& viewer) : m_viewer(viewer), m_thread([this] { Run(); }) {}
    ~BoxAnswerer() {
        m_stop = true;
        m_thread.join();
    }
    int Answered() const { return m_answered; }
    std::wstring LastText() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_lastText;
    }

private:
    void Run() {
        while (!m_stop) {
            Box box = m_viewer.WaitForMessageBox(100);
            if (!box)
                continue;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_lastText = box.text;
            }
            PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            WaitUntil([&] { return !IsWindow(box.window); }, 3000);
            ++m_answered;
        }
    }
    const Viewer& m_viewer;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_answered{0};
    mutable std::mutex m_mutex;
    std::wstring m_lastText;
    std::thread m_thread;
};

class Soak : public ViewerTest {};

TEST_F(Soak, TenThousandScrollStepsThousandFindNextsHundredOpensLeakNothing) {
    const DWORD started = GetTickCount();
    // Four files; the first holds the searched word 333 times, so that Find Next also runs into
    // "Nenalezeno!" now and then.
    std::vector<uint8_t> big = LinesFile(20000);
    for (int i = 0; i < 333; ++i) {
        const size_t at = static_cast<size_t>(i) * 961 + 5;
        std::copy_n("SOAK!", 5, big.begin() + static_cast<std::ptrdiff_t>(at));
    }
    std::vector<std::wstring> paths = {MakeFile(L"velky soubor.bin", big)};
    for (int i = 1; i <= 3; ++i)
        paths.push_back(MakeFile(L"soubor " + std::to_wstring(i) + L".bin", LinesFile(100 * i + 7)));
    // The recent-file list: the three small files, then the big one, shown.
    for (int i = 3; i >= 1; --i) {
        StartWith(paths[static_cast<size_t>(i)]);
        ASSERT_TRUE(m_viewer->Main());
        Exit();
    }
    StartWith(paths[0]);
    ASSERT_TRUE(m_viewer->Main());
    const HWND main = m_viewer->Main();
    const HWND view = m_viewer->View();
    ASSERT_TRUE(view);
    const DWORD pid = m_viewer->Pid();

    // Warm up: one of each thing the soak does, so that what the program makes once (the Find
    // dialog's class, the font cache, message-box resources) is in before the first figures.
    // Each open forgets the pattern, so the opens come first.
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(Deliver(main, WM_COMMAND, ID_FILE_MRU_FILE4, 0));  // the last one: the big file again
    ASSERT_TRUE(WaitUntil([&] { return HeldExclusively(paths[0]); }, 3000));
    Find(L"SOAK!", true);
    BoxAnswerer answerer(*m_viewer);
    ASSERT_TRUE(Deliver(main, WM_COMMAND, ID_SEARCH_FIND_NEXT, 0));
    for (UINT code : {SB_LINEDOWN, SB_PAGEDOWN, SB_PAGEUP, SB_LINEUP})
        ASSERT_TRUE(Deliver(view, WM_VSCROLL, code, 0));
    Sleep(500);
    const Resources before = Measure(pid);
    Print("before", before);
    const DWORD soakStart = GetTickCount();

    // 10,000 scroll steps: lines, pages, thumb, the requests the view ignores, wheel notches,
    // horizontal steps in a window narrower than the dump, and real key presses.
    std::mt19937 random(7);
    int steps = 0, keys = 0;
    const int kSteps = 10000, kKeyPresses = 200;
    m_viewer->Place(0, 0, 520, kFrameHeight);
    const WORD scrollKeys[] = {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR};
    for (; steps < kSteps; ++steps) {
        if (!m_viewer->Running())
            break;
        const unsigned kind = random() % 100;
        bool ok = true;
        if (steps % (kSteps / kKeyPresses) == 0) {
            m_viewer->Activate();
            input::HoldKey(scrollKeys[keys++ % 4], 60);
        } else if (kind < 30) {
            ok = Deliver(view, WM_VSCROLL, random() % 3 ? SB_LINEDOWN : SB_LINEUP, 0);
        } else if (kind < 50) {
            ok = Deliver(view, WM_VSCROLL, random() % 3 ? SB_PAGEDOWN : SB_PAGEUP, 0);
        } else if (kind < 58) {
            const UINT others[] = {SB_THUMBTRACK, SB_THUMBPOSITION, SB_TOP, SB_BOTTOM, SB_ENDSCROLL};
            ok = Deliver(view, WM_VSCROLL, MAKEWPARAM(others[random() % 5], random() % 30000), 0);
        } else if (kind < 80) {
            const short delta = static_cast<short>(random() % 2 ? -WHEEL_DELTA : WHEEL_DELTA);
            ok = Deliver(view, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(100, 100));
        } else {
            const UINT codes[] = {SB_LINERIGHT, SB_LINELEFT, SB_PAGERIGHT, SB_PAGELEFT, SB_THUMBTRACK};
            ok = Deliver(view, WM_HSCROLL, codes[random() % 5], 0);
        }
        ASSERT_TRUE(ok) << "the viewer stopped answering at scroll step " << steps;
        if (steps % 1000 == 999)
            Sleep(50);  // let it paint what it has invalidated
    }
    m_viewer->Place(0, 0, kFrameWidth, kFrameHeight);
    EXPECT_EQ(steps, kSteps);
    const DWORD scrolled = GetTickCount();
    Sleep(300);
    Print("after 10,000 scrolls", Measure(pid));

    // 1,000 Find Next commands.
    const int boxesBefore = answerer.Answered();
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(Deliver(main, WM_COMMAND, ID_SEARCH_FIND_NEXT, 0)) << "Find Next " << i << " did not return";
    WaitUntil([&] { return !m_viewer->WaitForMessageBox(0); }, 3000);
    const int notFound = answerer.Answered() - boxesBefore;
    EXPECT_GE(notFound, 2) << "1,000 Find Nexts over 333 matches pass the end at least twice";
    EXPECT_EQ(answerer.LastText(), L"Nenalezeno!");
    const DWORD searched = GetTickCount();
    Print("after 1,000 Find Next", Measure(pid));

    // 100 opens, through the recent-file list: the oldest entry each time, so all four files
    // take turns.
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(Deliver(main, WM_COMMAND, ID_FILE_MRU_FILE4, 0)) << "open " << i << " did not return";
    const DWORD opened = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return HeldExclusively(paths[0]); }, 3000)) << "after 100 opens the big file is shown";
    EXPECT_TRUE(m_viewer->Running());

    Sleep(500);
    const Resources after = Measure(pid);
    Print("after 100 opens", after);
    std::printf("[ soak ] %d scroll steps (%d key presses) %.1f s, 1,000 Find Next %.1f s (%d x \"Nenalezeno!\"), "
                "100 opens %.1f s, whole test %.1f s\n",
                steps, keys, (scrolled - soakStart) / 1000.0, (searched - scrolled) / 1000.0, notFound,
                (opened - searched) / 1000.0, (GetTickCount() - started) / 1000.0);

    // Small bounds: a handle, window or GDI object lost per step, search or open would exceed
    // them many times over.
    EXPECT_LE(after.handles, before.handles + 10) << "handles grew";
    EXPECT_LE(after.windows, before.windows + 2) << "windows grew";
    if (before.gdiObjects != 0) {
        EXPECT_LE(after.gdiObjects, before.gdiObjects + 20) << "GDI objects grew";
    }
    if (before.userObjects != 0) {
        EXPECT_LE(after.userObjects, before.userObjects + 10) << "USER objects grew";
    }
    ASSERT_NE(before.privateBytes, 0u) << "no memory figure for the viewer";
    EXPECT_LE(after.privateBytes, before.privateBytes + (4u << 20)) << "private memory grew by more than 4 MiB";
}

}  // namespace
}  // namespace e2e
