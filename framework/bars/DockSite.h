// CDockSite: the window that holds the control bars (the main frame derives from it): the bars
// made in it, the sides they may dock on and their layout, their floating windows following it,
// the View menu's bar commands, the status bar's messages and the bar buttons' tooltips.
//
// Use: derive the frame from it (CFrameWnd does). A bar created with the site as its parent
// joins it; the frame's OnCreate then says where the bars may go and puts them there:
//     m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
//     EnableDocking(CBRS_ALIGN_ANY);
//     DockControlBar(&m_wndToolBar);
// The bars reach the window that holds them only through this class. A derived window places
// what the docked bars leave (its view) by overriding RecalcLayout, and takes the keyboard that
// ReturnFocusToView hands it in its WM_SETFOCUS handler.
#pragma once

#include "framework/bars/BarStyle.h"
#include "framework/bars/DockLayout.h"
#include "framework/window/Wnd.h"

#include <string>
#include <vector>

class CCmdUI;
class CControlBar;

// Ownership: the bars belong to the derived window class that declares them; they register
// here while they live, and the site never deletes them.
class CDockSite : public CWnd {
    DECLARE_DYNAMIC(CDockSite)
public:
    CDockSite();
    ~CDockSite() override;

    // ---- Bars and layout --------------------------------------------------------------
    // Places the docked bars along their sides, outermost the bars that cannot be docked
    // elsewhere (the status bar) and then the dockable ones, each group in the order the bars
    // were made (PlaceBars). A derived window gives what is left to its view.
    virtual void RecalcLayout();
    // The sides of the client area that bars may be docked on (CBRS_ALIGN_*).
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    // The part of the client area that the dockable bars and the view share (client coordinates).
    CRect GetDockingArea() const;
    // Docks a bar that has docking enabled on the side nDockBarID names (AFX_IDW_DOCKBAR_*);
    // 0: the side its style names, or the top. A floating bar comes back into the window.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0);
    // Shows or hides the bar where it is, docked or floating.
    void ShowControlBar(CControlBar* pBar, BOOL bShow);
    // After the user moved a bar: the keyboard comes back to this window, if it or a window it
    // owns is the active one; a child of it that has the keyboard keeps it.
    void ReturnFocusToView();
    // The bar whose window id is nID, or null.
    CControlBar* GetControlBar(UINT nID) const;
    // A bar joins the site when it is made in it, and leaves when its window or object goes.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    // ---- Status bar messages ------------------------------------------------------------
    // The text of the status bar's message pane: the text of the bar's window.
    void SetMessageText(LPCWSTR lpszText);
    // The prompt of command nID (its string up to "\n"); AFX_IDS_IDLEMESSAGE: the idle text.
    void SetMessageText(UINT nID);
    // The status-bar prompt of a command: its string up to the first "\n".
    void GetMessageString(UINT nID, CString& rMessage) const;
    // The tooltip of a command: its string after the first "\n" (empty when there is none).
    static CString GetToolTipString(UINT nID);
    // The bar that shows the messages: the one whose window id is AFX_IDW_STATUS_BAR, or null.
    CControlBar* GetMessageBar() const;

protected:
    // Places the visible docked bars in the client area and returns what they leave.
    CRect PlaceBars();
    // Idle work: the command-UI state of the visible bars' items, and the floating bars kept
    // above this window.
    void OnIdleUpdateBars();

    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The captions of the floating bars look active while this window is.
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    // The floating bars are enabled and disabled with this window.
    afx_msg void OnEnable(BOOL bEnable);
    // A bar's owner-drawn part (CControlBar::DrawItem); TRUE when a bar drew it.
    afx_msg BOOL OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnToolTipText(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // The visible docked bars in layout order (see RecalcLayout), with their strips to be
    // laid out; only the bars that cannot be docked elsewhere with bFixedOnly.
    void CollectDockedBars(bool bFixedOnly, std::vector<CControlBar*>& bars, std::vector<DockedBar>& strips) const;
    // Puts each shown floating bar's window right above this window, if this one came to cover
    // it. Called when idle.
    void KeepFloatingBarsAbove();

    DWORD m_dwDockStyle = 0;
    std::vector<CControlBar*> m_controlBars;
    std::wstring m_strToolTip;  // the text a tooltip is showing (must outlive the notification)
};
