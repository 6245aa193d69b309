#include "J2kDecoder.h"

#include "J2kSizeSegment.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <optional>
#include <unistd.h>

namespace
{
// The signature box that opens a JP2 file, and the start of a bare
// codestream (SOC followed by SIZ).
constexpr std::array<uint8_t, 12> kJp2Signature = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50,
                                                   0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
constexpr std::array<uint8_t, 4> kCodestreamStart = {0xFF, 0x4F, 0xFF, 0x51};

std::optional<OPJ_CODEC_FORMAT> GetCodecFormat(const uint8_t* pData, size_t nLength)
{
    if (nLength >= kJp2Signature.size() &&
        std::memcmp(pData, kJp2Signature.data(), kJp2Signature.size()) == 0)
    {
        return OPJ_CODEC_JP2;
    }
    if (nLength >= kCodestreamStart.size() &&
        std::memcmp(pData, kCodestreamStart.data(), kCodestreamStart.size()) == 0)
    {
        return OPJ_CODEC_J2K;
    }
    return std::nullopt;
}

// One component's samples into their places among the interleaved
// Components of the output, in little-endian Sample units; irreversible
// coding may overshoot the range of the precision by a little, so they are
// clamped to it. A plain loop with a fixed step, which the compiler turns
// into vector code.
template <typename Sample, size_t Components>
void StoreComponent(const opj_image_comp_t& component, unsigned char* pOut, size_t nPixels)
{
    static_assert(std::endian::native == std::endian::little);
    const int32_t nLow = component.sgnd ? -(1 << (component.prec - 1)) : 0;
    const int32_t nHigh =
        component.sgnd ? (1 << (component.prec - 1)) - 1 : (1 << component.prec) - 1;
    const OPJ_INT32* pIn = component.data;
    for (size_t i = 0; i < nPixels; ++i)
    {
        const auto nValue = static_cast<Sample>(std::clamp(pIn[i], nLow, nHigh));
        std::memcpy(pOut + i * Components * sizeof(Sample), &nValue, sizeof nValue);
    }
}

template <typename Sample>
void StoreComponent(const opj_image_comp_t& component, unsigned char* pOut, size_t nPixels,
                    uint32_t nComponents)
{
    if (nComponents == 1)
    {
        StoreComponent<Sample, 1>(component, pOut, nPixels);
    }
    else
    {
        StoreComponent<Sample, 3>(component, pOut, nPixels);
    }
}

// Below this many samples, or this many bytes of codestream (the work of
// decoding the code blocks grows with their coded bytes), a frame decodes
// faster than worker threads start.
constexpr uint64_t kThreadedSamples = 128 * 128;
constexpr size_t kThreadedBytes = 0x8000;

// OpenJPEG decodes the code blocks of a tile, and the tiles, on worker
// threads: one per core for a frame with enough coded data to share among
// them. A codec without thread support decodes on the calling thread alone.
void SetDecodeThreads(opj_codec_t* pCodec, const J2kSizeSegment& size, size_t nLength)
{
    const uint64_t nSamples = uint64_t{size.nWidth} * size.nHeight * size.nComponents;
    const long nCores = sysconf(_SC_NPROCESSORS_ONLN);
    if (nSamples >= kThreadedSamples && nLength >= kThreadedBytes && nCores > 1 &&
        opj_has_thread_support())
    {
        opj_codec_set_threads(pCodec, static_cast<int>(nCores));
    }
}
} // namespace

J2kDecoder::J2kDecoder(enJ2kLayout layout) : m_layout(layout) {}

bool J2kDecoder::DoDecode(const uint8_t* pData, size_t nLength)
{
    const std::optional<OPJ_CODEC_FORMAT> format = GetCodecFormat(pData, nLength);
    // OpenJPEG sets up every declared tile and component while it reads the
    // main header, so the declared sizes are weighed first.
    J2kSizeSegment size;
    if (!format || !ReadSizeSegment(pData, nLength, size) ||
        !IsInProportion(size, m_layout, nLength))
    {
        return false;
    }
    bool bFailed = false;
    J2kCodecPtr pCodec(opj_create_decompress(*format));
    J2kReadSource source{pData, nLength, 0};
    J2kStreamPtr pStream = CreateReadStream(source);
    if (!pCodec || !pStream)
    {
        return false;
    }
    SetQuietHandlers(pCodec.get(), &bFailed);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(pCodec.get(), &parameters) ||
        !opj_decoder_set_strict_mode(pCodec.get(), OPJ_TRUE))
    {
        return false;
    }
    SetDecodeThreads(pCodec.get(), size, nLength);
    opj_image_t* pRawImage = nullptr;
    const bool bHeaderRead = opj_read_header(pStream.get(), pCodec.get(), &pRawImage);
    J2kImagePtr pImage(pRawImage);
    if (!bHeaderRead || bFailed || !pImage || !IsAcceptable(*pImage))
    {
        return false;
    }
    if (!opj_decode(pCodec.get(), pStream.get(), pImage.get()) ||
        !opj_end_decompress(pCodec.get(), pStream.get()) || bFailed || !IsDecoded(*pImage))
    {
        return false;
    }
    return DoConvert(*pImage);
}

// Checked on the header, before the codec allocates for the whole image.
bool J2kDecoder::IsAcceptable(const opj_image_t& image) const
{
    if (image.numcomps != GetComponentCount(m_layout) || image.comps == nullptr ||
        image.x1 <= image.x0 || image.y1 <= image.y0)
    {
        return false;
    }
    const uint64_t nWidth = image.x1 - image.x0;
    const uint64_t nHeight = image.y1 - image.y0;
    if (nWidth > kMaxDimension || nHeight > kMaxDimension ||
        nWidth * nHeight * image.numcomps * GetBytesPerSample(m_layout) > kMaxPixelBytes)
    {
        return false;
    }
    for (uint32_t i = 0; i < image.numcomps; ++i)
    {
        const opj_image_comp_t& component = image.comps[i];
        if (component.dx != 1 || component.dy != 1 || component.prec < 1 ||
            component.prec > GetMaxPrecision(m_layout))
        {
            return false;
        }
    }
    return true;
}

// Every component decoded at full size, equal for all of them.
bool J2kDecoder::IsDecoded(const opj_image_t& image) const
{
    if (!IsAcceptable(image))
    {
        return false;
    }
    for (uint32_t i = 0; i < image.numcomps; ++i)
    {
        const opj_image_comp_t& component = image.comps[i];
        if (component.data == nullptr || component.factor != 0 || component.w != image.comps[0].w ||
            component.h != image.comps[0].h || component.w == 0 || component.h == 0)
        {
            return false;
        }
    }
    return true;
}

bool J2kDecoder::DoConvert(const opj_image_t& image)
{
    const uint32_t nComponents = image.numcomps;
    const uint32_t nBytes = GetBytesPerSample(m_layout);
    const size_t nPixels = size_t{image.comps[0].w} * image.comps[0].h;
    m_pPixels.reset(new (std::nothrow) unsigned char[nPixels * nComponents * nBytes]);
    if (!m_pPixels)
    {
        return false;
    }
    for (uint32_t c = 0; c < nComponents; ++c)
    {
        unsigned char* pOut = m_pPixels.get() + c * nBytes;
        if (nBytes == 2)
        {
            StoreComponent<uint16_t>(image.comps[c], pOut, nPixels, nComponents);
        }
        else
        {
            StoreComponent<uint8_t>(image.comps[c], pOut, nPixels, nComponents);
        }
    }
    m_nRows = image.comps[0].h;
    m_nColumns = image.comps[0].w;
    return true;
}
