// How many positioned reads the hex view makes to paint: a full repaint of a 600-pixel-high
// client, and the strip a scroll step uncovers. The view sits in a real window and paints
// through real WM_PAINT messages; a counting document tallies its ReadBlock calls.
// Prints a table; asserts nothing.
//
// usage: oktalon_paint_bench

#include "tests/win/ViewFixture.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kClientHeight = 600;
constexpr int kViewWidth = 700;

struct Tally {
    int min = 1 << 30;
    int max = 0;
    long total = 0;
    int count = 0;
    void Add(int reads) {
        min = std::min(min, reads);
        max = std::max(max, reads);
        total += reads;
        ++count;
    }
};

// Reads made by `action` followed by the painting it causes; counted only when the action
// moved the view (a step at the end of the content paints nothing and proves nothing).
void CountReads(Tally& tally, ViewFixture& fixture, const std::function<void()>& action, bool mustMove = true) {
    PumpMessages(10);
    const int before = fixture.ScrollY();
    fixture.doc.reads = 0;
    action();
    fixture.view->UpdateWindow();
    if (!mustMove || fixture.ScrollY() != before)
        tally.Add(fixture.doc.reads);
}

void PrintRow(const char* what, const Tally& tally, const char* goal) {
    if (tally.count == 0)
        std::printf("%-34s %6s %6s %8s %6d   %s (the view did not move)\n", what, "-", "-", "-", 0, goal);
    else
        std::printf("%-34s %6d %6d %8.2f %6d   %s\n", what, tally.min, tally.max,
                    static_cast<double>(tally.total) / tally.count, tally.count, goal);
}

}  // namespace

int main() {
    // 4096 lines: far more than a page, so every kind of step has room.
    std::string bytes(16 * 4096, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 131 + i / 16);
    TempFile file(bytes, L"okt-bench");

    ViewFixture fixture(kViewWidth, kClientHeight + 40);
    if (!fixture.Open(file.path())) {
        std::fprintf(stderr, "cannot open the test file\n");
        return 1;
    }
    // Size the view so that its client, scroll bars aside, is exactly 600 pixels high.
    int height = kClientHeight;
    for (int attempt = 0; attempt < 4 && fixture.Client().Height() != kClientHeight; ++attempt) {
        height += kClientHeight - fixture.Client().Height();
        fixture.ResizeWindow(kViewWidth, height);
        PumpMessages(20);
    }
    const CRect client = fixture.Client();
    PumpMessages(50);

    Tally repaint, lineDown, lineUp, pageDown, pageUp, thumb;
    const int lastTop =
        static_cast<int>(fixture.VerticalBar().nMax) - static_cast<int>(fixture.VerticalBar().nPage) + 1;
    for (const int top : {0, 15 * 100, 15 * 2000, lastTop}) {
        fixture.view->SetScrollPos(SB_VERT, top, TRUE);
        fixture.view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
        fixture.view->UpdateWindow();
        for (int i = 0; i < 3; ++i)
            CountReads(
                repaint, fixture, [&] { fixture.view->Invalidate(); }, false);
    }
    // Each kind of step starts from the middle of the file, with room to move either way.
    const auto moveTo = [&](int top) {
        fixture.view->SetScrollPos(SB_VERT, top, TRUE);
        fixture.VScroll(SB_THUMBTRACK);
        fixture.view->UpdateWindow();
    };
    struct Steps {
        Tally& tally;
        int fromLine;
        int count;
        int code;
    };
    for (const Steps& steps : {Steps{lineDown, 2000, 40, SB_LINEDOWN}, Steps{lineUp, 2000, 40, SB_LINEUP},
                               Steps{pageDown, 1000, 10, SB_PAGEDOWN}, Steps{pageUp, 2000, 10, SB_PAGEUP}}) {
        moveTo(15 * steps.fromLine);
        for (int i = 0; i < steps.count; ++i)
            CountReads(steps.tally, fixture, [&] { fixture.VScroll(steps.code); });
    }
    for (const int top : {15 * 7, 15 * 1000, 15 * 1001, 15 * 3000 + 4}) {
        CountReads(thumb, fixture, [&] {
            fixture.view->SetScrollPos(SB_VERT, top, TRUE);
            fixture.VScroll(SB_THUMBTRACK);
        });
    }

    std::printf("Reads per paint: ReadBlock calls (16 bytes each) of the hex view, client %d x %d pixels\n",
                client.Width(), client.Height());
    std::printf("%-34s %6s %6s %8s %6s   %s\n", "event", "min", "max", "mean", "moves", "goal");
    PrintRow("full repaint", repaint, "<= 42");
    PrintRow("line step down (SB_LINEDOWN)", lineDown, "<= 4");
    PrintRow("line step up (SB_LINEUP)", lineUp, "<= 4");
    PrintRow("page down (SB_PAGEDOWN)", pageDown, "<= 42");
    PrintRow("page up (SB_PAGEUP)", pageUp, "<= 42");
    PrintRow("thumb drags (one line and far)", thumb, "<= 42");
    if (client.Height() != kClientHeight)
        std::printf("note: the client could not be made %d pixels high\n", kClientHeight);
    return 0;
}
