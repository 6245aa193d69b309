#include "ReferenceLineGeometry.h"
#include "Zephlin.h"

#include <cmath>

namespace
{

// The line's ends as the buffers hold them: y1, x1, y2, x2.
void StoreLine(const PixelLine& line, int* buffer)
{
    buffer[0] = static_cast<int>(std::lround(line.y1));
    buffer[1] = static_cast<int>(std::lround(line.x1));
    buffer[2] = static_cast<int>(std::lround(line.y2));
    buffer[3] = static_cast<int>(std::lround(line.x2));
}

void Reverse(PixelLine& line)
{
    line = {line.x2, line.y2, line.x1, line.y1};
}

ImagePlane MakePlane(int columns, int rows, double spacing2, double spacing1, double rowX,
                     double rowY, double rowZ, double columnX, double columnY, double columnZ,
                     double positionX, double positionY, double positionZ)
{
    return {columns,
            rows,
            spacing2,
            spacing1,
            {rowX, rowY, rowZ},
            {columnX, columnY, columnZ},
            {positionX, positionY, positionZ}};
}

} // namespace

int ReferenceLine(int columns, int rows, double spacing2, double spacing1, double rowX, double rowY,
                  double rowZ, double columnX, double columnY, double columnZ, double positionX,
                  double positionY, double positionZ, int columns2, int rows2,
                  double targetSpacing2, double targetSpacing1, double targetRowX,
                  double targetRowY, double targetRowZ, double targetColumnX, double targetColumnY,
                  double targetColumnZ, double targetPositionX, double targetPositionY,
                  double targetPositionZ, int* buffer1, int* buffer2)
{
    const ImagePlane source = MakePlane(columns, rows, spacing2, spacing1, rowX, rowY, rowZ,
                                        columnX, columnY, columnZ, positionX, positionY, positionZ);
    const ImagePlane target =
        MakePlane(columns2, rows2, targetSpacing2, targetSpacing1, targetRowX, targetRowY,
                  targetRowZ, targetColumnX, targetColumnY, targetColumnZ, targetPositionX,
                  targetPositionY, targetPositionZ);
    if (buffer2 == nullptr || !IsValidPlane(source) || !IsValidPlane(target))
    {
        return 0;
    }
    PixelLine onSource{};
    PixelLine onTarget{};
    const int result = CutTarget(source, target, onSource, onTarget);
    if ((result & ZephlinLineOnTarget) != 0)
    {
        // The left end first (the upper one of a vertical line), in pixels
        // as stored.
        const long x1 = std::lround(onTarget.x1);
        const long x2 = std::lround(onTarget.x2);
        if (x2 < x1 || (x2 == x1 && std::lround(onTarget.y2) < std::lround(onTarget.y1)))
        {
            Reverse(onTarget);
            Reverse(onSource);
        }
        StoreLine(onTarget, buffer2);
        if (buffer1 != nullptr)
        {
            StoreLine(onSource, buffer1);
        }
    }
    return result;
}
