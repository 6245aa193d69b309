// The test generator of stored measurements: images whose private group
// 6001 holds measurement documents, written as DICOM files, and the
// documents themselves written out by hand the way stored measurements read.
#pragma once

#include "model/ImageShowTestSupport.h"

#include "ImageShow.h"
#include "ORoi.h"
#include "ORoiTextLabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Sets the default label offset for one test.
class ScopedLabelOffset
{
public:
    explicit ScopedLabelOffset(int pixels) : m_nBefore(ORoiTextLabel::GetDefaultOffset())
    {
        ORoiTextLabel::SetDefaultOffset(pixels);
    }
    ~ScopedLabelOffset() { ORoiTextLabel::SetDefaultOffset(m_nBefore); }

private:
    int m_nBefore;
};

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

// An image of rows x columns grey pixels with the pixel spacing and the
// measurement sequence, written as a Part 10 file; the path.
inline std::string WriteMeasuredImage(const std::string& name,
                                      const std::vector<StoredMeasurement>& items, int rows = 64,
                                      int columns = 80, const char* spacing = "0.5\\0.5")
{
    DICOMImage* image = MakeImage(rows, columns, 8, "MONOCHROME2",
                                  std::vector<std::uint8_t>(std::size_t(rows) * columns, 90));
    if (spacing != nullptr)
    {
        image->Add(0x0028, 0x0030, spacing);
    }
    if (!items.empty())
    {
        image->Add(0x6001, 0x0010, "TAVUQELM");
    }
    for (const StoredMeasurement& stored : items)
    {
        DICOMVRSet item;
        item.Add(0x6001, 0x0010, "TAVUQELM");
        item.Add(0x6001, 0x1040, stored.type.c_str());
        item.Add(0x6001, 0x10B0, stored.tag.c_str());
        item.Add(0x6001, 0x10A2, stored.document.c_str());
        image->Add(0x6001, 0x10C0, item);
    }
    image->BuildMetaHead();
    const std::string path = ::testing::TempDir() + name;
    EXPECT_NE(image->WriteFile(path.c_str(), 1), 0) << path;
    delete image;
    return path;
}

// The image of the file, decoded (its stored measurements loaded).
inline ImageShow* LoadMeasuredImage(const std::string& path)
{
    Corvane holder;
    EXPECT_TRUE(holder.LoadDicomFile(path.c_str())) << path;
    auto* show = new ImageShow;
    show->AttachCorvane(holder, 0);
    show->BuildFullViewDIB();
    return show;
}

// The handle points of an annotation, and points as "(x,y)(x,y)".
inline std::vector<POINT> HandlePoints(const ORoi& roi)
{
    POINT points[8];
    const int count = roi.GetHandlePoints(points, 8);
    return std::vector<POINT>(points, points + count);
}

inline std::string Text(const std::vector<POINT>& points)
{
    std::string text;
    for (const POINT& point : points)
    {
        text += "(" + std::to_string(point.x) + "," + std::to_string(point.y) + ")";
    }
    return text;
}

inline std::vector<ORoi*> Annotations(const ImageShow& show)
{
    std::vector<ORoi*> rois;
    for (auto* node = show.GetAnnotations().GetHead(); node != nullptr; node = node->next)
    {
        rois.push_back(node->item.get());
    }
    return rois;
}
