// CException, CFileException, CMemoryException: the framework's exception family. Thrown by
// value, caught by reference; the message dispatch reports what reaches it.
#pragma once

#include "framework/core/Object.h"
#include "framework/core/String.h"

class CException : public CObject {
public:
    // The text shown to the user when the exception ends a command.
    virtual CString GetErrorMessage() const;
};

class CFileException : public CException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    CFileException() = default;
    CFileException(int cause, LONG osError, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}
    CFileException(const CFileException& other)
        : CException(), m_cause(other.m_cause), m_lOsError(other.m_lOsError), m_strFileName(other.m_strFileName) {}
    CFileException& operator=(const CFileException& other) {
        m_cause = other.m_cause;
        m_lOsError = other.m_lOsError;
        m_strFileName = other.m_strFileName;
        return *this;
    }

    CString GetErrorMessage() const override;

    static int OsErrorToException(LONG osError);
    [[noreturn]] static void ThrowOsError(LONG osError, const CString& fileName = CString());

    int m_cause = none;
    LONG m_lOsError = 0;
    CString m_strFileName;
};

class CMemoryException : public CException {
public:
    CMemoryException() = default;
    CMemoryException(const CMemoryException&) : CException() {}
    CString GetErrorMessage() const override;
};
