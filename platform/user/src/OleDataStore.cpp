#include "OleDataStore.h"

#include "WinGlobalMemory.h"

#include <algorithm>
#include <cstring>

// {0000010E-0000-0000-C000-000000000046}
const IID IID_IDataObject = {0x0000010E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {00000103-0000-0000-C000-000000000046}
const IID IID_IEnumFORMATETC = {0x00000103, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace
{
FORMATETC FormatOf(CLIPFORMAT cfFormat)
{
    return FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The formats of a store at the time the enumerator was made.
class CFormatEnumerator final : public CComObject<IEnumFORMATETC, IID_IEnumFORMATETC>
{
public:
    explicit CFormatEnumerator(std::vector<CLIPFORMAT> formats, std::size_t nNext = 0)
        : m_formats(std::move(formats)), m_nNext(nNext)
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override
    {
        ULONG nFetched = 0;
        while (nFetched < celt && m_nNext < m_formats.size())
            rgelt[nFetched++] = FormatOf(m_formats[m_nNext++]);
        if (pceltFetched != nullptr)
            *pceltFetched = nFetched;
        return nFetched == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override
    {
        m_nNext = std::min(m_formats.size(), m_nNext + celt);
        return m_nNext < m_formats.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_nNext = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** ppEnum) override
    {
        if (ppEnum == nullptr)
            return E_POINTER;
        *ppEnum = new CFormatEnumerator(m_formats, m_nNext);
        return S_OK;
    }

private:
    std::vector<CLIPFORMAT> m_formats;
    std::size_t m_nNext;
};
} // namespace

HGLOBAL CopyGlobalBlock(HGLOBAL hSource)
{
    const SIZE_T nSize = GlobalSize(hSource);
    const void* pSource = GlobalLock(hSource);
    if (pSource == nullptr)
        return nullptr;
    HGLOBAL hCopy = GlobalAlloc(GMEM_MOVEABLE, nSize);
    if (hCopy != nullptr)
    {
        std::memcpy(GlobalLock(hCopy), pSource, nSize);
        GlobalUnlock(hCopy);
    }
    GlobalUnlock(hSource);
    return hCopy;
}

std::vector<CLIPFORMAT> GetDataObjectFormats(IDataObject* pDataObj)
{
    std::vector<CLIPFORMAT> formats;
    IEnumFORMATETC* pEnum = nullptr;
    if (pDataObj == nullptr || FAILED(pDataObj->EnumFormatEtc(DATADIR_GET, &pEnum)) ||
        pEnum == nullptr)
        return formats;
    FORMATETC format{};
    ULONG nFetched = 0;
    while (pEnum->Next(1, &format, &nFetched) == S_OK && nFetched == 1)
        formats.push_back(format.cfFormat);
    pEnum->Release();
    return formats;
}

std::vector<BYTE> GetDataObjectBytes(IDataObject* pDataObj, CLIPFORMAT cfFormat)
{
    FORMATETC format = FormatOf(cfFormat);
    STGMEDIUM medium{};
    if (pDataObj == nullptr || FAILED(pDataObj->GetData(&format, &medium)))
        return {};
    std::vector<BYTE> bytes;
    const auto* pData = static_cast<const BYTE*>(GlobalLock(medium.hGlobal));
    if (pData != nullptr)
    {
        bytes.assign(pData, pData + GlobalSize(medium.hGlobal));
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    return bytes;
}

COleDataStore* COleDataStore::Create()
{
    return new COleDataStore;
}

COleDataStore::~COleDataStore()
{
    Empty();
}

void COleDataStore::SetGlobal(CLIPFORMAT cfFormat, HGLOBAL hGlobal)
{
    const auto it = std::find_if(m_blocks.begin(), m_blocks.end(),
                                 [&](const auto& block) { return block.first == cfFormat; });
    if (it == m_blocks.end())
    {
        m_blocks.emplace_back(cfFormat, hGlobal);
        return;
    }
    if (it->second != hGlobal)
        GlobalFree(it->second);
    it->second = hGlobal;
}

void COleDataStore::SetBytes(CLIPFORMAT cfFormat, const void* pData, SIZE_T nSize)
{
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, nSize);
    if (hGlobal == nullptr)
        return;
    if (nSize != 0)
        std::memcpy(GlobalLock(hGlobal), pData, nSize);
    GlobalUnlock(hGlobal);
    SetGlobal(cfFormat, hGlobal);
}

void COleDataStore::Empty()
{
    for (const auto& block : m_blocks)
        GlobalFree(block.second);
    m_blocks.clear();
}

bool COleDataStore::Has(CLIPFORMAT cfFormat) const
{
    return Find(cfFormat) != nullptr;
}

std::vector<CLIPFORMAT> COleDataStore::GetFormats() const
{
    std::vector<CLIPFORMAT> formats;
    for (const auto& block : m_blocks)
        formats.push_back(block.first);
    return formats;
}

HGLOBAL COleDataStore::Find(CLIPFORMAT cfFormat) const
{
    const auto it = std::find_if(m_blocks.begin(), m_blocks.end(),
                                 [&](const auto& block) { return block.first == cfFormat; });
    return it != m_blocks.end() ? it->second : nullptr;
}

HRESULT COleDataStore::GetData(FORMATETC* pFormat, STGMEDIUM* pMedium)
{
    if (pFormat == nullptr || pMedium == nullptr)
        return E_INVALIDARG;
    const HRESULT hr = QueryGetData(pFormat);
    if (hr != S_OK)
        return hr;
    HGLOBAL hCopy = CopyGlobalBlock(Find(pFormat->cfFormat));
    if (hCopy == nullptr)
        return E_OUTOFMEMORY;
    pMedium->tymed = TYMED_HGLOBAL;
    pMedium->hGlobal = hCopy;
    pMedium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT COleDataStore::QueryGetData(FORMATETC* pFormat)
{
    if (pFormat == nullptr)
        return E_INVALIDARG;
    if ((pFormat->tymed & TYMED_HGLOBAL) == 0)
        return DV_E_TYMED;
    return Find(pFormat->cfFormat) != nullptr ? S_OK : DV_E_FORMATETC;
}

HRESULT COleDataStore::SetData(FORMATETC* pFormat, STGMEDIUM* pMedium, BOOL fRelease)
{
    if (pFormat == nullptr || pMedium == nullptr)
        return E_INVALIDARG;
    if (pMedium->tymed != TYMED_HGLOBAL)
        return DV_E_TYMED;
    // A block owned by another object stays that object's: copy it.
    const bool bTake = fRelease && pMedium->pUnkForRelease == nullptr;
    HGLOBAL hGlobal = bTake ? pMedium->hGlobal : CopyGlobalBlock(pMedium->hGlobal);
    if (hGlobal == nullptr)
        return E_OUTOFMEMORY;
    if (fRelease && !bTake)
        ReleaseStgMedium(pMedium);
    SetGlobal(pFormat->cfFormat, hGlobal);
    return S_OK;
}

HRESULT COleDataStore::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum)
{
    if (ppEnum == nullptr)
        return E_POINTER;
    *ppEnum = nullptr;
    if (dwDirection != DATADIR_GET)
        return E_NOTIMPL;
    *ppEnum = new CFormatEnumerator(GetFormats());
    return S_OK;
}

void ReleaseStgMedium(LPSTGMEDIUM pMedium)
{
    if (pMedium == nullptr)
        return;
    if (pMedium->pUnkForRelease != nullptr)
        pMedium->pUnkForRelease->Release();
    else if (pMedium->tymed == TYMED_HGLOBAL && pMedium->hGlobal != nullptr)
        GlobalFree(pMedium->hGlobal);
    pMedium->tymed = TYMED_NULL;
    pMedium->hGlobal = nullptr;
    pMedium->pUnkForRelease = nullptr;
}
