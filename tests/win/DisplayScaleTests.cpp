// The view at the display's DPI. The suite runs at 96 DPI, and these cases again in beds of their
// own at 120, 144 and 192 (a display scaled to 125, 150 and 200 %): every row whole and unclipped,
// the mark's band over its whole text, a click marking the row under it, the last page showing the
// last line whole, Find bringing a deep match to the top; and a DPI change while the view shows a
// file, which keeps the top line and the mark in view.
#include "framework/window/CmdUI.h"
#include "framework/window/Dpi.h"
#include "res/resource.h"
#include "tests/win/DumpPicture.h"
#include "tests/win/ViewFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>

namespace {

// The line pitch at each DPI the suite runs at: 15 pixels at 96, in proportion, rounded.
int ExpectedPitch(UINT dpi) {
    static const std::map<UINT, int> kPitches = {{96, 15}, {120, 19}, {144, 23}, {192, 30}};
    const auto found = kPitches.find(dpi);
    return found != kPitches.end() ? found->second : 0;
}

class DisplayScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dpi = AfxGetDpiForWindow(fixture.view->GetSafeHwnd());
        m_pitch = ExpectedPitch(m_dpi);
        ASSERT_NE(m_pitch, 0) << "a DPI the suite does not know: " << m_dpi;
        m_bytes = Letters(16 * kLines);
        m_bytes.replace(16 * kDeepLine + 3, 7, "HLEDANO");
        m_file.emplace(m_bytes);
        ASSERT_TRUE(fixture.Open(m_file->path()));
    }

    std::string Line(int n) const {
        return ExpectedLine(16 * n, m_bytes.substr(static_cast<size_t>(16 * n), 16), 16 * kLines);
    }
    int PageLines() const { return (fixture.Client().Height() - (m_pitch - 1)) / m_pitch; }

    static constexpr int kLines = 400;
    static constexpr int kDeepLine = 300;
    ViewFixture fixture{700, 600};
    UINT m_dpi = 0;
    int m_pitch = 0;
    std::string m_bytes;
    std::optional<TempFile> m_file;
};

TEST_F(DisplayScaleTest, EveryRowIsWholeAndTheMarkCoversItsText) {
    std::printf("DPI %u, line pitch %d\n", m_dpi, m_pitch);
    CFont font;
    ASSERT_TRUE(font.CreatePointFontForDpi(90, L"Courier New", m_dpi));
    {
        CClientDC dc(fixture.view.get());
        CSelectGuard select(dc, font);
        TEXTMETRICW metrics{};
        dc.GetTextMetrics(&metrics);
        EXPECT_LE(metrics.tmHeight, m_pitch) << "the font's cell fits the line pitch, so no row clips its glyphs";
    }
    // Every row shows its line, the marked first one on cyan over its whole text.
    const auto picture = fixture.Paint();
    for (int row = 0; row < PageLines(); ++row)
        ASSERT_TRUE(ShowsLine(picture, row * m_pitch, Line(row), row == 0 ? kDumpCyan : kDumpWhite, m_pitch))
            << "row " << row;
    EXPECT_EQ(fixture.VerticalBar().nMax, kLines * m_pitch - 1);
    EXPECT_EQ(fixture.VerticalBar().nPage, static_cast<UINT>(PageLines() * m_pitch));

    // A click marks the row under the pointer, at its top and at its bottom pixel.
    fixture.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5 * m_pitch));
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 5);
    fixture.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 7 * m_pitch - 1));
    EXPECT_EQ(fixture.doc.GetMarkedLine(), 6);
    EXPECT_TRUE(ShowsLine(fixture.Paint(), 6 * m_pitch, Line(6), kDumpCyan, m_pitch));
}

TEST_F(DisplayScaleTest, TheLastPageShowsTheLastLineWholeAndFindBringsADeepMatchToTheTop) {
    fixture.view->SetScrollPos(SB_VERT, INT32_MAX, TRUE);
    fixture.VScroll(SB_THUMBTRACK);
    const int pageLines = PageLines();
    EXPECT_EQ(fixture.ScrollY(), (kLines - pageLines) * m_pitch);
    const int lastTop = (pageLines - 1) * m_pitch;
    EXPECT_LE(lastTop + m_pitch, fixture.Client().Height()) << "the last line is shown whole";
    EXPECT_TRUE(ShowsLine(fixture.Paint(), lastTop, Line(kLines - 1), kDumpWhite, m_pitch));

    MessageBoxWatcher watcher;
    WhenWindowAppears answer(L"Hledat", [](HWND dialog) {
        SendMessageW(GetDlgItem(dialog, IDC_MODE_TEXT), BM_CLICK, 0, 0);
        SetDlgItemTextW(dialog, IDC_PLAIN_TEXT, L"HLEDANO");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    fixture.doc.OnCmdMsg(ID_SEARCH_FIND, CN_COMMAND, nullptr, nullptr);
    ASSERT_TRUE(answer.Appeared());
    EXPECT_TRUE(watcher.Seen().empty());
    EXPECT_EQ(fixture.doc.GetMarkedLine(), kDeepLine);
    EXPECT_EQ(fixture.ScrollY(), kDeepLine * m_pitch) << "the scroll box at the pitch times the line";
    EXPECT_TRUE(ShowsLine(fixture.Paint(), 0, Line(kDeepLine), kDumpCyan, m_pitch));
}

TEST_F(DisplayScaleTest, ADpiChangeRemakesTheGeometryAndKeepsTheTopLineAndTheMark) {
    fixture.view->SetScrollPos(SB_VERT, 100 * m_pitch, TRUE);
    fixture.VScroll(SB_THUMBTRACK);
    ASSERT_EQ(fixture.ScrollY(), 100 * m_pitch);
    fixture.doc.SetMarkedLine(100 + PageLines() - 1);  // the last row of the page
    const UINT twice = 2 * m_dpi;
    RECT suggested = {0, 0, 700, 600};
    for (const UINT dpi : {twice, m_dpi}) {
        SCOPED_TRACE(dpi);
        const int pitch = AfxScaleForDpi(15, dpi);
        fixture.view->SendMessage(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        const int pageLines = (fixture.Client().Height() - (pitch - 1)) / pitch;
        EXPECT_EQ(fixture.VerticalBar().nMax, kLines * pitch - 1);
        EXPECT_EQ(fixture.VerticalBar().nPage, static_cast<UINT>(pageLines * pitch));
        const int top = fixture.ScrollY() / pitch;
        EXPECT_EQ(fixture.ScrollY() % pitch, 0) << "whole lines of the new pitch";
        const int64_t marked = fixture.doc.GetMarkedLine();
        EXPECT_TRUE(marked >= top && marked < top + pageLines) << "the mark stays in view";
        if (dpi == twice) {
            EXPECT_EQ(top, marked - pageLines + 1) << "moved down no further than the mark needs";
        }
        EXPECT_EQ(fixture.HorizontalBar().nMax,
                  fixture.Client().Width() < AfxScaleForDpi(610, dpi) ? AfxScaleForDpi(610, dpi) - 1 : 0);
    }
    EXPECT_TRUE(ShowsLine(fixture.Paint(), 0, Line(fixture.ScrollY() / m_pitch), kDumpWhite, m_pitch))
        << "back at the first DPI, the view paints as before";
}

}  // namespace
