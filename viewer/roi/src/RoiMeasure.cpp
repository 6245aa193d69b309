#include "RoiMeasure.h"

#include "ImageShow.h"

#include <utility>

SpacingXY GetImageSpacing(const ImageShow* image)
{
    SpacingXY spacing;
    if (image == nullptr)
    {
        return spacing;
    }
    spacing.x = image->GetPixelSpacingX();
    spacing.y = image->GetPixelSpacingY();
    int turns = 0;
    for (const char* letter = image->GetHVR(); *letter != 0; ++letter)
    {
        turns += *letter == 'R' ? 1 : 0;
    }
    if (turns % 2 == 1)
    {
        std::swap(spacing.x, spacing.y);
    }
    return spacing;
}

Lettra FormatMeasure(double value)
{
    Lettra text;
    text.Format("%5.1f", value);
    return text;
}

Lettra MeasureText(double value)
{
    Lettra text = FormatMeasure(value) + " ";
    AppendTwoSpaces(text);
    return text;
}

void AppendTwoSpaces(Lettra& text)
{
    text += "  ";
}
