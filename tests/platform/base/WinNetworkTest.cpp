#include "WinNetwork.h"

#include "WinError.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
class WinNetwork : public testing::Test
{
protected:
    void TearDown() override { ClearInjectedAdapterAddresses(); }
};

TEST_F(WinNetwork, ChainsTheInjectedAdaptersInOrder)
{
    const AdapterAddress addresses[] = {{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E},
                                        {0x02, 0x00, 0x00, 0x00, 0x00, 0x01}};
    SetInjectedAdapterAddresses(addresses);
    IP_ADAPTER_INFO info[16];
    ULONG size = sizeof info;
    ASSERT_EQ(GetAdaptersInfo(info, &size), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(info[0].AddressLength, 6u);
    EXPECT_TRUE(std::equal(addresses[0].begin(), addresses[0].end(), info[0].Address));
    ASSERT_EQ(info[0].Next, &info[1]);
    EXPECT_TRUE(std::equal(addresses[1].begin(), addresses[1].end(), info[1].Address));
    EXPECT_EQ(info[1].Next, nullptr);
}

TEST_F(WinNetwork, NoAdapterGivesNoData)
{
    SetInjectedAdapterAddresses({});
    IP_ADAPTER_INFO info[16];
    ULONG size = sizeof info;
    EXPECT_EQ(GetAdaptersInfo(info, &size), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(WinNetwork, ASmallBufferAsksForTheSizeNeeded)
{
    const AdapterAddress addresses[] = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    SetInjectedAdapterAddresses(addresses);
    IP_ADAPTER_INFO info[1];
    ULONG size = sizeof info;
    EXPECT_EQ(GetAdaptersInfo(info, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
    EXPECT_EQ(size, 2 * sizeof(IP_ADAPTER_INFO));
    EXPECT_EQ(GetAdaptersInfo(info, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(WinNetwork, TheMachinesAdaptersHaveAddressesAndComeByIndex)
{
    IP_ADAPTER_INFO info[64];
    ULONG size = sizeof info;
    const DWORD result = GetAdaptersInfo(info, &size);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_NO_DATA) << result;
    for (const IP_ADAPTER_INFO* adapter = result == ERROR_SUCCESS ? info : nullptr;
         adapter != nullptr; adapter = adapter->Next)
    {
        EXPECT_GT(adapter->AddressLength, 0u);
        EXPECT_TRUE(std::any_of(adapter->Address, adapter->Address + adapter->AddressLength,
                                [](BYTE b) { return b != 0; }));
        EXPECT_STRNE(adapter->AdapterName, "lo");
        if (adapter->Next != nullptr)
        {
            EXPECT_LT(adapter->Index, adapter->Next->Index);
        }
    }
}
} // namespace
