#include "FixDecoder.h"

#include "DICOMDataSet.h"
#include "DataSetDecoder.h"

namespace
{

int DecodeAll(InBuffer& stream, DICOMVRSet* set, enCoding coding)
{
    DICOMDataSet dropped;
    DataSetDecoder decoder(stream, coding);
    return decoder.Decode(set != nullptr ? set : &dropped);
}

} // namespace

int FixDecoder::DecodeImplicit(DICOMVRSet* set)
{
    return DecodeAll(m_stream, set, enCoding::Implicit);
}

int FixDecoder::DecodeExplicit(DICOMVRSet* set)
{
    return DecodeAll(m_stream, set, enCoding::ExplicitLittle);
}

std::uint32_t FixDecoder::DecodeTillTag(DICOMVRSet* set, std::uint32_t stopTag, int implicit)
{
    DICOMDataSet dropped;
    DataSetDecoder decoder(m_stream, implicit != 0 ? enCoding::Implicit : enCoding::ExplicitLittle);
    return decoder.DecodeTillTag(set != nullptr ? set : &dropped, stopTag);
}

int FixDecoder::DecodeFragments(DICOMVRSet* set)
{
    DICOMDataSet dropped;
    DataSetDecoder decoder(m_stream, enCoding::ExplicitLittle);
    return decoder.DecodeFragments(set != nullptr ? set : &dropped);
}
