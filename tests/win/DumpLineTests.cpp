#include "tests/native/Cp1250.h"
#include "view/DumpLine.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>

namespace {
bool PlatformAlphaNumeric(unsigned char byte) {
    return IsCharAlphaNumericA(static_cast<CHAR>(byte)) != FALSE;
}
}  // namespace

// The native builds classify bytes with their own Windows-1250 table; under a Czech code page
// the platform must agree with it on every byte, or the tests of the line text prove nothing.
TEST(DumpLineOnWindowsTest, PlatformClassificationMatchesTheCodePageTable) {
    ASSERT_EQ(GetACP(), 1250u) << "the test bed runs with the Czech ANSI code page";
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        EXPECT_EQ(PlatformAlphaNumeric(byte), IsCp1250AlphaNumeric(byte)) << "byte " << value;
        std::array<uint8_t, 16> bytes;
        bytes.fill(byte);
        EXPECT_EQ(FormatDumpLine(0, bytes, 16, &PlatformAlphaNumeric),
                  FormatDumpLine(0, bytes, 16, &IsCp1250AlphaNumeric))
            << "byte " << value;
    }
}
