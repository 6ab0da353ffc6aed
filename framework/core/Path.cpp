// Path: full forms of file names, comparing them, and the name the system is handed.
#include "framework/core/Path.h"

#include <cwchar>

namespace {
// The longest name the system takes (with the "\\?\" prefix), and the longest name of one
// folder or file on its file systems.
constexpr size_t kMaxPathLength = 32767;
constexpr size_t kMaxComponentLength = 255;

// The system's own full form of a name (what it resolves a name to before opening it); empty
// when it gives none.
std::wstring SystemFullForm(LPCWSTR name) {
    const DWORD needed = GetFullPathNameW(name, 0, nullptr, nullptr);
    if (needed == 0)
        return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(name, needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return {};
    full.resize(length);
    return full;
}

// The name on disk of the last part of a full name; false when there is no such file or folder.
bool NameOnDisk(const std::wstring& path, std::wstring& name) {
    WIN32_FIND_DATAW data;
    const HANDLE hFind =
        FindFirstFileExW(ExtendedLengthPath(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    FindClose(hFind);
    name = data.cFileName;
    return true;
}

// A full name with its short (8.3) parts in their long form, so that both spellings of one file
// compare equal; the name as it is where the system cannot say (a part that does not exist).
std::wstring LongForm(const std::wstring& full) {
    if (full.size() < kMaxPlainPathLength) {
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
    // Longer names the system looks up whole only in the "\\?\" form, and not on every system
    // (some overrun a buffer of MAX_PATH on them, others leave "\\?\" names as they are): the
    // short parts are looked up one by one. Only a part with a '~' can be a short name the
    // system made; a wildcard would look up other files.
    const size_t root = RootLength(full);
    if (full.find(L'~', root) == std::wstring::npos || full.find_first_of(L"*?", root) != std::wstring::npos)
        return full;
    std::wstring result = full.substr(0, root);
    for (size_t at = root; at < full.size();) {
        size_t end = at;
        while (end < full.size() && !IsPathSeparator(full[end]))
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

// The form in which two full names of one file compare equal: plain, compared without regard
// to case.
bool SameComparableForm(const std::wstring& a, const std::wstring& b) {
    // File names on Windows compare by ordinal upper-casing, not by the user's locale.
    return !a.empty() && !b.empty() &&
           CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
               CSTR_EQUAL;
}
}  // namespace

CString FullPath(LPCWSTR pathName) {
    if (pathName == nullptr || *pathName == L'\0')
        return CString();
    const std::wstring full = SystemFullForm(pathName);
    if (full.empty())
        return CString(pathName);
    return CString(LongForm(full));
}

bool SameFullPath(const CString& a, const CString& b) {
    return SameComparableForm(PlainPath(a.str()), PlainPath(b.str()));
}

bool IsFullFilePath(const CString& path) {
    const std::wstring& text = path.str();
    if (text.empty() || text.size() >= kMaxPathLength || IsPathSeparator(text.back()))
        return false;
    // "\\?\" names (a drive, a share, a volume by its GUID) are taken literally by the system;
    // "\\.\" names (a drive, a device) are normalised like plain ones.
    const bool extended = HasLongPathPrefix(text);
    size_t componentLength = 0;
    for (size_t i = extended ? 4 : 0; i < text.size(); ++i) {
        const wchar_t ch = text[i];
        if (ch < L' ' || wcschr(L"<>\"|?*", ch) != nullptr)
            return false;
        componentLength = IsPathSeparator(ch) ? 0 : componentLength + 1;
        if (componentLength > kMaxComponentLength)
            return false;
    }
    if (extended)
        return true;
    // Full and normalised: the system's own full form of it is the name itself. A relative
    // name, "." or "..", trailing dots or a device name such as CON comes back different.
    return SystemFullForm(text.c_str()) == text;
}

std::wstring SystemPathName(LPCWSTR pathName) {
    if (pathName == nullptr)
        return {};
    // The system applies its limit to the full form it resolves the name to, not to the name.
    return SystemPathFor(pathName, SystemFullForm(pathName));
}
