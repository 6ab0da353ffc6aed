// CControlBar: the base of the frame's bars (toolbar, status bar): the bar style, the borders
// and the gripper, its place in the frame, and showing and hiding it where it is.
//
// Use: a bar is made by its own class (CToolBar::CreateEx, CStatusBar::Create) in the frame's
// OnCreate, with the frame as its parent, and belongs to the frame class that declares it.
// EnableDocking lets the user move it (see CDockContext); ShowInPlace, or the frame's
// ShowControlBar, hides and shows it where it is. A new kind of bar says how big it is
// (CalcFixedLayout) and applies its items' command-UI state (OnUpdateCmdUI).
#pragma once

#include "framework/bars/BarStyle.h"
#include "framework/window/Wnd.h"

#include <memory>

class CDockContext;
class CDockSite;
class CMiniFrameWnd;

// Ownership: the bar object belongs to whoever declares it (the frame class, by value). A bar
// created in a dock site (the frame) registers with it, and leaves the site's list when its
// window is destroyed or the object is deleted, whichever comes first. The site lays its bars
// out; a bar only reports the size it needs (CalcFixedLayout).
class CControlBar : public CWnd {
public:
    CControlBar();
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // The sides the bar may dock on (CBRS_ALIGN_*). With any side the user can drag the bar
    // (by its gripper or where DragsAt says) to another side of the frame or off it to float,
    // and a double-click there floats or docks it again; with none it stays where it is.
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    // The window the bar was made in (the frame), or null.
    CDockSite* GetDockSite() const { return m_pDockSite; }
    // The bar's moves and its last places; null while docking is not enabled.
    CDockContext* GetDockContext() const { return m_pDockContext.get(); }
    // The window the bar floats in, once it has floated; null before that.
    CWnd* GetFloatingWindow() const;
    bool IsVisible() const;
    bool IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    bool IsHorizontal() const { return IsHorizontalBarStyle(m_dwStyle); }
    // Shows or hides the bar where it is, docked or floating (with the window it floats in),
    // and has the site lay its bars out again.
    void ShowInPlace(BOOL bShow);

    // The size the bar needs. Stretched along a side of the frame (bStretch): only its
    // thickness, the height of a horizontal bar (bHorz) or the width of an upright one; else
    // both its natural width and height, as it shows when floating.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Applies the command-UI state of the bar's items, asked of pTarget's update handlers
    // (called at idle by the frame).
    virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) = 0;
    // Called by the frame each time it has placed the bar (RecalcLayout): the bar fits what is
    // inside it to its new size. The base has nothing to fit.
    virtual void OnFrameLayout();
    // An owner-drawn part of the bar, sent to the frame as WM_DRAWITEM. FALSE: not the bar's.
    virtual BOOL DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Non-client borders from the bar style (CBRS_BORDER_*), the gripper and the borders given
    // at creation, in pixels; with dwStyle: as they would be with that bar style.
    CRect GetNonClientBorders() const { return GetNonClientBorders(m_dwStyle); }
    CRect GetNonClientBorders(DWORD dwStyle) const;

protected:
    // Binds the bar to its dock site (when the parent is one) and keeps the bar style; the
    // window gets dwStyle without the bar bits.
    void AttachToDockSite(CWnd* pParentWnd, DWORD dwStyle);
    void DetachFromDockSite();
    // Draws the non-client borders and the gripper into the window's own device context.
    void DrawNonClient();
    static void EnsureCommonControls(DWORD dwICC);
    // Called by SetBarStyle when the style changed (say, from docked at the top to upright).
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    // Whether a press at this client point starts a drag rather than working the bar's items.
    virtual bool DragsAt(CPoint point) const;

    afx_msg LRESULT OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    void PostNcDestroy() override;

    // The window the bar floats in, while it exists; null before the bar first floats.
    CMiniFrameWnd* FloatingFrame() const;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CDockSite* m_pDockSite = nullptr;
    CRect m_rectBorders;  // extra space around the items, given at creation
    std::unique_ptr<CDockContext> m_pDockContext;

    DECLARE_MESSAGE_MAP()
};
