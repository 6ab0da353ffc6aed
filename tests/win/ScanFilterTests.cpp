// The pattern scan's candidate filters as this build compiles them: the 32-bit build's SIMD
// code is only ever run here, under Windows.
#include "doc/PatternScan.h"
#include "tests/native/ScanReference.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(ScanFilterTest, TheProcessorsSimdIsFoundAndEachFilterAgreesWithTheByteAtATimeScan) {
    // Every processor that runs this build's tests has SSE2; a build that failed to see it
    // would scan at a fraction of the speed.
    EXPECT_TRUE(IsScanFilterAvailable(ScanFilter::Sse2));
    EXPECT_NE(FastestScanFilter(), ScanFilter::Plain);

    std::mt19937 random(1307);
    for (const ScanFilter filter : {ScanFilter::Plain, ScanFilter::Sse2, ScanFilter::Avx2}) {
        if (!IsScanFilterAvailable(filter))
            continue;
        for (int round = 0; round < 150; ++round) {
            // Few distinct bytes make many candidates, near matches and overlaps.
            const int letters = 2 + round % 3;
            std::vector<uint8_t> data(std::uniform_int_distribution<size_t>(0, 4000)(random));
            for (uint8_t& b : data)
                b = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, letters - 1)(random) * 0x55);
            std::vector<uint8_t> pattern(std::uniform_int_distribution<size_t>(1, 24)(random));
            for (uint8_t& b : pattern)
                b = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, letters - 1)(random) * 0x55);
            const size_t blockSize = std::uniform_int_distribution<size_t>(1, 1500)(random);
            MemoryReader fast(data);
            MemoryReader naive(data);
            ASSERT_EQ(AllMatches([&](int64_t from) { return FindPattern(fast, pattern, from, blockSize, filter); }),
                      AllMatches([&](int64_t from) { return FindPatternNaive(naive, pattern, from); }))
                << "filter " << static_cast<int>(filter) << " round " << round;
        }
    }
}
