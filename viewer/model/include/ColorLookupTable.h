// ColorLookupTable: the 256-entry palette of a PALETTE COLOR image, in the
// colour-table form of a DIB (blue, green, red, reserved). It builds no
// display table: the image's 8-bit indices go into a DIB with this palette.
#pragma once

#include "DicomLookupTable.h"
#include "WinGdi.h"

class QUILLON_API ColorLookupTable : public DicomLookupTable
{
    DECLARE_DYNCREATE(ColorLookupTable)

public:
    static constexpr std::uint32_t InitialType = enColorKind; // 0x0800
    static constexpr int PaletteSize = 256;

    ColorLookupTable();

    // Only for PALETTE COLOR: three descriptors of 256 entries, all of 16
    // bits (the high byte of each word is taken) or all of 8 bits (the low
    // byte), and 512 bytes of data per channel; otherwise the table stays
    // invalid.
    bool InitFromDataSet(const DICOMVRSet& set) override;
    bool ToDicomDataSet(DICOMVRSet& set) override;
    MetaMatrix* ApplyToCopy(const MetaMatrix* matrix) override;
    void Apply(MetaMatrix16* matrix) override;
    bool IsValid() const override { return m_bValid; }
    DicomLookupTable* Clone() const override;
    bool IsEqual(const DicomLookupTable* other) const override;
    bool CopyFrom(const DicomLookupTable& source) override;

    RGBQUAD* GetPalette() { return m_Palette; }
    const RGBQUAD* GetPalette() const { return m_Palette; }

protected:
    // A palette builds no display table.
    std::uint8_t* CreateTable() override { return nullptr; }

private:
    RGBQUAD m_Palette[PaletteSize] = {};
    bool m_bValid = false;
};
