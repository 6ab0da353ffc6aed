// PathRules: roots, the plain and the "\\?\" forms of file names, and their shortened form.
#include "framework/core/PathRules.h"

#include <vector>

namespace {
constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kUncPrefix = L"\\\\?\\UNC\\";

bool IsDriveLetter(wchar_t ch) {
    return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z');
}

wchar_t AsciiUpper(wchar_t ch) {
    return (ch >= L'a' && ch <= L'z') ? static_cast<wchar_t>(ch - L'a' + L'A') : ch;
}

// Whether the name starts with `prefix`, its letters compared without regard to case.
bool StartsWithNoCase(std::wstring_view path, std::wstring_view prefix) {
    if (path.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (AsciiUpper(path[i]) != AsciiUpper(prefix[i]))
            return false;
    return true;
}

// Where the server and the share of "server\share\rest", starting at `at`, end (past the
// separator after the share, where there is one).
size_t SkipServerAndShare(std::wstring_view path, size_t at) {
    for (int part = 0; part < 2 && at < path.size(); ++part) {
        while (at < path.size() && !IsPathSeparator(path[at]))
            ++at;
        if (at < path.size())
            ++at;
    }
    return at;
}
}  // namespace

bool IsPathSeparator(wchar_t ch) {
    return ch == L'\\' || ch == L'/';
}

bool HasLongPathPrefix(std::wstring_view path) {
    return path.substr(0, kLongPathPrefix.size()) == kLongPathPrefix;
}

bool HasDevicePrefix(std::wstring_view path) {
    return path.substr(0, kDevicePrefix.size()) == kDevicePrefix;
}

size_t RootLength(std::wstring_view path) {
    if (HasLongPathPrefix(path)) {
        if (StartsWithNoCase(path, kUncPrefix))
            return SkipServerAndShare(path, kUncPrefix.size());
        return kLongPathPrefix.size() + RootLength(path.substr(kLongPathPrefix.size()));
    }
    const size_t n = path.size();
    if (n >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]))
        return SkipServerAndShare(path, 2);
    if (n >= 2 && path[1] == L':')
        return (n >= 3 && IsPathSeparator(path[2])) ? 3 : 2;
    if (n >= 1 && IsPathSeparator(path[0]))
        return 1;
    return 0;
}

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
    if (HasLongPathPrefix(fullPath) || HasDevicePrefix(fullPath))
        return std::wstring(fullPath);
    if (fullPath.size() >= 2 && IsPathSeparator(fullPath[0]) && IsPathSeparator(fullPath[1]))
        return std::wstring(kUncPrefix) + std::wstring(fullPath.substr(2));
    return std::wstring(kLongPathPrefix) + std::wstring(fullPath);
}

std::wstring PlainPath(std::wstring_view path) {
    if (!HasLongPathPrefix(path) && !HasDevicePrefix(path))
        return std::wstring(path);
    if (path.size() >= 7 && IsDriveLetter(path[4]) && path[5] == L':' && IsPathSeparator(path[6]))
        return std::wstring(path.substr(4));
    if (HasLongPathPrefix(path) && path.size() > kUncPrefix.size() && StartsWithNoCase(path, kUncPrefix))
        return L"\\\\" + std::wstring(path.substr(kUncPrefix.size()));
    return std::wstring(path);
}

std::wstring SystemPathFor(std::wstring_view name, std::wstring_view fullPath) {
    if (HasLongPathPrefix(name) || HasDevicePrefix(name) || fullPath.size() < kMaxPlainPathLength)
        return std::wstring(name);
    return ExtendedLengthPath(fullPath);
}

std::wstring AbbreviatePath(std::wstring_view path, size_t maxLength) {
    if (path.size() <= maxLength)
        return std::wstring(path);
    const size_t root = RootLength(path);
    // The components after the root, and where each starts.
    std::vector<size_t> starts;
    for (size_t at = root; at < path.size();) {
        starts.push_back(at);
        while (at < path.size() && !IsPathSeparator(path[at]))
            ++at;
        if (at < path.size())
            ++at;
    }
    if (starts.empty())
        return std::wstring(path);
    const std::wstring_view rootText = path.substr(0, root);
    constexpr std::wstring_view kEllipsis = L"...\\";
    // Keep as many trailing components as fit after "root...\"; the file name always stays.
    size_t keepFrom = starts.back();
    for (size_t i = starts.size() - 1; i-- > 0;) {
        const size_t candidate = starts[i];
        if (rootText.size() + kEllipsis.size() + (path.size() - candidate) > maxLength)
            break;
        keepFrom = candidate;
    }
    if (keepFrom == starts.front())
        return std::wstring(path);  // nothing would be dropped
    const std::wstring_view tail = path.substr(keepFrom);
    if (rootText.size() + kEllipsis.size() + tail.size() > maxLength && keepFrom == starts.back()) {
        // Even the file name alone is too long with the root: the name by itself says most.
        return std::wstring(tail);
    }
    return std::wstring(rootText) + std::wstring(kEllipsis) + std::wstring(tail);
}
