// CFile: a binary file opened for reading through a Win32 file handle that it owns.
#pragma once

#include "framework/core/Exception.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"
#include "framework/core/UniqueHandle.h"

class CFile : public CObject {
public:
    // Access and share modes. The viewer only ever reads; the compatibility share mode maps to
    // exclusive access, so no other handle may be open on the file while this one is.
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
    };
    enum SeekPosition : UINT { begin = 0, current = 1, end = 2 };

    CFile() = default;
    ~CFile() override;

    // Opens the file, by any name the system resolves, at any length (SystemPathName); on
    // failure fills *pError (when given) and returns FALSE. A file this object had open before is
    // closed first. GetFilePath gives the name as it was given.
    BOOL Open(LPCWSTR fileName, UINT openFlags, CFileException* pError = nullptr);
    // Reads up to count bytes at the current position; returns how many it read (0 at the end).
    UINT Read(void* buffer, UINT count);
    // Moves the position; returns the new position from the beginning of the file.
    ULONGLONG Seek(LONGLONG offset, UINT from);
    ULONGLONG GetLength() const;
    // Closes the file; throws when the system refuses. Closing a closed file does nothing.
    void Close();

    bool IsOpen() const { return static_cast<bool>(m_handle); }
    const CString& GetFilePath() const { return m_strFileName; }

private:
    [[noreturn]] void ThrowLastError() const;

    UniqueHandle m_handle;
    CString m_strFileName;
};
