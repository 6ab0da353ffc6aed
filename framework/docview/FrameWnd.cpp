#include "framework/docview/FrameWnd.h"

#include "framework/window/CmdUI.h"
#include "framework/bars/DockContext.h"
#include "framework/bars/MiniFrameWnd.h"
#include "framework/docview/WinApp.h"

#include <commctrl.h>

#include <climits>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_ACTIVATE, OnActivate)
    ON_MESSAGE(WM_ENABLE, OnEnable)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
    ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItem)
    ON_NOTIFY_RANGE(TTN_GETDISPINFOW, 0, UINT_MAX, OnToolTipText)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    // The window goes before the view object and the icon it uses; the derived frame's
    // handlers no longer run at this point, the framework's do.
    if (m_hWnd != nullptr)
        DestroyWindow();
    m_controlBars.clear();
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    // The view covers the client area; painting the frame under it would only flicker.
    cs.style |= WS_CLIPCHILDREN;
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    if (m_hWnd != nullptr)
        return FALSE;
    m_dwFrameStyle = dwDefaultStyle & FWS_ADDTOTITLE;

    CString documentString;
    documentString.LoadString(nIDResource);
    AfxExtractSubString(m_strTitle, documentString, 0);

    const HINSTANCE hInst = AfxGetResourceHandle();
    const LPCWSTR resource = MAKEINTRESOURCEW(nIDResource);
    const auto hIcon = static_cast<HICON>(LoadImageW(hInst, resource, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    m_hSmallIcon.reset(static_cast<HICON>(
        LoadImageW(hInst, resource, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    m_hAccelTable = LoadAcceleratorsW(hInst, resource);
    const LPCWSTR className =
        AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), hIcon);
    HMENU hMenu = LoadMenuW(hInst, resource);

    const HWND hParent = pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr;
    if (!CreateEx(0, className, m_strTitle, dwDefaultStyle & ~FWS_ADDTOTITLE, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, hParent, hMenu, pContext)) {
        // A window that was made and failed in WM_CREATE took its menu with it.
        if (hMenu != nullptr && IsMenu(hMenu))
            DestroyMenu(hMenu);
        m_hSmallIcon.reset();
        return FALSE;
    }
    if (m_hSmallIcon)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon.get()));
    OnUpdateFrameTitle(TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, pContext))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return TRUE;
    if (CreateView(pContext, AFX_IDW_PANE_FIRST) == nullptr)
        return FALSE;
    SetActiveView(m_pOwnedView.get(), FALSE);
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    if (pContext == nullptr || pContext->m_pNewViewClass == nullptr)
        return nullptr;
    std::unique_ptr<CView> pView = CreateObjectAs<CView>(pContext->m_pNewViewClass);
    if (!pView)
        return nullptr;
    if (!pView->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    if (m_pActiveView == m_pOwnedView.get())
        m_pActiveView = nullptr;
    m_pOwnedView = std::move(pView);
    return m_pOwnedView.get();
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    m_pActiveView = pViewNew;
    if (bNotify && pViewNew != nullptr && pViewNew->GetSafeHwnd() != nullptr && ::GetActiveWindow() == m_hWnd)
        pViewNew->SetFocus();
}

CDocument* CFrameWnd::GetActiveDocument() const {
    return m_pActiveView != nullptr ? m_pActiveView->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    if (m_pActiveView == nullptr && m_pOwnedView != nullptr)
        SetActiveView(m_pOwnedView.get(), FALSE);
    if (pDoc != nullptr) {
        // Every view of the document that lives in this frame starts over.
        for (POSITION pos = pDoc->GetFirstViewPosition(); pos != nullptr;) {
            CView* pView = pDoc->GetNextView(pos);
            if (pView != nullptr && pView->GetSafeHwnd() != nullptr && ::IsChild(m_hWnd, pView->GetSafeHwnd()))
                pView->OnInitialUpdate();
        }
    } else if (m_pActiveView != nullptr) {
        m_pActiveView->OnInitialUpdate();
    }
    OnUpdateFrameTitle(TRUE);
    if (bMakeVisible)
        ActivateFrame();
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (m_hWnd == nullptr)
        return;
    if (nCmdShow == -1) {
        if (!IsWindowVisible()) {
            CWinApp* pApp = AfxGetApp();
            nCmdShow = pApp != nullptr ? pApp->TakeStartupShowCommand() : SW_SHOWNORMAL;
        } else if (IsIconic(m_hWnd)) {
            nCmdShow = SW_RESTORE;
        } else {
            nCmdShow = SW_SHOW;
        }
    }
    ShowWindow(nCmdShow);
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE &&
        nCmdShow != SW_SHOWNOACTIVATE && nCmdShow != SW_SHOWNA) {
        BringWindowToTop(m_hWnd);
        ::SetActiveWindow(m_hWnd);
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (m_hWnd == nullptr)
        return;
    CString title = m_strTitle;
    if (bAddToTitle && (m_dwFrameStyle & FWS_ADDTOTITLE)) {
        // The document first, as the shell's own windows do: "file.bin - Program".
        const CDocument* pDoc = GetActiveDocument();
        if (pDoc != nullptr && !pDoc->GetTitle().IsEmpty())
            title = pDoc->GetTitle() + L" - " + m_strTitle;
    }
    CString current;
    GetWindowText(current);
    if (!(current == title))
        SetWindowText(title);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr && m_hWnd != nullptr &&
        TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pActiveView != nullptr && m_pActiveView->GetSafeHwnd() != nullptr &&
        m_pActiveView->OnCmdMsg(nID, nCode, pCmdUI, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pCmdUI, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pCmdUI, pHandlerInfo);
}

// ---- Layout -------------------------------------------------------------------------------

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    for (CControlBar* bar : m_controlBars)
        if (bar == pBar)
            return;
    m_controlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    for (auto it = m_controlBars.begin(); it != m_controlBars.end(); ++it) {
        if (*it == pBar) {
            m_controlBars.erase(it);
            return;
        }
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const {
    for (CControlBar* bar : m_controlBars)
        if (bar->GetSafeHwnd() != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == nID)
            return bar;
    return nullptr;
}

CControlBar* CFrameWnd::GetMessageBar() const {
    return GetControlBar(AFX_IDW_STATUS_BAR);
}

namespace {
// The window of a bar that has floated at some time, or null.
CMiniFrameWnd* FloatingFrameOf(const CControlBar& bar) {
    CDockContext* pContext = bar.GetDockContext();
    CMiniFrameWnd* pFloating = pContext != nullptr ? pContext->GetFloatingFrameIfAny() : nullptr;
    return pFloating != nullptr && pFloating->GetSafeHwnd() != nullptr ? pFloating : nullptr;
}

// Shows a floating window without taking the activation from the frame; its caption looks as
// active as the frame's.
void ShowWithoutActivating(CMiniFrameWnd& floating, HWND hFrame) {
    floating.ShowWindow(SW_SHOWNOACTIVATE);
    floating.SendMessage(WM_NCACTIVATE, ::GetActiveWindow() == hFrame ? TRUE : FALSE);
}

// A bar that changed shape draws itself anew, borders and gripper included.
void RedrawBar(CControlBar& bar) {
    if (bar.GetSafeHwnd() != nullptr)
        ::RedrawWindow(bar.GetSafeHwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
}  // namespace

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT) {
    if (pBar == nullptr)
        return;
    DWORD side = SideOfDockBarId(nDockBarID);
    if (side == 0)
        side = DockSideOfStyle(pBar->GetBarStyle());
    if (side == 0)
        side = CBRS_ALIGN_TOP;
    if (pBar->IsFloating() && pBar->GetSafeHwnd() != nullptr) {
        ::SetParent(pBar->GetSafeHwnd(), m_hWnd);
        if (CMiniFrameWnd* pFloating = FloatingFrameOf(*pBar))
            pFloating->ShowWindow(SW_HIDE);
    }
    pBar->SetBarStyle(PlacedBarStyle(pBar->GetBarStyle(), side));
    if (CDockContext* pContext = pBar->GetDockContext())
        pContext->SetLastDockSide(side);
    RecalcLayout();
    RedrawBar(*pBar);
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point) {
    CDockContext* pContext = pBar != nullptr ? pBar->GetDockContext() : nullptr;
    if (pContext == nullptr || pBar->GetSafeHwnd() == nullptr || m_hWnd == nullptr)
        return;
    CMiniFrameWnd* pFloating = pContext->GetFloatingFrame(*this);
    if (pFloating == nullptr)
        return;
    pBar->SetBarStyle(PlacedBarStyle(pBar->GetBarStyle(), 0));
    if (::GetParent(pBar->GetSafeHwnd()) != pFloating->GetSafeHwnd())
        ::SetParent(pBar->GetSafeHwnd(), pFloating->GetSafeHwnd());
    pFloating->PlaceBar(point);
    pContext->SetLastFloatPos(point);
    if (pBar->IsVisible())
        ShowWithoutActivating(*pFloating, m_hWnd);
    RecalcLayout();
    RedrawBar(*pBar);
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL) {
    if (pBar == nullptr || pBar->GetSafeHwnd() == nullptr)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    CMiniFrameWnd* pFloating = FloatingFrameOf(*pBar);
    if (pBar->IsFloating() && pFloating != nullptr) {
        if (bShow)
            ShowWithoutActivating(*pFloating, m_hWnd);
        else
            pFloating->ShowWindow(SW_HIDE);
    }
    RecalcLayout();
}

void CFrameWnd::ReturnFocusToView() {
    if (m_hWnd == nullptr)
        return;
    // Only when this frame, or a window it owns, is the active one: never take the keyboard
    // from another program.
    const HWND hActive = ::GetActiveWindow();
    if (hActive == nullptr || (hActive != m_hWnd && ::GetWindow(hActive, GW_OWNER) != m_hWnd))
        return;
    if (hActive != m_hWnd)
        ::SetActiveWindow(m_hWnd);
    if (m_pActiveView != nullptr && m_pActiveView->GetSafeHwnd() != nullptr)
        m_pActiveView->SetFocus();
}

void CFrameWnd::KeepFloatingBarsAbove() {
    // Owned windows belong above their owner. Not every window manager keeps them there: under
    // Wine the frame can come to the top (closing a dialog, another program bringing it
    // forward) without a message to the frame, so this runs when the program is idle.
    for (CControlBar* bar : m_controlBars) {
        CMiniFrameWnd* pFloating = FloatingFrameOf(*bar);
        if (pFloating == nullptr || !pFloating->IsWindowVisible())
            continue;
        const HWND hFloating = pFloating->GetSafeHwnd();
        bool above = false;
        for (HWND hWnd = ::GetWindow(m_hWnd, GW_HWNDPREV); hWnd != nullptr && !above;
             hWnd = ::GetWindow(hWnd, GW_HWNDPREV))
            above = hWnd == hFloating;
        if (above)
            continue;
        // Inserted after the window just above the frame: right above the frame.
        const HWND hAbove = ::GetWindow(m_hWnd, GW_HWNDPREV);
        ::SetWindowPos(hFloating, hAbove != nullptr ? hAbove : HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
}

void CFrameWnd::CollectDockedBars(bool bFixedOnly, std::vector<CControlBar*>& bars,
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
            const bool horizontal = strip.dwSide == CBRS_ALIGN_TOP || strip.dwSide == CBRS_ALIGN_BOTTOM;
            const CSize size = bar->CalcFixedLayout(TRUE, horizontal ? TRUE : FALSE);
            strip.nThickness = horizontal ? size.cy : size.cx;
            bars.push_back(bar);
            strips.push_back(strip);
        }
    }
}

CRect CFrameWnd::GetDockingArea() const {
    CRect client;
    if (m_hWnd == nullptr)
        return client;
    GetClientRect(&client);
    std::vector<CControlBar*> bars;
    std::vector<DockedBar> strips;
    CollectDockedBars(true, bars, strips);
    return LayoutDockedBars(client, strips);
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (m_hWnd == nullptr || IsIconic(m_hWnd))
        return;
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
    CWnd* pView = m_pActiveView != nullptr ? m_pActiveView : GetDlgItem(AFX_IDW_PANE_FIRST);
    if (pView != nullptr && pView->GetSafeHwnd() != nullptr)
        pView->MoveWindow(&rest);
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

// ---- Focus --------------------------------------------------------------------------------

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    // The keyboard (and so the wheel) belongs to the view.
    if (m_pActiveView != nullptr && m_pActiveView->GetSafeHwnd() != nullptr)
        m_pActiveView->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

LRESULT CFrameWnd::OnActivate(WPARAM wParam, LPARAM) {
    const LRESULT result = Default();
    const bool activated = LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0;
    // The captions of the floating bars look active while the frame is.
    for (CControlBar* bar : m_controlBars) {
        CMiniFrameWnd* pFloating = FloatingFrameOf(*bar);
        if (pFloating != nullptr && pFloating->IsWindowVisible())
            pFloating->SendMessage(WM_NCACTIVATE, activated ? TRUE : FALSE);
    }
    if (activated && m_pActiveView != nullptr && m_pActiveView->GetSafeHwnd() != nullptr) {
        const HWND hFocus = ::GetFocus();
        const HWND hView = m_pActiveView->GetSafeHwnd();
        if (hFocus != hView && !::IsChild(hView, hFocus))
            m_pActiveView->SetFocus();
    }
    return result;
}

LRESULT CFrameWnd::OnEnable(WPARAM wParam, LPARAM) {
    // A modal dialog or message box disables only its owner, the frame. The floating bars are
    // top-level windows of their own, so they go and come back with the frame: nothing behind a
    // modal window takes input. The frame is enabled before they are (this message comes after
    // the change), so the activation that a closing dialog hands on goes to the frame.
    for (CControlBar* bar : m_controlBars)
        if (CMiniFrameWnd* pFloating = FloatingFrameOf(*bar))
            pFloating->EnableWindow(wParam != FALSE);
    return Default();
}

// ---- Menus --------------------------------------------------------------------------------

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(lParam) != 0)
        return Default();  // the window menu is the system's
    UpdateMenuCmdUI(reinterpret_cast<HMENU>(wParam));
    return 0;
}

void CFrameWnd::UpdateMenuCmdUI(HMENU hPopup) {
    if (hPopup == nullptr)
        return;
    if (CWinApp* pApp = AfxGetApp())
        pApp->UpdateRecentFileMenu(hPopup);
    const int count = GetMenuItemCount(hPopup);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(hPopup, i);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;  // separators and submenus
        CCmdUI state;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_hMenu = hPopup;
        // A command that no one handles cannot be chosen.
        state.DoUpdate(this, TRUE);
    }
}

LRESULT CFrameWnd::OnMenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    if (flags == 0xFFFF && lParam == 0) {
        // The menu closed.
        SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    } else if ((flags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) != 0 || item == 0) {
        // A submenu, a separator or a window-menu command: no prompt of ours.
        SetMessageText(L"");
        m_nIDTracking = 0;
    } else {
        SetMessageText(item);
    }
    return 0;
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM) {
    SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    return Default();
}

// ---- Bars ---------------------------------------------------------------------------------

LRESULT CFrameWnd::OnDrawItem(WPARAM, LPARAM lParam) {
    auto* pDrawItem = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    if (pDrawItem != nullptr) {
        for (CControlBar* bar : m_controlBars)
            if (bar->GetSafeHwnd() == pDrawItem->hwndItem && bar->DrawItem(pDrawItem))
                return TRUE;
    }
    return Default();
}

void CFrameWnd::OnToolTipText(NMHDR* pNMHDR, LRESULT* pResult) {
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

void CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    if (bar != nullptr)
        ShowControlBar(bar, !bar->IsVisible(), FALSE);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (bar == nullptr) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(bar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
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

// ---- Status bar messages ------------------------------------------------------------------

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    AfxExtractSubString(rMessage, AfxLoadString(nID), 0);
}

CString CFrameWnd::GetToolTipString(UINT nID) {
    CString tip;
    AfxExtractSubString(tip, AfxLoadString(nID), 1);
    return tip;
}

void CFrameWnd::SetMessageText(LPCWSTR lpszText) {
    if (CControlBar* bar = GetMessageBar())
        bar->SetWindowText(lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) {
    CString message;
    GetMessageString(nID, message);
    SetMessageText(message);
    m_nIDTracking = nID == AFX_IDS_IDLEMESSAGE ? 0 : nID;
}

CString CFrameWnd::GetMessageText() const {
    CString text;
    if (CControlBar* bar = GetMessageBar())
        bar->GetWindowText(text);
    return text;
}

// ---- Idle and end -------------------------------------------------------------------------

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_hWnd == nullptr)
        return;
    for (CControlBar* bar : std::vector<CControlBar*>(m_controlBars))
        if (bar->IsVisible())
            bar->OnUpdateCmdUI(this, TRUE);
    KeepFloatingBarsAbove();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::PostNcDestroy() {
    m_pActiveView = nullptr;
    // The view's window went with ours; its object goes now.
    m_pOwnedView.reset();
    m_hSmallIcon.reset();
    if (AfxGetMainWnd() == this) {
        AfxSetMainWnd(nullptr);
        PostQuitMessage(0);
    }
    CWnd::PostNcDestroy();
}
