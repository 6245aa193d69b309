// Encoder of one frame into a bare JPEG 2000 codestream, reversible (lossless)
// or irreversible at a fixed compression ratio.
#pragma once

#include "J2kOpenJpeg.h"

#include <vector>

class J2kEncoder
{
public:
    // Compression ratio of irreversible coding: display quality for grey and
    // colour images alike.
    static constexpr float kLossyRatio = 10.0f;

    J2kEncoder(enJ2kLayout layout, bool bLossless, bool bSigned);

    // False for sizes outside 1..65535 or when the codec fails.
    bool DoEncode(const uint8_t* pRaw, uint32_t nRows, uint32_t nColumns);

    const std::vector<uint8_t>& GetCodestream() const { return m_target.bytes; }

private:
    J2kImagePtr MakeImage(const uint8_t* pRaw, uint32_t nRows, uint32_t nColumns) const;
    void SetParameters(opj_cparameters_t& parameters, uint32_t nRows, uint32_t nColumns) const;
    int32_t ReadSample(const uint8_t* pSample) const;

    enJ2kLayout m_layout;
    bool m_bLossless;
    bool m_bSigned;
    J2kWriteTarget m_target;
};
