#include "BigEndianDecoder.h"

#include "DICOMDataSet.h"
#include "DataSetDecoder.h"

int BigEndianDecoder::Decode(DICOMVRSet* set)
{
    DICOMDataSet dropped;
    DataSetDecoder decoder(m_stream, enCoding::ExplicitBig);
    return decoder.Decode(set != nullptr ? set : &dropped);
}

std::uint32_t BigEndianDecoder::DecodeTillTag(DICOMVRSet* set, std::uint32_t stopTag)
{
    DICOMDataSet dropped;
    DataSetDecoder decoder(m_stream, enCoding::ExplicitBig);
    return decoder.DecodeTillTag(set != nullptr ? set : &dropped, stopTag);
}

int BigEndianDecoder::DecodeFragments(DICOMVRSet* set)
{
    DICOMDataSet dropped;
    DataSetDecoder decoder(m_stream, enCoding::ExplicitBig);
    return decoder.DecodeFragments(set != nullptr ? set : &dropped);
}
