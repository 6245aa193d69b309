#include "QuorexCaller.h"

#include "Quorex.h"

int GetBytesPerPixelOfEntry(const std::string& entry)
{
    if (entry.find("_RGB") != std::string::npos || entry.find("_YBR") != std::string::npos)
    {
        return 3;
    }
    return entry.find("_8Bit") != std::string::npos ? 1 : 2;
}

bool QuorexCaller::HasEntry(const std::string& entry) const
{
    return m_library.GetEntry<void*>(entry.c_str()) != nullptr;
}

DecodeResult QuorexCaller::Decode(const std::string& entry, const uint8_t* pData,
                                  size_t nLength) const
{
    DecodeResult result;
    const auto pDecode = m_library.GetEntry<PFN_JpegDecode>(entry.c_str());
    const auto pDelete = m_library.GetEntry<PFN_jpgdel>("jpgdel");
    if (pDecode == nullptr || pDelete == nullptr)
    {
        return result;
    }
    unsigned char* pPixels =
        pDecode(pData, &result.nRows, &result.nColumns, static_cast<int>(nLength));
    if (pPixels != nullptr)
    {
        result.bReturned = true;
        const size_t nBytes = static_cast<size_t>(result.nRows) *
                              static_cast<size_t>(result.nColumns) *
                              static_cast<size_t>(GetBytesPerPixelOfEntry(entry));
        result.pixels.assign(pPixels, pPixels + nBytes);
        pDelete(pPixels);
    }
    return result;
}

DecodeResult QuorexCaller::DecodeInto(const std::string& entry, const ByteVector& stream,
                                      size_t nTargetLength) const
{
    DecodeResult result;
    const auto pDecode = m_library.GetEntry<PFN_JpegDecodeInto>(entry.c_str());
    if (pDecode == nullptr)
    {
        return result;
    }
    result.pixels.assign(nTargetLength, 0);
    result.bReturned =
        pDecode(stream.data(), static_cast<int>(stream.size()), result.pixels.data(),
                static_cast<int>(nTargetLength), &result.nRows, &result.nColumns) == 1;
    return result;
}

std::optional<ByteVector> QuorexCaller::EncodeLossy(const std::string& entry, const ByteVector& raw,
                                                    int nRows, int nColumns, int nQuality) const
{
    const auto pEncode = m_library.GetEntry<PFN_JpegLossyEncode>(entry.c_str());
    if (pEncode == nullptr)
    {
        return std::nullopt;
    }
    int nLength = -1;
    unsigned char* pStream = pEncode(raw.data(), nRows, nColumns, nQuality, &nLength);
    return TakeStream(pStream, nLength);
}

std::optional<ByteVector> QuorexCaller::EncodeLossless(const std::string& entry,
                                                       const ByteVector& raw, int nRows,
                                                       int nColumns) const
{
    const auto pEncode = m_library.GetEntry<PFN_JpegLosslessEncode>(entry.c_str());
    if (pEncode == nullptr)
    {
        return std::nullopt;
    }
    int nLength = -1;
    unsigned char* pStream = pEncode(raw.data(), nRows, nColumns, &nLength);
    return TakeStream(pStream, nLength);
}

std::optional<ByteVector> QuorexCaller::TakeStream(unsigned char* pStream, int nLength) const
{
    if (pStream == nullptr)
    {
        return std::nullopt;
    }
    ByteVector stream(pStream, pStream + nLength);
    m_library.GetEntry<PFN_jpgdel>("jpgdel")(pStream);
    return stream;
}
