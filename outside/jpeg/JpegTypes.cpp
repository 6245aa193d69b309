#include "JpegTypes.h"

#include <cstring>
#include <new>

namespace quorex
{

size_t GetBytesPerSample(enSampleLayout enLayout)
{
    switch (enLayout)
    {
    case enSampleLayout::Grey8:
        return 1;
    case enSampleLayout::Grey12:
    case enSampleLayout::Grey16:
        return 2;
    case enSampleLayout::Rgb:
    case enSampleLayout::Coded:
        return 3;
    }
    return 0;
}

size_t GetComponentCount(enSampleLayout enLayout)
{
    return enLayout == enSampleLayout::Rgb || enLayout == enSampleLayout::Coded ? 3 : 1;
}

ResultBuffer AllocateResult(size_t nBytes)
{
    if (nBytes == 0 || nBytes > kMaxOutputBytes)
    {
        return nullptr;
    }
    return ResultBuffer(new (std::nothrow) uint8_t[nBytes]);
}

EncodedStream CopyToResult(const std::vector<uint8_t>& stream)
{
    EncodedStream result;
    result.data = AllocateResult(stream.size());
    if (result.data != nullptr)
    {
        std::memcpy(result.data.get(), stream.data(), stream.size());
        result.nLength = stream.size();
    }
    return result;
}

} // namespace quorex
