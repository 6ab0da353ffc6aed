// The block scan, whole or stopped and started again, and the in-memory searcher with any
// switch-over point, against the byte-at-a-time reference, over readers that deliver short
// reads or end their data early; each with every candidate filter that the
// processor can run.

#include "doc/PatternScan.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/native/ScanReference.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr ScanFilter kFilters[] = {ScanFilter::Plain, ScanFilter::Sse2, ScanFilter::Avx2};
constexpr size_t kMatchLimit = 64;

// The byte-at-a-time scan's successive matches, the reference for every filter; it is by far the
// slowest part of a run, so it runs once per input.
std::vector<int64_t> NaiveMatches(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& pattern,
                                  int64_t start, size_t maxChunk, size_t available) {
    MemoryReader reader(haystack);
    reader.MaxChunk(maxChunk).EndDataAt(available);
    return AllMatches([&](int64_t from) { return FindPatternNaive(reader, pattern, from); }, start, kMatchLimit);
}

void CheckBlockScan(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& pattern, size_t blockSize,
                    int64_t start, size_t maxChunk, size_t available, ScanFilter filter,
                    const std::vector<int64_t>& naive) {
    MemoryReader fastReader(haystack);
    fastReader.MaxChunk(maxChunk).EndDataAt(available);
    const auto fast = AllMatches(
        [&](int64_t from) { return FindPattern(fastReader, pattern, from, blockSize, filter); }, start, kMatchLimit);
    FUZZ_CHECK(fast == naive);
}

// A scan stopped after every `stepsPerRun` blocks and started again where it stopped, its blocks
// resized between steps as a slow disk makes them, finds just what one scan finds.
void CheckStoppedScan(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& pattern, size_t blockSize,
                      int64_t start, size_t maxChunk, size_t available, unsigned stepsPerRun,
                      const std::vector<int64_t>& naive) {
    MemoryReader reader(haystack);
    reader.MaxChunk(maxChunk).EndDataAt(available);
    const auto found = AllMatches(
        [&](int64_t from) -> std::optional<int64_t> {
            for (;;) {
                PatternScanner scanner(reader, pattern, from, blockSize);
                // Stopped once it has searched a position (until a block holds a whole pattern,
                // a new scan would start where this one did).
                unsigned steps = 0;
                while (scanner.Step()) {
                    scanner.SetBlockSize(scanner.BlockSize() % 3 == 0 ? blockSize : scanner.BlockSize() / 2 + 1);
                    if (++steps >= stepsPerRun && scanner.NextCandidate() > std::max<int64_t>(from, 0))
                        break;
                }
                if (scanner.Done())
                    return scanner.Match();
                from = scanner.NextCandidate();
            }
        },
        start, kMatchLimit);
    FUZZ_CHECK(found == naive);
}

void CheckSearcher(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& pattern, uint64_t allowance,
                   ScanFilter filter, const std::vector<int64_t>& naive) {
    PatternSearcher searcher(pattern, allowance, filter);
    FUZZ_CHECK(searcher.Filter() == filter);
    std::vector<int64_t> found;
    for (size_t from = 0; found.size() < kMatchLimit && from <= haystack.size();) {
        const std::optional<size_t> at = searcher.Find(std::span<const uint8_t>(haystack).subspan(from));
        if (!at)
            break;
        found.push_back(static_cast<int64_t>(from + *at));
        from += *at + 1;
    }
    FUZZ_CHECK(found == naive);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const size_t patternSize = input.ConsumeIntegralInRange<size_t>(0, 40);
    const size_t blockSize = input.ConsumeBool() ? input.ConsumeIntegralInRange<size_t>(1, 64)
                                                 : input.ConsumeIntegralInRange<size_t>(1, 1 << 16);
    const int64_t startShift = input.ConsumeIntegralInRange<int64_t>(-3, 300);
    const size_t maxChunk = input.ConsumeBool() ? input.ConsumeIntegralInRange<size_t>(1, 17) : static_cast<size_t>(-1);
    const bool endsEarly = input.ConsumeBool();
    const uint8_t alphabet = input.ConsumeIntegral<uint8_t>();  // 0: raw bytes
    const uint64_t allowance = input.ConsumeIntegralInRange<uint64_t>(0, 200);
    const unsigned stepsPerRun = input.ConsumeIntegralInRange<unsigned>(1, 4);

    std::vector<uint8_t> pattern = input.ConsumeBytes<uint8_t>(patternSize);
    std::vector<uint8_t> haystack = input.ConsumeRemainingBytes<uint8_t>();
    if (alphabet != 0) {
        // Few distinct bytes make many near matches and overlaps.
        const unsigned letters = 1u + alphabet % 3u;
        for (uint8_t& b : pattern)
            b = static_cast<uint8_t>(b % letters);
        for (uint8_t& b : haystack)
            b = static_cast<uint8_t>(b % letters);
    }
    const size_t available = endsEarly ? haystack.size() * 3 / 4 : haystack.size();

    const std::vector<int64_t> naiveBlocks = NaiveMatches(haystack, pattern, startShift, maxChunk, available);
    const std::vector<int64_t> naiveSearch =
        NaiveMatches(haystack, pattern, 0, static_cast<size_t>(-1), haystack.size());
    CheckStoppedScan(haystack, pattern, blockSize, startShift, maxChunk, available, stepsPerRun, naiveBlocks);
    for (const ScanFilter filter : kFilters) {
        if (!IsScanFilterAvailable(filter))
            continue;
        CheckBlockScan(haystack, pattern, blockSize, startShift, maxChunk, available, filter, naiveBlocks);
        CheckSearcher(haystack, pattern, allowance, filter, naiveSearch);
    }
    return 0;
}
