#include "AfxResource.h"

#include "AfxModuleState.h"
#include "ResourceStore.h"
#include "WinModule.h"
#include "WinResource.h"

#include <algorithm>

namespace
{
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

// The resource module belongs to the current module state.
HINSTANCE AfxGetResourceHandle()
{
    const AFX_MODULE_STATE* pState = AfxGetModuleState();
    if (pState->m_hCurrentResourceHandle != nullptr)
        return pState->m_hCurrentResourceHandle;
    return pState->m_hCurrentInstanceHandle != nullptr ? pState->m_hCurrentInstanceHandle
                                                       : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
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
