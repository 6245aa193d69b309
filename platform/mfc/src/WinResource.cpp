#include "WinResource.h"

#include "ResourceStore.h"

#include <algorithm>
#include <cstring>

namespace
{
const ResourceRecord* RecordOf(HRSRC hResInfo)
{
    return reinterpret_cast<const ResourceRecord*>(hResInfo);
}
} // namespace

HRSRC FindResourceA(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
{
    const ResourceRecord* pRecord = ResourceStore::Get().FindRecord(hModule, lpType, lpName);
    return reinterpret_cast<HRSRC>(const_cast<ResourceRecord*>(pRecord));
}

HGLOBAL LoadResource(HMODULE, HRSRC hResInfo)
{
    // Resources are loaded when found; the handle is the data itself.
    return hResInfo != nullptr ? const_cast<void*>(RecordOf(hResInfo)->pData) : nullptr;
}

LPVOID LockResource(HGLOBAL hResData)
{
    return hResData;
}

DWORD SizeofResource(HMODULE, HRSRC hResInfo)
{
    return hResInfo != nullptr ? RecordOf(hResInfo)->cbData : 0;
}

BOOL FreeResource(HGLOBAL)
{
    return FALSE;
}

int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax)
{
    if (lpBuffer == nullptr || cchBufferMax <= 0)
        return 0;
    LPCSTR pszText = ResourceStore::Get().FindString(hInstance, uID);
    if (pszText == nullptr)
    {
        lpBuffer[0] = '\0';
        return 0;
    }
    const size_t nCopy =
        std::min<size_t>(std::strlen(pszText), static_cast<size_t>(cchBufferMax) - 1);
    std::memcpy(lpBuffer, pszText, nCopy);
    lpBuffer[nCopy] = '\0';
    return static_cast<int>(nCopy);
}
