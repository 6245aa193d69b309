// Message boxes: a modal dialog of an icon, the text and a row of buttons,
// laid out in pixels from the text's size. The modal-answer hook is asked
// first, so tests and headless runs never wait on one.
#include "DialogManager.h"

#include "ModalAnswers.h"
#include "WinCursor.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinSysMetrics.h"
#include "WinWindow.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kMaxTextWidth = 480;

struct ButtonSpec
{
    int nId;
    const char* pszText;
};

std::vector<ButtonSpec> ButtonsOf(UINT uType)
{
    switch (uType & MB_TYPEMASK)
    {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
        return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default:
        return {{IDOK, "OK"}};
    }
}

int DefaultButtonOf(UINT uType)
{
    const std::vector<ButtonSpec> buttons = ButtonsOf(uType);
    const std::size_t nIndex = std::min<std::size_t>((uType & MB_DEFMASK) >> 8, buttons.size() - 1);
    return buttons[nIndex].nId;
}

LPCSTR IconOf(UINT uType)
{
    switch (uType & MB_ICONMASK)
    {
    case MB_ICONHAND:
        return IDI_HAND;
    case MB_ICONQUESTION:
        return IDI_QUESTION;
    case MB_ICONEXCLAMATION:
        return IDI_EXCLAMATION;
    case MB_ICONASTERISK:
        return IDI_ASTERISK;
    default:
        return nullptr;
    }
}

struct MessageBoxSpec
{
    LPCSTR lpszText;
    UINT uType;
};

HWND AddControl(HWND hDlg, LPCSTR pszClass, LPCSTR pszText, DWORD dwStyle, const RECT& rect,
                int nId)
{
    const HWND hControl =
        CreateWindowExA(0, pszClass, pszText, dwStyle | WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, hDlg,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
    // Later controls come after earlier ones in the tab order.
    SetWindowPos(hControl, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(hControl, WM_SETFONT, SendMessageA(hDlg, WM_GETFONT, 0, 0), FALSE);
    return hControl;
}

SIZE MeasureText(HWND hDlg, LPCSTR lpszText)
{
    HDC hdc = GetDC(hDlg);
    HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0)));
    RECT rect{0, 0, kMaxTextWidth, 0};
    DrawTextA(hdc, lpszText, -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(hdc, hOld);
    ReleaseDC(hDlg, hdc);
    return SIZE{rect.right, rect.bottom};
}

void LayOut(HWND hDlg, const MessageBoxSpec& spec)
{
    const LPCSTR lpIcon = IconOf(spec.uType);
    const int nIcon = lpIcon != nullptr ? GetSystemMetrics(SM_CXICON) : 0;
    const SIZE text = MeasureText(hDlg, spec.lpszText);
    const std::vector<ButtonSpec> buttons = ButtonsOf(spec.uType);
    const int nButtons = static_cast<int>(buttons.size());
    const int nRowWidth = nButtons * kButtonWidth + (nButtons - 1) * kGap;
    const int nTextLeft = kMargin + (nIcon > 0 ? nIcon + kMargin : 0);
    const int nWidth = std::max(nTextLeft + text.cx + kMargin, nRowWidth + 2 * kMargin);
    const int nBody = std::max<int>(nIcon, text.cy);
    const int nHeight = kMargin + nBody + kMargin + kButtonHeight + kMargin;
    if (nIcon > 0)
    {
        const HWND hIcon = AddControl(hDlg, "Static", "", SS_ICON,
                                      RECT{kMargin, kMargin, kMargin + nIcon, kMargin + nIcon}, -1);
        SendMessageA(hIcon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, lpIcon)), 0);
    }
    const int nTextTop = kMargin + (nBody - text.cy) / 2;
    AddControl(hDlg, "Static", spec.lpszText, SS_LEFT | SS_NOPREFIX,
               RECT{nTextLeft, nTextTop, nTextLeft + text.cx, nTextTop + text.cy}, 0xFFFF);
    const int nDefault = DefaultButtonOf(spec.uType);
    int x = (nWidth - nRowWidth) / 2;
    const int y = kMargin + nBody + kMargin;
    for (const ButtonSpec& button : buttons)
    {
        const DWORD dwStyle = WS_TABSTOP | (button.nId == nDefault ? BS_DEFPUSHBUTTON : 0) |
                              (&button == &buttons.front() ? WS_GROUP : 0);
        AddControl(hDlg, "Button", button.pszText, dwStyle,
                   RECT{x, y, x + kButtonWidth, y + kButtonHeight}, button.nId);
        x += kButtonWidth + kGap;
    }
    RECT rcWindow{0, 0, nWidth, nHeight};
    AdjustWindowRectEx(&rcWindow, static_cast<DWORD>(GetWindowLongPtrA(hDlg, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hDlg, GWL_EXSTYLE)));
    const int cx = rcWindow.right - rcWindow.left;
    const int cy = rcWindow.bottom - rcWindow.top;
    RECT rcAround{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (const HWND hOwner = GetWindow(hDlg, GW_OWNER); hOwner != nullptr && IsWindowVisible(hOwner))
        GetWindowRect(hOwner, &rcAround);
    const int nLeft = std::clamp<int>((rcAround.left + rcAround.right - cx) / 2, 0,
                                      std::max(0, GetSystemMetrics(SM_CXSCREEN) - cx));
    const int nTop = std::clamp<int>((rcAround.top + rcAround.bottom - cy) / 2, 0,
                                     std::max(0, GetSystemMetrics(SM_CYSCREEN) - cy));
    SetWindowPos(hDlg, nullptr, nLeft, nTop, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(hDlg, DM_SETDEFID, static_cast<WPARAM>(nDefault), 0);
    SetFocus(GetDlgItem(hDlg, nDefault));
}

INT_PTR MessageBoxProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_INITDIALOG)
    {
        const auto* spec = reinterpret_cast<const MessageBoxSpec*>(lParam);
        SetWindowLongPtrA(hDlg, DWLP_USER, static_cast<LONG_PTR>(spec->uType));
        LayOut(hDlg, *spec);
        return FALSE;
    }
    if (nMsg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    const auto uType = static_cast<UINT>(GetWindowLongPtrA(hDlg, DWLP_USER));
    int nId = LOWORD(wParam);
    // Esc answers Cancel, or OK when OK is the only button.
    if (nId == IDCANCEL && GetDlgItem(hDlg, IDCANCEL) == nullptr)
        nId = (uType & MB_TYPEMASK) == MB_OK ? IDOK : 0;
    if (nId != 0 && GetDlgItem(hDlg, nId) != nullptr)
        EndDialog(hDlg, nId);
    return TRUE;
}
} // namespace

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    ModalRequest request;
    request.kind = enModalKind::MessageBox;
    request.hOwner = hWnd;
    request.caption = lpCaption != nullptr ? lpCaption : "Error";
    request.text = lpText != nullptr ? lpText : "";
    request.nFlags = uType;
    request.nDefaultAnswer = DefaultButtonOf(uType);
    if (const std::optional<INT_PTR> answer = AskModalAnswer(request))
        return static_cast<int>(*answer);
    const DialogTemplate tpl{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                             0,
                             0,
                             0,
                             100,
                             40,
                             request.caption.c_str(),
                             "MS Shell Dlg",
                             8,
                             {}};
    MessageBoxSpec spec{request.text.c_str(), uType};
    const HWND hDlg = CreateDialogIndirectParamA(nullptr, &tpl, hWnd, MessageBoxProc,
                                                 reinterpret_cast<LPARAM>(&spec));
    return hDlg != nullptr ? static_cast<int>(RunModalDialog(hDlg)) : 0;
}
