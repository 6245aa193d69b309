#include "ForeignWindows.h"

#include "WinMessages.h"

#include <cstdint>

CForeignWindows::~CForeignWindows() = default;

bool CForeignWindows::CanCrossProcesses(UINT nMsg)
{
    switch (nMsg)
    {
    case WM_NULL:
    case WM_CLOSE:
    case WM_COMMAND:
    case WM_SYSCOMMAND:
        return true;
    default:
        return nMsg >= WM_USER && nMsg < 0xC000;
    }
}

bool CForeignWindows::IsDisplayHandle(HWND hWnd)
{
    const auto value = reinterpret_cast<std::uintptr_t>(hWnd);
    return value != 0 && value < 0x20000000;
}
