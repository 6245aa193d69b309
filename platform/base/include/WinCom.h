// The component object model as far as the suite uses it: interface and
// class identifiers, the IUnknown contract (reference counts, asking an
// object for another of its interfaces), the task allocator and the
// per-thread start that the OLE and shell calls require. Objects live in
// this process only; there is no class registry and no marshalling.
#pragma once

#include "PlatformBaseExport.h"
#include "WinError.h"
#include "WinTypes.h"

#define STDMETHODCALLTYPE
#define STDAPI extern "C" HRESULT

using SCODE = LONG;

#define E_NOTIMPL (static_cast<HRESULT>(0x80004001L))
#define E_NOINTERFACE (static_cast<HRESULT>(0x80004002L))
#define E_POINTER (static_cast<HRESULT>(0x80004003L))
#define E_UNEXPECTED (static_cast<HRESULT>(0x8000FFFFL))
#define CLASS_E_NOAGGREGATION (static_cast<HRESULT>(0x80040110L))
#define REGDB_E_CLASSNOTREG (static_cast<HRESULT>(0x80040154L))
#define CO_E_NOTINITIALIZED (static_cast<HRESULT>(0x800401F0L))

#define SEVERITY_SUCCESS 0
#define SEVERITY_ERROR 1
#define FACILITY_WIN32 7
#define MAKE_HRESULT(sev, fac, code)                                                               \
    static_cast<HRESULT>((static_cast<unsigned long>(sev) << 31) |                                 \
                         (static_cast<unsigned long>(fac) << 16) |                                 \
                         static_cast<unsigned long>(code))
#define HRESULT_CODE(hr) ((hr)&0xFFFF)
#define HRESULT_FROM_WIN32(x)                                                                      \
    ((x) <= 0 ? static_cast<HRESULT>(x) : MAKE_HRESULT(SEVERITY_ERROR, FACILITY_WIN32, (x)&0xFFFF))

#define CLSCTX_INPROC_SERVER 0x1
#define COINIT_APARTMENTTHREADED 0x2

typedef struct _GUID
{
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;
inline bool operator==(const GUID& a, const GUID& b)
{
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b)
{
    return !(a == b);
}

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline BOOL IsEqualGUID(REFIID a, REFIID b)
{
    return a == b ? TRUE : FALSE;
}
inline BOOL IsEqualIID(REFIID a, REFIID b)
{
    return IsEqualGUID(a, b);
}

extern "C" PLATFORMBASE_API const IID IID_IUnknown;

// Every interface starts with these three. Release answers the count left;
// the object deletes itself when it reaches zero. QueryInterface adds a
// reference to what it hands out and sets *ppv to null with E_NOINTERFACE
// when the object has no such interface.
struct IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

extern "C"
{
    // Counted per thread: S_OK for the first start, S_FALSE for the next.
    PLATFORMBASE_API HRESULT CoInitialize(LPVOID pvReserved);
    PLATFORMBASE_API HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
    PLATFORMBASE_API void CoUninitialize();
    // Whether the thread has started COM and not yet stopped it as often.
    PLATFORMBASE_API BOOL IsComStarted();

    // The task allocator: blocks handed between a callee and its caller
    // (shell item identifiers, display names).
    PLATFORMBASE_API LPVOID CoTaskMemAlloc(SIZE_T cb);
    PLATFORMBASE_API LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
    PLATFORMBASE_API void CoTaskMemFree(LPVOID pv);
}
