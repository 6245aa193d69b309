// BigEndianDecoder reads explicit VR big-endian data into an element set,
// as FixDecoder reads the explicit little-endian coding. Binary values are
// turned into host order as they are read (AT, OW, SS, US in 16-bit units;
// FL, OF, OL, SL, UL in 32-bit units; FD, OD, OV, SV, UV in 64-bit units),
// so the set afterwards holds the same values a little-endian read gives.
#pragma once

#include "VeltaroExport.h"

#include <cstdint>

class DICOMVRSet;
class InBuffer;

class VELTARO_API BigEndianDecoder
{
public:
    explicit BigEndianDecoder(InBuffer& stream) : m_stream(stream) {}

    // As FixDecoder::DecodeExplicit.
    int Decode(DICOMVRSet* set);
    // As FixDecoder::DecodeTillTag.
    std::uint32_t DecodeTillTag(DICOMVRSet* set, std::uint32_t stopTag);
    int DecodeFragments(DICOMVRSet* set);

private:
    InBuffer& m_stream;
};
