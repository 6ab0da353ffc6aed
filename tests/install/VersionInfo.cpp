// VersionInfo.cpp: prints a program's version details as Windows gives them to Explorer's
// Properties and to installers (GetFileVersionInfoW, VerQueryValueW), for the install test, in
// UTF-8, one "name=value" line each: the fixed file and product versions, the translations, and
// the strings of the first translation. Exit code 1 when the file has no version details.
//   usage: oktalon_version_info.exe FILE
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

void Print(const std::wstring& name, const std::wstring& value) {
    const std::wstring line = name + L"=" + value + L"\n";
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

std::wstring Quad(DWORD high, DWORD low) {
    return std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." + std::to_wstring(HIWORD(low)) +
           L"." + std::to_wstring(LOWORD(low));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: oktalon_version_info.exe FILE\n", stderr);
        return 2;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(argv[1], &ignored);
    std::vector<BYTE> data(size);
    if (size == 0 || !GetFileVersionInfoW(argv[1], 0, size, data.data())) {
        std::fprintf(stderr, "no version details (error %lu)\n", GetLastError());
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && length >= sizeof *fixed) {
        Print(L"Fixed.FileVersion", Quad(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
        Print(L"Fixed.ProductVersion", Quad(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
        Print(L"Fixed.FileType", std::to_wstring(fixed->dwFileType));
    }
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation)) {
        std::fputs("no translations\n", stderr);
        return 1;
    }
    std::wstring listed;
    for (UINT i = 0; i < length / sizeof(Translation); ++i) {
        wchar_t pair[16];
        swprintf(pair, 16, L"%04x%04x", translations[i].language, translations[i].codePage);
        listed += (i == 0 ? L"" : L" ") + std::wstring(pair);
    }
    Print(L"Translations", listed);
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translations[0].language, translations[0].codePage);
    for (const wchar_t* name : {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
                                L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        wchar_t* value = nullptr;
        if (VerQueryValueW(data.data(), (std::wstring(block) + name).c_str(), reinterpret_cast<void**>(&value),
                           &length) &&
            value != nullptr)
            Print(name, std::wstring(value, wcsnlen(value, length)));
    }
    return 0;
}
