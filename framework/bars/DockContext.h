// CDockContext: how a dockable bar moves: docked on a side of the frame or floating in a window
// of its own, by the user's drag with a tracking outline or the double-click that floats or
// docks it again, and the places it was last docked and floated.
//
// Use: CControlBar::EnableDocking makes one for the bar; the bar hands it the presses on its
// gripper, the floating window those on its caption. The dock site's DockControlBar (the
// frame's) comes here:
//     pBar->GetDockContext()->Dock(CBRS_ALIGN_LEFT);
//     pBar->GetDockContext()->Float(CPoint(300, 200));
#pragma once

#include "framework/core/Geometry.h"

#include <memory>
#include <optional>

class CControlBar;
class CMiniFrameWnd;

// Ownership: the bar owns its context (CControlBar::EnableDocking makes it); the context owns
// the floating window the bar lives in while it floats, made the first time it floats.
class CDockContext {
public:
    explicit CDockContext(CControlBar& bar);
    ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Docks the bar on dwSide (CBRS_ALIGN_*) of its dock site; 0: the side its style names, or
    // the top. A floating bar comes back into the frame, and its floating window hides.
    void Dock(DWORD dwSide);
    // Floats the bar in its own small window, whose top-left corner goes to ptTopLeft (screen
    // coordinates), its buttons in a row.
    void Float(CPoint ptTopLeft);

    // Follows a drag of the bar that the left button began at ptScreen. Once the mouse moved
    // past the system's drag threshold an outline shows where the bar would go; releasing the
    // button docks it on the side of the frame near the pointer, or floats it at the outline.
    // A press that does not move, Esc, the right button or a lost capture change nothing.
    // hWndCapture takes the mouse meanwhile (the bar, or its floating window); null: the bar.
    void StartDrag(CPoint ptScreen, HWND hWndCapture = nullptr);
    // Floats a docked bar at its last floating place; docks a floating bar on its last side.
    void ToggleDocking();

    // The window the bar floats in, or null before the bar first floated.
    CMiniFrameWnd* GetFloatingFrameIfAny() const { return m_pFloatingFrame.get(); }

private:
    // The floating window, made (hidden) on first use; null if it cannot be made.
    CMiniFrameWnd* FloatingFrame();
    // The bar's size once docked on dwSide (0: floating), as CalcFixedLayout gives it.
    CSize SizeWhenPlaced(DWORD dwSide, BOOL bStretch) const;
    // What the drag outline shows for the bar docked on dwSide of the docking area (screen
    // coordinates): a strip as thick as the bar along that whole side.
    CRect DockedOutline(const CRect& dockArea, DWORD dwSide) const;
    // The floating window's rectangle with its top-left corner at `topLeft`.
    CRect FloatingOutline(CPoint topLeft) const;

    CControlBar& m_bar;
    DWORD m_dwLastDockSide;
    std::optional<CPoint> m_ptLastFloat;  // none before the first float
    std::unique_ptr<CMiniFrameWnd> m_pFloatingFrame;
};
