// The rules of file names that need no system: roots, the plain and "\\?\" forms, the name the
// system is handed at each length, and the shortened name of a menu entry.
#include "framework/core/PathRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(PathRules, RootsOfEveryForm) {
    struct Case {
        const wchar_t* path;
        size_t root;
    };
    const Case cases[] = {
        {L"C:\\data\\a.bin", 3},
        {L"c:/data/a.bin", 3},
        {L"C:a.bin", 2},
        {L"\\data\\a.bin", 1},
        {L"data\\a.bin", 0},
        {L"", 0},
        {L"\\\\server\\share\\a.bin", 15},
        {L"\\\\server\\share", 14},
        {L"\\\\?\\C:\\data\\a.bin", 7},
        {L"\\\\?\\UNC\\server\\share\\a.bin", 21},
        {L"\\\\?\\unc\\server\\share\\a.bin", 21},
        {L"\\\\.\\C:\\a.bin", 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RootLength(c.path), c.root) << Narrow(c.path);
}

TEST(PathRules, PlainAndExtendedFormsOfDrivesAndShares) {
    struct Case {
        const wchar_t* plain;
        const wchar_t* extended;
    };
    const Case cases[] = {
        {L"C:\\data\\a.bin", L"\\\\?\\C:\\data\\a.bin"},
        {L"\\\\server\\share\\a.bin", L"\\\\?\\UNC\\server\\share\\a.bin"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtendedLengthPath(c.plain), c.extended);
        EXPECT_EQ(PlainPath(c.extended), c.plain);
        EXPECT_EQ(PlainPath(c.plain), c.plain);
    }
    EXPECT_EQ(PlainPath(L"\\\\?\\unc\\server\\share\\a.bin"), L"\\\\server\\share\\a.bin");
    EXPECT_EQ(PlainPath(L"\\\\.\\C:\\a.bin"), L"C:\\a.bin");
    // Names with no plain form stay as they are, and so do names in either prefixed form.
    for (const wchar_t* name : {L"\\\\?\\Volume{0b1c}\\a.bin", L"\\\\.\\CON", L"\\\\?\\UNC\\"}) {
        EXPECT_EQ(PlainPath(name), name) << Narrow(name);
        EXPECT_EQ(ExtendedLengthPath(name), name) << Narrow(name);
    }
    EXPECT_EQ(ExtendedLengthPath(L"\\\\.\\C:\\a.bin"), L"\\\\.\\C:\\a.bin");
}

// A full name of exactly `length` characters: the root, folders, and a file name.
std::wstring FullNameOfLength(const std::wstring& root, size_t length) {
    std::wstring name = root;
    while (name.size() + 60 < length)
        name += std::wstring(50, L'd') + L'\\';
    name += std::wstring(length - name.size() - 4, L'f') + L".bin";
    return name;
}

TEST(PathRules, TheSystemIsHandedTheExtendedFormFromMaxPathCharactersOn) {
    for (const wchar_t* root : {L"C:\\", L"\\\\server\\share\\"}) {
        const std::wstring shortest = FullNameOfLength(root, kMaxPlainPathLength - 1);
        const std::wstring longer = FullNameOfLength(root, kMaxPlainPathLength);
        const std::wstring longest = FullNameOfLength(root, 32000);
        ASSERT_EQ(shortest.size(), 259u);
        EXPECT_EQ(SystemPathFor(shortest, shortest), shortest) << "the longest plain name the system opens";
        EXPECT_EQ(SystemPathFor(longer, longer), ExtendedLengthPath(longer));
        EXPECT_EQ(SystemPathFor(longest, longest), ExtendedLengthPath(longest));
        // The limit is on the full form: a short name that resolves to a long one needs the
        // prefix, and is handed over in its full form, for "\\?\" takes no relative name.
        EXPECT_EQ(SystemPathFor(L"f.bin", longer), ExtendedLengthPath(longer));
        EXPECT_EQ(SystemPathFor(L"..\\f.bin", shortest), L"..\\f.bin");
    }
    // Names written with a prefix go as written, whatever their length.
    const std::wstring prefixed = L"\\\\?\\" + FullNameOfLength(L"C:\\", 300);
    EXPECT_EQ(SystemPathFor(prefixed, prefixed), prefixed);
    const std::wstring device = L"\\\\.\\" + FullNameOfLength(L"C:\\", 300);
    EXPECT_EQ(SystemPathFor(device, device), device);
    // A name the system gives no full form for is handed over as it is.
    EXPECT_EQ(SystemPathFor(L"a.bin", L""), L"a.bin");
}

TEST(PathRules, ShortensLongPathsKeepingTheRootAndTheName) {
    EXPECT_EQ(AbbreviatePath(L"C:\\data\\a.bin", 40), L"C:\\data\\a.bin");
    EXPECT_EQ(AbbreviatePath(L"C:\\Users\\jana\\Documents\\measurements\\2024\\run.bin", 30),
              L"C:\\...\\2024\\run.bin");
    EXPECT_EQ(AbbreviatePath(L"\\\\server\\share\\deep\\deeper\\deepest\\x.bin", 30), L"\\\\server\\share\\...\\x.bin");
    // A name too long to fit even alone stays whole: the name says the most.
    EXPECT_EQ(AbbreviatePath(L"C:\\dir\\a-very-long-file-name-indeed.bin", 20), L"a-very-long-file-name-indeed.bin");
    // Nothing to drop: the path stays as it is, even when long.
    EXPECT_EQ(AbbreviatePath(L"C:\\a-very-long-file-name-indeed.bin", 10), L"C:\\a-very-long-file-name-indeed.bin");
}

}  // namespace
