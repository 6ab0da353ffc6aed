// CCmdTarget: finding a message's or a command's entry in the maps, and calling it.
#include "framework/window/CmdTarget.h"

#include "framework/window/CmdUI.h"

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
    const AFX_MSGCALL call{.message = WM_COMMAND, .nID = nID, .pCmdUI = pCmdUI};
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
