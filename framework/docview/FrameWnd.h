// CFrameWnd: the main frame window — menu, accelerators, icon and title, bar and view layout,
// command routing, status-bar prompts and command-UI updates of menus and bars.
#pragma once

#include "framework/bars/ControlBar.h"
#include "framework/bars/DockLayout.h"
#include "framework/core/FrameworkIds.h"
#include "framework/docview/IdleHandler.h"
#include "framework/docview/View.h"
#include "framework/window/Wnd.h"

#include <memory>
#include <string>
#include <vector>

// Frame style: the document's title follows the frame's title ("file.bin - Title").
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// Ownership: the frame owns the view it creates from the CCreateContext (a unique_ptr,
// deleted with the frame after the frame's window is gone), its accelerator table and its
// small icon. The menu belongs to the window once the window exists. The bars belong to the
// derived frame class that declares them; they register here while they live.
class CFrameWnd : public CWnd, public IIdleHandler {
    DECLARE_DYNCREATE(CFrameWnd)
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

    // ---- Bars and layout --------------------------------------------------------------
    // Places the docked bars along their sides, outermost the bars that cannot be docked
    // elsewhere (the status bar) and then the dockable ones, each group in the order the bars
    // were made, and gives the view what is left.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The sides of the client area that bars may be docked on (CBRS_ALIGN_*).
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    // The part of the client area that the dockable bars and the view share (client coordinates).
    CRect GetDockingArea() const;
    // Docks the bar on the side nDockBarID names (AFX_IDW_DOCKBAR_*); 0: the side its style
    // names, or the top. A floating bar comes back into the frame.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    // Floats a bar that has docking enabled in its own small window, whose top-left corner goes
    // to point (screen coordinates), its buttons in a row.
    void FloatControlBar(CControlBar* pBar, CPoint point);
    // Shows or hides the bar where it is, docked or floating.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // After the user moved a bar: the keyboard goes back to the view, if this program has it.
    void ReturnFocusToView();
    // The bar whose window id is nID, or null.
    CControlBar* GetControlBar(UINT nID) const;
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    // ---- Status bar messages ------------------------------------------------------------
    // The text of the status bar's message pane: the text of the bar's window.
    void SetMessageText(LPCWSTR lpszText);
    // The prompt of command nID (its string up to "\n"); AFX_IDS_IDLEMESSAGE: the idle text.
    void SetMessageText(UINT nID);
    CString GetMessageText() const;
    // The status-bar prompt of a command: its string up to the first "\n".
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    // The tooltip of a command: its string after the first "\n" (empty when there is none).
    static CString GetToolTipString(UINT nID);
    // The bar that shows the messages: the one whose window id is AFX_IDW_STATUS_BAR, or null.
    CControlBar* GetMessageBar() const;

    // ---- Idle ---------------------------------------------------------------------------
    // Command-UI of the bars, floating bars kept above the frame, and the title. Called by the
    // application's idle processing.
    void OnIdleUpdateCmdUI() override;

    HACCEL GetAccelerators() const { return m_hAccelTable; }

protected:
    // Makes the view of the context, if it names one.
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Menu items: the recent-file entries, then each item's command-UI state.
    void UpdateMenuCmdUI(HMENU hPopup);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnActivate(WPARAM wParam, LPARAM lParam);
    // The floating bars are enabled and disabled with the frame.
    afx_msg LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnExitMenuLoop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);
    afx_msg void OnToolTipText(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    // The main window's end ends the message loop.
    void PostNcDestroy() override;

    CString m_strTitle;        // the frame's own title (without the document's)
    DWORD m_dwFrameStyle = 0;  // FWS_* bits
    DWORD m_dwDockStyle = 0;

    DECLARE_MESSAGE_MAP()

private:
    struct IconDeleter {
        void operator()(HICON hIcon) const { DestroyIcon(hIcon); }
    };

    std::unique_ptr<CView> m_pOwnedView;  // the view this frame made
    CView* m_pActiveView = nullptr;
    HACCEL m_hAccelTable = nullptr;  // from the resources; the system frees it at exit
    std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter> m_hSmallIcon;
    // The visible docked bars in layout order (see RecalcLayout), with their strips to be
    // laid out; only the bars that cannot be docked elsewhere with bFixedOnly.
    // Puts each shown floating bar's window right above the frame, if the frame came to cover it.
    // Called when idle.
    void KeepFloatingBarsAbove();
    void CollectDockedBars(bool bFixedOnly, std::vector<CControlBar*>& bars, std::vector<DockedBar>& strips) const;

    std::vector<CControlBar*> m_controlBars;
    std::wstring m_strToolTip;                    // the text a tooltip is showing (must outlive the notification)
    UINT m_nIDTracking = 0;                       // the command whose prompt is shown; 0: idle text
    CCreateContext* m_pPendingContext = nullptr;  // while LoadFrame creates the window
};
