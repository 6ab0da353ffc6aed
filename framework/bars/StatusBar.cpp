// CStatusBar: the panes, their widths, texts and looks; the window text as the first pane's.
#include "framework/bars/StatusBar.h"

#include "framework/bars/DockSite.h"
#include "framework/window/CmdUI.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

namespace {
// Space beside an indicator's text inside its pane, on each side.
constexpr int kIndicatorPadding = 6;
// How far right of its part's edge the control draws a pane's text.
constexpr int kOwnerDrawTextInset = 3;

// The command-UI state of one indicator pane: enabled means lit.
class CStatusCmdUI : public CCmdUI {
public:
    explicit CStatusCmdUI(CStatusBar& bar) : m_bar(bar) {}

    void Enable(BOOL bOn) override {
        CCmdUI::Enable(bOn);
        SetPaneStyleBit(SBPS_DISABLED, !bOn);
    }
    void SetCheck(int nCheck) override {
        CCmdUI::SetCheck(nCheck);
        SetPaneStyleBit(SBPS_POPOUT, nCheck != 0);
    }
    void SetText(LPCWSTR lpszText) override {
        CCmdUI::SetText(lpszText);
        m_bar.SetPaneText(static_cast<int>(m_nIndex), lpszText);
    }

private:
    // Sets or clears one style bit of the pane; a pane that has it so already is left alone.
    void SetPaneStyleBit(UINT nBit, bool bSet) {
        const int index = static_cast<int>(m_nIndex);
        const UINT style = m_bar.GetPaneStyle(index);
        const UINT wanted = bSet ? (style | nBit) : (style & ~nBit);
        if (wanted != style)
            m_bar.SetPaneStyle(index, wanted);
    }

    CStatusBar& m_bar;
};

}  // namespace

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SETTEXT()
    ON_WM_GETTEXT()
    ON_WM_GETTEXTLENGTH()
END_MESSAGE_MAP()

CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    if (pParentWnd == nullptr || pParentWnd->GetSafeHwnd() == nullptr || m_hWnd != nullptr)
        return FALSE;
    EnsureCommonControls(ICC_BAR_CLASSES);
    // The control draws its own edges; the bar's border bits only say where it sits.
    AttachToDockSite(pParentWnd, dwStyle & ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPSIBLINGS;
    // A size grip when the frame can be resized by its border.
    if (pParentWnd->GetStyle() & WS_THICKFRAME)
        windowStyle |= SBARS_SIZEGRIP;
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, windowStyle, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)))) {
        DetachFromDockSite();
        return FALSE;
    }
    return TRUE;
}

int CStatusBar::MeasureText(const CString& text) {
    if (m_hWnd == nullptr || text.IsEmpty())
        return 0;
    CClientDC dc(this);
    if (dc.GetSafeHdc() == nullptr)
        return 0;
    CSelectGuard selectFont(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    SIZE size = {};
    GetTextExtentPoint32W(dc.GetSafeHdc(), text, text.GetLength(), &size);
    return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (m_hWnd == nullptr || nIDCount <= 0 || lpIDArray == nullptr || nIDCount > 255)
        return FALSE;
    m_panes.assign(static_cast<size_t>(nIDCount), Pane());
    BOOL ok = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane& pane = m_panes[static_cast<size_t>(i)];
        pane.nID = lpIDArray[i];
        if (pane.nID == ID_SEPARATOR) {
            pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
        } else {
            if (!pane.strText.LoadString(pane.nID))
                ok = FALSE;  // an indicator without its string stays empty
            pane.cxText = MeasureText(pane.strText);
        }
    }
    UpdatePartWidths();
    for (int i = 0; i < nIDCount; ++i)
        ApplyPane(i);
    // The message pane starts with the idle text.
    if (m_pDockSite != nullptr && m_panes.front().nID == ID_SEPARATOR)
        m_pDockSite->SetMessageText(static_cast<UINT>(AFX_IDS_IDLEMESSAGE));
    if (m_pDockSite != nullptr)
        m_pDockSite->RecalcLayout();
    return ok;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return ID_SEPARATOR;
    return m_panes[static_cast<size_t>(nIndex)].nID;
}

CString CStatusBar::GetPaneText(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return CString();
    return m_panes[static_cast<size_t>(nIndex)].strText;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCWSTR lpszNewText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetCount())
        return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    const CString text(lpszNewText);
    if (pane.strText == text)
        return TRUE;  // unchanged: no redraw, so idle updates do not flicker
    pane.strText = text;
    if (bUpdate)
        ApplyPane(nIndex);
    return TRUE;
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetCount())
        return SBPS_NORMAL;
    return m_panes[static_cast<size_t>(nIndex)].nStyle;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    if (pane.nStyle == nStyle)
        return;
    pane.nStyle = nStyle;
    ApplyPane(nIndex);
}

void CStatusBar::ApplyPane(int nIndex) {
    if (m_hWnd == nullptr)
        return;
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    WPARAM how = static_cast<WPARAM>(nIndex);
    if (pane.nStyle & SBPS_NOBORDERS)
        how |= SBT_NOBORDERS;
    if (pane.nStyle & SBPS_POPOUT)
        how |= SBT_POPOUT;
    if (pane.nStyle & SBPS_DISABLED) {
        // A dimmed indicator is drawn by us (DrawItem); a lit one is plain control text, so
        // that its text is readable through the control.
        SendMessage(SB_SETTEXTW, how | SBT_OWNERDRAW, static_cast<LPARAM>(nIndex));
    } else {
        SendMessage(SB_SETTEXTW, how, reinterpret_cast<LPARAM>(pane.strText.GetString()));
    }
}

void CStatusBar::UpdatePartWidths() {
    if (m_hWnd == nullptr || m_panes.empty())
        return;
    CRect client;
    GetClientRect(&client);
    const int count = GetCount();
    // The control draws the size grip over the last part's right end; keep the text clear of it.
    int grip = 0;
    if ((GetStyle() & SBARS_SIZEGRIP) != 0) {
        const HWND hParent = ::GetParent(m_hWnd);
        if (hParent == nullptr || !IsZoomed(hParent))
            grip = GetSystemMetrics(SM_CXVSCROLL);
    }
    int borders[3] = {};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int gap = borders[2] > 0 ? borders[2] : 2;

    std::vector<int> widths(static_cast<size_t>(count), 0);
    int fixed = 0;
    int stretchCount = 0;
    for (int i = 0; i < count; ++i) {
        const Pane& pane = m_panes[static_cast<size_t>(i)];
        if (pane.nStyle & SBPS_STRETCH) {
            ++stretchCount;
        } else {
            widths[static_cast<size_t>(i)] = pane.cxText + 2 * kIndicatorPadding;
            fixed += widths[static_cast<size_t>(i)] + gap;
        }
    }
    const int room = client.Width() - fixed - grip;
    for (int i = 0; i < count; ++i)
        if (m_panes[static_cast<size_t>(i)].nStyle & SBPS_STRETCH)
            widths[static_cast<size_t>(i)] = stretchCount > 0 && room > 0 ? room / stretchCount : 0;

    std::vector<int> edges(static_cast<size_t>(count), 0);
    int right = 0;
    for (int i = 0; i < count; ++i) {
        right += widths[static_cast<size_t>(i)] + (i > 0 ? gap : 0);
        edges[static_cast<size_t>(i)] = right;
    }
    edges.back() = -1;  // the last part reaches the right edge, under the grip
    SendMessage(SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
}

void CStatusBar::OnFrameLayout() {
    UpdatePartWidths();
}

BOOL CStatusBar::OnSetText(LPCWSTR lpszText) {
    return SetPaneText(0, lpszText);
}

int CStatusBar::OnGetText(int nMaxChars, LPWSTR lpszText) {
    if (lpszText == nullptr || nMaxChars <= 0)
        return 0;
    const CString text = GetPaneText(0);
    const int count = std::min(nMaxChars - 1, text.GetLength());
    std::wmemcpy(lpszText, text.GetString(), static_cast<size_t>(count));
    lpszText[count] = L'\0';
    return count;
}

int CStatusBar::OnGetTextLength() {
    return GetPaneText(0).GetLength();
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL) {
    if (m_hWnd == nullptr)
        return CSize();
    // The control knows its height from its font: let it place itself, then measure it.
    SendMessage(WM_SIZE, 0, 0);
    CRect rect;
    GetWindowRect(&rect);
    return CSize(rect.Width(), rect.Height());
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    for (int i = 0; i < GetCount(); ++i) {
        const UINT id = m_panes[static_cast<size_t>(i)].nID;
        if (id == ID_SEPARATOR)
            continue;  // the message pane is the frame's
        CStatusCmdUI state(*this);
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

BOOL CStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct == nullptr || lpDrawItemStruct->hwndItem != m_hWnd)
        return FALSE;
    const int index = static_cast<int>(lpDrawItemStruct->itemID);
    if (index < 0 || index >= GetCount())
        return FALSE;
    const Pane& pane = m_panes[static_cast<size_t>(index)];
    const HDC hDC = lpDrawItemStruct->hDC;
    const int savedMode = SetBkMode(hDC, TRANSPARENT);
    const COLORREF savedColor =
        SetTextColor(hDC, GetSysColor((pane.nStyle & SBPS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    // Where the control puts a pane's text, so a pane that lights up does not move.
    RECT rect = lpDrawItemStruct->rcItem;
    rect.left += kOwnerDrawTextInset;
    DrawTextW(hDC, pane.strText, pane.strText.GetLength(), &rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SetTextColor(hDC, savedColor);
    SetBkMode(hDC, savedMode);
    return TRUE;
}
