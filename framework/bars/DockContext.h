// CDockContext: how a dockable bar moves: the user's drag with a tracking outline, the
// double-click that floats or docks it again, and the places it was last docked and floated.
#pragma once

#include "framework/core/Geometry.h"

#include <memory>

class CControlBar;
class CFrameWnd;
class CMiniFrameWnd;

// Ownership: the bar owns its context (CControlBar::EnableDocking makes it); the context owns
// the floating window the bar lives in while it floats, made the first time it floats.
class CDockContext {
public:
    explicit CDockContext(CControlBar& bar);
    ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Follows a drag of the bar that the left button began at ptScreen. Once the mouse moved
    // past the system's drag threshold an outline shows where the bar would go; releasing the
    // button docks it on the side of the frame near the pointer, or floats it at the outline.
    // A press that does not move, Esc, the right button or a lost capture change nothing.
    // hWndCapture takes the mouse meanwhile (the bar, or its floating window); null: the bar.
    void StartDrag(CPoint ptScreen, HWND hWndCapture = nullptr);
    // Floats a docked bar at its last floating place; docks a floating bar on its last side.
    void ToggleDocking();

    // The places the frame records as the bar docks and floats.
    DWORD GetLastDockSide() const { return m_dwLastDockSide; }
    void SetLastDockSide(DWORD dwSide) { m_dwLastDockSide = dwSide; }
    // The top-left corner of the floating window, screen coordinates; false before the first float.
    bool GetLastFloatPos(CPoint& point) const;
    void SetLastFloatPos(CPoint point);

    // The window the bar floats in, made (hidden) on first use; null if it cannot be made.
    CMiniFrameWnd* GetFloatingFrame(CFrameWnd& owner);
    CMiniFrameWnd* GetFloatingFrameIfAny() const { return m_pFloatingFrame.get(); }

    // What the drag outline would show for a bar docked on dwSide of the frame's docking area
    // (screen coordinates): a strip as thick as the bar along that whole side.
    CRect DockedOutline(const CRect& dockArea, DWORD dwSide) const;
    // The floating window's rectangle with its top-left corner at `topLeft`.
    CRect FloatingOutline(CPoint topLeft) const;

private:
    // The bar's size once docked on dwSide (0: floating), as CalcFixedLayout gives it.
    CSize SizeWhenPlaced(DWORD dwSide, BOOL bStretch) const;

    CControlBar& m_bar;
    DWORD m_dwLastDockSide;
    CPoint m_ptLastFloat;
    bool m_bFloatedBefore = false;
    std::unique_ptr<CMiniFrameWnd> m_pFloatingFrame;
};
