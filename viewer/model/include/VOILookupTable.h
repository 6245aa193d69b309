// quillon::VOILookupTable: an explicit VOI LUT of the data set (the first
// item of the VOI LUT Sequence (0028,3010)) as a lookup table of the viewer.
// Veltaro has a class of the same name; the viewer's own lives in its
// namespace so that the two never meet.
//
// The LUT's input is the rescaled value (stored value x slope +
// intercept, from the data set the table was read from). Inputs below the
// first mapped value take the first entry and inputs past the last one the
// last entry, so no input reads outside the table. The first mapped value
// is read as signed when the data set's pixels are signed.
#pragma once

#include "DicomLookupTable.h"

#include <vector>

namespace quillon
{

class QUILLON_API VOILookupTable : public DicomLookupTable
{
    DECLARE_DYNCREATE(VOILookupTable)

public:
    static constexpr std::uint32_t InitialType = enVOIDerived; // 0x8000

    VOILookupTable();
    // Reads the item as Init does, with unsigned input and no rescale.
    explicit VOILookupTable(const DICOMVRSet& item);

    // The item at index 0 of (0028,3010), with the set's rescale and pixel
    // representation; false when it gives no usable table.
    bool InitFromDataSet(const DICOMVRSet& set) override;
    // Reads the descriptor (0028,3002), the explanation (0028,3003) and the
    // entries (0028,3006) of one item; false when they give no usable table.
    bool Init(const DICOMVRSet& item, bool signedInput = false);
    // Replaces (0028,3010) by one item of this table; false when invalid.
    bool ToDicomDataSet(DICOMVRSet& set) override;
    // Every sample becomes its LUT entry.
    void Apply(MetaMatrix16* matrix) override;
    double RawToValue(double raw) const override;
    double ValueToRaw(double value) const override;
    bool IsValid() const override { return !m_data.empty(); }
    // The window the LUT spans once 12 % of its output range is cut at
    // either end, in input units.
    int GetWindowWidth() const override;
    int GetWindowCenter() const override;
    DicomLookupTable* Clone() const override;
    bool IsEqual(const DicomLookupTable* other) const override;
    bool CopyFrom(const DicomLookupTable& source) override;

    int GetEntryCount() const { return static_cast<int>(m_data.size()); }
    int GetFirstInput() const { return m_nFirstInput; }
    int GetBits() const { return m_nBits; }
    int GetDataMin() const { return m_nDataMin; }
    int GetDataMax() const { return m_nDataMax; }
    // The entry of an input value.
    std::uint16_t Lookup(int input) const;

protected:
    // Entry x 255 / data maximum at each stored value, at most 255.
    std::uint8_t* CreateTable() override;

private:
    void Free();
    // The entry of a stored value, through the rescale.
    std::uint16_t LookupRaw(int raw) const;
    void ComputeTrimmedWindow() const;

    std::vector<std::uint16_t> m_data;
    int m_nFirstInput = 0;
    int m_nBits = 0;
    int m_nDataMin = 0;
    int m_nDataMax = 0;
    float m_fIntercept = 0.0f;
    float m_fSlope = 1.0f;
    mutable bool m_bTrimmed = false;
    mutable int m_nTrimLow = -1;
    mutable int m_nTrimHigh = -1;
};

} // namespace quillon
