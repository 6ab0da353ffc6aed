// The real oktalon.exe started as a separate process, as the shell starts it (through the
// end-to-end driver): with no file, with a quoted Czech path holding spaces, and over a damaged
// recent-file list. A missing file at start is the end-to-end suite's (StartTests.cpp).

#include "framework/core/RegKey.h"
#include "framework/core/UniqueHandle.h"
#include "tests/e2e/Driver.h"
#include "tests/win/TestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using e2e::TextOf;

// The first of the program's visible top-level windows that `match` takes, waited for up to
// 15 s; null when none comes or the program ends first.
HWND WaitForWindow(const e2e::Viewer& program, const std::function<bool(HWND)>& match) {
    HWND found = nullptr;
    e2e::WaitUntil(
        [&] {
            for (HWND hWnd : program.TopLevelWindows())
                if (match(hWnd)) {
                    found = hWnd;
                    return true;
                }
            return !program.Running();
        },
        15000);
    return found;
}

// The program's exit code, or -1 when it did not end within timeoutMs.
int ExitCode(const e2e::Viewer& program, DWORD timeoutMs = 15000) {
    return program.WaitForExit(timeoutMs) ? static_cast<int>(program.ExitCode()) : -1;
}

// The program's recent-file list in this user's registry, put back as it was afterwards.
class RecentFilesPreserved {
public:
    RecentFilesPreserved()
        : m_path(L"Software\\Local AppWizard-Generated Applications\\" + LoadResourceString(0xE000) +
                 L"\\Recent File List") {
        const CRegKey key = CRegKey::Open(HKEY_CURRENT_USER, m_path.c_str());
        for (int i = 1; i <= 16; ++i) {
            CString value;
            if (key.QueryString(Name(i).c_str(), value))
                m_saved.emplace_back(Name(i), value.str());
        }
    }
    ~RecentFilesPreserved() {
        CRegKey key = CRegKey::Create(HKEY_CURRENT_USER, m_path.c_str());
        for (int i = 1; i <= 16; ++i)
            key.DeleteValue(Name(i).c_str());
        for (const auto& [name, value] : m_saved)
            key.SetString(name.c_str(), value.c_str());
    }
    RecentFilesPreserved(const RecentFilesPreserved&) = delete;
    RecentFilesPreserved& operator=(const RecentFilesPreserved&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Every value of the list, of any type, as text in the order of the names.
    std::vector<std::wstring> All() const {
        std::vector<std::wstring> values;
        const CRegKey key = CRegKey::Open(HKEY_CURRENT_USER, m_path.c_str());
        for (int i = 1; i <= 16; ++i) {
            CString value;
            DWORD type = 0;
            if (key.QueryString(Name(i).c_str(), value))
                values.push_back(value.str());
            else if (RegQueryValueExW(key.Get(), Name(i).c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS)
                values.push_back(L"(a value of type " + std::to_wstring(type) + L")");
        }
        return values;
    }

    std::wstring First() const {
        CString value;
        CRegKey::Open(HKEY_CURRENT_USER, m_path.c_str()).QueryString(L"File1", value);
        return value.str();
    }

private:
    static std::wstring Name(int i) { return L"File" + std::to_wstring(i); }
    std::wstring m_path;
    std::vector<std::pair<std::wstring, std::wstring>> m_saved;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetFileAttributesW(e2e::Viewer::ExePath().c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "oktalon.exe is not built next to the tests";
    }
};

TEST_F(ProgramTest, WithoutAFileShowsTheEmptyMainWindowAndEndsCleanly) {
    RecentFilesPreserved preserved;
    e2e::Viewer program;
    ASSERT_TRUE(program.Started());
    const std::wstring title = LoadResourceString(0xE000);
    HWND hMain = WaitForWindow(program, [&](HWND hWnd) { return TextOf(hWnd) == title; });
    ASSERT_NE(hMain, nullptr) << "the main window titled with the program's title alone";
    EXPECT_NE(GetMenu(hMain), nullptr);
    EXPECT_NE(FindWindowExW(hMain, nullptr, TOOLBARCLASSNAMEW, nullptr), nullptr);
    EXPECT_NE(FindWindowExW(hMain, nullptr, STATUSCLASSNAMEW, nullptr), nullptr);
    PostMessageW(hMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(program), 0);
}

TEST_F(ProgramTest, OpensAQuotedCzechPathWithSpaces) {
    RecentFilesPreserved preserved;
    const std::wstring folder = TempFolder() + L"Oktalon zkouška ěščřžýáíé " + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring name = L"data s mezerou ů.bin";
    const std::wstring path = folder + L"\\" + name;
    {
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        WriteFile(file.get(), "Oktalon", 7, &written, nullptr);
    }
    {
        e2e::Viewer program({path});
        ASSERT_TRUE(program.Started());
        HWND hMain = WaitForWindow(program, [&](HWND hWnd) { return TextOf(hWnd).rfind(name + L" - ", 0) == 0; });
        ASSERT_NE(hMain, nullptr) << "the main window titled with the file's name";
        EXPECT_EQ(preserved.First(), path) << "the file heads the recent-file list";
        PostMessageW(hMain, WM_CLOSE, 0, 0);
        EXPECT_EQ(ExitCode(program), 0);
    }
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(ProgramTest, ADamagedRecentFileListNeverEndsTheProgram) {
    RecentFilesPreserved preserved;
    TempFile file("Oktalon", L"okt-profile");
    const std::wstring name = file.path().substr(file.path().find_last_of(L'\\') + 1);
    std::wstring folder = TempFolder();
    folder.pop_back();
    struct Value {
        DWORD type;
        std::wstring text;  // stored without a terminator
    };
    // The four values of one run each; every kind of damage is in one of them.
    const std::vector<std::vector<Value>> runs = {
        {{REG_DWORD, L"\x0007"}, {REG_SZ, L""}, {REG_BINARY, folder}, {REG_SZ, L"C:\\" + std::wstring(40000, L'a')}},
        {{REG_SZ, L"CON"}, {REG_SZ, L"data.bin"}, {REG_MULTI_SZ, folder}, {REG_SZ, folder}},
    };
    for (const std::vector<Value>& values : runs) {
        {
            CRegKey section = CRegKey::Create(HKEY_CURRENT_USER, preserved.Path().c_str());
            for (size_t i = 0; i < values.size(); ++i)
                RegSetValueExW(section.Get(), (L"File" + std::to_wstring(i + 1)).c_str(), 0, values[i].type,
                               reinterpret_cast<const BYTE*>(values[i].text.data()),
                               static_cast<DWORD>(values[i].text.size() * sizeof(wchar_t)));
        }
        e2e::Viewer program({file.path()});
        ASSERT_TRUE(program.Started());
        HWND hMain = WaitForWindow(program, [&](HWND hWnd) { return TextOf(hWnd).rfind(name + L" - ", 0) == 0; });
        ASSERT_NE(hMain, nullptr) << "no main window showing the file; exit code " << ExitCode(program, 0);
        // The list written back when the file opened: the file, and of the rest only the folder
        // (a full name; it fails with the usual message when chosen).
        std::vector<std::wstring> written = preserved.All();
        ASSERT_FALSE(written.empty());
        EXPECT_EQ(written[0], file.path());
        written.erase(written.begin());
        EXPECT_EQ(written, values[3].text == folder ? std::vector<std::wstring>{folder} : std::vector<std::wstring>{});
        PostMessageW(hMain, WM_CLOSE, 0, 0);
        EXPECT_EQ(ExitCode(program), 0);
    }
}

}  // namespace
