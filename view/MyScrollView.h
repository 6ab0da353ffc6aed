// CMyScrollView: the hex view.
#pragma once

#include "framework/docview/View.h"
#include "view/ScrollMath.h"
#include "view/ViewGeometry.h"

#include <cstdint>

class CScrollDoc;

// The hex view: shows the document's file as a dump of 16 bytes a line, 15 pixels a line and
// 610 pixels wide (wider by a character cell for each offset digit past eight, for files past
// 4 GiB), scrolled in whole lines with its own scroll bars, the arrow and page keys (polled every
// 50 ms), the wheel, and marks the clicked line. Every line of a file of any length has its
// place: positions are 64-bit, and the vertical bar is scaled where they outgrow it.
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
    // A new DPI, told by the frame: the pixel figures and the font are made anew, and the same
    // top line, and the mark when it was shown, stay in view.
    void OnDpiChanged(UINT dpi, const RECT* pSuggested);

    DECLARE_MESSAGE_MAP()

private:
    // Takes the file's length afresh and scrolls back to the top.
    void ResetToDocument();
    // Pages, positions and both bars for a client of cx by cy pixels.
    void FitToClient(int cx, int cy);
    // Moves the view by the step of one scroll request; false for requests the view ignores.
    bool ScrollByRequest(int bar, UINT nSBCode);
    // Moves the view by a step already clamped to the content: the bar follows, and the picture
    // is moved with the platform's window scrolling.
    void ApplyStep(int bar, int64_t step);
    // Scrolls so that `line` is the top line, as far as the end of the content allows.
    void BringLineToTop(int64_t line);
    VerticalBarScale VerticalScale() const {
        return VerticalBarScale(m_nContentHeight, m_nPageY, m_geometry.linePitch);
    }
    // The pixel figures for `dpi`, and the extents that follow from them.
    void ApplyGeometry(const ViewGeometry& geometry);

    int32_t m_nContentWidth = 0;
    int64_t m_nContentHeight = 0;
    int64_t m_nScrollX = 0;
    int64_t m_nScrollY = 0;
    int32_t m_nPageX = 0;
    int32_t m_nPageY = 0;
    int32_t m_nLineStepY = kDumpLineHeight;
    int32_t m_nLineStepX = 15;
    int64_t m_nFileSize = 0;  // -1 while no file is open
    int64_t m_nLineCount = 0;
    int32_t m_nOffsetDigits = 8;                         // of every line: what the file's last line needs
    ViewGeometry m_geometry = GeometryForDpi(kBaseDpi);  // the window's DPI from its creation on
    // Counts the fits to the client; a bar shown or hidden while fitting resizes the client,
    // and the fit that this causes within supersedes the outer one.
    unsigned m_nFitGeneration = 0;
};
