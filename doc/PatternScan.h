// PatternScan: the search of a byte pattern through positioned block reads, and the in-memory
// search it is built on. Window-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

class PatternSearcher;

// The scan of FindPattern, one block a step, for a caller that looks up between blocks (to show
// its progress, or to stop). Stopped after any step, it tells where a new scan would go on so that
// no position is skipped and none is searched twice.
class PatternScanner {
public:
    // The reader must outlive the scanner; the pattern is copied.
    PatternScanner(IPositionedReader& reader, std::span<const uint8_t> pattern, int64_t start,
                   size_t blockSize = kDefaultScanBlockSize, ScanFilter filter = FastestScanFilter());
    ~PatternScanner();
    PatternScanner(const PatternScanner&) = delete;
    PatternScanner& operator=(const PatternScanner&) = delete;

    // Reads and searches the next block; false once the scan has ended, with Match() telling
    // how. A read failure goes through as FindPattern says; the scanner is then done.
    bool Step();
    bool Done() const { return m_done; }
    // The match; nullopt when the scan has ended without one, or has not ended yet.
    const std::optional<int64_t>& Match() const { return m_match; }
    // The first candidate position no step has searched yet: a scan started there finds what
    // this one would find next. Before the first step, the start.
    int64_t NextCandidate() const { return m_bufferOffset; }
    // Where the scan started (0 or more) and the length of the data, for its progress.
    int64_t Start() const { return m_start; }
    int64_t Length() const { return m_length; }
    // The size of the following reads, 1 up to the block size the scanner was made with.
    void SetBlockSize(size_t blockSize);
    size_t BlockSize() const { return m_blockSize; }

private:
    IPositionedReader& m_reader;
    size_t m_overlap = 0;   // bytes kept from one block for the next
    size_t m_capacity = 0;  // the largest block size
    size_t m_blockSize = 0;
    std::unique_ptr<uint8_t[]> m_storage;
    uint8_t* m_readTo = nullptr;  // where each block is read, with the kept bytes just before it
    std::unique_ptr<PatternSearcher> m_searcher;
    int64_t m_start = 0;
    int64_t m_length = 0;
    int64_t m_bufferOffset = 0;  // file offset of the first byte kept before m_readTo
    size_t m_kept = 0;           // bytes carried over from the previous block
    std::optional<int64_t> m_match;
    bool m_done = false;
};

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
    bool UsesLinearScan() const { return m_linear; }
    ScanFilter Filter() const { return m_filter; }

private:
    enum class Candidate { Mismatch, Match, GiveUp };

    std::optional<size_t> FindFiltered(std::span<const uint8_t> haystack, size_t& resumeAt);
    std::optional<size_t> FindLinear(std::span<const uint8_t> haystack, size_t from);
    Candidate CheckCandidate(const uint8_t* haystack, size_t position);
    void SwitchToLinearScan();

    std::vector<uint8_t> m_pattern;
    size_t m_rarestProbe = 0;  // offsets in the pattern of the two filter bytes:
    size_t m_otherProbe = 0;   // the rarest one and the next rarest
    ScanFilter m_filter;
    std::vector<size_t> m_failure;  // KMP table, built on the switch
    uint64_t m_scanned = 0;         // candidate positions passed by the filter
    uint64_t m_verifyCost = 0;      // estimated work spent verifying candidates
    uint64_t m_verifyAllowance;
    bool m_linear = false;
};
