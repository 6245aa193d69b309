// FixEncoder writes an element set in the two little-endian codings and
// computes their encoded sizes. Sequences are written with undefined
// lengths and delimiters; group length elements carry the exact byte count
// of the rest of their group (implicit coding writes only that of group
// 0002). Encoding fills in the VR codes it needs in the elements: an
// unknown VR or UN becomes the dictionary's, else SQ for an element with
// items and UN for another.
#pragma once

#include "VRCode.h"
#include "VeltaroExport.h"

#include <cstdint>

class DICOMVRSet;
class OutBuffer;

class VELTARO_API FixEncoder
{
public:
    explicit FixEncoder(OutBuffer& out) : m_out(out) {}

    // The VR written for the pixel data (7FE0,0010): OW for the native
    // syntaxes, OB for the compressed ones.
    void SetPixelVR(std::uint16_t code) { m_pixelVR = code; }
    std::uint16_t GetPixelVR() const { return m_pixelVR; }

    // Return 1; a null set writes nothing.
    int EncodeImplicit(DICOMVRSet* set);
    int EncodeExplicit(DICOMVRSet* set);
    // The bytes the two encoders would write.
    std::uint32_t ImplicitSize(DICOMVRSet* set);
    std::uint32_t ExplicitSize(DICOMVRSet* set);

private:
    OutBuffer& m_out;
    std::uint16_t m_pixelVR = VRCode::OW;
};
