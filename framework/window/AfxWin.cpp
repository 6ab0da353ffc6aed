// AfxWin: the application's globals and the title found from the string table or the program file.
#include "framework/window/AfxWin.h"

#include "framework/core/FrameworkIds.h"

#include <string>

namespace {
CWnd* g_pMainWnd = nullptr;
CCmdTarget* g_pAppCmdTarget = nullptr;
int g_nStartupShowCommand = SW_SHOWNORMAL;
bool g_bStartupShowTaken = false;
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

CCmdTarget* AfxGetAppCmdTarget() {
    return g_pAppCmdTarget;
}

void AfxSetAppCmdTarget(CCmdTarget* pApp) {
    g_pAppCmdTarget = pApp;
}

void AfxSetStartupShowCommand(int nCmdShow) {
    g_nStartupShowCommand = nCmdShow;
    g_bStartupShowTaken = false;
}

int AfxTakeStartupShowCommand() {
    if (g_bStartupShowTaken)
        return SW_SHOWNORMAL;
    g_bStartupShowTaken = true;
    return g_nStartupShowCommand;
}
