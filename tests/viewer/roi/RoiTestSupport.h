// The test generator of stored measurements: images whose private group
// 6001 holds measurement documents (MeasurementDocuments.h), written as
// DICOM files.
#pragma once

#include "MeasurementDocuments.h"
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
    AddStoredMeasurements(*image, items);
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
