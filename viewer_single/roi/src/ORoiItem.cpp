#include "ORoiItem.h"

#include "WinGeometry.h"

namespace pelivo
{

ORoiItem::ORoiItem(RoiOwner* owner) : m_style(std::make_unique<RoiStyle>()), m_owner(owner) {}

ORoiItem::~ORoiItem()
{
    Unlink();
}

bool ORoiItem::IsEqual(const ORoiItem& other) const
{
    return m_kind == other.m_kind && EqualRect(&m_bounds, &other.m_bounds);
}

int ORoiItem::HitTest(int x, int y, int tolerance) const
{
    if (!m_attached || !m_movable || !m_enabled)
    {
        return enRoiHitNone;
    }
    const POINT point{x, y};
    const POINT corners[] = {{m_bounds.left, m_bounds.top},
                             {m_bounds.right, m_bounds.top},
                             {m_bounds.left, m_bounds.bottom},
                             {m_bounds.right, m_bounds.bottom}};
    for (const POINT& corner : corners)
    {
        if (IsWithin(point, corner, tolerance))
        {
            return enRoiHitHandle;
        }
    }
    return PtInRect(&m_bounds, point) ? enRoiHitBody : enRoiHitNone;
}

int ORoiItem::HitTest(int x, int y) const
{
    return HitTest(x, y, GetHandleTolerance());
}

void ORoiItem::SetNumber(int number)
{
    m_number = number;
}

void ORoiItem::Link(ORoiItem* label)
{
    if (label == m_label)
    {
        return;
    }
    for (ORoiItem* side : {static_cast<ORoiItem*>(this), label})
    {
        ORoiItem* previous = side->m_label;
        if (previous == nullptr)
        {
            continue;
        }
        side->Unlink();
        if (previous->m_kind == enRoiNote && previous != this && previous != label)
        {
            delete previous;
        }
    }
    m_label = label;
    label->m_label = this;
}

void ORoiItem::Unlink()
{
    if (m_label != nullptr)
    {
        m_label->m_label = nullptr;
        m_label = nullptr;
    }
}

bool ORoiItem::GetImageSize(SIZE& size) const
{
    if (m_owner == nullptr || !m_owner->HasImage())
    {
        return false;
    }
    size = m_owner->GetImageSize();
    return true;
}

void ORoiItem::FillName(const char* format)
{
    if (m_name.IsEmpty() && m_number != 0)
    {
        m_name.Format(format, m_number);
    }
}

void ORoiItem::CopyFlagsFrom(const ORoiItem& other)
{
    m_editable = other.m_editable;
    m_attached = other.m_attached;
    m_movable = other.m_movable;
    m_enabled = other.m_enabled;
    m_bounds = other.m_bounds;
    *m_style = *other.m_style;
}

} // namespace pelivo
