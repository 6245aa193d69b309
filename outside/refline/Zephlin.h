// The reference-line library "Zephlin": where the plane of one image (the
// source) cuts another image (the target), as a line in the target's
// pixels. A viewer draws it on the target to show where the source lies.
//
// Each image is given by its size and its DICOM geometry: the pixel spacing
// with its second value first (the distance between columns, then the
// distance between rows), Image Orientation (Patient) as six values (the
// direction along a row, then the direction down a column) and Image
// Position (Patient) as three (the centre of the first pixel). A pixel
// (column c, row r) lies at position + c * spacing2 * row direction +
// r * spacing1 * column direction.
//
// The line is the part of the source image's plane that lies within both
// images, between the centres of their outermost pixels.
#pragma once

#include "ZephlinExport.h"

// Bits of the result.
enum
{
    // The planes cut each other: they are not parallel.
    ZephlinPlanesCross = 1,
    // The line crosses the target image; the buffers hold it.
    ZephlinLineOnTarget = 2,
};

// Returns the bit set above; 0 as well for an image that describes no plane
// (a size or spacing that is not positive, direction values that are not
// finite or do not span a plane) or a null buffer2.
// With ZephlinLineOnTarget set, buffer2 holds the line in target pixels as
// y1, x1, y2, x2 (each rounded to the nearest pixel), its first end the left
// one (the upper one of a vertical line), so that a label put just past the
// first end lies along the line; buffer1, when not null, holds the same line
// in source pixels, its ends in the same order. Otherwise neither buffer is
// written.
extern "C" ZEPHLIN_API int
ReferenceLine(int columns, int rows, double spacing2, double spacing1, double rowX, double rowY,
              double rowZ, double columnX, double columnY, double columnZ, double positionX,
              double positionY, double positionZ, int columns2, int rows2, double targetSpacing2,
              double targetSpacing1, double targetRowX, double targetRowY, double targetRowZ,
              double targetColumnX, double targetColumnY, double targetColumnZ,
              double targetPositionX, double targetPositionY, double targetPositionZ, int* buffer1,
              int* buffer2);
