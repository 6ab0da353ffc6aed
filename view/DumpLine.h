// DumpLine: the text of one hex dump line (offset, 16 hex cells, character column) and its valid
// count. Window-free.
#pragma once

#include <cstdint>
#include <span>
#include <string>

inline constexpr int32_t kBytesPerLine = 16;
inline constexpr int32_t kDumpLineLength = 88;  // with the usual eight offset digits
inline constexpr int32_t kMinOffsetDigits = 8;
inline constexpr int32_t kMaxOffsetDigits = 16;

// Answers whether a byte, read as a character of the 8-bit code page the
// dump is drawn in, is a letter or a digit.
using IsAlnumFn = bool (*)(unsigned char);

// Builds the text of the line whose first byte lies at `offset`: 88
// characters with eight offset digits, one more for each further digit.
//
// `count` is the line's valid count (DumpLineValidCount): it fixes the layout,
// i.e. which cells exist and whether the hyphen separates the two halves.
// `filled` is how many of the 16 bytes the read actually delivered. Cells at or
// past min(count, filled) are blank, so a read cut short (the file shrank on
// disk) never shows stale buffer contents as file bytes, while the line keeps
// the layout its valid count gives it.
// `offsetDigits` (8 to 16) is how many upper-case hex digits the offset takes:
// every line of one file has the width its last line needs (OffsetDigitsForLength).
// The offset is printed as the low 4 * offsetDigits bits of its two's complement,
// as "%0*llX" would print them.
std::string FormatDumpLine(int64_t offset, std::span<const uint8_t, kBytesPerLine> bytes, int32_t count,
                           IsAlnumFn isAlnum, int32_t filled = kBytesPerLine, int32_t offsetDigits = kMinOffsetDigits);

// Number of bytes of the line at `offset` that lie inside a file of
// `fileLength` bytes: 16 for a full line, fileLength - offset for the last
// line of a file whose length is not a multiple of 16, and 0 for a line that
// lies wholly past the end (or any line while no file is open, length -1).
int32_t DumpLineValidCount(int64_t offset, int64_t fileLength);

// Offset digits for a file of `fileLength` bytes: as many as the offset of its
// last line needs, never fewer than 8 (9 from 4 GiB + 1 byte, 10 past 64 GiB,
// 11 past 1 TiB, up to 16).
int32_t OffsetDigitsForLength(int64_t fileLength);

// Characters of a line whose offset takes `offsetDigits` digits.
inline constexpr int32_t DumpLineLength(int32_t offsetDigits) {
    return kDumpLineLength + offsetDigits - kMinOffsetDigits;
}
