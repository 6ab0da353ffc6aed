// CSearchRun: the scan block by block, the progress window once it outlasts a moment, the
// messages handled between blocks, the stop.
#include "doc/SearchRun.h"

#include "dialogs/SearchProgressDlg.h"
#include "doc/PatternScan.h"
#include "framework/window/AfxWin.h"

#include <algorithm>

namespace {
// Milliseconds since the system started: a clock cheap enough to read after every block (the
// performance counter costs microseconds a reading under Wine, several per cent of a fast scan),
// and fine enough for the times below.
double NowMs() {
    return static_cast<double>(GetTickCount64());
}

// A scan that ends within this time shows nothing, so a short one looks as it always has.
constexpr double kQuietMs = 500;
// How often a scan with its progress shown handles messages and updates the window: often
// enough for Storno to stop it at once and for the program to answer as usual.
constexpr double kMessageIntervalMs = 25;
// Blocks are made smaller while a block takes longer than this (a slow disk or network), so that
// messages are handled in time; and larger again while they are quick.
constexpr double kSlowBlockMs = 40;
constexpr double kQuickBlockMs = 5;
constexpr size_t kSmallestBlock = size_t{64} << 10;
// Messages handled at one time at most, so that a flood of them cannot hold up the scan.
constexpr int kMessagesAtOnce = 200;
}  // namespace

CSearchRun::CSearchRun(PatternScanner& scanner, CString description)
    : m_scanner(scanner), m_strDescription(std::move(description)) {}

CSearchRun::~CSearchRun() {
    EndProgressWindow();
    if (m_quitCode)
        ::PostQuitMessage(static_cast<int>(*m_quitCode));
}

CSearchRun::Outcome CSearchRun::Run() {
    const double start = NowMs();
    double lastMessages = start;
    const size_t largestBlock = m_scanner.BlockSize();
    while (!StopAsked()) {
        const double blockStart = NowMs();
        if (!m_scanner.Step())
            break;
        const double now = NowMs();
        const double blockTime = now - blockStart;
        if (blockTime > kSlowBlockMs)
            m_scanner.SetBlockSize(std::max(kSmallestBlock, m_scanner.BlockSize() / 2));
        else if (blockTime < kQuickBlockMs && m_scanner.BlockSize() < largestBlock)
            m_scanner.SetBlockSize(std::min(largestBlock, m_scanner.BlockSize() * 2));

        if (m_pProgress == nullptr && now - start >= kQuietMs)
            ShowProgressWindow();
        if (m_pProgress != nullptr && now - lastMessages >= kMessageIntervalMs) {
            m_pProgress->ShowProgress(static_cast<uint64_t>(m_scanner.NextCandidate() - m_scanner.Start()),
                                      static_cast<uint64_t>(m_scanner.Length() - m_scanner.Start()));
            HandleWaitingMessages();
            lastMessages = NowMs();
        }
    }
    EndProgressWindow();
    if (!m_scanner.Done())
        return Outcome::Stopped;
    return m_scanner.Match() ? Outcome::Found : Outcome::NotFound;
}

bool CSearchRun::StopAsked() const {
    // A progress window that is gone (its owner was destroyed) stops the search too.
    return m_bStopAsked || m_quitCode ||
           (m_pProgress != nullptr && (m_pProgress->StopAsked() || m_pProgress->GetSafeHwnd() == nullptr));
}

void CSearchRun::ShowProgressWindow() {
    CWnd* pMain = AfxGetMainWnd();
    m_pProgress = std::make_unique<CSearchProgressDlg>(m_strDescription);
    if (!m_pProgress->Create()) {
        // Without the window the search still runs to its end, as a short one does.
        m_pProgress.reset();
        return;
    }
    // Modal to the main window: its menus, keys, toolbar (docked or floating) and view take no
    // input until the search ends.
    if (pMain != nullptr && pMain->GetSafeHwnd() != nullptr && ::IsWindowEnabled(pMain->GetSafeHwnd())) {
        m_hDisabledOwner = pMain->GetSafeHwnd();
        ::EnableWindow(m_hDisabledOwner, FALSE);
    }
}

void CSearchRun::EndProgressWindow() {
    // The owner is enabled before the window goes, so that the activation returns to it.
    if (m_hDisabledOwner != nullptr) {
        if (::IsWindow(m_hDisabledOwner))
            ::EnableWindow(m_hDisabledOwner, TRUE);
        m_hDisabledOwner = nullptr;
    }
    m_pProgress.reset();
}

void CSearchRun::HandleWaitingMessages() {
    MSG msg;
    for (int handled = 0; handled < kMessagesAtOnce && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (msg.message == WM_QUIT) {
            m_quitCode = msg.wParam;
            return;
        }
        const HWND hProgress = m_pProgress != nullptr ? m_pProgress->GetSafeHwnd() : nullptr;
        if (hProgress != nullptr && ::IsDialogMessageW(hProgress, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
