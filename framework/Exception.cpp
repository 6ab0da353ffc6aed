#include "framework/Exception.h"

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CException)

CString CException::GetErrorMessage() const {
    return L"Při provádění operace došlo k neočekávané chybě.";
}

namespace {
const wchar_t* DescribeCause(int cause) {
    switch (cause) {
    case CFileException::fileNotFound:
        return L"soubor nebyl nalezen";
    case CFileException::badPath:
        return L"cesta k souboru je neplatná";
    case CFileException::tooManyOpenFiles:
        return L"je otevřeno příliš mnoho souborů";
    case CFileException::accessDenied:
        return L"přístup byl odepřen";
    case CFileException::invalidFile:
        return L"soubor není platný";
    case CFileException::badSeek:
        return L"nelze nastavit pozici v souboru";
    case CFileException::hardIO:
        return L"došlo k chybě vstupu/výstupu";
    case CFileException::sharingViolation:
        return L"soubor používá jiný proces";
    case CFileException::lockViolation:
        return L"část souboru je uzamčena";
    case CFileException::diskFull:
        return L"disk je plný";
    case CFileException::endOfFile:
        return L"bylo dosaženo konce souboru";
    default:
        return L"došlo k neočekávané chybě";
    }
}
}  // namespace

CString CFileException::GetErrorMessage() const {
    CString message;
    if (m_strFileName.IsEmpty())
        message.Format(L"Chyba při práci se souborem: %s (kód %ld).", DescribeCause(m_cause), m_lOsError);
    else
        message.Format(L"Chyba při práci se souborem \u201E%s\u201C: %s (kód %ld).", m_strFileName.GetString(),
                       DescribeCause(m_cause), m_lOsError);
    return message;
}

int CFileException::OsErrorToException(LONG osError) {
    switch (osError) {
    case NO_ERROR:
        return none;
    case ERROR_FILE_NOT_FOUND:
        return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE:
        return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return accessDenied;
    case ERROR_INVALID_HANDLE:
        return invalidFile;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK:
        return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
        return hardIO;
    case ERROR_SHARING_VIOLATION:
        return sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return diskFull;
    case ERROR_HANDLE_EOF:
        return endOfFile;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(LONG osError, const CString& fileName) {
    throw CFileException(OsErrorToException(osError), osError, fileName);
}

CString CMemoryException::GetErrorMessage() const {
    return L"Nedostatek paměti.";
}
