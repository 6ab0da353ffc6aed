#pragma once
// Search of a byte pattern through positioned block reads, and the in-memory
// search it is built on.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Data that can be read at any offset: the document's open file, or memory in tests.
class IPositionedReader {
public:
    virtual ~IPositionedReader() = default;
    // Length of the data in bytes; asked once per scan.
    virtual int64_t Length() = 0;
    // Reads up to `count` bytes from `offset` into `buffer` and returns how
    // many it read: 0 only at the end of the data. May throw (the data cannot
    // be read there); the scan lets the exception through and frees what it
    // holds.
    virtual size_t ReadAt(int64_t offset, void* buffer, size_t count) = 0;
};

inline constexpr size_t kDefaultScanBlockSize = size_t{1} << 20;

// How the searcher finds candidate positions: byte by byte through memchr, or
// with the processor's SSE2 or AVX2 compares, 16 or 32 positions a compare.
// All give the same results; they differ only in speed.
enum class ScanFilter { Plain, Sse2, Avx2 };

// True when this build holds the filter and the processor can run it.
bool IsScanFilterAvailable(ScanFilter filter);
// The fastest filter available, decided once from what the processor offers.
ScanFilter FastestScanFilter();

// First position p >= start (a negative start counts as 0) with
// p <= Length() - pattern.size() at which the data holds the pattern; nullopt
// when there is none or the pattern is empty. Matches may overlap: a scan
// from p + 1 after a match at p finds the next one.
//
// Reads blocks of `blockSize` bytes, keeping pattern.size() - 1 bytes of the
// previous block so that matches across block boundaries are found; memory is
// one block plus the pattern. A read that delivers less than asked ends the
// data there (the file shrank): nothing past the bytes actually read can match.
// A read that throws is tried again in smaller pieces, down to single bytes: a
// match that lies wholly before the first byte that cannot be read is found,
// as a byte-by-byte scan would find it; otherwise the exception goes on.
// Nothing is read when no candidate position exists.
// `filter` is for tests that check each filter; an unavailable one means Plain.
std::optional<int64_t> FindPattern(IPositionedReader& reader, std::span<const uint8_t> pattern, int64_t start,
                                   size_t blockSize = kDefaultScanBlockSize, ScanFilter filter = FastestScanFilter());

// Finds a fixed pattern in memory buffers, fast on ordinary data and never
// worse than linear: candidates are the positions where the pattern's two
// rarest bytes (by a fixed estimate of byte frequencies in files) stand at
// their places, found by the scan filter, then verified; when verifying costs more than
// scanning would, it switches for good to a Knuth-Morris-Pratt scan. One searcher serves the
// successive blocks of one scan, so the switch carries over.
class PatternSearcher {
public:
    // How much verification work the filter may spend beyond the bytes it
    // has scanned before the linear scan takes over.
    static constexpr uint64_t kDefaultVerifyAllowance = uint64_t{256} * 1024;

    explicit PatternSearcher(std::span<const uint8_t> pattern, uint64_t verifyAllowance = kDefaultVerifyAllowance,
                             ScanFilter filter = FastestScanFilter());

    // Offset of the first occurrence lying wholly inside `haystack`.
    std::optional<size_t> Find(std::span<const uint8_t> haystack);

    // True once the searcher has switched to the linear scan.
    bool UsesLinearScan() const { return linear_; }
    ScanFilter Filter() const { return filter_; }

private:
    enum class Candidate { Mismatch, Match, GiveUp };

    std::optional<size_t> FindFiltered(std::span<const uint8_t> haystack, size_t& resumeAt);
    std::optional<size_t> FindLinear(std::span<const uint8_t> haystack, size_t from);
    Candidate CheckCandidate(const uint8_t* haystack, size_t position);
    void SwitchToLinearScan();

    std::vector<uint8_t> pattern_;
    size_t rarestProbe_ = 0;  // offsets in the pattern of the two filter bytes:
    size_t otherProbe_ = 0;   // the rarest one and the next rarest
    ScanFilter filter_;
    std::vector<size_t> failure_;  // KMP table, built on the switch
    uint64_t scanned_ = 0;         // candidate positions passed by the filter
    uint64_t verifyCost_ = 0;      // estimated work spent verifying candidates
    uint64_t verifyAllowance_;
    bool linear_ = false;
};
