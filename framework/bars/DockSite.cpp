// CDockSite: the bars' list and layout, their floating windows, the View menu's bar commands,
// the status bar's messages and the tooltips.
#include "framework/bars/DockSite.h"

#include "framework/bars/ControlBar.h"
#include "framework/bars/DockContext.h"
#include "framework/window/CmdUI.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

IMPLEMENT_DYNAMIC(CDockSite, CWnd)

BEGIN_MESSAGE_MAP(CDockSite, CWnd)
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_DRAWITEM()
    ON_NOTIFY_RANGE(TTN_GETDISPINFOW, 0, UINT_MAX, OnToolTipText)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CDockSite::CDockSite() = default;

CDockSite::~CDockSite() = default;

// ---- Bars and layout --------------------------------------------------------------------------

void CDockSite::AddControlBar(CControlBar* pBar) {
    if (std::find(m_controlBars.begin(), m_controlBars.end(), pBar) == m_controlBars.end())
        m_controlBars.push_back(pBar);
}

void CDockSite::RemoveControlBar(CControlBar* pBar) {
    std::erase(m_controlBars, pBar);
}

CControlBar* CDockSite::GetControlBar(UINT nID) const {
    for (CControlBar* bar : m_controlBars)
        if (bar->GetSafeHwnd() != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == nID)
            return bar;
    return nullptr;
}

void CDockSite::DockControlBar(CControlBar* pBar, UINT nDockBarID) {
    if (CDockContext* pContext = pBar != nullptr ? pBar->GetDockContext() : nullptr)
        pContext->Dock(SideOfDockBarId(nDockBarID));
}

void CDockSite::ShowControlBar(CControlBar* pBar, BOOL bShow) {
    if (pBar != nullptr)
        pBar->ShowInPlace(bShow);
}

void CDockSite::ReturnFocusToView() {
    if (m_hWnd == nullptr)
        return;
    // Only when this window, or a window it owns, is the active one: never take the keyboard
    // from another program.
    const HWND hActive = ::GetActiveWindow();
    if (hActive == nullptr || (hActive != m_hWnd && ::GetWindow(hActive, GW_OWNER) != m_hWnd))
        return;
    if (hActive != m_hWnd)
        ::SetActiveWindow(m_hWnd);
    if (!::IsChild(m_hWnd, ::GetFocus()))
        SetFocus();
}

void CDockSite::CollectDockedBars(bool bFixedOnly, std::vector<CControlBar*>& bars,
                                  std::vector<DockedBar>& strips) const {
    for (bool fixed : {true, false}) {
        if (!fixed && bFixedOnly)
            break;
        for (CControlBar* bar : m_controlBars) {
            if (!bar->IsVisible() || bar->IsFloating() || (bar->GetDockContext() == nullptr) != fixed)
                continue;
            DockedBar strip;
            strip.dwSide = DockSideOfStyle(bar->GetBarStyle());
            if (strip.dwSide == 0)
                strip.dwSide = CBRS_ALIGN_TOP;
            const bool horizontal = IsHorizontalBarStyle(strip.dwSide);
            const CSize size = bar->CalcFixedLayout(TRUE, horizontal ? TRUE : FALSE);
            strip.nThickness = horizontal ? size.cy : size.cx;
            bars.push_back(bar);
            strips.push_back(strip);
        }
    }
}

CRect CDockSite::GetDockingArea() const {
    CRect client;
    if (m_hWnd == nullptr)
        return client;
    GetClientRect(&client);
    std::vector<CControlBar*> bars;
    std::vector<DockedBar> strips;
    CollectDockedBars(true, bars, strips);
    return LayoutDockedBars(client, strips);
}

CRect CDockSite::PlaceBars() {
    CRect client;
    GetClientRect(&client);
    std::vector<CControlBar*> bars;
    std::vector<DockedBar> strips;
    CollectDockedBars(false, bars, strips);
    const CRect rest = LayoutDockedBars(client, strips);
    for (size_t i = 0; i < bars.size(); ++i) {
        bars[i]->MoveWindow(&strips[i].rect);
        bars[i]->OnFrameLayout();
    }
    return rest;
}

void CDockSite::RecalcLayout() {
    if (m_hWnd != nullptr && !IsIconic(m_hWnd))
        PlaceBars();
}

void CDockSite::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

// ---- Floating bars ----------------------------------------------------------------------------

void CDockSite::OnActivate(UINT nState, CWnd*, BOOL bMinimized) {
    Default();
    const bool activated = nState != WA_INACTIVE && !bMinimized;
    for (CControlBar* bar : m_controlBars) {
        CWnd* pFloating = bar->GetFloatingWindow();
        if (pFloating != nullptr && pFloating->IsWindowVisible())
            pFloating->SendMessage(WM_NCACTIVATE, activated ? TRUE : FALSE);
    }
}

void CDockSite::OnEnable(BOOL bEnable) {
    // A modal dialog or message box disables only its owner, this window. The floating bars
    // are top-level windows of their own, so they go and come back with it: nothing behind a
    // modal window takes input. This window is enabled before they are (this message comes
    // after the change), so the activation that a closing dialog hands on comes here.
    for (CControlBar* bar : m_controlBars)
        if (CWnd* pFloating = bar->GetFloatingWindow())
            pFloating->EnableWindow(bEnable);
    Default();
}

void CDockSite::KeepFloatingBarsAbove() {
    // Owned windows belong above their owner. Not every window manager keeps them there: under
    // Wine the owner can come to the top (closing a dialog, another program bringing it
    // forward) without a message to it, so this runs when the program is idle.
    for (CControlBar* bar : m_controlBars) {
        CWnd* pFloating = bar->GetFloatingWindow();
        if (pFloating == nullptr || !pFloating->IsWindowVisible())
            continue;
        const HWND hFloating = pFloating->GetSafeHwnd();
        bool above = false;
        for (HWND hWnd = ::GetWindow(m_hWnd, GW_HWNDPREV); hWnd != nullptr && !above;
             hWnd = ::GetWindow(hWnd, GW_HWNDPREV))
            above = hWnd == hFloating;
        if (above)
            continue;
        // Inserted after the window just above this one: right above it.
        const HWND hAbove = ::GetWindow(m_hWnd, GW_HWNDPREV);
        ::SetWindowPos(hFloating, hAbove != nullptr ? hAbove : HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void CDockSite::OnIdleUpdateBars() {
    if (m_hWnd == nullptr)
        return;
    for (CControlBar* bar : std::vector<CControlBar*>(m_controlBars))
        if (bar->IsVisible())
            bar->OnUpdateCmdUI(this, TRUE);
    KeepFloatingBarsAbove();
}

// ---- The bars' items --------------------------------------------------------------------------

BOOL CDockSite::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct != nullptr) {
        for (CControlBar* bar : m_controlBars)
            if (bar->GetSafeHwnd() == lpDrawItemStruct->hwndItem && bar->DrawItem(lpDrawItemStruct))
                return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CDockSite::OnToolTipText(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* pInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
    UINT_PTR nID = pNMHDR->idFrom;
    if (pInfo->uFlags & TTF_IDISHWND)
        nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
    m_strToolTip = nID != 0 ? GetToolTipString(static_cast<UINT>(nID)).str() : std::wstring();
    // The tooltip copies the text when this returns; the buffer only has to outlive the call.
    pInfo->lpszText = m_strToolTip.data();
    pInfo->hinst = nullptr;
    if (pResult != nullptr)
        *pResult = 0;
}

void CDockSite::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    if (bar != nullptr)
        ShowControlBar(bar, !bar->IsVisible());
}

void CDockSite::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (bar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

void CDockSite::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    int key = 0;
    if (pCmdUI->m_nID == ID_INDICATOR_CAPS)
        key = VK_CAPITAL;
    else if (pCmdUI->m_nID == ID_INDICATOR_NUM)
        key = VK_NUMLOCK;
    if (key == 0) {
        pCmdUI->ContinueRouting();
        return;
    }
    // The low bit of a lock key's state is its toggle: on or off.
    pCmdUI->Enable((GetKeyState(key) & 1) != 0);
}

// ---- Status bar messages ----------------------------------------------------------------------

CControlBar* CDockSite::GetMessageBar() const {
    return GetControlBar(AFX_IDW_STATUS_BAR);
}

void CDockSite::GetMessageString(UINT nID, CString& rMessage) const {
    AfxExtractSubString(rMessage, AfxLoadString(nID), 0);
}

CString CDockSite::GetToolTipString(UINT nID) {
    CString tip;
    AfxExtractSubString(tip, AfxLoadString(nID), 1);
    return tip;
}

void CDockSite::SetMessageText(LPCWSTR lpszText) {
    if (CControlBar* bar = GetMessageBar())
        bar->SetWindowText(lpszText);
}

void CDockSite::SetMessageText(UINT nID) {
    CString message;
    GetMessageString(nID, message);
    SetMessageText(message);
}
