// SigmoidVOILookupTable: the sigmoid VOI function
//     level = top / (1 + e^(-4 (x - center) / width))
// over stored values x, with the window in stored-value units. It is the
// table of the automatic window and of data sets whose VOI LUT function is
// "SIGMOID", and it follows window and level.
#pragma once

#include "DicomLookupTable.h"

class QUILLON_API SigmoidVOILookupTable : public DicomLookupTable
{
    DECLARE_DYNCREATE(SigmoidVOILookupTable)

public:
    static constexpr std::uint32_t InitialType = enWindowKind | enCloneable; // 0x203
    // The descriptor of the VOI LUT item that ToDicomDataSet writes: 12-bit
    // levels over the window's range.
    static constexpr int ExplicitBits = 12;

    SigmoidVOILookupTable();

    // Nothing: the window comes from SetWindowLevel.
    bool InitFromDataSet(const DICOMVRSet& set) override;
    // An explicit VOI LUT item of the sigmoid over the range set by
    // SetDataRange (else center +- width), the function "SIGMOID" and the
    // window put first in (0028,1051) and (0028,1050). False, writing
    // nothing, without a usable window.
    bool ToDicomDataSet(DICOMVRSet& set) override;
    void Apply(MetaMatrix16* matrix) override;
    void SetWindowLevel(int width, int center) override;
    int GetWindowWidth() const override { return m_nWidth; }
    int GetWindowCenter() const override { return m_nCenter; }
    DicomLookupTable* Clone() const override;
    bool IsEqual(const DicomLookupTable* other) const override;
    bool CopyFrom(const DicomLookupTable& source) override;

    // The stored values an explicit LUT written by ToDicomDataSet covers
    // (the image's trimmed range).
    void SetDataRange(int min, int max);

protected:
    std::uint8_t* CreateTable() override;

private:
    // A width below 1 is raised to 1 and kept.
    void RaiseWidth();

    int m_nCenter = -1;
    int m_nWidth = -1;
    int m_nRangeMin = 0;
    int m_nRangeMax = -1;
};
