// What the open and save dialogs share: the filters of an OPENFILENAMEA and
// the interactive dialog that lets the user choose.
#pragma once

#include "WinFileDialog.h"

#include <string>
#include <vector>

struct FileFilter
{
    std::string name;
    std::vector<std::string> patterns;
};

std::vector<FileFilter> ParseFileFilters(LPCSTR lpstrFilter);
// Whether the name matches one of the patterns (without regard to case).
bool MatchesFileFilter(const FileFilter& filter, const std::string& name);

// A name in a folder, or the name itself when it is a full path.
std::string FullPathIn(const std::string& folder, const std::string& name);

// The full paths the choice names, as many as the dialog takes; a name
// without an extension gets the chosen filter's.
std::vector<std::string> ChosenPaths(const OPENFILENAMEA& ofn, bool bSave,
                                     const FileDialogChoice& choice);
// For an open dialog whose files must exist: tells the user of the first
// missing one in a box owned by hOwner, and returns true.
bool ReportMissingFile(const OPENFILENAMEA& ofn, bool bSave, const std::vector<std::string>& paths,
                       HWND hOwner);

// Runs the dialog; false when the user cancels. The choice comes back as
// the folder, the names typed or picked and the filter.
bool RunFileDialogWindow(OPENFILENAMEA& ofn, bool bSave, FileDialogChoice& choice);
