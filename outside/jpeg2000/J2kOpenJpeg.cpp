#include "J2kOpenJpeg.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr OPJ_SIZE_T kStreamChunk = 0x10000;
constexpr OPJ_SIZE_T kEndOfStream = static_cast<OPJ_SIZE_T>(-1);

void RecordError(const char*, void* pClient)
{
    *static_cast<bool*>(pClient) = true;
}

void IgnoreMessage(const char*, void*) {}

OPJ_SIZE_T ReadFromSource(void* pBuffer, OPJ_SIZE_T nBytes, void* pUser)
{
    auto* pSource = static_cast<J2kReadSource*>(pUser);
    if (pSource->nPos >= pSource->nLength)
    {
        return kEndOfStream;
    }
    const size_t nCount = std::min<size_t>(nBytes, pSource->nLength - pSource->nPos);
    std::memcpy(pBuffer, pSource->pData + pSource->nPos, nCount);
    pSource->nPos += nCount;
    return nCount;
}

// Like a file: a skip past the end lands at the end and the next read fails.
OPJ_OFF_T SkipInSource(OPJ_OFF_T nBytes, void* pUser)
{
    auto* pSource = static_cast<J2kReadSource*>(pUser);
    if (nBytes < 0 && static_cast<size_t>(-nBytes) > pSource->nPos)
    {
        return -1;
    }
    const size_t nRemaining = pSource->nLength - pSource->nPos;
    pSource->nPos = (nBytes >= 0 && static_cast<size_t>(nBytes) > nRemaining)
                        ? pSource->nLength
                        : static_cast<size_t>(static_cast<OPJ_OFF_T>(pSource->nPos) + nBytes);
    return nBytes;
}

OPJ_BOOL SeekInSource(OPJ_OFF_T nPos, void* pUser)
{
    auto* pSource = static_cast<J2kReadSource*>(pUser);
    if (nPos < 0 || static_cast<size_t>(nPos) > pSource->nLength)
    {
        return OPJ_FALSE;
    }
    pSource->nPos = static_cast<size_t>(nPos);
    return OPJ_TRUE;
}

// The codec is C: a failed allocation becomes a failed write, not an exception.
OPJ_SIZE_T WriteToTarget(void* pBuffer, OPJ_SIZE_T nBytes, void* pUser)
{
    auto* pTarget = static_cast<J2kWriteTarget*>(pUser);
    try
    {
        if (pTarget->bytes.size() < pTarget->nPos + nBytes)
        {
            pTarget->bytes.resize(pTarget->nPos + nBytes);
        }
    }
    catch (const std::bad_alloc&)
    {
        return kEndOfStream;
    }
    std::memcpy(pTarget->bytes.data() + pTarget->nPos, pBuffer, nBytes);
    pTarget->nPos += nBytes;
    return nBytes;
}

OPJ_OFF_T SkipInTarget(OPJ_OFF_T nBytes, void* pUser)
{
    auto* pTarget = static_cast<J2kWriteTarget*>(pUser);
    if (nBytes < 0 && static_cast<size_t>(-nBytes) > pTarget->nPos)
    {
        return -1;
    }
    pTarget->nPos = static_cast<size_t>(static_cast<OPJ_OFF_T>(pTarget->nPos) + nBytes);
    return nBytes;
}

OPJ_BOOL SeekInTarget(OPJ_OFF_T nPos, void* pUser)
{
    if (nPos < 0)
    {
        return OPJ_FALSE;
    }
    static_cast<J2kWriteTarget*>(pUser)->nPos = static_cast<size_t>(nPos);
    return OPJ_TRUE;
}
} // namespace

uint32_t GetComponentCount(enJ2kLayout layout)
{
    return layout == enJ2kLayout::Rgb24 ? 3 : 1;
}

uint32_t GetBytesPerSample(enJ2kLayout layout)
{
    return layout == enJ2kLayout::Grey16 ? 2 : 1;
}

uint32_t GetMaxPrecision(enJ2kLayout layout)
{
    return 8 * GetBytesPerSample(layout);
}

void SetQuietHandlers(opj_codec_t* pCodec, bool* pFailed)
{
    opj_set_error_handler(pCodec, RecordError, pFailed);
    opj_set_warning_handler(pCodec, IgnoreMessage, nullptr);
    opj_set_info_handler(pCodec, IgnoreMessage, nullptr);
}

J2kStreamPtr CreateReadStream(J2kReadSource& source)
{
    J2kStreamPtr pStream(opj_stream_create(kStreamChunk, OPJ_TRUE));
    if (pStream)
    {
        opj_stream_set_user_data(pStream.get(), &source, nullptr);
        opj_stream_set_user_data_length(pStream.get(), source.nLength);
        opj_stream_set_read_function(pStream.get(), ReadFromSource);
        opj_stream_set_skip_function(pStream.get(), SkipInSource);
        opj_stream_set_seek_function(pStream.get(), SeekInSource);
    }
    return pStream;
}

J2kStreamPtr CreateWriteStream(J2kWriteTarget& target)
{
    J2kStreamPtr pStream(opj_stream_create(kStreamChunk, OPJ_FALSE));
    if (pStream)
    {
        opj_stream_set_user_data(pStream.get(), &target, nullptr);
        opj_stream_set_write_function(pStream.get(), WriteToTarget);
        opj_stream_set_skip_function(pStream.get(), SkipInTarget);
        opj_stream_set_seek_function(pStream.get(), SeekInTarget);
    }
    return pStream;
}
