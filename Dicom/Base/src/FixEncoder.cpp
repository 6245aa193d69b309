#include "FixEncoder.h"

#include "DataSetEncoder.h"

int FixEncoder::EncodeImplicit(DICOMVRSet* set)
{
    return set != nullptr ? DataSetEncoder(m_out, enCoding::Implicit, m_pixelVR).Encode(*set) : 1;
}

int FixEncoder::EncodeExplicit(DICOMVRSet* set)
{
    return set != nullptr ? DataSetEncoder(m_out, enCoding::ExplicitLittle, m_pixelVR).Encode(*set)
                          : 1;
}

std::uint32_t FixEncoder::ImplicitSize(DICOMVRSet* set)
{
    return set != nullptr ? DataSetEncoder(m_out, enCoding::Implicit, m_pixelVR).GetSize(*set) : 0;
}

std::uint32_t FixEncoder::ExplicitSize(DICOMVRSet* set)
{
    return set != nullptr ? DataSetEncoder(m_out, enCoding::ExplicitLittle, m_pixelVR).GetSize(*set)
                          : 0;
}
