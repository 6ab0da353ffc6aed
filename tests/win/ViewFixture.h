#pragma once

// A hex view on a document inside a plain top-level window, as the viewer's frame would hold
// it, for tests that drive the view with real messages.

#include "doc/ScrollDoc.h"
#include "framework/window/Wnd.h"
#include "tests/win/TestSupport.h"
#include "view/MyScrollView.h"

#include <memory>

// A document that counts the positioned reads made through it, and whose reads of the lines
// failFirst to failLast fail as a failing disk's do.
class CountingDoc : public CScrollDoc {
public:
    int32_t ReadBlock(int64_t offset, int32_t count, BYTE* buffer) override {
        ++reads;
        if (offset / 16 >= failFirst && offset / 16 <= failLast)
            CFileException::ThrowOsError(ERROR_CRC);
        return CScrollDoc::ReadBlock(offset, count, buffer);
    }
    int reads = 0;
    int64_t failFirst = 0;
    int64_t failLast = -1;  // none
};

class ViewFixture {
public:
    // A view whose window is windowWidth by windowHeight pixels (its client is smaller by the
    // scroll bars that show), in a frame a little larger.
    ViewFixture(int windowWidth = 700, int windowHeight = 640);
    ~ViewFixture();

    // Opens the file into the document and lets the view take it, as the framework does.
    bool Open(const std::wstring& path);
    // Sizes the view's window; the client is smaller by the scroll bars that show.
    void ResizeWindow(int width, int height);
    CRect Client() const;

    // The vertical scroll box, which is the view's position in pixels while the bar is not scaled.
    int ScrollY() const { return GetScrollPos(*view, SB_VERT); }
    SCROLLINFO VerticalBar() const;
    SCROLLINFO HorizontalBar() const;
    void VScroll(UINT code) { view->SendMessage(WM_VSCROLL, MAKEWPARAM(code, 0), 0); }

    // Paints the view into a memory bitmap the size of its client, filled with `background`
    // first, and returns the pixel reader.
    class Picture {
    public:
        COLORREF At(int x, int y) const;
        int width = 0, height = 0;
        std::vector<COLORREF> pixels;
    };
    Picture Paint(COLORREF background = RGB(255, 0, 255));

    CountingDoc doc;
    CWnd frame;
    std::unique_ptr<CMyScrollView> view;
};
