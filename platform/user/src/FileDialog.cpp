// GetOpenFileNameA and GetSaveFileNameA: the hook's answer or the dialog's
// choice, written into the caller's record.
#include "FileDialogChoice.h"

#include "CommonDialogError.h"

#include "ModalAnswers.h"
#include "WinDialog.h"
#include "WinFile.h"
#include "WinPathName.h"

#include <fnmatch.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

namespace
{
DWORD gLastError = 0;
std::optional<FileDialogChoice> gPendingChoice;

std::string InitialFolder(const OPENFILENAMEA& ofn)
{
    if (ofn.lpstrInitialDir != nullptr && *ofn.lpstrInitialDir != '\0')
        return ofn.lpstrInitialDir;
    char szFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, szFolder);
    return szFolder;
}

// The extension a typed name without one gets: the chosen filter's first
// concrete one, else the default.
std::string ExtensionFor(const OPENFILENAMEA& ofn, DWORD nFilterIndex)
{
    if (ofn.lpstrDefExt == nullptr)
        return {};
    const std::vector<FileFilter> filters = ParseFileFilters(ofn.lpstrFilter);
    if (nFilterIndex >= 1 && nFilterIndex <= filters.size())
    {
        for (const std::string& pattern : filters[nFilterIndex - 1].patterns)
        {
            const size_t nDot = pattern.rfind('.');
            if (nDot != std::string::npos && pattern.find_first_of("*?", nDot) == std::string::npos)
                return pattern.substr(nDot + 1);
        }
    }
    return ofn.lpstrDefExt;
}

// Writes the choice into the record; FALSE (with the reason) when it does
// not fit or a file that must exist is missing.
BOOL WriteChoice(OPENFILENAMEA& ofn, bool bSave, FileDialogChoice choice)
{
    const DWORD nFilterIndex = choice.nFilterIndex != 0 ? choice.nFilterIndex : ofn.nFilterIndex;
    if (choice.names.empty())
        return FALSE;
    choice.nFilterIndex = nFilterIndex;
    const std::vector<std::string> paths = ChosenPaths(ofn, bSave, choice);
    if (ReportMissingFile(ofn, bSave, paths, ofn.hwndOwner))
        return FALSE;
    const std::string folder = std::filesystem::path(paths.front()).parent_path().string();
    const bool bSameFolder =
        std::all_of(paths.begin(), paths.end(),
                    [&folder](const std::string& path)
                    { return std::filesystem::path(path).parent_path().string() == folder; });
    // Several files: the folder, then each name; one file: its path.
    std::string result;
    if (paths.size() > 1 && bSameFolder)
    {
        result = folder + '\0';
        for (const std::string& path : paths)
            result += std::filesystem::path(path).filename().string() + '\0';
    }
    else
    {
        for (const std::string& path : paths)
            result += path + '\0';
    }
    result += '\0';
    if (ofn.lpstrFile == nullptr || result.size() > ofn.nMaxFile)
    {
        gLastError = FNERR_BUFFERTOOSMALL;
        if (ofn.lpstrFile != nullptr && ofn.nMaxFile >= 2)
        {
            const auto nNeeded = static_cast<WORD>(std::min<size_t>(result.size(), 0xFFFF));
            std::memcpy(ofn.lpstrFile, &nNeeded, sizeof(nNeeded));
        }
        return FALSE;
    }
    std::memcpy(ofn.lpstrFile, result.data(), result.size());
    const std::string& first = paths.front();
    const size_t nName = paths.size() > 1 && bSameFolder ? folder.size() + 1 : first.rfind('/') + 1;
    const size_t nDot = first.rfind('.');
    ofn.nFileOffset = static_cast<WORD>(nName);
    ofn.nFileExtension =
        static_cast<WORD>(nDot != std::string::npos && nDot >= nName ? nDot + 1 : 0);
    if (ofn.lpstrFileTitle != nullptr && ofn.nMaxFileTitle > 0)
    {
        const std::string title = first.substr(first.rfind('/') + 1);
        const size_t nCopy = std::min<size_t>(title.size(), ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, title.data(), nCopy);
        ofn.lpstrFileTitle[nCopy] = '\0';
    }
    ofn.nFilterIndex = nFilterIndex;
    // Callers save and open by relative names afterwards.
    if (!(ofn.Flags & OFN_NOCHANGEDIR))
        SetCurrentDirectoryA(folder.c_str());
    return TRUE;
}

BOOL RunFileDialog(LPOPENFILENAMEA lpofn, bool bSave)
{
    gLastError = 0;
    if (lpofn == nullptr || lpofn->lStructSize < sizeof(OPENFILENAMEA))
    {
        gLastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    ModalRequest request;
    request.kind = enModalKind::FileDialog;
    request.hOwner = lpofn->hwndOwner;
    request.caption =
        lpofn->lpstrTitle != nullptr ? lpofn->lpstrTitle : (bSave ? "Save As" : "Open");
    request.nFlags = lpofn->Flags;
    request.pData = lpofn;
    request.nDefaultAnswer = IDCANCEL;
    FileDialogChoice choice;
    if (const std::optional<INT_PTR> answer = AskModalAnswer(request))
    {
        std::optional<FileDialogChoice> pending;
        pending.swap(gPendingChoice);
        if (*answer != IDOK || !pending)
            return FALSE;
        choice = *pending;
        if (choice.folder.empty())
            choice.folder = InitialFolder(*lpofn);
    }
    else if (!RunFileDialogWindow(*lpofn, bSave, choice))
    {
        return FALSE;
    }
    else if (choice.names.empty())
    {
        // A hook ended the dialog with OK itself: nothing was chosen here.
        return TRUE;
    }
    return WriteChoice(*lpofn, bSave, choice);
}
} // namespace

std::string FullPathIn(const std::string& folder, const std::string& name)
{
    const std::filesystem::path path(name);
    return (path.is_absolute() ? path : std::filesystem::path(folder) / path)
        .lexically_normal()
        .string();
}

std::vector<std::string> ChosenPaths(const OPENFILENAMEA& ofn, bool bSave,
                                     const FileDialogChoice& choice)
{
    const bool bMulti = !bSave && (ofn.Flags & OFN_ALLOWMULTISELECT) != 0;
    const std::string extension = ExtensionFor(ofn, choice.nFilterIndex);
    std::vector<std::string> paths;
    for (const std::string& name : choice.names)
    {
        std::string path = FullPathIn(choice.folder, name);
        // A file chosen to open that exists as named (a DICOMDIR) is taken
        // as it is; only other names get the extension.
        const bool bExisting = !bSave && std::filesystem::is_regular_file(path);
        if (!extension.empty() && !bExisting && std::filesystem::path(path).extension().empty())
            path += "." + extension;
        paths.push_back(path);
        if (!bMulti)
            break;
    }
    return paths;
}

bool ReportMissingFile(const OPENFILENAMEA& ofn, bool bSave, const std::vector<std::string>& paths,
                       HWND hOwner)
{
    if (bSave || (ofn.Flags & OFN_FILEMUSTEXIST) == 0)
        return false;
    const auto missing = std::find_if(paths.begin(), paths.end(),
                                      [](const std::string& path)
                                      { return !std::filesystem::is_regular_file(path); });
    if (missing == paths.end())
        return false;
    MessageBoxA(hOwner, (*missing + "\nFile not found.").c_str(),
                ofn.lpstrTitle != nullptr ? ofn.lpstrTitle : "Open", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

std::vector<FileFilter> ParseFileFilters(LPCSTR lpstrFilter)
{
    std::vector<FileFilter> filters;
    for (const char* p = lpstrFilter; p != nullptr && *p != '\0';)
    {
        FileFilter filter;
        filter.name = p;
        p += filter.name.size() + 1;
        const std::string patterns = p;
        p += patterns.size() + 1;
        size_t nStart = 0;
        while (nStart <= patterns.size())
        {
            const size_t nEnd = std::min(patterns.find(';', nStart), patterns.size());
            if (nEnd > nStart)
                filter.patterns.push_back(patterns.substr(nStart, nEnd - nStart));
            nStart = nEnd + 1;
        }
        filters.push_back(filter);
        if (patterns.empty())
            break;
    }
    return filters;
}

bool MatchesFileFilter(const FileFilter& filter, const std::string& name)
{
    return std::any_of(filter.patterns.begin(), filter.patterns.end(),
                       [&name](const std::string& pattern)
                       {
                           // "*.*" stands for every name, with a dot or not.
                           return pattern == "*.*" ||
                                  fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
                       });
}

void SetFileDialogChoice(const FileDialogChoice& choice)
{
    gPendingChoice = choice;
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA lpofn)
{
    return RunFileDialog(lpofn, false);
}

BOOL GetSaveFileNameA(LPOPENFILENAMEA lpofn)
{
    return RunFileDialog(lpofn, true);
}

void SetCommonDialogError(DWORD dwError)
{
    gLastError = dwError;
}

DWORD CommDlgExtendedError()
{
    return gLastError;
}
