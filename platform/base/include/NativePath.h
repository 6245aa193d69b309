// Paths as the suite writes them ("C:\Data\IMG001.dcm") turned into paths the
// operating system understands. Both separators are accepted; a drive prefix
// has no meaning here and is dropped, so "X:\a" is "/a".
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <string>

// Backslashes become slashes and a leading drive ("X:") is dropped; nothing
// is looked up on disk.
PLATFORMBASE_API std::string GetNativePath(LPCSTR path);

// GetNativePath, then every component that does not exist as written is
// matched without regard to ASCII case against the entries of its folder
// (the exact name wins, then the first match in byte order). Components that
// match nothing stay as written, so the result also names a file about to be
// created inside an existing folder written in another case.
PLATFORMBASE_API std::string ResolveNativePath(LPCSTR path);

// ASCII case-insensitive equality, as Windows file names compare.
PLATFORMBASE_API bool IsSameFileName(const std::string& left, const std::string& right);
