// The class templates of the typed matrices, and their instances for the
// library's four classes.
#include "MetaMatrixTyped.h"

#include "MatrixResample.h"
#include "MatrixSizes.h"
#include "MetaMatrix16.h"
#include "MetaMatrix8.h"
#include "MetaMatrixBinary.h"
#include "MetaMatrixRGB.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>

namespace
{

template <class TSample> int ReadSample(TSample sample, bool isSigned)
{
    return isSigned ? int(std::make_signed_t<TSample>(sample)) : int(sample);
}

} // namespace

template <class TMatrix, MetaMatrix::enMatrixType Type>
MetaMatrix* MetaMatrixTyped<TMatrix, Type>::Clone() const
{
    auto* copy = new TMatrix;
    CopyTo(*copy);
    return copy;
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
MetaMatrix* MetaMatrixTyped<TMatrix, Type>::Shadow() const
{
    return new TMatrix(static_cast<const TMatrix&>(*this));
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
void MetaMatrixTyped<TMatrix, Type>::JoinAtLeft(const MetaMatrix*)
{
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
void MetaMatrixTyped<TMatrix, Type>::JoinAtRight(const MetaMatrix*)
{
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
void MetaMatrixTyped<TMatrix, Type>::JoinAtTop(const MetaMatrix*)
{
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
void MetaMatrixTyped<TMatrix, Type>::JoinAtBottom(const MetaMatrix*)
{
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
void* MetaMatrixTyped<TMatrix, Type>::CreateDIB() const
{
    return CreateDIB(nullptr);
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
MetaMatrix::enMatrixType MetaMatrixTyped<TMatrix, Type>::GetMatrixType() const
{
    return Type;
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
bool MetaMatrixTyped<TMatrix, Type>::AutoWindowLevel(int*, int*) const
{
    return false;
}

template <class TMatrix, MetaMatrix::enMatrixType Type>
bool MetaMatrixTyped<TMatrix, Type>::AutoWindowLevelEllipseShutter(int*, int*, RECT*) const
{
    return false;
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
void MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::FlipVertical()
{
    this->FlipPixelsVertically(BytesPerPixel);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
void MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::FlipHorizontal()
{
    this->FlipPixelsHorizontally(BytesPerPixel);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
void MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::Rotate(
    MetaMatrix::RotateAngle angle)
{
    this->RotatePixels(angle, BytesPerPixel);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
MetaMatrix*
MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::GetImagePart(const CRect* rect) const
{
    auto* part = new TMatrix;
    if (this->CopyPartTo(*part, rect, BytesPerPixel))
        return part;
    delete part;
    return nullptr;
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
void MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::SetImagePart(
    const MetaMatrix* source, const CRect* rect)
{
    this->PastePart(source, rect, BytesPerPixel);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
bool MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::LoadAsRaw(const char* path,
                                                                          int offset, int width,
                                                                          int height)
{
    constexpr int bits = 8 * int(sizeof(TSample));
    return this->LoadRawPixels(path, offset, matrix::FitProduct({width, height, BytesPerPixel}),
                               bits, bits, bits - 1, height, width, 0, (1 << bits) - 1, 0,
                               SamplesPerPixel);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
bool MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::SaveAsRaw(const char* path) const
{
    const MetaMatrixData& data = *this->m_pBlock;
    return this->SaveRawPixels(path,
                               matrix::FitProduct({data.nColumns, data.nRows, BytesPerPixel}));
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
void MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::Scale(unsigned width,
                                                                      unsigned height)
{
    this->ScalePixelsNearest(width, height, BytesPerPixel);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
bool MetaMatrixPixels<TMatrix, Type, TSample, SamplesPerPixel>::FromBitmap(HBITMAP const bitmap)
{
    return this->FromBitmapThroughDib(bitmap);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample>
void MetaMatrixGrey<TMatrix, Type, TSample>::Invert()
{
    if (!this->HoldsPixels(sizeof(TSample)) || !this->CopyBeforeWrite())
        return;
    const MetaMatrixData& data = *this->m_pBlock;
    const bool isSigned = data.nSigned != 0;
    const int sum = data.nMin + data.nMax;
    auto* samples = reinterpret_cast<TSample*>(this->m_pPixels);
    const std::size_t count = std::size_t(data.nRows) * std::size_t(data.nColumns);
    for (std::size_t i = 0; i < count; ++i)
        samples[i] = TSample(sum - ReadSample(samples[i], isSigned));
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample>
int MetaMatrixGrey<TMatrix, Type, TSample>::GetPixelValue(int x, int y) const
{
    if (!this->HoldsPixels(sizeof(TSample)))
        return 0;
    const MetaMatrixData& data = *this->m_pBlock;
    x = std::clamp(x, 0, data.nColumns - 1);
    y = std::clamp(y, 0, data.nRows - 1);
    const auto* samples = reinterpret_cast<const TSample*>(this->m_pPixels);
    return ReadSample(samples[std::size_t(y) * std::size_t(data.nColumns) + std::size_t(x)],
                      data.nSigned != 0);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample>
void MetaMatrixGrey<TMatrix, Type, TSample>::SetPixelValue(int x, int y, short value)
{
    if (!this->HoldsPixels(sizeof(TSample)) || !this->CopyBeforeWrite())
        return;
    const MetaMatrixData& data = *this->m_pBlock;
    x = std::clamp(x, 0, data.nColumns - 1);
    y = std::clamp(y, 0, data.nRows - 1);
    auto* samples = reinterpret_cast<TSample*>(this->m_pPixels);
    samples[std::size_t(y) * std::size_t(data.nColumns) + std::size_t(x)] = TSample(value);
    this->WidenRange(value);
}

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample>
void MetaMatrixGrey<TMatrix, Type, TSample>::ScaleOptimize(unsigned width, unsigned height)
{
    const int length = this->GetResizedLength(width, height, sizeof(TSample));
    if (length <= 0)
        return;
    using TSigned = std::make_signed_t<TSample>;
    constexpr bool isByte = sizeof(TSample) == 1;
    const MetaMatrixData& data = *this->m_pBlock;
    const char* pixels = this->m_pPixels;
    void* scaled = nullptr;
    if (data.nSigned != 0)
        scaled = matrix::Resample(isByte ? "ResampleS8" : "ResampleS16",
                                  reinterpret_cast<const TSigned*>(pixels), data.nColumns,
                                  data.nRows, int(width), int(height), 1);
    else
        scaled = matrix::Resample(isByte ? "ResampleU8" : "ResampleU16",
                                  reinterpret_cast<const TSample*>(pixels), data.nColumns,
                                  data.nRows, int(width), int(height), 1);
    if (scaled != nullptr)
        this->AdoptPixels(static_cast<char*>(scaled), int(height), int(width), length);
}

template class MetaMatrixTyped<MetaMatrix8, MetaMatrix::enMatrix8>;
template class MetaMatrixPixels<MetaMatrix8, MetaMatrix::enMatrix8, std::uint8_t, 1>;
template class MetaMatrixGrey<MetaMatrix8, MetaMatrix::enMatrix8, std::uint8_t>;
template class MetaMatrixTyped<MetaMatrix16, MetaMatrix::enMatrix16>;
template class MetaMatrixPixels<MetaMatrix16, MetaMatrix::enMatrix16, std::uint16_t, 1>;
template class MetaMatrixGrey<MetaMatrix16, MetaMatrix::enMatrix16, std::uint16_t>;
template class MetaMatrixTyped<MetaMatrixRGB, MetaMatrix::enMatrixRGB>;
template class MetaMatrixPixels<MetaMatrixRGB, MetaMatrix::enMatrixRGB, std::uint8_t, 3>;
template class MetaMatrixTyped<MetaMatrixBinary, MetaMatrix::enMatrixBinary>;
