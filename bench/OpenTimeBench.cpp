// How long the viewer takes from its process start to the first painted dump, for files of
// different sizes, measured from outside: this program starts oktalon.exe with a file, finds its
// hex view (the frame's first pane) and watches the screen until the first line shows on its
// cyan band, then closes the viewer. The files are measured in turns, so that a slow moment of
// the machine falls on all of them alike. Prints a table with the medians and their ratio to
// the first file's; asserts nothing.
//
// usage: oktalon_open_bench EXE RUNS LABEL=FILE...

#include "Clock.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/Handles.h"
#include "tests/e2e/Screen.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFirstPaneId = 0xE900;
constexpr DWORD kTimeoutMs = 15000;

double NowMs() {
    return 1000.0 * NowSeconds();
}

// The process's main window: its visible, unowned top-level window with the largest area.
struct MainWindowSearch {
    DWORD processId;
    HWND found = nullptr;
    long area = -1;

    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto& s = *reinterpret_cast<MainWindowSearch*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s.processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr)
            return TRUE;
        RECT r{};
        GetWindowRect(window, &r);
        const long area = (r.right - r.left) * (r.bottom - r.top);
        if (area > s.area) {
            s.area = area;
            s.found = window;
        }
        return TRUE;
    }
};

HWND MainWindowOf(DWORD processId) {
    MainWindowSearch search{processId};
    EnumWindows(&MainWindowSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The hex view: the frame's first pane, or else the child with a scroll bar, or else the
// largest child that is not a tool bar or status bar.
struct ViewSearch {
    HWND main;
    HWND found = nullptr;
    long area = -1;
    bool scrolls = false;

    static BOOL CALLBACK Visit(HWND child, LPARAM param) {
        auto& s = *reinterpret_cast<ViewSearch*>(param);
        const std::wstring cls = e2e::ClassOf(child);
        if (GetParent(child) != s.main || cls == TOOLBARCLASSNAMEW || cls == STATUSCLASSNAMEW)
            return TRUE;
        const bool scrolls = (GetWindowLongPtrW(child, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
        RECT r{};
        GetClientRect(child, &r);
        const long area = r.right * r.bottom;
        if ((scrolls && !s.scrolls) || (scrolls == s.scrolls && area > s.area)) {
            s.found = child;
            s.area = area;
            s.scrolls = scrolls;
        }
        return TRUE;
    }
};

HWND ViewOf(HWND main) {
    if (HWND pane = GetDlgItem(main, kFirstPaneId))
        return pane;
    ViewSearch search{main};
    EnumChildWindows(main, &ViewSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Whether the screen shows the view's first line on the cyan band of the marked line.
bool ShowsCyanFirstLine(HWND view) {
    RECT band = e2e::ClientScreenRect(view);
    band.right = std::min<LONG>(band.right, band.left + 640);
    band.bottom = std::min<LONG>(band.bottom, band.top + 15);
    const e2e::Image shot = e2e::CaptureScreen(band);
    const auto cyan = std::count(shot.Pixels().begin(), shot.Pixels().end(), e2e::kCyan);
    // The band is 15 pixels high and hundreds wide, under the text; a few stray pixels are not it.
    return cyan >= 200;
}

struct Timing {
    double windowMs = -1;  // the main window is visible
    double dumpMs = -1;    // the first line shows on cyan
};

Timing OpenOnce(const std::wstring& exe, const std::wstring& file) {
    std::wstring commandLine = L"\"" + exe + L"\" \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    Timing timing;
    const double start = NowMs();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        return timing;
    }
    const e2e::Handle processHandle(process.hProcess), threadHandle(process.hThread);  // closed on every way out
    HWND main = nullptr;
    HWND view = nullptr;
    while (NowMs() - start < kTimeoutMs) {
        if (WaitForSingleObject(processHandle.get(), 0) == WAIT_OBJECT_0)
            break;  // the viewer ended before it showed anything
        if (main == nullptr || !IsWindow(main)) {
            main = MainWindowOf(process.dwProcessId);
            if (main != nullptr && timing.windowMs < 0)
                timing.windowMs = NowMs() - start;
        }
        if (main != nullptr && (view == nullptr || !IsWindow(view)))
            view = ViewOf(main);
        if (view != nullptr && ShowsCyanFirstLine(view)) {
            timing.dumpMs = NowMs() - start;
            break;
        }
        Sleep(1);
    }
    if (timing.dumpMs < 0) {
        const bool ended = WaitForSingleObject(processHandle.get(), 0) == WAIT_OBJECT_0;
        std::fprintf(stderr, "no dump seen for %ls: %s, %s, %s\n", file.c_str(),
                     main != nullptr ? "main window found" : "no main window",
                     view != nullptr ? "view found" : "no view", ended ? "the program ended" : "the program runs");
    }
    if (main != nullptr)
        PostMessageW(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(processHandle.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(processHandle.get(), 1);
        WaitForSingleObject(processHandle.get(), 5000);
    }
    return timing;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Subject {
    std::wstring label;
    std::wstring file;
    std::vector<double> windowMs;
    std::vector<double> dumpMs;
    int failures = 0;
};

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 4) {
        std::fprintf(stderr, "usage: oktalon_open_bench EXE RUNS LABEL=FILE...\n");
        return 2;
    }
    const std::wstring exe = argv[1];
    const int runs = std::max(1, _wtoi(argv[2]));
    std::vector<Subject> subjects;
    for (int i = 3; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const size_t equals = argument.find(L'=');
        if (equals == std::wstring::npos) {
            std::fprintf(stderr, "not LABEL=FILE: %ls\n", argv[i]);
            return 2;
        }
        subjects.push_back(Subject{argument.substr(0, equals), argument.substr(equals + 1), {}, {}, 0});
    }

    // One unrecorded round first: the first start of a program loads what later starts find
    // in memory already. A file whose dump does not show then is not tried again.
    std::vector<bool> shows;
    for (const Subject& subject : subjects)
        shows.push_back(OpenOnce(exe, subject.file).dumpMs >= 0);
    for (int run = 0; run < runs; ++run) {
        for (size_t i = 0; i < subjects.size(); ++i) {
            Subject& subject = subjects[i];
            if (!shows[i]) {
                ++subject.failures;
                continue;
            }
            const Timing timing = OpenOnce(exe, subject.file);
            if (timing.dumpMs < 0) {
                ++subject.failures;
                continue;
            }
            subject.windowMs.push_back(timing.windowMs);
            subject.dumpMs.push_back(timing.dumpMs);
        }
    }

    std::printf("Open time: process start -> first painted dump (first line on cyan, seen on the screen);\n"
                "%d runs per file, taken in turns; milliseconds\n",
                runs);
    std::printf("%-24s %10s %8s %8s %14s %6s\n", "file", "median", "min", "max", "window shown", "fails");
    for (const Subject& subject : subjects) {
        const auto [low, high] = std::minmax_element(subject.dumpMs.begin(), subject.dumpMs.end());
        std::printf("%-24ls %10.1f %8.1f %8.1f %14.1f %6d\n", subject.label.c_str(), Median(subject.dumpMs),
                    subject.dumpMs.empty() ? -1.0 : *low, subject.dumpMs.empty() ? -1.0 : *high,
                    Median(subject.windowMs), subject.failures);
    }
    // The fastest run of each is the one least disturbed by the rest of the machine.
    const auto fastest = [](const Subject& subject) {
        return subject.dumpMs.empty() ? -1.0 : *std::min_element(subject.dumpMs.begin(), subject.dumpMs.end());
    };
    const double baseMedian = Median(subjects[0].dumpMs);
    const double baseFastest = fastest(subjects[0]);
    for (size_t i = 1; i < subjects.size(); ++i) {
        const double median = Median(subjects[i].dumpMs);
        if (baseMedian > 0 && median > 0)
            std::printf("ratio %ls / %ls: %.3f of the medians, %.3f of the fastest runs (goal <= 1.1)\n",
                        subjects[i].label.c_str(), subjects[0].label.c_str(), median / baseMedian,
                        fastest(subjects[i]) / baseFastest);
        else
            std::printf("ratio %ls / %ls: n/a (no dump seen)\n", subjects[i].label.c_str(), subjects[0].label.c_str());
    }
    return 0;
}
