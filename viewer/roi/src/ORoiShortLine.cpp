#include "ORoiShortLine.h"

#include "CViewPort.h"

IMPLEMENT_DYNAMIC(ORoiShortLine, LineBase)

ORoiShortLine::ORoiShortLine(ImageShow* owner) : LineBase(TypeId, owner) {}

ORoiShortLine::ORoiShortLine(int typeId, ImageShow* owner) : LineBase(typeId, owner) {}

const char* ORoiShortLine::GetDisplayName() const
{
    return "Short Line";
}

ORoi* ORoiShortLine::Clone(ImageShow* owner) const
{
    return CloneInto(new ORoiShortLine(owner));
}

ORoi* ORoiShortLine::CloneInto(ORoiShortLine* line) const
{
    line->CopyGeometry(*this);
    CopyAttributes(*line);
    line->m_enLineStyle = m_enLineStyle;
    line->Update();
    return line;
}

void ORoiShortLine::DrawShape(CDC* pDC, CViewPort& view)
{
    DrawLineInStyle(pDC, view, ToScreen(view, m_Points[0]), ToScreen(view, m_Points[1]));
}

void ORoiShortLine::DrawLineInStyle(CDC* pDC, CViewPort& view, POINT a, POINT b) const
{
    switch (m_enLineStyle)
    {
    case enDot:
        view.DrawDotLine(pDC, a.x, a.y, b.x, b.y, GetDrawColor());
        break;
    case enDash:
        view.DrawDashLine(pDC, a.x, a.y, b.x, b.y, GetDrawColor());
        break;
    case enDashDot:
        view.DrawDashDotLine(pDC, a.x, a.y, b.x, b.y, GetDrawColor());
        break;
    default:
        DrawStyledLine(pDC, view, a, b);
        break;
    }
}

bool ORoiShortLine::IsMeasurement() const
{
    return false;
}
