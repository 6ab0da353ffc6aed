// PatternScan: the candidate filters (AVX2, SSE2, memchr), the check of each candidate, the
// in-memory search and the block scan over a positioned reader.
#include "doc/PatternScan.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>

// The SIMD filters are compiled for x86 processors whatever the target assumes (the i686 build
// assumes no SSE2) and chosen at run time by what the processor offers. PATTERN_SCAN_PORTABLE
// leaves them out, as a compiler for another processor would.
#if !defined(PATTERN_SCAN_PORTABLE) && (defined(__i386__) || defined(__x86_64__)) && \
    (defined(__GNUC__) || defined(__clang__))
#define PATTERN_SCAN_X86 1
#include <immintrin.h>
// The 32-bit Windows stack is only 4-byte aligned when the system calls into the program, so
// the SIMD functions align their own frames for the vectors that they may keep there.
#if defined(__i386__)
#define SCAN_ALIGNS_STACK gnu::force_align_arg_pointer,
#else
#define SCAN_ALIGNS_STACK
#endif
#endif

namespace {

// A rough rank of how often each byte value occurs in everyday files (higher
// is more common): zero and 0xFF fill binaries, blanks and lower-case letters
// fill text. Only the choice of filter bytes depends on it, never a result.
using ByteRanks = std::array<uint8_t, 256>;

constexpr void RankRange(ByteRanks& rank, size_t first, size_t last, uint8_t value) {
    for (size_t b = first; b <= last; ++b)
        rank[b] = value;
}

constexpr ByteRanks MakeCommonness() {
    ByteRanks rank{};
    RankRange(rank, 0x80, 0xFF, 60);
    RankRange(rank, 0x01, 0x1F, 90);   // control bytes
    RankRange(rank, 0x01, 0x08, 120);  // small numbers in binary data
    RankRange(rank, 0x21, 0x7E, 110);  // punctuation and symbols
    for (char c : ".,;:-_()/=\"'*")
        rank[static_cast<uint8_t>(c)] = 150;
    RankRange(rank, 'A', 'Z', 160);
    RankRange(rank, '0', '9', 170);
    RankRange(rank, 'a', 'z', 190);
    constexpr char kFrequentLetters[] = "zxqjkvbpygfwmuclhrdsnioate";  // rising frequency
    for (int i = 0; kFrequentLetters[i] != '\0'; ++i)
        rank[static_cast<uint8_t>(kFrequentLetters[i])] = static_cast<uint8_t>(180 + 2 * i);
    rank['\t'] = 200;
    rank['\r'] = 210;
    rank['\n'] = 215;
    rank[0x20] = 245;
    rank[0xFF] = 240;
    rank[0x00] = 255;
    return rank;
}

constexpr ByteRanks kCommonness = MakeCommonness();

// Verifying a candidate costs about this much on top of the bytes compared,
// in the same unit as one byte scanned by the filter.
constexpr uint64_t kCandidateOverhead = 16;

// Number of leading bytes that agree, compared eight at a time.
size_t CommonPrefixLength(const uint8_t* a, const uint8_t* b, size_t n) {
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (const uint64_t diff = x ^ y) {
            const int bit =
                std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff);
            return i + static_cast<size_t>(bit / 8);
        }
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

size_t RarestIndex(std::span<const uint8_t> pattern, size_t skip) {
    size_t best = skip == 0 ? 1 : 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (i != skip && kCommonness[pattern[i]] < kCommonness[pattern[best]])
            best = i;
    }
    return best;
}

std::vector<size_t> KmpFailureTable(std::span<const uint8_t> pattern) {
    std::vector<size_t> failure(pattern.size(), 0);
    size_t k = 0;
    for (size_t i = 1; i < pattern.size(); ++i) {
        while (k > 0 && pattern[i] != pattern[k])
            k = failure[k - 1];
        if (pattern[i] == pattern[k])
            ++k;
        failure[i] = k;
    }
    return failure;
}

// Where the filter looks: candidates are the positions p at which data[p + rarest] equals
// rarestByte and data[p + other] equals otherByte.
struct FilterProbes {
    size_t rarest;
    size_t other;
    uint8_t rarestByte;
    uint8_t otherByte;
};

// Each filter returns the first candidate p with from <= p < end, or end when there is none;
// it reads data[p + rarest] and data[p + other] for p < end only.
using CandidateFinder = size_t (*)(const uint8_t* data, size_t from, size_t end, const FilterProbes& probes);

size_t NextCandidatePlain(const uint8_t* data, size_t p, size_t end, const FilterProbes& probes) {
    while (p < end) {
        const void* hit = std::memchr(data + p + probes.rarest, probes.rarestByte, end - p);
        if (hit == nullptr)
            return end;
        p = static_cast<size_t>(static_cast<const uint8_t*>(hit) - data) - probes.rarest;
        if (data[p + probes.other] == probes.otherByte)
            return p;
        ++p;
    }
    return end;
}

#ifdef PATTERN_SCAN_X86
// The positions among the 16 from p whose two probed bytes both hold the wanted values, a bit
// each. Once inlined, the splats of the wanted bytes are loop-invariant and leave the loop.
[[gnu::target("sse2"), gnu::always_inline]] inline unsigned HitBits16(const uint8_t* data, size_t p,
                                                                      const FilterProbes& probes) {
    const __m128i rarest = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + probes.rarest + p));
    const __m128i other = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + probes.other + p));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(rarest, _mm_set1_epi8(static_cast<char>(probes.rarestByte))),
                                        _mm_cmpeq_epi8(other, _mm_set1_epi8(static_cast<char>(probes.otherByte))))));
}

// The same for the 32 positions from p, as a byte mask.
[[gnu::target("avx2"), gnu::always_inline]] inline __m256i Hits32(const uint8_t* data, size_t p,
                                                                  const FilterProbes& probes) {
    const __m256i rarest = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + probes.rarest + p));
    const __m256i other = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + probes.other + p));
    return _mm256_and_si256(_mm256_cmpeq_epi8(rarest, _mm256_set1_epi8(static_cast<char>(probes.rarestByte))),
                            _mm256_cmpeq_epi8(other, _mm256_set1_epi8(static_cast<char>(probes.otherByte))));
}

// 32 positions a step; loads are unaligned, so no data needs any alignment.
[[SCAN_ALIGNS_STACK gnu::target("sse2")]] size_t NextCandidateSse2(const uint8_t* data, size_t p, size_t end,
                                                                   const FilterProbes& probes) {
    for (; end - p >= 32; p += 32) {
        const unsigned both = HitBits16(data, p, probes) | HitBits16(data, p + 16, probes) << 16;
        if (both != 0)
            return p + static_cast<size_t>(std::countr_zero(both));
    }
    return NextCandidatePlain(data, p, end, probes);
}

// 64 positions a step, with one branch for all of them.
[[SCAN_ALIGNS_STACK gnu::target("avx2")]] size_t NextCandidateAvx2(const uint8_t* data, size_t p, size_t end,
                                                                   const FilterProbes& probes) {
    for (; end - p >= 64; p += 64) {
        const __m256i low = Hits32(data, p, probes);
        const __m256i high = Hits32(data, p + 32, probes);
        const __m256i any = _mm256_or_si256(low, high);
        if (_mm256_testz_si256(any, any) == 0) {
            const auto lowMask = static_cast<uint32_t>(_mm256_movemask_epi8(low));
            const auto highMask = static_cast<uint32_t>(_mm256_movemask_epi8(high));
            return p + static_cast<size_t>(lowMask != 0 ? std::countr_zero(lowMask) : 32 + std::countr_zero(highMask));
        }
    }
    if (end - p >= 32) {
        if (const auto mask = static_cast<uint32_t>(_mm256_movemask_epi8(Hits32(data, p, probes))))
            return p + static_cast<size_t>(std::countr_zero(mask));
        p += 32;
    }
    return NextCandidateSse2(data, p, end, probes);
}
#endif

CandidateFinder FinderFor(ScanFilter filter) {
    switch (filter) {
#ifdef PATTERN_SCAN_X86
    case ScanFilter::Avx2:
        return &NextCandidateAvx2;
    case ScanFilter::Sse2:
        return &NextCandidateSse2;
#endif
    default:
        return &NextCandidatePlain;
    }
}

// Reads until `count` bytes are in or the reader reports the end of data. A read that fails is
// tried again in smaller pieces, down to single bytes, so that everything before the first byte
// that cannot be read comes in (a disk may refuse a whole request for one bad sector); the
// failure is then handed back in `failure`, to be raised once those bytes have been searched.
size_t ReadFully(IPositionedReader& reader, int64_t offset, uint8_t* buffer, size_t count,
                 std::exception_ptr& failure) {
    constexpr size_t kPieceDivisor = 16;
    size_t total = 0;
    size_t piece = count;
    while (total < count) {
        size_t got = 0;
        try {
            got = reader.ReadAt(offset + static_cast<int64_t>(total), buffer + total, std::min(piece, count - total));
        } catch (...) {
            if (piece == 1) {
                failure = std::current_exception();
                break;
            }
            piece = std::max<size_t>(piece / kPieceDivisor, 1);
            continue;
        }
        if (got == 0)
            break;
        total += std::min(got, count - total);
    }
    return total;
}

}  // namespace

bool IsScanFilterAvailable(ScanFilter filter) {
#ifdef PATTERN_SCAN_X86
    __builtin_cpu_init();  // the processor's features may not have been read yet during start-up
#endif
    switch (filter) {
    case ScanFilter::Plain:
        return true;
#ifdef PATTERN_SCAN_X86
    case ScanFilter::Sse2:
        return __builtin_cpu_supports("sse2");
    case ScanFilter::Avx2:
        // Also false where the system does not keep the AVX registers across task switches.
        return __builtin_cpu_supports("avx2");
#endif
    default:
        return false;
    }
}

ScanFilter FastestScanFilter() {
    static const ScanFilter fastest = IsScanFilterAvailable(ScanFilter::Avx2)   ? ScanFilter::Avx2
                                      : IsScanFilterAvailable(ScanFilter::Sse2) ? ScanFilter::Sse2
                                                                                : ScanFilter::Plain;
    return fastest;
}

PatternSearcher::PatternSearcher(std::span<const uint8_t> pattern, uint64_t verifyAllowance, ScanFilter filter)
    : m_pattern(pattern.begin(), pattern.end()), m_filter(IsScanFilterAvailable(filter) ? filter : ScanFilter::Plain),
      m_verifyAllowance(verifyAllowance) {
    if (m_pattern.size() >= 2) {
        m_rarestProbe = RarestIndex(m_pattern, m_pattern.size());
        m_otherProbe = RarestIndex(m_pattern, m_rarestProbe);
    }
}

std::optional<size_t> PatternSearcher::Find(std::span<const uint8_t> haystack) {
    if (m_pattern.empty() || haystack.size() < m_pattern.size())
        return std::nullopt;
    size_t from = 0;
    if (!m_linear) {
        if (std::optional<size_t> match = FindFiltered(haystack, from))
            return match;
        if (!m_linear)
            return std::nullopt;
    }
    return FindLinear(haystack, from);
}

PatternSearcher::Candidate PatternSearcher::CheckCandidate(const uint8_t* haystack, size_t position) {
    const size_t agreed = CommonPrefixLength(haystack + position, m_pattern.data(), m_pattern.size());
    if (agreed == m_pattern.size())
        return Candidate::Match;
    m_verifyCost += kCandidateOverhead + agreed;
    if (m_verifyCost > m_verifyAllowance && m_verifyCost - m_verifyAllowance > m_scanned + position) {
        SwitchToLinearScan();
        return Candidate::GiveUp;
    }
    return Candidate::Mismatch;
}

void PatternSearcher::SwitchToLinearScan() {
    m_failure = KmpFailureTable(m_pattern);
    m_linear = true;
}

// On a switch to the linear scan `resumeAt` tells where it takes over.
std::optional<size_t> PatternSearcher::FindFiltered(std::span<const uint8_t> haystack, size_t& resumeAt) {
    const uint8_t* const data = haystack.data();
    const size_t end = haystack.size() - m_pattern.size() + 1;  // one past the last start
    const FilterProbes probes{m_rarestProbe, m_otherProbe, m_pattern[m_rarestProbe], m_pattern[m_otherProbe]};
    const CandidateFinder nextCandidate = FinderFor(m_filter);
    for (size_t p = nextCandidate(data, 0, end, probes); p < end; p = nextCandidate(data, p + 1, end, probes)) {
        switch (CheckCandidate(data, p)) {
        case Candidate::Match:
            return p;
        case Candidate::GiveUp:
            resumeAt = p + 1;
            return std::nullopt;
        case Candidate::Mismatch:
            break;
        }
    }
    m_scanned += end;
    return std::nullopt;
}

std::optional<size_t> PatternSearcher::FindLinear(std::span<const uint8_t> haystack, size_t from) {
    const size_t length = m_pattern.size();
    size_t matched = 0;
    for (size_t i = from; i < haystack.size(); ++i) {
        while (matched > 0 && haystack[i] != m_pattern[matched])
            matched = m_failure[matched - 1];
        if (haystack[i] == m_pattern[matched])
            ++matched;
        if (matched == length)
            return i + 1 - length;
    }
    return std::nullopt;
}

std::optional<int64_t> FindPattern(IPositionedReader& reader, std::span<const uint8_t> pattern, int64_t start,
                                   size_t blockSize, ScanFilter filter) {
    PatternScanner scanner(reader, pattern, start, blockSize, filter);
    while (scanner.Step()) {
    }
    return scanner.Match();
}

// Each block is read to a page-aligned address, with the bytes kept from the previous block just
// before it: the system copies into aligned memory several times faster.
constexpr size_t kReadAlignment = 4096;

PatternScanner::PatternScanner(IPositionedReader& reader, std::span<const uint8_t> pattern, int64_t start,
                               size_t blockSize, ScanFilter filter)
    : m_reader(reader), m_start(std::max<int64_t>(start, 0)), m_bufferOffset(m_start) {
    if (pattern.empty() || pattern.size() > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        m_done = true;
        return;
    }
    const int64_t patternLength = static_cast<int64_t>(pattern.size());
    m_length = reader.Length();
    if (m_length < patternLength || m_start > m_length - patternLength) {
        m_done = true;  // no candidate position at all: nothing is read
        return;
    }
    m_overlap = pattern.size() - 1;
    m_capacity = std::clamp<size_t>(blockSize, 1, std::numeric_limits<size_t>::max() - m_overlap - 2 * kReadAlignment);
    m_blockSize = m_capacity;
    m_storage = std::make_unique_for_overwrite<uint8_t[]>(m_overlap + m_capacity + kReadAlignment);
    const auto rawAddress = reinterpret_cast<std::uintptr_t>(m_storage.get()) + m_overlap;
    m_readTo = m_storage.get() + (m_overlap + (kReadAlignment - rawAddress % kReadAlignment) % kReadAlignment);
    m_searcher = std::make_unique<PatternSearcher>(pattern, PatternSearcher::kDefaultVerifyAllowance, filter);
}

PatternScanner::~PatternScanner() = default;

void PatternScanner::SetBlockSize(size_t blockSize) {
    m_blockSize = std::clamp<size_t>(blockSize, 1, std::max<size_t>(m_capacity, 1));
}

bool PatternScanner::Step() {
    if (m_done)
        return false;
    // Done unless the step gets to its end: a read failure leaves nothing to go on with.
    m_done = true;
    const int64_t readOffset = m_bufferOffset + static_cast<int64_t>(m_kept);
    const size_t wanted =
        static_cast<size_t>(std::min<uint64_t>(m_blockSize, static_cast<uint64_t>(m_length - readOffset)));
    std::exception_ptr failure;
    const size_t got = ReadFully(m_reader, readOffset, m_readTo, wanted, failure);
    const size_t filled = m_kept + got;
    if (std::optional<size_t> hit = m_searcher->Find({m_readTo - m_kept, filled})) {
        m_match = m_bufferOffset + static_cast<int64_t>(*hit);
        return false;
    }
    if (failure)
        std::rethrow_exception(failure);
    const size_t nextKept = std::min(filled, m_overlap);
    m_bufferOffset += static_cast<int64_t>(filled - nextKept);
    if (got < wanted || readOffset + static_cast<int64_t>(got) >= m_length)
        return false;  // the data ends here
    std::memmove(m_readTo - nextKept, m_readTo + got - nextKept, nextKept);
    m_kept = nextKept;
    m_done = false;
    return true;
}
