#include "BigEndianEncoder.h"

#include "DataSetEncoder.h"

int BigEndianEncoder::Encode(DICOMVRSet* set)
{
    return set != nullptr ? DataSetEncoder(m_out, enCoding::ExplicitBig, m_pixelVR).Encode(*set)
                          : 1;
}
