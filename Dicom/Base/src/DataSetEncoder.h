// The element writer behind FixEncoder and BigEndianEncoder: writes a set in
// one coding, sequences as items of undefined length, and computes the
// encoded sizes without writing.
#pragma once

#include "DICOMVRSet.h"
#include "DataSetCoding.h"

#include <cstdint>

class OutBuffer;
class VR;

class DataSetEncoder
{
public:
    DataSetEncoder(OutBuffer& out, enCoding coding, std::uint16_t pixelTypeCode);

    // Writes every element of the set in its order; returns 1.
    int Encode(DICOMVRSet& set);
    // The bytes Encode writes, in this encoder's coding (the big-endian
    // coding has the explicit sizes).
    std::uint32_t GetSize(DICOMVRSet& set);

private:
    bool IsImplicit() const { return m_coding == enCoding::Implicit; }
    bool IsBigEndian() const { return m_coding == enCoding::ExplicitBig; }
    bool IsWritten(const VR& element) const;
    std::uint16_t ResolveTypeCode(VR& element) const;
    std::uint16_t GetWrittenTypeCode(VR& element);
    bool IsLongForm(VR& element);
    std::uint32_t GetElementSize(VR& element);
    std::uint32_t GetItemsSize(VR& element);
    std::uint32_t GetGroupLength(DICOMVRSet::Iterator position);
    void EncodeElement(VR& element);
    void EncodeGroupLength(VR& element, const DICOMVRSet::Iterator& position);
    void EncodeItems(VR& element);
    void WriteTag(std::uint16_t group, std::uint16_t element);
    void Write16(std::uint16_t value);
    void Write32(std::uint32_t value);
    void WriteValue(const VR& element, std::uint16_t writtenCode);

    OutBuffer& m_out;
    enCoding m_coding;
    std::uint16_t m_pixelTypeCode;
};
