// Driver.h: drives the real oktalon.exe from outside, as a person or an accessibility tool would:
// starts it, finds its windows and controls, sends real input (SendInput) and reads what another
// process can observe of it.
//
// What one process can observe of another under Wine (and Windows): window texts (WM_GETTEXT is
// marshalled), styles, rectangles, enabled and visible states, the focus and the active window
// (GetGUIThreadInfo), toolbar button states (TB_GETSTATE), the status bar's pane count (SB_GETPARTS with no
// buffer) and the screen's pixels. What it cannot: scroll-bar positions
// (GetScrollInfo, GetScrollPos and GetScrollBarInfo fail on another process's window), menu
// contents (HMENUs belong to their process), and any message that carries a pointer other than
// the text messages. The tests therefore read scroll positions and marked lines from the
// pixels, and work menus with the keyboard.
#pragma once

#include <windows.h>

#include "tests/e2e/Handles.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

// Polls cond every 20 ms until it holds or ms milliseconds have passed; returns its last value.
bool WaitUntil(const std::function<bool()>& cond, DWORD ms);

// Window helpers that work across processes.
std::wstring ClassOf(HWND window);
// A window's text. One of another process is asked (WM_GETTEXT, within 2 s), so that controls
// that keep their text themselves (an edit, the status bar) answer too; one of this process is
// read where the system keeps it, without a message, since its thread may be waiting for the
// caller.
std::wstring TextOf(HWND window);
DWORD StyleOf(HWND window);
DWORD ProcessOf(HWND window);
RECT ScreenRect(HWND window);
RECT ClientScreenRect(HWND window);
POINT Center(const RECT& r);
std::vector<HWND> Children(HWND parent);  // all descendants
HWND ChildById(HWND parent, int id);      // a direct or deeper child with that control id
HWND ChildByClass(HWND parent, const wchar_t* className);

// Real input, through SendInput.
namespace input {
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void KeysDown(std::initializer_list<WORD> keys);  // all at the same moment
void KeysUp(std::initializer_list<WORD> keys);
void Key(WORD vk);                             // press and release
void Chord(std::initializer_list<WORD> keys);  // press in order, release in reverse
void HoldKey(WORD vk, DWORD ms);
void Type(const std::wstring& text);                 // each character as a Unicode key
void Menu(wchar_t popupLetter, wchar_t itemLetter);  // Alt+letter, then the item's letter
void MoveTo(POINT screen);
void Click(POINT screen);
void MouseDown(POINT screen);
void MouseUp(POINT screen);
void Wheel(int delta);  // WHEEL_DELTA (120) per notch, + away
}  // namespace input

// A message box or a dialog of the viewer.
struct Box {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;  // message boxes: the text (static control 0xFFFF)
    explicit operator bool() const { return window != nullptr; }
};

// One run of the viewer.
class Viewer {
public:
    // The exe to test: OKTALON_EXE (the test bed hands a Unix name over as a Wine name), else
    // oktalon.exe next to this program.
    static std::wstring ExePath();

    // Starts the viewer with the given arguments (each quoted). Does not wait.
    explicit Viewer(const std::vector<std::wstring>& args = {});
    ~Viewer();  // ends the process if it still runs
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    bool Started() const { return static_cast<bool>(m_process); }
    DWORD Pid() const { return m_pid; }
    bool Running() const;
    bool WaitForExit(DWORD ms) const;
    DWORD ExitCode() const;
    void Kill();

    // The main frame: the top-level window of the process with a menu and the "Oktalon 1.0"
    // title. Waits up to ms; null if it does not appear.
    HWND WaitForMain(DWORD ms = 15000);
    HWND Main() const { return m_main; }
    // Moves and sizes the main window (so the view's page size is known).
    void Place(int x, int y, int width, int height);
    // Brings the main window to the front, so keys go to it.
    bool Activate();

    HWND View() const;     // the child with the scroll-bar styles... or the largest plain child
    HWND Toolbar() const;  // docked in the main window, or floating in a window it owns
    HWND StatusBar() const;
    HWND Focus() const;  // the focus window of the viewer's thread
    HWND ActiveWindow() const;
    std::vector<HWND> TopLevelWindows(bool visibleOnly = true) const;

    // The first visible top-level window of the process, other than the main window, whose
    // caption and class match (empty = any). Waits up to ms.
    HWND WaitForWindow(const std::wstring& caption, const std::wstring& className, DWORD ms) const;
    // A message box: a dialog with the static text 0xFFFF.
    Box WaitForMessageBox(DWORD ms = 5000) const;
    bool NoMessageBoxFor(DWORD ms) const;
    // The visible popup menu window, if a menu is open.
    HWND OpenMenuWindow() const;

    // Status bar: the message pane's text.
    std::wstring StatusText() const;
    // Toolbar: the TBSTATE_* bits of a command's button, -1 if there is no such button.
    int ToolbarState(int command) const;

    // Everything the viewer shows: the bounding box of its visible top-level windows.
    RECT ShownArea() const;

private:
    Handle m_process;
    Handle m_thread;
    DWORD m_pid = 0;
    DWORD m_tid = 0;
    HWND m_main = nullptr;
};

// Whether some process holds the file so that nobody else may open it, not even for reading
// with every sharing allowed.
bool HeldExclusively(const std::wstring& path);

std::string Narrow(const std::wstring& text);  // UTF-8, for test messages

}  // namespace e2e
