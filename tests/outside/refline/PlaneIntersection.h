// The reference line worked out the plain way, straight from the DICOM
// geometry: a pixel (column c, row r) of an image lies at Image Position +
// c * column spacing * row direction + r * row spacing * column direction,
// where Pixel Spacing gives the row spacing first. The source image's
// rectangle of pixel centres is cut with the target's plane edge by edge,
// the cut is carried into the target's pixels, and what of it lies inside
// the target's rectangle, found by cutting that rectangle with the source's
// plane the same way, is the line.
#pragma once

#include <array>
#include <optional>
#include <string>

class DICOMFile;

struct Point3
{
    double x, y, z;
};

struct DicomGeometry
{
    int columns;
    int rows;
    // Pixel Spacing as stored: between rows, then between columns.
    double rowSpacing;
    double columnSpacing;
    // Image Orientation (Patient): along a row, then down a column.
    Point3 rowDirection;
    Point3 columnDirection;
    // Image Position (Patient).
    Point3 position;
};

struct PixelPoint
{
    double x, y;
};

struct ExpectedLine
{
    PixelPoint first;
    PixelPoint second;
};

// The line of the source on the target; none when the planes are parallel
// or the cut misses either image.
std::optional<ExpectedLine> IntersectPlanes(const DicomGeometry& source,
                                            const DicomGeometry& target);

// The geometry of a DICOM image as its data set stores it; false when
// orientation, position or pixel spacing is incomplete.
bool ReadDicomGeometry(const DICOMFile& file, DicomGeometry& geometry);

// The cosine of the angle between the two image planes' normals.
double NormalCosine(const DicomGeometry& a, const DicomGeometry& b);
