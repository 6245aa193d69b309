// Decoder of one JPEG 2000 frame (bare codestream or JP2 file) into the pixel
// layout of an entry.
#pragma once

#include "J2kOpenJpeg.h"

#include <memory>

class J2kDecoder
{
public:
    explicit J2kDecoder(enJ2kLayout layout);

    // False when the data is neither kind of stream, is damaged or truncated,
    // or does not fit the layout (component count, precision, size).
    bool DoDecode(const uint8_t* pData, size_t nLength);

    uint32_t GetRows() const { return m_nRows; }
    uint32_t GetColumns() const { return m_nColumns; }

    // Hands over the pixels (a new[] buffer) after a successful DoDecode.
    unsigned char* DetachPixels() { return m_pPixels.release(); }

private:
    bool IsAcceptable(const opj_image_t& image) const;
    bool IsDecoded(const opj_image_t& image) const;
    bool DoConvert(const opj_image_t& image);

    enJ2kLayout m_layout;
    uint32_t m_nRows = 0;
    uint32_t m_nColumns = 0;
    std::unique_ptr<unsigned char[]> m_pPixels;
};
