// Classes, window longs, properties, texts and relations.
#include "DisplayBackend.h"
#include "InputState.h"
#include "OtherProgramWindows.h"
#include "Painting.h"
#include "UserRawInput.h"
#include "WinError.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"
#include "WindowClassTable.h"
#include "WindowTree.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>

namespace
{
// A foreign window's title as GetWindowTextA gives it: cut to the buffer,
// always terminated.
int CopyForeignText(CForeignWindows& foreign, HWND hWnd, LPSTR text, int maxCount)
{
    std::string title;
    foreign.GetText(hWnd, title);
    const std::size_t length = std::min(title.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(text, title.data(), length);
    text[length] = '\0';
    return static_cast<int>(length);
}

// Another program's top-level window of that whole title.
HWND FindForeignByTitle(LPCSTR title)
{
    CForeignWindows* foreign = GetDisplayBackend().GetForeignWindows();
    if (foreign == nullptr)
        return nullptr;
    for (HWND hWnd : foreign->GetTopLevelWindows())
    {
        std::string text;
        if (foreign->GetText(hWnd, text) && text == title)
            return hWnd;
    }
    return nullptr;
}

template <typename T> bool ReadExtra(const std::vector<BYTE>& bytes, int offset, T& value)
{
    if (offset < 0 || std::size_t(offset) + sizeof(T) > bytes.size())
    {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return true;
}

template <typename T> bool WriteExtra(std::vector<BYTE>& bytes, int offset, T value, T& previous)
{
    if (!ReadExtra(bytes, offset, previous))
        return false;
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
    return true;
}

LONG_PTR SetStyle(HWND hWnd, int index, DWORD newStyle)
{
    WindowData* window = FindWindowData(hWnd);
    DWORD& field = index == GWL_STYLE ? window->dwStyle : window->dwExStyle;
    STYLESTRUCT style{field, newStyle};
    SendMessageA(hWnd, WM_STYLECHANGING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&style));
    window = FindWindowData(hWnd);
    if (window == nullptr)
        return 0;
    DWORD& target = index == GWL_STYLE ? window->dwStyle : window->dwExStyle;
    const DWORD previous = target;
    target = style.styleNew;
    style.styleOld = previous;
    SendMessageA(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&style));
    return static_cast<LONG_PTR>(previous);
}

HWND HandleOrNull(const WindowData* window)
{
    return window != nullptr ? window->hWnd : nullptr;
}

ATOM RegisterEx(const WNDCLASSEXA& wndClass)
{
    const auto registered = WindowClassTable::Get().Register(wndClass);
    return registered != nullptr ? registered->nAtom : 0;
}

void FillClassInfo(const WindowClassData& data, WNDCLASSEXA& info)
{
    info.style = data.nStyle;
    info.lpfnWndProc = data.wndProc;
    info.cbClsExtra = data.cbClsExtra;
    info.cbWndExtra = data.cbWndExtra;
    info.hInstance = data.hInstance;
    info.hIcon = data.hIcon;
    info.hCursor = data.hCursor;
    info.hbrBackground = data.hbrBackground;
    info.lpszMenuName = data.menuName.empty() ? nullptr : data.menuName.c_str();
    info.lpszClassName = data.name.c_str();
    info.hIconSm = data.hIconSm;
}

void ReplaceSurfaceForParent(WindowData& window)
{
    if (IsTopLevel(window))
    {
        if (window.pSurface == nullptr)
        {
            window.pSurface = std::make_unique<WindowSurface>();
            window.pSurface->Resize(window.GetWidth(), window.GetHeight());
            GetDisplayBackend().OnTopLevelCreated(window.hWnd);
        }
    }
    else if (window.pSurface != nullptr)
    {
        window.pSurface.reset();
        GetDisplayBackend().OnTopLevelDestroyed(window.hWnd);
    }
}
} // namespace

ATOM RegisterClassA(const WNDCLASSA* wndClass)
{
    if (wndClass == nullptr)
        return 0;
    WNDCLASSEXA ex{sizeof(WNDCLASSEXA),    wndClass->style,         wndClass->lpfnWndProc,
                   wndClass->cbClsExtra,   wndClass->cbWndExtra,    wndClass->hInstance,
                   wndClass->hIcon,        wndClass->hCursor,       wndClass->hbrBackground,
                   wndClass->lpszMenuName, wndClass->lpszClassName, nullptr};
    return RegisterEx(ex);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wndClass)
{
    return wndClass != nullptr ? RegisterEx(*wndClass) : 0;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE hInstance)
{
    return WindowClassTable::Get().Unregister(className, hInstance);
}

BOOL GetClassInfoExA(HINSTANCE hInstance, LPCSTR className, LPWNDCLASSEXA wndClass)
{
    const auto data = WindowClassTable::Get().Find(className, hInstance);
    if (data == nullptr || wndClass == nullptr)
    {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    FillClassInfo(*data, *wndClass);
    return TRUE;
}

BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR className, LPWNDCLASSA wndClass)
{
    WNDCLASSEXA ex{};
    if (wndClass == nullptr || !GetClassInfoExA(hInstance, className, &ex))
        return FALSE;
    *wndClass =
        WNDCLASSA{ex.style, ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                  ex.hIcon, ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
    return TRUE;
}

ULONG_PTR GetClassLongPtrA(HWND hWnd, int index)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return 0;
    const WindowClassData& data = *window->pClass;
    switch (index)
    {
    case GCL_HBRBACKGROUND:
        return reinterpret_cast<ULONG_PTR>(data.hbrBackground);
    case GCL_HCURSOR:
        return reinterpret_cast<ULONG_PTR>(data.hCursor);
    case GCL_HICON:
        return reinterpret_cast<ULONG_PTR>(data.hIcon);
    case GCL_HICONSM:
        return reinterpret_cast<ULONG_PTR>(data.hIconSm != nullptr ? data.hIconSm : data.hIcon);
    case GCL_HMODULE:
        return reinterpret_cast<ULONG_PTR>(data.hInstance);
    case GCL_CBWNDEXTRA:
        return static_cast<ULONG_PTR>(data.cbWndExtra);
    case GCL_CBCLSEXTRA:
        return static_cast<ULONG_PTR>(data.cbClsExtra);
    case GCL_WNDPROC:
        return reinterpret_cast<ULONG_PTR>(data.wndProc);
    case GCL_STYLE:
        return data.nStyle;
    default:
    {
        ULONG_PTR value = 0;
        return ReadExtra(data.extraBytes, index, value) ? value : 0;
    }
    }
}

ULONG_PTR SetClassLongPtrA(HWND hWnd, int index, LONG_PTR value)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return 0;
    WindowClassData& data = *window->pClass;
    const ULONG_PTR previous = GetClassLongPtrA(hWnd, index);
    switch (index)
    {
    case GCL_HBRBACKGROUND:
        data.hbrBackground = reinterpret_cast<HBRUSH>(value);
        break;
    case GCL_HCURSOR:
        data.hCursor = reinterpret_cast<HCURSOR>(value);
        break;
    case GCL_HICON:
        data.hIcon = reinterpret_cast<HICON>(value);
        break;
    case GCL_HICONSM:
        data.hIconSm = reinterpret_cast<HICON>(value);
        break;
    case GCL_WNDPROC:
        data.wndProc = reinterpret_cast<WNDPROC>(value);
        break;
    case GCL_STYLE:
        data.nStyle = static_cast<UINT>(value);
        break;
    default:
    {
        ULONG_PTR old = 0;
        WriteExtra(data.extraBytes, index, static_cast<ULONG_PTR>(value), old);
        break;
    }
    }
    return previous;
}

int GetClassNameA(HWND hWnd, LPSTR className, int maxCount)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || className == nullptr || maxCount <= 0 || window->pClass == nullptr)
        return 0;
    const std::string& name = window->pClass->name;
    const int count = std::min(static_cast<int>(name.size()), maxCount - 1);
    std::memcpy(className, name.data(), std::size_t(count));
    className[count] = '\0';
    return count;
}

LONG_PTR GetWindowLongPtrA(HWND hWnd, int index)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return 0;
    switch (index)
    {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->wndProc);
    case GWL_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->hInstance);
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(window->IsChildStyle() ? HandleOrNull(window->pParent)
                                                                 : window->hOwner);
    case GWL_ID:
        return static_cast<LONG_PTR>(window->nIdOrMenu);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(window->dwStyle);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(window->dwExStyle);
    case GWL_USERDATA:
        return window->userData;
    default:
    {
        LONG_PTR value = 0;
        return ReadExtra(window->extraBytes, index, value) ? value : 0;
    }
    }
}

LONG_PTR SetWindowLongPtrA(HWND hWnd, int index, LONG_PTR value)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return 0;
    LONG_PTR previous = 0;
    switch (index)
    {
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return SetStyle(hWnd, index, static_cast<DWORD>(value));
    case GWL_WNDPROC:
        previous = reinterpret_cast<LONG_PTR>(window->wndProc);
        window->wndProc = reinterpret_cast<WNDPROC>(value);
        return previous;
    case GWL_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(window->hInstance);
        window->hInstance = reinterpret_cast<HINSTANCE>(value);
        return previous;
    case GWL_HWNDPARENT:
        if (window->IsChildStyle())
            return reinterpret_cast<LONG_PTR>(SetParent(hWnd, reinterpret_cast<HWND>(value)));
        previous = reinterpret_cast<LONG_PTR>(window->hOwner);
        window->hOwner = reinterpret_cast<HWND>(value);
        return previous;
    case GWL_ID:
        previous = static_cast<LONG_PTR>(window->nIdOrMenu);
        window->nIdOrMenu = static_cast<UINT_PTR>(value);
        return previous;
    case GWL_USERDATA:
        previous = window->userData;
        window->userData = value;
        return previous;
    default:
        WriteExtra(window->extraBytes, index, value, previous);
        return previous;
    }
}

LONG GetWindowLongA(HWND hWnd, int index)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return 0;
    if (index >= 0)
    {
        LONG value = 0;
        return ReadExtra(window->extraBytes, index, value) ? value : 0;
    }
    return static_cast<LONG>(GetWindowLongPtrA(hWnd, index));
}

LONG SetWindowLongA(HWND hWnd, int index, LONG value)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return 0;
    if (index >= 0)
    {
        LONG previous = 0;
        WriteExtra(window->extraBytes, index, value, previous);
        return previous;
    }
    if (index == GWL_STYLE || index == GWL_EXSTYLE)
        return static_cast<LONG>(SetWindowLongPtrA(hWnd, index, static_cast<DWORD>(value)));
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, index, value));
}

BOOL SetPropA(HWND hWnd, LPCSTR name, HANDLE data)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || name == nullptr)
        return FALSE;
    for (auto& [key, value] : window->props)
    {
        if (strcasecmp(key.c_str(), name) == 0)
        {
            value = data;
            PublishOwnProp(*window, name, data, false);
            return TRUE;
        }
    }
    window->props.emplace_back(name, data);
    PublishOwnProp(*window, name, data, false);
    return TRUE;
}

HANDLE GetPropA(HWND hWnd, LPCSTR name)
{
    const WindowData* window = FindWindowData(hWnd);
    if (window == nullptr && name != nullptr)
    {
        CForeignWindows* foreign = AsForeignWindow(hWnd);
        HANDLE data = nullptr;
        return foreign != nullptr && foreign->GetProp(hWnd, name, data) ? data : nullptr;
    }
    if (window == nullptr || name == nullptr)
        return nullptr;
    for (const auto& [key, value] : window->props)
    {
        if (strcasecmp(key.c_str(), name) == 0)
            return value;
    }
    return nullptr;
}

HANDLE RemovePropA(HWND hWnd, LPCSTR name)
{
    WindowData* window = FindWindowData(hWnd);
    if (window == nullptr || name == nullptr)
        return nullptr;
    auto& props = window->props;
    const auto it =
        std::find_if(props.begin(), props.end(),
                     [&](const auto& prop) { return strcasecmp(prop.first.c_str(), name) == 0; });
    if (it == props.end())
        return nullptr;
    const HANDLE data = it->second;
    props.erase(it);
    PublishOwnProp(*window, name, nullptr, true);
    return data;
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR text)
{
    if (FindWindowChecked(hWnd) == nullptr)
        return FALSE;
    return static_cast<BOOL>(SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextA(HWND hWnd, LPSTR text, int maxCount)
{
    if (text == nullptr || maxCount <= 0)
        return 0;
    if (CForeignWindows* foreign = AsForeignWindow(hWnd))
        return CopyForeignText(*foreign, hWnd, text, maxCount);
    if (FindWindowChecked(hWnd) == nullptr)
        return 0;
    text[0] = '\0';
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND hWnd)
{
    std::string foreignText;
    if (CForeignWindows* foreign = AsForeignWindow(hWnd))
        return foreign->GetText(hWnd, foreignText) ? static_cast<int>(foreignText.size()) : 0;
    if (FindWindowChecked(hWnd) == nullptr)
        return 0;
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetDlgItemTextA(HWND hDlg, int id, LPCSTR text)
{
    const HWND hItem = GetDlgItem(hDlg, id);
    return hItem != nullptr && SetWindowTextA(hItem, text);
}

UINT GetDlgItemTextA(HWND hDlg, int id, LPSTR text, int maxCount)
{
    const HWND hItem = GetDlgItem(hDlg, id);
    if (hItem == nullptr)
    {
        if (text != nullptr && maxCount > 0)
            text[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(hItem, text, maxCount));
}

HWND GetParent(HWND hWnd)
{
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return nullptr;
    if (window->IsChildStyle())
        return window->pParent != nullptr && !IsDesktop(*window->pParent) ? window->pParent->hWnd
                                                                          : nullptr;
    return window->hOwner;
}

HWND SetParent(HWND hWndChild, HWND hWndNewParent)
{
    WindowTree& tree = WindowTree::Get();
    const std::shared_ptr<WindowData> window = tree.Hold(hWndChild);
    WindowData* newParent =
        hWndNewParent != nullptr ? FindWindowChecked(hWndNewParent) : &tree.GetDesktop();
    if (window == nullptr || IsDesktop(*window) || newParent == nullptr ||
        newParent == window.get() || IsAncestorOf(*window, *newParent))
        return nullptr;
    WindowData* oldParent = window->pParent;
    const HWND hOldParent = HandleOrNull(oldParent);
    const bool bVisible = (window->dwStyle & WS_VISIBLE) != 0;
    if (bVisible)
        InvalidateParentArea(*oldParent, Region(window->rcWindow));
    UnlinkFromParent(*window);
    LinkToParent(*window, *newParent, window, HWND_TOP);
    ReplaceSurfaceForParent(*window);
    if (bVisible)
        RedrawWindowArea(*window, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return IsDesktop(*oldParent) ? tree.GetDesktop().hWnd : hOldParent;
}

HWND GetAncestor(HWND hWnd, UINT flags)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr || IsDesktop(*window))
        return nullptr;
    switch (flags)
    {
    case GA_PARENT:
        return HandleOrNull(window->pParent);
    case GA_ROOT:
        return GetTopLevelOf(*window).hWnd;
    case GA_ROOTOWNER:
    {
        HWND hRoot = GetTopLevelOf(*window).hWnd;
        while (const WindowData* root = FindWindowData(hRoot))
        {
            if (!IsWindow(root->hOwner))
                break;
            hRoot = root->hOwner;
        }
        return hRoot;
    }
    default:
        return nullptr;
    }
}

HWND GetWindow(HWND hWnd, UINT cmd)
{
    if (AsForeignWindow(hWnd) != nullptr)
        return GetDesktopChildAcrossPrograms(hWnd, cmd);
    const WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return nullptr;
    if (cmd == GW_CHILD && window->children.empty() && IsDesktop(*window))
        return GetDesktopChildAcrossPrograms(hWnd, cmd);
    if (cmd == GW_CHILD)
        return window->children.empty() ? nullptr : window->children.front()->hWnd;
    if (cmd == GW_OWNER)
        return IsWindow(window->hOwner) ? window->hOwner : nullptr;
    if (window->pParent == nullptr)
        return nullptr;
    const auto& siblings = window->pParent->children;
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [&](const auto& sibling) { return sibling.get() == window; });
    switch (cmd)
    {
    case GW_HWNDFIRST:
        return siblings.front()->hWnd;
    case GW_HWNDLAST:
        if (const HWND hForeign =
                IsTopLevel(*window) ? GetDesktopChildAcrossPrograms(hWnd, cmd) : nullptr)
            return hForeign;
        return siblings.back()->hWnd;
    case GW_HWNDNEXT:
        if (it + 1 < siblings.end())
            return (*(it + 1))->hWnd;
        return IsTopLevel(*window) ? GetDesktopChildAcrossPrograms(hWnd, cmd) : nullptr;
    case GW_HWNDPREV:
        return it != siblings.begin() ? (*(it - 1))->hWnd : nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetTopWindow(HWND hWnd)
{
    return GetWindow(hWnd != nullptr ? hWnd : GetDesktopWindow(), GW_CHILD);
}

HWND GetDesktopWindow()
{
    return WindowTree::Get().GetDesktop().hWnd;
}

HWND GetDlgItem(HWND hDlg, int id)
{
    const WindowData* window = FindWindowChecked(hDlg);
    if (window == nullptr)
        return nullptr;
    for (const auto& child : window->children)
    {
        if (static_cast<int>(child->nIdOrMenu) == id)
            return child->hWnd;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    const WindowData* window = FindWindowChecked(hWnd);
    return window != nullptr && window->IsChildStyle() ? static_cast<int>(window->nIdOrMenu) : 0;
}

BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    const WindowData* parent = FindWindowData(hWndParent);
    const WindowData* window = FindWindowData(hWnd);
    if (parent == nullptr || window == nullptr)
        return FALSE;
    for (const WindowData* current = window; current->IsChildStyle() && current->pParent != nullptr;
         current = current->pParent)
    {
        if (current->pParent == parent)
            return TRUE;
    }
    return FALSE;
}

BOOL IsWindowVisible(HWND hWnd)
{
    const WindowData* window = FindWindowData(hWnd);
    return window != nullptr && IsShownOnScreen(*window);
}

BOOL IsWindowEnabled(HWND hWnd)
{
    const WindowData* window = FindWindowData(hWnd);
    return window != nullptr && IsEnabledWindow(*window);
}

BOOL EnableWindow(HWND hWnd, BOOL enable)
{
    WindowData* window = FindWindowChecked(hWnd);
    if (window == nullptr)
        return FALSE;
    const BOOL bWasDisabled = !IsEnabledWindow(*window);
    if (bWasDisabled == !enable)
        return bWasDisabled;
    if (enable)
    {
        window->dwStyle &= ~WS_DISABLED;
    }
    else
    {
        window->dwStyle |= WS_DISABLED;
        CancelCaptureInside(*window);
        if ((window = FindWindowData(hWnd)) != nullptr)
            MoveFocusOutOf(*window, false);
    }
    if (IsWindow(hWnd))
        SendMessageA(hWnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return bWasDisabled;
}

BOOL IsIconic(HWND hWnd)
{
    if (CForeignWindows* foreign = AsForeignWindow(hWnd))
        return foreign->IsMinimized(hWnd);
    const WindowData* window = FindWindowData(hWnd);
    return window != nullptr && (window->dwStyle & WS_MINIMIZE) != 0;
}

BOOL IsZoomed(HWND hWnd)
{
    const WindowData* window = FindWindowData(hWnd);
    return window != nullptr && (window->dwStyle & WS_MAXIMIZE) != 0;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName)
{
    for (const auto& top : WindowTree::Get().GetDesktop().children)
    {
        const bool bClass = className == nullptr ||
                            (IS_INTRESOURCE(className)
                                 ? top->pClass->nAtom == reinterpret_cast<ULONG_PTR>(className)
                                 : strcasecmp(top->pClass->name.c_str(), className) == 0);
        const bool bName = windowName == nullptr || top->text == windowName;
        if (bClass && bName)
            return top->hWnd;
    }
    return className == nullptr && windowName != nullptr ? FindForeignByTitle(windowName) : nullptr;
}

BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC enumProc, LPARAM lParam)
{
    const WindowData* parent =
        hWndParent != nullptr ? FindWindowChecked(hWndParent) : &WindowTree::Get().GetDesktop();
    if (parent == nullptr || enumProc == nullptr)
        return FALSE;
    for (HWND hChild : CollectSubtree(*parent, false))
    {
        if (IsWindow(hChild) && !enumProc(hChild, lParam))
            return FALSE;
    }
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC enumProc, LPARAM lParam)
{
    if (enumProc == nullptr)
        return FALSE;
    for (HWND hTop : UserGetTopLevelWindows())
    {
        if (IsWindow(hTop) && !enumProc(hTop, lParam))
            return FALSE;
    }
    return TRUE;
}

std::vector<HWND> UserGetTopLevelWindows()
{
    std::vector<HWND> tops;
    for (const auto& top : WindowTree::Get().GetDesktop().children)
        tops.push_back(top->hWnd);
    return tops;
}
