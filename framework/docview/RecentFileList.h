// CRecentFileList: the most recently opened files, kept in the registry and shown in the File menu.
#pragma once

#include "framework/core/String.h"

#include <vector>

class CRecentFileList {
public:
    // firstCommand: the command id of the first entry (entry i has firstCommand + i);
    // section, entryFormat: the registry subkey under the application's key and the value name
    // pattern (with one %d, counted from 1); size: how many files the list keeps (1..16).
    CRecentFileList(UINT firstCommand, LPCWSTR section, LPCWSTR entryFormat, int size, int maxDisplayLength = 40);

    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_files.size()); }
    const CString& operator[](int index) const { return m_files.at(static_cast<size_t>(index)); }
    UINT GetFirstCommand() const { return m_nFirstCommand; }

    // Puts the file at the top, as a full path; an entry for the same file (compared without
    // regard to case) moves rather than repeats, and the oldest entry drops off a full list.
    void Add(LPCWSTR pathName);
    void Remove(int index);
    // Removes the entry for that file, if there is one; returns whether there was.
    bool Remove(LPCWSTR pathName);
    // The index of the file's entry, or -1.
    int Find(LPCWSTR pathName) const;

    // Loads and stores the list in the application's profile key; false when the key is missing
    // or a write failed.
    bool ReadList(HKEY appKey);
    bool WriteList(HKEY appKey) const;

    // The text of entry index as the menu shows it: "&1 C:\...\dir\file.bin", '&' doubled.
    CString GetMenuText(int index) const;
    // Replaces the entries in the popup that holds them (found by their command ids) with the
    // current list. With an empty list the popup shows the grayed placeholder item it came with.
    // Returns false when the popup holds no entry position.
    bool UpdateMenu(HMENU popup);

    // The path shortened to at most maxLength characters where possible, keeping the root and
    // the file name and dropping folders from the middle: "C:\...\dir\file.bin".
    static CString AbbreviatePath(const CString& path, int maxLength);
    // The full, normalised form of a path (absolute, "." and ".." resolved, short 8.3 parts in
    // their long form where the file system knows them).
    static CString FullPath(LPCWSTR pathName);
    // Whether two paths name the same file: full forms compared without regard to case, a
    // drive's or a share's file written with "\\?\" or "\\.\" as it is written without.
    static bool SamePath(LPCWSTR a, LPCWSTR b);
    // Whether the list may offer the path: a full, normalised path within the system's limits
    // that can name a file (not a folder's name ending in a separator, no wildcards or control
    // characters), in any form that FullPath gives: a drive's, a share's, "\\?\" and "\\.\"
    // names. The list itself only ever stores such paths; others come from a profile that
    // something else wrote.
    static bool IsFullFilePath(const CString& path);

private:
    bool IsEntryCommand(UINT id) const;

    UINT m_nFirstCommand;
    CString m_strSection;
    CString m_strEntryFormat;
    int m_nSize;
    int m_nMaxDisplayLength;
    std::vector<CString> m_files;
    CString m_strPlaceholder;  // the menu's own text for the entry position, seen on first update
};
