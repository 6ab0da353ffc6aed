// CDocument: the path and title, the list of views, and the base open that checks a file.
#include "framework/docview/Document.h"

#include "framework/core/File.h"
#include "framework/core/FrameworkIds.h"
#include "framework/docview/View.h"
#include "framework/window/Wnd.h"

#include <algorithm>
#include <new>
#include <string>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

namespace {
POSITION PositionOf(size_t index) {
    return reinterpret_cast<POSITION>(static_cast<UINT_PTR>(index) + 1);
}

size_t IndexOf(POSITION position) {
    return static_cast<size_t>(reinterpret_cast<UINT_PTR>(position) - 1);
}

// The framework's report of a file that cannot be opened: the file, then the reason.
void ReportOpenFailure(LPCWSTR lpszPathName, const CString& reason) {
    CString text;
    text.Format(AfxLoadString(AFX_IDP_FAILED_TO_OPEN_DOC), lpszPathName != nullptr ? lpszPathName : L"");
    if (!reason.IsEmpty()) {
        text += L"\n\n";
        text += reason;
    }
    AfxMessageBox(text.GetString(), MB_OK | MB_ICONEXCLAMATION);
}
}  // namespace

CDocument::~CDocument() {
    for (CView* pView : m_viewList)
        pView->m_pDocument = nullptr;
}

void CDocument::SetTitle(LPCWSTR lpszTitle) {
    m_strTitle = lpszTitle;
}

void CDocument::SetPathName(LPCWSTR lpszPathName) {
    if (lpszPathName == nullptr || *lpszPathName == L'\0') {
        m_strPathName.Empty();
        return;
    }
    m_strPathName = lpszPathName;
    const std::wstring& path = m_strPathName.str();
    const size_t slash = path.find_last_of(L"\\/");
    SetTitle(slash == std::wstring::npos ? path.c_str() : path.c_str() + slash + 1);
}

void CDocument::AddView(CView* pView) {
    if (pView == nullptr || pView->m_pDocument == this)
        return;
    if (pView->m_pDocument != nullptr)
        pView->m_pDocument->RemoveView(pView);
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
}

POSITION CDocument::GetFirstViewPosition() const {
    return m_viewList.empty() ? nullptr : PositionOf(0);
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    if (rPosition == nullptr)
        return nullptr;
    const size_t index = IndexOf(rPosition);
    if (index >= m_viewList.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    rPosition = index + 1 < m_viewList.size() ? PositionOf(index + 1) : nullptr;
    return m_viewList[index];
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    // A view may leave the list while another is updated: go by a copy and skip the ones
    // that have left.
    const std::vector<CView*> views = m_viewList;
    for (CView* pView : views) {
        if (pView == pSender)
            continue;
        if (std::find(m_viewList.begin(), m_viewList.end(), pView) == m_viewList.end())
            continue;
        pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCWSTR lpszPathName) {
    CFile file;
    CFileException error;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        ReportOpenFailure(lpszPathName, error.GetErrorMessage());
        return FALSE;
    }

    DeleteContents();
    SetModifiedFlag(TRUE);  // not a clean document until it is loaded
    try {
        CArchive archive(&file, CArchive::load);
        if (file.GetLength() != 0)
            Serialize(archive);
        file.Close();
    } catch (const CException& e) {
        DeleteContents();
        ReportOpenFailure(lpszPathName, e.GetErrorMessage());
        return FALSE;
    } catch (const std::bad_alloc&) {
        DeleteContents();
        ReportOpenFailure(lpszPathName, CMemoryException().GetErrorMessage());
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::CanCloseFrame(CFrameWnd* /*pFrame*/) {
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // Destroy the frames that show this document's views; each view leaves the list as its
    // window goes.
    std::vector<HWND> frames;
    for (CView* pView : m_viewList) {
        const HWND hView = pView->GetSafeHwnd();
        const HWND hFrame = hView != nullptr ? ::GetParent(hView) : nullptr;
        if (hFrame != nullptr && std::find(frames.begin(), frames.end(), hFrame) == frames.end())
            frames.push_back(hFrame);
    }
    for (HWND hFrame : frames) {
        if (::IsWindow(hFrame))
            ::DestroyWindow(hFrame);
    }
    DeleteContents();
}

void CDocument::Serialize(CArchive& /*ar*/) {}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return CCmdTarget::OnCmdMsg(nID, nCode, pCmdUI, pHandlerInfo);
}
