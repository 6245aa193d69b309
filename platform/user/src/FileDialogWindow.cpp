// The open and save dialog the user sees: the folder at the top, its
// sub-folders on the left (double click enters one, ".." goes up), its
// files through the chosen filter on the right (a click puts the name in
// the edit, a double click chooses it), the name edit and the filter combo.
// OK with a folder's name enters it; several names in double quotes are a
// multiple choice. An open dialog that takes several files lets the user
// pick them in the file list with Ctrl and Shift, and quotes them in the
// edit. A hook of the caller's lives in a child dialog and hears
// what happens.
#include "FileDialogChoice.h"

#include "ControlSupport.h"
#include "ResourceRegistry.h"
#include "WinControls.h"
#include "WinDialog.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace
{
constexpr DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kStaticStyle =
    WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_PATHELLIPSIS;

const DialogItemTemplate kOpenItems[] = {
    {"Static", "Look in:", stc4, WS_CHILD | WS_VISIBLE, 0, 7, 7, 40, 10},
    {"Static", "", stc1, kStaticStyle, 0, 50, 7, 223, 10},
    {"ListBox", "", lst2, kListStyle, 0, 7, 21, 90, 108},
    {"ListBox", "", lst1, kListStyle, 0, 102, 21, 171, 108},
    {"Static", "File &name:", stc3, WS_CHILD | WS_VISIBLE, 0, 7, 138, 50, 10},
    {"Edit", "", edt1, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 60, 136,
     150, 12},
    {"Static", "Files of &type:", stc2, WS_CHILD | WS_VISIBLE, 0, 7, 156, 50, 10},
    {"ComboBox", "", cmb1, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0,
     60, 154, 150, 80},
    {"Button", "&Open", IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 216, 135,
     57, 14},
    {"Button", "Cancel", IDCANCEL, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 216, 153,
     57, 14},
};
// The hook's dialog: an empty child in the corner.
const DialogTemplate kHookTemplate{
    WS_CHILD | WS_VISIBLE | DS_CONTROL, 0, 0, 0, 0, 0, nullptr, nullptr, 0, {}};

const DialogTemplate kOpenTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT |
                                       DS_CENTER,
                                   0,
                                   0,
                                   0,
                                   280,
                                   174,
                                   "Open",
                                   "MS Shell Dlg",
                                   8,
                                   kOpenItems};

struct DialogState
{
    OPENFILENAMEA* pOfn;
    bool bSave;
    FileDialogChoice* pChoice;
    std::string folder;
    std::vector<FileFilter> filters;
    HWND hHook = nullptr;
};

DialogState* StateOf(HWND hDlg)
{
    return reinterpret_cast<DialogState*>(GetWindowLongPtrA(hDlg, DWLP_USER));
}

// Tells the hook; its answer (0 without a hook).
LRESULT NotifyHook(HWND hDlg, UINT nCode)
{
    DialogState& state = *StateOf(hDlg);
    if (state.hHook == nullptr)
        return 0;
    OFNOTIFYA notice{};
    notice.hdr.hwndFrom = hDlg;
    notice.hdr.code = nCode;
    notice.lpOFN = state.pOfn;
    notice.pszFile = state.pOfn->lpstrFile;
    return SendMessageA(state.hHook, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
}

// The hook's dialog procedure is the caller's hook.
INT_PTR HookDialogProc(HWND hHook, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const DialogState* pState = StateOf(GetParent(hHook));
    if (pState == nullptr || pState->pOfn->lpfnHook == nullptr)
        return FALSE;
    return static_cast<INT_PTR>(pState->pOfn->lpfnHook(hHook, nMsg, wParam, lParam));
}

std::string TextOf(HWND hWnd)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hWnd)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string ListText(HWND hList, int nIndex)
{
    std::string text(static_cast<size_t>(SendMessageA(hList, LB_GETTEXTLEN, nIndex, 0)) + 1, '\0');
    SendMessageA(hList, LB_GETTEXT, nIndex, reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.size() - 1);
    return text;
}

void FillLists(HWND hDlg)
{
    DialogState& state = *StateOf(hDlg);
    SetDlgItemTextA(hDlg, stc1, state.folder.c_str());
    const HWND hFolders = GetDlgItem(hDlg, lst2);
    const HWND hFiles = GetDlgItem(hDlg, lst1);
    SendMessageA(hFolders, LB_RESETCONTENT, 0, 0);
    SendMessageA(hFiles, LB_RESETCONTENT, 0, 0);
    std::vector<std::string> folders;
    std::vector<std::string> files;
    const int nFilter = static_cast<int>(SendDlgItemMessageA(hDlg, cmb1, CB_GETCURSEL, 0, 0));
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(state.folder, error))
    {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        if (entry.is_directory(error))
            folders.push_back(name);
        else if (nFilter < 0 || static_cast<size_t>(nFilter) >= state.filters.size() ||
                 MatchesFileFilter(state.filters[static_cast<size_t>(nFilter)], name))
            files.push_back(name);
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    if (std::filesystem::path(state.folder).has_relative_path())
        folders.insert(folders.begin(), "..");
    for (const std::string& name : folders)
        SendMessageA(hFolders, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    for (const std::string& name : files)
        SendMessageA(hFiles, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

// The picked files as the edit shows them: one name alone, several each in
// double quotes, in the list's order.
std::string PickedNames(HWND hFiles)
{
    const int nCount = static_cast<int>(SendMessageA(hFiles, LB_GETSELCOUNT, 0, 0));
    if (nCount < 0)
    {
        const int nSel = static_cast<int>(SendMessageA(hFiles, LB_GETCURSEL, 0, 0));
        return nSel >= 0 ? ListText(hFiles, nSel) : std::string();
    }
    std::vector<int> items(static_cast<size_t>(nCount));
    SendMessageA(hFiles, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
    if (items.size() == 1)
        return ListText(hFiles, items.front());
    std::string text;
    for (const int nItem : items)
        text += (text.empty() ? "\"" : " \"") + ListText(hFiles, nItem) + '"';
    return text;
}

void ShowFolder(HWND hDlg)
{
    FillLists(hDlg);
    NotifyHook(hDlg, CDN_FOLDERCHANGE);
}

void EnterFolder(HWND hDlg, const std::string& folder)
{
    DialogState& state = *StateOf(hDlg);
    std::error_code error;
    const std::filesystem::path path =
        std::filesystem::weakly_canonical(std::filesystem::path(state.folder) / folder, error);
    if (error || !std::filesystem::is_directory(path, error))
        return;
    state.folder = path.string();
    ShowFolder(hDlg);
}

// The names of the edit: one, or several in double quotes.
std::vector<std::string> TypedNames(const std::string& text)
{
    if (text.find('"') == std::string::npos)
        return {text};
    std::vector<std::string> names;
    size_t nAt = 0;
    while ((nAt = text.find('"', nAt)) != std::string::npos)
    {
        const size_t nEnd = text.find('"', nAt + 1);
        if (nEnd == std::string::npos)
            break;
        if (nEnd > nAt + 1)
            names.push_back(text.substr(nAt + 1, nEnd - nAt - 1));
        nAt = nEnd + 1;
    }
    return names;
}

void OnOk(HWND hDlg)
{
    DialogState& state = *StateOf(hDlg);
    const std::string text = TextOf(GetDlgItem(hDlg, edt1));
    if (text.empty())
        return;
    std::error_code error;
    const std::filesystem::path typed = std::filesystem::path(state.folder) / text;
    if (text.find('"') == std::string::npos && std::filesystem::is_directory(typed, error))
    {
        EnterFolder(hDlg, text);
        SetDlgItemTextA(hDlg, edt1, "");
        return;
    }
    const FileDialogChoice choice{
        state.folder, TypedNames(text),
        static_cast<DWORD>(SendDlgItemMessageA(hDlg, cmb1, CB_GETCURSEL, 0, 0) + 1)};
    // A missing file is told while the dialog stays for another name; the
    // hook may refuse the choice and keep the dialog too.
    if (ReportMissingFile(*state.pOfn, state.bSave, ChosenPaths(*state.pOfn, state.bSave, choice),
                          hDlg) ||
        NotifyHook(hDlg, CDN_FILEOK) != 0)
    {
        return;
    }
    *state.pChoice = choice;
    EndDialog(hDlg, IDOK);
}

void OnInitDialog(HWND hDlg, DialogState& state)
{
    SetWindowLongPtrA(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    const OPENFILENAMEA& ofn = *state.pOfn;
    SetWindowTextA(hDlg,
                   ofn.lpstrTitle != nullptr ? ofn.lpstrTitle : (state.bSave ? "Save As" : "Open"));
    SetDlgItemTextA(hDlg, IDOK, state.bSave ? "&Save" : "&Open");
    for (const FileFilter& filter : state.filters)
        SendDlgItemMessageA(hDlg, cmb1, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(filter.name.c_str()));
    const DWORD nIndex = ofn.nFilterIndex >= 1 ? ofn.nFilterIndex - 1 : 0;
    SendDlgItemMessageA(hDlg, cmb1, CB_SETCURSEL, nIndex < state.filters.size() ? nIndex : 0, 0);
    if (!state.bSave && (ofn.Flags & OFN_ALLOWMULTISELECT))
    {
        const HWND hFiles = GetDlgItem(hDlg, lst1);
        SetWindowLongPtrA(hFiles, GWL_STYLE,
                          GetWindowLongPtrA(hFiles, GWL_STYLE) | LBS_EXTENDEDSEL);
    }
    // A name given in the buffer starts the edit (and its folder the lists).
    if (ofn.lpstrFile != nullptr && *ofn.lpstrFile != '\0')
    {
        const std::filesystem::path given(ofn.lpstrFile);
        if (given.has_parent_path() && given.is_absolute())
            state.folder = given.parent_path().string();
        SetDlgItemTextA(hDlg, edt1, given.filename().string().c_str());
    }
    FillLists(hDlg);
    if ((ofn.Flags & OFN_ENABLEHOOK) && ofn.lpfnHook != nullptr)
    {
        state.hHook = CreateDialogIndirectParamA(nullptr, &kHookTemplate, hDlg, HookDialogProc,
                                                 reinterpret_cast<LPARAM>(state.pOfn));
        NotifyHook(hDlg, CDN_INITDONE);
        NotifyHook(hDlg, CDN_FOLDERCHANGE);
    }
}

// A name typed as the dialog opens goes to the name box, the given name
// selected so that typing replaces it; false when a hook hid the box.
bool FocusNameBox(HWND hDlg)
{
    const HWND hName = GetDlgItem(hDlg, edt1);
    // The dialog itself shows only later: the box's own style tells.
    if (hName == nullptr || (GetWindowLongPtrA(hName, GWL_STYLE) & WS_VISIBLE) == 0)
        return false;
    SendMessageA(hName, EM_SETSEL, 0, -1);
    SetFocus(hName);
    return true;
}

// Answers a hook's CDM_GET* message: the text copied into the buffer as far
// as it fits, and the size it needs.
LRESULT AnswerText(const std::string& text, WPARAM cbBuffer, LPARAM lParam)
{
    if (lParam != 0 && cbBuffer > 0)
        CopyTextTo(text.c_str(), reinterpret_cast<LPSTR>(lParam), static_cast<int>(cbBuffer));
    return static_cast<LRESULT>(text.size() + 1);
}

// The hook's requests; nullopt for other messages.
std::optional<LRESULT> OnHookRequest(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const DialogState& state = *StateOf(hDlg);
    const auto spec = [hDlg]
    {
        const std::vector<std::string> names = TypedNames(TextOf(GetDlgItem(hDlg, edt1)));
        return names.empty() ? std::string() : names.front();
    };
    switch (nMsg)
    {
    case CDM_GETSPEC:
        return AnswerText(spec(), wParam, lParam);
    case CDM_GETFILEPATH:
        // Without a name, the folder itself.
        return AnswerText(spec().empty() ? state.folder : FullPathIn(state.folder, spec()), wParam,
                          lParam);
    case CDM_GETFOLDERPATH:
        return AnswerText(state.folder, wParam, lParam);
    case CDM_SETCONTROLTEXT:
        SetDlgItemTextA(hDlg, static_cast<int>(wParam), reinterpret_cast<LPCSTR>(lParam));
        return 0;
    case CDM_HIDECONTROL:
        ShowWindow(GetDlgItem(hDlg, static_cast<int>(wParam)), SW_HIDE);
        return 0;
    default:
        return std::nullopt;
    }
}

INT_PTR FileDialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_INITDIALOG)
    {
        OnInitDialog(hDlg, *reinterpret_cast<DialogState*>(lParam));
        return FocusNameBox(hDlg) ? FALSE : TRUE;
    }
    if (StateOf(hDlg) == nullptr)
        return FALSE;
    if (const std::optional<LRESULT> answer = OnHookRequest(hDlg, nMsg, wParam, lParam))
    {
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, *answer);
        return TRUE;
    }
    if (nMsg != WM_COMMAND)
        return FALSE;
    const HWND hControl = reinterpret_cast<HWND>(lParam);
    switch (LOWORD(wParam))
    {
    case lst2:
        if (HIWORD(wParam) == LBN_DBLCLK)
        {
            const int nSel = static_cast<int>(SendMessageA(hControl, LB_GETCURSEL, 0, 0));
            if (nSel >= 0)
                EnterFolder(hDlg, ListText(hControl, nSel));
        }
        return TRUE;
    case lst1:
        if (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_DBLCLK)
        {
            if (const std::string picked = PickedNames(hControl); !picked.empty())
                SetDlgItemTextA(hDlg, edt1, picked.c_str());
            if (HIWORD(wParam) == LBN_SELCHANGE)
                NotifyHook(hDlg, CDN_SELCHANGE);
            if (HIWORD(wParam) == LBN_DBLCLK)
                OnOk(hDlg);
        }
        return TRUE;
    case cmb1:
        if (HIWORD(wParam) == CBN_SELCHANGE)
        {
            FillLists(hDlg);
            NotifyHook(hDlg, CDN_TYPECHANGE);
        }
        return TRUE;
    case IDOK:
        OnOk(hDlg);
        return TRUE;
    case IDCANCEL:
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}
} // namespace

bool RunFileDialogWindow(OPENFILENAMEA& ofn, bool bSave, FileDialogChoice& choice)
{
    DialogState state{&ofn, bSave, &choice, {}, ParseFileFilters(ofn.lpstrFilter)};
    std::error_code error;
    const bool bInitial = ofn.lpstrInitialDir != nullptr && *ofn.lpstrInitialDir != '\0';
    const std::filesystem::path initial =
        bInitial ? std::filesystem::path(ofn.lpstrInitialDir) : std::filesystem::current_path();
    // The folder as the dialog shows it: whole, without a closing slash.
    state.folder =
        std::filesystem::weakly_canonical(std::filesystem::absolute(initial), error).string();
    if (error)
        state.folder = initial.string();
    return DialogBoxIndirectParamA(nullptr, &kOpenTemplate, ofn.hwndOwner, FileDialogProc,
                                   reinterpret_cast<LPARAM>(&state)) == IDOK;
}
