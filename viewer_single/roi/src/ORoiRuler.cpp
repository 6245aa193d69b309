#include "ORoiRuler.h"

#include <cmath>

namespace pelivo
{

namespace
{

constexpr const char* RulerNameFormat = "DT%d";
// The slope is measured against a point this far right of the first end.
constexpr int SlopeReach = 10;
// A label stands this far right of the end point it belongs to.
constexpr int LabelGap = 3;

} // namespace

ORoiRuler::ORoiRuler(RoiOwner* owner) : ORoiMeasure(owner, enRoiDistance)
{
    FillName(RulerNameFormat);
}

ORoiRuler::ORoiRuler(RoiOwner* owner, int x1, int y1, int x2, int y2) : ORoiRuler(owner)
{
    SetPoints(x1, y1, x2, y2);
}

bool ORoiRuler::IsEqual(const ORoiItem& other) const
{
    if (!ORoiItem::IsEqual(other))
    {
        return false;
    }
    const auto& ruler = static_cast<const ORoiRuler&>(other);
    return IsSamePoint(m_first, ruler.m_first) && IsSamePoint(m_second, ruler.m_second);
}

ORoiItem* ORoiRuler::Clone(RoiOwner* owner) const
{
    auto* copy = new ORoiRuler(owner, m_first.x, m_first.y, m_second.x, m_second.y);
    copy->SetName(m_name);
    CloneNoteInto(*copy, owner);
    return copy;
}

int ORoiRuler::HitTest(int x, int y) const
{
    if (!m_attached || !m_enabled)
    {
        return enRoiHitNone;
    }
    const int tolerance = GetHandleTolerance();
    const POINT point{x, y};
    if (m_selected && (IsWithin(point, m_first, tolerance) || IsWithin(point, m_second, tolerance)))
    {
        return enRoiHitHandle;
    }
    return SegmentHitCode(TestSegment(point, m_first, m_second, tolerance));
}

template <typename Move> void ORoiRuler::MovePoints(Move move)
{
    SIZE image;
    if (!GetImageSize(image))
    {
        return;
    }
    const POINT first = move(m_first, image);
    const POINT second = move(m_second, image);
    SetPoints(first.x, first.y, second.x, second.y);
    UpdateLabel();
}

void ORoiRuler::FlipVertical()
{
    MovePoints(FlipPointVertical);
}

void ORoiRuler::FlipHorizontal()
{
    MovePoints(FlipPointHorizontal);
}

void ORoiRuler::Rotate(int direction)
{
    MovePoints([direction](POINT point, SIZE image)
               { return RotatePoint(point, image, direction); });
}

void ORoiRuler::SetPoints(int x1, int y1, int x2, int y2)
{
    m_first = {x1, y1};
    m_second = {x2, y2};
    m_bounds = NormaliseRect(m_first, m_second);
    ComputeResult();
}

void ORoiRuler::ComputeResult()
{
    double across = 1.0;
    double down = 1.0;
    if (m_owner != nullptr && m_owner->HasImage())
    {
        m_owner->GetPixelSpacing(across, down);
        if (across == 0.0 || down == 0.0)
        {
            across = down = 1.0;
        }
    }
    const double dx = double(m_second.x - m_first.x);
    const double dy = double(m_second.y - m_first.y);
    m_length = std::sqrt(dx * across * dx * across + dy * down * dy * down);
    m_slope = int(VertexAngle(m_first.x, m_first.y, m_second.x, m_second.y, m_first.x + SlopeReach,
                              m_first.y));
    if (m_second.y > m_first.y)
    {
        m_slope = -m_slope;
    }
}

void ORoiRuler::UpdateLabel()
{
    ComputeResult();
    FillName(RulerNameFormat);
    if (ORoiNote* note = GetNote())
    {
        const POINT& left = m_second.x < m_first.x ? m_second : m_first;
        note->MoveTo(left.x + LabelGap, left.y);
        SetNoteTexts();
    }
}

void ORoiRuler::SetNumber(int number)
{
    NumberAs(number, RulerNameFormat);
    SetNoteTexts();
}

void ORoiRuler::CreateLabel()
{
    const POINT& right = m_first.x > m_second.x ? m_first : m_second;
    MakeNote(right.x + LabelGap, right.y);
}

Lettra ORoiRuler::GetLabelText() const
{
    Lettra text;
    if (m_name.IsEmpty())
    {
        text.Format("%#5.1f", m_length);
    }
    else
    {
        text.Format("%s=%#5.1f", static_cast<const char*>(m_name), m_length);
    }
    const Lettra unit = m_owner != nullptr ? m_owner->GetUnitText() : Lettra();
    text += " ";
    text += unit.IsEmpty() ? Lettra("Pixel") : unit;
    return text;
}

} // namespace pelivo
