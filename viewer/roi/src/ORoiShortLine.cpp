#include "ORoiShortLine.h"

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

bool ORoiShortLine::IsMeasurement() const
{
    return false;
}
