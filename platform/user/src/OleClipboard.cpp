// The OLE clipboard over the layer's clipboard: a data object put on it has
// every format rendered at once, and the clipboard read back through OLE is
// an object that asks the clipboard whenever it is asked.
#include "OleDataStore.h"

#include "WinClipboard.h"

namespace
{
// The object set last and the clipboard's change count right after; only
// compared, never used, so it needs no reference.
struct LastSet
{
    const IDataObject* pDataObj = nullptr;
    DWORD dwSequence = 0;
};
LastSet& Last()
{
    static LastSet last;
    return last;
}

// Bitmaps are GDI objects, not global memory: they travel as CF_DIB.
bool IsGlobalFormat(UINT nFormat)
{
    return nFormat != CF_BITMAP && nFormat != CF_PALETTE;
}

class CClipboardDataObject final : public CComObject<IDataObject, IID_IDataObject>
{
public:
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override
    {
        if (pMedium == nullptr)
            return E_INVALIDARG;
        const HRESULT hr = QueryGetData(pFormat);
        if (hr != S_OK)
            return hr;
        if (!OpenClipboard(nullptr))
            return CLIPBRD_E_CANT_OPEN;
        HGLOBAL hCopy = CopyGlobalBlock(GetClipboardData(pFormat->cfFormat));
        CloseClipboard();
        if (hCopy == nullptr)
            return DV_E_FORMATETC;
        pMedium->tymed = TYMED_HGLOBAL;
        pMedium->hGlobal = hCopy;
        pMedium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormat) override
    {
        if (pFormat == nullptr)
            return E_INVALIDARG;
        if ((pFormat->tymed & TYMED_HGLOBAL) == 0)
            return DV_E_TYMED;
        return IsGlobalFormat(pFormat->cfFormat) && IsClipboardFormatAvailable(pFormat->cfFormat)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) override
    {
        // The clipboard's formats now, through a store that lists them.
        if (!OpenClipboard(nullptr))
            return CLIPBRD_E_CANT_OPEN;
        COleDataStore* pList = COleDataStore::Create();
        for (UINT nFormat = EnumClipboardFormats(0); nFormat != 0;
             nFormat = EnumClipboardFormats(nFormat))
        {
            if (IsGlobalFormat(nFormat))
                pList->SetBytes(static_cast<CLIPFORMAT>(nFormat), nullptr, 0);
        }
        CloseClipboard();
        const HRESULT hr = pList->EnumFormatEtc(dwDirection, ppEnum);
        pList->Release();
        return hr;
    }
};
} // namespace

HRESULT OleSetClipboard(LPDATAOBJECT pDataObj)
{
    if (!OpenClipboard(nullptr))
        return CLIPBRD_E_CANT_OPEN;
    EmptyClipboard();
    HRESULT hr = S_OK;
    for (const CLIPFORMAT cfFormat : GetDataObjectFormats(pDataObj))
    {
        FORMATETC format{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (FAILED(pDataObj->GetData(&format, &medium)))
            continue;
        // The clipboard takes a block of its own.
        HGLOBAL hBlock =
            medium.pUnkForRelease == nullptr ? medium.hGlobal : CopyGlobalBlock(medium.hGlobal);
        if (medium.pUnkForRelease != nullptr)
            ReleaseStgMedium(&medium);
        if (SetClipboardData(cfFormat, hBlock) == nullptr)
            hr = CLIPBRD_E_CANT_SET;
    }
    CloseClipboard();
    Last() = LastSet{pDataObj, GetClipboardSequenceNumber()};
    return hr;
}

HRESULT OleGetClipboard(LPDATAOBJECT* ppDataObj)
{
    if (ppDataObj == nullptr)
        return E_INVALIDARG;
    *ppDataObj = new CClipboardDataObject;
    return S_OK;
}

HRESULT OleIsCurrentClipboard(LPDATAOBJECT pDataObj)
{
    return pDataObj != nullptr && pDataObj == Last().pDataObj &&
                   GetClipboardSequenceNumber() == Last().dwSequence
               ? S_OK
               : S_FALSE;
}

HRESULT OleFlushClipboard()
{
    // Everything was rendered when it was set: only the link goes.
    Last() = LastSet{};
    return S_OK;
}
