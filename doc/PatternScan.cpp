#include "doc/PatternScan.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>

// SSE2 where the target always has it (x86-64); elsewhere (the i686 build)
// memchr. PATTERN_SCAN_PORTABLE forces the memchr path, so that the native
// fuzz run covers it too.
#if !defined(PATTERN_SCAN_PORTABLE) && \
    (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define PATTERN_SCAN_SSE2 1
#include <emmintrin.h>
#endif

namespace {

// A rough rank of how often each byte value occurs in everyday files (higher
// is more common): zero and 0xFF fill binaries, blanks and lower-case letters
// fill text. Only the choice of filter bytes depends on it, never a result.
using ByteRanks = std::array<uint8_t, 256>;

constexpr void RankRange(ByteRanks& rank, size_t first, size_t last, uint8_t value)
{
    for (size_t b = first; b <= last; ++b)
        rank[b] = value;
}

constexpr ByteRanks MakeCommonness()
{
    ByteRanks rank{};
    RankRange(rank, 0x80, 0xFF, 60);
    RankRange(rank, 0x01, 0x1F, 90);    // control bytes
    RankRange(rank, 0x01, 0x08, 120);   // small numbers in binary data
    RankRange(rank, 0x21, 0x7E, 110);   // punctuation and symbols
    for (char c : ".,;:-_()/=\"'*")
        rank[static_cast<uint8_t>(c)] = 150;
    RankRange(rank, 'A', 'Z', 160);
    RankRange(rank, '0', '9', 170);
    RankRange(rank, 'a', 'z', 190);
    constexpr char kFrequentLetters[] = "zxqjkvbpygfwmuclhrdsnioate"; // rising frequency
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
size_t CommonPrefixLength(const uint8_t* a, const uint8_t* b, size_t n)
{
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (const uint64_t diff = x ^ y) {
            const int bit = std::endian::native == std::endian::little ? std::countr_zero(diff)
                                                                      : std::countl_zero(diff);
            return i + static_cast<size_t>(bit / 8);
        }
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

size_t RarestIndex(std::span<const uint8_t> pattern, size_t skip)
{
    size_t best = skip == 0 ? 1 : 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (i != skip && kCommonness[pattern[i]] < kCommonness[pattern[best]])
            best = i;
    }
    return best;
}

std::vector<size_t> KmpFailureTable(std::span<const uint8_t> pattern)
{
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

// Reads until `count` bytes are in or the reader reports the end of data.
size_t ReadFully(IPositionedReader& reader, int64_t offset, uint8_t* buffer, size_t count)
{
    size_t total = 0;
    while (total < count) {
        const size_t got = reader.ReadAt(offset + static_cast<int64_t>(total), buffer + total,
                                         count - total);
        if (got == 0)
            break;
        total += std::min(got, count - total);
    }
    return total;
}

} // namespace

PatternSearcher::PatternSearcher(std::span<const uint8_t> pattern, uint64_t verifyAllowance)
    : pattern_(pattern.begin(), pattern.end()), verifyAllowance_(verifyAllowance)
{
    if (pattern_.size() >= 2) {
        const size_t rarest = RarestIndex(pattern_, pattern_.size());
        const size_t nextRarest = RarestIndex(pattern_, rarest);
        firstProbe_ = std::min(rarest, nextRarest);
        secondProbe_ = std::max(rarest, nextRarest);
    }
}

std::optional<size_t> PatternSearcher::Find(std::span<const uint8_t> haystack)
{
    if (pattern_.empty() || haystack.size() < pattern_.size())
        return std::nullopt;
    size_t from = 0;
    if (!linear_) {
        if (std::optional<size_t> match = FindFiltered(haystack, from))
            return match;
        if (!linear_)
            return std::nullopt;
    }
    return FindLinear(haystack, from);
}

PatternSearcher::Candidate PatternSearcher::CheckCandidate(const uint8_t* haystack,
                                                           size_t position)
{
    const size_t agreed = CommonPrefixLength(haystack + position, pattern_.data(), pattern_.size());
    if (agreed == pattern_.size())
        return Candidate::Match;
    verifyCost_ += kCandidateOverhead + agreed;
    if (verifyCost_ > verifyAllowance_ && verifyCost_ - verifyAllowance_ > scanned_ + position) {
        SwitchToLinearScan();
        return Candidate::GiveUp;
    }
    return Candidate::Mismatch;
}

void PatternSearcher::SwitchToLinearScan()
{
    failure_ = KmpFailureTable(pattern_);
    linear_ = true;
}

// Candidates are the positions p where haystack[p + firstProbe_] and
// haystack[p + secondProbe_] equal the pattern's bytes there. On a switch to
// the linear scan `resumeAt` tells where it takes over.
std::optional<size_t> PatternSearcher::FindFiltered(std::span<const uint8_t> haystack,
                                                    size_t& resumeAt)
{
    const uint8_t* const data = haystack.data();
    const size_t lastStart = haystack.size() - pattern_.size();
    const uint8_t firstByte = pattern_[firstProbe_];
    const uint8_t secondByte = pattern_[secondProbe_];
    size_t p = 0;

    std::optional<size_t> match;
    // True when the filter stops at this candidate: a match, or the switch.
    auto stopsAt = [&](size_t candidate) {
        switch (CheckCandidate(data, candidate)) {
        case Candidate::Match:
            match = candidate;
            return true;
        case Candidate::GiveUp:
            resumeAt = candidate + 1;
            return true;
        case Candidate::Mismatch:
            break;
        }
        return false;
    };

#ifdef PATTERN_SCAN_SSE2
    const __m128i wantFirst = _mm_set1_epi8(static_cast<char>(firstByte));
    const __m128i wantSecond = _mm_set1_epi8(static_cast<char>(secondByte));
    // The loads reach data[p + 15 + secondProbe_] <= data[lastStart + secondProbe_],
    // which lies inside the haystack.
    for (; lastStart >= 15 && p <= lastStart - 15; p += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p + firstProbe_));
        const __m128i second =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p + secondProbe_));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(first, wantFirst), _mm_cmpeq_epi8(second, wantSecond))));
        while (mask != 0) {
            if (stopsAt(p + static_cast<size_t>(std::countr_zero(mask))))
                return match;
            mask &= mask - 1;
        }
    }
    for (; p <= lastStart; ++p) {
        if (data[p + firstProbe_] == firstByte && data[p + secondProbe_] == secondByte) {
            if (stopsAt(p))
                return match;
        }
    }
#else
    while (p <= lastStart) {
        const void* hit = std::memchr(data + p + firstProbe_, firstByte, lastStart - p + 1);
        if (hit == nullptr)
            break;
        p = static_cast<size_t>(static_cast<const uint8_t*>(hit) - data) - firstProbe_;
        if (data[p + secondProbe_] == secondByte) {
            if (stopsAt(p))
                return match;
        }
        ++p;
    }
#endif
    scanned_ += lastStart + 1;
    return std::nullopt;
}

std::optional<size_t> PatternSearcher::FindLinear(std::span<const uint8_t> haystack, size_t from)
{
    const size_t length = pattern_.size();
    size_t matched = 0;
    for (size_t i = from; i < haystack.size(); ++i) {
        while (matched > 0 && haystack[i] != pattern_[matched])
            matched = failure_[matched - 1];
        if (haystack[i] == pattern_[matched])
            ++matched;
        if (matched == length)
            return i + 1 - length;
    }
    return std::nullopt;
}

std::optional<int64_t> FindPattern(IPositionedReader& reader, std::span<const uint8_t> pattern,
                                   int64_t start, size_t blockSize)
{
    if (pattern.empty() || pattern.size() > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        return std::nullopt;
    const int64_t patternLength = static_cast<int64_t>(pattern.size());
    const int64_t length = reader.Length();
    start = std::max<int64_t>(start, 0);
    if (length < patternLength || start > length - patternLength)
        return std::nullopt;

    const size_t overlap = pattern.size() - 1;
    // Each block is read to a page-aligned address, with the bytes kept from the previous block
    // just before it: the system copies into aligned memory several times faster.
    constexpr size_t kReadAlignment = 4096;
    blockSize = std::clamp<size_t>(blockSize, 1, std::numeric_limits<size_t>::max() - overlap - 2 * kReadAlignment);
    const auto storage = std::make_unique_for_overwrite<uint8_t[]>(overlap + blockSize + kReadAlignment);
    const auto rawAddress = reinterpret_cast<std::uintptr_t>(storage.get()) + overlap;
    uint8_t* const readTo = storage.get() + (overlap + (kReadAlignment - rawAddress % kReadAlignment) % kReadAlignment);
    PatternSearcher searcher(pattern);

    int64_t bufferOffset = start; // file offset of the first byte kept before readTo
    size_t kept = 0;              // bytes carried over from the previous block
    for (;;) {
        const int64_t readOffset = bufferOffset + static_cast<int64_t>(kept);
        const size_t wanted =
            static_cast<size_t>(std::min<uint64_t>(blockSize, static_cast<uint64_t>(length - readOffset)));
        const size_t got = ReadFully(reader, readOffset, readTo, wanted);
        const size_t filled = kept + got;
        if (std::optional<size_t> hit = searcher.Find({readTo - kept, filled}))
            return bufferOffset + static_cast<int64_t>(*hit);
        if (got < wanted || readOffset + static_cast<int64_t>(got) >= length)
            return std::nullopt;
        const size_t nextKept = std::min(filled, overlap);
        std::memmove(readTo - nextKept, readTo + got - nextKept, nextKept);
        bufferOffset += static_cast<int64_t>(filled - nextKept);
        kept = nextKept;
    }
}
