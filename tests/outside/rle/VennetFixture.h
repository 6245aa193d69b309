// Test fixture: "Vennet.dll" loaded by name, with a decode that copies the
// result out and releases it through the library's own free function.
#pragma once

#include "ShimLibrary.h"
#include "Vennet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

class VennetFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_library.IsLoaded());
        m_pDecode = m_library.GetEntry<PFN_RLE_Dec>("RLE_Dec");
        m_pDelete = m_library.GetEntry<PFN_Vennet_DEL>("Vennet_DEL");
        ASSERT_NE(m_pDecode, nullptr);
        ASSERT_NE(m_pDelete, nullptr);
    }

    std::optional<std::vector<uint8_t>> Decode(const uint8_t* pData, int nLength) const
    {
        int nOutLength = -1;
        unsigned char* pOut = m_pDecode(pData, nLength, &nOutLength);
        if (pOut == nullptr)
        {
            EXPECT_EQ(nOutLength, 0);
            return std::nullopt;
        }
        std::vector<uint8_t> pixels(pOut, pOut + nOutLength);
        m_pDelete(pOut);
        return pixels;
    }

    std::optional<std::vector<uint8_t>> Decode(const std::vector<uint8_t>& frame) const
    {
        return Decode(frame.data(), static_cast<int>(frame.size()));
    }

    ShimLibrary m_library{"Vennet"};
    PFN_RLE_Dec m_pDecode = nullptr;
    PFN_Vennet_DEL m_pDelete = nullptr;
};
