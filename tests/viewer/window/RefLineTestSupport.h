// Helpers of the reference-line tests: images of a given plane held in
// memory (a pattern of 16-bit pixels and the geometry, identifiers and
// instance number of the data set), and views of reference-line panes
// showing them.
#pragma once

#include "ImageViewTestSupport.h"
#include "ORoiRefLine.h"
#include "PlaneIntersection.h"
#include "RefLine.h"
#include "RefLineImageView.h"
#include "RefLineMedImage.h"

#include <cmath>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

struct PlaneImageSpec
{
    DicomGeometry geometry;
    int instance = 1;
    std::string study = "1.2.826.0.1.3680043.2.1125.37.1";
    std::string frame = "1.2.826.0.1.3680043.2.1125.37.2";
    std::string series = "1.2.826.0.1.3680043.2.1125.37.3";
    // Stored as Pixel Spacing unless given here.
    std::string pixelSpacing;
    std::string imagerSpacing;
};

inline std::string Decimals(std::initializer_list<double> values)
{
    std::ostringstream text;
    text.precision(10);
    const char* separator = "";
    for (double value : values)
    {
        text << separator << value;
        separator = "\\";
    }
    return text.str();
}

// Rings around the middle on a ramp, so that the pictures show the plane.
inline std::vector<std::uint8_t> PatternPixels(int columns, int rows)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(columns) * rows * 2);
    for (int y = 0; y < rows; ++y)
    {
        for (int x = 0; x < columns; ++x)
        {
            const double r = std::hypot(x - columns / 2.0, y - rows / 2.0);
            const int value = 200 + (x + y) % 256 + (static_cast<int>(r) % 24 < 3 ? 600 : 0);
            bytes.push_back(static_cast<std::uint8_t>(value));
            bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        }
    }
    return bytes;
}

inline DICOMImage* MakePlaneImage(const PlaneImageSpec& spec)
{
    const DicomGeometry& g = spec.geometry;
    auto* image = new DICOMImage;
    image->SetTransferSyntax(UidTransferLittleEndianExplicit);
    image->Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.4"));
    const std::string sop = spec.series + "." + std::to_string(spec.instance);
    image->Add(0x0008, 0x0018, UID(sop.c_str()));
    image->Add(0x0008, 0x0060, "MR");
    image->Add(0x0010, 0x0010, "Doe^Jane");
    image->Add(0x0020, 0x000D, UID(spec.study.c_str()));
    image->Add(0x0020, 0x000E, UID(spec.series.c_str()));
    image->Add(0x0020, 0x0013, std::to_string(spec.instance).c_str());
    if (!spec.frame.empty())
    {
        image->Add(0x0020, 0x0052, UID(spec.frame.c_str()));
    }
    image->Add(0x0020, 0x0032, Decimals({g.position.x, g.position.y, g.position.z}).c_str());
    image->Add(0x0020, 0x0037,
               Decimals({g.rowDirection.x, g.rowDirection.y, g.rowDirection.z, g.columnDirection.x,
                         g.columnDirection.y, g.columnDirection.z})
                   .c_str());
    const std::string spacing =
        !spec.pixelSpacing.empty() ? spec.pixelSpacing : Decimals({g.rowSpacing, g.columnSpacing});
    image->Add(0x0028, 0x0030, spacing.c_str());
    if (!spec.imagerSpacing.empty())
    {
        image->Add(0x0018, 0x1164, spec.imagerSpacing.c_str());
    }
    image->Add(0x0028, 0x0002, static_cast<unsigned short>(1));
    image->Add(0x0028, 0x0004, "MONOCHROME2");
    image->Add(0x0028, 0x0010, static_cast<unsigned short>(g.rows));
    image->Add(0x0028, 0x0011, static_cast<unsigned short>(g.columns));
    image->Add(0x0028, 0x0100, static_cast<unsigned short>(16));
    image->Add(0x0028, 0x0101, static_cast<unsigned short>(12));
    image->Add(0x0028, 0x0102, static_cast<unsigned short>(11));
    image->Add(0x0028, 0x0103, static_cast<unsigned short>(0));
    image->Add(0x0028, 0x1050, "700");
    image->Add(0x0028, 0x1051, "1000");
    const std::vector<std::uint8_t> pixels = PatternPixels(g.columns, g.rows);
    image->Add(0x7FE0, 0x0010);
    auto* buffer = new std::uint8_t[pixels.size()];
    std::memcpy(buffer, pixels.data(), pixels.size());
    image->GetVR(0x7FE0, 0x0010)->Attach(buffer, static_cast<unsigned>(pixels.size()));
    return image;
}

inline std::unique_ptr<ImageShow> MakePlaneShow(DICOMImage* image)
{
    auto show = std::make_unique<ImageShow>();
    show->AttachCorvane(Corvane(image), 0);
    return show;
}

// The reference lines a pane holds.
inline std::vector<ORoiRefLine*> LinesOf(MedImage* pane)
{
    std::vector<ORoiRefLine*> lines;
    if (auto* refPane = dynamic_cast<RefLineMedImage*>(pane))
    {
        for (auto* node = refPane->GetRefLines().GetHead(); node != nullptr; node = node->next)
        {
            lines.push_back(node->item);
        }
    }
    return lines;
}

inline bool WithinHalfPixel(const PixelPoint& expected, POINT actual)
{
    return std::fabs(expected.x - actual.x) <= 0.5 + 1e-6 &&
           std::fabs(expected.y - actual.y) <= 0.5 + 1e-6;
}

// The line's ends are the expected ones, in either order.
inline bool SameEnds(const ORoiRefLine& line, const ExpectedLine& expected)
{
    return (WithinHalfPixel(expected.first, line.GetP1()) &&
            WithinHalfPixel(expected.second, line.GetP2())) ||
           (WithinHalfPixel(expected.second, line.GetP1()) &&
            WithinHalfPixel(expected.first, line.GetP2()));
}

inline std::string Describe(const ORoiRefLine& line)
{
    return "(" + std::to_string(line.GetP1().x) + ", " + std::to_string(line.GetP1().y) + ") - (" +
           std::to_string(line.GetP2().x) + ", " + std::to_string(line.GetP2().y) + ")";
}

inline std::string Describe(const ExpectedLine& line)
{
    return "(" + std::to_string(line.first.x) + ", " + std::to_string(line.first.y) + ") - (" +
           std::to_string(line.second.x) + ", " + std::to_string(line.second.y) + ")";
}

// Views of reference-line panes in the host, with the images they show
// held by the test.
class RefLineViewTest : public ImageViewTest
{
protected:
    RefLineImageView* MakeRefLineView(const char* format, const CRect& rect)
    {
        auto* view = MakeView<RefLineImageView>(rect);
        view->ApplyLayout(format);
        return view;
    }

    ImageShow* Keep(std::unique_ptr<ImageShow> show)
    {
        m_shows.push_back(std::move(show));
        return m_shows.back().get();
    }

    ImageShow* ShowOnPane(RefLineImageView* view, int pane, const PlaneImageSpec& spec)
    {
        ImageShow* show = Keep(MakePlaneShow(MakePlaneImage(spec)));
        EXPECT_NE(view->AttachShowToPane(pane, show), nullptr);
        return show;
    }

    // The panes go before the images they show.
    void TearDown() override
    {
        DestroyHost();
        m_shows.clear();
        ImageViewTest::TearDown();
    }

    std::vector<std::unique_ptr<ImageShow>> m_shows;
};
