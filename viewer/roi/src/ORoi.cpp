#include "ORoi.h"

#include "ImageShow.h"

#include <utility>

IMPLEMENT_DYNAMIC(Overlay, CObject)
IMPLEMENT_DYNAMIC(ORoi, Overlay)

namespace
{

int s_nLastSerialNumber = 0;

} // namespace

RECT RotateRect(const RECT& rect, SIZE before, int quarterTurns)
{
    RECT turned = rect;
    SIZE size = before;
    for (int turn = ((quarterTurns % 4) + 4) % 4; turn > 0; --turn)
    {
        // One turn counter-clockwise: (x, y) goes to (y, width - x).
        turned = {turned.top, size.cx - turned.right, turned.bottom, size.cx - turned.left};
        std::swap(size.cx, size.cy);
    }
    return turned;
}

Overlay::Overlay(int typeId, ImageShow* owner)
    : m_nTypeId(typeId), m_pOwner(owner), m_nSerialNumber(++s_nLastSerialNumber)
{
}

Overlay::~Overlay() = default;

void Overlay::GetRect(RECT* out) const
{
    if (out != nullptr)
    {
        *out = m_Rect;
    }
}

void Overlay::SetRect(const RECT& rect)
{
    m_Rect = rect;
}

bool Overlay::CanRemove() const
{
    return true;
}

ORoi::ORoi(int typeId, ImageShow* owner) : Overlay(typeId, owner) {}

SIZE ORoi::GetImageSize() const
{
    return m_pOwner != nullptr ? m_pOwner->GetImageSize() : SIZE{0, 0};
}

void ORoi::FlipVertical()
{
    const SIZE size = GetImageSize();
    m_Rect = {m_Rect.left, size.cy - m_Rect.bottom, m_Rect.right, size.cy - m_Rect.top};
}

void ORoi::FlipHorizontal()
{
    const SIZE size = GetImageSize();
    m_Rect = {size.cx - m_Rect.right, m_Rect.top, size.cx - m_Rect.left, m_Rect.bottom};
}

void ORoi::Rotate(int quarterTurns)
{
    // The owner's matrix has turned already: its size before the turn is
    // the present one turned back.
    SIZE before = GetImageSize();
    if ((((quarterTurns % 4) + 4) % 4) % 2 == 1)
    {
        std::swap(before.cx, before.cy);
    }
    m_Rect = RotateRect(m_Rect, before, quarterTurns);
}
