// Feeds arbitrary bytes to the data-set decoders. The first byte chooses the
// decoder (implicit, explicit or big-endian; full or up to the pixel data)
// and where the bytes are split between two chunks of the stream. A data set
// that decodes must encode, decode again and encode to the same bytes, with
// the encoded size the size functions predict.
#include "BigEndianDecoder.h"
#include "BigEndianEncoder.h"
#include "DICOMDataSet.h"
#include "DataDictionary.h"
#include "FixDecoder.h"
#include "FixEncoder.h"
#include "InBuffer.h"
#include "OutBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{

enum enMode
{
    enImplicit,
    enExplicit,
    enBigEndian
};

constexpr std::uint32_t BeforePixelData = 0x7FE0000F;

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(DICOMVRSet& set, enMode mode)
{
    MemOutBuffer out;
    FixEncoder encoder(out);
    std::uint32_t predicted = 0;
    switch (mode)
    {
    case enImplicit:
        predicted = encoder.ImplicitSize(&set);
        encoder.EncodeImplicit(&set);
        break;
    case enExplicit:
        predicted = encoder.ExplicitSize(&set);
        encoder.EncodeExplicit(&set);
        break;
    case enBigEndian:
        predicted = encoder.ExplicitSize(&set);
        BigEndianEncoder(out).Encode(&set);
        break;
    }
    if (predicted != out.GetTotal())
    {
        std::abort();
    }
    Bytes bytes(out.GetTotal());
    out.CopyOut(bytes.data());
    return bytes;
}

int Decode(InBuffer& stream, DICOMVRSet& set, enMode mode, bool tillPixelData)
{
    switch (mode)
    {
    case enImplicit:
        return tillPixelData
                   ? FixDecoder(stream).DecodeTillTag(&set, BeforePixelData, 1) != 0xFFFFFFFF
                   : FixDecoder(stream).DecodeImplicit(&set);
    case enExplicit:
        return tillPixelData
                   ? FixDecoder(stream).DecodeTillTag(&set, BeforePixelData, 0) != 0xFFFFFFFF
                   : FixDecoder(stream).DecodeExplicit(&set);
    default:
        return tillPixelData
                   ? BigEndianDecoder(stream).DecodeTillTag(&set, BeforePixelData) != 0xFFFFFFFF
                   : BigEndianDecoder(stream).Decode(&set);
    }
}

void CheckFixedPoint(DICOMVRSet& set, enMode mode)
{
    const Bytes first = Encode(set, mode);
    MemInBuffer stream(first.data(), static_cast<std::uint32_t>(first.size()));
    DICOMDataSet again;
    if (Decode(stream, again, mode, false) != 1 || Encode(again, mode) != first)
    {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool built = []
    {
        DataDictionary::GetLibraryDictionary().Build();
        return true;
    }();
    (void)built;
    if (size < 1 || size > 0x1000000)
    {
        return 0;
    }
    const enMode mode = static_cast<enMode>(data[0] % 3);
    const bool tillPixelData = (data[0] & 0x04) != 0;
    const std::size_t length = size - 1;
    const std::size_t split = length * (data[0] >> 3) / 32;
    MemInBuffer stream(data + 1, static_cast<std::uint32_t>(split));
    stream.Attach(data + 1 + split, static_cast<std::uint32_t>(length - split));
    DICOMDataSet set;
    if (Decode(stream, set, mode, tillPixelData) == 1)
    {
        CheckFixedPoint(set, mode);
    }
    return 0;
}
