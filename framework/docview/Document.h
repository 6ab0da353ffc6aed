// CDocument: a document — its path and title, its views, and the base open of a file.
#pragma once

#include "framework/core/Archive.h"
#include "framework/core/String.h"
#include "framework/window/CmdTarget.h"

#include <windows.h>

#include <vector>

class CFrameWnd;
class CView;

// A place in a document's view list (GetFirstViewPosition / GetNextView); null at the end.
struct AfxPosition;
using POSITION = AfxPosition*;

// Ownership: the document template owns the document. A document does not own its views and
// a view does not own its document: each side clears the link when it goes first (a view
// leaves the list when its window is destroyed or the view is deleted; a deleted document
// detaches its views).
class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    ~CDocument() override;

    // ---- Path and title -----------------------------------------------------------------
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCWSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Keeps the path, a full one (the application makes each name it opens full, once), and
    // makes the file's name the title. Adding the path to the recent-file list is the
    // application's part.
    virtual void SetPathName(LPCWSTR lpszPathName);

    BOOL IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // ---- Views ----------------------------------------------------------------------------
    // Adds the view (taking it from another document it belongs to), or does nothing when it
    // is in the list already.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    // The view at rPosition, moving rPosition to the next one (null after the last).
    CView* GetNextView(POSITION& rPosition) const;
    // Calls OnUpdate of every view but pSender. A view that leaves the list meanwhile is not
    // called any more.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    // ---- Life ---------------------------------------------------------------------------
    // Frees what the document holds of its file. The base holds nothing.
    virtual void DeleteContents();
    // A new, empty document: DeleteContents, no path, not modified. TRUE.
    virtual BOOL OnNewDocument();
    // Opens the file for reading, denying other writers, and hands it to Serialize through a
    // loading archive (an empty file is not handed over), then closes it; not modified
    // afterwards. When the file cannot be opened, tells the user in the framework's message
    // box (naming the file and the reason) and returns FALSE, the document unchanged; when
    // loading fails, the same after DeleteContents.
    virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
    // The document's end: destroys the windows of its views' frames, then DeleteContents.
    virtual void OnCloseDocument();
    // Asked by a frame of the document's views that is about to close: FALSE keeps it open for
    // now. The base lets every frame close (nothing is ever saved).
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    // Loads the document from the archive. The base reads nothing.
    virtual void Serialize(CArchive& ar);

    // Offers the command to this document's message maps.
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;

private:
    friend class CView;
    std::vector<CView*> m_viewList;
};
