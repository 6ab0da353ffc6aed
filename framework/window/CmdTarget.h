// CCmdTarget: static message maps and command routing; the message-map entries.
#pragma once

#include "framework/core/Object.h"
#include "framework/core/String.h"

#include <windows.h>

#include <type_traits>

class CCmdTarget;
class CCmdUI;

// Marks message handlers in class declarations, as the viewer's code is used to.
#ifndef afx_msg
#define afx_msg
#endif

// Command notification codes that are not control notifications. A command from a menu, an
// accelerator or a toolbar button is routed with CN_COMMAND (equal to BN_CLICKED); the question
// "is this command enabled?" is routed with CN_UPDATE_COMMAND_UI.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// The arguments of one message or command as the dispatcher hands them to a map entry's thunk.
struct AFX_MSGCALL {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT nID = 0;                // commands and notifications: the command or control id
    CCmdUI* pCmdUI = nullptr;    // command-UI updates
    LRESULT* pResult = nullptr;  // WM_NOTIFY: where the handler leaves its result
};

// The thunk of an entry: calls the handler on the target with typed arguments.
using AFX_PMSGTHUNK = LRESULT (*)(CCmdTarget& target, const AFX_MSGCALL& call);

enum class AfxEntryKind : unsigned char {
    End,      // terminates a table
    Message,  // a window message (nMessage)
    Command,  // WM_COMMAND: nCode is CN_COMMAND / a notification code, or CN_UPDATE_COMMAND_UI
    Notify,   // WM_NOTIFY: nCode is the notification code
};

struct AFX_MSGMAP_ENTRY {
    AfxEntryKind kind;
    UINT nMessage;  // Message: the message
    int nCode;      // Command, Notify: the notification code
    UINT nID;       // Command, Notify: the first id of the range
    UINT nLastID;   // Command, Notify: the last id of the range
    AFX_PMSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for CCmdTarget's own map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg instead of calling the handler, to ask whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Offers a command (nCode CN_COMMAND or a control notification code) or a command-UI update
    // (CN_UPDATE_COMMAND_UI with pCmdUI) to this target's message maps, most derived class
    // first. With pHandlerInfo the handler is only looked up, not called. Returns TRUE when
    // the command was handled (found). Classes that route further (view -> document, frame ->
    // view, itself, application) override this and call the base first or last as they route.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Asks the command-UI update handlers (routed through OnCmdMsg) whether the command may run
    // now. A command without an update handler counts as enabled. A menu or accelerator
    // command is dropped when this says FALSE.
    BOOL IsCommandEnabled(UINT nID);

    // The entry for a window message in this object's maps, most derived first; null if none.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The entry of kind Command / Notify for (nID, nCode), most derived first; null if none.
    const AFX_MSGMAP_ENTRY* FindCommandEntry(AfxEntryKind kind, UINT nID, int nCode) const;
};

// ---------------------------------------------------------------------------------------------
// Message maps.
//
// In the class:           DECLARE_MESSAGE_MAP()        (leaves the access at protected:)
// In the source file:     BEGIN_MESSAGE_MAP(CMyClass, CBaseClass)
//                             ON_COMMAND(ID_SEARCH_FIND, OnFind)
//                             ON_UPDATE_COMMAND_UI(ID_SEARCH_FIND, OnUpdateFind)
//                             ON_WM_SIZE()
//                         END_MESSAGE_MAP()
// A handler is named as a member of the class (OnFind) or of one of its bases
// (CWinApp::OnFileNew); it must be accessible there. Each entry checks its handler's
// signature at compile time. The ON_WM_* entries are declared in framework/window/Wnd.h.
// ---------------------------------------------------------------------------------------------

// clang-format off
#define DECLARE_MESSAGE_MAP()                                       \
protected:                                                          \
    static const AFX_MSGMAP* GetThisMessageMap();                   \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                           \
        using ThisClass [[maybe_unused]] = theClass;                            \
        using TheBaseClass = baseClass;                                         \
        static constexpr AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                       \
            {AfxEntryKind::End, 0, 0, 0, 0, nullptr}};                          \
        static constexpr AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, \
                                                  &messageEntries[0]};          \
        return &messageMap;                                                     \
    }
// clang-format on

namespace afx {

// True when the member function pointer P can be called as Sig on a T.
template <class T, auto P, class Sig>
inline constexpr bool kHandlerFits = std::is_convertible_v<decltype(P), Sig T::*>;

// Commands, control notifications and the messages whose handlers take nothing (WM_DESTROY...).
template <class T, auto P>
LRESULT VoidThunk(CCmdTarget& target, const AFX_MSGCALL&) {
    static_assert(kHandlerFits<T, P, void()>, "a command handler is void OnX()");
    (static_cast<T&>(target).*P)();
    return 0;
}

template <class T, auto P>
LRESULT CommandRangeThunk(CCmdTarget& target, const AFX_MSGCALL& call) {
    static_assert(kHandlerFits<T, P, void(UINT)>, "a command range handler is void OnX(UINT nID)");
    (static_cast<T&>(target).*P)(call.nID);
    return 0;
}

template <class T, auto P>
LRESULT UpdateThunk(CCmdTarget& target, const AFX_MSGCALL& call) {
    static_assert(kHandlerFits<T, P, void(CCmdUI*)>, "a command-UI update handler is void OnUpdateX(CCmdUI* pCmdUI)");
    (static_cast<T&>(target).*P)(call.pCmdUI);
    return 0;
}

template <class T, auto P>
LRESULT NotifyThunk(CCmdTarget& target, const AFX_MSGCALL& call) {
    static_assert(kHandlerFits<T, P, void(NMHDR*, LRESULT*)>,
                  "a notification handler is void OnX(NMHDR* pNMHDR, LRESULT* pResult)");
    (static_cast<T&>(target).*P)(reinterpret_cast<NMHDR*>(call.lParam), call.pResult);
    return 0;
}

template <class T, auto P>
LRESULT MessageThunk(CCmdTarget& target, const AFX_MSGCALL& call) {
    static_assert(kHandlerFits<T, P, LRESULT(WPARAM, LPARAM)>,
                  "a message handler is LRESULT OnX(WPARAM wParam, LPARAM lParam)");
    return (static_cast<T&>(target).*P)(call.wParam, call.lParam);
}

}  // namespace afx

// clang-format off
// A command from a menu item, an accelerator or a toolbar button: void OnX().
#define ON_COMMAND(id, memberFxn) \
    {AfxEntryKind::Command, WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), \
     &::afx::VoidThunk<ThisClass, &ThisClass::memberFxn>},

// Commands first..last: void OnX(UINT nID).
#define ON_COMMAND_RANGE(idFirst, idLast, memberFxn) \
    {AfxEntryKind::Command, WM_COMMAND, CN_COMMAND, static_cast<UINT>(idFirst), \
     static_cast<UINT>(idLast), &::afx::CommandRangeThunk<ThisClass, &ThisClass::memberFxn>},

// The command's user-interface state: void OnUpdateX(CCmdUI* pCmdUI).
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {AfxEntryKind::Command, WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), \
     static_cast<UINT>(id), &::afx::UpdateThunk<ThisClass, &ThisClass::memberFxn>},

#define ON_UPDATE_COMMAND_UI_RANGE(idFirst, idLast, memberFxn) \
    {AfxEntryKind::Command, WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(idFirst), \
     static_cast<UINT>(idLast), &::afx::UpdateThunk<ThisClass, &ThisClass::memberFxn>},

// A control notification sent through WM_COMMAND: void OnX().
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {AfxEntryKind::Command, WM_COMMAND, static_cast<int>(wNotifyCode), static_cast<UINT>(id), \
     static_cast<UINT>(id), &::afx::VoidThunk<ThisClass, &ThisClass::memberFxn>},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// WM_NOTIFY from control id: void OnX(NMHDR* pNMHDR, LRESULT* pResult).
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {AfxEntryKind::Notify, WM_NOTIFY, static_cast<int>(wNotifyCode), static_cast<UINT>(id), \
     static_cast<UINT>(id), &::afx::NotifyThunk<ThisClass, &ThisClass::memberFxn>},

#define ON_NOTIFY_RANGE(wNotifyCode, idFirst, idLast, memberFxn) \
    {AfxEntryKind::Notify, WM_NOTIFY, static_cast<int>(wNotifyCode), static_cast<UINT>(idFirst), \
     static_cast<UINT>(idLast), &::afx::NotifyThunk<ThisClass, &ThisClass::memberFxn>},

// Any window message, unpacked by the handler: LRESULT OnX(WPARAM wParam, LPARAM lParam).
#define ON_MESSAGE(message, memberFxn) \
    {AfxEntryKind::Message, static_cast<UINT>(message), 0, 0, 0, \
     &::afx::MessageThunk<ThisClass, &ThisClass::memberFxn>},
// clang-format on
