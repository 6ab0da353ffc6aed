// A dialog that no test answers (a message box that a failing step brought up, a Find dialog that
// a test's helper missed) holds the test thread in its modal loop, and the suite would hang until
// CTest gave up on it minutes later. This guard watches the program's dialogs from a thread of
// its own: one that stays up longer than any test keeps a dialog fails the running test, saying
// what it showed, and is closed, so that the test runs to its end and the suite goes on.
#include "tests/e2e/Driver.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// How long a dialog may stay up before it counts as stray: longer than any test keeps one (the
// tests' watchers answer a message box within milliseconds; the longest-lived dialog, a Find
// dialog a test tries seven inputs in, stays about a second), short enough that a stuck test
// fails within seconds.
constexpr ULONGLONG kMessageBoxGraceMs = 3000;
constexpr ULONGLONG kDialogGraceMs = 8000;

class StrayDialogGuard {
public:
    StrayDialogGuard() : m_thread([this] { Watch(); }) {}
    ~StrayDialogGuard() {
        m_stop = true;
        m_thread.join();
    }
    StrayDialogGuard(const StrayDialogGuard&) = delete;
    StrayDialogGuard& operator=(const StrayDialogGuard&) = delete;

private:
    struct Shown {
        HWND window;
        ULONGLONG grace;
        ULONGLONG since;
        int closeAttempts = 0;
    };

    void Watch() {
        std::vector<Shown> shown;
        while (!m_stop) {
            const std::vector<HWND> now = ProcessDialogs();
            std::erase_if(shown,
                          [&](const Shown& d) { return std::find(now.begin(), now.end(), d.window) == now.end(); });
            for (const HWND window : now)
                if (std::none_of(shown.begin(), shown.end(), [&](const Shown& d) { return d.window == window; }))
                    shown.push_back(
                        Shown{window, IsMessageBox(window) ? kMessageBoxGraceMs : kDialogGraceMs, GetTickCount64()});
            for (Shown& dialog : shown)
                if (GetTickCount64() - dialog.since > dialog.grace)
                    Close(dialog);
            Sleep(100);
        }
    }

    // Fails the running test once, then presses the dialog's buttons in turn: Cancel (which also
    // ends a message box with only OK), OK, No.
    static void Close(Shown& dialog) {
        static constexpr int kButtons[] = {IDCANCEL, IDOK, IDNO};
        if (dialog.closeAttempts == 0) {
            const HWND text = IsMessageBox(dialog.window) ? GetDlgItem(dialog.window, 0xFFFF) : nullptr;
            ADD_FAILURE() << "a dialog that no test answered was up for " << dialog.grace / 1000
                          << " s and is closed: \"" << e2e::Narrow(e2e::TextOf(dialog.window)) << "\""
                          << (text != nullptr ? " saying \"" + e2e::Narrow(e2e::TextOf(text)) + "\"" : std::string());
        }
        const int button = kButtons[static_cast<size_t>(dialog.closeAttempts) % std::size(kButtons)];
        PostMessageW(dialog.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        ++dialog.closeAttempts;
        dialog.since = GetTickCount64() - dialog.grace + 1000;  // the next button a second later
    }

    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

StrayDialogGuard guard;

}  // namespace

TEST(StrayDialogGuardTest, AMessageBoxNobodyAnswersFailsTheTestWithinSeconds) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_NONFATAL_FAILURE_ON_ALL_THREADS(
        MessageBoxW(nullptr, L"Nikdo na mě nečeká", L"Zbloudilé okno", MB_OK | MB_ICONEXCLAMATION),
        "\"Zbloudilé okno\" saying \"Nikdo na mě nečeká\"");
    EXPECT_LT(GetTickCount64() - start, kMessageBoxGraceMs + 3000);
}
