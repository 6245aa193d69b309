#include "ORoiTextLabel.h"

#include "RoiDocument.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(ORoiTextLabel, ORoi)

namespace
{

int s_nDefaultOffset = 10;

} // namespace

ORoiTextLabel::ORoiTextLabel(ImageShow* owner) : ORoi(TypeId, owner) {}

ORoi* ORoiTextLabel::Clone(ImageShow* owner) const
{
    auto* label = new ORoiTextLabel(owner);
    label->CopyGeometry(*this);
    CopyAttributes(*label);
    label->m_strValue = m_strValue;
    label->m_strText = m_strText;
    label->m_strUnit = m_strUnit;
    return label;
}

bool ORoiTextLabel::IsEqual(const Overlay& other) const
{
    const auto* label = dynamic_cast<const ORoiTextLabel*>(&other);
    return label != nullptr && ORoi::IsEqual(other) && label->GetDisplayText() == GetDisplayText();
}

bool ORoiTextLabel::IsMeasurement() const
{
    return false;
}

int ORoiTextLabel::GetHandlePoints(POINT*, int) const
{
    return 0;
}

POINT* ORoiTextLabel::GetPoints(int& count)
{
    count = 2;
    return m_Points;
}

void ORoiTextLabel::SetAnchor(POINT anchor)
{
    m_Points[enAnchor] = anchor;
    PointsChanged();
}

void ORoiTextLabel::SetPosition(POINT position)
{
    m_Points[enPosition] = position;
    PointsChanged();
}

void ORoiTextLabel::MoveToAnchor(POINT anchor)
{
    POINT position = {anchor.x + s_nDefaultOffset, anchor.y};
    const SIZE size = GetImageSize();
    if (size.cx > 0 && size.cy > 0)
    {
        position.x = std::clamp<LONG>(position.x, 0, size.cx - 1);
        position.y = std::clamp<LONG>(position.y, 0, size.cy - 1);
    }
    m_Points[enAnchor] = anchor;
    SetPosition(position);
}

Lettra ORoiTextLabel::GetDisplayText() const
{
    if (m_strText.IsEmpty())
    {
        return m_strValue.Trim();
    }
    Lettra text = m_strText.Trim();
    if (!m_strUnit.IsEmpty())
    {
        text += " ";
        text += m_strUnit;
    }
    return text;
}

void ORoiTextLabel::Offset(int dx, int dy)
{
    const POINT position = GetPosition();
    SetPosition({position.x + dx, position.y + dy});
}

Lettra ORoiTextLabel::XmlSerializeTextLabel() const
{
    return RoiDocument::TextLabel(GetPosition(), GetDisplayText());
}

Lettra ORoiTextLabel::XmlSerializePrimitives() const
{
    return XmlSerializeTextLabel();
}

void ORoiTextLabel::SetDefaultOffset(int pixels)
{
    s_nDefaultOffset = pixels;
}

int ORoiTextLabel::GetDefaultOffset()
{
    return s_nDefaultOffset;
}
