// OLE data transfer inside this process: data objects, drag and drop
// between windows and the OLE clipboard over the layer's clipboard.
//
// DoDragDrop runs a modal loop with the mouse captured. Each move finds the
// window under the pointer, walks up to the first one registered with
// RegisterDragDrop (or, for data that offers CF_HDROP, one accepting files)
// and calls its target's DragEnter, DragOver and DragLeave with the key
// state (MK_CONTROL asks for a copy) and the screen point. The source's
// QueryContinueDrag decides when the drag drops or is given up (Escape);
// the effect the target answered at the drop is returned. Files dropped on
// a window that accepts them arrive as WM_DROPFILES.
#pragma once

#include "PlatformUIExport.h"
#include "WinCom.h"
#include "WinUserDefs.h"

using CLIPFORMAT = WORD;

#define DVASPECT_CONTENT 1

#define TYMED_NULL 0
#define TYMED_HGLOBAL 1

#define DATADIR_GET 1

#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000UL

#define MK_ALT 0x0020

#define DRAGDROP_S_DROP (static_cast<HRESULT>(0x00040100L))
#define DRAGDROP_S_CANCEL (static_cast<HRESULT>(0x00040101L))
#define DRAGDROP_S_USEDEFAULTCURSORS (static_cast<HRESULT>(0x00040102L))
#define DRAGDROP_E_NOTREGISTERED (static_cast<HRESULT>(0x80040100L))
#define DRAGDROP_E_ALREADYREGISTERED (static_cast<HRESULT>(0x80040101L))
#define DRAGDROP_E_INVALIDHWND (static_cast<HRESULT>(0x80040102L))
#define DV_E_FORMATETC (static_cast<HRESULT>(0x80040064L))
#define DV_E_TYMED (static_cast<HRESULT>(0x80040069L))
#define OLE_E_NOTRUNNING (static_cast<HRESULT>(0x80040005L))
#define CLIPBRD_E_CANT_OPEN (static_cast<HRESULT>(0x800401D0L))
#define CLIPBRD_E_CANT_SET (static_cast<HRESULT>(0x800401D2L))

struct DVTARGETDEVICE;

struct FORMATETC
{
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed;
};
using LPFORMATETC = FORMATETC*;

// Only global memory travels; pUnkForRelease, when set, is released
// instead of freeing the block.
struct STGMEDIUM
{
    DWORD tymed;
    union
    {
        HGLOBAL hGlobal;
        HBITMAP hBitmap;
    };
    IUnknown* pUnkForRelease;
};
using LPSTGMEDIUM = STGMEDIUM*;

struct POINTL
{
    LONG x;
    LONG y;
};

extern "C" PLATFORMUI_API const IID IID_IDataObject;
extern "C" PLATFORMUI_API const IID IID_IEnumFORMATETC;
extern "C" PLATFORMUI_API const IID IID_IDropSource;
extern "C" PLATFORMUI_API const IID IID_IDropTarget;

struct IEnumFORMATETC : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** ppEnum) = 0;

protected:
    ~IEnumFORMATETC() = default;
};

// GetData hands the caller a medium of its own (free it with
// ReleaseStgMedium); SetData with fRelease takes the medium over.
struct IDataObject : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormat) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetData(FORMATETC* pFormat, STGMEDIUM* pMedium,
                                              BOOL fRelease) = 0;
    virtual HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) = 0;

protected:
    ~IDataObject() = default;
};
using LPDATAOBJECT = IDataObject*;

struct IDropSource : IUnknown
{
    // S_OK to go on, DRAGDROP_S_DROP or DRAGDROP_S_CANCEL to end.
    virtual HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS lets the loop show its own cursor.
    virtual HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) = 0;

protected:
    ~IDropSource() = default;
};
using LPDROPSOURCE = IDropSource*;

// Points are in screen coordinates; *pdwEffect comes in as the effects the
// source allows and goes back as the one the target would carry out.
struct IDropTarget : IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                DWORD* pdwEffect) = 0;
    virtual HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) = 0;
    virtual HRESULT STDMETHODCALLTYPE DragLeave() = 0;
    virtual HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                           DWORD* pdwEffect) = 0;

protected:
    ~IDropTarget() = default;
};
using LPDROPTARGET = IDropTarget*;

extern "C"
{
    // Starts COM as well; counted per thread like CoInitialize.
    PLATFORMUI_API HRESULT OleInitialize(LPVOID pvReserved);
    PLATFORMUI_API void OleUninitialize();

    // The window takes drops through the target (one reference kept until
    // RevokeDragDrop or the window's end). E_OUTOFMEMORY before OLE has
    // been started, as the system answers then.
    PLATFORMUI_API HRESULT RegisterDragDrop(HWND hWnd, LPDROPTARGET pDropTarget);
    PLATFORMUI_API HRESULT RevokeDragDrop(HWND hWnd);

    // DRAGDROP_S_DROP with the target's effect, or DRAGDROP_S_CANCEL with
    // DROPEFFECT_NONE.
    PLATFORMUI_API HRESULT DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource,
                                      DWORD dwOKEffects, LPDWORD pdwEffect);

    // Puts every format the object offers on the clipboard (null empties
    // it); the object is kept until the clipboard changes.
    PLATFORMUI_API HRESULT OleSetClipboard(LPDATAOBJECT pDataObj);
    // An object that reads the clipboard as it is when asked.
    PLATFORMUI_API HRESULT OleGetClipboard(LPDATAOBJECT* ppDataObj);
    // S_OK while the object set last is still the clipboard's.
    PLATFORMUI_API HRESULT OleIsCurrentClipboard(LPDATAOBJECT pDataObj);
    PLATFORMUI_API HRESULT OleFlushClipboard();

    PLATFORMUI_API void ReleaseStgMedium(LPSTGMEDIUM pMedium);
}
