// MetaMatrixRGB: three bytes per pixel, in R, G, B order until RGB2BGR turns
// the shared buffer into B, G, R order (the converted-to-BGR flag).
#pragma once

#include "MetaMatrixTyped.h"

#include <cstddef>
#include <cstdint>

class MetaMatrix8;

class MATRIX_API MetaMatrixRGB
    : public MetaMatrixPixels<MetaMatrixRGB, MetaMatrix::enMatrixRGB, std::uint8_t, 3>
{
public:
    using MetaMatrixPixels::MetaMatrixPixels;

    void Invert() override {}
    // A shadow of this matrix (null when empty); the table is not used.
    MetaMatrix* GetPixmap(unsigned char* lut) const override;
    // Runs ScaleOptimize.
    void Scale(unsigned width, unsigned height) override;
    void ScaleOptimize(unsigned width, unsigned height) override;
    // CreateDIB() stays reachable beside this overload.
    using MetaMatrixPixels::CreateDIB;
    // A 24-bit DIB (the table is not used); turns the shared buffer into
    // B, G, R order first.
    void* CreateDIB(RGBQUAD* const palette) const override;
    HBITMAP CreateBitmap() const override;
    // Accepts an uncompressed 24-bit DIB; the matrix comes out in R, G, B.
    bool FromDIB(void* const dib) override;
    // byte0 | byte1 << 8 | byte2 << 16.
    int GetPixelValue(int x, int y) const override;
    void SetPixelValue(int x, int y, short value) override;
    // A 24-bit bottom-up bitmap file of the bytes as they stand; false when
    // the file cannot be written in full.
    virtual bool SaveAsWindowsBitmap(const char* path) const;

    // New 8-bit matrix (caller owns) of the mean of the three bytes.
    MetaMatrix8* ToGrayScale();
    // Swaps the first and third byte of every pixel and toggles the flag, in
    // the shared buffer: every sharer sees the new order and flag together.
    void RGB2BGR();
    bool IsConvertedToBGR() const { return m_pBlock->nConvertedToBGR != 0; }

private:
    // True when the matrix holds its pixels, turned into B, G, R order first
    // where they are not.
    bool HoldsBgrPixels() const;
    std::size_t GetRowBytes() const;
    void SwapRedBlue() const;
};
