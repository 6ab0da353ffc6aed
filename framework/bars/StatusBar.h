// CStatusBar: the frame's status bar over the common status control — a message pane and indicator panes.
// The window's text is the first pane's: the frame shows its messages with SetWindowText.
//
// Use, in the frame's OnCreate (an indicator is lit while its command-UI handler enables it):
//     static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
//     m_wndStatusBar.Create(this);
//     m_wndStatusBar.SetIndicators(indicators, 3);
#pragma once

#include "framework/bars/ControlBar.h"
#include "framework/core/FrameworkIds.h"

#include <vector>

// Pane styles.
constexpr UINT SBPS_NORMAL = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT = 0x0200;
constexpr UINT SBPS_DISABLED = 0x04000000;  // an indicator that is off: drawn dimmed
constexpr UINT SBPS_STRETCH = 0x08000000;   // takes the width the other panes leave

class CStatusBar : public CControlBar {
public:
    CStatusBar() = default;
    ~CStatusBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);

    // One pane per id. ID_SEPARATOR makes the message pane (no borders, stretching); any other
    // id an indicator whose text is that id's string and whose width fits the text.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int nIndex) const;

    CString GetPaneText(int nIndex) const;
    BOOL SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate = TRUE);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    // An indicator is lit (its text in the normal colour) unless it has SBPS_DISABLED.
    bool IsPaneLit(int nIndex) const { return (GetPaneStyle(nIndex) & SBPS_DISABLED) == 0; }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;
    BOOL DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // Sets the part edges for the width the frame gave the bar.
    void OnFrameLayout() override;

    // Sets the part edges from the bar's current width.
    void UpdatePartWidths();

protected:
    // The window's text is the first pane's text.
    afx_msg BOOL OnSetText(LPCWSTR lpszText);
    afx_msg int OnGetText(int nMaxChars, LPWSTR lpszText);
    afx_msg int OnGetTextLength();

private:
    struct Pane {
        UINT nID = ID_SEPARATOR;
        UINT nStyle = SBPS_NORMAL;
        int cxText = 0;  // the width the indicator's text needs
        CString strText;
    };

    // Hands a pane's text and look to the control.
    void ApplyPane(int nIndex);
    int MeasureText(const CString& text);

    std::vector<Pane> m_panes;

    DECLARE_MESSAGE_MAP()
};
