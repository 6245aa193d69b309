#include "ORoiRefLine.h"

IMPLEMENT_DYNAMIC(ORoiRefLine, ORoiShortLine)

ORoiRefLine::ORoiRefLine(ImageShow* owner, const void* identifier, int x1, int y1, int x2, int y2)
    : ORoiShortLine(TypeId, owner), m_pIdentifier(identifier)
{
    m_enLineStyle = enDot;
    m_bRefLine = 1;
    GetStyle().SetColors(Color);
    SetLine({x1, y1}, {x2, y2});
}

const char* ORoiRefLine::GetDisplayName() const
{
    return "Reference Line";
}

ORoi* ORoiRefLine::Clone(ImageShow* owner) const
{
    auto* line = new ORoiRefLine(owner, m_pIdentifier, m_Points[0].x, m_Points[0].y, m_Points[1].x,
                                 m_Points[1].y);
    line->m_strLabel = m_strLabel;
    line->m_bShowLabel = m_bShowLabel;
    return CloneInto(line);
}
