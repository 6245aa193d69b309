// The overlay planes of a data set as one bitmap over the image: 255 where an
// overlay bit is set, 0 elsewhere, cut to the part that holds set bits.
#pragma once

#include "MetaMatrix8.h"
#include "ORoiMeasure.h"

class DICOMVRSet;

namespace pelivo
{

class ORoiBitmap : public ORoiMeasure
{
public:
    // Reads every overlay group from 6000 to 6FFE that has data; a later
    // group replaces an earlier one.
    ORoiBitmap(RoiOwner* owner, const DICOMVRSet& set);
    ORoiBitmap(RoiOwner* owner, int left, int top, int right, int bottom);

    ORoiItem* Clone(RoiOwner* owner) const override;
    // Never hit on a handle: the bitmap is only ever moved whole.
    int HitTest(int x, int y, int tolerance) const override;
    using ORoiItem::HitTest;
    void FlipVertical() override {}
    void FlipHorizontal() override {}
    void Rotate(int) override {}
    void CreateLabel() override {}
    Lettra GetLabelText() const override { return Lettra(); }

    const MetaMatrix8& GetMask() const { return m_mask; }
    bool IsDrawingSetPixelsOnly() const { return m_drawMode == 1; }

private:
    bool LoadGroup(const DICOMVRSet& set, unsigned short group);
    void CutToSetPixels();

    MetaMatrix8 m_mask;
    std::uint8_t m_drawMode = 1;
};

} // namespace pelivo
