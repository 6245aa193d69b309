// BigEndianEncoder writes an element set in explicit VR big endian, as
// FixEncoder writes explicit little endian, swapping binary values on a
// copy (the set keeps host order). Its encoded size is FixEncoder's
// ExplicitSize.
#pragma once

#include "VRCode.h"
#include "VeltaroExport.h"

#include <cstdint>

class DICOMVRSet;
class OutBuffer;

class VELTARO_API BigEndianEncoder
{
public:
    explicit BigEndianEncoder(OutBuffer& out) : m_out(out) {}

    void SetPixelVR(std::uint16_t code) { m_pixelVR = code; }
    std::uint16_t GetPixelVR() const { return m_pixelVR; }

    // Returns 1; a null set writes nothing.
    int Encode(DICOMVRSet* set);

private:
    OutBuffer& m_out;
    std::uint16_t m_pixelVR = VRCode::OW;
};
