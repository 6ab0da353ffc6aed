// CView: a child window that shows a document — painting through OnDraw, updates from the
// document, and command routing on to the document.
#pragma once

#include "framework/docview/CreateContext.h"
#include "framework/docview/Document.h"
#include "framework/window/Wnd.h"

// The usual style of a view inside its frame; PreCreateWindow turns the border into a sunken
// client edge.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD | WS_VISIBLE | WS_BORDER;

// Ownership: the frame that creates a view (from its runtime class, with CreateObjectAs) owns
// the view object, in a unique_ptr, and deletes it after the frame's window is gone. The view
// never deletes itself. It joins the document named by the CCreateContext passed to Create
// (or by CDocument::AddView) and leaves the document's view list when its window is destroyed
// (PostNcDestroy) or when the view object is deleted, whichever comes first.
class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // Paints the view on pDC: the paint device context for the screen, or any other (a
    // memory device context in a test).
    virtual void OnDraw(CDC* pDC) = 0;
    // Called by the framework once a new document is made or a file is opened into the view.
    // The base calls OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    // Called by CDocument::UpdateAllViews. The base invalidates the whole view, with erasing.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // Prepares the paint device context before OnDraw. The base does nothing.
    virtual void OnPrepareDC(CDC* pDC);

    // The framework's view class (redrawn whole when resized; arrow cursor) when none is
    // named; a border becomes a sunken client edge.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Offers the command to the view's own maps, then to its document.
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    // Joins the document of the CCreateContext given as the creation parameter.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    // Paints through OnPrepareDC and OnDraw with a CPaintDC.
    afx_msg void OnPaint();
    // Leaves the document's view list.
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocument;
};
