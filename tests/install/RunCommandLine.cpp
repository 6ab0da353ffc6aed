// RunCommandLine.cpp: starts a registered command line as the shell does, for the install test:
// CreateProcess with the line exactly as it stands (a context-menu command with the file put in
// for %1, an uninstall string), no parsing of its own. Returns when the started program and
// every program it started have ended (an uninstaller runs as a copy of itself that it starts),
// with the started program's exit code.
//   usage: oktalon_run_command_line.exe "COMMAND LINE"
#include <windows.h>

#include "framework/core/UniqueHandle.h"

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputws(L"usage: oktalon_run_command_line.exe \"COMMAND LINE\"\n", stderr);
        return 2;
    }
    // The programs it starts stay in the job, so that the wait below covers them too.
    const UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    std::wstring line = argv[1];  // CreateProcessW may write into the line.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!job || !CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                                &startup, &info)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    const UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);
    const bool inJob = AssignProcessToJobObject(job.get(), process.get()) != FALSE;
    ResumeThread(thread.get());

    WaitForSingleObject(process.get(), INFINITE);
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    while (inJob &&
           QueryInformationJobObject(job.get(), JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                     nullptr) &&
           accounting.ActiveProcesses > 0)
        Sleep(50);

    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}
