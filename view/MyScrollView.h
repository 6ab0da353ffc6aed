#pragma once

#include "framework/docview/View.h"
#include "view/ScrollMath.h"

#include <cstdint>

class CScrollDoc;

// The hex view: shows the document's file as a dump of 16 bytes a line, 15 pixels a line and
// 610 pixels wide, scrolled in whole lines with its own scroll bars, the arrow and page keys
// (polled every 50 ms), the wheel, and marks the clicked line.
class CMyScrollView : public CView {
    DECLARE_DYNCREATE(CMyScrollView)
public:
    CMyScrollView();
    ~CMyScrollView() override;

    CScrollDoc* GetDocument() const;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;

protected:
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnSize(UINT nType, int cx, int cy);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnTimer(UINT_PTR nIDEvent);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    LRESULT OnShowTruncationNotice(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Takes the file's length afresh and scrolls back to the top.
    void ResetToDocument();
    // Pages, positions and both bars for a client of cx by cy pixels.
    void FitToClient(int cx, int cy);
    // Moves the view by the step of one scroll request; false for requests the view ignores.
    bool ScrollByRequest(int bar, UINT nSBCode);

    int32_t m_nContentWidth = 0;
    int32_t m_nContentHeight = 0;
    int32_t m_nScrollX = 0;
    int32_t m_nScrollY = 0;
    int32_t m_nPageX = 0;
    int32_t m_nPageY = 0;
    int32_t m_nLineStepY = kDumpLineHeight;
    int32_t m_nLineStepX = 15;
    int32_t m_nFileSize = 0;  // -1 while no file is open
    int32_t m_nLineCount = 0;
    // Counts the fits to the client; a bar shown or hidden while fitting resizes the client,
    // and the fit that this causes within supersedes the outer one.
    unsigned m_nFitGeneration = 0;
};
