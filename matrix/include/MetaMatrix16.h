// MetaMatrix16: one 16-bit sample per pixel, signed when the signed flag is
// set. 9 to 16 bits allocated all take two bytes per pixel.
#pragma once

#include "MetaMatrix.h"

class MATRIX_API MetaMatrix16 : public MetaMatrix
{
public:
    MetaMatrix16() = default;
    MetaMatrix16(int bitsAllocated, int bitsStored, int highBit, int rows, int columns, int min,
                 int max, int isSigned, int samplesPerPixel);
    MetaMatrix16(const MetaMatrix16& source) = default;
    MetaMatrix16& operator=(const MetaMatrix16& source) = default;

    MetaMatrix* Clone() const override;
    MetaMatrix* Shadow() const override;
    void Invert() override;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(RotateAngle angle) override;
    // lut addresses the entry of sample 0; a signed matrix's table reaches
    // 32768 entries before it.
    MetaMatrix* GetPixmap(unsigned char* lut) const override;
    MetaMatrix* GetImagePart(const CRect* rect) const override;
    void SetImagePart(const MetaMatrix* source, const CRect* rect) override;
    // The other matrix is read as 16-bit samples and must have as many rows.
    void JoinAtLeft(const MetaMatrix* other) override;
    void JoinAtRight(const MetaMatrix* other) override;
    void JoinAtTop(const MetaMatrix* other) override;
    // The other matrix goes below; the narrower one is padded with zeros.
    void JoinAtBottom(const MetaMatrix* other) override;
    bool LoadAsRaw(const char* path, int offset, int width, int height) override;
    bool SaveAsRaw(const char* path) const override;
    void Scale(unsigned width, unsigned height) override;
    void ScaleOptimize(unsigned width, unsigned height) override;
    // An 8-bit DIB of the samples shifted right so that max fits in 8 bits;
    // null when max is below 256 or 65535 and above.
    void* CreateDIB(RGBQUAD* const palette) const override;
    void* CreateDIB() const override;
    HBITMAP CreateBitmap() const override;
    bool FromDIB(void* const dib) override;
    bool FromBitmap(HBITMAP const bitmap) override;
    int GetPixelValue(int x, int y) const override;
    void SetPixelValue(int x, int y, short value) override;
    enMatrixType GetMatrixType() const override { return enMatrix16; }
    // Histogram estimate: the range left after cutting one per cent of the
    // pixels at each end; false when no such range exists.
    bool AutoWindowLevel(int* width, int* center) const override;
    bool AutoWindowLevelEllipseShutter(int* width, int* center, RECT* rect) const override;

private:
    // Replaces this matrix by the rows of left followed by those of right.
    void JoinBeside(const MetaMatrix& left, const MetaMatrix& right);
};
