#include "doc/PatternScan.h"
#include "tests/native/ScanReference.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::vector<int64_t> FastMatches(const Bytes& data, const Bytes& pattern, size_t blockSize, int64_t start = 0) {
    MemoryReader reader(data);
    return AllMatches([&](int64_t from) { return FindPattern(reader, pattern, from, blockSize); }, start);
}

std::vector<int64_t> NaiveMatches(const Bytes& data, const Bytes& pattern, int64_t start = 0) {
    MemoryReader reader(data);
    return AllMatches([&](int64_t from) { return FindPatternNaive(reader, pattern, from); }, start);
}

Bytes RandomBytes(std::mt19937& random, size_t size, int alphabet) {
    std::uniform_int_distribution<int> byte(0, alphabet - 1);
    Bytes data(size);
    for (uint8_t& b : data)
        b = static_cast<uint8_t>(0x41 + byte(random));
    return data;
}

}  // namespace

TEST(PatternScan, OverlappingMatchesAreEachFound) {
    const Bytes data{0x41, 0x41, 0x41, 0x41};
    const Bytes pattern{0x41, 0x41};
    MemoryReader reader(data);
    EXPECT_EQ(FindPattern(reader, pattern, 0), 0);
    EXPECT_EQ(FindPattern(reader, pattern, 1), 1);
    EXPECT_EQ(FindPattern(reader, pattern, 2), 2);
    EXPECT_EQ(FindPattern(reader, pattern, 3), std::nullopt);
    EXPECT_EQ(FindPattern(reader, pattern, 0), 0);
}

TEST(PatternScan, BoundsOfTheCandidateRange) {
    const Bytes data = BytesOf("Hello World");
    MemoryReader reader(data);
    EXPECT_EQ(FindPattern(reader, data, 0), 0);  // the whole file
    Bytes longer = data;
    longer.push_back('!');
    EXPECT_EQ(FindPattern(reader, longer, 0), std::nullopt);          // one byte longer
    EXPECT_EQ(reader.reads, 1u);                                      // ... and that without reading
    EXPECT_EQ(FindPattern(reader, BytesOf("ld"), 9), 9);              // start at the last candidate
    EXPECT_EQ(FindPattern(reader, BytesOf("ld"), 10), std::nullopt);  // and past it
    EXPECT_EQ(FindPattern(reader, BytesOf("d"), 10), 10);
    EXPECT_EQ(FindPattern(reader, BytesOf("d"), 11), std::nullopt);
    EXPECT_EQ(FindPattern(reader, BytesOf("d"), 1000), std::nullopt);
    EXPECT_EQ(FindPattern(reader, BytesOf("H"), -5), 0);                // a negative start counts as 0
    EXPECT_EQ(FindPattern(reader, Bytes{}, 0), std::nullopt);           // nothing to look for
    EXPECT_EQ(FindPattern(reader, BytesOf("hello"), 0), std::nullopt);  // exact, no case folding

    const Bytes empty;
    MemoryReader emptyReader(empty);
    EXPECT_EQ(FindPattern(emptyReader, BytesOf("A"), 0), std::nullopt);
    EXPECT_EQ(emptyReader.reads, 0u);
}

TEST(PatternScan, MatchesAcrossBlockBoundaries) {
    const Bytes pattern = BytesOf("XYZW");
    for (size_t blockSize : {1u, 2u, 3u, 4u, 5u, 8u, 16u}) {
        for (size_t at = 0; at + pattern.size() <= 48; ++at) {
            Bytes data(48, 'X');
            std::copy(pattern.begin(), pattern.end(), data.begin() + static_cast<ptrdiff_t>(at));
            MemoryReader reader(data);
            EXPECT_EQ(FindPattern(reader, pattern, 0, blockSize), static_cast<int64_t>(at))
                << "block " << blockSize << " match at " << at;
        }
    }
}

TEST(PatternScan, AgreesWithTheReferenceOnRandomData) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 600; ++round) {
        const int alphabet = 1 + round % 4;  // few letters: many matches
        const size_t size = std::uniform_int_distribution<size_t>(0, 300)(random);
        const Bytes data = RandomBytes(random, size, alphabet);
        const size_t patternSize = std::uniform_int_distribution<size_t>(1, 6)(random);
        Bytes pattern = RandomBytes(random, patternSize, alphabet);
        if (round % 3 == 0 && size >= patternSize) {  // one taken from the data
            const size_t at = std::uniform_int_distribution<size_t>(0, size - patternSize)(random);
            pattern.assign(data.begin() + static_cast<ptrdiff_t>(at),
                           data.begin() + static_cast<ptrdiff_t>(at + patternSize));
        }
        const size_t blockSize = std::uniform_int_distribution<size_t>(1, 70)(random);
        const int64_t start = std::uniform_int_distribution<int64_t>(-2, static_cast<int64_t>(size) + 2)(random);
        ASSERT_EQ(FastMatches(data, pattern, blockSize, start), NaiveMatches(data, pattern, start))
            << "round " << round << " block " << blockSize << " start " << start;
    }
}

TEST(PatternScan, LargeDataWithDefaultBlocks) {
    std::mt19937 random(7);
    Bytes data(3 * 1024 * 1024 + 17);
    for (uint8_t& b : data)
        b = static_cast<uint8_t>(random());
    const Bytes pattern{0x00, 0x4F, 0x4B, 0x00, 0xFF};
    for (size_t at : {(size_t{1} << 20) - 2, (size_t{1} << 20) + 5, (size_t{2} << 20) + 1, data.size() - 5})
        std::copy(pattern.begin(), pattern.end(), data.begin() + static_cast<ptrdiff_t>(at));
    EXPECT_EQ(FastMatches(data, pattern, kDefaultScanBlockSize), NaiveMatches(data, pattern));
    EXPECT_EQ(FastMatches(data, pattern, kDefaultScanBlockSize).size(), 4u);
}

TEST(PatternScan, ShortReadsGiveTheSameResults) {
    std::mt19937 random(99);
    const Bytes data = RandomBytes(random, 5000, 3);
    const Bytes pattern = BytesOf("ABCA");
    const std::vector<int64_t> expected = NaiveMatches(data, pattern);
    ASSERT_FALSE(expected.empty());
    for (size_t chunk : {1u, 3u, 64u, 1000u}) {
        MemoryReader reader(data);
        reader.MaxChunk(chunk);
        EXPECT_EQ(AllMatches([&](int64_t from) { return FindPattern(reader, pattern, from, 256); }), expected)
            << "chunk " << chunk;
    }
}

TEST(PatternScan, DataEndingEarlyNeverMatchesUnreadBytes) {
    // The file reports 100 bytes but only 60 can be read (it shrank).
    Bytes data(100, '.');
    const Bytes pattern = BytesOf("MARK");
    std::copy(pattern.begin(), pattern.end(), data.begin() + 58);  // crosses the end of the data
    std::copy(pattern.begin(), pattern.end(), data.begin() + 80);  // wholly past it
    for (size_t blockSize : {7u, 16u, 1024u}) {
        MemoryReader reader(data);
        reader.EndDataAt(60);
        EXPECT_EQ(FindPattern(reader, pattern, 0, blockSize), std::nullopt) << blockSize;
        EXPECT_LE(reader.bytesRead, 60u);
    }
    std::copy(pattern.begin(), pattern.end(), data.begin() + 50);  // inside the data
    MemoryReader reader(data);
    reader.EndDataAt(60);
    EXPECT_EQ(FindPattern(reader, pattern, 0, 16), 50);
    EXPECT_EQ(FindPattern(reader, pattern, 51, 16), std::nullopt);
}

TEST(PatternScan, ReadFailureEndsTheScanWhereTheDataCannotBeRead) {
    // Every read that reaches byte 5000 fails whole, as a disk refuses a request that takes in a
    // bad sector.
    const Bytes data(10000, 'a');
    for (const size_t blockSize : {size_t{1024}, kDefaultScanBlockSize}) {
        SCOPED_TRACE(blockSize);
        MemoryReader reader(data);
        reader.ThrowAt(5000);
        EXPECT_THROW(FindPattern(reader, BytesOf("bc"), 0, blockSize), std::runtime_error);
        // A match that ends before the failing byte is found, also in the block that fails;
        // one that takes the failing byte in is not.
        for (const size_t at : {size_t{100}, size_t{4500}, size_t{4998}, size_t{4999}}) {
            Bytes marked = data;
            marked[at] = 'b';
            marked[at + 1] = 'c';
            MemoryReader early(marked);
            early.ThrowAt(5000);
            if (at + 2 <= 5000) {
                EXPECT_EQ(FindPattern(early, BytesOf("bc"), 0, blockSize), static_cast<int64_t>(at));
            } else {
                EXPECT_THROW(FindPattern(early, BytesOf("bc"), 0, blockSize), std::runtime_error);
            }
        }
    }
}

TEST(PatternScan, MemoryStaysWithinBlockAndPattern) {
    // Reads never ask for more than one block, whatever the file size.
    class CountingReader : public MemoryReader {
    public:
        using MemoryReader::MemoryReader;
        size_t ReadAt(int64_t offset, void* buffer, size_t count) override {
            largest = std::max(largest, count);
            return MemoryReader::ReadAt(offset, buffer, count);
        }
        size_t largest = 0;
    };
    const Bytes data(100000, 'x');
    CountingReader reader(data);
    EXPECT_EQ(FindPattern(reader, BytesOf("xy"), 0, 4096), std::nullopt);
    EXPECT_LE(reader.largest, 4096u);
    EXPECT_EQ(reader.bytesRead, data.size());  // each byte read once
}

TEST(PatternSearcher, RepetitiveDataSwitchesToTheLinearScan) {
    // Runs of 63 zeros and a one against 64 zeros: every position is a
    // candidate that fails late. The result must stay exact, and the searcher
    // must stop verifying candidates one by one.
    Bytes data;
    for (int run = 0; run < 20000; ++run) {
        data.insert(data.end(), 63, 0x00);
        data.push_back(0x01);
    }
    const Bytes pattern(64, 0x00);
    PatternSearcher searcher(pattern);
    EXPECT_EQ(searcher.Find(data), std::nullopt);
    EXPECT_TRUE(searcher.UsesLinearScan());
    data.insert(data.end(), 64, 0x00);
    EXPECT_EQ(searcher.Find(data), data.size() - 64);
    EXPECT_EQ(FastMatches(data, pattern, 4096), NaiveMatches(data, pattern));
}

TEST(PatternSearcher, OrdinaryTextKeepsTheFilter) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "the quick brown fox jumps over the lazy dog; ";
    const Bytes data = BytesOf(text);
    PatternSearcher searcher(BytesOf("the lazy cat"));
    EXPECT_EQ(searcher.Find(data), std::nullopt);
    EXPECT_FALSE(searcher.UsesLinearScan());
}

TEST(PatternSearcher, SwitchingMidBufferKeepsResultsExact) {
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        const Bytes data = RandomBytes(random, 400, 2);
        const Bytes pattern = RandomBytes(random, 1 + round % 9, 2);
        PatternSearcher searcher(pattern, static_cast<uint64_t>(round % 40));
        MemoryReader reader(data);
        const std::optional<int64_t> expected = FindPatternNaive(reader, pattern, 0);
        const std::optional<size_t> found = searcher.Find(data);
        ASSERT_EQ(found.has_value(), expected.has_value()) << round;
        if (found) {
            ASSERT_EQ(static_cast<int64_t>(*found), *expected) << round;
        }
    }
}

TEST(PatternSearcher, EveryFilterFindsTheMatchAtEachPositionOfEachLength) {
    // The probed bytes are the pattern's first and last (the rarest two). The fill matches the
    // first probe everywhere, and a decoy before the match matches both probes but not the
    // bytes between: a filter must pair the probes right, go on after a failed candidate in
    // the same step, and reach the positions of its last steps and of the tail after them.
    const Bytes pattern{0xF7, 'a', 'b', 0x00, 0xE3};
    const Bytes decoy{0xF7, 'a', 'X', 0x00, 0xE3};
    for (const ScanFilter filter : {ScanFilter::Plain, ScanFilter::Sse2, ScanFilter::Avx2}) {
        if (!IsScanFilterAvailable(filter))
            continue;
        for (size_t size = pattern.size(); size <= 140; ++size) {
            const Bytes fill(size, 0xF7);
            PatternSearcher none(pattern, PatternSearcher::kDefaultVerifyAllowance, filter);
            ASSERT_EQ(none.Filter(), filter);
            ASSERT_EQ(none.Find(fill), std::nullopt) << "size " << size;
            for (size_t at = 0; at + pattern.size() <= size; ++at) {
                Bytes data = fill;
                if (at >= decoy.size())
                    std::copy(decoy.begin(), decoy.end(), data.begin() + static_cast<ptrdiff_t>(at - decoy.size()));
                std::copy(pattern.begin(), pattern.end(), data.begin() + static_cast<ptrdiff_t>(at));
                PatternSearcher searcher(pattern, PatternSearcher::kDefaultVerifyAllowance, filter);
                ASSERT_EQ(searcher.Find(data), at) << "filter " << static_cast<int>(filter) << " size " << size;
            }
        }
    }
}

TEST(PatternScan, AScanStoppedBetweenBlocksGoesOnWhereItStopped) {
    // Matches at block boundaries, overlapping, and at the very end.
    std::vector<uint8_t> data(1 << 16, 'x');
    const std::string pattern = "abab";
    std::vector<int64_t> expected;
    for (const size_t at : {size_t{0}, size_t{1022}, size_t{1024}, size_t{1026}, size_t{4095}, size_t{40000},
                            data.size() - pattern.size()}) {
        std::copy(pattern.begin(), pattern.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    }
    MemoryReader reader(data);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(pattern.data()), pattern.size());
    expected = AllMatches([&](int64_t from) { return FindPatternNaive(reader, bytes, from); });
    ASSERT_EQ(expected.size(), 7u);  // the three at 1022 to 1026 overlap

    // Stopped after every block, then started anew where it stopped, as Storno and Find Next do.
    size_t runs = 0;
    const auto stopped = AllMatches([&](int64_t from) -> std::optional<int64_t> {
        for (;;) {
            PatternScanner scanner(reader, bytes, from, 1024);
            ++runs;
            const bool more = scanner.Step();
            if (!more)
                return scanner.Match();
            EXPECT_EQ(scanner.NextCandidate(), from + 1024 - 3) << "the last three bytes are searched again, no more";
            from = scanner.NextCandidate();
        }
    });
    EXPECT_EQ(stopped, expected);
    EXPECT_GT(runs, 60u);

    // Before its first step a scanner stands at its start; a scan that finds nothing ends there.
    PatternScanner fresh(reader, bytes, 5000);
    EXPECT_EQ(fresh.NextCandidate(), 5000);
    EXPECT_EQ(fresh.Start(), 5000);
    EXPECT_EQ(fresh.Length(), static_cast<int64_t>(data.size()));
    EXPECT_FALSE(fresh.Done());
    PatternScanner none(reader, bytes, static_cast<int64_t>(data.size()) - 3);
    EXPECT_TRUE(none.Done()) << "no candidate: nothing to read";
    EXPECT_FALSE(none.Step());
    EXPECT_FALSE(none.Match());
}
