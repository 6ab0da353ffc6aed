// CFile: opening, reading, seeking and closing; a failure thrown as a CFileException.
#include "framework/core/File.h"

#include "framework/core/Path.h"

namespace {
DWORD ShareModeOf(UINT openFlags) {
    switch (openFlags & 0x0070) {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;  // shareCompat and shareExclusive: nobody else gets in
    }
}
}  // namespace

CFile::~CFile() = default;

BOOL CFile::Open(LPCWSTR fileName, UINT openFlags, CFileException* pError) {
    m_handle.reset();
    m_strFileName = fileName;
    // A name of MAX_PATH characters or more opens only in its "\\?\" form; the file keeps the
    // name as it was given, for messages.
    HANDLE handle = CreateFileW(SystemPathName(fileName).c_str(), GENERIC_READ, ShareModeOf(openFlags), nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const LONG osError = static_cast<LONG>(GetLastError());
        if (pError != nullptr)
            *pError = CFileException(CFileException::OsErrorToException(osError), osError, m_strFileName);
        return FALSE;
    }
    m_handle.reset(handle);
    return TRUE;
}

UINT CFile::Read(void* buffer, UINT count) {
    DWORD read = 0;
    if (count != 0 && !ReadFile(m_handle.get(), buffer, count, &read, nullptr))
        ThrowLastError();
    return read;
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
    LARGE_INTEGER distance{};
    distance.QuadPart = offset;
    LARGE_INTEGER position{};
    const DWORD method = from == current ? FILE_CURRENT : from == end ? FILE_END : FILE_BEGIN;
    if (!SetFilePointerEx(m_handle.get(), distance, &position, method))
        ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_handle.get(), &size))
        ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::Close() {
    if (!m_handle.reset())
        ThrowLastError();
}

void CFile::ThrowLastError() const {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}
