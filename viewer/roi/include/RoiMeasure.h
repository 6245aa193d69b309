// The texts and units of measurement labels.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"

class ImageShow;

// Millimetres per pixel along the image's present x and y axes.
struct SpacingXY
{
    double x = 0.0;
    double y = 0.0;

    bool IsKnown() const { return x > 0.0 && y > 0.0; }
};

// The image's pixel spacing, swapped while it stands turned by an odd
// number of quarter turns; unknown without an image or spacing.
QUILLON_API SpacingXY GetImageSpacing(const ImageShow* image);

// A value as a label shows it: "%5.1f".
QUILLON_API Lettra FormatMeasure(double value);
// The measurement text of a value: "%5.1f " followed by two blanks.
QUILLON_API Lettra MeasureText(double value);
// Appends the two blanks that end a measurement text.
QUILLON_API void AppendTwoSpaces(Lettra& text);
