// CRecentFileList: the list's order, its place in the registry and its entries in the File menu;
// the full and comparable forms of a path.
#include "framework/docview/RecentFileList.h"

#include "framework/core/RegKey.h"

#include <algorithm>
#include <cwchar>

namespace {
// The command ids the framework reserves for recent-file entries, whatever the list's size.
constexpr UINT kMaxEntries = 16;
// The longest path the system takes (with the "\\?\" prefix), and the longest name of one
// folder or file on its file systems.
constexpr size_t kMaxPathLength = 32767;
constexpr size_t kMaxComponentLength = 255;

bool IsSeparator(wchar_t ch) {
    return ch == L'\\' || ch == L'/';
}

// The length of the path's root: "C:\", "\\server\share\" or "\\?\C:\" and the like; 0 for a
// relative path.
int RootLength(const std::wstring& path) {
    const size_t n = path.size();
    if (n >= 4 && path.compare(0, 4, L"\\\\?\\") == 0) {
        // Long-path prefix: "\\?\C:\..." or "\\?\UNC\server\share\...".
        std::wstring rest = path.substr(4);
        if (rest.size() >= 4 && _wcsnicmp(rest.c_str(), L"UNC\\", 4) == 0) {
            size_t at = 4;
            for (int part = 0; part < 2 && at < rest.size(); ++part) {
                while (at < rest.size() && !IsSeparator(rest[at]))
                    ++at;
                if (at < rest.size())
                    ++at;
            }
            return static_cast<int>(4 + at);
        }
        return 4 + RootLength(rest);
    }
    if (n >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t at = 2;
        for (int part = 0; part < 2 && at < n; ++part) {
            while (at < n && !IsSeparator(path[at]))
                ++at;
            if (at < n)
                ++at;
        }
        return static_cast<int>(at);
    }
    if (n >= 2 && path[1] == L':')
        return (n >= 3 && IsSeparator(path[2])) ? 3 : 2;
    if (n >= 1 && IsSeparator(path[0]))
        return 1;
    return 0;
}

// The "\\?\" form of a full path, which the system takes at any length: "\\?\C:\...",
// "\\?\UNC\server\share\..."; a path in the "\\?\" or "\\.\" form already as it is.
std::wstring ExtendedForm(const std::wstring& path) {
    if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0)
        return path;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return L"\\\\?\\UNC\\" + path.substr(2);
    return L"\\\\?\\" + path;
}

// A drive's or a share's file in its plain form, for comparing names: "\\?\C:\x" and "\\.\C:\x"
// as "C:\x", "\\?\UNC\server\share\x" as "\\server\share\x"; any other name as it is.
std::wstring PlainForm(const std::wstring& full) {
    const bool prefixed = full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0;
    if (!prefixed)
        return full;
    const auto isDriveLetter = [](wchar_t ch) { return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z'); };
    if (full.size() >= 7 && isDriveLetter(full[4]) && full[5] == L':' && IsSeparator(full[6]))
        return full.substr(4);
    if (full[2] == L'?' && full.size() > 8 && _wcsnicmp(full.c_str() + 4, L"UNC\\", 4) == 0)
        return L"\\\\" + full.substr(8);
    return full;
}

// The form in which two names of one file compare equal: the full form, plain, without regard to
// case; empty when the name has no full form.
std::wstring ComparableForm(LPCWSTR path) {
    return PlainForm(CRecentFileList::FullPath(path).str());
}

bool SameComparableForm(const std::wstring& a, const std::wstring& b) {
    // File names on Windows compare by ordinal upper-casing, not by the user's locale.
    return !a.empty() && !b.empty() &&
           CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
               CSTR_EQUAL;
}

// The name on disk of the last part of a full path; false when there is no such file or folder.
bool NameOnDisk(const std::wstring& path, std::wstring& name) {
    WIN32_FIND_DATAW data;
    const HANDLE hFind =
        FindFirstFileExW(ExtendedForm(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    FindClose(hFind);
    name = data.cFileName;
    return true;
}

// A full path with its short (8.3) parts in their long form, so that both spellings of one file
// compare equal; the path as it is where the system cannot say (a part that does not exist).
std::wstring LongForm(const std::wstring& full) {
    if (full.size() < MAX_PATH) {
        const DWORD needed = GetLongPathNameW(full.c_str(), nullptr, 0);
        if (needed == 0)
            return full;
        std::wstring longForm(needed, L'\0');
        const DWORD length = GetLongPathNameW(full.c_str(), longForm.data(), needed);
        if (length == 0 || length >= needed)
            return full;
        longForm.resize(length);
        return longForm;
    }
    // Longer paths the system looks up whole only in the "\\?\" form, and not on every system
    // (some overrun a buffer of MAX_PATH on them, others leave "\\?\" names as they are): the
    // short parts are looked up one by one. Only a part with a '~' can be a short name the
    // system made; a wildcard would look up other files.
    const size_t root = static_cast<size_t>(RootLength(full));
    if (full.find(L'~', root) == std::wstring::npos || full.find_first_of(L"*?", root) != std::wstring::npos)
        return full;
    std::wstring result = full.substr(0, root);
    for (size_t at = root; at < full.size();) {
        size_t end = at;
        while (end < full.size() && !IsSeparator(full[end]))
            ++end;
        std::wstring part = full.substr(at, end - at);
        if (part.find(L'~') != std::wstring::npos && !NameOnDisk(result + part, part))
            return full;
        result += part;
        if (end < full.size())
            result += full[end];
        at = end + 1;
    }
    return result;
}
}  // namespace

CRecentFileList::CRecentFileList(UINT firstCommand, LPCWSTR section, LPCWSTR entryFormat, int size,
                                 int maxDisplayLength)
    : m_nFirstCommand(firstCommand), m_strSection(section), m_strEntryFormat(entryFormat),
      m_nSize(std::clamp(size, 1, static_cast<int>(kMaxEntries))), m_nMaxDisplayLength(maxDisplayLength) {}

CString CRecentFileList::FullPath(LPCWSTR pathName) {
    if (pathName == nullptr || *pathName == L'\0')
        return CString();
    DWORD needed = GetFullPathNameW(pathName, 0, nullptr, nullptr);
    if (needed == 0)
        return CString(pathName);
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(pathName, needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return CString(pathName);
    full.resize(length);
    return CString(LongForm(full));
}

bool CRecentFileList::IsFullFilePath(const CString& path) {
    const std::wstring& text = path.str();
    if (text.empty() || text.size() >= kMaxPathLength || IsSeparator(text.back()))
        return false;
    // "\\?\" names (a drive, a share, a volume by its GUID) are taken literally by the system;
    // "\\.\" names (a drive, a device) are normalised like plain ones.
    const bool extended = text.compare(0, 4, L"\\\\?\\") == 0;
    size_t componentLength = 0;
    for (size_t i = extended ? 4 : 0; i < text.size(); ++i) {
        const wchar_t ch = text[i];
        if (ch < L' ' || wcschr(L"<>\"|?*", ch) != nullptr)
            return false;
        componentLength = IsSeparator(ch) ? 0 : componentLength + 1;
        if (componentLength > kMaxComponentLength)
            return false;
    }
    if (extended)
        return true;
    // Full and normalised: the system's own full form of it is the path itself. A relative
    // name, "." or "..", trailing dots or a device name such as CON comes back different.
    std::wstring full(text.size() + 1, L'\0');
    const DWORD length = GetFullPathNameW(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    return length == text.size() && full.compare(0, length, text) == 0;
}

bool CRecentFileList::SamePath(LPCWSTR a, LPCWSTR b) {
    return SameComparableForm(ComparableForm(a), ComparableForm(b));
}

int CRecentFileList::Find(LPCWSTR pathName) const {
    // The name looked up once, not again for each entry.
    const std::wstring wanted = ComparableForm(pathName);
    for (size_t i = 0; i < m_files.size(); ++i)
        if (SameComparableForm(ComparableForm(m_files[i]), wanted))
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

CString CRecentFileList::AbbreviatePath(const CString& path, int maxLength) {
    const std::wstring& text = path.str();
    if (static_cast<int>(text.size()) <= maxLength)
        return path;
    const int root = RootLength(text);
    // The components after the root, and where each starts.
    std::vector<size_t> starts;
    for (size_t at = static_cast<size_t>(root); at < text.size();) {
        starts.push_back(at);
        while (at < text.size() && !IsSeparator(text[at]))
            ++at;
        if (at < text.size())
            ++at;
    }
    if (starts.empty())
        return path;
    const std::wstring rootText = text.substr(0, static_cast<size_t>(root));
    const std::wstring ellipsis = L"...\\";
    // Keep as many trailing components as fit after "root...\"; the file name always stays.
    size_t keepFrom = starts.back();
    for (size_t i = starts.size() - 1; i-- > 0;) {
        const size_t candidate = starts[i];
        if (rootText.size() + ellipsis.size() + (text.size() - candidate) > static_cast<size_t>(maxLength))
            break;
        keepFrom = candidate;
    }
    if (keepFrom == starts.front())
        return path;  // nothing would be dropped
    const std::wstring tail = text.substr(keepFrom);
    if (rootText.size() + ellipsis.size() + tail.size() > static_cast<size_t>(maxLength) && keepFrom == starts.back()) {
        // Even the file name alone is too long with the root: the name by itself says most.
        return CString(tail);
    }
    return CString(rootText + ellipsis + tail);
}

CString CRecentFileList::GetMenuText(int index) const {
    const CString shown = AbbreviatePath(m_files.at(static_cast<size_t>(index)), m_nMaxDisplayLength);
    std::wstring escaped;
    for (wchar_t ch : shown.str()) {
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
