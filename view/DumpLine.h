#pragma once
// Text of one hex dump line: offset, 16 hex cells, character column.

#include <cstdint>
#include <span>
#include <string>

inline constexpr int32_t kBytesPerLine = 16;
inline constexpr int32_t kDumpLineLength = 88;

// Answers whether a byte, read as a character of the 8-bit code page the
// dump is drawn in, is a letter or a digit.
using IsAlnumFn = bool (*)(unsigned char);

// Builds the 88-character text of the line whose first byte lies at `offset`.
//
// `count` is the line's valid count (DumpLineValidCount): it fixes the layout,
// i.e. which cells exist and whether the hyphen separates the two halves.
// `filled` is how many of the 16 bytes the read actually delivered. Cells at or
// past min(count, filled) are blank, so a read cut short (the file shrank on
// disk) never shows stale buffer contents as file bytes, while the line keeps
// the layout its valid count gives it.
std::string FormatDumpLine(int32_t offset, std::span<const uint8_t, kBytesPerLine> bytes, int32_t count,
                           IsAlnumFn isAlnum, int32_t filled = kBytesPerLine);

// Number of bytes of the line at `offset` that lie inside a file of
// `fileLength` bytes: 16 for a full line, fileLength - offset for the last
// line of a file whose length is not a multiple of 16, and 0 for a line that
// lies wholly past the end (or any line while no file is open, length -1).
int32_t DumpLineValidCount(int32_t offset, int32_t fileLength);
