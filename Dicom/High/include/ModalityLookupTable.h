// ModalityLookupTable: the Modality LUT of an image (the first item of its
// Modality LUT Sequence), which turns stored sample values into output
// values. ImageProcess holds one only while it makes a real-valued image;
// the viewer applies one to the pixels it decodes.
#pragma once

#include "VeltaroExport.h"

#include <cstdint>
#include <vector>

class DICOMVRSet;

class VELTARO_API ModalityLookupTable
{
public:
    // Reads the first item of (0028,3000) of the set; without a usable
    // descriptor and enough data the table is not valid.
    explicit ModalityLookupTable(const DICOMVRSet& set);

    bool IsValid() const { return !m_entries.empty(); }

    std::uint16_t GetEntryCount() const { return m_nEntryCount; }
    std::uint16_t GetFirstMapped() const { return m_nFirstMapped; }
    std::uint16_t GetBitsPerEntry() const { return m_nBitsPerEntry; }
    std::uint16_t GetFirstEntry() const { return m_nFirstEntry; }
    std::uint16_t GetLastEntry() const { return m_nLastEntry; }

    // Values below the first mapped value take the first entry, values
    // beyond the table the last one.
    std::uint16_t Map(int value) const;
    // Replaces every unsigned 16-bit sample by its mapping.
    void Apply16(std::uint8_t* samples, std::uint32_t length) const;
    // Replaces every byte by its mapping scaled so that the mapping of the
    // table's last index gives 255.
    void Apply8(std::uint8_t* samples, std::uint32_t length) const;

private:
    void Read(const DICOMVRSet& item);

    std::vector<std::uint16_t> m_entries;
    std::uint16_t m_nEntryCount = 0;
    std::uint16_t m_nFirstMapped = 0;
    std::uint16_t m_nBitsPerEntry = 0;
    std::uint16_t m_nFirstEntry = 0;
    std::uint16_t m_nLastEntry = 0;
};
