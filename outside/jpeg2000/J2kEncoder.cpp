#include "J2kEncoder.h"

#include <algorithm>
#include <array>
#include <bit>

namespace
{
constexpr int kMaxResolutions = 6;
} // namespace

J2kEncoder::J2kEncoder(enJ2kLayout layout, bool bLossless, bool bSigned)
    : m_layout(layout), m_bLossless(bLossless), m_bSigned(bSigned)
{
}

bool J2kEncoder::DoEncode(const uint8_t* pRaw, uint32_t nRows, uint32_t nColumns)
{
    if (pRaw == nullptr || nRows == 0 || nColumns == 0 || nRows > kMaxDimension ||
        nColumns > kMaxDimension)
    {
        return false;
    }
    J2kImagePtr pImage = MakeImage(pRaw, nRows, nColumns);
    J2kCodecPtr pCodec(opj_create_compress(OPJ_CODEC_J2K));
    J2kStreamPtr pStream = CreateWriteStream(m_target);
    if (!pImage || !pCodec || !pStream)
    {
        return false;
    }
    bool bFailed = false;
    SetQuietHandlers(pCodec.get(), &bFailed);
    opj_cparameters_t parameters;
    SetParameters(parameters, nRows, nColumns);
    const bool bDone = opj_setup_encoder(pCodec.get(), &parameters, pImage.get()) &&
                       opj_start_compress(pCodec.get(), pImage.get(), pStream.get()) &&
                       opj_encode(pCodec.get(), pStream.get()) &&
                       opj_end_compress(pCodec.get(), pStream.get());
    return bDone && !bFailed && !m_target.bytes.empty();
}

J2kImagePtr J2kEncoder::MakeImage(const uint8_t* pRaw, uint32_t nRows, uint32_t nColumns) const
{
    const uint32_t nComponents = GetComponentCount(m_layout);
    std::array<opj_image_cmptparm_t, 3> components{};
    for (uint32_t c = 0; c < nComponents; ++c)
    {
        components[c].dx = 1;
        components[c].dy = 1;
        components[c].w = nColumns;
        components[c].h = nRows;
        components[c].prec = GetMaxPrecision(m_layout);
        components[c].sgnd = m_bSigned ? 1 : 0;
    }
    const OPJ_COLOR_SPACE space = nComponents == 3 ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY;
    J2kImagePtr pImage(opj_image_create(nComponents, components.data(), space));
    if (!pImage)
    {
        return nullptr;
    }
    pImage->x1 = nColumns;
    pImage->y1 = nRows;
    const size_t nPixels = size_t{nRows} * nColumns;
    const size_t nStride = size_t{nComponents} * GetBytesPerSample(m_layout);
    for (uint32_t c = 0; c < nComponents; ++c)
    {
        const uint8_t* pSample = pRaw + c * GetBytesPerSample(m_layout);
        for (size_t i = 0; i < nPixels; ++i, pSample += nStride)
        {
            pImage->comps[c].data[i] = ReadSample(pSample);
        }
    }
    return pImage;
}

int32_t J2kEncoder::ReadSample(const uint8_t* pSample) const
{
    if (GetBytesPerSample(m_layout) == 2)
    {
        const auto nWord = static_cast<uint16_t>(pSample[0] | pSample[1] << 8);
        return m_bSigned ? static_cast<int16_t>(nWord) : nWord;
    }
    return m_bSigned ? static_cast<int8_t>(pSample[0]) : pSample[0];
}

// One quality layer; the colour transform for RGB; as many wavelet levels as
// the smaller side allows, up to the usual five decompositions.
void J2kEncoder::SetParameters(opj_cparameters_t& parameters, uint32_t nRows,
                               uint32_t nColumns) const
{
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.cp_disto_alloc = 1;
    parameters.tcp_rates[0] = m_bLossless ? 0.0f : kLossyRatio;
    parameters.irreversible = m_bLossless ? 0 : 1;
    parameters.tcp_mct = GetComponentCount(m_layout) == 3 ? 1 : 0;
    const int nLevels = std::bit_width(std::min(nRows, nColumns));
    parameters.numresolution = std::clamp(nLevels, 1, kMaxResolutions);
}
