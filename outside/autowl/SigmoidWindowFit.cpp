#include "SigmoidWindowFit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace
{

// The first and last histogram index of the samples kept once the given
// shares of the total are set aside at either end.
struct KeptRange
{
    std::size_t first = 0;
    std::size_t last = 0;
};

KeptRange FindKeptRange(const SampleHistogram& histogram, double low, double high)
{
    const std::vector<std::uint64_t>& counts = histogram.counts;
    const double dropLow = low * static_cast<double>(histogram.total);
    const double dropHigh = high * static_cast<double>(histogram.total);
    KeptRange range;
    std::uint64_t running = 0;
    for (std::size_t i = 0; i < counts.size(); ++i)
    {
        running += counts[i];
        if (static_cast<double>(running) > dropLow)
        {
            range.first = i;
            break;
        }
    }
    running = 0;
    for (std::size_t i = counts.size(); i-- > 0;)
    {
        running += counts[i];
        if (static_cast<double>(running) > dropHigh)
        {
            range.last = i;
            break;
        }
    }
    return range;
}

// One sample value kept: x, the logit of its share P, and its count.
struct LogitPoint
{
    double x;
    double y;
    double weight;
};

std::vector<LogitPoint> GetLogitPoints(const SampleHistogram& histogram, const KeptRange& range)
{
    const double total = static_cast<double>(histogram.total);
    std::vector<LogitPoint> points;
    std::uint64_t below = 0;
    for (std::size_t i = 0; i <= range.last; ++i)
    {
        const std::uint64_t count = histogram.counts[i];
        if (i >= range.first && count != 0)
        {
            // The middle of the value's own run keeps P strictly inside (0, 1).
            const double p =
                (static_cast<double>(below) + 0.5 * static_cast<double>(count)) / total;
            points.push_back({static_cast<double>(i) + histogram.offset, std::log(p / (1.0 - p)),
                              static_cast<double>(count)});
        }
        below += count;
    }
    return points;
}

// The weighted least-squares line y = slope (x - meanX) + meanY, from sums
// taken about the means so that large sample values lose no precision.
struct FittedLine
{
    double meanX = 0.0;
    double meanY = 0.0;
    double slope = 0.0;
};

FittedLine FitLine(const std::vector<LogitPoint>& points)
{
    FittedLine line;
    double weight = 0.0;
    for (const LogitPoint& point : points)
    {
        weight += point.weight;
        line.meanX += point.weight * point.x;
        line.meanY += point.weight * point.y;
    }
    line.meanX /= weight;
    line.meanY /= weight;
    double spreadXX = 0.0;
    double spreadXY = 0.0;
    for (const LogitPoint& point : points)
    {
        const double dx = point.x - line.meanX;
        spreadXX += point.weight * dx * dx;
        spreadXY += point.weight * dx * (point.y - line.meanY);
    }
    line.slope = spreadXY / spreadXX;
    return line;
}

int ToInt(double value)
{
    constexpr double Limit = 1 << 30;
    return static_cast<int>(std::lround(std::clamp(value, -Limit, Limit)));
}

} // namespace

std::optional<SigmoidWindow> DoFitSigmoidWindow(const SampleHistogram& histogram, double low,
                                                double high)
{
    if (histogram.total == 0)
    {
        return std::nullopt;
    }
    const KeptRange range = FindKeptRange(histogram, low, high);
    // Trimming leaves at least one value; should rounding ever leave the
    // ends crossed, the lower end stands for the frame.
    if (range.first >= range.last)
    {
        return SigmoidWindow{1, ToInt(static_cast<double>(range.first) + histogram.offset)};
    }
    // Two values or more: the cumulative share rises from each to the next.
    const FittedLine line = FitLine(GetLogitPoints(histogram, range));
    return SigmoidWindow{std::max(1, ToInt(4.0 / line.slope)),
                         ToInt(line.meanX - line.meanY / line.slope)};
}
