// CCommandLineInfo: what the program's command line asks for at start-up.
#pragma once

#include "framework/core/String.h"

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };

    CCommandLineInfo() = default;
    virtual ~CCommandLineInfo() = default;

    // Takes one argument (without the program name), already unquoted. The viewer knows no
    // switches: the first argument is the file to open, further ones are ignored. A file name
    // may begin with '-' or '/', so neither is taken for a switch.
    virtual void ParseParam(const wchar_t* param, bool bLast);

    // Parses a whole command line as the system quotes it (the first token is the program).
    void ParseCommandLineText(const wchar_t* commandLine);

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;

private:
    bool m_bHaveFile = false;
};
