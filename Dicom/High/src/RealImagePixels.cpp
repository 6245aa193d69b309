#include "RealImagePixels.h"

#include "VeltaroLog.h"
#include "WinError.h"
#include "WinFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace realimage
{

std::uint8_t* NewBuffer(std::uint64_t length)
{
    if (length == 0 || length > std::numeric_limits<std::size_t>::max())
        return nullptr;
    auto* buffer = new (std::nothrow) std::uint8_t[std::size_t(length)];
    if (buffer != nullptr)
        std::memset(buffer, 0, std::size_t(length));
    return buffer;
}

std::uint8_t* CopyBuffer(const void* source, std::uint64_t length)
{
    if (source == nullptr)
        return nullptr;
    std::uint8_t* copy = NewBuffer(length);
    if (copy != nullptr)
        std::memcpy(copy, source, std::size_t(length));
    return copy;
}

void FreeBuffer(void* buffer)
{
    delete[] static_cast<std::uint8_t*>(buffer);
}

void FlipRows(std::uint8_t* pixels, int width, int height, int unit)
{
    if (pixels == nullptr || width <= 0 || height <= 1)
        return;
    const std::size_t stride = std::size_t(width) * std::size_t(unit);
    std::vector<std::uint8_t> row(stride);
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
    {
        std::uint8_t* upper = pixels + std::size_t(top) * stride;
        std::uint8_t* lower = pixels + std::size_t(bottom) * stride;
        std::memcpy(row.data(), upper, stride);
        std::memcpy(upper, lower, stride);
        std::memcpy(lower, row.data(), stride);
    }
}

void MirrorRows(std::uint8_t* pixels, int width, int height, int unit)
{
    if (pixels == nullptr || width <= 1 || height <= 0)
        return;
    const std::size_t stride = std::size_t(width) * std::size_t(unit);
    for (int row = 0; row < height; ++row)
        ReversePixels(pixels + std::size_t(row) * stride, std::uint64_t(width), unit);
}

void ReversePixels(std::uint8_t* pixels, std::uint64_t count, int unit)
{
    if (pixels == nullptr || count < 2)
        return;
    for (std::uint64_t first = 0, last = count - 1; first < last; ++first, --last)
        std::swap_ranges(pixels + first * unit, pixels + (first + 1) * unit, pixels + last * unit);
}

std::uint8_t* TurnQuarter(const std::uint8_t* pixels, int width, int height, int unit,
                          bool clockwise)
{
    if (pixels == nullptr || width <= 0 || height <= 0)
        return nullptr;
    std::uint8_t* turned = NewBuffer(std::uint64_t(width) * std::uint64_t(height) * unit);
    if (turned == nullptr)
        return nullptr;
    // The turned image is height pixels wide.
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const std::uint64_t newX = clockwise ? std::uint64_t(height - 1 - y) : std::uint64_t(y);
            const std::uint64_t newY = clockwise ? std::uint64_t(x) : std::uint64_t(width - 1 - x);
            std::memcpy(turned + (newY * height + newX) * unit,
                        pixels + (std::uint64_t(y) * width + x) * unit, std::size_t(unit));
        }
    }
    return turned;
}

bool ClipPart(const DRect* rect, int width, int height, DRect& part)
{
    if (rect == nullptr)
        return false;
    part = *rect;
    part.NormalizeRect();
    part.left = std::max(part.left, 0);
    part.top = std::max(part.top, 0);
    part.right = std::min(part.right, width);
    part.bottom = std::min(part.bottom, height);
    return part.left < part.right && part.top < part.bottom;
}

std::uint8_t* CopyPart(const std::uint8_t* pixels, int width, const DRect& part, int unit)
{
    if (pixels == nullptr)
        return nullptr;
    const std::size_t rowBytes = std::size_t(part.Width()) * std::size_t(unit);
    std::uint8_t* copy = NewBuffer(std::uint64_t(rowBytes) * std::uint64_t(part.Height()));
    if (copy == nullptr)
        return nullptr;
    for (int row = 0; row < part.Height(); ++row)
    {
        const std::uint64_t from = (std::uint64_t(part.top) + row) * width + part.left;
        std::memcpy(copy + std::size_t(row) * rowBytes, pixels + from * unit, rowBytes);
    }
    return copy;
}

bool FitsAt(int& x, int& y, int sourceWidth, int sourceHeight, int width, int height)
{
    x = std::max(x, 0);
    y = std::max(y, 0);
    return sourceWidth > 0 && sourceHeight > 0 &&
           std::int64_t(x) + sourceWidth <= std::int64_t(width) &&
           std::int64_t(y) + sourceHeight <= std::int64_t(height);
}

int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

int CalibratedToSample(int value, float intercept, float slope, int lo, int hi)
{
    const double divisor = slope != 0.0f ? double(slope) : 1.0;
    const int sample = TruncToInt((double(value) - double(intercept)) / divisor);
    return std::clamp(sample, lo, hi);
}

bool EqualsNoCase(const char* left, const char* right)
{
    for (; *left != '\0' && *right != '\0'; ++left, ++right)
    {
        if (std::toupper(static_cast<unsigned char>(*left)) !=
            std::toupper(static_cast<unsigned char>(*right)))
            return false;
    }
    return *left == *right;
}

int CountBits(int value)
{
    int bits = 0;
    for (std::int64_t rest = value; rest != 0; rest /= 2)
        ++bits;
    return bits;
}

int PowerOfTwoBelow(int value)
{
    const int bits = CountBits(value);
    if (value < 0)
        return int(-(std::int64_t(1) << bits));
    return bits == 0 ? 0 : int(std::int64_t(1) << (bits - 1));
}

int PowerOfTwoAbove(int value)
{
    return int((std::int64_t(1) << CountBits(value)) - 1);
}

bool IsResampled(enResampleOutcome outcome, const char* library, const char* entry)
{
    switch (outcome)
    {
    case enResampleOutcome::Done:
        return true;
    case enResampleOutcome::NoLibrary:
        _syserror(GetLastError(), "Cannot load library %s.", library);
        return false;
    case enResampleOutcome::NoEntry:
        _error("Cannot Find Func %s.", entry);
        return false;
    case enResampleOutcome::Refused:
        break;
    }
    _error("Enter RealImage::Scale, %s refused the image", entry);
    return false;
}

bool WriteWholeFile(const char* path, const void* bytes, std::uint64_t length)
{
    std::FILE* file = path != nullptr ? _fsopen(path, "wb", _SH_DENYNO) : nullptr;
    if (file == nullptr)
    {
        _error("Can't create file: %s", path != nullptr ? path : "");
        return false;
    }
    const bool written = length == 0 || std::fwrite(bytes, 1, std::size_t(length), file) == length;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
    {
        _error("Can't write file: %s", path);
        return false;
    }
    return true;
}

} // namespace realimage
