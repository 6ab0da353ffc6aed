// DumpLine: formatting a dump line and counting its valid bytes.
#include "view/DumpLine.h"

#include <algorithm>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr size_t kOffsetColumn = 2;       // "  " before the offset digits
constexpr size_t kOffsetTrailer = 5;      // blanks after them
constexpr size_t kHexCellWidth = 3;       // "XX "
constexpr size_t kSeparatorColumn = 24;   // after hex cell 7, counted from the hex field
constexpr size_t kSecondHalfColumn = 26;  // counted from the hex field
constexpr size_t kCharFieldColumn = 54;   // counted from the hex field
constexpr int32_t kHalfLine = 8;

void PutHexByte(std::string& line, size_t column, uint8_t value) {
    line[column] = kHexDigits[value >> 4];
    line[column + 1] = kHexDigits[value & 0x0F];
}

void PutOffset(std::string& line, int64_t offset, int32_t digits) {
    const auto value = static_cast<uint64_t>(offset);
    for (int32_t digit = 0; digit < digits; ++digit) {
        const auto shift = static_cast<unsigned>(4 * (digits - 1 - digit));
        line[kOffsetColumn + static_cast<size_t>(digit)] = kHexDigits[(value >> shift) & 0x0F];
    }
}

size_t HexCellColumn(int32_t index) {
    const size_t i = static_cast<size_t>(index);
    return index < kHalfLine ? kHexCellWidth * i : kSecondHalfColumn + kHexCellWidth * (i - kHalfLine);
}

}  // namespace

std::string FormatDumpLine(int64_t offset, std::span<const uint8_t, kBytesPerLine> bytes, int32_t count,
                           IsAlnumFn isAlnum, int32_t filled, int32_t offsetDigits) {
    const int32_t digits = std::clamp(offsetDigits, kMinOffsetDigits, kMaxOffsetDigits);
    std::string line(static_cast<size_t>(DumpLineLength(digits)), ' ');
    PutOffset(line, offset, digits);
    const size_t hexField = kOffsetColumn + static_cast<size_t>(digits) + kOffsetTrailer;
    if (count > kHalfLine)
        line[hexField + kSeparatorColumn] = '-';

    const int32_t shown = std::clamp(std::min(count, filled), 0, kBytesPerLine);
    for (int32_t i = 0; i < shown; ++i) {
        const uint8_t value = bytes[static_cast<size_t>(i)];
        PutHexByte(line, hexField + HexCellColumn(i), value);
        line[hexField + kCharFieldColumn + static_cast<size_t>(i)] = isAlnum(value) ? static_cast<char>(value) : '.';
    }
    return line;
}

int32_t DumpLineValidCount(int64_t offset, int64_t fileLength) {
    // fileLength - offset, limited to 0..16; worked out unsigned, where no pair of inputs overflows.
    if (offset >= fileLength)
        return 0;
    const uint64_t inside = static_cast<uint64_t>(fileLength) - static_cast<uint64_t>(offset);
    return static_cast<int32_t>(std::min<uint64_t>(inside, kBytesPerLine));
}

int32_t OffsetDigitsForLength(int64_t fileLength) {
    if (fileLength <= kBytesPerLine)
        return kMinOffsetDigits;
    const auto lastLineOffset = static_cast<uint64_t>((fileLength - 1) / kBytesPerLine * kBytesPerLine);
    int32_t digits = 1;
    while (digits < kMaxOffsetDigits && (lastLineOffset >> (4 * digits)) != 0)
        ++digits;
    return std::max(digits, kMinOffsetDigits);
}
