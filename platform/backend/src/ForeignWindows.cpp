#include "ForeignWindows.h"

#include "WinMessages.h"

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
