// CScrollDoc: opening and holding the file, reading its blocks, the mark, Find and Find Next and
// their command-UI state.
#include "doc/ScrollDoc.h"

#include "dialogs/FindDlg.h"
#include "dialogs/HexInput.h"
#include "dialogs/SearchProgressText.h"
#include "doc/PatternScan.h"
#include "doc/SearchRun.h"
#include "framework/docview/FrameWnd.h"
#include "framework/window/AfxWin.h"
#include "framework/window/CmdUI.h"
#include "res/resource.h"
#include "view/DumpLine.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(CScrollDoc, CDocument)

BEGIN_MESSAGE_MAP(CScrollDoc, CDocument)
    ON_COMMAND(ID_SEARCH_FIND, OnFind)
    ON_COMMAND(ID_SEARCH_FIND_NEXT, OnFindNext)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_FIND, OnUpdateFind)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_FIND_NEXT, OnUpdateFindNext)
END_MESSAGE_MAP()

namespace {
// Every message box of the document: owned by the main window, and without an owner while
// there is none (a file named on the command line fails to open before the window is made).
// The caption is the application's title unless one is given.
int ShowMessageBox(LPCWSTR lpszText, UINT nType, LPCWSTR lpszCaption = nullptr) {
    CWnd* pMainWnd = AfxGetMainWnd();
    const CString caption = lpszCaption != nullptr ? CString(lpszCaption) : AfxGetAppTitle();
    return ::MessageBoxW(pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr, lpszText, caption, nType);
}

// The document's file as the pattern scan reads it: block reads at any offset.
class FileReader : public IPositionedReader {
public:
    FileReader(CFile& file, int64_t length) : m_file(file), m_length(length) {}

    int64_t Length() override { return m_length; }

    size_t ReadAt(int64_t offset, void* buffer, size_t count) override {
        if (offset >= m_length)
            return 0;
        // One read moves at most what a DWORD counts; the scan asks for blocks far smaller.
        const auto wanted =
            static_cast<UINT>(std::min<uint64_t>({count, UINT32_MAX, static_cast<uint64_t>(m_length - offset)}));
        m_file.Seek(offset, CFile::begin);
        return m_file.Read(buffer, wanted);
    }

private:
    CFile& m_file;
    int64_t m_length;
};
}  // namespace

CScrollDoc::CScrollDoc() = default;

CScrollDoc::~CScrollDoc() = default;

void CScrollDoc::Serialize(CArchive&) {
    // Nothing is read through the archive: the document keeps its own file open instead.
}

BOOL CScrollDoc::OnNewDocument() {
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

BOOL CScrollDoc::OnOpenDocument(LPCWSTR lpszPathName) {
    // The base open proves the file can be opened for reading; on failure it has told the user
    // and the file shown so far stays shown.
    if (!CDocument::OnOpenDocument(lpszPathName))
        return FALSE;

    if (m_bFileOpen) {
        m_bFileOpen = false;
        m_file.Close();
    }
    // Read access with the compatibility share mode: nobody else may open the file while we
    // show it, so what is shown cannot change underneath through Windows.
    if (!m_file.Open(lpszPathName, CFile::modeRead | CFile::shareCompat, nullptr)) {
        ShowMessageBox(L"Chyba při otevírání souboru!", MB_OK | MB_ICONEXCLAMATION);
        // The earlier file is closed: the document no longer names it, or choosing that file
        // again would only find it "already open" and leave it closed.
        SetPathName(nullptr);
        SetTitle(L"");
        // The views still show the closed file; without a new file nobody would tell them.
        UpdateAllViews(nullptr, kHintFileClosed);
        return FALSE;
    }
    m_pSearchData.reset();
    m_nSearchLen = 0;
    m_nSearchPos = 0;
    m_nMarkedLine = 0;
    m_bFileOpen = true;
    return TRUE;
}

int64_t CScrollDoc::GetFileLength() const {
    if (!m_bFileOpen)
        return -1;
    return static_cast<int64_t>(std::min<ULONGLONG>(m_file.GetLength(), INT64_MAX));
}

int32_t CScrollDoc::ReadBlock(int64_t offset, int32_t count, BYTE* buffer) {
    if (!m_bFileOpen)
        return -1;
    m_file.Seek(offset, CFile::begin);
    return static_cast<int32_t>(m_file.Read(buffer, static_cast<UINT>(count < 0 ? 0 : count)));
}

void CScrollDoc::SetMarkedLine(int64_t n) {
    m_nMarkedLine = n;
    // The scan starts at the first byte of the line above the marked one; for the first line,
    // and for no line at all, that is the start of the file.
    m_nSearchPos = n >= 1 ? (std::min<int64_t>(n, INT64_MAX / kBytesPerLine) - 1) * kBytesPerLine : 0;
}

BYTE CScrollDoc::HexCharValue(wchar_t digit) {
    return ::HexCharValue(static_cast<char16_t>(digit));
}

void CScrollDoc::OnUpdateFind(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_bFileOpen && m_file.GetLength() != 0 && !IsSearching());
}

void CScrollDoc::OnUpdateFindNext(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_bFileOpen && m_file.GetLength() != 0 && m_nSearchLen != 0 && m_pSearchData != nullptr &&
                   !IsSearching());
}

BOOL CScrollDoc::CanCloseFrame(CFrameWnd* pFrame) {
    if (m_pSearchRun == nullptr)
        return CDocument::CanCloseFrame(pFrame);
    m_pSearchRun->Stop();
    m_bCloseFrameAfterSearch = true;
    return FALSE;
}

void CScrollDoc::OnFind() {
    CFindDlg dlg;
    if (dlg.DoModal() != IDOK)
        return;  // a cancelled Find leaves the earlier search to continue with Find Next

    m_pSearchData.reset();
    m_nSearchPos = 0;
    m_nSearchLen = 0;
    std::vector<uint8_t> pattern;
    if (dlg.m_nMode != 0) {
        const std::string text = dlg.m_strText.ToAnsi();
        pattern.assign(text.begin(), text.end());
    } else {
        pattern = HexToBytes(std::u16string_view(reinterpret_cast<const char16_t*>(dlg.m_strHex.GetString()),
                                                 static_cast<size_t>(dlg.m_strHex.GetLength())));
    }
    m_pSearchData = std::make_unique<BYTE[]>(pattern.size());
    std::memcpy(m_pSearchData.get(), pattern.data(), pattern.size());
    m_nSearchLen = static_cast<int32_t>(pattern.size());
    m_bSearchText = dlg.m_nMode != 0;
    OnFindNext();
}

CString CScrollDoc::DescribePattern() const {
    const std::span<const uint8_t> pattern(m_pSearchData.get(), static_cast<size_t>(m_nSearchLen));
    if (!m_bSearchText) {
        const std::u16string hex = PatternHexText(pattern);
        return CString(L"Hledá se: ") +
               CString(std::wstring_view(reinterpret_cast<const wchar_t*>(hex.data()), hex.size()));
    }
    // The text as typed: the pattern's bytes are its characters in the system's code page.
    const std::wstring typed =
        CString(std::string_view(reinterpret_cast<const char*>(pattern.data()), pattern.size())).str();
    const std::u16string shortened =
        ShortenedText(std::u16string_view(reinterpret_cast<const char16_t*>(typed.data()), typed.size()));
    return CString(L"Hledá se text „") +
           CString(std::wstring_view(reinterpret_cast<const wchar_t*>(shortened.data()), shortened.size())) + L"“";
}

void CScrollDoc::OnFindNext() {
    // A frame that was asked to close while the search ran closes once it has ended, however.
    struct CloseWhenDone {
        CScrollDoc& doc;
        ~CloseWhenDone() {
            if (std::exchange(doc.m_bCloseFrameAfterSearch, false))
                if (CWnd* pMain = AfxGetMainWnd())
                    pMain->PostMessage(WM_CLOSE);
        }
    } closeWhenDone{*this};

    // Nothing changes until the scan has ended: a read the system refuses ends the command
    // with the search position, the marked line and the view as they were.
    FileReader reader(m_file, GetFileLength());
    PatternScanner scanner(reader, std::span<const uint8_t>(m_pSearchData.get(), static_cast<size_t>(m_nSearchLen)),
                           m_nSearchPos);
    CSearchRun::Outcome outcome = CSearchRun::Outcome::Stopped;
    {
        CSearchRun run(scanner, DescribePattern());
        m_pSearchRun = &run;
        struct Unregister {
            CSearchRun*& run;
            ~Unregister() { run = nullptr; }
        } unregister{m_pSearchRun};
        outcome = run.Run();
    }
    switch (outcome) {
    case CSearchRun::Outcome::Stopped:
        // Find Next goes on from where the scan stopped: nothing skipped, nothing searched twice.
        m_nSearchPos = scanner.NextCandidate();
        break;
    case CSearchRun::Outcome::NotFound:
        if (!m_bCloseFrameAfterSearch)
            ShowMessageBox(L"Nenalezeno!", MB_ICONINFORMATION, L"Informace");
        m_nSearchPos = 0;
        break;
    case CSearchRun::Outcome::Found:
        m_nSearchPos = *scanner.Match() + 1;
        m_nMarkedLine = *scanner.Match() / kBytesPerLine;
        // The views bring the match's line to the top, as far as the end allows, and repaint.
        UpdateAllViews(nullptr, kHintMarkedLineToTop, nullptr);
        break;
    }
}
