#include "tests/win/TestSupport.h"

#include "framework/core/Path.h"
#include "tests/e2e/Driver.h"

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
// The slot of this program's import address table through which its code calls `function` of
// `dll`; null when the program does not import it by name.
void** ImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), dll) != 0 || entry->OriginalFirstThunk == 0)
            continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

// Puts `replacement` into the slot; returns what it held.
void* ReplaceImport(void** slot, void* replacement) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
    void* original = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof(void*), protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), slot, sizeof(void*));
    return original;
}

struct RecordedFileNames {
    std::mutex mutex;
    std::vector<std::wstring> names;
    void** createFileSlot = nullptr;
    void** attributesSlot = nullptr;
    decltype(&CreateFileW) createFile = nullptr;
    decltype(&GetFileAttributesW) getAttributes = nullptr;
};
RecordedFileNames g_recorded;

void RecordFileName(LPCWSTR name) {
    std::lock_guard<std::mutex> lock(g_recorded.mutex);
    g_recorded.names.emplace_back(name != nullptr ? name : L"");
}

HANDLE WINAPI RecordingCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                   DWORD disposition, DWORD flags, HANDLE templateFile) {
    RecordFileName(name);
    return g_recorded.createFile(name, access, share, security, disposition, flags, templateFile);
}

DWORD WINAPI RecordingGetFileAttributesW(LPCWSTR name) {
    RecordFileName(name);
    return g_recorded.getAttributes(name);
}
}  // namespace

SystemFileNameRecorder::SystemFileNameRecorder() {
    g_recorded.names.clear();
    g_recorded.createFileSlot = ImportSlot("kernel32.dll", "CreateFileW");
    g_recorded.attributesSlot = ImportSlot("kernel32.dll", "GetFileAttributesW");
    if (g_recorded.createFileSlot == nullptr || g_recorded.attributesSlot == nullptr)
        throw std::runtime_error("this program imports no CreateFileW or GetFileAttributesW to record");
    g_recorded.createFile = reinterpret_cast<decltype(&CreateFileW)>(
        ReplaceImport(g_recorded.createFileSlot, reinterpret_cast<void*>(&RecordingCreateFileW)));
    g_recorded.getAttributes = reinterpret_cast<decltype(&GetFileAttributesW)>(
        ReplaceImport(g_recorded.attributesSlot, reinterpret_cast<void*>(&RecordingGetFileAttributesW)));
}

SystemFileNameRecorder::~SystemFileNameRecorder() {
    ReplaceImport(g_recorded.createFileSlot, reinterpret_cast<void*>(g_recorded.createFile));
    ReplaceImport(g_recorded.attributesSlot, reinterpret_cast<void*>(g_recorded.getAttributes));
}

std::vector<std::wstring> SystemFileNameRecorder::NamesEndingIn(const std::wstring& ending) const {
    std::lock_guard<std::mutex> lock(g_recorded.mutex);
    std::vector<std::wstring> result;
    for (const std::wstring& name : g_recorded.names) {
        if (name.size() >= ending.size() &&
            CompareStringOrdinal(name.c_str() + name.size() - ending.size(), static_cast<int>(ending.size()),
                                 ending.c_str(), static_cast<int>(ending.size()), TRUE) == CSTR_EQUAL)
            result.push_back(name);
    }
    return result;
}

LongFolder::LongFolder(size_t length) {
    // A name no folder has yet: Wine gives later runs the same process ids, and a run that ended
    // early leaves its folders behind.
    static std::atomic<unsigned> counter{0};
    std::wstring folder;
    do {
        folder =
            TempFolder() + L"okt-long-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    } while (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES);
    if (length < folder.size() + 20)
        throw std::runtime_error("a long folder must be longer than the temporary folder");
    for (;;) {
        if (!CreateDirectoryW(ForSystem(folder).c_str(), nullptr))
            throw std::runtime_error("cannot make a long folder (error " + std::to_string(GetLastError()) + " at " +
                                     std::to_string(folder.size()) + " characters)");
        m_folders.push_back(folder);
        const size_t left = length - folder.size();
        if (left == 0)
            return;
        // Parts of up to 100 characters; the last one takes the rest (at least 2: a separator
        // and a name).
        const size_t part = left > 150 ? 100 : left - 1;
        folder += L"\\" + std::wstring(part, L'd');
    }
}

LongFolder::~LongFolder() {
    for (auto it = m_folders.rbegin(); it != m_folders.rend(); ++it)
        EXPECT_TRUE(RemoveDirectoryW(ForSystem(*it).c_str())) << "a long folder is not empty or still held";
}

ShortNamedFolder::ShortNamedFolder() : m_path(FullPath(UniqueTempPath(L"okt-long-folder-name").c_str()).str()) {
    if (!CreateDirectoryW(m_path.c_str(), nullptr))
        throw std::runtime_error("cannot make a folder with a long name");
    wchar_t shortPath[MAX_PATH] = L"";
    const DWORD shortLength = GetShortPathNameW(m_path.c_str(), shortPath, MAX_PATH);
    if (shortLength != 0 && shortLength < MAX_PATH && m_path != shortPath)
        m_shortPath = shortPath;
}

ShortNamedFolder::~ShortNamedFolder() {
    EXPECT_TRUE(RemoveDirectoryW(m_path.c_str())) << "a folder with a long name is not empty or still held";
}

std::wstring ShortNamedFolder::LongTail() const {
    std::wstring tail;
    while (m_path.size() + tail.size() < MAX_PATH + 20)
        tail += L"\\deeper-folder";
    return tail + L"\\file.bin";
}

std::string Letters(size_t count, char first) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i)
        bytes += static_cast<char>(first + i % 26);
    return bytes;
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
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && e2e::TextOf(window) == *self->caption) {
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
            SeenMessageBox box{e2e::TextOf(window), e2e::TextOf(GetDlgItem(window, 0xFFFF)), IconOf(window),
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
