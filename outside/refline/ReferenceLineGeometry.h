// The geometry behind ReferenceLine: image planes in patient coordinates and
// the line where one cuts the other.
#pragma once

struct Vector3
{
    double x;
    double y;
    double z;
};

// One image: its pixel grid placed in patient coordinates.
struct ImagePlane
{
    int nColumns;
    int nRows;
    // Between the centres of neighbouring columns, and of neighbouring rows.
    double dColumnSpacing;
    double dRowSpacing;
    // Along a row (growing column index) and down a column.
    Vector3 rowDirection;
    Vector3 columnDirection;
    // The centre of the first pixel.
    Vector3 position;
};

// A line between two points of an image, in pixels (x a column, y a row).
struct PixelLine
{
    double x1;
    double y1;
    double x2;
    double y2;
};

// True when the image describes a plane: positive size and spacings, finite
// directions that are not parallel, a finite position.
bool IsValidPlane(const ImagePlane& plane);

// The ZephlinPlanesCross and ZephlinLineOnTarget bits for two valid planes;
// with the second, the line on each image (the same stretch of the line).
int CutTarget(const ImagePlane& source, const ImagePlane& target, PixelLine& onSource,
              PixelLine& onTarget);
