#include "ORoiRegion.h"

namespace pelivo
{

namespace
{

// The note of a region first stands at its bottom left, then just below.
constexpr int LabelDrop = 5;

} // namespace

ORoiRegion::ORoiRegion(RoiOwner* owner, int kind, const char* nameFormat, const RECT& bounds)
    : ORoiMeasure(owner, kind), m_nameFormat(nameFormat)
{
    m_bounds = bounds;
    FillName(nameFormat);
}

ORoiItem* ORoiRegion::Clone(RoiOwner* owner) const
{
    ORoiRegion* copy = nullptr;
    if (m_kind == enRoiEllipse)
    {
        copy = new ORoiEllipse(owner, m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.bottom);
    }
    else
    {
        copy =
            new ORoiRectangle(owner, m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.bottom);
    }
    CloneNoteInto(*copy, owner);
    return copy;
}

template <typename Move> void ORoiRegion::MoveCorners(Move move)
{
    SIZE image;
    if (!GetImageSize(image))
    {
        return;
    }
    MoveBounds(NormaliseRect(move(POINT{m_bounds.left, m_bounds.top}, image),
                             move(POINT{m_bounds.right, m_bounds.bottom}, image)));
}

void ORoiRegion::FlipVertical()
{
    MoveCorners(FlipPointVertical);
}

void ORoiRegion::FlipHorizontal()
{
    MoveCorners(FlipPointHorizontal);
}

void ORoiRegion::Rotate(int direction)
{
    MoveCorners([direction](POINT point, SIZE image)
                { return RotatePoint(point, image, direction); });
}

void ORoiRegion::MoveBounds(const RECT& bounds)
{
    m_bounds = bounds;
    InvalidateStatistics();
}

void ORoiRegion::UpdateLabel()
{
    if (m_statisticsValid)
    {
        return;
    }
    m_statisticsValid = 1;
    ComputeStatistics();
    if (GetNote() == nullptr)
    {
        CreateLabel();
    }
    SetNoteTexts();
}

void ORoiRegion::SetNumber(int number)
{
    NumberAs(number, m_nameFormat);
    InvalidateStatistics();
}

void ORoiRegion::CreateLabel()
{
    MakeNote(m_bounds.left, m_bounds.bottom)->MoveTo(m_bounds.left, m_bounds.bottom + LabelDrop);
}

Lettra ORoiRegion::GetLabelText() const
{
    Lettra text;
    if (!m_name.IsEmpty())
    {
        text = m_name;
        text += "=";
    }
    if (m_statistics)
    {
        text += m_statistics->GetText();
    }
    else
    {
        text.AppendFormat("标注 <%d,%d> <%d,%d>", int(m_bounds.left), int(m_bounds.top),
                          int(m_bounds.right), int(m_bounds.bottom));
    }
    return text;
}

ORoiRectangle::ORoiRectangle(RoiOwner* owner, int left, int top, int right, int bottom)
    : ORoiRegion(owner, enRoiRectangle, "RT%d", {left, top, right, bottom})
{
    ComputeStatistics();
}

ORoiEllipse::ORoiEllipse(RoiOwner* owner, int left, int top, int right, int bottom)
    : ORoiRegion(owner, enRoiEllipse, "EL%d", {left, top, right, bottom})
{
}

} // namespace pelivo
