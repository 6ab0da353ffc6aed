// CFrameWnd: loading the frame from its resources, the view and its layout, focus, command
// routing, the menus' command-UI state and prompts, idle work and the end.
#include "framework/docview/FrameWnd.h"

#include "framework/window/CmdUI.h"

IMPLEMENT_DYNAMIC(CFrameWnd, CDockSite)

BEGIN_MESSAGE_MAP(CFrameWnd, CDockSite)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_WM_EXITMENULOOP()
    ON_WM_CLOSE()
    ON_WM_DPICHANGED()
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    // The window goes before the view object and the icon it uses; the derived frame's
    // handlers no longer run at this point, the framework's do.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    // The view covers the client area; painting the frame under it would only flicker.
    cs.style |= WS_CLIPCHILDREN;
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CDockSite::PreCreateWindow(cs);
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
    if (CDockSite::OnCreate(lpCreateStruct) == -1)
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
            nCmdShow = AfxTakeStartupShowCommand();
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
    return CDockSite::PreTranslateMessage(pMsg);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pActiveView != nullptr && m_pActiveView->GetSafeHwnd() != nullptr &&
        m_pActiveView->OnCmdMsg(nID, nCode, pCmdUI, pHandlerInfo))
        return TRUE;
    if (CDockSite::OnCmdMsg(nID, nCode, pCmdUI, pHandlerInfo))
        return TRUE;
    CCmdTarget* pApp = AfxGetAppCmdTarget();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pCmdUI, pHandlerInfo);
}

// ---- Layout -------------------------------------------------------------------------------

void CFrameWnd::RecalcLayout() {
    if (m_hWnd == nullptr || IsIconic(m_hWnd))
        return;
    const CRect rest = PlaceBars();
    CWnd* pView = m_pActiveView != nullptr ? m_pActiveView : GetDlgItem(AFX_IDW_PANE_FIRST);
    if (pView != nullptr && pView->GetSafeHwnd() != nullptr)
        pView->MoveWindow(&rest);
}

// ---- Focus --------------------------------------------------------------------------------

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    // The keyboard (and so the wheel) belongs to the view.
    if (m_pActiveView != nullptr && m_pActiveView->GetSafeHwnd() != nullptr)
        m_pActiveView->SetFocus();
    else
        CDockSite::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CDockSite::OnActivate(nState, pWndOther, bMinimized);
    const bool activated = nState != WA_INACTIVE && !bMinimized;
    if (activated && m_pActiveView != nullptr && m_pActiveView->GetSafeHwnd() != nullptr) {
        const HWND hFocus = ::GetFocus();
        const HWND hView = m_pActiveView->GetSafeHwnd();
        if (hFocus != hView && !::IsChild(hView, hFocus))
            m_pActiveView->SetFocus();
    }
}

// ---- Menus --------------------------------------------------------------------------------

void CFrameWnd::OnInitMenuPopup(HMENU hPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu)
        Default();  // the window menu is the system's
    else
        UpdateMenuCmdUI(hPopupMenu);
}

void CFrameWnd::UpdateMenuCmdUI(HMENU hPopup) {
    if (hPopup == nullptr)
        return;
    // An update handler may rewrite the popup as it goes (the recent-file entries): the count is
    // read afresh for each item.
    for (int i = 0; i < GetMenuItemCount(hPopup); ++i) {
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

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    if (nFlags == 0xFFFF && hSysMenu == nullptr) {
        // The menu closed.
        SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    } else if ((nFlags & (MF_POPUP | MF_SEPARATOR | MF_SYSMENU)) != 0 || nItemID == 0) {
        // A submenu, a separator or a window-menu command: no prompt of ours.
        SetMessageText(L"");
    } else {
        SetMessageText(nItemID);
    }
}

void CFrameWnd::OnExitMenuLoop(BOOL) {
    SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    Default();
}

// ---- Idle and end -------------------------------------------------------------------------

void CFrameWnd::OnIdleUpdateCmdUI() {
    if (m_hWnd == nullptr)
        return;
    OnIdleUpdateBars();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnClose() {
    // The document may keep its frame open a while: a search it runs stops first.
    CDocument* pDocument = GetActiveDocument();
    if (pDocument != nullptr && !pDocument->CanCloseFrame(this))
        return;
    Default();
}

void CFrameWnd::OnDpiChanged(UINT dpi, const RECT* pSuggested) {
    // The view and the bars make their pixel figures anew first, so that the new size lays them
    // out at the new DPI; then the frame takes the rectangle the system suggests.
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != nullptr; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessageW(hChild, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(pSuggested));
    if (pSuggested != nullptr)
        SetWindowPos(nullptr, pSuggested->left, pSuggested->top, pSuggested->right - pSuggested->left,
                     pSuggested->bottom - pSuggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcLayout();
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
    CDockSite::PostNcDestroy();
}
