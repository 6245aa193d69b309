// Window classes and windows: registration, creation and destruction,
// window longs and subclassing, properties, texts, the parent, owner and
// Z-order relations, positions, showing and the coordinate conversions.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

extern "C"
{
    // Classes. Names compare without regard to case; a class belongs to the
    // module that registers it, and look-ups try that module first.
    PLATFORMUI_API ATOM RegisterClassA(const WNDCLASSA* wndClass);
    PLATFORMUI_API ATOM RegisterClassExA(const WNDCLASSEXA* wndClass);
    PLATFORMUI_API BOOL UnregisterClassA(LPCSTR className, HINSTANCE hInstance);
    PLATFORMUI_API BOOL GetClassInfoA(HINSTANCE hInstance, LPCSTR className, LPWNDCLASSA wndClass);
    PLATFORMUI_API BOOL GetClassInfoExA(HINSTANCE hInstance, LPCSTR className,
                                        LPWNDCLASSEXA wndClass);
    PLATFORMUI_API ULONG_PTR GetClassLongPtrA(HWND hWnd, int index);
    PLATFORMUI_API ULONG_PTR SetClassLongPtrA(HWND hWnd, int index, LONG_PTR value);
    PLATFORMUI_API int GetClassNameA(HWND hWnd, LPSTR className, int maxCount);

    // Creation sends WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, then WM_SIZE and
    // WM_MOVE; a failed WM_NCCREATE or a WM_CREATE answer of -1 destroys the
    // window and returns NULL.
    PLATFORMUI_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName,
                                        DWORD style, int x, int y, int width, int height,
                                        HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                                        LPVOID param);
    // WM_DESTROY goes to the window, then to its children; WM_NCDESTROY to
    // the children first and to the window last. Capture and focus go first.
    PLATFORMUI_API BOOL DestroyWindow(HWND hWnd);
    PLATFORMUI_API BOOL IsWindow(HWND hWnd);

    // Window longs. Non-negative indexes address the class's extra bytes.
    PLATFORMUI_API LONG_PTR GetWindowLongPtrA(HWND hWnd, int index);
    PLATFORMUI_API LONG_PTR SetWindowLongPtrA(HWND hWnd, int index, LONG_PTR value);
    PLATFORMUI_API LONG GetWindowLongA(HWND hWnd, int index);
    PLATFORMUI_API LONG SetWindowLongA(HWND hWnd, int index, LONG value);
    PLATFORMUI_API LRESULT CallWindowProcA(WNDPROC prevProc, HWND hWnd, UINT message, WPARAM wParam,
                                           LPARAM lParam);
    PLATFORMUI_API LRESULT DefWindowProcA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Properties; names compare without regard to case.
    PLATFORMUI_API BOOL SetPropA(HWND hWnd, LPCSTR name, HANDLE data);
    PLATFORMUI_API HANDLE GetPropA(HWND hWnd, LPCSTR name);
    PLATFORMUI_API HANDLE RemovePropA(HWND hWnd, LPCSTR name);

    // Texts go through WM_SETTEXT and WM_GETTEXT.
    PLATFORMUI_API BOOL SetWindowTextA(HWND hWnd, LPCSTR text);
    PLATFORMUI_API int GetWindowTextA(HWND hWnd, LPSTR text, int maxCount);
    PLATFORMUI_API int GetWindowTextLengthA(HWND hWnd);
    PLATFORMUI_API BOOL SetDlgItemTextA(HWND hDlg, int id, LPCSTR text);
    PLATFORMUI_API UINT GetDlgItemTextA(HWND hDlg, int id, LPSTR text, int maxCount);

    // Relations. GW_CHILD is the child on top of the Z order.
    PLATFORMUI_API HWND GetParent(HWND hWnd);
    PLATFORMUI_API HWND SetParent(HWND hWndChild, HWND hWndNewParent);
    PLATFORMUI_API HWND GetAncestor(HWND hWnd, UINT flags);
    PLATFORMUI_API HWND GetWindow(HWND hWnd, UINT cmd);
    PLATFORMUI_API HWND GetTopWindow(HWND hWnd);
    PLATFORMUI_API HWND GetDesktopWindow();
    PLATFORMUI_API HWND GetDlgItem(HWND hDlg, int id);
    PLATFORMUI_API int GetDlgCtrlID(HWND hWnd);
    PLATFORMUI_API BOOL IsChild(HWND hWndParent, HWND hWnd);
    PLATFORMUI_API BOOL IsWindowVisible(HWND hWnd);
    PLATFORMUI_API BOOL IsWindowEnabled(HWND hWnd);
    PLATFORMUI_API BOOL EnableWindow(HWND hWnd, BOOL enable);
    PLATFORMUI_API BOOL IsIconic(HWND hWnd);
    PLATFORMUI_API BOOL IsZoomed(HWND hWnd);
    PLATFORMUI_API HWND FindWindowA(LPCSTR className, LPCSTR windowName);
    using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
    PLATFORMUI_API BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC enumProc, LPARAM lParam);
    PLATFORMUI_API BOOL EnumWindows(WNDENUMPROC enumProc, LPARAM lParam);

    // Showing and positions. New windows go on top of their siblings.
    PLATFORMUI_API BOOL ShowWindow(HWND hWnd, int cmdShow);
    PLATFORMUI_API BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                                     UINT flags);
    PLATFORMUI_API BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint);
    PLATFORMUI_API BOOL BringWindowToTop(HWND hWnd);
    PLATFORMUI_API BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
    PLATFORMUI_API BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);

    // Geometry. Window rectangles are in screen coordinates.
    PLATFORMUI_API BOOL GetWindowRect(HWND hWnd, LPRECT rect);
    PLATFORMUI_API BOOL GetClientRect(HWND hWnd, LPRECT rect);
    PLATFORMUI_API BOOL ClientToScreen(HWND hWnd, LPPOINT point);
    PLATFORMUI_API BOOL ScreenToClient(HWND hWnd, LPPOINT point);
    PLATFORMUI_API int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT points, UINT count);
    // The deepest visible, enabled window under a screen point.
    PLATFORMUI_API HWND WindowFromPoint(POINT point);
    PLATFORMUI_API HWND ChildWindowFromPoint(HWND hWndParent, POINT point);

    // Hooks: WH_CBT reports window creation (HCBT_CREATEWND) before the
    // first message and destruction (HCBT_DESTROYWND).
    PLATFORMUI_API HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE hMod,
                                           DWORD threadId);
    PLATFORMUI_API BOOL UnhookWindowsHookEx(HHOOK hHook);
    PLATFORMUI_API LRESULT CallNextHookEx(HHOOK hHook, int code, WPARAM wParam, LPARAM lParam);
}

// Plain names that callers write without the "A" suffix: functions, never
// macros, so that members of the same name stay untouched.
inline HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                           int y, int width, int height, HWND hWndParent, HMENU hMenu,
                           HINSTANCE hInstance, LPVOID param)
{
    return CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, hWndParent,
                           hMenu, hInstance, param);
}
inline HWND CreateWindowA(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                          LPVOID param)
{
    return CreateWindowExA(0, className, windowName, style, x, y, width, height, hWndParent, hMenu,
                           hInstance, param);
}
inline HWND CreateWindow(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                         int height, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                         LPVOID param)
{
    return CreateWindowA(className, windowName, style, x, y, width, height, hWndParent, hMenu,
                         hInstance, param);
}
inline ATOM RegisterClass(const WNDCLASSA* wndClass)
{
    return RegisterClassA(wndClass);
}
inline BOOL GetClassInfo(HINSTANCE hInstance, LPCSTR className, LPWNDCLASSA wndClass)
{
    return GetClassInfoA(hInstance, className, wndClass);
}
inline LONG_PTR GetWindowLongPtr(HWND hWnd, int index)
{
    return GetWindowLongPtrA(hWnd, index);
}
inline LONG_PTR SetWindowLongPtr(HWND hWnd, int index, LONG_PTR value)
{
    return SetWindowLongPtrA(hWnd, index, value);
}
inline LONG GetWindowLong(HWND hWnd, int index)
{
    return GetWindowLongA(hWnd, index);
}
inline LONG SetWindowLong(HWND hWnd, int index, LONG value)
{
    return SetWindowLongA(hWnd, index, value);
}
inline LRESULT CallWindowProc(WNDPROC prevProc, HWND hWnd, UINT message, WPARAM wParam,
                              LPARAM lParam)
{
    return CallWindowProcA(prevProc, hWnd, message, wParam, lParam);
}
inline LRESULT DefWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
inline BOOL SetProp(HWND hWnd, LPCSTR name, HANDLE data)
{
    return SetPropA(hWnd, name, data);
}
inline HANDLE GetProp(HWND hWnd, LPCSTR name)
{
    return GetPropA(hWnd, name);
}
inline HANDLE RemoveProp(HWND hWnd, LPCSTR name)
{
    return RemovePropA(hWnd, name);
}
inline BOOL SetWindowText(HWND hWnd, LPCSTR text)
{
    return SetWindowTextA(hWnd, text);
}
inline int GetWindowText(HWND hWnd, LPSTR text, int maxCount)
{
    return GetWindowTextA(hWnd, text, maxCount);
}
inline int GetWindowTextLength(HWND hWnd)
{
    return GetWindowTextLengthA(hWnd);
}
inline BOOL SetDlgItemText(HWND hDlg, int id, LPCSTR text)
{
    return SetDlgItemTextA(hDlg, id, text);
}
inline HWND FindWindow(LPCSTR className, LPCSTR windowName)
{
    return FindWindowA(className, windowName);
}
inline int GetClassName(HWND hWnd, LPSTR className, int maxCount)
{
    return GetClassNameA(hWnd, className, maxCount);
}
