// CFrameWnd: the main frame window — menu, accelerators, icon and title, the view and its
// place beside the bars, command routing, menu prompts and idle updates. Its bars are the dock
// site's (CDockSite).
#pragma once

#include "framework/bars/DockSite.h"
#include "framework/core/FrameworkIds.h"
#include "framework/docview/IdleHandler.h"
#include "framework/docview/View.h"
#include "framework/window/Wnd.h"

#include <memory>

// Frame style: the document's title follows the frame's title ("file.bin - Title").
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// Ownership: the frame owns the view it creates from the CCreateContext (a unique_ptr,
// deleted with the frame after the frame's window is gone), its accelerator table and its
// small icon. The menu belongs to the window once the window exists. The bars belong to the
// derived frame class that declares them; they register with the dock site while they live.
class CFrameWnd : public CDockSite, public IIdleHandler {
    DECLARE_DYNAMIC(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame window with the menu, accelerators, icon and title of resource
    // nIDResource (the title is the first "\n" field of that string). pContext, when given,
    // names the view to create and its document. FALSE when the window could not be made.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Key messages go through the frame's accelerator table.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Routes a command to the active view (which routes on to its document), then to the
    // frame itself, then to the application.
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // ---- View and document ------------------------------------------------------------
    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    CDocument* GetActiveDocument() const;
    // Makes the view named by pContext and lays it out; null on failure.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    // After a document was made or opened: the views' OnInitialUpdate, the title, and with
    // bMakeVisible the frame shown and activated.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Shows the frame (nCmdShow -1: as the program was started, or as it is) and brings it
    // to the front.
    virtual void ActivateFrame(int nCmdShow = -1);
    // The window title from the frame's title and, with FWS_ADDTOTITLE, the document's title.
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCWSTR lpszTitle) { m_strTitle = lpszTitle; }

    // ---- Layout -------------------------------------------------------------------------
    // Places the docked bars (CDockSite::RecalcLayout) and gives the view what is left.
    void RecalcLayout() override;

    // ---- Idle ---------------------------------------------------------------------------
    // The bars' idle work (CDockSite::OnIdleUpdateBars) and the title. Called by the
    // application's idle processing.
    void OnIdleUpdateCmdUI() override;

    HACCEL GetAccelerators() const { return m_hAccelTable; }

protected:
    // Makes the view of the context, if it names one.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Each menu item's command-UI state.
    void UpdateMenuCmdUI(HMENU hPopup);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // The keyboard (and so the wheel) goes on to the view.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnInitMenuPopup(HMENU hPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    // Closes the frame unless its document keeps it open for now (CDocument::CanCloseFrame).
    afx_msg void OnClose();
    // A new DPI (another monitor, another scale): the view and the bars are told first, then the
    // frame takes the suggested rectangle.
    afx_msg void OnDpiChanged(UINT dpi, const RECT* pSuggested);
    // The main window's end ends the message loop.
    void PostNcDestroy() override;

    CString m_strTitle;        // the frame's own title (without the document's)
    DWORD m_dwFrameStyle = 0;  // FWS_* bits

    DECLARE_MESSAGE_MAP()

private:
    struct IconDeleter {
        void operator()(HICON hIcon) const { DestroyIcon(hIcon); }
    };

    std::unique_ptr<CView> m_pOwnedView;  // the view this frame made
    CView* m_pActiveView = nullptr;
    HACCEL m_hAccelTable = nullptr;  // from the resources; the system frees it at exit
    std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter> m_hSmallIcon;
};
