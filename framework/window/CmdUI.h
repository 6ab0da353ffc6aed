// CCmdUI: the state of one command's user-interface item (menu item, toolbar button, pane,
// other window), set by the command-UI update handlers that the command targets route it to.
#pragma once

#include <windows.h>

class CCmdTarget;
class CWnd;

// The state of one user-interface item (menu item, toolbar button, other window) that a
// command-UI update handler sets. The framework makes one per item and offers it to the
// handlers with DoUpdate.
class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;
    CCmdUI(const CCmdUI&) = delete;
    CCmdUI& operator=(const CCmdUI&) = delete;

    // Each records the state (below) and applies it to the menu item m_nIndex of m_hMenu, or
    // to m_pOther. Item kinds of their own (toolbar buttons) override these and call the base.
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 unchecked, 1 checked
    virtual void SetText(LPCWSTR lpszText);
    // Lets the update go on to the next command target, as if this one had no handler.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Offers the item to pTarget's update handlers. When none handles it and
    // bDisableIfNoHandler is set, the item is enabled exactly when some target has a command
    // handler for m_nID. Returns TRUE when an update handler took it.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;         // position of the item in m_hMenu
    HMENU m_hMenu = nullptr;   // the popup menu holding the item, or null
    CWnd* m_pOther = nullptr;  // another window that shows the item, or null

    // The state set by the handlers (initially enabled, unchecked, no text change).
    BOOL m_bEnabled = TRUE;
    int m_nCheck = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
};
