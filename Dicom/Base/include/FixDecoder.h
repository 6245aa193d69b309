// FixDecoder reads the two little-endian codings of DICOM data, implicit VR
// and explicit VR, from a stream into an element set: the whole stream, or
// up to a given tag. The VR of an element the stream does not state comes
// from the data dictionary. Data that cannot be trusted (a length running
// past the end of the data, a value of 0x8000000 bytes or more other than
// the pixel data, items or sequences that never end or nest too deep) ends
// the read with a failure and a log line; the elements read until then stay
// in the set.
#pragma once

#include "VeltaroExport.h"

#include <cstdint>

class DICOMVRSet;
class InBuffer;

class VELTARO_API FixDecoder
{
public:
    // A defined length at or above this is refused but for the pixel data.
    static constexpr std::uint32_t LengthLimit = 0x8000000;

    explicit FixDecoder(InBuffer& stream) : m_stream(stream) {}

    // 1 when the stream ended cleanly (or a delimiter closed the data set),
    // 0 on failure. A null set reads and drops the elements.
    int DecodeImplicit(DICOMVRSet* set);
    int DecodeExplicit(DICOMVRSet* set);
    // Reads every element up to stopTag. Returns the tag of the first
    // element above it, with the stream standing on that element; 0 when
    // the stream ended first; 0xFFFEE000 when a delimiter ended the level;
    // 0xFFFFFFFF on failure.
    std::uint32_t DecodeTillTag(DICOMVRSet* set, std::uint32_t stopTag, int implicit);
    // The fragments of encapsulated pixel data up to the sequence delimiter,
    // attached to the set's last pushed element (the pixel data).
    int DecodeFragments(DICOMVRSet* set);

private:
    InBuffer& m_stream;
};
