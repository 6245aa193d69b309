#include "ORoiNote.h"

#include "WinGeometry.h"

namespace pelivo
{

namespace
{

// Room for the mark that shows a note has a second text.
constexpr int SecondTextMarkWidth = 17;
// A new note stands this far above its anchor.
constexpr int TextRise = 10;

} // namespace

ORoiNote::ORoiNote(RoiOwner* owner, int x, int y, const Lettra& text, const Lettra& secondText)
    : ORoiItem(owner), m_text(text),
      m_secondText(secondText), m_anchor{x, y}, m_textPosition{x, y - TextRise}
{
    m_kind = enRoiNote;
    m_editable = 1;
    ComputeBox();
}

ORoiItem* ORoiNote::Clone(RoiOwner* owner) const
{
    auto* copy = new ORoiNote(owner, m_anchor.x, m_anchor.y, m_text, m_secondText);
    copy->CopyFlagsFrom(*this);
    copy->m_textPosition = m_textPosition;
    return copy;
}

int ORoiNote::HitTest(int x, int y) const
{
    if (!m_attached || !m_enabled || m_owner == nullptr || !m_owner->HasPane())
    {
        return enRoiHitNone;
    }
    const POINT screen = m_owner->ImageToScreen({x, y});
    const POINT origin = m_owner->ImageToScreen(m_textPosition);
    const RECT box{origin.x, origin.y, origin.x + (m_bounds.right - m_bounds.left),
                   origin.y + (m_bounds.bottom - m_bounds.top)};
    return PtInRect(&box, screen) ? enRoiHitBody : enRoiHitNone;
}

void ORoiNote::FlipVertical()
{
    SIZE image;
    if (GetImageSize(image))
    {
        MoveAnchor(FlipPointVertical(m_anchor, image));
    }
}

void ORoiNote::FlipHorizontal()
{
    SIZE image;
    if (GetImageSize(image))
    {
        MoveAnchor(FlipPointHorizontal(m_anchor, image));
    }
}

void ORoiNote::Rotate(int direction)
{
    SIZE image;
    if (GetImageSize(image))
    {
        MoveAnchor(RotatePoint(m_anchor, image, direction));
    }
}

void ORoiNote::SetText(const Lettra& text)
{
    m_text = text;
    ComputeBox();
    if (m_text.IsEmpty() && m_owner != nullptr)
    {
        m_owner->RemoveAnnotation(this);
    }
}

void ORoiNote::SetSecondText(const Lettra& text)
{
    const bool markChanges = m_secondText.IsEmpty() != text.IsEmpty();
    m_secondText = text;
    if (markChanges)
    {
        ComputeBox();
    }
}

void ORoiNote::MoveTo(int x, int y)
{
    OffsetRect(&m_bounds, x - m_textPosition.x, y - m_textPosition.y);
    m_textPosition = {x, y};
}

void ORoiNote::ComputeBox()
{
    SIZE extent{};
    if (m_owner != nullptr && m_owner->HasPane())
    {
        extent = m_owner->GetMultiLineTextExtent(m_text);
    }
    if (!m_secondText.IsEmpty())
    {
        extent.cx += SecondTextMarkWidth;
    }
    m_bounds = {m_textPosition.x, m_textPosition.y, m_textPosition.x + extent.cx,
                m_textPosition.y + extent.cy};
}

void ORoiNote::MoveAnchor(POINT anchor)
{
    m_anchor = anchor;
    PlaceText();
}

void ORoiNote::PlaceText()
{
    POINT position = m_anchor;
    if (m_label != nullptr &&
        (m_label->GetKind() == enRoiRectangle || m_label->GetKind() == enRoiEllipse))
    {
        const RECT& region = m_label->GetBounds();
        const int middleY = (region.top + region.bottom) / 2;
        position.x = (region.left + region.right) / 2;
        position.y = region.top - 5 > 12 ? region.top - 5 : middleY + 6;
    }
    MoveTo(position.x, position.y);
}

} // namespace pelivo
