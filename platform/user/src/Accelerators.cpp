// Accelerator tables and their translation into commands.
#include "MenuTable.h"

#include "ResourceRegistry.h"
#include "WinError.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

#include <algorithm>
#include <map>
#include <vector>

namespace
{
// Apart from menus and windows, so that a wrong handle is noticed.
constexpr ULONG_PTR kFirstAccel = 0x30000;

struct AccelTables
{
    std::map<ULONG_PTR, std::vector<ACCEL>> tables;
    ULONG_PTR nNext = kFirstAccel;
};

AccelTables& Tables()
{
    static AccelTables tables;
    return tables;
}

const std::vector<ACCEL>* FindTable(HACCEL hAccel)
{
    const auto& tables = Tables().tables;
    const auto it = tables.find(reinterpret_cast<ULONG_PTR>(hAccel));
    if (it == tables.end())
    {
        SetLastError(ERROR_INVALID_ACCEL_HANDLE);
        return nullptr;
    }
    return &it->second;
}

HACCEL AddTable(std::vector<ACCEL> entries)
{
    AccelTables& tables = Tables();
    const ULONG_PTR nHandle = tables.nNext++;
    tables.tables.emplace(nHandle, std::move(entries));
    return reinterpret_cast<HACCEL>(nHandle);
}

bool IsDown(int nVirtKey)
{
    return (GetKeyState(nVirtKey) & 0x8000) != 0;
}

bool Matches(const ACCEL& accel, const MSG& msg)
{
    const BYTE nModifiers = (IsDown(VK_SHIFT) ? FSHIFT : 0) | (IsDown(VK_CONTROL) ? FCONTROL : 0) |
                            (IsDown(VK_MENU) ? FALT : 0);
    if (accel.fVirt & FVIRTKEY)
    {
        const bool bKey = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        return bKey && msg.wParam == accel.key &&
               (accel.fVirt & (FSHIFT | FCONTROL | FALT)) == nModifiers;
    }
    // Character accelerators: the character itself, Alt told by the message.
    const bool bChar = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
    const bool bAlt = msg.message == WM_SYSCHAR;
    return bChar && msg.wParam == accel.key && ((accel.fVirt & FALT) != 0) == bAlt;
}

// The popups from the menu bar down to the one holding the command, each
// with its index in its parent.
bool FindPopupPath(HMENU hMenu, UINT nCmd, std::vector<std::pair<HMENU, UINT>>& path, int nDepth)
{
    const MenuData* menu = MenuTable::Get().Find(hMenu);
    if (menu == nullptr || nDepth > 32)
        return false;
    for (std::size_t i = 0; i < menu->items.size(); ++i)
    {
        const MenuItem& item = menu->items[i];
        if (item.hSubMenu != nullptr)
        {
            path.emplace_back(item.hSubMenu, static_cast<UINT>(i));
            if (FindPopupPath(item.hSubMenu, nCmd, path, nDepth + 1))
                return true;
            path.pop_back();
        }
        else if (item.wID == nCmd && !item.IsSeparator())
        {
            return true;
        }
    }
    return false;
}

// The menu's handlers bring the item up to date before its state counts.
bool IsCommandDisabled(HWND hWnd, UINT nCmd)
{
    const HMENU hMenu = GetMenu(hWnd);
    std::vector<std::pair<HMENU, UINT>> path;
    if (!IsMenu(hMenu) || !FindPopupPath(hMenu, nCmd, path, 0))
        return false;
    SendMessageA(hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
    for (const auto& [hPopup, nIndex] : path)
        SendMessageA(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup),
                     MAKELPARAM(nIndex, 0));
    const auto ref = FindMenuItem(hMenu, nCmd, false);
    return ref && (ref->Item().fState & (MF_GRAYED | MF_DISABLED)) != 0;
}
} // namespace

HACCEL LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR lpTableName)
{
    const std::span<const AcceleratorEntry> entries = FindAcceleratorTable(hInstance, lpTableName);
    if (entries.empty())
    {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    std::vector<ACCEL> table;
    for (const AcceleratorEntry& entry : entries)
        table.push_back(ACCEL{entry.fVirt, entry.wKey, entry.wCmd});
    return AddTable(std::move(table));
}

HACCEL CreateAcceleratorTableA(LPACCEL paccel, int cAccel)
{
    if (paccel == nullptr || cAccel <= 0)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return AddTable(std::vector<ACCEL>(paccel, paccel + cAccel));
}

BOOL DestroyAcceleratorTable(HACCEL hAccel)
{
    return Tables().tables.erase(reinterpret_cast<ULONG_PTR>(hAccel)) != 0;
}

int CopyAcceleratorTableA(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries)
{
    const std::vector<ACCEL>* table = FindTable(hAccelSrc);
    if (table == nullptr)
        return 0;
    if (lpAccelDst == nullptr)
        return static_cast<int>(table->size());
    const int nCount = std::clamp(cAccelEntries, 0, static_cast<int>(table->size()));
    std::copy_n(table->begin(), nCount, lpAccelDst);
    return nCount;
}

int TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    const std::vector<ACCEL>* table = FindTable(hAccTable);
    if (table == nullptr || lpMsg == nullptr || !IsWindow(hWnd))
        return 0;
    for (const ACCEL& accel : *table)
    {
        if (!Matches(accel, *lpMsg))
            continue;
        if (!IsCommandDisabled(hWnd, accel.cmd))
            SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(accel.cmd, 1), 0);
        return 1;
    }
    return 0;
}
