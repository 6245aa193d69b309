// The reference count and interface lookup that an object of this suite
// offering one interface shares: it answers for IUnknown and its interface,
// and deletes itself when the last reference goes.
#pragma once

#include "WinCom.h"

#include <atomic>

template <class Interface, const IID& kInterfaceId> class CComObject : public Interface
{
public:
    CComObject() = default;
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != kInterfaceId)
        {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG nLeft = --m_nRefs;
        if (nLeft == 0)
            delete this;
        return nLeft;
    }

protected:
    virtual ~CComObject() = default;

private:
    std::atomic<ULONG> m_nRefs{1};
};
