#include "framework/core/Exception.h"
#include "framework/core/File.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace {
// Whether another opener asking for read access (and sharing everything) gets in.
DWORD SecondReaderError(const std::wstring& path) {
    UniqueHandle other(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    return other ? ERROR_SUCCESS : GetLastError();
}

DWORD SecondWriterError(const std::wstring& path) {
    UniqueHandle other(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
    return other ? ERROR_SUCCESS : GetLastError();
}
}  // namespace

TEST(CFileTest, ReadsSeeksAndMeasuresWithoutMovingThePosition) {
    std::string bytes;
    for (int i = 0; i < 40; ++i)
        bytes += static_cast<char>(i);
    TempFile temp(bytes);
    CFile file;
    ASSERT_TRUE(file.Open(temp.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ(file.Seek(32, CFile::begin), 32u);
    EXPECT_EQ(file.GetLength(), 40u);
    EXPECT_EQ(file.Seek(0, CFile::current), 32u) << "asking the length must not move the position";

    BYTE buffer[16] = {};
    EXPECT_EQ(file.Read(buffer, 16), 8u);
    EXPECT_EQ(buffer[0], 32);
    EXPECT_EQ(buffer[7], 39);
    EXPECT_EQ(file.Read(buffer, 16), 0u) << "at the end a read delivers nothing";

    EXPECT_EQ(file.Seek(-7, CFile::current), 33u);
    EXPECT_EQ(file.Read(buffer, 1), 1u);
    EXPECT_EQ(buffer[0], 33);
}

TEST(CFileTest, FailedOpenFillsTheExceptionObject) {
    CFile file;
    CFileException error;
    const std::wstring missing = UniqueTempPath(L"missing");
    EXPECT_FALSE(file.Open(missing.c_str(), CFile::modeRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(error.m_strFileName, CString(missing));
    EXPECT_NE(error.GetErrorMessage().str().find(missing), std::wstring::npos) << "the message names the file";

    EXPECT_FALSE(file.Open(TempFolder().c_str(), CFile::modeRead, &error)) << "a folder is no file to show";
}

TEST(CFileTest, FailingOperationsThrowFileExceptions) {
    TempFile temp("abc");
    CFile file;
    ASSERT_TRUE(file.Open(temp.c_str(), CFile::modeRead));
    try {
        file.Seek(-1, CFile::begin);
        FAIL() << "a seek before the start must throw";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::badSeek);
        EXPECT_EQ(e.m_lOsError, ERROR_NEGATIVE_SEEK);
    }
    EXPECT_EQ(file.Seek(0, CFile::current), 0u) << "a refused seek leaves the position";
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_NO_THROW(file.Close()) << "closing a closed file does nothing";
    BYTE byte = 0;
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
}

TEST(CFileTest, CompatibilityShareModeKeepsEveryoneElseOut) {
    TempFile temp("held");
    {
        CFile file;
        ASSERT_TRUE(file.Open(temp.c_str(), CFile::modeRead | CFile::shareCompat));
        EXPECT_EQ(SecondReaderError(temp.path()), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(SecondWriterError(temp.path()), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(SecondReaderError(temp.path()), static_cast<DWORD>(ERROR_SUCCESS))
        << "the destructor closes the file it opened";
}

TEST(CFileTest, DenyWriteLetsReadersInButNotWriters) {
    TempFile temp("shared");
    CFile file;
    ASSERT_TRUE(file.Open(temp.c_str(), CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ(SecondReaderError(temp.path()), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(SecondWriterError(temp.path()), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(CFileTest, ReopeningClosesThePreviousFile) {
    TempFile first("one"), second("two");
    CFile file;
    ASSERT_TRUE(file.Open(first.c_str(), CFile::modeRead));
    ASSERT_TRUE(file.Open(second.c_str(), CFile::modeRead));
    EXPECT_EQ(SecondReaderError(first.path()), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(file.GetFilePath(), CString(second.path()));
}

TEST(CFileTest, ErrorMessagesReadTheFrameworksOwnStrings) {
    // The texts come from the framework's resources: a string lost or mangled on its way into
    // the program shows here.
    EXPECT_EQ(CFileException(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, L"data.bin").GetErrorMessage().str(),
              L"Chyba při práci se souborem \u201Edata.bin\u201C: soubor nebyl nalezen (kód 2).");
    EXPECT_EQ(CFileException(CFileException::removeCurrentDir, ERROR_CURRENT_DIRECTORY).GetErrorMessage().str(),
              L"Chyba při práci se souborem: došlo k neočekávané chybě (kód 16).");
    EXPECT_EQ(CMemoryException().GetErrorMessage().str(), L"Nedostatek paměti.");
    EXPECT_EQ(CException().GetErrorMessage().str(), L"Při provádění operace došlo k neočekávané chybě.");
}

TEST(CFileTest, DeviceMediumAndNetworkFailuresAreInputOutputErrors) {
    // Every code that means the device, its medium or the network connection to it failed, or
    // is gone. Wine reports a read that fails on the disk (EIO) as ERROR_NOT_READY.
    constexpr LONG kInputOutputErrors[] = {
        // the device
        ERROR_NOT_READY, ERROR_GEN_FAILURE, ERROR_READ_FAULT, ERROR_WRITE_FAULT, ERROR_IO_DEVICE,
        ERROR_DISK_OPERATION_FAILED, ERROR_DEV_NOT_EXIST, ERROR_DEVICE_NOT_CONNECTED, ERROR_DEVICE_REMOVED,
        // the medium
        ERROR_CRC, ERROR_SECTOR_NOT_FOUND, ERROR_WRONG_DISK, ERROR_MEDIA_CHANGED, ERROR_NO_MEDIA_IN_DRIVE,
        ERROR_FILE_CORRUPT, ERROR_DISK_CORRUPT,
        // the network
        ERROR_UNEXP_NET_ERR, ERROR_NETNAME_DELETED, ERROR_SEM_TIMEOUT, ERROR_VC_DISCONNECTED};
    for (const LONG code : kInputOutputErrors)
        EXPECT_EQ(CFileException::OsErrorToException(code), CFileException::hardIO) << code;
    // And no other system error code: the table is the whole list.
    for (LONG code = 0; code <= 0xFFFF; ++code) {
        const bool listed = std::find(std::begin(kInputOutputErrors), std::end(kInputOutputErrors), code) !=
                            std::end(kInputOutputErrors);
        if (!listed) {
            EXPECT_NE(CFileException::OsErrorToException(code), CFileException::hardIO) << code;
        }
    }
    const CFileException notReady(CFileException::OsErrorToException(ERROR_NOT_READY), ERROR_NOT_READY,
                                  L"Z:\\disk\\data.bin");
    EXPECT_EQ(notReady.GetErrorMessage().str(),
              L"Chyba při práci se souborem \u201EZ:\\disk\\data.bin\u201C: došlo k chybě vstupu/výstupu (kód 21).");
}

TEST(CFileTest, NamesOfMaxPathCharactersOrMoreReachTheSystemInTheirLongPathForm) {
    LongFolder folder(MAX_PATH - 8);
    const std::wstring base = folder.path() + L"\\";  // 253 characters
    const TempFile longest = TempFile::At(base + L"ab.bin", "259");
    const TempFile tooLong = TempFile::At(base + L"abc.bin", "260");
    LongFolder deeper(400);
    const TempFile deep = TempFile::At(deeper.path() + L"\\a.bin", "400");

    struct Case {
        std::wstring name;      // as the file is asked for
        std::wstring expected;  // as the system must be handed it
        const char* contents;
    };
    const Case cases[] = {
        {longest.path(), longest.path(), "259"},
        {tooLong.path(), L"\\\\?\\" + tooLong.path(), "260"},
        {deep.path(), L"\\\\?\\" + deep.path(), "400"},
        {deeper.path() + L"\\x\\..\\a.bin", L"\\\\?\\" + deep.path(), "400"},
        {L"\\\\?\\" + deep.path(), L"\\\\?\\" + deep.path(), "400"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "a name of " << c.name.size() << " characters");
        CFile file;
        std::vector<std::wstring> handed;
        {
            SystemFileNameRecorder recorder;
            ASSERT_TRUE(file.Open(c.name.c_str(), CFile::modeRead | CFile::shareDenyWrite));
            handed = recorder.NamesEndingIn(c.name.substr(c.name.find_last_of(L'\\')));
        }
        EXPECT_EQ(handed, std::vector<std::wstring>{c.expected});
        EXPECT_EQ(file.GetFilePath().str(), c.name) << "the file keeps the name it was given";
        char buffer[4] = {};
        ASSERT_EQ(file.Read(buffer, 3), 3u);
        EXPECT_STREQ(buffer, c.contents) << "the file named";
    }
    // A share's file: the share's form of the prefix.
    const std::wstring share = L"\\\\server\\share\\" + std::wstring(250, L's') + L".bin";
    SystemFileNameRecorder recorder;
    CFile file;
    EXPECT_FALSE(file.Open(share.c_str(), CFile::modeRead));
    EXPECT_EQ(recorder.NamesEndingIn(L".bin"), std::vector<std::wstring>{L"\\\\?\\UNC" + share.substr(1)});
}
