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

    int GetCount() const { return static_cast<int>(m_files.size()); }
    const CString& operator[](int index) const { return m_files.at(static_cast<size_t>(index)); }
    UINT GetFirstCommand() const { return m_nFirstCommand; }

    // Puts the file at the top, as a full path (FullPath); an entry for the same file (SameFullPath)
    // moves rather than repeats, and the oldest entry drops off a full list.
    void Add(LPCWSTR pathName);
    void Remove(int index);
    // Removes the entry for that file, if there is one; returns whether there was.
    bool Remove(LPCWSTR pathName);
    // The index of the file's entry, or -1.
    int Find(LPCWSTR pathName) const;

    // Loads and stores the list in the application's profile key; false when the key is missing
    // or a write failed. The list only ever stores full file names (IsFullFilePath); other names
    // come from a profile that something else wrote, and are left out.
    bool ReadList(HKEY appKey);
    bool WriteList(HKEY appKey) const;

    // The text of entry index as the menu shows it: "&1 C:\...\dir\file.bin" (AbbreviatePath),
    // '&' doubled.
    CString GetMenuText(int index) const;
    // Replaces the entries in the popup that holds them (found by their command ids) with the
    // current list. With an empty list the popup shows the grayed placeholder item it came with.
    // Returns false when the popup holds no entry position.
    bool UpdateMenu(HMENU popup);

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
