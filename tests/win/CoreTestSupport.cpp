#include "tests/win/CoreTestSupport.h"

namespace {
BoxCatcher* g_pCatcher = nullptr;

struct FindBox {
    HWND found = nullptr;
    static BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam) {
        wchar_t className[16] = L"";
        GetClassNameW(hWnd, className, 16);
        // A message box: a dialog whose text is the static control 0xFFFF.
        if (lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(hWnd) && GetDlgItem(hWnd, 0xFFFF) != nullptr) {
            reinterpret_cast<FindBox*>(lParam)->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }
};

struct FindIcon {
    bool bExclamation = false;
    static BOOL CALLBACK Visit(HWND hWnd, LPARAM lParam) {
        wchar_t className[16] = L"";
        GetClassNameW(hWnd, className, 16);
        if (lstrcmpiW(className, L"Static") == 0 && (GetWindowLongPtrW(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            const auto hIcon = reinterpret_cast<HICON>(SendMessageW(hWnd, STM_GETICON, 0, 0));
            if (hIcon != nullptr && hIcon == LoadIconW(nullptr, IDI_EXCLAMATION))
                reinterpret_cast<FindIcon*>(lParam)->bExclamation = true;
        }
        return TRUE;
    }
};

std::wstring TextOf(HWND hWnd) {
    wchar_t text[1024] = L"";
    GetWindowTextW(hWnd, text, 1024);
    return text;
}
}  // namespace

BoxCatcher::BoxCatcher() {
    g_pCatcher = this;
    m_timer = SetTimer(nullptr, 0, 30, &BoxCatcher::OnTick);
}

BoxCatcher::~BoxCatcher() {
    KillTimer(nullptr, m_timer);
    g_pCatcher = nullptr;
}

void CALLBACK BoxCatcher::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pCatcher == nullptr)
        return;
    FindBox finder;
    EnumThreadWindows(GetCurrentThreadId(), &FindBox::Visit, reinterpret_cast<LPARAM>(&finder));
    if (finder.found == nullptr || GetPropW(finder.found, L"OktalonTestSeen") != nullptr)
        return;
    SetPropW(finder.found, L"OktalonTestSeen", reinterpret_cast<HANDLE>(1));
    CaughtBox box;
    box.caption = TextOf(finder.found);
    box.text = TextOf(GetDlgItem(finder.found, 0xFFFF));
    box.hOwner = GetWindow(finder.found, GW_OWNER);
    FindIcon icon;
    EnumChildWindows(finder.found, &FindIcon::Visit, reinterpret_cast<LPARAM>(&icon));
    box.bExclamationIcon = icon.bExclamation;
    g_pCatcher->m_boxes.push_back(box);
    RemovePropW(finder.found, L"OktalonTestSeen");
    PostMessageW(finder.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

bool CreateTestWindow(CWnd& wnd, int width, int height, DWORD style) {
    if (!wnd.CreateEx(0, nullptr, L"Oktalon test", style | WS_VISIBLE, 40, 40, width, height, nullptr, nullptr))
        return false;
    wnd.UpdateWindow();
    return true;
}
