// The dump line, at every offset width, against a printf-built reference, and the valid count
// against its rule worked out in 128 bits.

#include "tests/fuzz/FuzzCheck.h"
#include "tests/native/Cp1250.h"
#include "view/DumpLine.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::string ReferenceLine(int64_t offset, const std::array<uint8_t, 16>& bytes, int32_t count, int32_t filled,
                          int digits) {
    const int32_t shown = std::max(0, std::min({count, filled, 16}));
    char cell[16];
    std::string hexField, charField;
    for (int i = 0; i < 16; ++i) {
        if (i < shown) {
            std::snprintf(cell, sizeof cell, "%02X ", bytes[i]);
            hexField += cell;
            charField += IsCp1250AlphaNumeric(bytes[i]) ? static_cast<char>(bytes[i]) : '.';
        } else {
            hexField += "   ";
            charField += ' ';
        }
        if (i == 7)
            hexField += count > 8 ? "- " : "  ";
    }
    const uint64_t shownBits = digits == 16 ? ~uint64_t{0} : (uint64_t{1} << (4 * digits)) - 1;
    char offsetField[32];
    std::snprintf(offsetField, sizeof offsetField, "  %0*llX     ", digits,
                  static_cast<unsigned long long>(static_cast<uint64_t>(offset) & shownBits));
    return std::string(offsetField) + hexField + "    " + charField + "   ";
}

// fileLength - offset within 0..16, in a wider type than the inputs.
int32_t ReferenceValidCount(int64_t offset, int64_t fileLength) {
    const __int128 inside = static_cast<__int128>(fileLength) - offset;
    return static_cast<int32_t>(inside < 0 ? 0 : inside > 16 ? 16 : inside);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int64_t offset = input.ConsumeIntegral<int64_t>();
    const int64_t fileLength = input.ConsumeIntegral<int64_t>();
    const int digits = input.ConsumeIntegralInRange(8, 16);
    const int32_t filled = input.ConsumeBool() ? 16 : input.ConsumeIntegral<int32_t>();
    std::array<uint8_t, 16> bytes{};
    input.ConsumeData(bytes.data(), bytes.size());

    const int32_t count = DumpLineValidCount(offset, fileLength);
    FUZZ_CHECK(count == ReferenceValidCount(offset, fileLength));
    FUZZ_CHECK(count >= 0 && count <= 16);

    for (int32_t anyCount : {count, input.ConsumeIntegral<int32_t>()}) {
        const std::string line = FormatDumpLine(offset, bytes, anyCount, IsCp1250AlphaNumeric, filled, digits);
        FUZZ_CHECK(line.size() == static_cast<size_t>(80 + digits));
        FUZZ_CHECK(line == ReferenceLine(offset, bytes, anyCount, filled, digits));
        FUZZ_CHECK(OffsetDigitsForLength(fileLength) >= 8 && OffsetDigitsForLength(fileLength) <= 16);
    }
    return 0;
}
