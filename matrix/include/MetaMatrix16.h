// MetaMatrix16: one 16-bit sample per pixel, signed when the signed flag is
// set. 9 to 16 bits allocated all take two bytes per pixel.
#pragma once

#include "MetaMatrixTyped.h"

#include <cstdint>

class MATRIX_API MetaMatrix16
    : public MetaMatrixGrey<MetaMatrix16, MetaMatrix::enMatrix16, std::uint16_t>
{
public:
    using MetaMatrixGrey::MetaMatrixGrey;

    // lut addresses the entry of sample 0; a signed matrix's table reaches
    // 32768 entries before it.
    MetaMatrix* GetPixmap(unsigned char* lut) const override;
    // The other matrix is read as 16-bit samples and must have as many rows.
    void JoinAtLeft(const MetaMatrix* other) override;
    void JoinAtRight(const MetaMatrix* other) override;
    // The other matrix goes below; the narrower one is padded with zeros.
    void JoinAtBottom(const MetaMatrix* other) override;
    // CreateDIB() stays reachable beside this overload.
    using MetaMatrixGrey::CreateDIB;
    // An 8-bit DIB of the samples shifted right so that max fits in 8 bits;
    // null when max is below 256 or 65535 and above.
    void* CreateDIB(RGBQUAD* const palette) const override;
    // No screen bitmap and no DIB is taken for 16-bit samples: null, false.
    HBITMAP CreateBitmap() const override;
    bool FromDIB(void* const dib) override;
    // Histogram estimate: the range left after cutting one per cent of the
    // pixels at each end; false when no such range exists.
    bool AutoWindowLevel(int* width, int* center) const override;
    bool AutoWindowLevelEllipseShutter(int* width, int* center, RECT* rect) const override;

private:
    // Replaces this matrix by the rows of left followed by those of right.
    void JoinBeside(const MetaMatrix& left, const MetaMatrix& right);
};
