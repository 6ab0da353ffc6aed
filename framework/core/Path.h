// Path: file names as the system resolves them: the full form of a name, whether two names are
// one file, whether a name is a full file name, and the name to hand the system for a file. The
// rules that need no system call are in PathRules.h.
#pragma once

#include "framework/core/PathRules.h"
#include "framework/core/String.h"

// The full, normalised form of a name (absolute, "." and ".." resolved, short 8.3 parts in their
// long form where the file system knows them); the name as it is when the system gives none.
// Always the plain form for a plain name, however long: the "\\?\" form is only for the system.
CString FullPath(LPCWSTR pathName);

// Whether two full names (as FullPath gives them) name the same file: compared without regard to
// case, a drive's or a share's file written with "\\?\" or "\\.\" as it is written without. No
// file is looked up.
bool SameFullPath(const CString& a, const CString& b);

// Whether the name is a full, normalised file name within the system's limits (not a folder's
// name ending in a separator, no wildcards or control characters), in any form that FullPath
// gives: a drive's, a share's, "\\?\" and "\\.\" names.
bool IsFullFilePath(const CString& path);

// The name under which the system is to open the file named `pathName`: the name itself while
// its full form is shorter than MAX_PATH, else the "\\?\" form of the full form, which the system
// opens at any length (unless a program declares itself long-path aware and the system has long
// paths enabled, it refuses the plain form of such a name).
std::wstring SystemPathName(LPCWSTR pathName);
