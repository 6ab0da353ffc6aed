// CException, CFileException, CMemoryException: the messages they show, and a system error
// turned into a file exception.
#include "framework/core/Exception.h"

#include "framework/core/FrameworkIds.h"

CString CException::GetErrorMessage() const {
    return AfxLoadString(AFX_IDP_COMMAND_FAILURE);
}

namespace {
// The string that says what went wrong with a file.
UINT CauseStringId(int cause) {
    switch (cause) {
    case CFileException::fileNotFound:
        return AFX_IDS_FILE_NOT_FOUND;
    case CFileException::badPath:
        return AFX_IDS_FILE_BAD_PATH;
    case CFileException::tooManyOpenFiles:
        return AFX_IDS_FILE_TOO_MANY_OPEN;
    case CFileException::accessDenied:
        return AFX_IDS_FILE_ACCESS_DENIED;
    case CFileException::invalidFile:
        return AFX_IDS_FILE_INVALID;
    case CFileException::badSeek:
        return AFX_IDS_FILE_BAD_SEEK;
    case CFileException::hardIO:
        return AFX_IDS_FILE_HARD_IO;
    case CFileException::sharingViolation:
        return AFX_IDS_FILE_SHARING_VIOLATION;
    case CFileException::lockViolation:
        return AFX_IDS_FILE_LOCK_VIOLATION;
    case CFileException::diskFull:
        return AFX_IDS_FILE_DISK_FULL;
    case CFileException::endOfFile:
        return AFX_IDS_FILE_END_OF_FILE;
    default:
        return AFX_IDS_FILE_GENERIC;
    }
}
}  // namespace

CString CFileException::GetErrorMessage() const {
    const CString cause = AfxLoadString(CauseStringId(m_cause));
    CString message;
    if (m_strFileName.IsEmpty())
        message.Format(AfxLoadString(AFX_IDP_FILE_ERROR), cause.GetString(), m_lOsError);
    else
        message.Format(AfxLoadString(AFX_IDP_FILE_ERROR_NAMED), m_strFileName.GetString(), cause.GetString(),
                       m_lOsError);
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
    // The data could not be moved between the device and memory: the device, its medium or
    // the network connection to it failed, or is gone.
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_WRONG_DISK:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED:
    case ERROR_SEM_TIMEOUT:
    case ERROR_VC_DISCONNECTED:
    case ERROR_MEDIA_CHANGED:
    case ERROR_NO_MEDIA_IN_DRIVE:
    case ERROR_IO_DEVICE:
    case ERROR_DISK_OPERATION_FAILED:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_FILE_CORRUPT:
    case ERROR_DISK_CORRUPT:
    case ERROR_DEVICE_REMOVED:
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
    return AfxLoadString(AFX_IDP_FAILED_MEMORY_ALLOC);
}
