// The object model behind GDI handles: every pen, brush, font, bitmap,
// palette and region is a GdiObject whose address is its handle; handles are
// checked against the live-object table before use.
#pragma once

#include "WinGdi.h"

#include <cstdint>

enum class enGdiKind
{
    Pen,
    Brush,
    Font,
    Bitmap,
    Palette,
    Region,
};

class GdiObject
{
public:
    explicit GdiObject(enGdiKind kind);
    virtual ~GdiObject();
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    enGdiKind GetKind() const { return m_kind; }
    bool IsStock() const { return m_bStock; }
    void MarkStock() { m_bStock = true; }
    // Number of DCs (and saved DC states) holding the object selected.
    int GetSelectCount() const { return m_nSelected; }
    void AddSelect() { ++m_nSelected; }
    void ReleaseSelect() { --m_nSelected; }
    HGDIOBJ GetHandle() { return this; }

private:
    enGdiKind m_kind;
    bool m_bStock = false;
    int m_nSelected = 0;
};

// The live object of that handle, or null for an unknown handle.
GdiObject* GdiLookup(HGDIOBJ handle);

template <typename T> T* GdiLookupAs(HGDIOBJ handle)
{
    GdiObject* obj = GdiLookup(handle);
    if (obj == nullptr || obj->GetKind() != T::kKind)
        return nullptr;
    return static_cast<T*>(obj);
}

// Registers a new object and returns its handle.
HGDIOBJ GdiRegisterObject(GdiObject* obj);
template <typename H> H GdiRegister(GdiObject* obj)
{
    return static_cast<H>(GdiRegisterObject(obj));
}
// Removes and deletes the object.
void GdiDestroyObject(GdiObject* obj);
