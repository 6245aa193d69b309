// Stored measurements as an image carries them: documents written out by
// hand the way stored measurements read, and the private group 6001 that
// holds them one item each.
#pragma once

#include "DICOMImage.h"
#include "DICOMVRSet.h"
#include "WinTypes.h"

#include <string>
#include <vector>

// One item of the measurement sequence.
struct StoredMeasurement
{
    std::string type; // (6001,1040), "XML" for documents
    std::string tag;  // (6001,10B0)
    std::string document;
};

// The style block of a document's "<Context>".
inline std::string StyleBlock(int red, int green, int blue, int shadow)
{
    return "<Private>\r\n<Color R=\"" + std::to_string(red) + "\" G=\"" + std::to_string(green) +
           "\" B=\"" + std::to_string(blue) + "\" />\r\n<Shadow value=\"" + std::to_string(shadow) +
           "\" />\r\n</Private>\r\n";
}

inline std::string Frame(const std::string& value, const std::string& privateBody,
                         const std::string& internal, const std::string& style)
{
    std::string text = "<Measurement value=\"" + value + "\">\r\n";
    text += "<DocAttribute>\r\n<Version value=\"1.0\"/>\r\n";
    text += "<Created Date=\"20240117\" Time=\"101500\" />\r\n</DocAttribute>\r\n";
    text += "<Private>\r\n" + privateBody + "</Private>\r\n";
    text += internal;
    if (!style.empty())
    {
        text += "<Context>\r\n" + style + "</Context>\r\n";
    }
    return text + "</Measurement>\r\n";
}

inline std::string PointElement(const char* name, int x, int y)
{
    return std::string("<Point name=\"") + name + "\" X=\"" + std::to_string(x) + "\" Y=\"" +
           std::to_string(y) + "\" />\r\n";
}

inline std::string LineDocument(const char* value, POINT p1, POINT p2, const std::string& style)
{
    return Frame(value, PointElement("P1", p1.x, p1.y) + PointElement("P2", p2.x, p2.y), "", style);
}

inline std::string AngleDocument(POINT p1, POINT p2, POINT p3, const std::string& style)
{
    auto point = [](int index, POINT p)
    {
        return "<P" + std::to_string(index) + " X=\"" + std::to_string(p.x) + "\" Y=\"" +
               std::to_string(p.y) + "\" />\r\n";
    };
    return Frame("ORoiAngle", point(1, p1) + point(2, p2) + point(3, p3), "", style);
}

inline std::string CobbDocument(const POINT (&p)[4], const std::string& style)
{
    return Frame("COBB Angle",
                 PointElement("P1", p[0].x, p[0].y) + PointElement("P2", p[1].x, p[1].y) +
                     PointElement("P3", p[2].x, p[2].y) + PointElement("P4", p[3].x, p[3].y),
                 "", style);
}

// The measurement sequence of the image, one item per measurement.
inline void AddStoredMeasurements(DICOMImage& image, const std::vector<StoredMeasurement>& items)
{
    if (!items.empty())
    {
        image.Add(0x6001, 0x0010, "TAVUQELM");
    }
    for (const StoredMeasurement& stored : items)
    {
        DICOMVRSet item;
        item.Add(0x6001, 0x0010, "TAVUQELM");
        item.Add(0x6001, 0x1040, stored.type.c_str());
        item.Add(0x6001, 0x10B0, stored.tag.c_str());
        item.Add(0x6001, 0x10A2, stored.document.c_str());
        image.Add(0x6001, 0x10C0, item);
    }
}
