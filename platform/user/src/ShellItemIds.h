// Item identifier lists as path components, shared by the shell's calls.
#pragma once

#include "WinShell.h"

#include <string>
#include <vector>

using ShellComponents = std::vector<std::string>;

// The components of a list (each identifier's bytes); empty for the desktop
// or a null list.
ShellComponents ComponentsOf(LPCITEMIDLIST pidl);
// A new list of the components, from the shell allocator.
LPITEMIDLIST MakeIdList(const ShellComponents& components);
// The path the components of an absolute list name: the first is absolute,
// the rest are names below it. Empty for the desktop.
std::string PathOfComponents(const ShellComponents& components);
// Whether the path starts at the root: with a separator, or with a drive
// letter and a separator ("X:\" is the root, there being no drives).
bool IsAbsolutePath(const std::string& path);
// The components of an absolute path: under the home folder it is the first,
// otherwise the root "/"; "\" is taken for "/", a leading drive letter,
// "." and empty parts dropped.
ShellComponents ComponentsOfPath(const std::string& path);
// The home folder, without a trailing separator.
std::string HomeFolder();
