// A data object that holds its formats as global memory blocks: what a
// source offers for a drag or the clipboard, and what a drop from another
// program brings. GetData hands out a copy of a block, so the receiver
// frees its own; the store frees its blocks at its end.
#pragma once

#include "ComObject.h"
#include "PlatformUIExport.h"
#include "WinOle.h"

#include <utility>
#include <vector>

class PLATFORMUI_API COleDataStore final : public CComObject<IDataObject, IID_IDataObject>
{
public:
    // A new store with one reference, owned by the caller.
    static COleDataStore* Create();

    // Takes the block over, replacing one held for the same format.
    void SetGlobal(CLIPFORMAT cfFormat, HGLOBAL hGlobal);
    // A copy of the bytes as a movable block.
    void SetBytes(CLIPFORMAT cfFormat, const void* pData, SIZE_T nSize);
    void Empty();
    bool Has(CLIPFORMAT cfFormat) const;
    std::vector<CLIPFORMAT> GetFormats() const;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormat, STGMEDIUM* pMedium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormat) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* pFormat, STGMEDIUM* pMedium,
                                      BOOL fRelease) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) override;

private:
    COleDataStore() = default;
    ~COleDataStore() override;
    HGLOBAL Find(CLIPFORMAT cfFormat) const;

    std::vector<std::pair<CLIPFORMAT, HGLOBAL>> m_blocks;
};

// A movable copy of a block, NULL when it cannot be made.
PLATFORMUI_API HGLOBAL CopyGlobalBlock(HGLOBAL hSource);
// The format list of any data object (through EnumFormatEtc).
PLATFORMUI_API std::vector<CLIPFORMAT> GetDataObjectFormats(IDataObject* pDataObj);
// A format of a data object as bytes; empty when it is not offered.
PLATFORMUI_API std::vector<BYTE> GetDataObjectBytes(IDataObject* pDataObj, CLIPFORMAT cfFormat);
