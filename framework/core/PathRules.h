// PathRules: the rules of Windows file names that need no system call: where a name's root
// ends, its plain and its "\\?\" (extended-length) forms, which form the system must be handed,
// and a name shortened for a menu. Window-free: built into the program and natively for tests.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest name the system opens in its plain form is one character shorter than this
// (MAX_PATH, which counts the terminator); a longer one it opens only in the "\\?\" form.
inline constexpr size_t kMaxPlainPathLength = 260;

bool IsPathSeparator(wchar_t ch);

// Whether the name starts with "\\?\" (taken literally by the system) or "\\.\" (the device
// namespace).
bool HasLongPathPrefix(std::wstring_view path);
bool HasDevicePrefix(std::wstring_view path);

// The length of the name's root: "C:\", "\\server\share\", "\\?\C:\", "\\?\UNC\server\share\"
// and the like; 2 for "C:" and 1 for "\"; 0 for a relative name.
size_t RootLength(std::wstring_view path);

// The "\\?\" form of a full name, which the system takes at any length: "\\?\C:\...",
// "\\?\UNC\server\share\..."; a name in the "\\?\" or "\\.\" form stays as it is.
std::wstring ExtendedLengthPath(std::wstring_view fullPath);

// A drive's or a share's file in its plain form, as people write it: "\\?\C:\x" and "\\.\C:\x"
// as "C:\x", "\\?\UNC\server\share\x" as "\\server\share\x"; any other name as it is.
std::wstring PlainPath(std::wstring_view path);

// The name to hand the system for a file named `name`, whose full form (as the system itself
// resolves it) is `fullPath`: the name as it is while the full form is shorter than
// kMaxPlainPathLength, else the "\\?\" form of the full form. A name the user wrote with "\\?\"
// or "\\.\" is handed over as written.
std::wstring SystemPathFor(std::wstring_view name, std::wstring_view fullPath);

// The name shortened to at most maxLength characters where possible, keeping the root and the
// file name and dropping folders from the middle: "C:\...\dir\file.bin". A file name too long
// to fit even with the root comes alone; a name with nothing to drop stays whole.
std::wstring AbbreviatePath(std::wstring_view path, size_t maxLength);
