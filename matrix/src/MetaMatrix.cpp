// MetaMatrix: the shared block, its lifetime, copies and the min/max scans.
#include "MetaMatrix.h"

#include "MatrixSizes.h"
#include "WinInterlocked.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

namespace
{

// The empty state every matrix without pixels points at: never counted,
// never freed, never written.
MetaMatrixData g_emptyBlock = {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
alignas(16) char g_emptyPixels[16] = {};

// The start and end of the scan of CalcMinMaxPixelValue: a border of
// margin x the smaller dimension is skipped on each side.
int ScanBorder(float margin, int rows, int columns)
{
    if (!(margin > 0.0F))
        return 0;
    const double border = double(margin) * std::min(rows, columns);
    return border >= double(std::max(rows, columns)) ? std::max(rows, columns) : int(border);
}

template <class Sample>
void ScanRange(const char* pixels, int rows, int columns, int border, int& min, int& max)
{
    const auto* samples = reinterpret_cast<const Sample*>(pixels);
    for (int y = border; y < rows - border; ++y)
    {
        const Sample* row = samples + std::int64_t(y) * columns;
        for (int x = border; x < columns - border; ++x)
        {
            min = std::min<int>(min, row[x]);
            max = std::max<int>(max, row[x]);
        }
    }
}

int ClampToInt(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

} // namespace

MetaMatrix::MetaMatrix()
{
    Init();
}

MetaMatrix::MetaMatrix(int bitsAllocated, int bitsStored, int highBit, int rows, int columns,
                       int min, int max, int isSigned, int samplesPerPixel)
{
    Init();
    const std::int64_t size =
        matrix::FitProduct({matrix::SampleBytes(bitsAllocated), rows, columns, samplesPerPixel});
    if (size > 0 && AllocBuffer(int(size)))
        SetDescription(bitsAllocated, bitsStored, highBit, rows, columns, min, max, isSigned,
                       samplesPerPixel);
}

MetaMatrix::MetaMatrix(const MetaMatrix& source)
{
    Init();
    if (source.m_pBlock->nRefs < 0)
    {
        source.CopyTo(*this);
        return;
    }
    m_pPixels = source.m_pPixels;
    m_pBlock = source.m_pBlock;
    InterlockedIncrement(&m_pBlock->nRefs);
}

MetaMatrix::~MetaMatrix()
{
    Release();
}

MetaMatrix& MetaMatrix::operator=(const MetaMatrix& source)
{
    if (m_pPixels == source.m_pPixels)
        return *this;
    if ((m_pBlock->nRefs < 0 && m_pBlock != &g_emptyBlock) || source.m_pBlock->nRefs < 0)
    {
        source.CopyTo(*this);
        return *this;
    }
    Release();
    m_pPixels = source.m_pPixels;
    m_pBlock = source.m_pBlock;
    InterlockedIncrement(&m_pBlock->nRefs);
    return *this;
}

void MetaMatrix::Attach(void* pixels, int bitsAllocated, int bitsStored, int highBit, int rows,
                        int columns, int min, int max, int isSigned, int samplesPerPixel)
{
    Release();
    const std::int64_t size = bitsAllocated == 1
                                  ? matrix::PackedBitBytes({rows, columns, samplesPerPixel})
                                  : matrix::FitProduct({matrix::SampleBytes(bitsAllocated), rows,
                                                        columns, samplesPerPixel});
    if (size <= 0)
    {
        delete[] static_cast<char*>(pixels);
        return;
    }
    if (AdoptBuffer(static_cast<char*>(pixels), int(size)))
        SetDescription(bitsAllocated, bitsStored, highBit, rows, columns, min, max, isSigned,
                       samplesPerPixel);
}

void* MetaMatrix::Detach()
{
    if (IsEmpty())
    {
        Release();
        return nullptr;
    }
    if (m_pBlock->nRefs != 1)
    {
        // Other matrices still read this buffer: the caller gets its own.
        char* copy = new (std::nothrow) char[std::size_t(m_pBlock->nDataLength)];
        if (copy != nullptr)
            std::memcpy(copy, m_pPixels, std::size_t(m_pBlock->nDataLength));
        Release();
        return copy;
    }
    char* pixels = m_pPixels;
    delete m_pBlock;
    Init();
    return pixels;
}

void MetaMatrix::Empty()
{
    if (!IsEmpty())
        Release();
}

void MetaMatrix::CopyTo(MetaMatrix& target) const
{
    if (&target == this)
        return;
    if (IsEmpty())
    {
        target.Release();
        return;
    }
    if (!target.AllocBeforeWrite(m_pBlock->nAllocLength))
        return;
    target.m_pBlock->nAllocLength = m_pBlock->nAllocLength;
    target.m_pBlock->nDataLength = m_pBlock->nDataLength;
    target.CopyDescription(*m_pBlock);
    std::memcpy(target.m_pPixels, m_pPixels, std::size_t(m_pBlock->nDataLength));
}

void MetaMatrix::CalcMinMaxPixelValue(float margin)
{
    const MetaMatrixData& data = *m_pBlock;
    const int bits = data.nBitsAllocated;
    // One bit per pixel holds no byte samples to scan.
    const int sampleBytes = bits > 1 && bits <= 8 ? 1 : (bits > 8 && bits <= 16 ? 2 : 0);
    if (sampleBytes == 0 || !HoldsPixels(sampleBytes))
        return;
    const int border = ScanBorder(margin, data.nRows, data.nColumns);
    int min = 0;
    int max = 0;
    if (sampleBytes == 1)
    {
        min = 255;
        ScanRange<std::uint8_t>(m_pPixels, data.nRows, data.nColumns, border, min, max);
    }
    else if (data.nSigned == 0)
    {
        min = 65535;
        ScanRange<std::uint16_t>(m_pPixels, data.nRows, data.nColumns, border, min, max);
    }
    else
    {
        min = 32767;
        max = -32768;
        ScanRange<std::int16_t>(m_pPixels, data.nRows, data.nColumns, border, min, max);
    }
    m_pBlock->nMin = min;
    m_pBlock->nMax = max;
}

void MetaMatrix::CalcMinSetMaxSetPixelValue(float margin)
{
    if (IsEmpty())
        return;
    CalcMinMaxPixelValue(margin);
    const std::int64_t min = m_pBlock->nMin;
    const std::int64_t max = m_pBlock->nMax;
    if (min > 0)
        m_pBlock->nMin = ClampToInt(std::int64_t(1) << (matrix::BitLength(min) - 1));
    else if (min < 0)
        m_pBlock->nMin = ClampToInt(-(std::int64_t(1) << matrix::BitLength(-min)));
    if (max > 0)
        m_pBlock->nMax = ClampToInt((std::int64_t(1) << matrix::BitLength(max)) - 1);
    else if (max < 0)
        m_pBlock->nMax = ClampToInt(-(std::int64_t(1) << matrix::BitLength(-max)) - 1);
}

void MetaMatrix::Init()
{
    m_pPixels = g_emptyPixels;
    m_pBlock = &g_emptyBlock;
}

bool MetaMatrix::AllocBuffer(int n, bool zeroPixels)
{
    Release();
    if (n <= 0)
        return true;
    char* pixels = zeroPixels ? new (std::nothrow) char[std::size_t(n)]()
                              : new (std::nothrow) char[std::size_t(n)];
    return pixels != nullptr && AdoptBuffer(pixels, n);
}

bool MetaMatrix::AdoptBuffer(char* pixels, int length)
{
    Release();
    auto* block = new (std::nothrow) MetaMatrixData{};
    if (block == nullptr)
    {
        delete[] pixels;
        return false;
    }
    block->nRefs = 1;
    block->nDataLength = length;
    block->nAllocLength = length;
    m_pPixels = pixels;
    m_pBlock = block;
    return true;
}

bool MetaMatrix::AdoptPixels(char* pixels, int rows, int columns, int dataLength)
{
    const MetaMatrixData description = *m_pBlock;
    if (!AdoptBuffer(pixels, dataLength))
        return false;
    CopyDescription(description);
    m_pBlock->nRows = rows;
    m_pBlock->nColumns = columns;
    return true;
}

void MetaMatrix::Release()
{
    if (m_pBlock != &g_emptyBlock && m_pBlock->nRefs >= 0 &&
        InterlockedDecrement(&m_pBlock->nRefs) <= 0)
    {
        delete[] m_pPixels;
        delete m_pBlock;
    }
    Init();
}

bool MetaMatrix::CopyBeforeWrite()
{
    if (m_pBlock->nRefs <= 1)
        return true;
    const int length = m_pBlock->nDataLength;
    char* pixels = new (std::nothrow) char[std::size_t(length)];
    auto* block = new (std::nothrow) MetaMatrixData{};
    if (pixels == nullptr || block == nullptr)
    {
        delete[] pixels;
        delete block;
        return false;
    }
    std::memcpy(pixels, m_pPixels, std::size_t(length));
    *block = *m_pBlock;
    block->nRefs = 1;
    block->nAllocLength = length;
    Release();
    m_pPixels = pixels;
    m_pBlock = block;
    return true;
}

bool MetaMatrix::AllocBeforeWrite(int n)
{
    if (m_pBlock->nRefs <= 1 && m_pBlock->nAllocLength >= n)
        return true;
    return AllocBuffer(n);
}

void MetaMatrix::CopyDescription(const MetaMatrixData& source)
{
    SetDescription(source.nBitsAllocated, source.nBitsStored, source.nHighBit, source.nRows,
                   source.nColumns, source.nMin, source.nMax, source.nSigned,
                   source.nSamplesPerPixel);
    m_pBlock->nConvertedToBGR = source.nConvertedToBGR;
}

void MetaMatrix::SetDescription(int bitsAllocated, int bitsStored, int highBit, int rows,
                                int columns, int min, int max, int isSigned, int samplesPerPixel)
{
    MetaMatrixData& data = *m_pBlock;
    data.nBitsAllocated = bitsAllocated;
    data.nBitsStored = bitsStored;
    data.nHighBit = highBit;
    data.nRows = rows;
    data.nColumns = columns;
    data.nMin = min;
    data.nMax = max;
    data.nSigned = isSigned;
    data.nSamplesPerPixel = samplesPerPixel;
}

bool MetaMatrix::HoldsPixels(int bytesPerPixel) const
{
    const MetaMatrixData& data = *m_pBlock;
    if (data.nDataLength == 0 || data.nRows <= 0 || data.nColumns <= 0)
        return false;
    const std::int64_t needed = matrix::FitProduct({data.nRows, data.nColumns, bytesPerPixel});
    return needed >= 0 && needed <= data.nDataLength;
}

void MetaMatrix::WidenRange(int value)
{
    m_pBlock->nMin = std::min(m_pBlock->nMin, value);
    m_pBlock->nMax = std::max(m_pBlock->nMax, value);
}
