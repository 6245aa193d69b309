#include "ORoiTextLabel.h"

#include "CViewPort.h"
#include "RoiDocument.h"
#include "RoiGeometry.h"
#include "RoiLabelText.h"

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

int ORoiTextLabel::HitTest(int x, int y, int, int)
{
    if (!IsHitEnabled() || !IsShown())
    {
        return enHitNone;
    }
    return PointInRect({x, y}, GetScreenRect()) ? enHitLabel : enHitNone;
}

RECT ORoiTextLabel::GetScreenRect() const
{
    CViewPort* view = GetViewPort();
    if (view == nullptr)
    {
        return {0, 0, 0, 0};
    }
    return FitInPane(*view, GetLabelTextRect(*view, GetStyle(), ToScreen(*view, GetPosition()),
                                             GetDisplayText()));
}

// A text placed beside a measurement near the pane's right or bottom edge
// would be cut off there: it moves left and up just enough to be read
// whole. A label whose measurement is out of sight is left where it is.
RECT ORoiTextLabel::FitInPane(CViewPort& view, RECT text) const
{
    const CRect& pane = view.GetDisplayRect();
    if (pane.IsRectEmpty() || !PointInRect(ToScreen(view, GetAnchor()), pane))
    {
        return text;
    }
    const LONG dx = std::max(std::min<LONG>(pane.right - text.right, 0), pane.left - text.left);
    const LONG dy = std::max(std::min<LONG>(pane.bottom - text.bottom, 0), pane.top - text.top);
    return {text.left + dx, text.top + dy, text.right + dx, text.bottom + dy};
}

void ORoiTextLabel::DrawShape(CDC* pDC, CViewPort& view)
{
    const POINT anchor = ToScreen(view, GetAnchor());
    const RECT text = GetScreenRect();
    // The point the text is drawn from: its left edge, centred on its height.
    const POINT position = IsRectEmpty(&text)
                               ? ToScreen(view, GetPosition())
                               : POINT{text.left, text.top + (text.bottom - text.top) / 2};
    if (!PointInRect(anchor, text) && PointDistance(anchor, position) > ConnectorMinimum)
    {
        view.DrawDotLine(pDC, anchor.x, anchor.y, position.x, position.y, GetDrawColor());
    }
    DrawLabelText(pDC, view, GetStyle(), position, GetDisplayText());
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
