// The block scan, and the in-memory searcher with any switch-over point,
// against the byte-at-a-time reference, over readers that deliver short
// reads or end their data early; each with every candidate filter that the
// processor can run.

#include "doc/PatternScan.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/native/ScanReference.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

namespace {

constexpr ScanFilter kFilters[] = {ScanFilter::Plain, ScanFilter::Sse2, ScanFilter::Avx2};

void CheckBlockScan(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& pattern,
                    size_t blockSize, int64_t start, size_t maxChunk, size_t available,
                    ScanFilter filter)
{
    MemoryReader fastReader(haystack);
    MemoryReader naiveReader(haystack);
    fastReader.MaxChunk(maxChunk).EndDataAt(available);
    naiveReader.MaxChunk(maxChunk).EndDataAt(available);
    const auto fast = AllMatches(
        [&](int64_t from) { return FindPattern(fastReader, pattern, from, blockSize, filter); }, start, 64);
    const auto naive = AllMatches(
        [&](int64_t from) { return FindPatternNaive(naiveReader, pattern, from); }, start, 64);
    FUZZ_CHECK(fast == naive);
}

void CheckSearcher(const std::vector<uint8_t>& haystack, const std::vector<uint8_t>& pattern,
                   uint64_t allowance, ScanFilter filter)
{
    PatternSearcher searcher(pattern, allowance, filter);
    FUZZ_CHECK(searcher.Filter() == filter);
    MemoryReader reader(haystack);
    size_t from = 0;
    for (int i = 0; i < 64 && from <= haystack.size(); ++i) {
        const std::optional<size_t> found =
            searcher.Find(std::span<const uint8_t>(haystack).subspan(from));
        const std::optional<int64_t> expected =
            FindPatternNaive(reader, pattern, static_cast<int64_t>(from));
        FUZZ_CHECK(found.has_value() == expected.has_value());
        if (!found)
            break;
        FUZZ_CHECK(static_cast<int64_t>(from + *found) == *expected);
        from += *found + 1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const size_t patternSize = input.ConsumeIntegralInRange<size_t>(0, 40);
    const size_t blockSize = input.ConsumeBool() ? input.ConsumeIntegralInRange<size_t>(1, 64)
                                                 : input.ConsumeIntegralInRange<size_t>(1, 1 << 16);
    const int64_t startShift = input.ConsumeIntegralInRange<int64_t>(-3, 300);
    const size_t maxChunk = input.ConsumeBool() ? input.ConsumeIntegralInRange<size_t>(1, 17)
                                                : static_cast<size_t>(-1);
    const bool endsEarly = input.ConsumeBool();
    const uint8_t alphabet = input.ConsumeIntegral<uint8_t>(); // 0: raw bytes
    const uint64_t allowance = input.ConsumeIntegralInRange<uint64_t>(0, 200);

    std::vector<uint8_t> pattern = input.ConsumeBytes<uint8_t>(patternSize);
    std::vector<uint8_t> haystack = input.ConsumeRemainingBytes<uint8_t>();
    if (alphabet != 0) {
        // Few distinct bytes make many near matches and overlaps.
        const unsigned letters = 1u + alphabet % 3u;
        for (uint8_t& b : pattern) b = static_cast<uint8_t>(b % letters);
        for (uint8_t& b : haystack) b = static_cast<uint8_t>(b % letters);
    }
    const size_t available = endsEarly ? haystack.size() * 3 / 4 : haystack.size();

    for (const ScanFilter filter : kFilters) {
        if (!IsScanFilterAvailable(filter))
            continue;
        CheckBlockScan(haystack, pattern, blockSize, startShift, maxChunk, available, filter);
        CheckSearcher(haystack, pattern, allowance, filter);
    }
    return 0;
}
