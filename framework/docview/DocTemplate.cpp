// CDocTemplate and CSingleDocTemplate: making the document, the frame and the view; opening a
// file into the one document.
#include "framework/docview/DocTemplate.h"

#include "framework/core/FrameworkIds.h"
#include "framework/core/Path.h"

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {
    m_strDocStrings.LoadString(nIDResource);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

std::unique_ptr<CDocument> CDocTemplate::CreateNewDocument() const {
    return CreateObjectAs<CDocument>(m_pDocClass);
}

std::unique_ptr<CFrameWnd> CDocTemplate::CreateNewFrame(CDocument* pDoc) {
    std::unique_ptr<CFrameWnd> pFrame = CreateObjectAs<CFrameWnd>(m_pFrameClass);
    if (!pFrame)
        return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = pDoc;
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                       const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    CloseAllDocuments();
}

void CSingleDocTemplate::CloseAllDocuments() {
    if (m_pFrame && AfxGetMainWnd() == m_pFrame.get())
        AfxSetMainWnd(nullptr);
    m_pFrame.reset();
    if (m_pOnlyDoc)
        m_pOnlyDoc->DeleteContents();
    m_pOnlyDoc.reset();
}

CDocument* CSingleDocTemplate::FindOpenDocument(LPCWSTR lpszPathName) const {
    if (!m_pOnlyDoc || lpszPathName == nullptr || m_pOnlyDoc->GetPathName().IsEmpty())
        return nullptr;
    return SameFullPath(m_pOnlyDoc->GetPathName(), lpszPathName) ? m_pOnlyDoc.get() : nullptr;
}

void CSingleDocTemplate::ActivateFrameOf(CDocument* pDoc) {
    if (pDoc != nullptr && pDoc == m_pOnlyDoc.get() && m_pFrame)
        m_pFrame->ActivateFrame();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible) {
    // A new document and frame are kept only once the document has opened; until then a
    // failure leaves everything as it was.
    std::unique_ptr<CDocument> pNewDoc;
    CDocument* pDoc = m_pOnlyDoc.get();
    if (pDoc == nullptr) {
        pNewDoc = CreateNewDocument();
        if (!pNewDoc) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE);
            return nullptr;
        }
        pDoc = pNewDoc.get();
    }

    std::unique_ptr<CFrameWnd> pNewFrame;
    CFrameWnd* pFrame = m_pFrame.get();
    if (pFrame == nullptr || pFrame->GetSafeHwnd() == nullptr) {
        pNewFrame = CreateNewFrame(pDoc);
        if (!pNewFrame) {
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE);
            return nullptr;
        }
        pFrame = pNewFrame.get();
    }

    if (lpszPathName == nullptr) {
        if (!pDoc->OnNewDocument())
            return nullptr;  // a new frame goes with pNewFrame, before a new document
        pDoc->SetTitle(L"");
    } else {
        if (!pDoc->OnOpenDocument(lpszPathName))
            return nullptr;  // the document has said why
        pDoc->SetPathName(lpszPathName);
    }

    if (pNewDoc)
        m_pOnlyDoc = std::move(pNewDoc);
    if (pNewFrame) {
        m_pFrame = std::move(pNewFrame);
        if (AfxGetMainWnd() == nullptr)
            AfxSetMainWnd(m_pFrame.get());
    }
    m_pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}
