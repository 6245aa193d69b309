#include "MatrixWindowLevel.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace matrix
{
namespace
{

constexpr int kHistogramSize = 65536;

// The ellipse inscribed in a rectangle, kept as two foci and the distance sum
// of the points on it, from integer arithmetic.
class CEllipse
{
public:
    explicit CEllipse(const RECT& rect)
    {
        const std::int64_t cx = (std::int64_t(rect.left) + rect.right) / 2;
        const std::int64_t cy = (std::int64_t(rect.top) + rect.bottom) / 2;
        const std::int64_t a = (std::int64_t(rect.right) - rect.left) / 2;
        const std::int64_t b = (std::int64_t(rect.bottom) - rect.top) / 2;
        const double c = std::sqrt(std::fabs(double(a * a - b * b)));
        if (a >= b)
        {
            m_dSum = double(std::int64_t(rect.right) - rect.left);
            m_dFocus1X = std::trunc(double(cx) - c);
            m_dFocus2X = std::trunc(double(cx) + c);
            m_dFocus1Y = m_dFocus2Y = double(cy);
        }
        else
        {
            m_dSum = double(std::int64_t(rect.bottom) - rect.top);
            m_dFocus1X = m_dFocus2X = double(cx);
            m_dFocus1Y = std::trunc(double(cy) - c);
            m_dFocus2Y = std::trunc(double(cy) + c);
        }
    }

    bool Contains(int x, int y) const
    {
        return std::hypot(x - m_dFocus1X, y - m_dFocus1Y) +
                   std::hypot(x - m_dFocus2X, y - m_dFocus2Y) <=
               m_dSum;
    }

private:
    double m_dFocus1X, m_dFocus1Y, m_dFocus2X, m_dFocus2Y, m_dSum;
};

int SmallestSigned(const std::uint16_t* samples, std::int64_t count)
{
    int smallest = 65535;
    for (std::int64_t i = 0; i < count; ++i)
        smallest = std::min<int>(smallest, std::int16_t(samples[i]));
    return smallest;
}

} // namespace

bool EstimateWindow16(const std::uint16_t* samples, int rows, int columns, bool isSigned,
                      const RECT* shutter, int* width, int* center)
{
    if (samples == nullptr || width == nullptr || center == nullptr || rows <= 0 || columns <= 0)
        return false;
    const std::unique_ptr<std::uint32_t[]> histogram(new (std::nothrow)
                                                         std::uint32_t[kHistogramSize]());
    if (!histogram)
        return false;
    const std::int64_t pixels = std::int64_t(rows) * columns;
    const int border = int(0.01 * std::min(rows, columns));
    const int offset = isSigned ? SmallestSigned(samples, pixels) : 0;
    std::unique_ptr<CEllipse> ellipse;
    if (shutter != nullptr)
        ellipse = std::make_unique<CEllipse>(*shutter);
    for (int y = border; y < rows - border; ++y)
    {
        const std::uint16_t* row = samples + std::int64_t(y) * columns;
        for (int x = border; x < columns - border; ++x)
        {
            if (ellipse && !ellipse->Contains(x, y))
                continue;
            const int value = isSigned ? std::int16_t(row[x]) - offset : row[x];
            ++histogram[std::size_t(value)];
        }
    }
    const std::int64_t cut = std::int64_t(0.01 * double(pixels) + 0.5);
    int low = -1;
    std::int64_t sum = 0;
    for (int i = 0; i < kHistogramSize && low < 0; ++i)
    {
        sum += histogram[std::size_t(i)];
        if (sum > cut)
            low = i;
    }
    if (low < 0)
        return false;
    int high = kHistogramSize - 1;
    for (sum = 0; high >= 0; --high)
    {
        sum += histogram[std::size_t(high)];
        if (sum > cut)
            break;
    }
    low += offset;
    high += offset;
    *width = high - low;
    *center = (high + low) / 2;
    return true;
}

} // namespace matrix
