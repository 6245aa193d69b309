#include "WinCom.h"

#include <cstdlib>

// {00000000-0000-0000-C000-000000000046}
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace
{
thread_local int t_nComStarts = 0;
}

HRESULT CoInitialize(LPVOID pvReserved)
{
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(LPVOID, DWORD)
{
    return ++t_nComStarts == 1 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (t_nComStarts > 0)
        --t_nComStarts;
}

BOOL IsComStarted()
{
    return t_nComStarts > 0 ? TRUE : FALSE;
}

LPVOID CoTaskMemAlloc(SIZE_T cb)
{
    return std::malloc(cb != 0 ? cb : 1);
}

LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb)
{
    return std::realloc(pv, cb != 0 ? cb : 1);
}

void CoTaskMemFree(LPVOID pv)
{
    std::free(pv);
}
