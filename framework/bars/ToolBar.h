// CToolBar: the frame's button bar over the common toolbar control, loaded from a toolbar resource.
//
// Use, in the frame's OnCreate (the buttons' tooltips and prompts are their commands' strings):
//     m_wndToolBar.CreateEx(this, 0, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY);
//     m_wndToolBar.LoadToolBar(IDR_MAINFRAME);
#pragma once

#include "framework/bars/ControlBar.h"
#include "framework/core/FrameworkIds.h"

#include <commctrl.h>

#include <memory>
#include <type_traits>
#include <vector>

class CToolBar : public CControlBar {
public:
    CToolBar() = default;
    ~CToolBar() override;

    // Creates the bar in pParentWnd. dwCtrlStyle: toolbar control styles (TBSTYLE_FLAT for flat
    // buttons, 0 for raised ones); dwStyle: window styles and bar styles (CBRS_*);
    // rcBorders: extra space around the buttons; nID: the bar's window id.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);

    // Loads the buttons from the toolbar resource nIDResource (its layout is described with
    // RT_TOOLBAR_DATA) and their images from the bitmap of the same id.
    BOOL LoadToolBar(UINT nIDResource);
    // The button images: one bitmap resource, one image per button, left to right.
    BOOL LoadBitmap(UINT nIDResource);
    // The buttons: command ids, ID_SEPARATOR for a gap; images are taken in order.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // Image and button sizes (the button is larger by the control's margins).
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // The command of the button at point (client coordinates), or 0 over a gap or no button.
    UINT CommandFromPoint(POINT point) const;
    // The control's own tooltip window, or null.
    HWND GetToolTips() const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;

protected:
    // Upright (docked left or right): each button on a row of its own; else one row.
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    // Everywhere but over a button: the gripper, the gaps and the empty end of the bar.
    bool DragsAt(CPoint point) const override;

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    // A new DPI: the images and buttons are made again at its size.
    afx_msg void OnDpiChanged(UINT dpi, const RECT* pSuggested);

private:
    struct ImageListDestroyer {
        void operator()(HIMAGELIST hImages) const;
    };
    using ImageListOwner = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDestroyer>;

    // The buttons' images from the bitmap resource, each pixel made a square of whole pixels at
    // m_nDpi (nearest-neighbour scaling of the pixel art); the list the control then uses.
    BOOL LoadScaledImages();
    // The status bar prompt follows the button under the mouse (CBRS_FLYBY).
    void TrackFlyBy(UINT nID);
    // Ends a row after every item (bEach) or after none.
    void WrapEachItem(bool bEach);
    // A button's size as the control has it (as set, before the control exists).
    CSize ButtonSize() const;
    // The client size of the buttons in one row (bHorz), or in one column.
    CSize ItemsSize(BOOL bHorz) const;

    CSize m_sizeButton = CSize(23, 22);
    CSize m_sizeImage = CSize(16, 15);
    UINT m_nDpi = 0;                // the DPI the images are made for; 0 until they are loaded
    UINT m_nImageResource = 0;      // the bitmap they come from
    CSize m_sizeImageAt96;          // their size in the resource
    ImageListOwner m_scaledImages;  // the control's images at any DPI but 96
    UINT m_nFlyByID = 0;            // the button whose prompt the status bar shows now
    bool m_bTrackingLeave = false;

    DECLARE_MESSAGE_MAP()
};
