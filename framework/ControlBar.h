// CControlBar: the base of the frame's bars (toolbar, status bar) and the bar style constants.
#pragma once

#include "framework/Wnd.h"

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
constexpr DWORD CBRS_TOOLTIPS = 0x0010;     // tooltips from the string table
constexpr DWORD CBRS_FLYBY = 0x0020;        // the status bar shows the prompt of the item under the mouse
constexpr DWORD CBRS_FLOAT_MULTI = 0x0040;
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
    CControlBar() = default;
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    // Records the sides the bar may dock on. Bars stay where the frame puts them (docking by
    // dragging and floating are not offered), so this only keeps the flags.
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    bool IsVisible() const;
    bool IsHorizontal() const { return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0; }

    // The size the bar needs: for a horizontal bar its height (cx is the frame's width).
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Applies the command-UI state of the bar's items (called at idle by the frame).
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // An owner-drawn part of the bar, sent to the frame as WM_DRAWITEM. FALSE: not the bar's.
    virtual BOOL DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    // Non-client borders from the bar style (CBRS_BORDER_*), the gripper and the borders given
    // at creation, in pixels.
    CRect GetNonClientBorders() const;

protected:
    // Binds the bar to its frame (when the parent is one) and keeps the bar style; the window
    // gets dwStyle without the bar bits.
    void AttachToFrame(CWnd* pParentWnd, DWORD dwStyle);
    void DetachFromFrame();
    // Draws the non-client borders and the gripper into the window's own device context.
    void DrawNonClient();
    static void EnsureCommonControls(DWORD dwICC);

    afx_msg LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CRect m_rectBorders;   // extra space around the items, given at creation

    DECLARE_MESSAGE_MAP()
};
