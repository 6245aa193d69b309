// ORoiDicomBinaryOverlay: the overlay plane of group 6000 of a data set (a
// graphics overlay, one bit per pixel) as an annotation of its image. The
// bits are held as a binary mask matrix that covers the overlay's
// rectangle of the image, and turn with the image.
#pragma once

#include "MetaMatrixBinary.h"
#include "ORoi.h"

class DICOMVRSet;

class QUILLON_API ORoiDicomBinaryOverlay : public ORoi
{
    DECLARE_DYNAMIC(ORoiDicomBinaryOverlay)

public:
    static constexpr int TypeId = 25;

    // Reads Overlay Rows and Columns (6000,0010/0011), Origin (6000,0050),
    // Bits Allocated (6000,0100), Bit Position (6000,0102) and Overlay Data
    // (6000,3000); the overlay is valid when they describe one plane of
    // single bits that the data covers.
    ORoiDicomBinaryOverlay(ImageShow* owner, const DICOMVRSet& set);

    const char* GetDisplayName() const override;
    // The same plane, bits copied, for another image.
    ORoi* Clone(ImageShow* owner) const override;
    bool IsMeasurement() const override;

    bool IsValid() const { return !m_Mask.IsEmpty(); }
    // Bit set: the overlay covers the pixel; rows and columns follow the
    // rectangle.
    const MetaMatrixBinary& GetMask() const { return m_Mask; }

    // The set bits filled in the overlay colour, each run of a row as one
    // rectangle mapped through the owner's view.
    void Draw(CDC* pDC) override;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(int quarterTurns) override;

private:
    explicit ORoiDicomBinaryOverlay(ImageShow* owner);

    MetaMatrixBinary m_Mask;
};
