#include "RoiXMLUnknown.h"

#include "CViewPort.h"
#include "DMarkup.h"
#include "QuillonLog.h"
#include "RoiDocument.h"
#include "RoiGeometry.h"
#include "RoiLabelText.h"

IMPLEMENT_DYNAMIC(RoiXMLUnknown, ORoi)

namespace
{

// A "<Line>" element's "<Begin>" and "<End>" points; the document is left
// on the line.
bool ReadLine(DMarkup& document, POINT& begin, POINT& end)
{
    if (!document.IntoElem())
    {
        return false;
    }
    const bool read = document.FindElem("Begin") && RoiDocument::ReadPoint(document, begin) &&
                      document.FindElem("End") && RoiDocument::ReadPoint(document, end);
    document.OutOfElem();
    return read;
}

} // namespace

RoiXMLUnknown::RoiXMLUnknown(ImageShow* owner, const Lettra& classTag, const Lettra& document)
    : ORoi(TypeId, owner), m_strTag(classTag), m_strDocument(document)
{
}

const char* RoiXMLUnknown::GetClassTag() const
{
    return m_strTag;
}

ORoi* RoiXMLUnknown::Clone(ImageShow* owner) const
{
    auto* unknown = new RoiXMLUnknown(owner, m_strTag, m_strDocument);
    unknown->m_Points = m_Points;
    unknown->m_nLines = m_nLines;
    unknown->m_Texts = m_Texts;
    CopyAttributes(*unknown);
    return unknown;
}

int RoiXMLUnknown::GetHandlePoints(POINT*, int) const
{
    return 0;
}

POINT* RoiXMLUnknown::GetPoints(int& count)
{
    count = static_cast<int>(m_Points.size());
    return m_Points.data();
}

void RoiXMLUnknown::GetLine(int index, POINT& begin, POINT& end) const
{
    begin = m_Points[static_cast<std::size_t>(2 * index)];
    end = m_Points[static_cast<std::size_t>(2 * index + 1)];
}

POINT RoiXMLUnknown::GetTextPosition(int index) const
{
    return m_Points[static_cast<std::size_t>(2 * m_nLines + index)];
}

void RoiXMLUnknown::DrawShape(CDC* pDC, CViewPort& view)
{
    for (int i = 0; i < m_nLines; ++i)
    {
        POINT begin;
        POINT end;
        GetLine(i, begin, end);
        DrawStyledLine(pDC, view, ToScreen(view, begin), ToScreen(view, end));
    }
    for (int i = 0; i < GetTextCount(); ++i)
    {
        const POINT position = ToScreen(view, GetTextPosition(i));
        DrawLabelText(pDC, view, GetStyle(), position, GetText(i));
    }
}

int RoiXMLUnknown::GetHitSegments(POINT* ends, int capacity) const
{
    const int count = std::min(2 * m_nLines, capacity);
    std::copy(m_Points.begin(), m_Points.begin() + count, ends);
    return count;
}

int RoiXMLUnknown::HitTest(int x, int y, int tolerance, int flags)
{
    const int code = ORoi::HitTest(x, y, tolerance, flags);
    CViewPort* view = GetViewPort();
    if (code != enHitNone || view == nullptr || !IsHitEnabled() || !IsShown())
    {
        return code;
    }
    for (int i = 0; i < GetTextCount(); ++i)
    {
        const RECT rect =
            GetLabelTextRect(*view, GetStyle(), ToScreen(*view, GetTextPosition(i)), GetText(i));
        if (PointInRect({x, y}, rect))
        {
            return enHitBody;
        }
    }
    return enHitNone;
}

Lettra RoiXMLUnknown::XmlSerialize() const
{
    return m_strDocument;
}

bool RoiXMLUnknown::XmlDeserialize(const Lettra& xml)
{
    DMarkup document;
    if (!RoiDocument::OpenPrivate(document, xml, "RoiXMLUnknown"))
    {
        return false;
    }
    std::vector<POINT> lines;
    std::vector<POINT> positions;
    std::vector<Lettra> texts;
    if (document.GotoPath("/Measurement/Internal"))
    {
        for (bool more = !document.GetTagName().IsEmpty(); more; more = document.Next())
        {
            const Lettra tag = document.GetTagName();
            POINT begin;
            POINT end;
            if (tag == "Line" && ReadLine(document, begin, end))
            {
                lines.insert(lines.end(), {begin, end});
            }
            else if (tag == "TextLabel" && RoiDocument::ReadPoint(document, begin))
            {
                positions.push_back(begin);
                texts.push_back(document.GetAttrib("Text"));
            }
            else if (tag == "Line" || tag == "TextLabel")
            {
                quillon::_error("Enter RoiXMLUnknown::XmlDeserialize, a <%s> of %s has no points",
                                tag.constBuffer(), m_strTag.constBuffer());
                return false;
            }
        }
    }
    m_nLines = static_cast<int>(lines.size() / 2);
    m_Points = lines;
    m_Points.insert(m_Points.end(), positions.begin(), positions.end());
    m_Texts = texts;
    PointsChanged();
    XmlDeserializeContext(RoiDocument::GetContext(document));
    return true;
}
