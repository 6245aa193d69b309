#include "GdiObject.h"

#include <unordered_set>

namespace
{
std::unordered_set<const void*>& LiveObjects()
{
    static std::unordered_set<const void*> table;
    return table;
}
} // namespace

GdiObject::GdiObject(enGdiKind kind) : m_kind(kind) {}

GdiObject::~GdiObject() = default;

GdiObject* GdiLookup(HGDIOBJ handle)
{
    if (handle == nullptr || LiveObjects().count(handle) == 0)
        return nullptr;
    return static_cast<GdiObject*>(handle);
}

HGDIOBJ GdiRegisterObject(GdiObject* obj)
{
    LiveObjects().insert(obj);
    return obj;
}

void GdiDestroyObject(GdiObject* obj)
{
    LiveObjects().erase(obj);
    delete obj;
}
