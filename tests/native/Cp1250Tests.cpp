#include "tests/native/Cp1250.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <string>

#if __has_include(<iconv.h>) && __has_include(<cwctype>)
#include <cwctype>
#include <iconv.h>
#define HAVE_ICONV_ORACLE 1
#endif

TEST(Cp1250, AsciiLettersAndDigitsOnly) {
    for (int b = 0; b < 0x80; ++b) {
        const bool expected = std::isalnum(b) != 0;  // "C" locale: ASCII only
        EXPECT_EQ(IsCp1250AlphaNumeric(static_cast<unsigned char>(b)), expected) << b;
    }
}

TEST(Cp1250, CzechLettersAreLettersAndSymbolsAreNot) {
    // áčďéěíňóřšťúůýž and ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ in Windows-1250
    const std::string czech = "\xE1\xE8\xEF\xE9\xEC\xED\xF2\xF3\xF8\x9A\x9D\xFA\xF9\xFD\x9E"
                              "\xC1\xC8\xCF\xC9\xCC\xCD\xD2\xD3\xD8\x8A\x8D\xDA\xD9\xDD\x8E";
    for (char c : czech)
        EXPECT_TRUE(IsCp1250AlphaNumeric(static_cast<unsigned char>(c))) << std::hex << (c & 0xFF);
    // € „ “ – no-break space § ° × ÷ ˙ ˘ ´ soft hyphen, and unassigned 0x81 0x98
    const std::string symbols = "\x80\x84\x93\x96\xA0\xA7\xB0\xD7\xF7\xFF\xA2\xB4\xAD\x81\x98";
    for (char c : symbols)
        EXPECT_FALSE(IsCp1250AlphaNumeric(static_cast<unsigned char>(c))) << std::hex << (c & 0xFF);
}

// The C library's own Unicode tables, reached through its Windows-1250
// converter, must agree for all 256 values.
TEST(Cp1250, AgreesWithTheCLibraryUnicodeTables) {
#ifdef HAVE_ICONV_ORACLE
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr)
        GTEST_SKIP() << "no C.UTF-8 locale";
    iconv_t converter = iconv_open("WCHAR_T", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1))
        GTEST_SKIP() << "no Windows-1250 converter";
    int letters = 0;
    for (int b = 0; b < 256; ++b) {
        char in = static_cast<char>(b);
        wchar_t out = 0;
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(&out);
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        const bool mapped = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
        const bool expected = mapped && std::iswalnum(static_cast<wint_t>(out));
        EXPECT_EQ(IsCp1250AlphaNumeric(static_cast<unsigned char>(b)), expected) << std::hex << b;
        letters += expected ? 1 : 0;
    }
    iconv_close(converter);
    std::setlocale(LC_CTYPE, "C");
    EXPECT_EQ(letters, 145);
#else
    GTEST_SKIP() << "no iconv";
#endif
}
