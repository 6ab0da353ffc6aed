#include "framework/window/AfxWin.h"

#include "framework/core/FrameworkIds.h"
#include "framework/window/Wnd.h"

#include <string>

namespace {
CWnd* g_pMainWnd = nullptr;
CString g_strAppTitle;
bool g_bAppTitleSet = false;

CString ModuleBaseName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return CString();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return CString(name);
}
}  // namespace

CWnd* AfxGetMainWnd() {
    return g_pMainWnd;
}

void AfxSetMainWnd(CWnd* pWnd) {
    g_pMainWnd = pWnd;
}

CString AfxGetAppTitle() {
    if (g_bAppTitleSet)
        return g_strAppTitle;
    CString title;
    if (title.LoadString(AFX_IDS_APP_TITLE) && !title.IsEmpty())
        return title;
    return ModuleBaseName();
}

void AfxSetAppTitle(LPCWSTR lpszTitle) {
    g_bAppTitleSet = lpszTitle != nullptr;
    g_strAppTitle = lpszTitle;
}

HINSTANCE AfxGetInstanceHandle() {
    return GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return GetModuleHandleW(nullptr);
}

HWND AfxGetSafeOwner(CWnd* pParent) {
    HWND hWnd = pParent != nullptr ? pParent->GetSafeHwnd() : nullptr;
    if (hWnd == nullptr) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain != nullptr ? pMain->GetSafeHwnd() : nullptr;
    }
    if (hWnd == nullptr)
        hWnd = ::GetActiveWindow();  // no main window yet: the window the user is working in
    if (hWnd == nullptr || !::IsWindow(hWnd))
        return nullptr;
    // The top-level window, then the popup it activated last: a box over an open dialog
    // belongs to the dialog, which it keeps disabled while it is up.
    HWND hTop = GetAncestor(hWnd, GA_ROOT);
    if (hTop == nullptr)
        hTop = hWnd;
    HWND hPopup = GetLastActivePopup(hTop);
    return hPopup != nullptr && IsWindowEnabled(hPopup) ? hPopup : hTop;
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT /*nIDHelp: the program has no help*/) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    const CString caption = AfxGetAppTitle();
    return MessageBoxW(AfxGetSafeOwner(nullptr), lpszText != nullptr ? lpszText : L"", caption.GetString(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    return AfxMessageBox(AfxLoadString(nIDPrompt).GetString(), nType,
                         nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}
