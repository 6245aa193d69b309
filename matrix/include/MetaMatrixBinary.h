// MetaMatrixBinary: one bit per pixel; pixel i = y x columns + x is bit i mod 8
// (least significant first) of byte i / 8. Most operations go through an
// 8-bit matrix of 0 and 255 and back with threshold 128.
#pragma once

#include "MetaMatrix.h"

class MetaMatrix8;
class MetaMatrix16;

class MATRIX_API MetaMatrixBinary : public MetaMatrix
{
public:
    MetaMatrixBinary() = default;
    MetaMatrixBinary(int bitsAllocated, int bitsStored, int highBit, int rows, int columns, int min,
                     int max, int isSigned, int samplesPerPixel);
    MetaMatrixBinary(const MetaMatrixBinary& source) = default;
    MetaMatrixBinary& operator=(const MetaMatrixBinary& source) = default;

    MetaMatrix* Clone() const override;
    MetaMatrix* Shadow() const override;
    void Invert() override;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(RotateAngle angle) override;
    MetaMatrix* GetPixmap(unsigned char*) const override { return nullptr; }
    MetaMatrix* GetImagePart(const CRect*) const override { return nullptr; }
    void SetImagePart(const MetaMatrix*, const CRect*) override {}
    void JoinAtLeft(const MetaMatrix*) override {}
    void JoinAtRight(const MetaMatrix*) override {}
    void JoinAtTop(const MetaMatrix*) override {}
    void JoinAtBottom(const MetaMatrix*) override {}
    // The file holds (width x height + 7) / 8 bytes of the bit stream.
    bool LoadAsRaw(const char* path, int offset, int width, int height) override;
    bool SaveAsRaw(const char* path) const override;
    void Scale(unsigned width, unsigned height) override;
    // Runs Scale.
    void ScaleOptimize(unsigned width, unsigned height) override;
    void* CreateDIB(RGBQUAD* const palette) const override;
    void* CreateDIB() const override;
    HBITMAP CreateBitmap() const override;
    bool FromDIB(void* const dib) override;
    bool FromBitmap(HBITMAP const bitmap) override;
    // 0 for a clear bit, the bit's mask value for a set one.
    int GetPixelValue(int x, int y) const override;
    void SetPixelValue(int x, int y, short value) override;
    enMatrixType GetMatrixType() const override { return enMatrixBinary; }
    bool AutoWindowLevel(int*, int*) const override { return false; }
    bool AutoWindowLevelEllipseShutter(int*, int*, RECT*) const override { return false; }

    // Sets the bit of every pixel whose sample, compared unsigned, is greater
    // than threshold; false when source is null or holds too few pixels.
    bool FromMetaMatrix8(MetaMatrix8* source, unsigned char threshold);
    bool FromMetaMatrix8(MetaMatrix8* source) { return FromMetaMatrix8(source, 128); }
    bool FromMetaMatrix16(MetaMatrix16* source, unsigned short threshold);
    bool FromMetaMatrix16(MetaMatrix16* source) { return FromMetaMatrix16(source, 8); }
    // target becomes an 8-bit matrix of 255 (set) and 0 (clear).
    bool ToMetaMatrix8(MetaMatrix8* target) const;
    // Sets target pixels to 255 and 0; target must have this size.
    bool ApplyTo(MetaMatrix8* target) const;
    // Sets target pixels whose bit is set to 65535, keeps the others.
    bool ApplyTo(MetaMatrix16* target) const;

private:
    long long GetPixelCount() const { return (long long)m_pBlock->nRows * m_pBlock->nColumns; }
    bool HoldsBits() const;
    template <class Operation> void ThroughMatrix8(Operation operation);
};
