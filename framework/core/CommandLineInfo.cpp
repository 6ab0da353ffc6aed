// CCommandLineInfo: reading the program's command line.
#include "framework/core/CommandLineInfo.h"

#include <shellapi.h>

#include <memory>

void CCommandLineInfo::ParseParam(const wchar_t* param, bool /*bLast*/) {
    if (m_bHaveFile || param == nullptr || *param == L'\0')
        return;
    m_bHaveFile = true;
    m_strFileName = param;
    m_nShellCommand = FileOpen;
}

void CCommandLineInfo::ParseCommandLineText(const wchar_t* commandLine) {
    if (commandLine == nullptr || *commandLine == L'\0')
        return;
    int count = 0;
    // CommandLineToArgvW applies the system's own quoting rules, so quoted names with spaces
    // and any UTF-16 characters arrive whole.
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(CommandLineToArgvW(commandLine, &count), &LocalFree);
    if (!args)
        return;
    for (int i = 1; i < count; ++i)
        ParseParam(args.get()[i], i + 1 == count);
}
