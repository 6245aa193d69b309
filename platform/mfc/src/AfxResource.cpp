#include "AfxResource.h"

#include "ResourceStore.h"
#include "WinModule.h"
#include "WinResource.h"

#include <algorithm>

namespace
{
HINSTANCE& CurrentResourceHandle()
{
    static HINSTANCE hInstResource = nullptr;
    return hInstResource;
}

// Current resource module, the program, then every other module.
std::vector<HMODULE> SearchOrder()
{
    std::vector<HMODULE> order{AfxGetResourceHandle(), GetModuleHandleA(nullptr)};
    for (HMODULE hModule : ResourceStore::Get().GetModules())
    {
        if (std::find(order.begin(), order.end(), hModule) == order.end())
            order.push_back(hModule);
    }
    return order;
}
} // namespace

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE hInstResource = CurrentResourceHandle();
    return hInstResource != nullptr ? hInstResource : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    CurrentResourceHandle() = hInstResource;
}

HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    for (HMODULE hModule : SearchOrder())
    {
        if (FindResourceA(hModule, lpszName, lpszType) != nullptr)
            return hModule;
    }
    return AfxGetResourceHandle();
}

HINSTANCE AfxFindStringResourceHandle(UINT nID)
{
    for (HMODULE hModule : SearchOrder())
    {
        if (ResourceStore::Get().FindString(hModule, nID) != nullptr)
            return hModule;
    }
    return AfxGetResourceHandle();
}
