// The dump line against a printf-built reference, and the valid count against
// its rule worked out in 64 bits.

#include "tests/fuzz/FuzzCheck.h"
#include "view/Cp1250.h"
#include "view/DumpLine.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::string ReferenceLine(int32_t offset, const std::array<uint8_t, 16>& bytes, int32_t count, int32_t filled) {
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
    std::snprintf(cell, sizeof cell, "  %08X     ", static_cast<unsigned>(offset));
    return std::string(cell) + hexField + "    " + charField + "   ";
}

int32_t ReferenceValidCount(int32_t offset, int32_t fileLength) {
    const int64_t pastEnd = int64_t{offset} - fileLength + 16;
    return pastEnd > 0 ? static_cast<int32_t>(std::max<int64_t>(0, 16 - pastEnd)) : 16;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int32_t offset = input.ConsumeIntegral<int32_t>();
    const int32_t fileLength = input.ConsumeIntegral<int32_t>();
    const int32_t filled = input.ConsumeBool() ? 16 : input.ConsumeIntegral<int32_t>();
    std::array<uint8_t, 16> bytes{};
    input.ConsumeData(bytes.data(), bytes.size());

    const int32_t count = DumpLineValidCount(offset, fileLength);
    FUZZ_CHECK(count == ReferenceValidCount(offset, fileLength));
    FUZZ_CHECK(count >= 0 && count <= 16);

    for (int32_t anyCount : {count, input.ConsumeIntegral<int32_t>()}) {
        const std::string line = FormatDumpLine(offset, bytes, anyCount, IsCp1250AlphaNumeric, filled);
        FUZZ_CHECK(line.size() == 88);
        FUZZ_CHECK(line == ReferenceLine(offset, bytes, anyCount, filled));
    }
    return 0;
}
