// PrintDlgA: the hook's answer or the dialog's choice, returned as a
// DEVNAMES block and a printer DC.
#include "WinPrintDialog.h"

#include "CommonDialogError.h"
#include "ModalAnswers.h"
#include "WinDialog.h"
#include "WinFileDialog.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace
{
std::optional<PrintDialogChoice> gPendingChoice;

// The path offered for a document printed to a file.
constexpr const char* kDefaultOutput = "Document.pdf";

const DialogItemTemplate kPrintItems[] = {
    {"Static", "&Printer:", 0xFFFF, WS_CHILD | WS_VISIBLE, 0, 7, 9, 40, 10},
    {"ComboBox", "", PD_IDC_DESTINATION,
     WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 50, 7, 170, 80},
    {"Static", "&File:", 0xFFFF, WS_CHILD | WS_VISIBLE, 0, 7, 27, 40, 10},
    {"Edit", "", PD_IDC_OUTPUT, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0,
     50, 25, 170, 12},
    {"Static", "&Copies:", 0xFFFF, WS_CHILD | WS_VISIBLE, 0, 7, 45, 40, 10},
    {"Edit", "1", PD_IDC_COPIES, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_NUMBER, 0, 50,
     43, 30, 12},
    {"Button", "OK", IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 108, 64, 54,
     14},
    {"Button", "Cancel", IDCANCEL, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 166, 64,
     54, 14},
};

const DialogTemplate kPrintTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                        DS_SETFONT | DS_CENTER,
                                    0,
                                    0,
                                    0,
                                    227,
                                    85,
                                    "Print",
                                    "MS Shell Dlg",
                                    8,
                                    kPrintItems};

struct PrintDialogState
{
    PRINTDLGA* pPd;
    std::vector<std::string> destinations;
    PrintDialogChoice* pChoice;
};

std::string TextOf(HWND hDlg, int nId)
{
    char szText[1024] = {};
    GetDlgItemTextA(hDlg, nId, szText, sizeof(szText));
    return szText;
}

// The destination the caller's DEVNAMES names, else the default one.
PrintDialogChoice InitialChoice(const PRINTDLGA& pd, const std::vector<std::string>& destinations)
{
    PrintDialogChoice choice;
    choice.destination = destinations.front();
    choice.output = kDefaultOutput;
    choice.nCopies = std::max<WORD>(pd.nCopies, 1);
    std::string destination;
    std::string output;
    if (ReadDevNames(pd.hDevNames, destination, output) &&
        std::find(destinations.begin(), destinations.end(), destination) != destinations.end())
    {
        choice.destination = destination;
        if (!output.empty())
            choice.output = output;
    }
    return choice;
}

void InitPrintDialog(HWND hDlg, PrintDialogState& state)
{
    const HWND hCombo = GetDlgItem(hDlg, PD_IDC_DESTINATION);
    for (const std::string& destination : state.destinations)
        SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(destination.c_str()));
    const auto chosen =
        std::find(state.destinations.begin(), state.destinations.end(), state.pChoice->destination);
    SendMessageA(hCombo, CB_SETCURSEL, WPARAM(chosen - state.destinations.begin()), 0);
    SetDlgItemTextA(hDlg, PD_IDC_OUTPUT, state.pChoice->output.c_str());
    SetDlgItemInt(hDlg, PD_IDC_COPIES, state.pChoice->nCopies, FALSE);
}

void TakeChoice(HWND hDlg, PrintDialogState& state)
{
    const LRESULT nIndex = SendDlgItemMessageA(hDlg, PD_IDC_DESTINATION, CB_GETCURSEL, 0, 0);
    if (nIndex >= 0 && std::size_t(nIndex) < state.destinations.size())
        state.pChoice->destination = state.destinations[std::size_t(nIndex)];
    state.pChoice->output = TextOf(hDlg, PD_IDC_OUTPUT);
    const UINT nCopies = GetDlgItemInt(hDlg, PD_IDC_COPIES, nullptr, FALSE);
    state.pChoice->nCopies = WORD(std::clamp<UINT>(nCopies, 1, 0xFFFF));
}

INT_PTR PrintDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<PrintDialogState*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    if (msg == WM_INITDIALOG)
    {
        state = reinterpret_cast<PrintDialogState*>(lParam);
        InitPrintDialog(hDlg, *state);
        // The hook hears nothing before its WM_INITDIALOG, not even the
        // notices of the controls being filled.
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
    }
    if (state != nullptr && (state->pPd->Flags & PD_ENABLEPRINTHOOK) &&
        state->pPd->lpfnPrintHook != nullptr)
    {
        const LPARAM hookParam =
            msg == WM_INITDIALOG ? reinterpret_cast<LPARAM>(state->pPd) : lParam;
        if (state->pPd->lpfnPrintHook(hDlg, msg, wParam, hookParam) != 0)
            return TRUE;
    }
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
    {
        if (LOWORD(wParam) == IDOK)
            TakeChoice(hDlg, *state);
        EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// The hook's answer, or the dialog run: the choice, or nullopt for Cancel.
std::optional<PrintDialogChoice> AskChoice(PRINTDLGA& pd,
                                           const std::vector<std::string>& destinations)
{
    PrintDialogChoice choice = InitialChoice(pd, destinations);
    if (pd.Flags & PD_RETURNDEFAULT)
        return choice;
    ModalRequest request;
    request.kind = enModalKind::PrintDialog;
    request.hOwner = pd.hwndOwner;
    request.caption = "Print";
    request.nFlags = pd.Flags;
    request.pData = &pd;
    request.nDefaultAnswer = IDCANCEL;
    if (const std::optional<INT_PTR> answer = AskModalAnswer(request))
    {
        std::optional<PrintDialogChoice> pending;
        pending.swap(gPendingChoice);
        if (*answer != IDOK)
            return std::nullopt;
        if (pending)
        {
            if (!pending->destination.empty())
                choice.destination = pending->destination;
            if (!pending->output.empty())
                choice.output = pending->output;
            choice.nCopies = std::max<WORD>(pending->nCopies, 1);
        }
        return choice;
    }
    PrintDialogState state{&pd, destinations, &choice};
    if (DialogBoxIndirectParamA(nullptr, &kPrintTemplate, pd.hwndOwner, PrintDialogProc,
                                reinterpret_cast<LPARAM>(&state)) != IDOK)
        return std::nullopt;
    return choice;
}

BOOL ReturnChoice(PRINTDLGA& pd, const PrintDialogChoice& choice, bool bDefault)
{
    const std::string output = choice.destination == GDI_PRINT_TO_FILE ? choice.output : "";
    HDC hdc = nullptr;
    if (pd.Flags & (PD_RETURNDC | PD_RETURNIC))
    {
        hdc = CreateDCA(nullptr, choice.destination.c_str(), output.c_str(), nullptr);
        if (hdc == nullptr)
        {
            SetCommonDialogError(PDERR_CREATEICFAILURE);
            return FALSE;
        }
    }
    if (pd.hDevNames != nullptr)
        GlobalFree(pd.hDevNames);
    pd.hDevNames = MakeDevNames(choice.destination, output, bDefault);
    pd.hDC = hdc;
    pd.nCopies = choice.nCopies;
    if (choice.destination == GDI_PRINT_TO_FILE)
        pd.Flags |= PD_PRINTTOFILE;
    else
        pd.Flags &= ~DWORD(PD_PRINTTOFILE);
    return TRUE;
}
} // namespace

HGLOBAL MakeDevNames(const std::string& destination, const std::string& output, bool bDefault)
{
    const std::string driver = "WINSPOOL";
    const std::size_t size =
        sizeof(DEVNAMES) + driver.size() + destination.size() + output.size() + 3;
    if (size > 0xFFFF)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
    if (names == nullptr)
    {
        GlobalFree(block);
        return nullptr;
    }
    char* base = reinterpret_cast<char*>(names);
    WORD offset = sizeof(DEVNAMES);
    const auto put = [&](const std::string& text, WORD& field)
    {
        field = offset;
        std::memcpy(base + offset, text.c_str(), text.size() + 1);
        offset = WORD(offset + text.size() + 1);
    };
    put(driver, names->wDriverOffset);
    put(destination, names->wDeviceOffset);
    put(output, names->wOutputOffset);
    names->wDefault = bDefault ? DN_DEFAULTPRN : 0;
    GlobalUnlock(block);
    return block;
}

bool ReadDevNames(HGLOBAL hDevNames, std::string& destination, std::string& output)
{
    if (hDevNames == nullptr)
        return false;
    const std::size_t size = GlobalSize(hDevNames);
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(hDevNames));
    if (names == nullptr)
        return false;
    const char* base = reinterpret_cast<const char*>(names);
    // Texts must lie whole inside the block.
    const auto text = [&](WORD offset, std::string& out)
    {
        if (offset < sizeof(DEVNAMES) || offset >= size)
            return false;
        const void* end = std::memchr(base + offset, '\0', size - offset);
        if (end == nullptr)
            return false;
        out.assign(base + offset, static_cast<const char*>(end));
        return true;
    };
    const bool bRead = size >= sizeof(DEVNAMES) && text(names->wDeviceOffset, destination) &&
                       text(names->wOutputOffset, output);
    GlobalUnlock(hDevNames);
    return bRead;
}

void SetPrintDialogChoice(const PrintDialogChoice& choice)
{
    gPendingChoice = choice;
}

BOOL PrintDlgA(LPPRINTDLGA lppd)
{
    SetCommonDialogError(0);
    if (lppd == nullptr || lppd->lStructSize < sizeof(PRINTDLGA))
    {
        SetCommonDialogError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    const std::vector<std::string> destinations = GdiGetPrintDestinations();
    const std::optional<PrintDialogChoice> choice = AskChoice(*lppd, destinations);
    if (!choice)
        return FALSE;
    return ReturnChoice(*lppd, *choice, choice->destination == destinations.front());
}
