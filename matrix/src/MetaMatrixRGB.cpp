// MetaMatrixRGB: pixel access, byte order, DIBs, bitmap files and
// resampling of colour matrices.
#include "MetaMatrixRGB.h"

#include "BitmapFile.h"
#include "MatrixDib.h"
#include "MatrixLog.h"
#include "MatrixResample.h"
#include "MatrixSizes.h"
#include "MetaMatrix8.h"
#include "WinFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace
{

constexpr int kBytes = 3;

std::size_t PixelOffset(int x, int y, int columns)
{
    return (std::size_t(y) * std::size_t(columns) + std::size_t(x)) * kBytes;
}

void SwapFirstAndThird(std::uint8_t* pixels, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        std::swap(pixels[i * kBytes], pixels[i * kBytes + 2]);
}

class CStreamCloser
{
public:
    explicit CStreamCloser(std::FILE* stream) : m_pStream(stream) {}
    ~CStreamCloser()
    {
        if (m_pStream != nullptr)
            std::fclose(m_pStream);
    }
    CStreamCloser(const CStreamCloser&) = delete;
    CStreamCloser& operator=(const CStreamCloser&) = delete;
    // Closes now; false when buffered bytes could not be written.
    bool Close()
    {
        std::FILE* stream = m_pStream;
        m_pStream = nullptr;
        return std::fclose(stream) == 0;
    }

private:
    std::FILE* m_pStream;
};

} // namespace

MetaMatrix* MetaMatrixRGB::GetPixmap(unsigned char*) const
{
    return IsEmpty() ? nullptr : Shadow();
}

void MetaMatrixRGB::Scale(unsigned width, unsigned height)
{
    ScaleOptimize(width, height);
}

void MetaMatrixRGB::ScaleOptimize(unsigned width, unsigned height)
{
    const int length = GetResizedLength(width, height, kBytes);
    if (length <= 0)
        return;
    auto* scaled =
        matrix::Resample("ResampleColor24", reinterpret_cast<const unsigned char*>(m_pPixels),
                         m_pBlock->nColumns, m_pBlock->nRows, int(width), int(height), kBytes);
    if (scaled != nullptr)
        AdoptPixels(reinterpret_cast<char*>(scaled), int(height), int(width), length);
}

void* MetaMatrixRGB::CreateDIB(RGBQUAD* const) const
{
    if (!HoldsBgrPixels())
        return nullptr;
    return matrix::BuildPackedDib(m_pBlock->nRows, m_pBlock->nColumns, 24, nullptr,
                                  matrix::CopyRowsOf(m_pPixels, GetRowBytes()));
}

HBITMAP MetaMatrixRGB::CreateBitmap() const
{
    if (!HoldsBgrPixels())
        return nullptr;
    return matrix::BuildScreenBitmap(m_pBlock->nRows, m_pBlock->nColumns, 24, nullptr,
                                     matrix::CopyRowsOf(m_pPixels, GetRowBytes()));
}

bool MetaMatrixRGB::FromDIB(void* const dib)
{
    const matrix::CLockedDib locked(dib, "MetaMatrixRGB::FromDIB");
    if (!locked.IsValid() || locked.GetLayout().nBitCount != 24)
        return false;
    const PackedDibLayout& layout = locked.GetLayout();
    const std::size_t count = std::size_t(layout.nWidth) * std::size_t(layout.nHeight);
    auto* pixels = new (std::nothrow) std::uint8_t[count * kBytes];
    if (pixels == nullptr)
        return false;
    locked.CopyRows(std::size_t(layout.nWidth) * kBytes, pixels);
    SwapFirstAndThird(pixels, count);
    if (!AdoptBuffer(reinterpret_cast<char*>(pixels), int(count * kBytes)))
        return false;
    SetDescription(8, 8, 7, layout.nHeight, layout.nWidth, 0, 255, 0, 3);
    return true;
}

int MetaMatrixRGB::GetPixelValue(int x, int y) const
{
    if (!HoldsPixels(kBytes))
        return 0;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    const auto* pixel =
        reinterpret_cast<const std::uint8_t*>(m_pPixels) + PixelOffset(x, y, m_pBlock->nColumns);
    return pixel[0] | pixel[1] << 8 | pixel[2] << 16;
}

void MetaMatrixRGB::SetPixelValue(int x, int y, short value)
{
    if (!HoldsPixels(kBytes) || !CopyBeforeWrite())
        return;
    x = std::clamp(x, 0, m_pBlock->nColumns - 1);
    y = std::clamp(y, 0, m_pBlock->nRows - 1);
    auto* pixel =
        reinterpret_cast<std::uint8_t*>(m_pPixels) + PixelOffset(x, y, m_pBlock->nColumns);
    pixel[0] = std::uint8_t(value & 0xFF);
    pixel[1] = std::uint8_t((value >> 8) & 0xFF);
    pixel[2] = 0;
    WidenRange(value);
}

bool MetaMatrixRGB::SaveAsWindowsBitmap(const char* path) const
{
    if (path == nullptr || !HoldsPixels(kBytes))
        return false;
    PackedDibFormat format;
    format.nWidth = m_pBlock->nColumns;
    format.nHeight = m_pBlock->nRows;
    format.nBitCount = 24;
    format.nPelsPerMeter = 1;
    const std::vector<std::uint8_t> file =
        BuildBitmapFile(format, matrix::CopyRowsOf(m_pPixels, GetRowBytes()));
    if (file.empty())
        return false;
    std::FILE* stream = _fsopen(path, "wb", _SH_DENYNO);
    if (stream == nullptr)
    {
        matrix::LogRefusal("cannot create the bitmap file %s", path);
        return false;
    }
    CStreamCloser closer(stream);
    bool written = std::fwrite(file.data(), 1, file.size(), stream) == file.size();
    written = closer.Close() && written;
    if (!written)
        matrix::LogRefusal("writing the bitmap file %s failed", path);
    return written;
}

MetaMatrix8* MetaMatrixRGB::ToGrayScale()
{
    const int rows = m_pBlock->nRows;
    const int columns = m_pBlock->nColumns;
    auto* grey = new MetaMatrix8(8, 8, 7, rows, columns, 0, 255, 0, 1);
    if (!HoldsPixels(kBytes) || grey->IsEmpty())
        return grey;
    const auto* source = reinterpret_cast<const std::uint8_t*>(m_pPixels);
    auto* target = reinterpret_cast<std::uint8_t*>(grey->GetPixelData());
    const std::size_t count = std::size_t(rows) * std::size_t(columns);
    for (std::size_t i = 0; i < count; ++i)
        target[i] = std::uint8_t(
            (source[i * kBytes] + source[i * kBytes + 1] + source[i * kBytes + 2]) / 3);
    return grey;
}

void MetaMatrixRGB::RGB2BGR()
{
    SwapRedBlue();
}

bool MetaMatrixRGB::HoldsBgrPixels() const
{
    if (!HoldsPixels(kBytes))
        return false;
    if (!IsConvertedToBGR())
        SwapRedBlue();
    return true;
}

std::size_t MetaMatrixRGB::GetRowBytes() const
{
    return std::size_t(m_pBlock->nColumns) * kBytes;
}

void MetaMatrixRGB::SwapRedBlue() const
{
    if (!HoldsPixels(kBytes))
        return;
    SwapFirstAndThird(reinterpret_cast<std::uint8_t*>(m_pPixels),
                      std::size_t(m_pBlock->nRows) * std::size_t(m_pBlock->nColumns));
    m_pBlock->nConvertedToBGR = m_pBlock->nConvertedToBGR == 0 ? 1 : 0;
}
