// VOILookupTable: the VOI lookup table of a data set's VOI LUT Sequence
// (0028,3010), first item, and the 8-bit display table made from it.
//
// The table holds 65536 entries by input value: the LUT's entries from its
// first mapped value on, every later position repeating the last entry.
// The LUT's input is the rescaled (modality) value, so the display table
// maps stored values through the image's slope and intercept first.
#pragma once

#include "Lettra.h"
#include "VeltaroExport.h"

#include <cstdint>

class DICOMDataSet;
class RealImage;
class RealImage8;

class VELTARO_API VOILookupTable
{
public:
    static constexpr int TableSize = 65536;
    // Entries of the display table; the entry of value v is at v + this.
    static constexpr int DisplayTableOffset = 65536;
    static constexpr int DisplayTableSize = 2 * DisplayTableOffset;

    explicit VOILookupTable(const DICOMDataSet& set);
    VOILookupTable(const VOILookupTable&) = delete;
    VOILookupTable& operator=(const VOILookupTable&) = delete;
    ~VOILookupTable();

    // True when the data set gave a usable table.
    bool IsValid() const { return m_pTable != nullptr; }

    unsigned short GetEntryCount() const { return m_nEntryCount; }
    unsigned short GetFirstMapped() const { return m_nFirstMapped; }
    unsigned short GetBitsPerEntry() const { return m_nBitsPerEntry; }
    unsigned short GetMinValue() const { return m_nMinValue; }
    unsigned short GetMaxValue() const { return m_nMaxValue; }
    const Lettra& GetExplanation() const { return m_strExplanation; }
    // The first mapped value as the data set's pixel representation reads
    // it (signed for signed pixels).
    int GetFirstInput() const;
    // The entry at a table position 0..65535; 0 without a table.
    unsigned short GetEntry(int position) const;

    // DisplayTableSize bytes for stored values -65536..65535, indexed from
    // the table plus DisplayTableOffset: entry x 255 / max value at the
    // rescaled value, 0 below the first mapped value, the last level above
    // the last one. Null without a table; the caller frees it with delete[].
    std::uint8_t* CreateDisplayTable(float intercept, float slope) const;
    // A new 8-bit image of the image's samples through the display table,
    // with the source's palette, photometric text and flag; null without a
    // table or pixels.
    RealImage8* Apply(RealImage& image) const;

private:
    bool Read(const DICOMDataSet& set);
    void Free();

    std::uint16_t* m_pTable = nullptr;
    unsigned short m_nEntryCount = 0;
    unsigned short m_nFirstMapped = 0;
    unsigned short m_nBitsPerEntry = 0;
    unsigned short m_nMinValue = 0;
    unsigned short m_nMaxValue = 0;
    Lettra m_strExplanation;
    bool m_bSignedInput = false;
};
