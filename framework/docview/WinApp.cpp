// CWinApp: life, the message loop and idle work, the profile, documents and the recent-file
// list, the command line and the File commands; the framework's entry.
#include "framework/docview/WinApp.h"

#include "framework/core/CommandLineInfo.h"
#include "framework/core/FrameworkIds.h"
#include "framework/core/Path.h"
#include "framework/core/RegKey.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/IdleHandler.h"
#include "framework/docview/RecentFileList.h"
#include "framework/window/CmdUI.h"
#include "framework/window/Wnd.h"

#include <commctrl.h>
#include <commdlg.h>

#include <string>

namespace {
// The recent-file list's place in the profile.
constexpr const wchar_t* kRecentFileSection = L"Recent File List";
constexpr const wchar_t* kRecentFileEntry = L"File%d";

// The File Open dialog's all-files filter (its name is a string of the framework's).
constexpr const wchar_t* kAllFilesFilterPattern = L"*.*";
// Room for a long path (the extended-length limit).
constexpr DWORD kMaxPathBuffer = 32768;

// Whether the name can never be opened as a file: the file is gone for good, or the name is a
// folder's (not just a file that is locked or unreadable now).
bool CanNeverOpen(LPCWSTR path) {
    const DWORD attributes = GetFileAttributesW(SystemPathName(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME;
}
}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnUpdateRecentFileMenu)
END_MESSAGE_MAP()

CWinApp* AfxGetApp() {
    return dynamic_cast<CWinApp*>(AfxGetAppCmdTarget());
}

CWinApp::CWinApp(LPCWSTR lpszAppName) {
    // Constructed during static initialisation for the program's own application object:
    // only plain members here; the name from the string table is looked up when needed.
    if (lpszAppName != nullptr) {
        // A named application is made at run time (not the program's static object), when
        // the framework's own globals exist: its name captions the framework's message boxes.
        m_strAppName = lpszAppName;
        AfxSetAppTitle(lpszAppName);
        m_bOwnsAppTitle = true;
    }
    AfxSetAppCmdTarget(this);
}

CWinApp::~CWinApp() {
    CloseAllDocuments();
    m_templates.clear();
    if (m_bOwnsAppTitle)
        AfxSetAppTitle(nullptr);
    if (AfxGetAppCmdTarget() == this)
        AfxSetAppCmdTarget(nullptr);
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

const CString& CWinApp::GetAppName() const {
    if (m_strAppName.IsEmpty())
        m_strAppName = AfxGetAppTitle();
    return m_strAppName;
}

// ---- Message loop ---------------------------------------------------------------------------

bool CWinApp::IsIdleMessage(const MSG& msg) {
    // The message the system sends while the mouse is held still over a window (its hover timer).
    constexpr UINT kSysTimerMessage = 0x0118;
    // Painting and the hover timer change nothing a command-UI update could show; neither does a
    // mouse move that did not move.
    if (msg.message == WM_PAINT || msg.message == kSysTimerMessage)
        return false;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.pt.x == m_ptLastMouse.x && msg.pt.y == m_ptLastMouse.y)
            return false;
        m_ptLastMouse = msg.pt;
    }
    return true;
}

int CWinApp::Run() {
    MSG msg = {};
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) {
            m_nExitCode = -1;
            return m_nExitCode;
        }
        if (got == 0) {
            m_nExitCode = static_cast<int>(msg.wParam);
            return m_nExitCode;
        }
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == nullptr || pMain->GetSafeHwnd() == nullptr)
        return FALSE;
    return CWnd::WalkPreTranslateTree(pMain->GetSafeHwnd(), pMsg);
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount == 0) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != nullptr && pMain->GetSafeHwnd() != nullptr) {
            if (auto* pIdle = dynamic_cast<IIdleHandler*>(pMain))
                pIdle->OnIdleUpdateCmdUI();
        }
        return TRUE;
    }
    CWnd::DeleteTempMap();
    return FALSE;
}

int CWinApp::ExitInstance() {
    // The recent-file list was stored at each change; storing it again here could only undo
    // what another instance of the program stored meanwhile.
    CloseAllDocuments();
    m_templates.clear();
    return m_nExitCode;
}

// ---- Profile --------------------------------------------------------------------------------

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : L"";
}

CString CWinApp::GetProfileKeyPath() const {
    if (m_strRegistryKey.IsEmpty())
        return CString();
    return CString(L"Software\\") + m_strRegistryKey + L"\\" + GetAppName();
}

CRegKey CWinApp::GetAppRegistryKey() const {
    const CString path = GetProfileKeyPath();
    if (path.IsEmpty())
        return CRegKey();
    return CRegKey::Create(HKEY_CURRENT_USER, path);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    m_pRecentFileList.reset();
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = std::make_unique<CRecentFileList>(ID_FILE_MRU_FILE1, kRecentFileSection, kRecentFileEntry,
                                                          static_cast<int>(nMaxMRU));
    const CString path = GetProfileKeyPath();
    if (!path.IsEmpty()) {
        const CRegKey key = CRegKey::Open(HKEY_CURRENT_USER, path);
        m_pRecentFileList->ReadList(key.Get());
    }
}

void CWinApp::SaveStdProfileSettings() {
    if (!m_pRecentFileList || m_strRegistryKey.IsEmpty())
        return;
    const CRegKey key = GetAppRegistryKey();
    m_pRecentFileList->WriteList(key.Get());
}

// ---- Documents ------------------------------------------------------------------------------

void CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate) {
    if (pTemplate)
        m_templates.push_back(std::move(pTemplate));
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const {
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

void CWinApp::CloseAllDocuments() {
    for (auto& pTemplate : m_templates)
        pTemplate->CloseAllDocuments();
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR lpszFileName) {
    CDocTemplate* pTemplate = GetFirstDocTemplate();
    if (pTemplate == nullptr || lpszFileName == nullptr || *lpszFileName == L'\0')
        return nullptr;
    // Made full once here, for every way a name comes in: the command line, File Open, the
    // recent-file list and the shell's context menu. The template and the document keep it.
    const CString fullPath = FullPath(lpszFileName);
    if (CDocument* pDoc = pTemplate->FindOpenDocument(fullPath)) {
        // The file is shown already: nothing is opened again, its window comes forward.
        pTemplate->ActivateFrameOf(pDoc);
        return pDoc;
    }
    CDocument* pDoc = pTemplate->OpenDocumentFile(fullPath);
    if (pDoc != nullptr)
        AddToRecentFileList(pDoc->GetPathName());
    return pDoc;
}

void CWinApp::AddToRecentFileList(LPCWSTR lpszPathName) {
    if (!m_pRecentFileList)
        return;
    m_pRecentFileList->Add(lpszPathName);
    // Stored at once, so the list survives a program that does not end normally.
    SaveStdProfileSettings();
}

// ---- Command line ---------------------------------------------------------------------------

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    rCmdInfo.ParseCommandLineText(GetCommandLineW());
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        // Through the message map, so that the application's own File New handler runs.
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return AfxGetMainWnd() != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

// ---- Commands -------------------------------------------------------------------------------

void CWinApp::OnFileNew() {
    if (CDocTemplate* pTemplate = GetFirstDocTemplate())
        pTemplate->OpenDocumentFile(nullptr);
}

BOOL CWinApp::DoPromptFileName(CString& fileName) {
    // The template's own filter first, when it names one, then all files.
    std::wstring filter;
    if (CDocTemplate* pTemplate = GetFirstDocTemplate()) {
        CString name;
        CString extension;
        if (pTemplate->GetDocString(name, CDocTemplate::filterName) && !name.IsEmpty() &&
            pTemplate->GetDocString(extension, CDocTemplate::filterExt) && !extension.IsEmpty()) {
            filter += name.str() + L'\0' + L'*' + extension.str() + L'\0';
        }
    }
    filter += AfxLoadString(AFX_IDS_ALLFILTER).str() + L'\0' + kAllFilesFilterPattern + L'\0' + L'\0';
    const CString title = AfxLoadString(AFX_IDS_OPENFILE);

    std::wstring buffer(kMaxPathBuffer, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = AfxGetSafeOwner(nullptr);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kMaxPathBuffer;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!GetOpenFileNameW(&ofn))
        return FALSE;
    buffer.resize(wcslen(buffer.c_str()));
    fileName = CString(std::move(buffer));
    return TRUE;
}

void CWinApp::OnFileOpen() {
    CString fileName;
    if (DoPromptFileName(fileName))
        OpenDocumentFile(fileName);
}

void CWinApp::OnAppExit() {
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != nullptr && pMain->GetSafeHwnd() != nullptr)
        pMain->SendMessage(WM_CLOSE);
    else
        PostQuitMessage(0);
}

void CWinApp::OnOpenRecentFile(UINT nID) {
    if (!m_pRecentFileList)
        return;
    const int index = static_cast<int>(nID) - static_cast<int>(m_pRecentFileList->GetFirstCommand());
    if (index < 0 || index >= m_pRecentFileList->GetCount())
        return;
    // A copy: the list changes while the file opens.
    const CString path = (*m_pRecentFileList)[index];
    if (OpenDocumentFile(path) == nullptr && CanNeverOpen(path)) {
        // The open has told the user; a file that no longer exists, or a folder, leaves the
        // list. A file that is only locked or unreadable now stays, to be tried again later.
        m_pRecentFileList->Remove(path);
        SaveStdProfileSettings();
    }
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList && pCmdUI->m_hMenu != nullptr && pCmdUI->m_nID == m_pRecentFileList->GetFirstCommand())
        m_pRecentFileList->UpdateMenu(pCmdUI->m_hMenu);
    const int index = static_cast<int>(pCmdUI->m_nID) - static_cast<int>(ID_FILE_MRU_FILE1);
    pCmdUI->Enable(m_pRecentFileList != nullptr && index >= 0 && index < m_pRecentFileList->GetCount());
}

// ---- Entry ----------------------------------------------------------------------------------

int AfxWinMain(HINSTANCE, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    AfxSetStartupShowCommand(nCmdShow);
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    if (!pApp->InitInstance()) {
        // A start that failed leaves no window behind.
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->DestroyWindow();
        return pApp->ExitInstance();
    }
    pApp->Run();
    return pApp->ExitInstance();
}
