// CDocTemplate and CSingleDocTemplate: make the document, its frame and its view by runtime
// class, and open files into them.
#pragma once

#include "framework/docview/Document.h"
#include "framework/docview/FrameWnd.h"
#include "framework/window/CmdTarget.h"

#include <memory>

class CDocTemplate : public CCmdTarget {
public:
    // The fields of the template's document string (resource nIDResource), separated by "\n".
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    // FALSE (and empty) when the string or the field does not exist.
    BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // With a path, a full one (FullPath; CWinApp::OpenDocumentFile makes it): opens that file
    // into the template's document (made, with its frame and view, when there is none yet), which
    // keeps the path as it is given. Without one: a new, empty document. Null on failure; the
    // document has told the user why.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    // The template's document showing that file (a full path, as FullPath gives it), or null.
    virtual CDocument* FindOpenDocument(LPCWSTR lpszPathName) const = 0;
    // Brings the frame that shows pDoc, one of the template's documents, to the front.
    virtual void ActivateFrameOf(CDocument* pDoc) = 0;
    // Ends the template's documents and their frames.
    virtual void CloseAllDocuments() = 0;

protected:
    std::unique_ptr<CDocument> CreateNewDocument() const;
    // A frame for pDoc with a view of the template's view class; null when it could not be made.
    std::unique_ptr<CFrameWnd> CreateNewFrame(CDocument* pDoc);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

// One document at a time, in one frame with one view: opening another file reuses all three.
// Ownership: the template owns the document and the frame (which owns the view); the frame
// goes first.
class CSingleDocTemplate : public CDocTemplate {
public:
    CSingleDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                       const CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    CDocument* OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    CDocument* FindOpenDocument(LPCWSTR lpszPathName) const override;
    void ActivateFrameOf(CDocument* pDoc) override;
    void CloseAllDocuments() override;

    CDocument* GetDocument() const { return m_pOnlyDoc.get(); }
    CFrameWnd* GetFrame() const { return m_pFrame.get(); }

private:
    std::unique_ptr<CDocument> m_pOnlyDoc;  // declared first: destroyed after the frame
    std::unique_ptr<CFrameWnd> m_pFrame;
};
