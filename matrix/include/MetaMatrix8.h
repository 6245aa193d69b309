// MetaMatrix8: one byte per pixel, signed when the signed flag is set.
#pragma once

#include "MetaMatrixTyped.h"

#include <cstdint>

class MetaMatrix16;

class MATRIX_API MetaMatrix8
    : public MetaMatrixGrey<MetaMatrix8, MetaMatrix::enMatrix8, std::uint8_t>
{
public:
    using MetaMatrixGrey::MetaMatrixGrey;

    MetaMatrix* GetPixmap(unsigned char* lut) const override;
    // CreateDIB() stays reachable beside this overload.
    using MetaMatrixGrey::CreateDIB;
    // An 8-bit DIB whose table is the 256 given entries (grey when null).
    void* CreateDIB(RGBQUAD* const palette) const override;
    HBITMAP CreateBitmap() const override;
    // Accepts an uncompressed 8-bit DIB with 256 colours; the indices become
    // the samples.
    bool FromDIB(void* const dib) override;
    // Plain min/max rule over all samples.
    bool AutoWindowLevel(int* width, int* center) const override;

    // New unsigned 16-bit matrix (caller owns) of factor x each byte.
    MetaMatrix16* ToMatrix16(int factor);
};
