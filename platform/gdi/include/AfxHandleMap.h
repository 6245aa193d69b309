// The two maps from handles to the C++ objects wrapping them: permanent
// entries for objects that attached their handle, and temporary wrappers
// made on demand for handles nobody attached, owned by the map until the
// next DeleteTempMap.
#pragma once

#include <map>
#include <memory>

template <typename THandle, typename TObject> class CHandleMap
{
public:
    TObject* LookupPermanent(THandle handle) const
    {
        const auto it = m_permanent.find(handle);
        return it != m_permanent.end() ? it->second : nullptr;
    }

    void SetPermanent(THandle handle, TObject* pObject) { m_permanent[handle] = pObject; }

    // Only the object's own entry goes: the handle may be attached to
    // another object by now.
    void RemovePermanent(THandle handle, const TObject* pObject)
    {
        const auto it = m_permanent.find(handle);
        if (it != m_permanent.end() && it->second == pObject)
            m_permanent.erase(it);
    }

    // The permanent wrapper of the handle, else its temporary one, which
    // fnMake (taking the handle) makes on the first call.
    template <typename TMake> TObject* FromHandle(THandle handle, TMake fnMake)
    {
        if (handle == nullptr)
            return nullptr;
        if (TObject* pObject = LookupPermanent(handle))
            return pObject;
        auto& slot = m_temporary[handle];
        if (!slot)
            slot = fnMake(handle);
        return slot.get();
    }

    void RemoveTemporary(THandle handle) { m_temporary.erase(handle); }

    // Temporary wrappers never own their handles: fnRelease takes the handle
    // from each before it is destroyed. The map is emptied first, so nothing
    // a destructor does can reach a wrapper on its way out.
    template <typename TRelease> void DeleteTemporary(TRelease fnRelease)
    {
        auto temporary = std::move(m_temporary);
        m_temporary.clear();
        for (auto& [handle, pObject] : temporary)
            fnRelease(*pObject);
    }

private:
    std::map<THandle, TObject*> m_permanent;
    std::map<THandle, std::unique_ptr<TObject>> m_temporary;
};
