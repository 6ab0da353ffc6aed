// CArchive: the loading archive through which the document's base open hands its file over.
#pragma once

#include <windows.h>

class CFile;

class CArchive {
public:
    enum Mode : UINT { load = 1 };

    CArchive(CFile* pFile, UINT mode) : m_pFile(pFile), m_nMode(mode) {}
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    CFile* GetFile() const { return m_pFile; }
    bool IsLoading() const { return (m_nMode & load) != 0; }

private:
    CFile* m_pFile;
    UINT m_nMode;
};
