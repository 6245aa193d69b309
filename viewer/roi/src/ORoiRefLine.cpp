#include "ORoiRefLine.h"

#include "CViewPort.h"

IMPLEMENT_DYNAMIC(ORoiRefLine, ORoiShortLine)

ORoiRefLine::ORoiRefLine(ImageShow* owner, const void* identifier, int x1, int y1, int x2, int y2)
    : ORoiShortLine(TypeId, owner), m_pIdentifier(identifier)
{
    m_enLineStyle = enDot;
    m_bRefLine = 1;
    GetStyle().SetColors(Color);
    SetLine({x1, y1}, {x2, y2});
}

int ORoiRefLine::HitTest(int x, int y, int tolerance, int flags)
{
    return IsRefLine() ? enHitNone : ORoiShortLine::HitTest(x, y, tolerance, flags);
}

void ORoiRefLine::DrawShape(CDC* pDC, CViewPort& view)
{
    ORoiShortLine::DrawShape(pDC, view);
    DrawLabel(pDC);
}

void ORoiRefLine::DrawLabel(CDC* pDC)
{
    CViewPort* view = GetViewPort();
    if (!m_bShowLabel || m_strLabel.IsEmpty() || view == nullptr || pDC == nullptr)
    {
        return;
    }
    // Just past the first end, above the line.
    const POINT start = ToScreen(*view, m_Points[0]);
    const POINT position = {start.x + LabelGap, start.y - LabelGap};
    view->DrawTextVCentered(pDC, GetStyle().GetFont(), &position, m_strLabel, GetDrawColor(), false,
                            true);
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
