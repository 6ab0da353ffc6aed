// CControlBar: the base of the frame's bars (toolbar, status bar) and the bar style constants.
#pragma once

#include "framework/window/Wnd.h"

#include <memory>

class CDockContext;
class CFrameWnd;

// Bar styles. They live in the bar object (GetBarStyle), not in the window's style: the low
// word and CBRS_GRIPPER would mean other things to the common controls.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;  // tooltips from the string table
constexpr DWORD CBRS_FLYBY = 0x0020;     // the status bar shows the prompt of the item under the mouse
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
constexpr DWORD CBRS_FLOATING = 0x0001;  // the bar lives in a floating window of its own
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_HIDE_INPLACE = 0x0008;
constexpr DWORD CBRS_GRIPPER = 0x00400000;  // a handle drawn at the bar's leading edge
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
// Every bit that is a bar style rather than a window style.
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// Ownership: the bar object belongs to whoever declares it (the frame class, by value). A bar
// created in a CFrameWnd registers with it, and leaves the frame's list when its window is
// destroyed or the object is deleted, whichever comes first. The frame lays its bars out; a
// bar only reports the size it needs (CalcFixedLayout).
class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
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
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    // The bar's dragging and its last places; null while docking is not enabled.
    CDockContext* GetDockContext() const { return m_pDockContext.get(); }
    bool IsVisible() const;
    bool IsFloating() const { return (m_dwStyle & CBRS_FLOATING) != 0; }
    bool IsHorizontal() const { return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0; }

    // The size the bar needs. Stretched along a side of the frame (bStretch): only its
    // thickness, the height of a horizontal bar (bHorz) or the width of an upright one; else
    // both its natural width and height, as it shows when floating.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Applies the command-UI state of the bar's items (called at idle by the frame).
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
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
    // Binds the bar to its frame (when the parent is one) and keeps the bar style; the window
    // gets dwStyle without the bar bits.
    void AttachToFrame(CWnd* pParentWnd, DWORD dwStyle);
    void DetachFromFrame();
    // Draws the non-client borders and the gripper into the window's own device context.
    void DrawNonClient();
    static void EnsureCommonControls(DWORD dwICC);
    // Called by SetBarStyle when the style changed (say, from docked at the top to upright).
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    // Whether a press at this client point starts a drag rather than working the bar's items.
    virtual bool DragsAt(CPoint point) const;

    afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CRect m_rectBorders;  // extra space around the items, given at creation
    std::unique_ptr<CDockContext> m_pDockContext;

    DECLARE_MESSAGE_MAP()
};
