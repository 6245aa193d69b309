// The DDE calls as an uninitialised instance answers them.
#include "WinDde.h"

UINT DdeInitializeA(LPDWORD pidInst, PFNCALLBACK, DWORD, DWORD)
{
    if (pidInst != nullptr)
        *pidInst = 0;
    return DMLERR_DLL_NOT_INITIALIZED;
}

BOOL DdeUninitialize(DWORD)
{
    return FALSE;
}

HDDEDATA DdeNameService(DWORD, HSZ, HSZ, UINT)
{
    return nullptr;
}

HCONV DdeConnect(DWORD, HSZ, HSZ, PCONVCONTEXT)
{
    return nullptr;
}

BOOL DdeDisconnect(HCONV)
{
    return FALSE;
}

HDDEDATA DdeClientTransaction(LPBYTE, DWORD, HCONV, HSZ, UINT, UINT, DWORD, LPDWORD pdwResult)
{
    if (pdwResult != nullptr)
        *pdwResult = 0;
    return nullptr;
}

HDDEDATA DdeCreateDataHandle(DWORD, LPBYTE, DWORD, DWORD, HSZ, UINT, UINT)
{
    return nullptr;
}

DWORD DdeGetData(HDDEDATA, LPBYTE, DWORD, DWORD)
{
    return 0;
}

LPBYTE DdeAccessData(HDDEDATA, LPDWORD pcbDataSize)
{
    if (pcbDataSize != nullptr)
        *pcbDataSize = 0;
    return nullptr;
}

BOOL DdeUnaccessData(HDDEDATA)
{
    return FALSE;
}

BOOL DdeFreeDataHandle(HDDEDATA)
{
    return FALSE;
}

BOOL DdePostAdvise(DWORD, HSZ, HSZ)
{
    return FALSE;
}

HSZ DdeCreateStringHandleA(DWORD, LPCSTR, int)
{
    return nullptr;
}

BOOL DdeFreeStringHandle(DWORD, HSZ)
{
    return FALSE;
}

DWORD DdeQueryStringA(DWORD, HSZ, LPSTR psz, DWORD cchMax, int)
{
    if (psz != nullptr && cchMax > 0)
        psz[0] = '\0';
    return 0;
}

UINT DdeGetLastError(DWORD)
{
    return DMLERR_DLL_NOT_INITIALIZED;
}
