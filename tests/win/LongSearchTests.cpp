// A search long enough to show its progress finds what one scan finds, in order and each match
// once, also when Storno stops it and Find Next goes on; a stopped search says nothing and moves
// neither the mark nor the view.
#include "framework/window/CmdUI.h"
#include "res/resource.h"
#include "tests/win/ViewFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

// Presses Storno in every progress window of this process once it has been up a moment, as a
// person would; counts the presses.
class StornoPresser {
public:
    StornoPresser() : m_thread([this] { Watch(); }) {}
    ~StornoPresser() {
        m_stop = true;
        m_thread.join();
    }
    StornoPresser(const StornoPresser&) = delete;
    StornoPresser& operator=(const StornoPresser&) = delete;

    int Presses() const { return m_pressed; }

private:
    void Watch() {
        HWND last = nullptr;
        while (!m_stop) {
            const HWND progress = FindProcessWindow(L"Hledání");
            if (progress != nullptr && progress != last) {
                last = progress;
                Sleep(300);
                PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                ++m_pressed;
            }
            Sleep(20);
        }
    }

    std::atomic<int> m_pressed{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

TEST(LongSearchTest, StoppedAndGoneOnWithFindNextItFindsEveryMatchOnceAndInOrder) {
    // 8 GiB of zeros (sparse: read at 0.4 to 1.5 GB/s here the first time), with ABAB across a
    // block boundary, ABABAB (two overlapping matches) 5 GiB further on, long enough for the
    // progress to show however fast the machine, and ABAB as the last bytes.
    constexpr uint64_t kGiB = uint64_t{1} << 30;
    constexpr uint64_t kLength = 8 * kGiB;
    const std::vector<int64_t> expected = {kGiB - 2, 6 * kGiB, 6 * kGiB + 2, kLength - 4};
    TempFile temp = TempFile::Sparse(kLength, {{kGiB - 2, "ABAB"}, {6 * kGiB, "ABABAB"}, {kLength - 4, "ABAB"}});
    ViewFixture fixture(700, 300);
    ASSERT_TRUE(fixture.Open(temp.path()));
    const auto command = [&](UINT id) { fixture.doc.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr); };

    MessageBoxWatcher watcher;
    StornoPresser presser;
    std::vector<int64_t> found;
    int stops = 0;
    {
        WhenWindowAppears answer(L"Hledat", [](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_HEX_TEXT, L"41424142");
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        command(ID_SEARCH_FIND);
        ASSERT_TRUE(answer.Appeared());
    }
    for (int commands = 0; commands < 200 && watcher.Seen().empty(); ++commands) {
        if (commands > 0)
            command(ID_SEARCH_FIND_NEXT);
        if (!watcher.Seen().empty())
            break;
        // A match marks its line and the search goes on one byte after it. A stopped search says
        // nothing, leaves the mark where it was, and goes on far past where it began (its
        // window came only after a block or more).
        const int64_t position = fixture.doc.GetSearchPos();
        const int64_t marked = fixture.doc.GetMarkedLine();
        if (marked != (position - 1) / 16) {
            ++stops;
            EXPECT_EQ(marked, found.empty() ? 0 : found.back() / 16);
            EXPECT_GT(position, found.empty() ? 0 : found.back() + 1);
            continue;
        }
        found.push_back(position - 1);
    }
    std::printf("the search was stopped %d times (Storno pressed %d times)\n", stops, presser.Presses());
    EXPECT_GE(stops, 1) << "no progress window came";
    EXPECT_EQ(found, expected);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, L"Nenalezeno!");
    EXPECT_EQ(fixture.doc.GetSearchPos(), 0);
}

}  // namespace
