#pragma once

// Helpers for the Windows tests that need no framework class: folders with long names, a watcher
// that answers the message boxes a test provokes and remembers what they said, finding and
// driving windows of this process, and the program's own strings. The test files themselves are
// the driver's (tests/e2e/TempFile.h), which every test program shares.

#include <windows.h>

#include "tests/e2e/TempFile.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A chain of folders in the temporary folder whose full name is exactly `length` characters
// (at least 20 more than the temporary folder's), made and removed through the "\\?\" form, so
// that the name can be past MAX_PATH. Its files must be gone when it goes.
class LongFolder {
public:
    explicit LongFolder(size_t length);
    ~LongFolder();
    LongFolder(const LongFolder&) = delete;
    LongFolder& operator=(const LongFolder&) = delete;

    // The folder's full name, plain, without a separator at the end.
    const std::wstring& path() const { return m_folders.back(); }

private:
    std::vector<std::wstring> m_folders;  // the outermost first
};

// A folder with a long name in the temporary folder, and the short (8.3) name that the system
// made for it, where its file system makes short names; removed with this object (its files must
// be gone by then).
class ShortNamedFolder {
public:
    ShortNamedFolder();
    ~ShortNamedFolder();

    // Its full, long name.
    const std::wstring& path() const { return m_path; }
    // Its full name with the short form of its own part; empty when the system made none.
    const std::wstring& shortPath() const { return m_shortPath; }
    // Folders and a file below it that take a name in it past MAX_PATH: "\deeper-folder\...\file.bin".
    std::wstring LongTail() const;

private:
    ShortNamedFolder(const ShortNamedFolder&) = delete;
    ShortNamedFolder& operator=(const ShortNamedFolder&) = delete;

    std::wstring m_path;
    std::wstring m_shortPath;
};

// While alive, records the file names that this program's own code hands the system to open or
// to look up (CreateFileW, GetFileAttributesW): those imports of the program are replaced for the
// time by recorders that pass each call on. One recorder at a time.
class SystemFileNameRecorder {
public:
    SystemFileNameRecorder();
    ~SystemFileNameRecorder();
    SystemFileNameRecorder(const SystemFileNameRecorder&) = delete;
    SystemFileNameRecorder& operator=(const SystemFileNameRecorder&) = delete;

    // The names handed over so far that end in `ending` (compared without regard to case), in
    // the order they were handed over.
    std::vector<std::wstring> NamesEndingIn(const std::wstring& ending) const;
};

// `count` bytes of letters running from `first` through the alphabet and round again: file
// contents whose every line differs from its neighbours.
std::string Letters(size_t count, char first = 'A');

struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    std::wstring icon;     // "information", "exclamation", "error", "question" or "" (none)
    HWND owner = nullptr;  // the window the box belongs to (and disables while it is up)
};

// While alive, closes every message box this process shows (by pressing OK) and records what it
// said, so that code that reports failures in a modal box can be tested. It watches from a
// thread of its own, as a person would from outside: the thread that shows the box needs no
// timer or hook, and boxes of any thread are seen.
class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    std::vector<SeenMessageBox> Seen() const;
    // How many boxes all watchers of this process have answered so far: a helper thread that
    // polls for a box may miss one that a watcher has closed already, but not this count.
    static size_t BoxesAnswered() { return s_answered; }

private:
    void Watch();

    static inline std::atomic<size_t> s_answered{0};

    mutable std::mutex m_mutex;
    std::vector<SeenMessageBox> m_seen;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Runs an action on a helper thread once a visible window of this process with the given
// caption appears (a modal dialog the test thread is running, say); the action drives it from
// outside, as a person would, with messages. Joined when this object goes.
class WhenWindowAppears {
public:
    WhenWindowAppears(std::wstring caption, std::function<void(HWND)> action, DWORD timeoutMs = 10000);
    ~WhenWindowAppears();
    WhenWindowAppears(const WhenWindowAppears&) = delete;
    WhenWindowAppears& operator=(const WhenWindowAppears&) = delete;

    bool Appeared() const { return m_appeared; }

private:
    std::atomic<bool> m_appeared{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The visible dialogs (class #32770) of this process: message boxes and dialogs alike.
std::vector<HWND> ProcessDialogs();
// A message box is a dialog with a static text of id 0xFFFF.
bool IsMessageBox(HWND dialog);

// The first visible top-level window of this process with that caption, or null.
HWND FindProcessWindow(const std::wstring& caption);
// Waits up to timeoutMs for FindProcessWindow(caption); null when it does not come.
HWND WaitForProcessWindow(const std::wstring& caption, DWORD timeoutMs = 5000);
// The window of this thread's process that has the keyboard focus in thread `threadId`.
HWND FocusOfThread(DWORD threadId);
// String `id` of this program's own resources, whole (empty when there is none).
std::wstring LoadResourceString(UINT id);
// Dispatches this thread's messages for about `ms` milliseconds (timers, paints).
void PumpMessages(DWORD ms);
