// CRecentFileList: the list's order, its place in the registry and its entries in the File menu.
#include "framework/docview/RecentFileList.h"

#include "framework/core/Path.h"
#include "framework/core/RegKey.h"

#include <algorithm>

namespace {
// The command ids the framework reserves for recent-file entries, whatever the list's size.
constexpr UINT kMaxEntries = 16;
}  // namespace

CRecentFileList::CRecentFileList(UINT firstCommand, LPCWSTR section, LPCWSTR entryFormat, int size,
                                 int maxDisplayLength)
    : m_nFirstCommand(firstCommand), m_strSection(section), m_strEntryFormat(entryFormat),
      m_nSize(std::clamp(size, 1, static_cast<int>(kMaxEntries))), m_nMaxDisplayLength(maxDisplayLength) {}

int CRecentFileList::Find(LPCWSTR pathName) const {
    // The name looked up once, not again for each entry.
    const CString wanted = FullPath(pathName);
    for (size_t i = 0; i < m_files.size(); ++i)
        if (SameFullPath(FullPath(m_files[i]), wanted))
            return static_cast<int>(i);
    return -1;
}

void CRecentFileList::Add(LPCWSTR pathName) {
    const CString full = FullPath(pathName);
    if (full.IsEmpty())
        return;
    const int existing = Find(full);
    if (existing >= 0)
        m_files.erase(m_files.begin() + existing);
    m_files.insert(m_files.begin(), full);
    if (m_files.size() > static_cast<size_t>(m_nSize))
        m_files.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < GetCount())
        m_files.erase(m_files.begin() + index);
}

bool CRecentFileList::Remove(LPCWSTR pathName) {
    const int index = Find(pathName);
    if (index < 0)
        return false;
    Remove(index);
    return true;
}

bool CRecentFileList::ReadList(HKEY appKey) {
    m_files.clear();
    if (appKey == nullptr)
        return false;
    const CRegKey section = CRegKey::Open(appKey, m_strSection);
    if (!section)
        return false;
    for (int i = 0; i < m_nSize; ++i) {
        CString name;
        name.Format(m_strEntryFormat, i + 1);
        CString value;
        // Entries are kept in order without gaps, but a hand-edited or damaged list may have
        // gaps, repeats, values of other types and names no file can have: those are left out,
        // and so are not written back.
        if (section.QueryString(name, value) && IsFullFilePath(value) && Find(value) < 0)
            m_files.push_back(value);
    }
    return true;
}

bool CRecentFileList::WriteList(HKEY appKey) const {
    if (appKey == nullptr)
        return false;
    CRegKey section = CRegKey::Create(appKey, m_strSection);
    if (!section)
        return false;
    bool ok = true;
    for (int i = 0; i < static_cast<int>(kMaxEntries); ++i) {
        CString name;
        name.Format(m_strEntryFormat, i + 1);
        if (i < GetCount())
            ok = section.SetString(name, m_files[static_cast<size_t>(i)]) && ok;
        else
            ok = section.DeleteValue(name) && ok;
    }
    return ok;
}

CString CRecentFileList::GetMenuText(int index) const {
    const std::wstring shown = AbbreviatePath(m_files.at(static_cast<size_t>(index)).str(),
                                              static_cast<size_t>(std::max(m_nMaxDisplayLength, 0)));
    std::wstring escaped;
    for (wchar_t ch : shown) {
        escaped += ch;
        if (ch == L'&')
            escaped += L'&';  // a lone '&' would underline the next character instead
    }
    CString text;
    // Entries 1 to 9 get their digit as the access key, the tenth "1&0"; the ones after it are
    // numbered on, with no key left to give them.
    const int number = index + 1;
    if (number < 10)
        text.Format(L"&%d %s", number, escaped.c_str());
    else if (number == 10)
        text.Format(L"1&0 %s", escaped.c_str());
    else
        text.Format(L"%d %s", number, escaped.c_str());
    return text;
}

bool CRecentFileList::IsEntryCommand(UINT id) const {
    return id >= m_nFirstCommand && id < m_nFirstCommand + kMaxEntries;
}

bool CRecentFileList::UpdateMenu(HMENU popup) {
    if (popup == nullptr)
        return false;
    int position = -1;
    const int itemCount = GetMenuItemCount(popup);
    for (int i = 0; i < itemCount; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id != static_cast<UINT>(-1) && IsEntryCommand(id)) {
            position = i;
            break;
        }
    }
    if (position < 0)
        return false;

    if (m_strPlaceholder.IsEmpty() && GetMenuItemID(popup, position) == m_nFirstCommand) {
        const int length = GetMenuStringW(popup, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
        if (length > 0) {
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            GetMenuStringW(popup, static_cast<UINT>(position), text.data(), length + 1, MF_BYPOSITION);
            text.resize(static_cast<size_t>(length));
            m_strPlaceholder = CString(std::move(text));
        }
    }

    // Out with every entry position, in with the current list.
    for (int i = GetMenuItemCount(popup) - 1; i >= position; --i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id != static_cast<UINT>(-1) && IsEntryCommand(id))
            DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    }
    if (m_files.empty()) {
        InsertMenuW(popup, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_GRAYED, m_nFirstCommand,
                    m_strPlaceholder);
        return true;
    }
    for (int i = 0; i < GetCount(); ++i) {
        InsertMenuW(popup, static_cast<UINT>(position + i), MF_BYPOSITION | MF_STRING,
                    m_nFirstCommand + static_cast<UINT>(i), GetMenuText(i));
    }
    return true;
}
