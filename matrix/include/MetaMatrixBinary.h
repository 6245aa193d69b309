// MetaMatrixBinary: one bit per pixel; pixel i = y x columns + x is bit i mod 8
// (least significant first) of byte i / 8. Most operations go through an
// 8-bit matrix of 0 and 255 and back with threshold 128.
#pragma once

#include "MetaMatrixTyped.h"

class MetaMatrix8;
class MetaMatrix16;

class MATRIX_API MetaMatrixBinary
    : public MetaMatrixTyped<MetaMatrixBinary, MetaMatrix::enMatrixBinary>
{
public:
    using MetaMatrixTyped::MetaMatrixTyped;

    void Invert() override;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(RotateAngle angle) override;
    MetaMatrix* GetPixmap(unsigned char*) const override { return nullptr; }
    MetaMatrix* GetImagePart(const CRect*) const override { return nullptr; }
    void SetImagePart(const MetaMatrix*, const CRect*) override {}
    // The file holds (width x height + 7) / 8 bytes of the bit stream.
    bool LoadAsRaw(const char* path, int offset, int width, int height) override;
    bool SaveAsRaw(const char* path) const override;
    void Scale(unsigned width, unsigned height) override;
    // Runs Scale.
    void ScaleOptimize(unsigned width, unsigned height) override;
    // CreateDIB() stays reachable beside this overload.
    using MetaMatrixTyped::CreateDIB;
    void* CreateDIB(RGBQUAD* const palette) const override;
    HBITMAP CreateBitmap() const override;
    bool FromDIB(void* const dib) override;
    bool FromBitmap(HBITMAP const bitmap) override;
    // 0 for a clear bit, the bit's mask value for a set one.
    int GetPixelValue(int x, int y) const override;
    void SetPixelValue(int x, int y, short value) override;

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
    // True when target has this size, holds its samples of sampleBytes bytes
    // and owns them unshared.
    bool CanApplyTo(MetaMatrix* target, int sampleBytes) const;
    template <class Operation> void ThroughMatrix8(Operation operation);
    // The bits of the samples of source above threshold.
    template <class Sample> bool FromSamples(const MetaMatrix* source, unsigned threshold);
};
