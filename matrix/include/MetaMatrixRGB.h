// MetaMatrixRGB: three bytes per pixel, in R, G, B order until RGB2BGR turns
// the shared buffer into B, G, R order (the converted-to-BGR flag).
#pragma once

#include "MetaMatrix.h"

class MetaMatrix8;

class MATRIX_API MetaMatrixRGB : public MetaMatrix
{
public:
    MetaMatrixRGB() = default;
    MetaMatrixRGB(int bitsAllocated, int bitsStored, int highBit, int rows, int columns, int min,
                  int max, int isSigned, int samplesPerPixel);
    MetaMatrixRGB(const MetaMatrixRGB& source) = default;
    MetaMatrixRGB& operator=(const MetaMatrixRGB& source) = default;

    MetaMatrix* Clone() const override;
    MetaMatrix* Shadow() const override;
    void Invert() override {}
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(RotateAngle angle) override;
    // A shadow of this matrix (null when empty); the table is not used.
    MetaMatrix* GetPixmap(unsigned char* lut) const override;
    MetaMatrix* GetImagePart(const CRect* rect) const override;
    void SetImagePart(const MetaMatrix* source, const CRect* rect) override;
    void JoinAtLeft(const MetaMatrix*) override {}
    void JoinAtRight(const MetaMatrix*) override {}
    void JoinAtTop(const MetaMatrix*) override {}
    void JoinAtBottom(const MetaMatrix*) override {}
    bool LoadAsRaw(const char* path, int offset, int width, int height) override;
    bool SaveAsRaw(const char* path) const override;
    // Runs ScaleOptimize.
    void Scale(unsigned width, unsigned height) override;
    void ScaleOptimize(unsigned width, unsigned height) override;
    // A 24-bit DIB; turns the shared buffer into B, G, R order first.
    void* CreateDIB(RGBQUAD* const palette) const override;
    void* CreateDIB() const override;
    HBITMAP CreateBitmap() const override;
    // Accepts an uncompressed 24-bit DIB; the matrix comes out in R, G, B.
    bool FromDIB(void* const dib) override;
    bool FromBitmap(HBITMAP const bitmap) override;
    // byte0 | byte1 << 8 | byte2 << 16.
    int GetPixelValue(int x, int y) const override;
    void SetPixelValue(int x, int y, short value) override;
    enMatrixType GetMatrixType() const override { return enMatrixRGB; }
    bool AutoWindowLevel(int*, int*) const override { return false; }
    bool AutoWindowLevelEllipseShutter(int*, int*, RECT*) const override { return false; }
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
    void SwapRedBlue() const;
};
