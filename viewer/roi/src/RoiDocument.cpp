#include "RoiDocument.h"

#include "DDateTime.h"
#include "DMarkup.h"
#include "QuillonLog.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace RoiDocument
{

Lettra Begin(const char* value)
{
    Lettra text;
    text.Format("<Measurement value=\"%s\">\r\n", EscapeAttribute(value).constBuffer());
    return text;
}

Lettra DocAttribute()
{
    const DDateTime now = DDateTime::GetTickCount();
    Lettra text("<DocAttribute>\r\n<Version value=\"1.0\"/>\r\n");
    text.AppendFormat("<Created Date=\"%s\" Time=\"%s\" />\r\n", now.FormatDate().constBuffer(),
                      now.FormatTime().constBuffer());
    text += "</DocAttribute>\r\n";
    return text;
}

Lettra Point(const char* name, POINT point)
{
    Lettra text;
    text.Format("<Point name=\"%s\" X=\"%d\" Y=\"%d\" />\r\n", name, int(point.x), int(point.y));
    return text;
}

Lettra Line(POINT begin, POINT end)
{
    Lettra text;
    text.Format(
        "<Line>\r\n<Begin X=\"%d\" Y=\"%d\" />\r\n<End   X=\"%d\" Y=\"%d\" />\r\n</Line>\r\n",
        int(begin.x), int(begin.y), int(end.x), int(end.y));
    return text;
}

Lettra TextLabel(POINT position, const char* text)
{
    Lettra element;
    element.Format("<TextLabel X=\"%d\" Y=\"%d\" Text=\"%s\" />\r\n", int(position.x),
                   int(position.y), EscapeAttribute(text).constBuffer());
    return element;
}

Lettra Context(const Lettra& style)
{
    return Lettra("<Context>\r\n") + style + "</Context>\r\n";
}

Lettra End()
{
    return Lettra("</Measurement>\r\n");
}

Lettra EscapeAttribute(const char* text)
{
    Lettra escaped;
    for (const char* ch = text != nullptr ? text : ""; *ch != 0; ++ch)
    {
        switch (*ch)
        {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += *ch;
            break;
        }
    }
    return escaped;
}

bool ParseInt(const char* text, int& value)
{
    if (text == nullptr)
    {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
    {
        return false;
    }
    while (*end == ' ' || *end == '\t')
    {
        ++end;
    }
    if (*end != 0)
    {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool ReadPoint(const DMarkup& document, POINT& point)
{
    int x = 0;
    int y = 0;
    const auto isInReach = [](int value)
    { return value >= -MaxCoordinate && value <= MaxCoordinate; };
    if (!ParseInt(document.GetAttrib("X"), x) || !ParseInt(document.GetAttrib("Y"), y) ||
        !isInReach(x) || !isInReach(y))
    {
        return false;
    }
    point = {x, y};
    return true;
}

bool OpenPrivate(DMarkup& document, const char* xml, const char* className)
{
    if (xml == nullptr || !document.SetDoc(xml))
    {
        quillon::_error("Enter %s::XmlDeserialize, not a document : %s", className,
                        document.GetError().constBuffer());
        return false;
    }
    if (!document.GotoPath("/Measurement/Private"))
    {
        quillon::_error("Enter %s::XmlDeserialize, cannot find /Measurement/Private", className);
        return false;
    }
    return true;
}

bool ReadPoints(DMarkup& document, POINT* points, int count, const char* className)
{
    for (int i = 0; i < count; ++i)
    {
        // The first child is where the path left the document.
        if ((i > 0 && !document.Next()) || document.GetTagName().IsEmpty())
        {
            quillon::_error(
                "Enter %s::XmlDeserialize, /Measurement/Private holds %d points, not %d", className,
                i, count);
            return false;
        }
        if (!ReadPoint(document, points[i]))
        {
            quillon::_error("Enter %s::XmlDeserialize, point %d has no integer X and Y within %d",
                            className, i + 1, MaxCoordinate);
            return false;
        }
    }
    return true;
}

Lettra GetContext(DMarkup& document)
{
    return document.GotoPath("/Measurement/Context") ? document.GetSubDoc() : Lettra();
}

} // namespace RoiDocument
