#include "WindowClassTable.h"

#include "SystemClasses.h"

#include "WinError.h"
#include "WinSysMetrics.h"

#include <strings.h>

namespace
{
bool SameName(const WindowClassData& data, LPCSTR lpszName)
{
    if (IS_INTRESOURCE(lpszName))
        return data.nAtom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(lpszName));
    return strcasecmp(data.name.c_str(), lpszName) == 0;
}
} // namespace

WindowClassTable& WindowClassTable::Get()
{
    static WindowClassTable table;
    static const bool bSystemClasses = (RegisterSystemClasses(table), true);
    static_cast<void>(bSystemClasses);
    return table;
}

std::shared_ptr<WindowClassData> WindowClassTable::Register(const WNDCLASSEXA& wndClass)
{
    if (wndClass.lpszClassName == nullptr || IS_INTRESOURCE(wndClass.lpszClassName) ||
        wndClass.lpszClassName[0] == '\0' || wndClass.cbWndExtra < 0 || wndClass.cbClsExtra < 0)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    for (const auto& existing : m_classes)
    {
        if (existing->hInstance == wndClass.hInstance &&
            SameName(*existing, wndClass.lpszClassName))
        {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return nullptr;
        }
    }
    auto data = std::make_shared<WindowClassData>();
    data->nAtom = m_nNextAtom++;
    data->name = wndClass.lpszClassName;
    data->nStyle = wndClass.style;
    data->wndProc = wndClass.lpfnWndProc;
    data->cbClsExtra = wndClass.cbClsExtra;
    data->cbWndExtra = wndClass.cbWndExtra;
    data->hInstance = wndClass.hInstance;
    data->hIcon = wndClass.hIcon;
    data->hIconSm = wndClass.hIconSm;
    data->hCursor = wndClass.hCursor;
    data->hbrBackground = wndClass.hbrBackground;
    if (wndClass.lpszMenuName != nullptr && !IS_INTRESOURCE(wndClass.lpszMenuName))
        data->menuName = wndClass.lpszMenuName;
    data->extraBytes.assign(std::size_t(wndClass.cbClsExtra), 0);
    m_classes.push_back(data);
    return data;
}

bool WindowClassTable::Unregister(LPCSTR lpszName, HINSTANCE hInstance)
{
    for (auto it = m_classes.begin(); it != m_classes.end(); ++it)
    {
        if ((*it)->hInstance == hInstance && SameName(**it, lpszName))
        {
            m_classes.erase(it);
            return true;
        }
    }
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
}

std::shared_ptr<WindowClassData> WindowClassTable::Find(LPCSTR lpszName, HINSTANCE hInstance) const
{
    if (lpszName == nullptr)
        return nullptr;
    std::shared_ptr<WindowClassData> anyModule;
    for (const auto& data : m_classes)
    {
        if (!SameName(*data, lpszName))
            continue;
        if (data->hInstance == hInstance)
            return data;
        if (!anyModule)
            anyModule = data;
    }
    return anyModule;
}

HBRUSH ResolveClassBrush(HBRUSH hbrBackground)
{
    const auto value = reinterpret_cast<ULONG_PTR>(hbrBackground);
    if (value != 0 && value <= COLOR_MENUBAR + 1)
        return GetSysColorBrush(static_cast<int>(value - 1));
    return hbrBackground;
}
