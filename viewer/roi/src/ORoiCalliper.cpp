#include "ORoiCalliper.h"

#include "ImageShow.h"
#include "RoiMeasure.h"

#include <cmath>

IMPLEMENT_DYNAMIC(ORoiCalliper, ORoiShortLine)

ORoiCalliper::ORoiCalliper(ImageShow* owner) : ORoiShortLine(TypeId, owner) {}

const char* ORoiCalliper::GetDisplayName() const
{
    return "Calliper";
}

ORoi* ORoiCalliper::Clone(ImageShow* owner) const
{
    return CloneInto(new ORoiCalliper(owner));
}

bool ORoiCalliper::IsMeasurement() const
{
    return true;
}

const char* ORoiCalliper::GetUnit() const
{
    return m_bMillimetres ? "mm" : "pixel";
}

void ORoiCalliper::Recalc()
{
    ORoiShortLine::Recalc();
    const SpacingXY spacing = GetImageSpacing(m_pOwner);
    m_bMillimetres = spacing.IsKnown();
    const double dx = double(m_Points[1].x - m_Points[0].x) * (m_bMillimetres ? spacing.x : 1.0);
    const double dy = double(m_Points[1].y - m_Points[0].y) * (m_bMillimetres ? spacing.y : 1.0);
    m_dLength = std::sqrt(dx * dx + dy * dy);
}

void ORoiCalliper::UpdateLabel()
{
    WriteLabel(FormatMeasure(m_dLength), GetUnit());
}

Lettra ORoiCalliper::GetMeasureText() const
{
    return m_pOwner != nullptr ? MeasureText(m_dLength) : Lettra();
}

TextLabelHolder* ORoiCalliper::GetLabelHolder() const
{
    return &m_Label;
}

POINT ORoiCalliper::GetLabelAnchor() const
{
    return m_Points[1];
}
