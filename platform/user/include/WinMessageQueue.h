// The message queue of the thread: sending, posting, retrieval, translation
// and dispatch, and the timers that feed WM_TIMER.
//
// Retrieval order: posted messages, then WM_QUIT, then input, then WM_PAINT
// for windows with an invalid region, then WM_TIMER for due timers. WM_PAINT
// and WM_TIMER are made at retrieval time, never queued.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#include "WinSync.h" // INFINITE

extern "C"
{
    // Calls the window procedure at once and returns its result; sends nest
    // to any depth and never dispatch posted messages.
    PLATFORMUI_API LRESULT SendMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Queued; delivered first in, first out by the next loop that runs.
    PLATFORMUI_API BOOL PostMessageA(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    PLATFORMUI_API BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam,
                                           LPARAM lParam);
    PLATFORMUI_API void PostQuitMessage(int exitCode);
    // 0 for WM_QUIT, -1 for an invalid window filter. Waiting lets the
    // display backend advance time to the next timer; it never hangs.
    PLATFORMUI_API BOOL GetMessageA(LPMSG msg, HWND hWnd, UINT msgFilterMin, UINT msgFilterMax);
    // Never blocks; PM_NOREMOVE leaves the message first in line.
    PLATFORMUI_API BOOL PeekMessageA(LPMSG msg, HWND hWnd, UINT msgFilterMin, UINT msgFilterMax,
                                     UINT removeMsg);
    // Posts WM_CHAR (WM_SYSCHAR) for a key message that makes a character.
    PLATFORMUI_API BOOL TranslateMessage(const MSG* msg);
    PLATFORMUI_API LRESULT DispatchMessageA(const MSG* msg);
    PLATFORMUI_API BOOL WaitMessage();
    PLATFORMUI_API DWORD GetMessagePos();
    PLATFORMUI_API LONG GetMessageTime();
    PLATFORMUI_API BOOL InSendMessage();
    // Numbers from 0xC000 up; the same name gives the same number.
    PLATFORMUI_API UINT RegisterWindowMessageA(LPCSTR name);

    // Timer ids are per window; setting an existing id restarts it. With a
    // NULL window the id is made up and returned.
    PLATFORMUI_API UINT_PTR SetTimer(HWND hWnd, UINT_PTR idEvent, UINT elapse, TIMERPROC timerFunc);
    // Also drops a WM_TIMER of that timer still waiting in a loop.
    PLATFORMUI_API BOOL KillTimer(HWND hWnd, UINT_PTR idEvent);
}

inline LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessageA(hWnd, message, wParam, lParam);
}
inline BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostMessageA(hWnd, message, wParam, lParam);
}
inline BOOL GetMessage(LPMSG msg, HWND hWnd, UINT msgFilterMin, UINT msgFilterMax)
{
    return GetMessageA(msg, hWnd, msgFilterMin, msgFilterMax);
}
inline BOOL PeekMessage(LPMSG msg, HWND hWnd, UINT msgFilterMin, UINT msgFilterMax, UINT removeMsg)
{
    return PeekMessageA(msg, hWnd, msgFilterMin, msgFilterMax, removeMsg);
}
inline LRESULT DispatchMessage(const MSG* msg)
{
    return DispatchMessageA(msg);
}
inline UINT RegisterWindowMessage(LPCSTR name)
{
    return RegisterWindowMessageA(name);
}
