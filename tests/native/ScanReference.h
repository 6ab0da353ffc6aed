#pragma once
// Test helpers for the pattern scan: an in-memory reader that can misbehave
// like a real file, and the byte-at-a-time reference scan.

#include "doc/PatternScan.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

// Serves `data` as a file. Options make it deliver at most `maxChunk` bytes a
// call, end its data after `available` bytes while still reporting the full
// length (a file that shrank), or throw when a read reaches `throwAt`.
class MemoryReader : public IPositionedReader {
public:
    explicit MemoryReader(std::span<const uint8_t> data) : m_data(data), m_available(data.size()) {}

    MemoryReader& MaxChunk(size_t bytes) {
        m_maxChunk = bytes;
        return *this;
    }
    MemoryReader& EndDataAt(size_t bytes) {
        m_available = std::min(bytes, m_data.size());
        return *this;
    }
    MemoryReader& ThrowAt(int64_t offset) {
        m_throwAt = offset;
        return *this;
    }

    int64_t Length() override { return static_cast<int64_t>(m_data.size()); }

    size_t ReadAt(int64_t offset, void* buffer, size_t count) override {
        ++reads;
        if (offset < 0)
            throw std::out_of_range("negative read offset");
        if (m_throwAt && offset + static_cast<int64_t>(count) > *m_throwAt)
            throw std::runtime_error("read failed");
        const size_t from = static_cast<size_t>(offset);
        if (from >= m_available)
            return 0;
        const size_t n = std::min({count, m_available - from, m_maxChunk});
        std::memcpy(buffer, m_data.data() + from, n);
        bytesRead += n;
        return n;
    }

    size_t reads = 0;
    size_t bytesRead = 0;

private:
    std::span<const uint8_t> m_data;
    size_t m_available;
    size_t m_maxChunk = static_cast<size_t>(-1);
    std::optional<int64_t> m_throwAt;
};

// The scan as the viewer first defined it: at each candidate p in turn, ask
// the length, read a window as long as the pattern at p and compare. A window
// that cannot be read whole ends the scan (the data ended there).
inline std::optional<int64_t> FindPatternNaive(IPositionedReader& reader, std::span<const uint8_t> pattern,
                                               int64_t start) {
    if (pattern.empty())
        return std::nullopt;
    const int64_t patternLength = static_cast<int64_t>(pattern.size());
    std::vector<uint8_t> window(pattern.size());
    for (int64_t p = std::max<int64_t>(start, 0);; ++p) {
        if (p > reader.Length() - patternLength)
            return std::nullopt;
        size_t got = 0;
        while (got < window.size()) {
            const size_t n = reader.ReadAt(p + static_cast<int64_t>(got), window.data() + got, window.size() - got);
            if (n == 0)
                return std::nullopt;
            got += n;
        }
        if (std::equal(window.begin(), window.end(), pattern.begin()))
            return p;
    }
}

// Every match from `start` on, each scan starting one byte after the last
// match's first byte, as Find Next walks through a file.
template <class Scan>
std::vector<int64_t> AllMatches(Scan scan, int64_t start = 0, size_t limit = 1000) {
    std::vector<int64_t> found;
    for (std::optional<int64_t> p = scan(start); p && found.size() < limit; p = scan(*p + 1))
        found.push_back(*p);
    return found;
}
