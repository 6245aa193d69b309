#include "ORoi.h"

#include "DMarkup.h"
#include "ImageShow.h"
#include "ORoiTextLabel.h"
#include "RoiDocument.h"
#include "RoiGeometry.h"
#include "TextLabelHolder.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(Overlay, CObject)
IMPLEMENT_DYNAMIC(ORoi, Overlay)

namespace
{

int s_nLastSerialNumber = 0;
std::uint8_t s_bSnapDefault = 1;
constexpr double SnapDistance = 16.0;

int QuarterTurns(int quarterTurns)
{
    return ((quarterTurns % 4) + 4) % 4;
}

} // namespace

RECT RotateRect(const RECT& rect, SIZE before, int quarterTurns)
{
    RECT turned = rect;
    SIZE size = before;
    for (int turn = QuarterTurns(quarterTurns); turn > 0; --turn)
    {
        // One turn counter-clockwise: (x, y) goes to (y, width - x).
        turned = {turned.top, size.cx - turned.right, turned.bottom, size.cx - turned.left};
        std::swap(size.cx, size.cy);
    }
    return turned;
}

POINT RotatePoint(POINT point, SIZE before, int quarterTurns)
{
    SIZE size = before;
    for (int turn = QuarterTurns(quarterTurns); turn > 0; --turn)
    {
        point = {point.y, size.cx - point.x};
        std::swap(size.cx, size.cy);
    }
    return point;
}

Overlay::Overlay(int typeId, ImageShow* owner)
    : m_nTypeId(typeId), m_pStyle(std::make_unique<RoiFont>()), m_pOwner(owner),
      m_bSnap(s_bSnapDefault), m_nSerialNumber(++s_nLastSerialNumber)
{
    m_EventDestroying.SetTrace(false);
    m_EventShown.SetTrace(false);
    m_EventSelected.SetTrace(false);
    m_EventDeselected.SetTrace(false);
}

Overlay::~Overlay()
{
    ResetState();
    m_EventDestroying.Invoke(this, nullptr);
}

void Overlay::SetSnapDefault(bool on)
{
    s_bSnapDefault = on ? 1 : 0;
}

const char* Overlay::GetCategoryName() const
{
    return "GENERAL";
}

std::int32_t Overlay::GetCategoryId() const
{
    return 0x474E524C; // 'GNRL'
}

const char* Overlay::GetCategoryText() const
{
    return "ROI";
}

int Overlay::IndexResult(int first, int)
{
    return first != 0 ? 0 : -1;
}

void Overlay::OnNotify(int) {}

void Overlay::SetTransform(const float (&transform)[6])
{
    std::copy(std::begin(transform), std::end(transform), std::begin(m_Transform));
}

void Overlay::ResetTransform()
{
    SetTransform({1.0F, 0.0F, 0.0F, 1.0F, 0.0F, 0.0F});
}

void Overlay::MultiplyTransform(const float (&m)[6])
{
    const double t[6] = {m_Transform[0], m_Transform[1], m_Transform[2],
                         m_Transform[3], m_Transform[4], m_Transform[5]};
    const double product[6] = {t[0] * m[0] + t[1] * m[2],        t[0] * m[1] + t[1] * m[3],
                               t[2] * m[0] + t[3] * m[2],        t[2] * m[1] + t[3] * m[3],
                               t[4] * m[0] + t[5] * m[2] + m[4], t[4] * m[1] + t[5] * m[3] + m[5]};
    for (int i = 0; i < 6; ++i)
    {
        m_Transform[i] = static_cast<float>(product[i]);
    }
}

const char* Overlay::GetClassTag() const
{
    return GetRuntimeClass()->m_lpszClassName;
}

const char* Overlay::GetDisplayName() const
{
    return GetClassTag();
}

void Overlay::GetRect(RECT* out) const
{
    if (out != nullptr)
    {
        *out = m_Rect;
    }
}

void Overlay::SetRect(const RECT& rect)
{
    m_Rect = rect;
}

bool Overlay::IsEqual(const Overlay& other) const
{
    RECT rect;
    other.GetRect(&rect);
    return other.m_nTypeId == m_nTypeId && EqualRect(&rect, &m_Rect);
}

bool Overlay::CanRemove() const
{
    return true;
}

bool Overlay::GetScreenRegion(CRgn*) const
{
    return false;
}

void Overlay::SetStyleFrom(const RoiFont& style)
{
    *m_pStyle = style;
}

void Overlay::SetShown(bool shown)
{
    const std::uint8_t value = shown ? 1 : 0;
    if (value != m_bShown)
    {
        m_bShown = value;
        m_EventShown.Invoke(this, nullptr);
    }
}

void Overlay::CopyAttributes(Overlay& target) const
{
    target.m_bHitEnabled = m_bHitEnabled;
    target.SetShown(IsShown());
    target.m_bRefLine = m_bRefLine;
    target.m_bNoHandles = m_bNoHandles;
    target.m_bLocked = m_bLocked;
    target.m_bFlagA = m_bFlagA;
    target.m_bFlagE = m_bFlagE;
    target.m_bFlagF = m_bFlagF;
    target.m_bSnap = m_bSnap;
    target.m_Rect = m_Rect;
    target.SetStyleFrom(*m_pStyle);
}

ORoi::ORoi(int typeId, ImageShow* owner) : Overlay(typeId, owner)
{
    m_EventRecalc.SetTrace(false);
}

ORoi::~ORoi() = default;

bool ORoi::SnapPoint(POINT* point) const
{
    int index = -1;
    return SnapPoint(point, &index);
}

bool ORoi::SnapPoint(POINT* point, int* index) const
{
    return SnapToOther(*this, point, index);
}

bool ORoi::SnapToOther(const ORoi& other, POINT* point) const
{
    int index = -1;
    return SnapToOther(other, point, &index);
}

bool ORoi::SnapToOther(const ORoi& other, POINT* point, int* index) const
{
    if (!IsSnapEnabled() || point == nullptr)
    {
        return false;
    }
    POINT handles[64];
    const int count = std::min(other.GetHandlePoints(handles, 64), 64);
    for (int i = 0; i < count; ++i)
    {
        if (std::hypot(double(handles[i].x - point->x), double(handles[i].y - point->y)) <
            SnapDistance)
        {
            *point = handles[i];
            if (index != nullptr)
            {
                *index = i;
            }
            return true;
        }
    }
    return false;
}

POINT* ORoi::GetPoints(int& count)
{
    count = 0;
    return nullptr;
}

const POINT* ORoi::GetPoints(int& count) const
{
    return const_cast<ORoi*>(this)->GetPoints(count);
}

void ORoi::PointsChanged()
{
    int count = 0;
    const POINT* points = GetPoints(count);
    if (count > 0)
    {
        SetRect(BoundingRect(points, count));
    }
}

void ORoi::CopyGeometry(const ORoi& other)
{
    other.GetRect(&m_Rect);
    int count = 0;
    POINT* points = GetPoints(count);
    int otherCount = 0;
    const POINT* otherPoints = other.GetPoints(otherCount);
    if (count > 0 && count == otherCount)
    {
        std::copy(otherPoints, otherPoints + count, points);
    }
    TextLabelHolder* holder = GetLabelHolder();
    const TextLabelHolder* source = other.GetLabelHolder();
    if (holder != nullptr && source != nullptr)
    {
        holder->CopyFrom(*source, m_pOwner);
    }
}

bool ORoi::IsEqual(const Overlay& other) const
{
    const auto* roi = dynamic_cast<const ORoi*>(&other);
    if (roi == nullptr || !Overlay::IsEqual(other))
    {
        return false;
    }
    int count = 0;
    const POINT* points = GetPoints(count);
    int otherCount = 0;
    const POINT* otherPoints = roi->GetPoints(otherCount);
    return count == otherCount &&
           std::equal(points, points + count, otherPoints,
                      [](POINT a, POINT b) { return a.x == b.x && a.y == b.y; });
}

SIZE ORoi::GetImageSize() const
{
    return m_pOwner != nullptr ? m_pOwner->GetShownImageSize() : SIZE{0, 0};
}

POINT ORoi::MirrorVertical(POINT point) const
{
    if (m_pOwner == nullptr)
    {
        return {-1, -1};
    }
    return {point.x, GetImageSize().cy - point.y};
}

POINT ORoi::MirrorHorizontal(POINT point) const
{
    if (m_pOwner == nullptr)
    {
        return {-1, -1};
    }
    return {GetImageSize().cx - point.x, point.y};
}

// The owner's image size before the turn: its matrix has turned already.
SIZE ORoi::GetSizeBeforeTurn(int quarterTurns) const
{
    SIZE before = GetImageSize();
    if (QuarterTurns(quarterTurns) % 2 == 1)
    {
        std::swap(before.cx, before.cy);
    }
    return before;
}

POINT ORoi::Turn(POINT point, int quarterTurns) const
{
    if (m_pOwner == nullptr)
    {
        return {-1, -1};
    }
    return RotatePoint(point, GetSizeBeforeTurn(quarterTurns), quarterTurns);
}

template <class PointMap, class RectMap> void ORoi::Transform(PointMap map, RectMap mapRect)
{
    int count = 0;
    POINT* points = GetPoints(count);
    if (count == 0)
    {
        m_Rect = mapRect(m_Rect);
        return;
    }
    for (int i = 0; i < count; ++i)
    {
        points[i] = map(points[i]);
    }
    PointsChanged();
    Update();
}

void ORoi::FlipVertical()
{
    if (TextLabelHolder* holder = GetLabelHolder(); holder != nullptr)
    {
        holder->FlipVertical();
    }
    const LONG height = GetImageSize().cy;
    Transform([this](POINT point) { return MirrorVertical(point); },
              [height](RECT rect) {
                  return RECT{rect.left, height - rect.bottom, rect.right, height - rect.top};
              });
}

void ORoi::FlipHorizontal()
{
    if (TextLabelHolder* holder = GetLabelHolder(); holder != nullptr)
    {
        holder->FlipHorizontal();
    }
    const LONG width = GetImageSize().cx;
    Transform([this](POINT point) { return MirrorHorizontal(point); },
              [width](RECT rect) {
                  return RECT{width - rect.right, rect.top, width - rect.left, rect.bottom};
              });
}

void ORoi::Rotate(int quarterTurns)
{
    if (TextLabelHolder* holder = GetLabelHolder(); holder != nullptr)
    {
        holder->Rotate(quarterTurns);
    }
    const SIZE before = GetSizeBeforeTurn(quarterTurns);
    Transform([this, quarterTurns](POINT point) { return Turn(point, quarterTurns); },
              [before, quarterTurns](RECT rect) { return RotateRect(rect, before, quarterTurns); });
}

void ORoi::Offset(int dx, int dy)
{
    if (TextLabelHolder* holder = GetLabelHolder(); holder != nullptr)
    {
        holder->Offset(dx, dy);
    }
    Transform(
        [dx, dy](POINT point) {
            return POINT{point.x + dx, point.y + dy};
        },
        [dx, dy](RECT rect)
        {
            OffsetRect(&rect, dx, dy);
            return rect;
        });
}

bool ORoi::IsMeasurement() const
{
    return true;
}

void ORoi::Recalc()
{
    ClearModified();
    m_EventRecalc.Invoke(this, nullptr);
}

void ORoi::UpdateLabel() {}

void ORoi::Update()
{
    Recalc();
    UpdateLabel();
}

Lettra ORoi::GetMeasureText() const
{
    return Lettra();
}

TextLabelHolder* ORoi::GetLabelHolder() const
{
    return nullptr;
}

ORoiTextLabel* ORoi::GetLinkedLabel() const
{
    const TextLabelHolder* holder = GetLabelHolder();
    return holder != nullptr ? holder->GetLabel() : nullptr;
}

POINT ORoi::GetLabelAnchor() const
{
    return {m_Rect.right, m_Rect.bottom};
}

void ORoi::WriteLabel(const Lettra& number, const char* unit)
{
    ORoiTextLabel* label = GetLinkedLabel();
    if (label != nullptr)
    {
        label->SetValue(GetMeasureText());
        label->SetText(number);
        label->SetUnit(unit);
        label->SetAnchor(GetLabelAnchor());
    }
}

void ORoi::PlaceLabel()
{
    if (TextLabelHolder* holder = GetLabelHolder(); holder != nullptr)
    {
        holder->PlaceAt(GetLabelAnchor(), m_pOwner, GetStyle());
    }
}

int ORoi::GetHandlePoints(POINT* out, int capacity) const
{
    int count = 0;
    const POINT* points = GetPoints(count);
    const int copied = out != nullptr ? std::min(count, capacity) : 0;
    std::copy(points, points + copied, out);
    return copied;
}

bool ORoi::SetHandlePoint(int index, POINT point)
{
    int count = 0;
    POINT* points = GetPoints(count);
    if (index < 0 || index >= count)
    {
        return false;
    }
    points[index] = point;
    PointsChanged();
    Update();
    return true;
}

bool ORoi::ReadPrivatePoints(const Lettra& xml)
{
    int count = 0;
    POINT* points = GetPoints(count);
    DMarkup document;
    std::vector<POINT> read(static_cast<std::size_t>(count));
    if (!RoiDocument::OpenPrivate(document, xml, GetClassTag()) ||
        !RoiDocument::ReadPoints(document, read.data(), count, GetClassTag()))
    {
        return false;
    }
    std::copy(read.begin(), read.end(), points);
    PointsChanged();
    XmlDeserializeContext(RoiDocument::GetContext(document));
    return true;
}

bool ORoi::OnCommand(int command)
{
    switch (command)
    {
    case enCmdToTail:
    case enCmdTowardTail:
    case enCmdTowardHead:
    case enCmdToHead:
        return MoveInOwnerList(command);
    case enCmdLockOn:
    case enCmdLockOff:
    case enCmdLockToggle:
        SetLocked(command == enCmdLockOn || (command == enCmdLockToggle && !IsLocked()));
        return true;
    case enCmdShowOn:
    case enCmdShowOff:
    case enCmdShowToggle:
        SetShown(command == enCmdShowOn || (command == enCmdShowToggle && !IsShown()));
        return true;
    case enCmdLabelOn:
    case enCmdLabelOff:
    case enCmdLabelToggle:
        if (TextLabelHolder* holder = GetLabelHolder(); holder != nullptr)
        {
            holder->SetShown(command == enCmdLabelOn ||
                             (command == enCmdLabelToggle && !holder->IsShown()));
        }
        return true;
    default:
        return false;
    }
}

bool ORoi::MoveInOwnerList(int command)
{
    const int index = m_pOwner != nullptr ? m_pOwner->IndexOfAnnotation(this) : -1;
    if (index < 0)
    {
        return false;
    }
    const int last = m_pOwner->GetAnnotations().GetCount() - 1;
    const int to = command == enCmdToTail       ? last
                   : command == enCmdTowardTail ? index + 1
                   : command == enCmdTowardHead ? index - 1
                                                : 0;
    return m_pOwner->MoveAnnotation(index, to);
}

const char* ORoi::GetMeasurementName() const
{
    return GetDisplayName();
}

Lettra ORoi::XmlSerializePrivate() const
{
    return Lettra("<Private>\r\n</Private>\r\n");
}

Lettra ORoi::XmlSerialize() const
{
    return RoiDocument::Begin(GetMeasurementName()) + RoiDocument::DocAttribute() +
           XmlSerializePrivate() + XmlSerializeInternal() +
           RoiDocument::Context(XmlSerializeContext()) + RoiDocument::End();
}

bool ORoi::XmlDeserialize(const Lettra&)
{
    return false;
}

Lettra ORoi::XmlSerializePrimitives() const
{
    return Lettra();
}

Lettra ORoi::XmlSerializeInternal() const
{
    if (!IsShown())
    {
        return Lettra();
    }
    Lettra primitives = XmlSerializePrimitives();
    if (const TextLabelHolder* holder = GetLabelHolder(); holder != nullptr)
    {
        primitives += holder->XmlSerializeInternal();
    }
    return primitives.IsEmpty() ? primitives
                                : Lettra("<Internal>\r\n") + primitives + "</Internal>\r\n";
}

Lettra ORoi::XmlSerializeContext() const
{
    return m_pStyle != nullptr ? m_pStyle->XmlSerialize() : Lettra();
}

void ORoi::XmlDeserializeContext(const Lettra& xml)
{
    if (m_pStyle != nullptr && !xml.IsEmpty())
    {
        m_pStyle->XmlDeserialize(xml);
    }
}
