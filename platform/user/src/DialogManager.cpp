// Dialogs: creation from templates in dialog units, the default dialog
// procedure, keyboard navigation and the modal loop.
#include "DialogManager.h"

#include "ControlSupport.h"

#include "ModalAnswers.h"
#include "WinError.h"
#include "WinInput.h"
#include "WinPaint.h"
#include "WinProcessInfo.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>

namespace
{
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

struct DialogState
{
    HFONT hFont = nullptr;
    bool bOwnFont = false;
    SIZE baseUnits{0, 0};
    bool bModal = false;
    bool bEnded = false;
    INT_PTR nResult = 0;
    UINT nDefId = IDOK;
    HWND hLastFocus = nullptr;
};

struct PendingDialog
{
    DialogState state;
    DLGPROC proc = nullptr;
};

std::map<HWND, DialogState>& Dialogs()
{
    static std::map<HWND, DialogState> dialogs;
    return dialogs;
}

// The dialog being created: its first message takes it.
thread_local PendingDialog* tPending = nullptr;

DialogState* FindDialog(HWND hDlg)
{
    auto& dialogs = Dialogs();
    const auto it = dialogs.find(hDlg);
    return it != dialogs.end() ? &it->second : nullptr;
}

bool IsControlParent(HWND hWnd)
{
    return (GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0;
}

void AddControlsOf(HWND hParent, std::vector<HWND>& controls)
{
    for (HWND hChild = GetWindow(hParent, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        // A shown control parent gives its controls in its place.
        const bool bShown = (GetWindowLongPtrA(hChild, GWL_STYLE) & WS_VISIBLE) != 0;
        if (IsControlParent(hChild) && bShown)
            AddControlsOf(hChild, controls);
        else if (!IsControlParent(hChild))
            controls.push_back(hChild);
    }
}

// The dialog's controls in Tab order: its children, and the controls of
// the control parents among them in their place.
std::vector<HWND> ChildrenOf(HWND hDlg)
{
    std::vector<HWND> children;
    AddControlsOf(hDlg, children);
    return children;
}

DWORD StyleOf(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtrA(hWnd, GWL_STYLE));
}

// The control's own style counts: a dialog still hidden has usable controls.
bool IsUsable(HWND hWnd)
{
    return (StyleOf(hWnd) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

// The dialog's control that holds hCtl (a combo box for its edit field): a
// child of the dialog or of a control parent inside it.
HWND DirectChild(HWND hDlg, HWND hCtl)
{
    while (hCtl != nullptr && GetParent(hCtl) != hDlg &&
           !(IsControlParent(GetParent(hCtl)) && IsChild(hDlg, GetParent(hCtl))))
        hCtl = GetParent(hCtl);
    return hCtl;
}

bool IsPushButton(HWND hWnd)
{
    const LRESULT code = SendMessageA(hWnd, WM_GETDLGCODE, 0, 0);
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

void SetButtonDefaultLook(HWND hButton, bool bDefault)
{
    const DWORD dwType = StyleOf(hButton) & BS_TYPEMASK;
    if (dwType != BS_PUSHBUTTON && dwType != BS_DEFPUSHBUTTON)
        return;
    const DWORD dwWanted = bDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (dwType != dwWanted)
        SendMessageA(hButton, BM_SETSTYLE, (StyleOf(hButton) & ~BS_TYPEMASK) | dwWanted, TRUE);
}

// One push button of the dialog looks like the default one.
void ShowAsDefault(HWND hDlg, HWND hDefault)
{
    for (HWND hChild : ChildrenOf(hDlg))
    {
        if (IsWindowOfClass(hChild, "Button"))
            SetButtonDefaultLook(hChild, hChild == hDefault);
    }
}

void FocusControl(HWND hDlg, HWND hCtl)
{
    if (hCtl == nullptr)
        return;
    if (SendMessageA(hCtl, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(hCtl, EM_SETSEL, 0, -1);
    SetFocus(hCtl);
    if (DialogState* state = FindDialog(hDlg))
        state->hLastFocus = hCtl;
}

RECT MapUnits(SIZE base, short x, short y, short cx, short cy)
{
    const int left = MulDiv(x, base.cx, 4);
    const int top = MulDiv(y, base.cy, 8);
    return RECT{left, top, left + MulDiv(cx, base.cx, 4), top + MulDiv(cy, base.cy, 8)};
}

HFONT MakeTemplateFont(const DialogTemplate& tpl, bool& bOwn)
{
    bOwn = tpl.pszFontFace != nullptr;
    if (!bOwn)
        return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    return CreateFontA(-MulDiv(tpl.nPointSize, GDI_SCREEN_DPI, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                       DEFAULT_CHARSET, 0, 0, 0, 0, tpl.pszFontFace);
}

POINT PlaceDialog(const DialogTemplate& tpl, HWND hParent, const RECT& rcWindow,
                  const RECT& rcUnits, DWORD dwStyle)
{
    const int nWidth = rcWindow.right - rcWindow.left;
    const int nHeight = rcWindow.bottom - rcWindow.top;
    if (dwStyle & WS_CHILD)
        return POINT{rcUnits.left, rcUnits.top};
    const HWND hOwner = hParent != nullptr ? GetAncestor(hParent, GA_ROOT) : nullptr;
    if (tpl.dwStyle & DS_CENTER)
    {
        RECT rcAround{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (hOwner != nullptr && IsWindowVisible(hOwner))
            GetWindowRect(hOwner, &rcAround);
        POINT pt{(rcAround.left + rcAround.right - nWidth) / 2,
                 (rcAround.top + rcAround.bottom - nHeight) / 2};
        pt.x = std::clamp<LONG>(pt.x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - nWidth));
        pt.y = std::clamp<LONG>(pt.y, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - nHeight));
        return pt;
    }
    POINT origin{0, 0};
    if (hOwner != nullptr && (tpl.dwStyle & DS_ABSALIGN) == 0)
        ClientToScreen(hOwner, &origin);
    return POINT{origin.x + rcUnits.left, origin.y + rcUnits.top};
}

bool CreateItems(HWND hDlg, HINSTANCE hInstance, const DialogTemplate& tpl,
                 const DialogState& state)
{
    for (const DialogItemTemplate& item : tpl.items)
    {
        const RECT rect = MapUnits(state.baseUnits, item.x, item.y, item.cx, item.cy);
        const HWND hItem = CreateWindowExA(
            item.dwExStyle, item.pszClass, item.pszText, item.dwStyle | WS_CHILD, rect.left,
            rect.top, rect.right - rect.left, rect.bottom - rect.top, hDlg,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.nId)), hInstance, nullptr);
        if (hItem == nullptr)
        {
            if (tpl.dwStyle & DS_NOFAILCREATE)
                continue;
            return false;
        }
        // The template's order is the tab order: each item goes under the
        // ones before it.
        SetWindowPos(hItem, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        SendMessageA(hItem, WM_SETFONT, reinterpret_cast<WPARAM>(state.hFont), FALSE);
    }
    return true;
}

UINT FindDefaultId(HWND hDlg)
{
    for (HWND hChild : ChildrenOf(hDlg))
    {
        if (SendMessageA(hChild, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            return static_cast<UINT>(GetDlgCtrlID(hChild));
    }
    return IDOK;
}

HWND CreateDialogWindow(HINSTANCE hInstance, const DialogTemplate* pTemplate, HWND hParent,
                        DLGPROC proc, LPARAM lParam)
{
    if (pTemplate == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const DialogTemplate& tpl = *pTemplate;
    PendingDialog pending;
    pending.proc = proc;
    pending.state.hFont = MakeTemplateFont(tpl, pending.state.bOwnFont);
    pending.state.baseUnits = GetFontBaseUnits(pending.state.hFont);
    DWORD dwStyle = tpl.dwStyle & ~(WS_VISIBLE | DS_CENTER | DS_SETFONT | DS_MODALFRAME |
                                    DS_ABSALIGN | DS_NOFAILCREATE | DS_FIXEDSYS | DS_3DLOOK);
    DWORD dwExStyle = tpl.dwExStyle;
    if (tpl.dwStyle & DS_MODALFRAME)
        dwExStyle |= WS_EX_DLGMODALFRAME;
    if (tpl.dwStyle & DS_CONTROL)
        dwExStyle |= WS_EX_CONTROLPARENT;
    const RECT rcUnits = MapUnits(pending.state.baseUnits, tpl.x, tpl.y, tpl.cx, tpl.cy);
    RECT rcWindow{0, 0, rcUnits.right - rcUnits.left, rcUnits.bottom - rcUnits.top};
    AdjustWindowRectEx(&rcWindow, dwStyle, FALSE, dwExStyle);
    const POINT pt = PlaceDialog(tpl, hParent, rcWindow, rcUnits, dwStyle);
    tPending = &pending;
    const HWND hDlg = CreateWindowExA(
        dwExStyle, "#32770", tpl.pszCaption, dwStyle, pt.x, pt.y, rcWindow.right - rcWindow.left,
        rcWindow.bottom - rcWindow.top, hParent, nullptr, hInstance, nullptr);
    if (tPending == &pending)
    {
        // The window never got its first message.
        tPending = nullptr;
        if (pending.state.bOwnFont)
            DeleteObject(pending.state.hFont);
        return nullptr;
    }
    if (hDlg == nullptr)
        return nullptr;
    DialogState* state = FindDialog(hDlg);
    if (state == nullptr || !CreateItems(hDlg, hInstance, tpl, *state))
    {
        DestroyWindow(hDlg);
        return nullptr;
    }
    state->nDefId = FindDefaultId(hDlg);
    const HWND hFirst = GetNextDlgTabItem(hDlg, nullptr, FALSE);
    if (SendMessageA(hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(hFirst), lParam) != 0 &&
        IsWindow(hDlg))
        FocusControl(hDlg, GetNextDlgTabItem(hDlg, nullptr, FALSE));
    if (IsWindow(hDlg) && (tpl.dwStyle & WS_VISIBLE))
    {
        ShowWindow(hDlg, SW_SHOWNORMAL);
        UpdateWindow(hDlg);
    }
    return IsWindow(hDlg) ? hDlg : nullptr;
}

bool AnswersItself(UINT nMsg)
{
    return nMsg == WM_INITDIALOG || (nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC) ||
           nMsg == WM_COMPAREITEM || nMsg == WM_VKEYTOITEM || nMsg == WM_CHARTOITEM;
}

LRESULT DefaultDialogMessage(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    DialogState* state = FindDialog(hDlg);
    switch (nMsg)
    {
    case WM_ERASEBKGND:
    {
        const auto hdc = reinterpret_cast<HDC>(wParam);
        auto hBrush = reinterpret_cast<HBRUSH>(
            SendMessageA(hDlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hDlg)));
        if (hBrush == nullptr)
            hBrush = GetSysColorBrush(COLOR_3DFACE);
        RECT client{};
        GetClientRect(hDlg, &client);
        FillRect(hdc, &client, hBrush);
        return 1;
    }
    case WM_CLOSE:
        PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDCANCEL)));
        return 0;
    case WM_GETFONT:
        return state != nullptr ? reinterpret_cast<LRESULT>(state->hFont) : 0;
    case WM_SETFONT:
        if (state != nullptr)
        {
            if (state->bOwnFont)
                DeleteObject(state->hFont);
            state->hFont = reinterpret_cast<HFONT>(wParam);
            state->bOwnFont = false;
        }
        return 0;
    case DM_GETDEFID:
        return state != nullptr ? MAKELRESULT(state->nDefId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        if (state != nullptr)
        {
            state->nDefId = static_cast<UINT>(wParam);
            const HWND hFocus = GetFocus();
            if (!(IsChild(hDlg, hFocus) && IsPushButton(hFocus)))
                ShowAsDefault(hDlg, GetDlgItem(hDlg, static_cast<int>(wParam)));
        }
        return TRUE;
    case WM_NEXTDLGCTL:
    {
        HWND hNext = reinterpret_cast<HWND>(wParam);
        if (LOWORD(lParam) == 0)
            hNext = GetNextDlgTabItem(hDlg, GetFocus(), wParam != 0);
        FocusControl(hDlg, hNext);
        return 0;
    }
    case WM_ACTIVATE:
        if (state == nullptr)
            return 0;
        if (LOWORD(wParam) == WA_INACTIVE)
        {
            const HWND hFocus = GetFocus();
            if (IsChild(hDlg, hFocus))
                state->hLastFocus = hFocus;
            return 0;
        }
        [[fallthrough]];
    case WM_SETFOCUS:
        if (state != nullptr)
        {
            const HWND hRestore = IsWindow(state->hLastFocus) && IsChild(hDlg, state->hLastFocus)
                                      ? state->hLastFocus
                                      : GetNextDlgTabItem(hDlg, nullptr, FALSE);
            if (hRestore != nullptr && GetFocus() != hRestore)
                FocusControl(hDlg, hRestore);
        }
        return 0;
    case WM_NCDESTROY:
        if (state != nullptr)
        {
            if (state->bOwnFont)
                DeleteObject(state->hFont);
            Dialogs().erase(hDlg);
        }
        return DefWindowProcA(hDlg, nMsg, wParam, lParam);
    default:
        return DefWindowProcA(hDlg, nMsg, wParam, lParam);
    }
}

bool HandleDialogKey(HWND hDlg, const MSG& msg, LRESULT code)
{
    const bool bShift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const HWND hFocus = GetFocus();
    switch (msg.wParam)
    {
    case VK_TAB:
        if (code & (DLGC_WANTTAB | DLGC_WANTMESSAGE))
            return false;
        FocusControl(hDlg, GetNextDlgTabItem(hDlg, hFocus, bShift));
        return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    {
        if (code & (DLGC_WANTARROWS | DLGC_WANTMESSAGE))
            return false;
        const bool bPrevious = msg.wParam == VK_LEFT || msg.wParam == VK_UP;
        const HWND hNext = GetNextDlgGroupItem(hDlg, hFocus, bPrevious);
        if (hNext == nullptr || hNext == DirectChild(hDlg, hFocus))
            return true;
        FocusControl(hDlg, hNext);
        if ((SendMessageA(hNext, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) &&
            (StyleOf(hNext) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
            SendMessageA(hNext, BM_CLICK, 0, 0);
        return true;
    }
    case VK_RETURN:
    {
        if (code & DLGC_WANTMESSAGE)
            return false;
        UINT nId = LOWORD(SendMessageA(hDlg, DM_GETDEFID, 0, 0));
        if (hFocus != nullptr && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
            nId = static_cast<UINT>(GetDlgCtrlID(hFocus));
        const HWND hButton = GetDlgItem(hDlg, static_cast<int>(nId));
        if (hButton == nullptr || IsWindowEnabled(hButton))
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                         reinterpret_cast<LPARAM>(hButton));
        return true;
    }
    case VK_ESCAPE:
    {
        if (code & DLGC_WANTMESSAGE)
            return false;
        const HWND hCancel = GetDlgItem(hDlg, IDCANCEL);
        if (hCancel == nullptr || IsWindowEnabled(hCancel))
            SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(hCancel));
        return true;
    }
    default:
        return false;
    }
}

// The control a typed mnemonic names: a button clicks, a label gives the
// focus to the control after it.
bool HandleMnemonic(HWND hDlg, char ch)
{
    const char key = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const std::vector<HWND> children = ChildrenOf(hDlg);
    for (std::size_t i = 0; i < children.size(); ++i)
    {
        const HWND hChild = children[i];
        const LRESULT code = SendMessageA(hChild, WM_GETDLGCODE, 0, 0);
        if (!IsUsable(hChild) || (code & (DLGC_BUTTON | DLGC_STATIC)) == 0)
            continue;
        if ((code & DLGC_STATIC) && (StyleOf(hChild) & SS_NOPREFIX) &&
            IsWindowOfClass(hChild, "Static"))
            continue;
        char text[256] = {};
        GetWindowTextA(hChild, text, sizeof(text));
        if (GetCaptionMnemonic(text) != key)
            continue;
        if (code & DLGC_BUTTON)
        {
            FocusControl(hDlg, hChild);
            SendMessageA(hChild, BM_CLICK, 0, 0);
            return true;
        }
        if (i + 1 < children.size())
            FocusControl(hDlg, GetNextDlgTabItem(hDlg, children[i], FALSE));
        return true;
    }
    return false;
}
} // namespace

SIZE GetFontBaseUnits(HFONT hFont)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size{0, 0};
    GetTextExtentPoint32A(hdc, kAlphabet, 52, &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(hdc, &metrics);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return SIZE{(size.cx / 26 + 1) / 2, metrics.tmHeight};
}

std::vector<HWND> GetDialogGroup(HWND hDlg, HWND hCtl)
{
    const std::vector<HWND> children = ChildrenOf(hDlg);
    const HWND hChild = DirectChild(hDlg, hCtl);
    const auto it = std::find(children.begin(), children.end(), hChild);
    if (it == children.end())
        return {};
    auto first = it;
    while (first != children.begin() && (StyleOf(*first) & WS_GROUP) == 0)
        --first;
    auto last = it + 1;
    while (last != children.end() && (StyleOf(*last) & WS_GROUP) == 0)
        ++last;
    return std::vector<HWND>(first, last);
}

void OnDialogButtonFocus(HWND hDlg, HWND hButton, bool bGained)
{
    const DialogState* state = FindDialog(hDlg);
    if (state == nullptr)
        return;
    if (bGained)
    {
        ShowAsDefault(hDlg, hButton);
        return;
    }
    // A push button that takes the focus next takes the look itself.
    const HWND hFocus = GetFocus();
    if (!(IsChild(hDlg, hFocus) && IsPushButton(hFocus)))
        ShowAsDefault(hDlg, GetDlgItem(hDlg, static_cast<int>(state->nDefId)));
}

INT_PTR RunModalDialog(HWND hDlg)
{
    DialogState* state = FindDialog(hDlg);
    if (state == nullptr)
        return -1;
    state->bModal = true;
    const HWND hOwner = GetWindow(hDlg, GW_OWNER);
    const bool bDisableOwner = hOwner != nullptr && IsWindowEnabled(hOwner);
    if (bDisableOwner)
        EnableWindow(hOwner, FALSE);
    if (!(state = FindDialog(hDlg))->bEnded)
    {
        ShowWindow(hDlg, SW_SHOWNORMAL);
        UpdateWindow(hDlg);
    }
    MSG msg{};
    while ((state = FindDialog(hDlg)) != nullptr && !state->bEnded)
    {
        if (!GetMessageA(&msg, nullptr, 0, 0))
        {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(hDlg, &msg))
        {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    const INT_PTR nResult = state != nullptr && state->bEnded ? state->nResult : IDCANCEL;
    if (bDisableOwner && IsWindow(hOwner))
    {
        EnableWindow(hOwner, TRUE);
        SetActiveWindow(hOwner);
    }
    if (IsWindow(hDlg))
        DestroyWindow(hDlg);
    return nResult;
}

LRESULT DefDlgProcA(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE && tPending != nullptr)
    {
        PendingDialog* pending = tPending;
        tPending = nullptr;
        Dialogs()[hDlg] = pending->state;
        SetWindowLongPtrA(hDlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(pending->proc));
    }
    const auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(hDlg, DWLP_DLGPROC));
    if (proc == nullptr)
        return DefaultDialogMessage(hDlg, msg, wParam, lParam);
    SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 0);
    const INT_PTR answer = proc(hDlg, msg, wParam, lParam);
    // The dialog's own data goes with it whatever the procedure answers.
    if (msg == WM_NCDESTROY)
        return DefaultDialogMessage(hDlg, msg, wParam, lParam);
    if (!IsWindow(hDlg))
        return answer;
    if (answer == 0)
        return DefaultDialogMessage(hDlg, msg, wParam, lParam);
    return AnswersItself(msg) ? answer : GetWindowLongPtrA(hDlg, DWLP_MSGRESULT);
}

HWND CreateDialogIndirectParamA(HINSTANCE hInstance, const DialogTemplate* lpTemplate,
                                HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    return CreateDialogWindow(hInstance, lpTemplate, hWndParent, lpDialogFunc, dwInitParam);
}

HWND CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                        DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(hInstance, lpTemplateName);
    if (pTemplate == nullptr)
    {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return CreateDialogWindow(hInstance, pTemplate, hWndParent, lpDialogFunc, dwInitParam);
}

namespace
{
INT_PTR RunDialogTemplate(HINSTANCE hInstance, const DialogTemplate* pTemplate, UINT nTemplateId,
                          HWND hWndParent, DLGPROC proc, LPARAM lParam)
{
    ModalRequest request;
    request.kind = enModalKind::Dialog;
    request.hOwner = hWndParent;
    request.caption = pTemplate->pszCaption != nullptr ? pTemplate->pszCaption : "";
    request.nTemplateId = nTemplateId;
    request.nDefaultAnswer = IDCANCEL;
    if (const std::optional<INT_PTR> answer = AskModalAnswer(request))
        return *answer;
    const HWND hDlg = CreateDialogWindow(hInstance, pTemplate, hWndParent, proc, lParam);
    return hDlg != nullptr ? RunModalDialog(hDlg) : -1;
}
} // namespace

INT_PTR DialogBoxIndirectParamA(HINSTANCE hInstance, const DialogTemplate* hDialogTemplate,
                                HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    if (hDialogTemplate == nullptr)
        return -1;
    return RunDialogTemplate(hInstance, hDialogTemplate, 0, hWndParent, lpDialogFunc, dwInitParam);
}

INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                        DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(hInstance, lpTemplateName);
    if (pTemplate == nullptr)
    {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    const UINT nId = IS_INTRESOURCE(lpTemplateName)
                         ? static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpTemplateName))
                         : 0;
    return RunDialogTemplate(hInstance, pTemplate, nId, hWndParent, lpDialogFunc, dwInitParam);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    DialogState* state = FindDialog(hDlg);
    if (state == nullptr)
    {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->bEnded = true;
    state->nResult = nResult;
    return TRUE;
}

BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg)
{
    if (lpMsg == nullptr || !IsWindow(hDlg) || lpMsg->hwnd == nullptr ||
        (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)))
        return FALSE;
    switch (lpMsg->message)
    {
    case WM_KEYDOWN:
    {
        const LRESULT code = SendMessageA(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam,
                                          reinterpret_cast<LPARAM>(lpMsg));
        if (HandleDialogKey(hDlg, *lpMsg, code))
            return TRUE;
        break;
    }
    case WM_CHAR:
    {
        const LRESULT code = SendMessageA(lpMsg->hwnd, WM_GETDLGCODE, lpMsg->wParam,
                                          reinterpret_cast<LPARAM>(lpMsg));
        if ((code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) == 0 &&
            HandleMnemonic(hDlg, static_cast<char>(lpMsg->wParam)))
            return TRUE;
        break;
    }
    case WM_SYSCHAR:
        if (HandleMnemonic(hDlg, static_cast<char>(lpMsg->wParam)))
            return TRUE;
        break;
    default:
        break;
    }
    TranslateMessage(lpMsg);
    DispatchMessageA(lpMsg);
    return TRUE;
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    const std::vector<HWND> children = ChildrenOf(hDlg);
    const int nCount = static_cast<int>(children.size());
    if (nCount == 0)
        return nullptr;
    const auto it = std::find(children.begin(), children.end(), DirectChild(hDlg, hCtl));
    const int nStep = bPrevious ? -1 : 1;
    int nAt =
        it != children.end() ? static_cast<int>(it - children.begin()) : (bPrevious ? nCount : -1);
    for (int i = 0; i < nCount; ++i)
    {
        nAt = ((nAt + nStep) % nCount + nCount) % nCount;
        const HWND hChild = children[static_cast<std::size_t>(nAt)];
        if (IsUsable(hChild) && (StyleOf(hChild) & WS_TABSTOP))
            return hChild;
    }
    return it != children.end() ? *it : nullptr;
}

HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious)
{
    const std::vector<HWND> group = GetDialogGroup(hDlg, hCtl);
    const int nCount = static_cast<int>(group.size());
    const auto it = std::find(group.begin(), group.end(), DirectChild(hDlg, hCtl));
    if (it == group.end())
        return GetNextDlgTabItem(hDlg, hCtl, bPrevious);
    int nAt = static_cast<int>(it - group.begin());
    for (int i = 0; i < nCount; ++i)
    {
        nAt = ((nAt + (bPrevious ? -1 : 1)) % nCount + nCount) % nCount;
        if (IsUsable(group[static_cast<std::size_t>(nAt)]))
            return group[static_cast<std::size_t>(nAt)];
    }
    return *it;
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    const DialogState* state = FindDialog(hDlg);
    if (state == nullptr || lpRect == nullptr)
        return FALSE;
    const SIZE base = state->baseUnits;
    *lpRect = RECT{MulDiv(lpRect->left, base.cx, 4), MulDiv(lpRect->top, base.cy, 8),
                   MulDiv(lpRect->right, base.cx, 4), MulDiv(lpRect->bottom, base.cy, 8)};
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    const SIZE base = GetFontBaseUnits(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    return MAKELONG(base.cx, base.cy);
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    const HWND hItem = GetDlgItem(hDlg, nIDDlgItem);
    return hItem != nullptr ? SendMessageA(hItem, Msg, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    const HWND hButton = GetDlgItem(hDlg, nIDButton);
    return hButton != nullptr && (SendMessageA(hButton, BM_SETCHECK, uCheck, 0), TRUE);
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    return static_cast<UINT>(SendDlgItemMessageA(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int nId = nIDFirstButton; nId <= nIDLastButton; ++nId)
        SendDlgItemMessageA(hDlg, nId, BM_SETCHECK, nId == nIDCheckButton ? BST_CHECKED : 0, 0);
    return TRUE;
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned)
{
    const std::string text =
        bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(uValue);
    return SetDlgItemTextA(hDlg, nIDDlgItem, text.c_str());
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned)
{
    char text[32] = {};
    GetDlgItemTextA(hDlg, nIDDlgItem, text, sizeof(text));
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    const bool bOk = end != text && *end == '\0' && (bSigned || value >= 0) &&
                     value >= (bSigned ? INT32_MIN : 0) &&
                     value <= (bSigned ? INT32_MAX : UINT32_MAX);
    if (lpTranslated != nullptr)
        *lpTranslated = bOk;
    return bOk ? static_cast<UINT>(value) : 0;
}
