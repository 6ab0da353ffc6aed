// The recent-file list on its own (order, limits, menu texts, the File menu, the registry) and
// the command line's parsing. The rules of file names it relies on are tested in PathTests.cpp.

#include "framework/core/CommandLineInfo.h"
#include "framework/core/FrameworkIds.h"
#include "framework/core/Path.h"
#include "framework/core/RegKey.h"
#include "framework/docview/RecentFileList.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const wchar_t* kTestRoot = L"Software\\OktalonTests";
constexpr const wchar_t* kTestAppKey = L"Software\\OktalonTests\\RecentFileListTest";

std::wstring Temp(const std::wstring& name) {
    return FullPath((TempFolder() + name).c_str()).str();
}

std::vector<std::wstring> Entries(const CRecentFileList& list) {
    std::vector<std::wstring> result;
    for (int i = 0; i < list.GetCount(); ++i)
        result.push_back(list[i].str());
    return result;
}

// A popup like the viewer's File menu: Open, separator, the grayed placeholder, separator, Exit.
struct FileMenu {
    FileMenu() {
        AppendMenuW(hMenu, MF_STRING, ID_FILE_OPEN, L"&Otevřít...\tCtrl+O");
        AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(hMenu, MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1, L"Použité soubory");
        AppendMenuW(hMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(hMenu, MF_STRING, ID_APP_EXIT, L"&Konec");
    }
    ~FileMenu() { DestroyMenu(hMenu); }
    FileMenu(const FileMenu&) = delete;
    FileMenu& operator=(const FileMenu&) = delete;

    std::wstring Text(int position) const {
        wchar_t text[512] = L"";
        GetMenuStringW(hMenu, static_cast<UINT>(position), text, 512, MF_BYPOSITION);
        return text;
    }
    UINT Id(int position) const { return GetMenuItemID(hMenu, position); }
    bool Grayed(int position) const {
        return (GetMenuState(hMenu, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
    }

    HMENU hMenu = CreatePopupMenu();
};

class RecentFileListTest : public ::testing::Test {
protected:
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot); }
};

TEST_F(RecentFileListTest, KeepsTheNewestFirstWithoutRepeatsAndDropsTheOldest) {
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
    for (const wchar_t* name : {L"a.bin", L"b.bin", L"c.bin", L"d.bin", L"e.bin"})
        list.Add(Temp(name).c_str());
    EXPECT_EQ(Entries(list),
              (std::vector<std::wstring>{Temp(L"e.bin"), Temp(L"d.bin"), Temp(L"c.bin"), Temp(L"b.bin")}));

    // The same file in another spelling (case, a detour through "..") moves to the top.
    // The newest again, as written or in another spelling: still one entry, still first.
    for (const wchar_t* again : {L"e.bin", L"E.BIN"}) {
        list.Add(Temp(again).c_str());
        ASSERT_EQ(list.GetCount(), 4);
        EXPECT_TRUE(SameFullPath(FullPath(list[0]), FullPath(Temp(L"e.bin").c_str())));
        EXPECT_TRUE(SameFullPath(FullPath(list[1]), FullPath(Temp(L"d.bin").c_str())));
        EXPECT_TRUE(SameFullPath(FullPath(list[3]), FullPath(Temp(L"b.bin").c_str())));
    }

    std::wstring detour = Temp(L"x\\..\\C.BIN");
    list.Add(detour.c_str());
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_TRUE(SameFullPath(FullPath(list[0]), FullPath(Temp(L"c.bin").c_str())));
    EXPECT_TRUE(SameFullPath(FullPath(list[1]), FullPath(Temp(L"e.bin").c_str())));
    EXPECT_TRUE(SameFullPath(FullPath(list[3]), FullPath(Temp(L"b.bin").c_str())));
    EXPECT_EQ(list.Find(Temp(L"E.bin").c_str()), 1);

    EXPECT_TRUE(list.Remove(Temp(L"d.bin").c_str()));
    EXPECT_FALSE(list.Remove(Temp(L"d.bin").c_str()));
    EXPECT_EQ(list.GetCount(), 3);
    list.Add(L"");
    EXPECT_EQ(list.GetCount(), 3) << "an empty name is no file";
}

TEST_F(RecentFileListTest, SurvivesAWriteAndAReadAndForgetsRemovedEntries) {
    {
        CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
        for (const wchar_t* name : {L"1.bin", L"2.bin", L"3.bin", L"4.bin"})
            list.Add(Temp(name).c_str());
        CRegKey key = CRegKey::Create(HKEY_CURRENT_USER, kTestAppKey);
        ASSERT_TRUE(list.WriteList(key.Get()));
        list.Remove(0);
        list.Remove(0);
        ASSERT_TRUE(list.WriteList(key.Get()));
    }
    CRegKey key = CRegKey::Open(HKEY_CURRENT_USER, kTestAppKey);
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
    ASSERT_TRUE(list.ReadList(key.Get()));
    EXPECT_EQ(Entries(list), (std::vector<std::wstring>{Temp(L"2.bin"), Temp(L"1.bin")}));
    // The values of removed entries are gone, not left behind to come back.
    CRegKey section = CRegKey::Open(HKEY_CURRENT_USER, (std::wstring(kTestAppKey) + L"\\Recent File List").c_str());
    CString value;
    EXPECT_TRUE(section.QueryString(L"File2", value));
    EXPECT_FALSE(section.QueryString(L"File3", value));

    // A smaller list reads only as many entries as it keeps; a missing key reads as empty.
    CRecentFileList small(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 1);
    small.ReadList(key.Get());
    EXPECT_EQ(small.GetCount(), 1);
    CRecentFileList none(ID_FILE_MRU_FILE1, L"Nothing Here", L"File%d", 4);
    EXPECT_FALSE(none.ReadList(key.Get()));
    EXPECT_EQ(none.GetCount(), 0);
}

TEST_F(RecentFileListTest, ReadsStringsWhateverTheirTerminationAndSkipsOtherTypes) {
    CRegKey section = CRegKey::Create(HKEY_CURRENT_USER, (std::wstring(kTestAppKey) + L"\\Recent File List").c_str());
    ASSERT_TRUE(section);
    // Without a terminator, with several, and a number where a string should be.
    const std::wstring unterminated = Temp(L"raw.bin");
    RegSetValueExW(section.Get(), L"File1", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated.data()),
                   static_cast<DWORD>(unterminated.size() * sizeof(wchar_t)));
    const std::wstring padded = Temp(L"padded.bin") + std::wstring(3, L'\0');
    RegSetValueExW(section.Get(), L"File2", 0, REG_SZ, reinterpret_cast<const BYTE*>(padded.data()),
                   static_cast<DWORD>(padded.size() * sizeof(wchar_t)));
    const DWORD number = 7;
    RegSetValueExW(section.Get(), L"File3", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    // A hand-edited list with a repeat.
    const std::wstring repeat = Temp(L"RAW.bin") + L'\0';
    RegSetValueExW(section.Get(), L"File4", 0, REG_SZ, reinterpret_cast<const BYTE*>(repeat.data()),
                   static_cast<DWORD>(repeat.size() * sizeof(wchar_t)));

    CRegKey key = CRegKey::Open(HKEY_CURRENT_USER, kTestAppKey);
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
    list.ReadList(key.Get());
    EXPECT_EQ(Entries(list), (std::vector<std::wstring>{Temp(L"raw.bin"), Temp(L"padded.bin")}));
}

// A value's bytes as something other than this program may have stored them.
std::vector<BYTE> Utf16(const std::wstring& text, bool terminated = true) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}

TEST_F(RecentFileListTest, ADamagedListOffersAndWritesBackOnlyFullFileNames) {
    const std::wstring temp = TempFolder();  // full, ending in a separator
    const std::wstring tooLong = L"C:\\" + std::wstring(40000, L'a');
    std::vector<BYTE> halfCharacter = Utf16(temp + L"odd.bin", false);
    halfCharacter.push_back('x');
    struct Row {
        const char* kind;
        DWORD type;
        std::vector<BYTE> bytes;
        std::wstring offered;  // the entry the list offers for it; empty: left out
    };
    const std::vector<Row> rows = {
        {"a number", REG_DWORD, {7, 0, 0, 0}, L""},
        {"a path stored as binary", REG_BINARY, Utf16(temp + L"binary.bin"), L""},
        {"several strings", REG_MULTI_SZ, Utf16(temp + L"multi.bin" + L'\0'), L""},
        {"empty", REG_SZ, Utf16(L""), L""},
        {"no terminator, half a character", REG_SZ, halfCharacter, temp + L"odd.bin"},
        {"tens of thousands of characters", REG_SZ, Utf16(tooLong), L""},
        {"a folder's name", REG_SZ, Utf16(temp + L"folder\\"), L""},
        {"a device", REG_SZ, Utf16(L"CON"), L""},
        {"the device namespace", REG_SZ, Utf16(L"\\\\.\\" + temp + L"device.bin"), L"\\\\.\\" + temp + L"device.bin"},
        {"a relative name", REG_SZ, Utf16(L"data.bin"), L""},
        {"a detour", REG_SZ, Utf16(temp + L"x\\..\\detour.bin"), L""},
        {"wildcards", REG_SZ, Utf16(temp + L"*.bin"), L""},
        {"a character inside", REG_SZ, Utf16(temp + L"a.bin" + L'\0' + L"b"), L""},
        {"an extended-length name", REG_SZ, Utf16(L"\\\\?\\" + temp + L"extended.bin"),
         L"\\\\?\\" + temp + L"extended.bin"},
        {"a share", REG_SZ, Utf16(L"\\\\server\\share\\shared.bin"), L"\\\\server\\share\\shared.bin"},
        {"a plain file", REG_SZ, Utf16(temp + L"plain.bin"), temp + L"plain.bin"},
    };
    CRegKey section = CRegKey::Create(HKEY_CURRENT_USER, (std::wstring(kTestAppKey) + L"\\Recent File List").c_str());
    ASSERT_TRUE(section);
    std::vector<std::wstring> expected;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::wstring name = L"File" + std::to_wstring(i + 1);
        ASSERT_EQ(RegSetValueExW(section.Get(), name.c_str(), 0, rows[i].type, rows[i].bytes.data(),
                                 static_cast<DWORD>(rows[i].bytes.size())),
                  ERROR_SUCCESS)
            << rows[i].kind;
        if (!rows[i].offered.empty())
            expected.push_back(rows[i].offered);
    }
    // The largest list reads all sixteen values at once.
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 16);
    ASSERT_TRUE(list.ReadList(CRegKey::Open(HKEY_CURRENT_USER, kTestAppKey).Get()));
    EXPECT_EQ(Entries(list), expected);

    // Written back: the proper entries, in order, as plain strings; nothing else is left.
    ASSERT_TRUE(list.WriteList(CRegKey::Create(HKEY_CURRENT_USER, kTestAppKey).Get()));
    for (size_t i = 0; i < rows.size(); ++i) {
        CString value;
        const bool present = section.QueryString((L"File" + std::to_wstring(i + 1)).c_str(), value);
        EXPECT_EQ(present, i < expected.size()) << "File" << i + 1;
        if (present && i < expected.size()) {
            EXPECT_EQ(value.str(), expected[i]);
        }
    }

    // A name longer than any path (its own full form) is no trouble to find.
    list.Add(tooLong.c_str());
    EXPECT_EQ(list.Find(tooLong.c_str()), 0);
}

TEST_F(RecentFileListTest, EveryNameFormItStoresReadsBack) {
    const std::wstring temp = TempFolder();
    wchar_t volume[MAX_PATH] = L"";
    wchar_t volumeRoot[MAX_PATH] = L"";
    ASSERT_TRUE(GetVolumePathNameW(temp.c_str(), volumeRoot, MAX_PATH));
    ASSERT_TRUE(GetVolumeNameForVolumeMountPointW(volumeRoot, volume, MAX_PATH));
    const std::wstring deep = temp + std::wstring(200, L'd') + L"\\" + std::wstring(200, L'e') + L"\\deep.bin";
    // As a user may name them on the command line; the list keeps each in its full form.
    const std::vector<std::wstring> names = {
        temp + L"plain.bin",
        L"\\\\.\\" + temp + L"device.bin",
        L"\\\\?\\" + temp + L"extended.bin",
        volume + temp.substr(wcslen(volumeRoot)) + L"volume.bin",
        L"\\\\server\\share\\shared.bin",
        L"\\\\?\\UNC\\server\\share\\extended-share.bin",
        L"NUL",
        deep,
    };
    CRecentFileList written(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 16);
    for (const std::wstring& name : names)
        written.Add(name.c_str());
    ASSERT_EQ(written.GetCount(), static_cast<int>(names.size()));
    ASSERT_TRUE(written.WriteList(CRegKey::Create(HKEY_CURRENT_USER, kTestAppKey).Get()));

    CRecentFileList read(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 16);
    ASSERT_TRUE(read.ReadList(CRegKey::Open(HKEY_CURRENT_USER, kTestAppKey).Get()));
    EXPECT_EQ(Entries(read), Entries(written));
}

TEST_F(RecentFileListTest, AFileWrittenWithOrWithoutTheDeviceOrLongPathPrefixIsOneEntry) {
    const std::wstring plain = TempFolder() + L"one.bin";
    const std::wstring share = L"\\\\server\\share\\one.bin";
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
    for (const std::wstring& name : {plain, L"\\\\?\\" + plain, L"\\\\.\\" + plain})
        list.Add(name.c_str());
    EXPECT_EQ(list.GetCount(), 1);
    for (const std::wstring& name : {share, std::wstring(L"\\\\?\\UNC\\server\\share\\one.bin")})
        list.Add(name.c_str());
    EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(RecentFileListTest, ALongNameAndItsSpellingWithShortPartsAreOneEntry) {
    // What the two spellings resolve to is the path unit's (PathTests.cpp); the list keeps one
    // entry for them, in the full form, plain or "\\?\" as given.
    const ShortNamedFolder folder;
    if (folder.shortPath().empty())
        GTEST_SKIP() << "the temporary folder's file system makes no short names";
    for (const std::wstring& prefix : {std::wstring(), std::wstring(L"\\\\?\\")}) {
        CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4);
        list.Add((prefix + folder.path() + folder.LongTail()).c_str());
        list.Add((prefix + folder.shortPath() + folder.LongTail()).c_str());
        EXPECT_EQ(Entries(list), std::vector<std::wstring>{prefix + folder.path() + folder.LongTail()});
    }
}

TEST(RecentFileListText, MenuTextsNumberTheEntriesAndShowAmpersands) {
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 16, 200);
    list.Add(L"C:\\data\\Tom & Jerry.bin");
    list.Add(L"C:\\data\\b.bin");
    EXPECT_EQ(list.GetMenuText(0).str(), L"&1 C:\\data\\b.bin");
    EXPECT_EQ(list.GetMenuText(1).str(), L"&2 C:\\data\\Tom && Jerry.bin");
    // The longest list: the digit is the access key up to 9, the tenth is "1&0", and the
    // entries after it are numbered on without an access key.
    for (int i = 3; i <= 16; ++i)
        list.Add((L"C:\\data\\" + std::to_wstring(i) + L".bin").c_str());
    ASSERT_EQ(list.GetCount(), 16);
    EXPECT_EQ(list.GetMenuText(8).str(), L"&9 C:\\data\\8.bin");
    EXPECT_EQ(list.GetMenuText(9).str(), L"1&0 C:\\data\\7.bin");
    EXPECT_EQ(list.GetMenuText(10).str(), L"11 C:\\data\\6.bin");
    EXPECT_EQ(list.GetMenuText(15).str(), L"16 C:\\data\\Tom && Jerry.bin");
}

TEST(RecentFileListMenu, ReplacesThePlaceholderAndBringsItBackWhenEmpty) {
    FileMenu menu;
    CRecentFileList list(ID_FILE_MRU_FILE1, L"Recent File List", L"File%d", 4, 200);
    ASSERT_TRUE(list.UpdateMenu(menu.hMenu));
    EXPECT_EQ(GetMenuItemCount(menu.hMenu), 5);
    EXPECT_EQ(menu.Text(2), L"Použité soubory");
    EXPECT_TRUE(menu.Grayed(2));

    list.Add(L"C:\\one.bin");
    list.Add(L"C:\\two.bin");
    list.Add(L"C:\\three.bin");
    ASSERT_TRUE(list.UpdateMenu(menu.hMenu));
    ASSERT_EQ(GetMenuItemCount(menu.hMenu), 7);
    EXPECT_EQ(menu.Text(2), L"&1 C:\\three.bin");
    EXPECT_EQ(menu.Id(2), static_cast<UINT>(ID_FILE_MRU_FILE1));
    EXPECT_EQ(menu.Text(4), L"&3 C:\\one.bin");
    EXPECT_EQ(menu.Id(4), static_cast<UINT>(ID_FILE_MRU_FILE3));
    EXPECT_FALSE(menu.Grayed(2));
    EXPECT_EQ(menu.Id(5), 0u) << "the separator after the entries stays";
    EXPECT_EQ(menu.Id(6), static_cast<UINT>(ID_APP_EXIT));

    list.Remove(1);
    list.UpdateMenu(menu.hMenu);
    EXPECT_EQ(GetMenuItemCount(menu.hMenu), 6);
    EXPECT_EQ(menu.Text(3), L"&2 C:\\one.bin");

    list.Remove(0);
    list.Remove(0);
    list.UpdateMenu(menu.hMenu);
    ASSERT_EQ(GetMenuItemCount(menu.hMenu), 5);
    EXPECT_EQ(menu.Text(2), L"Použité soubory");
    EXPECT_TRUE(menu.Grayed(2));

    // A popup without the entries' place is left alone.
    HMENU other = CreatePopupMenu();
    AppendMenuW(other, MF_STRING, ID_APP_ABOUT, L"O p&rogramu...");
    EXPECT_FALSE(list.UpdateMenu(other));
    EXPECT_EQ(GetMenuItemCount(other), 1);
    DestroyMenu(other);
}

TEST(CommandLine, TakesOneOptionalFileNameAsTheSystemQuotesIt) {
    {
        CCommandLineInfo info;
        info.ParseCommandLineText(L"C:\\Oktalon\\oktalon.exe");
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
        EXPECT_TRUE(info.m_strFileName.IsEmpty());
    }
    {
        CCommandLineInfo info;
        info.ParseCommandLineText(L"\"C:\\Program Files\\Oktalon\\oktalon.exe\" C:\\data\\dump.bin");
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
        EXPECT_EQ(info.m_strFileName.str(), L"C:\\data\\dump.bin");
    }
    {
        CCommandLineInfo info;
        info.ParseCommandLineText(L"oktalon.exe \"C:\\Data\\Měření a zkoušky\\žluťoučký kůň.bin\"");
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
        EXPECT_EQ(info.m_strFileName.str(), L"C:\\Data\\Měření a zkoušky\\žluťoučký kůň.bin");
    }
    {
        // Names that look like switches are names: the viewer has no switches.
        CCommandLineInfo info;
        info.ParseCommandLineText(L"oktalon.exe -dump.bin second.bin");
        EXPECT_EQ(info.m_strFileName.str(), L"-dump.bin");
    }
    {
        // An empty quoted argument names nothing.
        CCommandLineInfo info;
        info.ParseCommandLineText(L"oktalon.exe \"\"");
        EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    }
}

}  // namespace
