#include "RoiStatistics.h"

#include "ORoiItem.h"

#include <cmath>

namespace pelivo
{

namespace
{

// Pixel values from -65535 to 65535 have a bin each; the others count in the
// mean only.
constexpr int HistogramOffset = 65535;
constexpr int HistogramBins = 131071;
// The ellipse's area uses this rounded quarter of pi, not pi / 4.
constexpr double EllipseAreaFactor = 0.785;

void ClearEllipseCorners(RoiMask& mask)
{
    const long a = mask.width / 2;
    const long b = mask.height / 2;
    for (long i = 0; i <= a; ++i)
    {
        for (long j = 0; j <= b; ++j)
        {
            if ((j - b) * (j - b) * a * a < (a * a - (i - a) * (i - a)) * b * b)
            {
                continue;
            }
            const long mirrorI = mask.width - 1 - i;
            const long mirrorJ = mask.height - 1 - j;
            for (const auto& [column, row] :
                 {std::pair{i, j}, {mirrorI, j}, {i, mirrorJ}, {mirrorI, mirrorJ}})
            {
                mask.cells[std::size_t(column * mask.height + row)] = 0;
            }
        }
    }
}

double RegionArea(int kind, const RECT& bounds, const RoiStatistics& statistics)
{
    const double spacing = statistics.spacingAcross * statistics.spacingDown;
    const double box =
        double(bounds.bottom - bounds.top) * double(bounds.right - bounds.left) * spacing;
    switch (kind)
    {
    case enRoiRectangle:
        return box;
    case enRoiEllipse:
        return box * EllipseAreaFactor;
    default:
        return statistics.spacingAcross == statistics.spacingDown ? statistics.count * spacing
                                                                  : 0.0;
    }
}

} // namespace

bool RoiMask::IsInside(int column, int row) const
{
    if (kind == enRoiRectangle)
    {
        return true;
    }
    if (column < 0 || row < 0 || column >= width || row >= height)
    {
        return false;
    }
    return cells[std::size_t(column) * std::size_t(height) + std::size_t(row)] != 0;
}

Lettra RoiStatistics::GetText() const
{
    Lettra text;
    text.Format("(%d,%d)-(%d,%d)", int(region.left), int(region.top), int(region.right),
                int(region.bottom));
    text.AppendFormat("\rMean:%d", mean);
    text.AppendFormat("\rStd.Dev.:%d", deviation);
    if (spacingAcross != 0.0 && spacingDown != 0.0)
    {
        text.AppendFormat("\rArea:%5.2f", area);
        text += " sq.mm";
    }
    else
    {
        text.AppendFormat(" Area:%d", int(count));
        text += " sq.pixel";
    }
    return text;
}

RoiMask BuildRoiMask(int kind, const RECT& bounds)
{
    RoiMask mask;
    mask.kind = kind;
    if (kind == enRoiRectangle)
    {
        return mask;
    }
    if (kind == enRoiEllipse)
    {
        mask.width = bounds.right - bounds.left;
        mask.height = bounds.bottom - bounds.top;
        mask.width = mask.width == 0 ? 1 : mask.width;
        mask.height = mask.height == 0 ? 1 : mask.height;
        mask.cells.assign(std::size_t(mask.width) * std::size_t(mask.height), 1);
        ClearEllipseCorners(mask);
    }
    return mask;
}

bool ComputeRoiStatistics(const RoiMask& mask, const RECT& bounds, RoiOwner* owner,
                          RoiStatistics& statistics)
{
    if (owner == nullptr || !owner->HasImage() || !owner->HasPane())
    {
        return false;
    }
    owner->GetPixelSpacing(statistics.spacingAcross, statistics.spacingDown);
    statistics.unit = owner->GetUnitText();
    // 32-bit counters: a region of more than 65,535 equal pixels is common.
    std::vector<std::uint32_t> histogram(HistogramBins, 0);
    double count = 0.0;
    double sum = 0.0;
    for (int row = bounds.top; row < bounds.bottom; ++row)
    {
        for (int column = bounds.left; column < bounds.right; ++column)
        {
            if (!mask.IsInside(column - bounds.left, row - bounds.top))
            {
                continue;
            }
            const int value = owner->GetPixelValue(column, row);
            count += 1.0;
            sum += value;
            if (value >= -HistogramOffset && value < HistogramBins - HistogramOffset)
            {
                ++histogram[std::size_t(value + HistogramOffset)];
            }
        }
    }
    statistics.count = count;
    statistics.sum = sum;
    if (count != 0.0)
    {
        statistics.mean = int(sum * (1.0 / count));
        double squares = 0.0;
        for (int bin = 0; bin < HistogramBins; ++bin)
        {
            const double offset = double(bin - HistogramOffset) - statistics.mean;
            squares += double(histogram[std::size_t(bin)]) * offset * offset;
        }
        statistics.deviation = int(std::sqrt((1.0 / count) * squares));
    }
    statistics.region = bounds;
    statistics.area = RegionArea(mask.kind, bounds, statistics);
    return true;
}

} // namespace pelivo
