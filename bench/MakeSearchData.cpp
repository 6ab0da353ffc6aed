// Writes a file of everyday mixed content for the search benchmark: English text, zero fill,
// tables of small little-endian integers, UTF-16 text and incompressible bytes, about a third
// of it zeros, so that a search keyed on the first byte of a pattern meets many candidates;
// with --noise, incompressible bytes only. The content is the same on every run (fixed seed),
// and none of the given patterns occurs in it: each occurrence the content happens to produce
// is broken by changing its last byte.
//
// usage: oktalon_bench_make_data FILE SIZE [--noise] [HEXPATTERN...]

#include "ParseHex.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        // xorshift64*
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return m_state * 0x2545F4914F6CDD1DULL;
    }
    uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }

private:
    uint64_t m_state;
};

const char* const kWords[] = {
    "the",        "of",        "and",       "to",         "in",
    "is",         "that",      "for",       "it",         "as",
    "was",        "with",      "be",        "by",         "on",
    "not",        "he",        "this",      "are",        "or",
    "his",        "from",      "at",        "which",      "but",
    "have",       "an",        "had",       "they",       "you",
    "were",       "their",     "one",       "all",        "we",
    "can",        "her",       "has",       "there",      "been",
    "if",         "more",      "when",      "will",       "would",
    "who",        "so",        "no",        "file",       "data",
    "value",      "error",     "return",    "buffer",     "length",
    "offset",     "window",    "quick",     "brown",      "fox",
    "jumps",      "over",      "lazy",      "dog",        "search",
    "pattern",    "block",     "read",      "system",     "memory",
    "version",    "table",     "index",     "record",     "string",
    "number",     "message",   "result",    "program",    "user",
    "Windows",    "Microsoft", "Copyright", "License",    "http://www.example.com/",
    "0x00000000", "DEBUG",     "INFO",      "2024-05-17", "12:34:56",
    "null",       "true",      "false",     "const",      "static",
};
constexpr size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

void AppendText(std::vector<uint8_t>& out, Random& random, size_t length) {
    size_t column = 0;
    while (length > 0) {
        const char* word = kWords[random.Below(kWordCount)];
        std::string piece = word;
        const uint32_t roll = random.Below(16);
        piece += roll == 0 ? ". " : roll == 1 ? ", " : " ";
        column += piece.size();
        if (column > 72) {
            piece.back() = '\n';
            column = 0;
        }
        const size_t take = std::min(length, piece.size());
        out.insert(out.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(take));
        length -= take;
    }
}

void AppendUtf16(std::vector<uint8_t>& out, Random& random, size_t length) {
    std::vector<uint8_t> text;
    AppendText(text, random, (length + 1) / 2);
    for (size_t i = 0; i < text.size() && length > 0; ++i) {
        out.push_back(text[i]);
        if (--length > 0) {
            out.push_back(0);
            --length;
        }
    }
}

void AppendIntegers(std::vector<uint8_t>& out, Random& random, size_t length) {
    for (size_t i = 0; i < length; ++i)
        out.push_back(i % 4 == 0   ? static_cast<uint8_t>(random.Below(256))
                      : i % 4 == 1 ? static_cast<uint8_t>(random.Below(16))
                                   : 0);
}

void AppendNoise(std::vector<uint8_t>& out, Random& random, size_t length) {
    for (size_t i = 0; i < length; i += 8) {
        const uint64_t bits = random.Next();
        for (size_t b = 0; b < 8 && i + b < length; ++b)
            out.push_back(static_cast<uint8_t>(bits >> (56 - 8 * b)));
    }
}

void AppendSegment(std::vector<uint8_t>& out, Random& random, bool noiseOnly) {
    const size_t length = 256 + random.Below(64 * 1024);
    if (noiseOnly) {
        AppendNoise(out, random, length);
        return;
    }
    const uint32_t kind = random.Below(20);
    if (kind < 6)
        AppendText(out, random, length);
    else if (kind < 10)
        out.insert(out.end(), length, 0);
    else if (kind < 14)
        AppendIntegers(out, random, length);
    else if (kind < 16)
        AppendUtf16(out, random, length);
    else
        AppendNoise(out, random, length);
}

// Breaks every occurrence of the patterns that ends at or after `from` in `window`; returns how
// many it broke. Changing a byte can make another occurrence, so it searches again until none.
size_t BreakOccurrences(std::vector<uint8_t>& window, size_t from, const std::vector<std::vector<uint8_t>>& patterns) {
    size_t broken = 0;
    for (bool changed = true; changed;) {
        changed = false;
        for (const auto& pattern : patterns) {
            auto at = window.begin();
            while ((at = std::search(at, window.end(), pattern.begin(), pattern.end())) != window.end()) {
                const size_t last = static_cast<size_t>(at - window.begin()) + pattern.size() - 1;
                if (last >= from) {
                    window[last] = pattern.back() == ' ' ? '_' : ' ';
                    ++broken;
                    changed = true;
                }
                ++at;
            }
        }
    }
    return broken;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE SIZE [--noise] [HEXPATTERN...]\n", argv[0]);
        return 2;
    }
    const uint64_t size = std::strtoull(argv[2], nullptr, 10);
    const bool noiseOnly = argc > 3 && std::strcmp(argv[3], "--noise") == 0;
    std::vector<std::vector<uint8_t>> patterns;
    size_t longest = 1;
    for (int i = noiseOnly ? 4 : 3; i < argc; ++i) {
        std::vector<uint8_t> bytes;
        if (!ParseHex(argv[i], bytes)) {
            std::fprintf(stderr, "not a hex pattern: %s\n", argv[i]);
            return 2;
        }
        longest = std::max(longest, bytes.size());
        patterns.push_back(std::move(bytes));
    }
    FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }

    constexpr size_t kChunk = size_t{4} << 20;
    Random random(0x6F6B74616C6F6E31ULL);
    std::vector<uint8_t> pending;  // generated, not yet written
    std::vector<uint8_t> window;   // tail of what was written + the chunk being written
    std::vector<uint8_t> tail;     // the last longest - 1 bytes written
    uint64_t written = 0;
    size_t broken = 0;
    uint64_t zeros = 0;
    while (written < size) {
        while (pending.size() < kChunk)
            AppendSegment(pending, random, noiseOnly);
        const size_t take = static_cast<size_t>(std::min<uint64_t>(kChunk, size - written));
        window.assign(tail.begin(), tail.end());
        window.insert(window.end(), pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(take));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(take));
        if (!patterns.empty())
            broken += BreakOccurrences(window, tail.size(), patterns);
        if (std::fwrite(window.data() + tail.size(), 1, take, file) != take) {
            std::perror(argv[1]);
            return 1;
        }
        written += take;
        zeros += static_cast<uint64_t>(
            std::count(window.begin() + static_cast<std::ptrdiff_t>(tail.size()), window.end(), 0));
        const size_t keep = std::min(window.size(), longest - 1);
        tail.assign(window.end() - static_cast<std::ptrdiff_t>(keep), window.end());
    }
    if (std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf("wrote %llu bytes to %s: %.1f%% zero bytes; %zu pattern occurrences broken\n",
                static_cast<unsigned long long>(written), argv[1],
                written != 0 ? 100.0 * static_cast<double>(zeros) / static_cast<double>(written) : 0.0, broken);
    return 0;
}
