// MetaMatrix: the operations its typed subclasses share, on pixels of one,
// two or three bytes: flips, rotations, image parts, nearest-neighbour
// scaling, raw files and the hand-over of bitmaps.
#include "MetaMatrix.h"

#include "MatrixDib.h"
#include "MatrixPixelKernels.h"
#include "MatrixRawFile.h"
#include "MatrixSizes.h"
#include "WinGlobalMemory.h"

#include <new>
#include <utility>

namespace
{

using matrix::Pixel24;

// Runs operation with the pixel type of bytesPerPixel bytes.
template <class Operation> void WithPixelType(int bytesPerPixel, Operation&& operation)
{
    switch (bytesPerPixel)
    {
    case 1:
        operation(std::uint8_t{});
        break;
    case 2:
        operation(std::uint16_t{});
        break;
    case 3:
        operation(Pixel24{});
        break;
    default:
        break;
    }
}

void OrderPair(LONG& low, LONG& high)
{
    if (low > high)
        std::swap(low, high);
}

// Clips a part rectangle (right and bottom exclusive) to a rows x columns
// matrix; false when nothing of it is left.
bool ClipPartRect(const CRect* rect, int rows, int columns, CRect& clipped)
{
    if (rect == nullptr)
        return false;
    clipped = *rect;
    for (LONG* coordinate : {&clipped.left, &clipped.top, &clipped.right, &clipped.bottom})
        *coordinate = std::max<LONG>(*coordinate, 0);
    OrderPair(clipped.left, clipped.right);
    OrderPair(clipped.top, clipped.bottom);
    if (clipped.IsRectEmpty())
        return false;
    clipped.left = std::min<LONG>(clipped.left, columns);
    clipped.right = std::min<LONG>(clipped.right, columns);
    clipped.top = std::min<LONG>(clipped.top, rows);
    clipped.bottom = std::min<LONG>(clipped.bottom, rows);
    OrderPair(clipped.left, clipped.right);
    OrderPair(clipped.top, clipped.bottom);
    return !clipped.IsRectEmpty();
}

} // namespace

void MetaMatrix::FlipPixelsVertically(int bytesPerPixel)
{
    if (!HoldsPixels(bytesPerPixel) || !CopyBeforeWrite())
        return;
    matrix::SwapRowOrder(m_pPixels, m_pBlock->nRows,
                         std::size_t(m_pBlock->nColumns) * std::size_t(bytesPerPixel));
}

void MetaMatrix::FlipPixelsHorizontally(int bytesPerPixel)
{
    if (!HoldsPixels(bytesPerPixel) || !CopyBeforeWrite())
        return;
    WithPixelType(bytesPerPixel,
                  [this](auto pixel)
                  {
                      using Pixel = decltype(pixel);
                      matrix::ReverseEachRow(reinterpret_cast<Pixel*>(m_pPixels), m_pBlock->nRows,
                                             m_pBlock->nColumns);
                  });
}

void MetaMatrix::RotatePixels(RotateAngle angle, int bytesPerPixel)
{
    if (!HoldsPixels(bytesPerPixel))
        return;
    const int rows = m_pBlock->nRows;
    const int columns = m_pBlock->nColumns;
    if (angle == enRotateHalfTurn)
    {
        if (!CopyBeforeWrite())
            return;
        WithPixelType(bytesPerPixel,
                      [&](auto pixel)
                      {
                          using Pixel = decltype(pixel);
                          auto* pixels = reinterpret_cast<Pixel*>(m_pPixels);
                          std::reverse(pixels, pixels + std::ptrdiff_t(rows) * columns);
                      });
        return;
    }
    if (angle != enRotateCounterClockwise && angle != enRotateClockwise)
        return;
    const int length = m_pBlock->nDataLength;
    char* rotated = new (std::nothrow) char[std::size_t(length)];
    if (rotated == nullptr)
        return;
    WithPixelType(bytesPerPixel,
                  [&](auto pixel)
                  {
                      using Pixel = decltype(pixel);
                      matrix::RotateQuarter(reinterpret_cast<const Pixel*>(m_pPixels), rows,
                                            columns, reinterpret_cast<Pixel*>(rotated),
                                            angle == enRotateClockwise);
                  });
    AdoptPixels(rotated, columns, rows, length);
}

bool MetaMatrix::CopyPartTo(MetaMatrix& target, const CRect* rect, int bytesPerPixel) const
{
    CRect part;
    if (!HoldsPixels(bytesPerPixel) ||
        !ClipPartRect(rect, m_pBlock->nRows, m_pBlock->nColumns, part))
        return false;
    const std::size_t rowBytes = std::size_t(part.Width()) * std::size_t(bytesPerPixel);
    const std::size_t stride = std::size_t(m_pBlock->nColumns) * std::size_t(bytesPerPixel);
    const int length = int(rowBytes * std::size_t(part.Height()));
    char* pixels = new (std::nothrow) char[std::size_t(length)];
    if (pixels == nullptr)
        return false;
    matrix::CopyRows(m_pPixels + std::size_t(part.top) * stride +
                         std::size_t(part.left) * bytesPerPixel,
                     stride, pixels, rowBytes, rowBytes, part.Height());
    const MetaMatrixData description = *m_pBlock;
    if (!target.AdoptBuffer(pixels, length))
        return false;
    target.CopyDescription(description);
    target.m_pBlock->nRows = part.Height();
    target.m_pBlock->nColumns = part.Width();
    return true;
}

void MetaMatrix::PastePart(const MetaMatrix* source, const CRect* rect, int bytesPerPixel)
{
    CRect part;
    if (source == nullptr || source == this || !HoldsPixels(bytesPerPixel) ||
        !source->HoldsPixels(bytesPerPixel) ||
        source->m_pBlock->nBitsAllocated != m_pBlock->nBitsAllocated ||
        source->m_pBlock->nSamplesPerPixel != m_pBlock->nSamplesPerPixel ||
        !ClipPartRect(rect, m_pBlock->nRows, m_pBlock->nColumns, part) ||
        part.Width() != source->m_pBlock->nColumns || part.Height() != source->m_pBlock->nRows ||
        !CopyBeforeWrite())
        return;
    const std::size_t rowBytes = std::size_t(part.Width()) * std::size_t(bytesPerPixel);
    const std::size_t stride = std::size_t(m_pBlock->nColumns) * std::size_t(bytesPerPixel);
    matrix::CopyRows(source->m_pPixels, rowBytes,
                     m_pPixels + std::size_t(part.top) * stride +
                         std::size_t(part.left) * bytesPerPixel,
                     stride, rowBytes, part.Height());
}

int MetaMatrix::GetResizedLength(unsigned width, unsigned height, int bytesPerPixel) const
{
    if (width == 0 || height == 0 || !HoldsPixels(bytesPerPixel) ||
        (width == unsigned(m_pBlock->nColumns) && height == unsigned(m_pBlock->nRows)))
        return -1;
    return int(matrix::FitProduct({width, height, bytesPerPixel}));
}

void MetaMatrix::ScalePixelsNearest(unsigned width, unsigned height, int bytesPerPixel)
{
    const int length = GetResizedLength(width, height, bytesPerPixel);
    if (length <= 0)
        return;
    char* scaled = new (std::nothrow) char[std::size_t(length)];
    if (scaled == nullptr)
        return;
    WithPixelType(bytesPerPixel,
                  [&](auto pixel)
                  {
                      using Pixel = decltype(pixel);
                      matrix::ScaleNearest(reinterpret_cast<const Pixel*>(m_pPixels),
                                           m_pBlock->nRows, m_pBlock->nColumns,
                                           reinterpret_cast<Pixel*>(scaled), int(height),
                                           int(width));
                  });
    AdoptPixels(scaled, int(height), int(width), length);
}

bool MetaMatrix::LoadRawPixels(const char* path, int offset, long long length, int bitsAllocated,
                               int bitsStored, int highBit, int rows, int columns, int min, int max,
                               int isSigned, int samplesPerPixel)
{
    if (length <= 0 || length > INT_MAX)
        return false;
    char* pixels = new (std::nothrow) char[std::size_t(length)];
    if (pixels == nullptr)
        return false;
    if (!matrix::ReadRawFile(path, offset, pixels, length))
    {
        delete[] pixels;
        return false;
    }
    if (!AdoptBuffer(pixels, int(length)))
        return false;
    SetDescription(bitsAllocated, bitsStored, highBit, rows, columns, min, max, isSigned,
                   samplesPerPixel);
    return true;
}

bool MetaMatrix::SaveRawPixels(const char* path, long long length) const
{
    const bool holdsAll = !IsEmpty() && length > 0 && length <= m_pBlock->nDataLength;
    return matrix::WriteRawFile(path, holdsAll ? m_pPixels : nullptr, holdsAll ? length : 0);
}

bool MetaMatrix::FromBitmapThroughDib(HBITMAP bitmap)
{
    void* dib = matrix::PackBitmap(bitmap);
    if (dib == nullptr)
        return false;
    const bool converted = FromDIB(dib);
    GlobalFree(dib);
    return converted;
}
