#include "framework/CmdTarget.h"

#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {{AfxEntryKind::End, 0, 0, 0, 0, nullptr}};
    static constexpr AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

namespace {
template <class Match>
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, Match match) {
    for (; map != nullptr; map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->kind != AfxEntryKind::End; ++entry) {
            if (match(*entry))
                return entry;
        }
    }
    return nullptr;
}
}  // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const {
    return FindEntry(GetMessageMap(), [message](const AFX_MSGMAP_ENTRY& entry) {
        return entry.kind == AfxEntryKind::Message && entry.nMessage == message;
    });
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindCommandEntry(AfxEntryKind kind, UINT nID, int nCode) const {
    return FindEntry(GetMessageMap(), [=](const AFX_MSGMAP_ENTRY& entry) {
        return entry.kind == kind && entry.nCode == nCode && entry.nID <= nID && nID <= entry.nLastID;
    });
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const AFX_MSGMAP_ENTRY* entry = FindCommandEntry(AfxEntryKind::Command, nID, nCode);
    if (entry == nullptr)
        return FALSE;
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = entry;
        return TRUE;
    }
    AFX_MSGCALL call;
    call.message = WM_COMMAND;
    call.nID = nID;
    call.pCmdUI = pCmdUI;
    if (nCode == CN_UPDATE_COMMAND_UI) {
        if (pCmdUI == nullptr)
            return FALSE;
        pCmdUI->m_bContinueRouting = FALSE;
        entry->pfn(*this, call);
        return pCmdUI->m_bContinueRouting ? FALSE : TRUE;
    }
    entry->pfn(*this, call);
    return TRUE;
}

BOOL CCmdTarget::IsCommandEnabled(UINT nID) {
    CCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
    return state.m_bEnabled;
}

void CCmdUI::Enable(BOOL bOn) {
    m_bEnabled = bOn ? TRUE : FALSE;
    m_bEnableChanged = TRUE;
    if (m_hMenu != nullptr) {
        EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther != nullptr && m_pOther->GetSafeHwnd() != nullptr) {
        // A control that loses its enabled state while it has the focus would leave the
        // keyboard nowhere: move the focus on to the next control first.
        if (!bOn && ::GetFocus() == m_pOther->GetSafeHwnd()) {
            HWND hParent = ::GetParent(m_pOther->GetSafeHwnd());
            if (hParent != nullptr)
                ::SendMessageW(hParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
}

void CCmdUI::SetCheck(int nCheck) {
    m_nCheck = nCheck;
    if (m_hMenu != nullptr) {
        CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck != 0 ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther != nullptr && m_pOther->GetSafeHwnd() != nullptr) {
        if (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)
            m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetText(LPCWSTR lpszText) {
    if (lpszText == nullptr)
        lpszText = L"";
    if (m_hMenu != nullptr) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPWSTR>(lpszText);
        SetMenuItemInfoW(m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_pOther != nullptr) {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    if (pTarget == nullptr || m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;  // separators and items without a command
    m_bEnableChanged = FALSE;
    const BOOL bResult = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &info));
    }
    return bResult;
}
