// Test fixture: "Quoral2K.dll" loaded by name, with encode and decode calls
// that copy results out and release them through the library's JPGDEL.
#pragma once

#include "Quoral2K.h"
#include "ShimLibrary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using ByteVector = std::vector<uint8_t>;

struct J2kDecoded
{
    int nRows = 0;
    int nColumns = 0;
    ByteVector pixels;
};

class Quoral2KFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_library.IsLoaded());
        m_pDelete = m_library.GetEntry<PFN_JPGDEL>("JPGDEL");
        ASSERT_NE(m_pDelete, nullptr);
    }

    PFN_J2kEncode GetEncoder(const std::string& name) const
    {
        return m_library.GetEntry<PFN_J2kEncode>(name.c_str());
    }

    PFN_J2kDecode GetDecoder(const std::string& name) const
    {
        return m_library.GetEntry<PFN_J2kDecode>(name.c_str());
    }

    std::optional<ByteVector> Encode(const std::string& entry, const ByteVector& raw, int nRows,
                                     int nColumns, int nSigned) const
    {
        const PFN_J2kEncode pEncode = GetEncoder(entry);
        EXPECT_NE(pEncode, nullptr) << entry;
        if (pEncode == nullptr)
        {
            return std::nullopt;
        }
        int nOutLength = -1;
        unsigned char* pOut = pEncode(raw.data(), nRows, nColumns, &nOutLength, nSigned);
        if (pOut == nullptr)
        {
            EXPECT_EQ(nOutLength, 0);
            return std::nullopt;
        }
        ByteVector codestream(pOut, pOut + nOutLength);
        m_pDelete(pOut);
        return codestream;
    }

    // bytesPerPixel is the entry's: 1 for 8Bit, 2 for 16Bit, 3 for RGB.
    std::optional<J2kDecoded> Decode(const std::string& entry, const uint8_t* pData, int nLength,
                                     size_t nBytesPerPixel) const
    {
        const PFN_J2kDecode pDecode = GetDecoder(entry);
        EXPECT_NE(pDecode, nullptr) << entry;
        if (pDecode == nullptr)
        {
            return std::nullopt;
        }
        J2kDecoded decoded{-1, -1, {}};
        unsigned char* pOut = pDecode(pData, &decoded.nRows, &decoded.nColumns, nLength);
        if (pOut == nullptr)
        {
            EXPECT_EQ(decoded.nRows, 0);
            EXPECT_EQ(decoded.nColumns, 0);
            return std::nullopt;
        }
        const size_t nSize = static_cast<size_t>(decoded.nRows) *
                             static_cast<size_t>(decoded.nColumns) * nBytesPerPixel;
        decoded.pixels.assign(pOut, pOut + nSize);
        m_pDelete(pOut);
        return decoded;
    }

    std::optional<J2kDecoded> Decode(const std::string& entry, const ByteVector& data,
                                     size_t nBytesPerPixel) const
    {
        return Decode(entry, data.data(), static_cast<int>(data.size()), nBytesPerPixel);
    }

    ShimLibrary m_library{"Quoral2K"};
    PFN_JPGDEL m_pDelete = nullptr;
};

// Bytes per pixel of an entry, from the layout in its name.
inline size_t GetEntryPixelBytes(const std::string& entry)
{
    if (entry.find("RGB") != std::string::npos)
    {
        return 3;
    }
    return entry.find("16Bit") != std::string::npos ? 2 : 1;
}
