// Dynamic data exchange has no transport on this platform. Every call
// behaves as it does for an instance that was never initialised: it fails
// (0, NULL or FALSE) and DdeGetLastError reports DMLERR_DLL_NOT_INITIALIZED,
// so that callers take their own error path.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

#define DMLERR_NO_ERROR 0
#define DMLERR_FIRST 0x4000
#define DMLERR_ADVACKTIMEOUT 0x4000
#define DMLERR_BUSY 0x4001
#define DMLERR_DATAACKTIMEOUT 0x4002
#define DMLERR_DLL_NOT_INITIALIZED 0x4003
#define DMLERR_DLL_USAGE 0x4004
#define DMLERR_EXECACKTIMEOUT 0x4005
#define DMLERR_INVALIDPARAMETER 0x4006
#define DMLERR_LOW_MEMORY 0x4007
#define DMLERR_MEMORY_ERROR 0x4008
#define DMLERR_NOTPROCESSED 0x4009
#define DMLERR_NO_CONV_ESTABLISHED 0x400A
#define DMLERR_POKEACKTIMEOUT 0x400B
#define DMLERR_POSTMSG_FAILED 0x400C
#define DMLERR_REENTRANCY 0x400D
#define DMLERR_SERVER_DIED 0x400E
#define DMLERR_SYS_ERROR 0x400F
#define DMLERR_UNADVACKTIMEOUT 0x4010
#define DMLERR_UNFOUND_QUEUE_ID 0x4011
#define DMLERR_LAST 0x4011

#define XTYP_ERROR 0x8002
#define XTYP_ADVDATA 0x4010
#define XTYP_ADVREQ 0x2022
#define XTYP_ADVSTART 0x1030
#define XTYP_ADVSTOP 0x8040
#define XTYP_EXECUTE 0x4050
#define XTYP_CONNECT 0x1062
#define XTYP_CONNECT_CONFIRM 0x8072
#define XTYP_XACT_COMPLETE 0x8080
#define XTYP_POKE 0x4090
#define XTYP_REGISTER 0x80A2
#define XTYP_REQUEST 0x20B0
#define XTYP_DISCONNECT 0x80C2
#define XTYP_UNREGISTER 0x80D2
#define XTYP_WILDCONNECT 0x20E2

#define DNS_REGISTER 0x0001
#define DNS_UNREGISTER 0x0002
#define DNS_FILTERON 0x0004
#define DNS_FILTEROFF 0x0008

#define CP_WINANSI 1004
#define APPCMD_CLIENTONLY 0x00000010L
#define APPCLASS_STANDARD 0x00000000L
#define TIMEOUT_ASYNC 0xFFFFFFFF
#define DDE_FACK 0x8000
#define DDE_FNOTPROCESSED 0x0000

struct CONVCONTEXT;
using PCONVCONTEXT = CONVCONTEXT*;
using PFNCALLBACK = HDDEDATA (*)(UINT uType, UINT uFmt, HCONV hconv, HSZ hsz1, HSZ hsz2,
                                 HDDEDATA hdata, ULONG_PTR dwData1, ULONG_PTR dwData2);

extern "C"
{
    // Sets *pidInst to 0 and answers DMLERR_DLL_NOT_INITIALIZED.
    PLATFORMUI_API UINT DdeInitializeA(LPDWORD pidInst, PFNCALLBACK pfnCallback, DWORD afCmd,
                                       DWORD ulRes);
    PLATFORMUI_API BOOL DdeUninitialize(DWORD idInst);
    PLATFORMUI_API HDDEDATA DdeNameService(DWORD idInst, HSZ hsz1, HSZ hsz2, UINT afCmd);
    PLATFORMUI_API HCONV DdeConnect(DWORD idInst, HSZ hszService, HSZ hszTopic, PCONVCONTEXT pCC);
    PLATFORMUI_API BOOL DdeDisconnect(HCONV hConv);
    PLATFORMUI_API HDDEDATA DdeClientTransaction(LPBYTE pData, DWORD cbData, HCONV hConv,
                                                 HSZ hszItem, UINT wFmt, UINT wType,
                                                 DWORD dwTimeout, LPDWORD pdwResult);
    PLATFORMUI_API HDDEDATA DdeCreateDataHandle(DWORD idInst, LPBYTE pSrc, DWORD cb, DWORD cbOff,
                                                HSZ hszItem, UINT wFmt, UINT afCmd);
    PLATFORMUI_API DWORD DdeGetData(HDDEDATA hData, LPBYTE pDst, DWORD cbMax, DWORD cbOff);
    PLATFORMUI_API LPBYTE DdeAccessData(HDDEDATA hData, LPDWORD pcbDataSize);
    PLATFORMUI_API BOOL DdeUnaccessData(HDDEDATA hData);
    PLATFORMUI_API BOOL DdeFreeDataHandle(HDDEDATA hData);
    PLATFORMUI_API BOOL DdePostAdvise(DWORD idInst, HSZ hszTopic, HSZ hszItem);
    PLATFORMUI_API HSZ DdeCreateStringHandleA(DWORD idInst, LPCSTR psz, int iCodePage);
    PLATFORMUI_API BOOL DdeFreeStringHandle(DWORD idInst, HSZ hsz);
    PLATFORMUI_API DWORD DdeQueryStringA(DWORD idInst, HSZ hsz, LPSTR psz, DWORD cchMax,
                                         int iCodePage);
    PLATFORMUI_API UINT DdeGetLastError(DWORD idInst);
}

inline UINT DdeInitialize(LPDWORD pidInst, PFNCALLBACK pfnCallback, DWORD afCmd, DWORD ulRes)
{
    return DdeInitializeA(pidInst, pfnCallback, afCmd, ulRes);
}
inline HSZ DdeCreateStringHandle(DWORD idInst, LPCSTR psz, int iCodePage)
{
    return DdeCreateStringHandleA(idInst, psz, iCodePage);
}
inline DWORD DdeQueryString(DWORD idInst, HSZ hsz, LPSTR psz, DWORD cchMax, int iCodePage)
{
    return DdeQueryStringA(idInst, hsz, psz, cchMax, iCodePage);
}
