// File names as the system resolves them: full forms, one file under several names, and the
// name the system is handed, with real files and folders.
#include "framework/core/Path.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Path, FullFormsArePlainAbsoluteAndNormalised) {
    const std::wstring temp = TempFolder();
    EXPECT_EQ(FullPath((temp + L"x\\..\\y/./a.bin").c_str()).str(), temp + L"y\\a.bin");
    EXPECT_TRUE(FullPath(L"").IsEmpty());
    // However long, a plain name keeps its plain form: the "\\?\" form is for the system only.
    LongFolder folder(300);
    const std::wstring deep = folder.path() + L"\\a.bin";
    EXPECT_EQ(FullPath(deep.c_str()).str(), deep);
    EXPECT_EQ(FullPath((folder.path() + L"\\sub\\..\\a.bin").c_str()).str(), deep);
    // A name longer than any path is its own full form.
    const std::wstring tooLong = L"C:\\" + std::wstring(40000, L'a');
    EXPECT_EQ(FullPath(tooLong.c_str()).str(), tooLong);
}

TEST(Path, AFileWrittenWithOrWithoutTheDeviceOrLongPathPrefixIsOneFile) {
    const std::wstring plain = TempFolder() + L"one.bin";
    for (const std::wstring& name :
         {plain, L"\\\\?\\" + plain, L"\\\\.\\" + plain, plain.substr(0, 2) + L"/" + plain.substr(3)}) {
        EXPECT_TRUE(SameFullPath(FullPath(name.c_str()), FullPath(plain.c_str())));
    }
    std::wstring upper = plain;
    CharUpperW(upper.data());
    EXPECT_TRUE(SameFullPath(CString(upper), FullPath(plain.c_str())));
    const std::wstring share = L"\\\\server\\share\\one.bin";
    EXPECT_TRUE(SameFullPath(FullPath(L"\\\\?\\UNC\\server\\share\\one.bin"), FullPath(share.c_str())));
    EXPECT_FALSE(SameFullPath(FullPath(L"\\\\?\\UNC\\server\\share\\two.bin"), FullPath(share.c_str())));
    EXPECT_FALSE(SameFullPath(FullPath(L""), FullPath(L""))) << "an empty name is no file";
}

TEST(Path, LongNamesWithShortPartsAreOneFile) {
    const ShortNamedFolder folder;
    if (folder.shortPath().empty())
        GTEST_SKIP() << "the temporary folder's file system makes no short names";
    // Names past MAX_PATH below it, plain and in the "\\?\" form.
    const std::wstring tail = folder.LongTail();
    for (const std::wstring& prefix : {std::wstring(), std::wstring(L"\\\\?\\")}) {
        const std::wstring full = prefix + folder.path() + tail;
        const std::wstring withShortPart = prefix + folder.shortPath() + tail;
        EXPECT_EQ(FullPath(withShortPart.c_str()).str(), full);
        EXPECT_TRUE(SameFullPath(FullPath(withShortPart.c_str()), FullPath(full.c_str())));
    }
    // A short part that names nothing leaves the name as it is.
    const std::wstring missing = folder.shortPath() + L"\\NOSUCH~1" + tail;
    EXPECT_EQ(FullPath(missing.c_str()).str(), missing);
}

TEST(Path, TheSystemGetsTheLongPathFormOfTheResolvedNameFromMaxPathCharactersOn) {
    LongFolder folder(MAX_PATH - 8);
    const std::wstring base = folder.path() + L"\\";  // 253 characters
    // 259 characters: the longest plain name the system takes, handed over as it is.
    EXPECT_EQ(SystemPathName((base + L"ab.bin").c_str()), base + L"ab.bin");
    EXPECT_EQ(SystemPathName((base + L"abc.bin").c_str()), L"\\\\?\\" + base + L"abc.bin");
    // The system resolves the name first: a detour through ".." and a "/" that resolve to a short
    // name need nothing, and a long name is handed over resolved, for "\\?\" takes each part
    // literally, and a trailing dot, which the system drops, goes too.
    const std::wstring detour = base + L"x\\..\\a.bin";
    EXPECT_EQ(SystemPathName(detour.c_str()), detour);
    EXPECT_EQ(SystemPathName((base + L"sub/../abcdefgh.bin.").c_str()), L"\\\\?\\" + base + L"abcdefgh.bin");
    // A share's long name takes the share's form of the prefix.
    const std::wstring share = L"\\\\server\\share\\" + std::wstring(250, L's') + L".bin";
    EXPECT_EQ(SystemPathName(share.c_str()), L"\\\\?\\UNC\\server\\share\\" + std::wstring(250, L's') + L".bin");
    // Names the user wrote with a prefix go as written.
    const std::wstring prefixed = L"\\\\?\\" + base + L"x\\..\\a.bin";
    EXPECT_EQ(SystemPathName(prefixed.c_str()), prefixed);
}

}  // namespace
