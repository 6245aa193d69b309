#include "ORoiProtractor.h"

#include <algorithm>

namespace pelivo
{

namespace
{

constexpr const char* AngleNameFormat = "A%d";
constexpr int LabelGap = 3;
// The bounds start from these before the three points are taken in.
constexpr LONG BoundsStart = 9999;

} // namespace

ORoiProtractor::ORoiProtractor(RoiOwner* owner) : ORoiMeasure(owner, enRoiAngle)
{
    FillName(AngleNameFormat);
}

ORoiProtractor::ORoiProtractor(RoiOwner* owner, int vertexX, int vertexY, int x1, int y1, int x2,
                               int y2)
    : ORoiProtractor(owner)
{
    SetPoints({vertexX, vertexY}, {x1, y1}, {x2, y2});
}

bool ORoiProtractor::IsEqual(const ORoiItem& other) const
{
    if (!ORoiItem::IsEqual(other))
    {
        return false;
    }
    const auto& angle = static_cast<const ORoiProtractor&>(other);
    return IsSamePoint(m_vertex, angle.m_vertex) && IsSamePoint(m_first, angle.m_first) &&
           IsSamePoint(m_second, angle.m_second);
}

ORoiItem* ORoiProtractor::Clone(RoiOwner* owner) const
{
    auto* copy = new ORoiProtractor(owner, m_vertex.x, m_vertex.y, m_first.x, m_first.y, m_second.x,
                                    m_second.y);
    CloneNoteInto(*copy, owner);
    return copy;
}

int ORoiProtractor::HitTest(int x, int y) const
{
    if (!m_attached || !m_enabled)
    {
        return enRoiHitNone;
    }
    const int tolerance = GetHandleTolerance();
    const POINT point{x, y};
    for (const POINT& corner : {m_vertex, m_first, m_second})
    {
        if (IsWithin(point, corner, tolerance))
        {
            return enRoiHitHandle;
        }
    }
    enSegmentTest test = TestSegment(point, m_vertex, m_first, tolerance);
    if (test == enSegmentMiss)
    {
        test = TestSegment(point, m_vertex, m_second, tolerance);
    }
    return SegmentHitCode(test);
}

template <typename Move> void ORoiProtractor::MovePoints(Move move)
{
    SIZE image;
    if (!GetImageSize(image))
    {
        return;
    }
    SetPoints(move(m_vertex, image), move(m_first, image), move(m_second, image));
    UpdateLabel();
}

void ORoiProtractor::FlipVertical()
{
    MovePoints(FlipPointVertical);
}

void ORoiProtractor::FlipHorizontal()
{
    MovePoints(FlipPointHorizontal);
}

void ORoiProtractor::Rotate(int direction)
{
    MovePoints([direction](POINT point, SIZE image)
               { return RotatePoint(point, image, direction); });
}

void ORoiProtractor::SetPoints(POINT vertex, POINT first, POINT second)
{
    m_vertex = vertex;
    m_first = first;
    m_second = second;
    m_bounds = {BoundsStart, BoundsStart, 0, 0};
    for (const POINT& point : {vertex, first, second})
    {
        m_bounds.left = std::min(m_bounds.left, point.x);
        m_bounds.top = std::min(m_bounds.top, point.y);
        m_bounds.right = std::max(m_bounds.right, point.x);
        m_bounds.bottom = std::max(m_bounds.bottom, point.y);
    }
    m_angle = int(VertexAngle(vertex.x, vertex.y, first.x, first.y, second.x, second.y));
}

void ORoiProtractor::UpdateLabel()
{
    SetNoteTexts();
}

void ORoiProtractor::SetNumber(int number)
{
    NumberAs(number, AngleNameFormat);
    SetNoteTexts();
}

void ORoiProtractor::CreateLabel()
{
    MakeNote(m_vertex.x + LabelGap, m_vertex.y);
}

Lettra ORoiProtractor::GetLabelText() const
{
    Lettra text;
    text.Format("%s=%d deg.", static_cast<const char*>(m_name), m_angle);
    return text;
}

} // namespace pelivo
