// RunCommandLine.cpp: starts a registered command line as the shell does, for the install test:
// CreateProcess with the line exactly as it stands (a context-menu command with the file put in
// for %1, an uninstall string), no parsing of its own. Returns when the started program and
// every program it started have ended (an uninstaller runs as a copy of itself that it starts),
// with the started program's exit code. It waits at most LIMIT seconds (default 90): then it
// names what still runs, in one line, and returns 124.
//   usage: oktalon_run_command_line.exe [--limit SECONDS] "COMMAND LINE"
#include <windows.h>

#include "framework/core/UniqueHandle.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kGaveUp = 124;
constexpr DWORD kDefaultLimitSeconds = 90;

// "1234 C:\windows\system32\explorer.exe, ..." for the processes still in the job.
std::wstring DescribeProcesses(HANDLE job) {
    // Room for far more processes than a command starts; a longer list is cut short.
    constexpr DWORD kMaxListed = 64;
    std::vector<unsigned char> storage(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + kMaxListed * sizeof(ULONG_PTR));
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(storage.data());
    if (!QueryInformationJobObject(job, JobObjectBasicProcessIdList, list, static_cast<DWORD>(storage.size()),
                                   nullptr) &&
        GetLastError() != ERROR_MORE_DATA)
        return L"(the job's process list cannot be read)";
    std::wstring described;
    for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i) {
        const auto id = static_cast<DWORD>(list->ProcessIdList[i]);
        wchar_t image[MAX_PATH] = L"?";
        DWORD size = MAX_PATH;
        if (const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)); process)
            QueryFullProcessImageNameW(process.get(), 0, image, &size);
        described += (described.empty() ? L"" : L", ") + std::to_wstring(id) + L" " + image;
    }
    return described.empty() ? L"none" : described;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    DWORD limitSeconds = kDefaultLimitSeconds;
    int first = 1;
    if (argc == 4 && std::wcscmp(argv[1], L"--limit") == 0) {
        limitSeconds = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
        first = 3;
    }
    if (argc != first + 1 || limitSeconds == 0) {
        std::fputws(L"usage: oktalon_run_command_line.exe [--limit SECONDS] \"COMMAND LINE\"\n", stderr);
        return 2;
    }
    const wchar_t* const commandLine = argv[first];

    // Under Wine the desktop is a process of its own, started for the first window that a
    // program creates on a desktop that has none. Started from a program inside the job below, it
    // would stay in the job for as long as this program runs, and the wait would never end.
    // Asking for the desktop window first has it started here, outside the job. On Windows the
    // desktop is always there and nothing is started.
    GetDesktopWindow();

    // The programs it starts stay in the job, so that the wait below covers them too.
    const UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    std::wstring line = commandLine;  // CreateProcessW may write into the line.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!job || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                &startup, &info)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", commandLine, GetLastError());
        return 1;
    }
    const UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);
    const bool inJob = AssignProcessToJobObject(job.get(), process.get()) != FALSE;
    ResumeThread(thread.get());

    const ULONGLONG deadline = GetTickCount64() + ULONGLONG{limitSeconds} * 1000;
    const auto remainingMs = [deadline] {
        const ULONGLONG now = GetTickCount64();
        return now >= deadline ? DWORD{0} : static_cast<DWORD>(deadline - now);
    };
    bool allEnded = WaitForSingleObject(process.get(), remainingMs()) == WAIT_OBJECT_0;
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    while (allEnded && inJob &&
           QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                     nullptr) &&
           accounting.ActiveProcesses > 0) {
        if (remainingMs() == 0)
            allEnded = false;
        else
            Sleep(50);
    }
    if (!allEnded) {
        std::fwprintf(stderr, L"oktalon_run_command_line: gave up after %lu s waiting for %ls; still running: %ls\n",
                      limitSeconds, commandLine, inJob ? DescribeProcesses(job.get()).c_str() : L"the program");
        return kGaveUp;
    }

    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}
