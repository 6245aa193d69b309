// Base of every annotation of the single-view build. Annotations live in the
// image's pixel space; the owner image converts and measures for them.
#pragma once

#include "Lettra.h"
#include "RoiOwner.h"
#include "RoiPointRules.h"

#include <cstdint>
#include <memory>

namespace pelivo
{

enum enRoiKind
{
    enRoiBitmap = 0,
    enRoiNote = 1,
    enRoiRectangle = 2,
    enRoiEllipse = 3,
    enRoiAngle = 5,
    enRoiDistance = 6
};

struct RoiStyle
{
    std::uint8_t shadow = 1;
    std::uint8_t reserved = 0;
    int penWidth = 1;
    COLORREF colour = 0x00FFFF;
    int fontWeight = 400;
    Lettra fontFace = "宋体";
};

class ORoiItem
{
public:
    explicit ORoiItem(RoiOwner* owner);
    ORoiItem(const ORoiItem&) = delete;
    ORoiItem& operator=(const ORoiItem&) = delete;
    virtual ~ORoiItem();

    virtual bool IsEqual(const ORoiItem& other) const;
    virtual ORoiItem* Clone(RoiOwner* owner) const = 0;
    virtual int HitTest(int x, int y, int tolerance) const;
    virtual int HitTest(int x, int y) const;
    virtual void FlipVertical() = 0;
    virtual void FlipHorizontal() = 0;
    virtual void Rotate(int direction) = 0;
    virtual void EnsureStatistics() {}
    virtual void InvalidateStatistics() {}
    virtual void UpdateLabel() {}
    virtual void SetNumber(int number);
    virtual void SetName(const Lettra& name) { m_name = name; }
    virtual Lettra GetName() const { return m_name; }

    // Mutual; a note already linked to either side gives way and is deleted.
    void Link(ORoiItem* label);
    void Unlink();

    int GetKind() const { return m_kind; }
    RoiOwner* GetOwner() const { return m_owner; }
    ORoiItem* GetLabel() const { return m_label; }
    int GetNumber() const { return m_number; }
    const RECT& GetBounds() const { return m_bounds; }
    void SetBounds(const RECT& bounds) { m_bounds = bounds; }
    RoiStyle& GetStyle() { return *m_style; }
    bool IsSelected() const { return m_selected != 0; }
    bool IsAttached() const { return m_attached != 0; }
    void SetAttached(bool attached) { m_attached = attached; }
    void SetMovable(bool movable) { m_movable = movable; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEditable() const { return m_editable != 0; }
    void SetEditable(bool editable) { m_editable = editable; }

protected:
    // The owner's image size, or nothing without an image.
    bool GetImageSize(SIZE& size) const;
    // A hit tolerance of the handle size, as the handle squares are drawn.
    int GetHandleTolerance() const { return int(m_handleSize + 0.5); }
    // Fills an empty name from the kind's format when the number is not 0.
    void FillName(const char* format);
    void CopyFlagsFrom(const ORoiItem& other);

    int m_kind = enRoiBitmap;
    std::unique_ptr<RoiStyle> m_style;
    RoiOwner* m_owner;
    RECT m_bounds{};
    int m_handleSize = 4;
    std::uint8_t m_editable = 0;
    std::uint8_t m_attached = 1;
    std::uint8_t m_movable = 1;
    std::uint8_t m_enabled = 1;
    std::uint8_t m_selected = 0;
    ORoiItem* m_label = nullptr;
    int m_number = -1;
    Lettra m_name;
};

} // namespace pelivo
