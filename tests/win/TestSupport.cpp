#include "tests/win/TestSupport.h"

#include "framework/core/UniqueHandle.h"

#include <winioctl.h>

#include <algorithm>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
// Files still held when their test ended (by a document the test fixture outlives), deleted
// when the test program ends.
class PendingDeletes {
public:
    ~PendingDeletes() {
        for (const std::wstring& path : m_paths)
            DeleteFileW(path.c_str());
    }
    void Add(const std::wstring& path) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_paths.push_back(path);
    }

private:
    std::mutex m_mutex;
    std::vector<std::wstring> m_paths;
};

void DeleteWhenFree(const std::wstring& path) {
    static PendingDeletes pending;
    pending.Add(path);
}
}  // namespace

std::string Letters(size_t count, char first) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(first + i % 26);
    return bytes;
}

std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

std::wstring UniqueTempPath(const wchar_t* nameHint) {
    static std::atomic<unsigned> counter{0};
    return TempFolder() + nameHint + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) +
           L".bin";
}

TempFile::TempFile(const std::string& bytes, const wchar_t* nameHint) : m_path(UniqueTempPath(nameHint)) {
    UniqueHandle file(
        CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create a temporary file");
    DWORD written = 0;
    if (!bytes.empty() && !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        throw std::runtime_error("cannot write a temporary file");
    file.reset();
    m_fingerprint = TakeFingerprint(m_path);
}

TempFile TempFile::Sparse(uint64_t length, const wchar_t* nameHint) {
    return Sparse(length, {}, nameHint);
}

TempFile TempFile::Sparse(uint64_t length, const std::vector<std::pair<uint64_t, std::string>>& patches,
                          const wchar_t* nameHint) {
    TempFile result;
    result.m_path = UniqueTempPath(nameHint);
    UniqueHandle file(
        CreateFileW(result.m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create a temporary file");
    DWORD returned = 0;
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))
        throw std::runtime_error("cannot size a temporary file");
    for (const auto& [offset, bytes] : patches) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD written = 0;
        if (offset + bytes.size() > length || !SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ||
            !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            throw std::runtime_error("cannot write into a temporary file");
    }
    file.reset();
    result.m_fingerprint = TakeFingerprint(result.m_path);
    return result;
}

TempFile::~TempFile() {
    if (m_path.empty())
        return;
    const FileFingerprint now = TakeFingerprint(m_path);
    EXPECT_TRUE(now.Matches(m_fingerprint))
        << "the file was changed or removed while the test used it (size " << m_fingerprint.size << " -> " << now.size
        << ", exists " << now.exists << ")";
    if (!DeleteFileW(m_path.c_str()))
        DeleteWhenFree(m_path);
}

bool TempFile::Delete() {
    const bool deleted = DeleteFileW(m_path.c_str()) != FALSE;
    if (deleted)
        m_path.clear();
    return deleted;
}

FileFingerprint TakeFingerprint(const std::wstring& path) {
    FileFingerprint print;
    // Size and time come from the directory, which answers even while the viewer holds the
    // file exclusively; the contents can be hashed only when it does not.
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes))
        return print;
    print.exists = true;
    print.size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    print.lastWrite = (static_cast<uint64_t>(attributes.ftLastWriteTime.dwHighDateTime) << 32) |
                      attributes.ftLastWriteTime.dwLowDateTime;
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return print;
    print.hashKnown = true;

    // FNV-1a over the whole file, or over its first and last mebibyte when it is larger.
    constexpr uint64_t kWhole = 2u << 20;
    uint64_t hash = 14695981039346656037ull;
    auto hashFrom = [&](uint64_t offset, uint64_t count) {
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN);
        std::vector<unsigned char> buffer(64 * 1024);
        while (count > 0) {
            DWORD read = 0;
            const DWORD want = static_cast<DWORD>(std::min<uint64_t>(count, buffer.size()));
            if (!ReadFile(file.get(), buffer.data(), want, &read, nullptr) || read == 0)
                break;
            for (DWORD i = 0; i < read; ++i)
                hash = (hash ^ buffer[i]) * 1099511628211ull;
            count -= read;
        }
    };
    if (print.size <= kWhole) {
        hashFrom(0, print.size);
    } else {
        hashFrom(0, kWhole / 2);
        hashFrom(print.size - kWhole / 2, kWhole / 2);
    }
    print.hash = hash;
    return print;
}

MessageBoxWatcher::MessageBoxWatcher() : m_thread([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    m_stop = true;
    m_thread.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = L"";
    // The window's own text, read without a message: the thread that owns the window may be
    // waiting for this helper thread, and a sent WM_GETTEXT would then never be answered.
    InternalGetWindowText(window, text, 1024);
    return text;
}

std::vector<HWND> ProcessDialogs() {
    struct Search {
        std::vector<HWND> found;
        static BOOL CALLBACK Visit(HWND window, LPARAM param) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t className[16] = L"";
            GetClassNameW(window, className, 16);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpW(className, L"#32770") == 0)
                reinterpret_cast<Search*>(param)->found.push_back(window);
            return TRUE;
        }
    } search;
    EnumWindows(&Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsMessageBox(HWND dialog) {
    return GetDlgItem(dialog, 0xFFFF) != nullptr;
}

namespace {
struct FindWindowByCaption {
    const std::wstring* caption;
    HWND found = nullptr;
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto* self = reinterpret_cast<FindWindowByCaption*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && WindowText(window) == *self->caption) {
            self->found = window;
            return FALSE;
        }
        return TRUE;
    }
};

// The system icon a message box shows. Asked with a timeout: the box's thread is in the box's
// own message loop and answers at once, but nothing may hang the watcher.
std::wstring IconOf(HWND box) {
    struct Search {
        std::wstring name;
        static BOOL CALLBACK Visit(HWND child, LPARAM param) {
            if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
                return TRUE;
            DWORD_PTR icon = 0;
            if (!SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon))
                return TRUE;
            const std::pair<LPCWSTR, const wchar_t*> known[] = {{IDI_ASTERISK, L"information"},
                                                                {IDI_EXCLAMATION, L"exclamation"},
                                                                {IDI_HAND, L"error"},
                                                                {IDI_QUESTION, L"question"}};
            for (const auto& [id, name] : known)
                if (reinterpret_cast<HICON>(icon) == LoadIconW(nullptr, id))
                    reinterpret_cast<Search*>(param)->name = name;
            return FALSE;
        }
    } search;
    EnumChildWindows(box, &Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.name;
}

}  // namespace

void MessageBoxWatcher::Watch() {
    while (!m_stop) {
        const std::vector<HWND> dialogs = ProcessDialogs();
        const auto found = std::find_if(dialogs.begin(), dialogs.end(), IsMessageBox);
        if (found != dialogs.end()) {
            const HWND window = *found;
            SeenMessageBox box{WindowText(window), WindowText(GetDlgItem(window, 0xFFFF)), IconOf(window),
                               GetWindow(window, GW_OWNER)};
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_seen.push_back(std::move(box));
            }
            ++s_answered;
            // The only button of an OK box has the id IDOK; pressing it ends the box.
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            while (!m_stop && IsWindow(window))
                Sleep(10);
        }
        Sleep(20);
    }
}

HWND FindProcessWindow(const std::wstring& caption) {
    FindWindowByCaption finder{&caption};
    EnumWindows(&FindWindowByCaption::Visit, reinterpret_cast<LPARAM>(&finder));
    return finder.found;
}

HWND WaitForProcessWindow(const std::wstring& caption, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    do {
        if (HWND window = FindProcessWindow(caption))
            return window;
        Sleep(10);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

HWND FocusOfThread(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

std::wstring LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself, which
    // is not terminated; the returned length says where the string ends.
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

void PumpMessages(DWORD ms) {
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (GetTickCount64() < deadline) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

WhenWindowAppears::WhenWindowAppears(std::wstring caption, std::function<void(HWND)> action, DWORD timeoutMs)
    : m_thread([this, caption = std::move(caption), action = std::move(action), timeoutMs] {
          const ULONGLONG deadline = GetTickCount64() + timeoutMs;
          while (!m_stop && GetTickCount64() < deadline) {
              if (HWND window = FindProcessWindow(caption)) {
                  m_appeared = true;
                  action(window);
                  return;
              }
              Sleep(10);
          }
      }) {}

WhenWindowAppears::~WhenWindowAppears() {
    m_stop = true;
    m_thread.join();
}
