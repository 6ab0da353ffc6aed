// CWinApp: the application — start-up and end, the message loop with idle updates, the
// registry profile and the recent-file list, the command line, and the File commands.
#pragma once

#include "framework/window/CmdTarget.h"

#include <memory>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CRecentFileList;
class CRegKey;

// Ownership: the application owns its document templates (and through them the documents,
// frames and views) and the recent-file list. There is one application object at a time;
// AfxGetApp finds it.
class CWinApp : public CCmdTarget {
public:
    // Without a name the application takes its name from the string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    // ---- Life -----------------------------------------------------------------------------
    // The program's start-up. TRUE runs the message loop; FALSE ends the program.
    virtual BOOL InitInstance();
    // The message loop: until WM_QUIT, whose code it returns (-1 when GetMessage fails).
    // Keys go through the windows' PreTranslateMessage (the frame's accelerators); idle work
    // runs only when the queue is empty.
    virtual int Run();
    // Ends the documents and windows; returns the program's exit code.
    virtual int ExitInstance();
    // Idle work: lCount counts the calls since the last message. TRUE asks for more.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    const CString& GetAppName() const;

    // ---- Profile ----------------------------------------------------------------------------
    // The profile is kept under HKEY_CURRENT_USER\Software\<lpszRegistryKey>\<application name>.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    // "Software\<key>\<name>", or empty before SetRegistryKey.
    CString GetProfileKeyPath() const;
    // The application's profile key, made when missing; empty before SetRegistryKey.
    CRegKey GetAppRegistryKey() const;
    // Loads the recent-file list (nMaxMRU entries, none when 0) from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();

    // ---- Documents ----------------------------------------------------------------------------
    void AddDocTemplate(std::unique_ptr<CDocTemplate> pTemplate);
    CDocTemplate* GetFirstDocTemplate() const;
    // Opens the file and puts it at the top of the recent-file list. When that file is already
    // shown, only activates its window.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);
    // Puts the file at the top of the recent-file list and stores the list.
    virtual void AddToRecentFileList(LPCWSTR lpszPathName);
    CRecentFileList* GetRecentFileList() const { return m_pRecentFileList.get(); }
    void CloseAllDocuments();

    // ---- Command line -------------------------------------------------------------------------
    // Parses the program's command line (GetCommandLineW).
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Acts on it: a new document, or the named file opened. FALSE when that failed (the
    // program then ends).
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // ---- Commands (public so that derived maps can name them) -------------------------------
    afx_msg void OnFileNew();
    // Asks for a file with the common Open dialog (all files) and opens it.
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    afx_msg void OnOpenRecentFile(UINT nID);
    // Enables the entries the list has; in a popup that opens, first writes the list's entries
    // into it (at its first entry).
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

protected:
    // Asks for a file name to open; FALSE when the user cancelled.
    virtual BOOL DoPromptFileName(CString& fileName);

    mutable CString m_strAppName;  // looked up when first needed
    CString m_strRegistryKey;
    int m_nExitCode = 1;  // until the message loop ends normally

    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::unique_ptr<CRecentFileList> m_pRecentFileList;
    bool m_bOwnsAppTitle = false;
    POINT m_ptLastMouse = {-1, -1};

    bool IsIdleMessage(const MSG& msg);
};

// The application object, or null (the one AfxGetAppCmdTarget knows).
CWinApp* AfxGetApp();

// The framework's entry: InitInstance, then Run, then ExitInstance. Returns the exit code.
int AfxWinMain(HINSTANCE hInstance, int nCmdShow);
