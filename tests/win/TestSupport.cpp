#include "tests/win/TestSupport.h"

#include "framework/UniqueHandle.h"

#include <winioctl.h>

#include <stdexcept>

std::wstring UniqueTempPath(const wchar_t* nameHint) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    static std::atomic<unsigned> counter{0};
    return std::wstring(folder) + nameHint + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L".bin";
}

TempFile::TempFile(const std::string& bytes, const wchar_t* nameHint) : m_path(UniqueTempPath(nameHint)) {
    UniqueHandle file(CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create a temporary file");
    DWORD written = 0;
    if (!bytes.empty() &&
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        throw std::runtime_error("cannot write a temporary file");
}

TempFile TempFile::Sparse(uint64_t length, const wchar_t* nameHint) {
    TempFile result;
    result.m_path = UniqueTempPath(nameHint);
    UniqueHandle file(CreateFileW(result.m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create a temporary file");
    DWORD returned = 0;
    DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))
        throw std::runtime_error("cannot size a temporary file");
    return result;
}

TempFile::~TempFile() {
    if (!m_path.empty())
        DeleteFileW(m_path.c_str());
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

namespace {
std::wstring WindowText(HWND window) {
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

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

struct FindDialogOfProcess {
    HWND found = nullptr;
    static BOOL CALLBACK Visit(HWND window, LPARAM param) {
        auto* self = reinterpret_cast<FindDialogOfProcess*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t className[16] = L"";
        GetClassNameW(window, className, 16);
        // A message box is a dialog with a static text of id 0xFFFF.
        if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
            lstrcmpW(className, L"#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr) {
            self->found = window;
            return FALSE;
        }
        return TRUE;
    }
};
}  // namespace

void MessageBoxWatcher::Watch() {
    while (!m_stop) {
        FindDialogOfProcess finder;
        EnumWindows(&FindDialogOfProcess::Visit, reinterpret_cast<LPARAM>(&finder));
        if (finder.found != nullptr) {
            SeenMessageBox box{WindowText(finder.found), WindowText(GetDlgItem(finder.found, 0xFFFF))};
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_seen.push_back(std::move(box));
            }
            // The only button of an OK box has the id IDOK; pressing it ends the box.
            PostMessageW(finder.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            while (!m_stop && IsWindow(finder.found))
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
