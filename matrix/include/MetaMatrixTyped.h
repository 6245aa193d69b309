// The class templates the typed matrices are built on, one for each part of
// the work in which only the class and its sample type differ:
// - MetaMatrixTyped: every typed matrix. Deep and shared copies of its own
//   class, its type number, the DIB with the default table, and the joins and
//   automatic window/level that most classes do not have.
// - MetaMatrixPixels: matrices of whole-byte samples (8-bit, 16-bit, RGB).
//   Flips, rotations, image parts, nearest-neighbour scaling, raw files and
//   bitmaps taken through a DIB.
// - MetaMatrixGrey: one grey sample per pixel (8-bit, 16-bit). Inversion,
//   pixel access and display-quality resampling.
// They add no virtual operation and no data, so a typed matrix keeps the
// layout of MetaMatrix. The library instantiates them for its own classes.
#pragma once

#include "MetaMatrix.h"

#include <cstdint>

template <class TMatrix, MetaMatrix::enMatrixType Type>
class MATRIX_API MetaMatrixTyped : public MetaMatrix
{
public:
    using MetaMatrix::CreateDIB;
    using MetaMatrix::MetaMatrix;

    MetaMatrix* Clone() const override;
    MetaMatrix* Shadow() const override;
    void JoinAtLeft(const MetaMatrix* other) override;
    void JoinAtRight(const MetaMatrix* other) override;
    void JoinAtTop(const MetaMatrix* other) override;
    void JoinAtBottom(const MetaMatrix* other) override;
    // CreateDIB with the grey table.
    void* CreateDIB() const override;
    enMatrixType GetMatrixType() const override;
    bool AutoWindowLevel(int* width, int* center) const override;
    bool AutoWindowLevelEllipseShutter(int* width, int* center, RECT* rect) const override;
};

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample, int SamplesPerPixel>
class MATRIX_API MetaMatrixPixels : public MetaMatrixTyped<TMatrix, Type>
{
public:
    using MetaMatrixTyped<TMatrix, Type>::MetaMatrixTyped;

    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(MetaMatrix::RotateAngle angle) override;
    MetaMatrix* GetImagePart(const CRect* rect) const override;
    void SetImagePart(const MetaMatrix* source, const CRect* rect) override;
    // The file holds width x height pixels; they are described as unsigned
    // samples of the full width.
    bool LoadAsRaw(const char* path, int offset, int width, int height) override;
    bool SaveAsRaw(const char* path) const override;
    // Nearest neighbour.
    void Scale(unsigned width, unsigned height) override;
    bool FromBitmap(HBITMAP const bitmap) override;

protected:
    static constexpr int BytesPerPixel = int(sizeof(TSample)) * SamplesPerPixel;
};

template <class TMatrix, MetaMatrix::enMatrixType Type, class TSample>
class MATRIX_API MetaMatrixGrey : public MetaMatrixPixels<TMatrix, Type, TSample, 1>
{
public:
    using MetaMatrixPixels<TMatrix, Type, TSample, 1>::MetaMatrixPixels;

    // Every sample v becomes min + max - v, kept to the sample width.
    void Invert() override;
    // The sample, read as signed when the signed flag is set.
    int GetPixelValue(int x, int y) const override;
    // Stores the low bits of the value and widens min and max to include it.
    void SetPixelValue(int x, int y, short value) override;
    void ScaleOptimize(unsigned width, unsigned height) override;
};

// The library's instances, which every user takes from the library. The
// classes are declared exported before the instances name them, so that the
// instances are exported too.
class MATRIX_API MetaMatrix8;
class MATRIX_API MetaMatrix16;
class MATRIX_API MetaMatrixRGB;
class MATRIX_API MetaMatrixBinary;
extern template class MetaMatrixTyped<MetaMatrix8, MetaMatrix::enMatrix8>;
extern template class MetaMatrixPixels<MetaMatrix8, MetaMatrix::enMatrix8, std::uint8_t, 1>;
extern template class MetaMatrixGrey<MetaMatrix8, MetaMatrix::enMatrix8, std::uint8_t>;
extern template class MetaMatrixTyped<MetaMatrix16, MetaMatrix::enMatrix16>;
extern template class MetaMatrixPixels<MetaMatrix16, MetaMatrix::enMatrix16, std::uint16_t, 1>;
extern template class MetaMatrixGrey<MetaMatrix16, MetaMatrix::enMatrix16, std::uint16_t>;
extern template class MetaMatrixTyped<MetaMatrixRGB, MetaMatrix::enMatrixRGB>;
extern template class MetaMatrixPixels<MetaMatrixRGB, MetaMatrix::enMatrixRGB, std::uint8_t, 3>;
extern template class MetaMatrixTyped<MetaMatrixBinary, MetaMatrix::enMatrixBinary>;
