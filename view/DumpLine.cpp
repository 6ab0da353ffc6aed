#include "view/DumpLine.h"

#include <algorithm>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr size_t kOffsetFieldEnd = 15;   // "  XXXXXXXX     "
constexpr size_t kHexCellWidth = 3;      // "XX "
constexpr size_t kSeparatorColumn = 39;  // after hex cell 7
constexpr size_t kSecondHalfColumn = 41;
constexpr size_t kCharFieldColumn = 69;
constexpr int32_t kHalfLine = 8;

void PutHexByte(std::string& line, size_t column, uint8_t value) {
    line[column] = kHexDigits[value >> 4];
    line[column + 1] = kHexDigits[value & 0x0F];
}

void PutOffset(std::string& line, int32_t offset) {
    // Printed as the unsigned 32-bit pattern, as "%08X" would print it.
    const uint32_t value = static_cast<uint32_t>(offset);
    for (int digit = 0; digit < 8; ++digit) {
        const unsigned shift = static_cast<unsigned>(28 - 4 * digit);
        line[2 + static_cast<size_t>(digit)] = kHexDigits[(value >> shift) & 0x0F];
    }
}

size_t HexCellColumn(int32_t index) {
    const size_t i = static_cast<size_t>(index);
    return index < kHalfLine ? kOffsetFieldEnd + kHexCellWidth * i
                             : kSecondHalfColumn + kHexCellWidth * (i - kHalfLine);
}

}  // namespace

std::string FormatDumpLine(int32_t offset, std::span<const uint8_t, kBytesPerLine> bytes, int32_t count,
                           IsAlnumFn isAlnum, int32_t filled) {
    std::string line(kDumpLineLength, ' ');
    PutOffset(line, offset);
    if (count > kHalfLine)
        line[kSeparatorColumn] = '-';

    const int32_t shown = std::clamp(std::min(count, filled), 0, kBytesPerLine);
    for (int32_t i = 0; i < shown; ++i) {
        const uint8_t value = bytes[static_cast<size_t>(i)];
        PutHexByte(line, HexCellColumn(i), value);
        line[kCharFieldColumn + static_cast<size_t>(i)] = isAlnum(value) ? static_cast<char>(value) : '.';
    }
    return line;
}

int32_t DumpLineValidCount(int32_t offset, int32_t fileLength) {
    // In 64 bits: offsets near 0x7FFFFFE0 with a length of -1 overflow 32.
    const int64_t pastEnd = int64_t{offset} - fileLength + kBytesPerLine;
    if (pastEnd <= 0)
        return kBytesPerLine;
    return static_cast<int32_t>(std::max<int64_t>(0, kBytesPerLine - pastEnd));
}
