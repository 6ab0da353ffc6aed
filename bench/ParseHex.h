#pragma once

// The benchmarks' byte patterns as given on their command lines: pairs of hex digits.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace parse_hex_detail {
template <class Char>
bool Append(std::basic_string_view<Char> text, std::vector<uint8_t>& bytes) {
    const auto digit = [](Char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    if (text.empty() || text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}
}  // namespace parse_hex_detail

// Appends the bytes that `text` spells, two hex digits (of either case) a byte; false when it is
// empty, of odd length or holds anything else.
inline bool ParseHex(std::string_view text, std::vector<uint8_t>& bytes) {
    return parse_hex_detail::Append(text, bytes);
}
inline bool ParseHex(std::wstring_view text, std::vector<uint8_t>& bytes) {
    return parse_hex_detail::Append(text, bytes);
}
