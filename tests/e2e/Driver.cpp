#include "tests/e2e/Driver.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <thread>

namespace e2e {

bool WaitUntil(const std::function<bool()>& cond, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond())
            return true;
        if (GetTickCount() - start >= ms)
            return cond();
        Sleep(20);
    }
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window) {
    if (ProcessOf(window) == GetCurrentProcessId()) {
        // The text the system keeps for the window, read without a message: the thread that
        // owns it may be waiting for the caller, and a sent WM_GETTEXT would then never be
        // answered.
        std::wstring text(256, L'\0');
        for (;;) {
            const int copied = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()));
            if (copied < static_cast<int>(text.size()) - 1) {
                text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
                return text;
            }
            text.resize(text.size() * 2);
        }
    }
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return std::wstring();
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &copied))
        return std::wstring();
    text.resize(std::min<size_t>(copied, length));
    return text;
}

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientScreenRect(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
}

POINT Center(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

struct TopLevelSearch {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM search) {
    auto* s = reinterpret_cast<TopLevelSearch*>(search);
    if (ProcessOf(window) == s->pid && (!s->visibleOnly || IsWindowVisible(window)))
        s->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> found;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ChildById(HWND parent, int id) {
    for (HWND child : Children(parent))
        if (GetDlgCtrlID(child) == id)
            return child;
    return nullptr;
}

HWND ChildByClass(HWND parent, const wchar_t* className) {
    for (HWND child : Children(parent))
        if (lstrcmpiW(ClassOf(child).c_str(), className) == 0)
            return child;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Input

namespace input {

namespace {

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (vk) {  // keys of the extended block
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_INSERT:
    case VK_DELETE:
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    return in;
}

void SendKeys(std::initializer_list<WORD> keys, bool up) {
    std::vector<INPUT> inputs;
    for (WORD vk : keys)
        inputs.push_back(KeyInput(vk, up));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendKey(WORD vk, bool up) {
    SendKeys({vk}, up);
}

void SendMouse(DWORD flags, LONG data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = static_cast<DWORD>(data);
    SendInput(1, &in, sizeof in);
}

}  // namespace

void KeyDown(WORD vk) {
    SendKey(vk, false);
}
void KeyUp(WORD vk) {
    SendKey(vk, true);
}

void KeysDown(std::initializer_list<WORD> keys) {
    SendKeys(keys, false);
}
void KeysUp(std::initializer_list<WORD> keys) {
    SendKeys(keys, true);
}

void Key(WORD vk) {
    KeyDown(vk);
    Sleep(10);
    KeyUp(vk);
    Sleep(30);
}

void Chord(std::initializer_list<WORD> keys) {
    for (WORD vk : keys) {
        KeyDown(vk);
        Sleep(10);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        KeyUp(*--it);
        Sleep(10);
    }
    Sleep(30);
}

void HoldKey(WORD vk, DWORD ms) {
    KeyDown(vk);
    Sleep(ms);
    KeyUp(vk);
}

void Type(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = c;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        Sleep(15);
    }
    Sleep(50);
}

void Menu(wchar_t popupLetter, wchar_t itemLetter) {
    WORD popup = static_cast<WORD>(LOBYTE(VkKeyScanW(popupLetter)));
    WORD item = static_cast<WORD>(LOBYTE(VkKeyScanW(itemLetter)));
    Chord({VK_MENU, popup});
    Sleep(150);  // let the popup open
    Key(item);
}

void MoveTo(POINT screen) {
    // An absolute move, in the 0..65535 coordinates of the primary screen.
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + width / 2) / width);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + height / 2) / height);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    // Rounding can leave the pointer a pixel off; put it exactly where asked.
    SetCursorPos(screen.x, screen.y);
    Sleep(30);
}

void MouseDown(POINT screen) {
    MoveTo(screen);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(30);
}

void MouseUp(POINT screen) {
    MoveTo(screen);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(30);
}

void Click(POINT screen) {
    MoveTo(screen);
    // Press and release in one call, so nothing (such as a scroll bar's auto-repeat) can take
    // the press for a hold.
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    Sleep(50);
}

void Wheel(int delta) {
    SendMouse(MOUSEEVENTF_WHEEL, delta);
    Sleep(50);
}

}  // namespace input

// ---------------------------------------------------------------------------------------------
// The viewer's process

std::wstring Viewer::ExePath() {
    wchar_t value[MAX_PATH * 2] = {};
    DWORD n = GetEnvironmentVariableW(L"OKTALON_EXE", value, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2)
        return value;
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir = self;
    dir.resize(dir.find_last_of(L"\\/") + 1);
    return dir + L"oktalon.exe";
}

Viewer::Viewer(const std::vector<std::wstring>& args) {
    std::wstring exe = ExePath();
    std::wstring command = L"\"" + exe + L"\"";
    for (const std::wstring& a : args)
        command += L" \"" + a + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        m_process.reset(info.hProcess);
        m_thread.reset(info.hThread);
        m_pid = info.dwProcessId;
        m_tid = info.dwThreadId;
    }
}

Viewer::~Viewer() {
    Kill();
}

bool Viewer::Running() const {
    return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
}

bool Viewer::WaitForExit(DWORD ms) const {
    return !m_process || WaitForSingleObject(m_process.get(), ms) == WAIT_OBJECT_0;
}

DWORD Viewer::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (m_process)
        GetExitCodeProcess(m_process.get(), &code);
    return code;
}

void Viewer::Kill() {
    if (!Running())
        return;
    // Ask politely first (closing any message box or dialog on the way), then end it.
    if (m_main && IsWindow(m_main)) {
        for (HWND w : TopLevelWindows())
            if (w != m_main && ClassOf(w) == L"#32770")
                PostMessageW(w, WM_CLOSE, 0, 0);
        PostMessageW(m_main, WM_CLOSE, 0, 0);
        if (WaitForExit(3000))
            return;
    }
    TerminateProcess(m_process.get(), 1);
    WaitForExit(5000);
}

std::vector<HWND> Viewer::TopLevelWindows(bool visibleOnly) const {
    TopLevelSearch search{m_pid, visibleOnly, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Viewer::WaitForMain(DWORD ms) {
    if (!m_process)
        return nullptr;
    WaitForInputIdle(m_process.get(), ms);
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows()) {
                if (GetMenu(w) && GetWindow(w, GW_OWNER) == nullptr &&
                    TextOf(w).find(L"Oktalon 1.0") != std::wstring::npos) {
                    m_main = w;
                    return true;
                }
            }
            return !Running();
        },
        ms);
    return m_main;
}

void Viewer::Place(int x, int y, int width, int height) {
    if (!m_main)
        return;
    SetWindowPos(m_main, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntil(
        [&] {
            RECT r = ScreenRect(m_main);
            return r.right - r.left == width && r.bottom - r.top == height;
        },
        3000);
    Sleep(150);  // let the layout and the repaint happen
}

bool Viewer::Activate() {
    if (!m_main)
        return false;
    HWND target = m_main;
    // A modal dialog or message box on top takes the keys instead.
    if (HWND popup = GetLastActivePopup(m_main); popup && IsWindowVisible(popup))
        target = popup;
    SetForegroundWindow(target);
    return WaitUntil([&] { return GetForegroundWindow() == target && ActiveWindow() == target; }, 2000);
}

HWND Viewer::View() const {
    if (!m_main)
        return nullptr;
    if (HWND pane = GetDlgItem(m_main, 0xE900))  // the framework's first pane
        return pane;
    HWND best = nullptr;
    long bestArea = -1;
    for (HWND child : Children(m_main)) {
        std::wstring cls = ClassOf(child);
        if (GetParent(child) != m_main || cls == TOOLBARCLASSNAMEW || cls == STATUSCLASSNAMEW)
            continue;
        if (StyleOf(child) & (WS_HSCROLL | WS_VSCROLL))
            return child;
        RECT r{};
        GetClientRect(child, &r);
        long area = r.right * r.bottom;
        if (area > bestArea) {
            bestArea = area;
            best = child;
        }
    }
    return best;
}

HWND Viewer::Toolbar() const {
    if (!m_main)
        return nullptr;
    if (HWND docked = ChildByClass(m_main, TOOLBARCLASSNAMEW))
        return docked;
    for (HWND w : TopLevelWindows(false))
        if (GetWindow(w, GW_OWNER) == m_main)
            if (HWND floating = ChildByClass(w, TOOLBARCLASSNAMEW))
                return floating;
    return nullptr;
}
HWND Viewer::StatusBar() const {
    return m_main ? ChildByClass(m_main, STATUSCLASSNAMEW) : nullptr;
}

HWND Viewer::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(m_tid, &info) ? info.hwndFocus : nullptr;
}

HWND Viewer::ActiveWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(m_tid, &info) ? info.hwndActive : nullptr;
}

HWND Viewer::WaitForWindow(const std::wstring& caption, const std::wstring& className, DWORD ms) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows()) {
                if (w == m_main)
                    continue;
                if (!className.empty() && ClassOf(w) != className)
                    continue;
                if (!caption.empty() && TextOf(w) != caption)
                    continue;
                found = w;
                return true;
            }
            return false;
        },
        ms);
    return found;
}

Box Viewer::WaitForMessageBox(DWORD ms) const {
    Box box;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows()) {
                if (ClassOf(w) != L"#32770")
                    continue;
                HWND text = GetDlgItem(w, 0xFFFF);
                if (!text)
                    continue;
                box.window = w;
                box.caption = TextOf(w);
                box.text = TextOf(text);
                return true;
            }
            return false;
        },
        ms);
    return box;
}

bool Viewer::NoMessageBoxFor(DWORD ms) const {
    return !WaitForMessageBox(ms);
}

HWND Viewer::OpenMenuWindow() const {
    for (HWND w : TopLevelWindows())
        if (ClassOf(w) == L"#32768")
            return w;
    return nullptr;
}

std::wstring Viewer::StatusText() const {
    HWND bar = StatusBar();
    return bar ? TextOf(bar) : std::wstring();
}

int Viewer::ToolbarState(int command) const {
    HWND bar = Toolbar();
    DWORD_PTR result = 0;
    if (!bar ||
        !SendMessageTimeoutW(bar, TB_GETSTATE, static_cast<WPARAM>(command), 0, SMTO_ABORTIFHUNG, 2000, &result))
        return -1;
    return static_cast<int>(static_cast<LONG_PTR>(result));
}

RECT Viewer::ShownArea() const {
    RECT area{0, 0, 0, 0};
    bool any = false;
    for (HWND w : TopLevelWindows()) {
        RECT r = ScreenRect(w);
        if (!any)
            area = r;
        else
            UnionRect(&area, &area, &r);
        any = true;
    }
    return area;
}

// ---------------------------------------------------------------------------------------------
// Files

bool HeldExclusively(const std::wstring& path) {
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && GetLastError() == ERROR_SHARING_VIOLATION;
}

std::string Narrow(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace e2e
