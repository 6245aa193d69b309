// MetaMatrixBinary: the bit stream, its conversions to and from 8-bit and
// 16-bit matrices, and the operations it runs through an 8-bit matrix.
#include "MetaMatrixBinary.h"

#include "MatrixSizes.h"
#include "MetaMatrix16.h"
#include "MetaMatrix8.h"

#include <algorithm>
#include <cstdint>

namespace
{

constexpr unsigned char kThreshold = 128;

std::int64_t RawLength(int width, int height)
{
    return matrix::PackedBitBytes({width, height});
}

bool IsBitSet(const char* bytes, std::int64_t index)
{
    return (std::uint8_t(bytes[index / 8]) >> (index % 8) & 1) != 0;
}

// Pixels of source (one sample of type Sample each) whose value exceeds
// threshold set their bit in the zeroed bytes.
template <class Sample> void SetBitsAbove(const MetaMatrix& source, unsigned threshold, char* bytes)
{
    const auto* samples = reinterpret_cast<const Sample*>(source.GetPixelData());
    const std::int64_t count = std::int64_t(source.GetHeight()) * source.GetWidth();
    for (std::int64_t i = 0; i < count; ++i)
    {
        if (samples[i] > threshold)
            bytes[i / 8] = char(std::uint8_t(bytes[i / 8]) | 1U << (i % 8));
    }
}

// True when matrix holds rows x columns samples of sampleBytes bytes.
bool HoldsSamples(const MetaMatrix& matrix, int sampleBytes)
{
    const MetaMatrixData& data = *matrix.GetData();
    const std::int64_t needed = matrix::FitProduct({data.nRows, data.nColumns, sampleBytes});
    return needed > 0 && needed <= data.nDataLength;
}

} // namespace

template <class Operation> void MetaMatrixBinary::ThroughMatrix8(Operation operation)
{
    MetaMatrix8 bytes;
    if (!ToMetaMatrix8(&bytes))
        return;
    operation(bytes);
    FromMetaMatrix8(&bytes, kThreshold);
}

void MetaMatrixBinary::Invert()
{
    ThroughMatrix8([](MetaMatrix8& bytes) { bytes.Invert(); });
}

void MetaMatrixBinary::FlipVertical()
{
    ThroughMatrix8([](MetaMatrix8& bytes) { bytes.FlipVertical(); });
}

void MetaMatrixBinary::FlipHorizontal()
{
    ThroughMatrix8([](MetaMatrix8& bytes) { bytes.FlipHorizontal(); });
}

void MetaMatrixBinary::Rotate(RotateAngle angle)
{
    ThroughMatrix8([angle](MetaMatrix8& bytes) { bytes.Rotate(angle); });
}

bool MetaMatrixBinary::LoadAsRaw(const char* path, int offset, int width, int height)
{
    return LoadRawPixels(path, offset, RawLength(width, height), 1, 1, 1, height, width, 0, 0, 0,
                         1);
}

bool MetaMatrixBinary::SaveAsRaw(const char* path) const
{
    return SaveRawPixels(path, RawLength(m_pBlock->nColumns, m_pBlock->nRows));
}

void MetaMatrixBinary::Scale(unsigned width, unsigned height)
{
    ThroughMatrix8([=](MetaMatrix8& bytes) { bytes.Scale(width, height); });
}

void MetaMatrixBinary::ScaleOptimize(unsigned width, unsigned height)
{
    Scale(width, height);
}

void* MetaMatrixBinary::CreateDIB(RGBQUAD* const palette) const
{
    MetaMatrix8 bytes;
    return ToMetaMatrix8(&bytes) ? bytes.CreateDIB(palette) : nullptr;
}

HBITMAP MetaMatrixBinary::CreateBitmap() const
{
    MetaMatrix8 bytes;
    return ToMetaMatrix8(&bytes) ? bytes.CreateBitmap() : nullptr;
}

bool MetaMatrixBinary::FromDIB(void* const dib)
{
    MetaMatrix8 bytes;
    return bytes.FromDIB(dib) && FromMetaMatrix8(&bytes, kThreshold);
}

bool MetaMatrixBinary::FromBitmap(HBITMAP const bitmap)
{
    MetaMatrix8 bytes;
    return bytes.FromBitmap(bitmap) && FromMetaMatrix8(&bytes, kThreshold);
}

int MetaMatrixBinary::GetPixelValue(int x, int y) const
{
    if (!HoldsBits())
        return 0;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    const std::int64_t index = std::int64_t(y) * m_pBlock->nColumns + x;
    return std::uint8_t(m_pPixels[index / 8]) & (1 << (index % 8));
}

void MetaMatrixBinary::SetPixelValue(int x, int y, short value)
{
    if (!HoldsBits() || !CopyBeforeWrite())
        return;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    const std::int64_t index = std::int64_t(y) * m_pBlock->nColumns + x;
    const auto mask = std::uint8_t(1U << (index % 8));
    auto& byte = reinterpret_cast<std::uint8_t&>(m_pPixels[index / 8]);
    byte = value != 0 ? std::uint8_t(byte | mask) : std::uint8_t(byte & ~mask);
}

bool MetaMatrixBinary::FromMetaMatrix8(MetaMatrix8* source, unsigned char threshold)
{
    return FromSamples<std::uint8_t>(source, threshold);
}

bool MetaMatrixBinary::FromMetaMatrix16(MetaMatrix16* source, unsigned short threshold)
{
    return FromSamples<std::uint16_t>(source, threshold);
}

template <class Sample>
bool MetaMatrixBinary::FromSamples(const MetaMatrix* source, unsigned threshold)
{
    if (source == nullptr || !HoldsSamples(*source, sizeof(Sample)))
        return false;
    const int rows = source->GetHeight();
    const int columns = source->GetWidth();
    if (!AllocBuffer(int(std::int64_t(rows) * columns / 8 + 1), true))
        return false;
    SetDescription(1, 1, 1, rows, columns, 0, 0, 0, 1);
    SetBitsAbove<Sample>(*source, threshold, m_pPixels);
    return true;
}

bool MetaMatrixBinary::ToMetaMatrix8(MetaMatrix8* target) const
{
    if (target == nullptr || !HoldsBits())
        return false;
    MetaMatrix8 bytes(8, 8, 7, m_pBlock->nRows, m_pBlock->nColumns, 0, 255, 0, 1);
    if (!ApplyTo(&bytes))
        return false;
    *target = bytes;
    return true;
}

bool MetaMatrixBinary::ApplyTo(MetaMatrix8* target) const
{
    if (!CanApplyTo(target, 1))
        return false;
    auto* samples = reinterpret_cast<std::uint8_t*>(target->GetPixelData());
    for (std::int64_t i = 0, count = GetPixelCount(); i < count; ++i)
        samples[i] = IsBitSet(m_pPixels, i) ? 255 : 0;
    return true;
}

bool MetaMatrixBinary::ApplyTo(MetaMatrix16* target) const
{
    if (!CanApplyTo(target, 2))
        return false;
    auto* samples = reinterpret_cast<std::uint16_t*>(target->GetPixelData());
    for (std::int64_t i = 0, count = GetPixelCount(); i < count; ++i)
    {
        if (IsBitSet(m_pPixels, i))
            samples[i] = 65535;
    }
    return true;
}

bool MetaMatrixBinary::CanApplyTo(MetaMatrix* target, int sampleBytes) const
{
    return target != nullptr && target->GetHeight() == GetHeight() &&
           target->GetWidth() == GetWidth() && HoldsBits() && HoldsSamples(*target, sampleBytes) &&
           CopyBeforeWrite(*target);
}

bool MetaMatrixBinary::HoldsBits() const
{
    const MetaMatrixData& data = *m_pBlock;
    return data.nBitsAllocated == 1 && data.nRows > 0 && data.nColumns > 0 &&
           std::int64_t(data.nRows) * data.nColumns <= std::int64_t(data.nDataLength) * 8;
}
