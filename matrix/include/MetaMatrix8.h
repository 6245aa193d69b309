// MetaMatrix8: one byte per pixel, signed when the signed flag is set.
#pragma once

#include "MetaMatrix.h"

class MetaMatrix16;

class MATRIX_API MetaMatrix8 : public MetaMatrix
{
public:
    MetaMatrix8() = default;
    MetaMatrix8(int bitsAllocated, int bitsStored, int highBit, int rows, int columns, int min,
                int max, int isSigned, int samplesPerPixel);
    MetaMatrix8(const MetaMatrix8& source) = default;
    MetaMatrix8& operator=(const MetaMatrix8& source) = default;

    MetaMatrix* Clone() const override;
    MetaMatrix* Shadow() const override;
    void Invert() override;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(RotateAngle angle) override;
    MetaMatrix* GetPixmap(unsigned char* lut) const override;
    MetaMatrix* GetImagePart(const CRect* rect) const override;
    void SetImagePart(const MetaMatrix* source, const CRect* rect) override;
    void JoinAtLeft(const MetaMatrix* other) override;
    void JoinAtRight(const MetaMatrix* other) override;
    void JoinAtTop(const MetaMatrix* other) override;
    void JoinAtBottom(const MetaMatrix* other) override;
    bool LoadAsRaw(const char* path, int offset, int width, int height) override;
    bool SaveAsRaw(const char* path) const override;
    // Nearest neighbour.
    void Scale(unsigned width, unsigned height) override;
    void ScaleOptimize(unsigned width, unsigned height) override;
    // An 8-bit DIB whose table is the 256 given entries (grey when null).
    void* CreateDIB(RGBQUAD* const palette) const override;
    void* CreateDIB() const override;
    HBITMAP CreateBitmap() const override;
    // Accepts an uncompressed 8-bit DIB with 256 colours; the indices become
    // the samples.
    bool FromDIB(void* const dib) override;
    bool FromBitmap(HBITMAP const bitmap) override;
    int GetPixelValue(int x, int y) const override;
    void SetPixelValue(int x, int y, short value) override;
    enMatrixType GetMatrixType() const override { return enMatrix8; }
    // Plain min/max rule over all samples.
    bool AutoWindowLevel(int* width, int* center) const override;
    bool AutoWindowLevelEllipseShutter(int* width, int* center, RECT* rect) const override;

    // New unsigned 16-bit matrix (caller owns) of factor x each byte.
    MetaMatrix16* ToMatrix16(int factor);
};
