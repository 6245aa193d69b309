// TDWLookupTable: the linear window of the data set (WindowCenter and
// WindowWidth) over the rescaled values (stored value x slope + intercept).
// The display table follows the linear VOI function of DICOM, the one the
// DICOM library's LookupTable builds: 0 at or below c - 0.5 - (w - 1) / 2,
// 255 above c - 0.5 + (w - 1) / 2, a straight line between.
#pragma once

#include "DicomLookupTable.h"

class QUILLON_API TDWLookupTable : public DicomLookupTable
{
    DECLARE_DYNCREATE(TDWLookupTable)

public:
    static constexpr std::uint32_t InitialType = enTDWKind | enColorKind; // 0x0C00

    TDWLookupTable();

    // Intercept and slope (a slope of 0, or one that is not finite, is
    // taken as 1) and the window; the description "W:%d, L:%d".
    void Init(float intercept, float slope, int width, int center);
    // RescaleIntercept (default 0), RescaleSlope (default 1), WindowWidth
    // and WindowCenter (first values, truncated).
    bool InitFromDataSet(const DICOMVRSet& set) override;
    bool ToDicomDataSet(DICOMVRSet& set) override;
    // The same window at 4096 levels.
    void Apply(MetaMatrix16* matrix) override;
    // A width of 1 is taken as 2.
    void SetWindowLevel(int width, int center) override;
    double RawToValue(double raw) const override;
    double ValueToRaw(double value) const override;
    int GetWindowWidth() const override { return m_nWidth; }
    int GetWindowCenter() const override { return m_nCenter; }
    DicomLookupTable* Clone() const override;
    bool IsEqual(const DicomLookupTable* other) const override;
    bool CopyFrom(const DicomLookupTable& source) override;

    // The window's edges in rescaled units.
    int GetLow() const { return m_nCenter - m_nWidth / 2; }
    int GetHigh() const { return m_nCenter + m_nWidth / 2; }
    float GetIntercept() const { return m_fIntercept; }
    float GetSlope() const { return m_fSlope; }

protected:
    std::uint8_t* CreateTable() override;

private:
    int m_nWidth = 0;
    int m_nCenter = 0;
    float m_fIntercept = 0.0f;
    float m_fSlope = 1.0f;
};
