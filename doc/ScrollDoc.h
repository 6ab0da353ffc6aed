// CScrollDoc: the viewer's document: the open file, positioned reads, the marked line, the search.
#pragma once

#include "framework/core/File.h"
#include "framework/docview/Document.h"

#include <cstdint>
#include <memory>

class CSearchRun;

// The one document: the file being shown, held open for exclusive, positioned reads for as long
// as it is shown; the marked line; and the search state that Find and Find Next work on.
class CScrollDoc : public CDocument {
    DECLARE_DYNCREATE(CScrollDoc)
public:
    CScrollDoc();
    ~CScrollDoc() override;

    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCWSTR lpszPathName) override;
    // While a search runs, the frame closes only once the search has stopped: this stops it, and
    // the frame is closed again when it has.
    BOOL CanCloseFrame(CFrameWnd* pFrame) override;

    // -1 while no file is open; otherwise the file's length. Leaves the file position where it was.
    int64_t GetFileLength() const;
    // Reads up to count bytes at offset into buffer; returns how many were read (0 at or past
    // the end), or -1 without touching the buffer when no file is open. Virtual so that a test
    // can count the reads a painting makes.
    virtual int32_t ReadBlock(int64_t offset, int32_t count, BYTE* buffer);
    int64_t GetMarkedLine() const { return m_nMarkedLine; }
    // Where the next Find Next scan begins.
    int64_t GetSearchPos() const { return m_nSearchPos; }
    // Marks line n (-1: none) and moves the next search to the start of the line above it.
    void SetMarkedLine(int64_t n);
    // True while Find or Find Next scans the file (a long scan handles messages meanwhile).
    bool IsSearching() const { return m_pSearchRun != nullptr; }

    // The value of one hex digit: '0'-'9' give 0-9, 'A'-'F' give 10-15.
    static BYTE HexCharValue(wchar_t digit);

    // The hint with which the document tells its views that it no longer holds a file (its own
    // open failed after the earlier file was closed): they go back to the empty state.
    static constexpr LPARAM kHintFileClosed = 1;
    // The hint with which a search that found its pattern asks the views to bring the marked line
    // to the top, as far as the end of the content allows, and to repaint.
    static constexpr LPARAM kHintMarkedLineToTop = 2;

protected:
    // Find (F4): asks for a pattern and scans the file for it from the start.
    void OnFind();
    // Find Next (F3): scans on from where the last scan left off.
    void OnFindNext();
    void OnUpdateFind(CCmdUI* pCmdUI);
    void OnUpdateFindNext(CCmdUI* pCmdUI);

private:
    // The progress window's line that says what is searched for.
    CString DescribePattern() const;

    bool m_bFileOpen = false;
    CFile m_file;
    std::unique_ptr<BYTE[]> m_pSearchData;  // the search pattern; null when there is none
    int32_t m_nSearchLen = 0;
    bool m_bSearchText = false;  // the pattern was typed as text, not as hex digits
    int64_t m_nSearchPos = 0;    // where the next Find Next scan begins
    int64_t m_nMarkedLine = 0;
    CSearchRun* m_pSearchRun = nullptr;  // the search that runs now, on the stack of Find Next
    bool m_bCloseFrameAfterSearch = false;

    DECLARE_MESSAGE_MAP()
};
