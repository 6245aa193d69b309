// Test helper: calls the entries of a loaded JPEG codec library by name and
// copies their results out, releasing each buffer with the library's jpgdel.
#pragma once

#include "ShimLibrary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using ByteVector = std::vector<uint8_t>;

struct DecodeResult
{
    bool bReturned = false; // the entry returned a buffer
    int nRows = -1;
    int nColumns = -1;
    ByteVector pixels; // rows x columns x bytes per pixel of the entry
};

// 1 for "_8Bit", 2 for "_12Bit" and "_16Bit", 3 for "_RGB" and "_YBR" entries.
int GetBytesPerPixelOfEntry(const std::string& entry);

class QuorexCaller
{
public:
    explicit QuorexCaller(const std::string& library = "Quorex") : m_library(library) {}

    bool IsLoaded() const { return m_library.IsLoaded(); }
    bool HasEntry(const std::string& entry) const;

    DecodeResult Decode(const std::string& entry, const uint8_t* pData, size_t nLength) const;
    DecodeResult Decode(const std::string& entry, const ByteVector& stream) const
    {
        return Decode(entry, stream.data(), stream.size());
    }
    // A "...DecodeInto" entry given a buffer of nTargetLength bytes; pixels
    // holds the whole buffer whatever the entry returned.
    DecodeResult DecodeInto(const std::string& entry, const ByteVector& stream,
                            size_t nTargetLength) const;
    // Lossy entries take a quality, lossless ones do not.
    std::optional<ByteVector> EncodeLossy(const std::string& entry, const ByteVector& raw,
                                          int nRows, int nColumns, int nQuality) const;
    std::optional<ByteVector> EncodeLossless(const std::string& entry, const ByteVector& raw,
                                             int nRows, int nColumns) const;

private:
    std::optional<ByteVector> TakeStream(unsigned char* pStream, int nLength) const;

    ShimLibrary m_library;
};
