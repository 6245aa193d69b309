#include "RealImage.h"

#include "RealImagePixels.h"

#include <memory>
#include <new>

namespace
{

constexpr int SampleBytes = 2;

std::uint16_t* AsSamples(std::uint8_t* bytes)
{
    return reinterpret_cast<std::uint16_t*>(bytes);
}

} // namespace

RealImage16::RealImage16(std::uint16_t* pixels, int width, int height, int depth, int minImage,
                         int maxImage, int minSet, int maxSet, float intercept, float slope)
    : RealImage(width, height, depth, minImage, maxImage, minSet, maxSet, intercept, slope),
      m_pPixels(pixels)
{
}

RealImage16::RealImage16(const RealImage16& other)
    : RealImage(other),
      m_pPixels(AsSamples(realimage::CopyBuffer(other.m_pPixels, other.GetImageLength())))
{
}

RealImage16& RealImage16::operator=(const RealImage16& other)
{
    if (this != &other)
    {
        std::uint8_t* copy = realimage::CopyBuffer(other.m_pPixels, other.GetImageLength());
        RealImage::operator=(other);
        realimage::FreeBuffer(m_pPixels);
        m_pPixels = AsSamples(copy);
    }
    return *this;
}

RealImage16::~RealImage16()
{
    realimage::FreeBuffer(m_pPixels);
}

std::uint8_t* RealImage16::GetPixmap()
{
    unsigned char* table = m_lut.CreateLookupTableEx(m_nDepth);
    if (table == nullptr)
        return nullptr;
    std::uint8_t* pixmap = GetPixmapEx(table + LookupTable::SignedTableOffset);
    delete[] table;
    return pixmap;
}

std::uint8_t* RealImage16::GetPixmap(const std::uint8_t* table)
{
    std::uint8_t* pixmap =
        m_pPixels != nullptr && table != nullptr ? realimage::NewBuffer(GetPixelCount()) : nullptr;
    if (pixmap == nullptr)
        return nullptr;
    for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
        pixmap[i] = table[m_pPixels[i]];
    return pixmap;
}

std::uint8_t* RealImage16::GetPixmap(int useImageRange)
{
    std::uint8_t* pixmap = m_pPixels != nullptr ? realimage::NewBuffer(GetPixelCount()) : nullptr;
    if (pixmap == nullptr)
        return nullptr;
    const int lo = useImageRange != 0 ? m_nMinImage : m_nMinSet;
    const int hi = useImageRange != 0 ? m_nMaxImage : m_nMaxSet;
    for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
        pixmap[i] = realimage::DisplayLevel(GetSample(i), lo, hi);
    return pixmap;
}

std::uint8_t* RealImage16::GetPixmapEx(const std::uint8_t* table)
{
    std::uint8_t* pixmap =
        m_pPixels != nullptr && table != nullptr ? realimage::NewBuffer(GetPixelCount()) : nullptr;
    if (pixmap == nullptr)
        return nullptr;
    for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
        pixmap[i] = table[GetSample(i)];
    return pixmap;
}

void RealImage16::Invert()
{
    if (m_pPixels != nullptr)
    {
        const int sum = m_nMinSet + m_nMaxSet;
        for (std::uint64_t i = 0, count = GetPixelCount(); i < count; ++i)
            m_pPixels[i] = std::uint16_t(sum - GetSample(i));
    }
    RealImage::Invert();
}

void RealImage16::FlipVertical()
{
    DoFlipVertical(SampleBytes);
}

void RealImage16::FlipHorizontal()
{
    DoFlipHorizontal(SampleBytes);
}

void RealImage16::Rotate(RotateAngle angle)
{
    DoRotate(angle, SampleBytes);
}

int RealImage16::GetPixelValue(int x, int y) const
{
    if (!IsInside(x, y))
        return 0;
    const float sample = float(GetSample(std::uint64_t(y) * m_nWidth + x));
    return realimage::TruncToInt(double(sample * m_fSlope + m_fIntercept));
}

void RealImage16::SetPixelValue(int x, int y, short value)
{
    if (!IsInside(x, y))
        return;
    const int lo = m_nSigned != 0 ? -32768 : 0;
    const int hi = m_nSigned != 0 ? 32767 : 65535;
    m_pPixels[std::uint64_t(y) * m_nWidth + x] =
        std::uint16_t(realimage::CalibratedToSample(value, m_fIntercept, m_fSlope, lo, hi));
}

int RealImage16::GetInternalPixel(int x, int y) const
{
    return IsInside(x, y) ? GetSample(std::uint64_t(y) * m_nWidth + x) : 0;
}

void RealImage16::SetInternalPixel(int x, int y, int value)
{
    if (!IsInside(x, y))
        return;
    const std::uint64_t index = std::uint64_t(y) * m_nWidth + x;
    m_pPixels[index] = std::uint16_t(value);
    WidenRange(GetSample(index));
}

std::uint32_t RealImage16::GetImageLength() const
{
    return m_pPixels != nullptr ? std::uint32_t(GetPixelCount() * SampleBytes) : 0;
}

void* RealImage16::Attach(void* pixels)
{
    void* previous = m_pPixels;
    m_pPixels = static_cast<std::uint16_t*>(pixels);
    return previous;
}

void* RealImage16::Detach()
{
    return Attach(nullptr);
}

RealImage* RealImage16::GetImagePart(const DRect* rect) const
{
    DRect part;
    if (m_pPixels == nullptr || !realimage::ClipPart(rect, m_nWidth, m_nHeight, part))
        return nullptr;
    std::uint8_t* pixels = realimage::CopyPart(reinterpret_cast<const std::uint8_t*>(m_pPixels),
                                               m_nWidth, part, SampleBytes);
    if (pixels == nullptr)
        return nullptr;
    auto* image = new (std::nothrow)
        RealImage16(AsSamples(pixels), part.Width(), part.Height(), m_nDepth, m_nMinImage,
                    m_nMaxImage, m_nMinSet, m_nMaxSet, m_fIntercept, m_fSlope);
    if (image == nullptr)
    {
        realimage::FreeBuffer(pixels);
        return nullptr;
    }
    InitPart(*image);
    return image;
}

int RealImage16::SetImagePart(int x, int y, const RealImage* source, int mode)
{
    const auto* other = dynamic_cast<const RealImage16*>(source);
    if (other == nullptr || other->m_nDepth != m_nDepth || m_pPixels == nullptr ||
        other->m_pPixels == nullptr ||
        !realimage::FitsAt(x, y, other->m_nWidth, other->m_nHeight, m_nWidth, m_nHeight))
        return 0;
    realimage::PasteSamples(m_pPixels, m_nWidth, other->m_pPixels, other->m_nWidth,
                            other->m_nHeight, x, y, mode);
    return 1;
}

int RealImage16::SaveAsWindowsBitmap(const char* path)
{
    std::unique_ptr<RealImage8> levels(Remap());
    return levels != nullptr ? levels->SaveAsWindowsBitmap(path) : 0;
}

int RealImage16::SaveAsRaw(const char* path)
{
    return DoSaveAsRaw(path);
}

int RealImage16::Scale(int width, int height)
{
    if (width == m_nWidth && height == m_nHeight)
        return 1;
    std::unique_ptr<std::uint16_t[]> scaled;
    const char* entry = m_nSigned == 1 ? "ResampleS16" : "ResampleU16";
    enResampleOutcome outcome;
    if (m_nSigned == 1)
    {
        std::unique_ptr<std::int16_t[]> signedScaled;
        outcome = ResampleCall::ResampleS16(reinterpret_cast<const std::int16_t*>(m_pPixels),
                                            m_nWidth, m_nHeight, width, height, 0, signedScaled);
        scaled.reset(reinterpret_cast<std::uint16_t*>(signedScaled.release()));
    }
    else
    {
        outcome =
            ResampleCall::ResampleU16(m_pPixels, m_nWidth, m_nHeight, width, height, 0, scaled);
    }
    if (!realimage::IsResampled(outcome, ResampleCall::PemsolaFile, entry))
        return 0;
    realimage::FreeBuffer(Attach(scaled.release()));
    m_nWidth = width;
    m_nHeight = height;
    return 1;
}

HGLOBAL RealImage16::CreateDIB()
{
    std::unique_ptr<RealImage8> levels(Remap());
    return levels != nullptr ? levels->CreateDIB() : nullptr;
}

HBITMAP RealImage16::CreateBitmap()
{
    std::unique_ptr<RealImage8> levels(Remap());
    return levels != nullptr ? levels->CreateBitmap() : nullptr;
}

int RealImage16::GetSample(std::uint64_t index) const
{
    return m_nSigned != 0 ? int(std::int16_t(m_pPixels[index])) : int(m_pPixels[index]);
}
