// The stand-in for dynamic data exchange.
#include "WinClipboard.h"
#include "WinDde.h"

#include <gtest/gtest.h>

namespace
{
TEST(DdeTest, EveryCallFailsAsForAnInstanceNeverInitialised)
{
    DWORD idInst = 1234;
    EXPECT_EQ(DdeInitializeA(&idInst, nullptr, APPCMD_CLIENTONLY, 0),
              UINT(DMLERR_DLL_NOT_INITIALIZED));
    EXPECT_EQ(idInst, 0u);
    const HSZ hService = DdeCreateStringHandleA(0, "Dravelo", CP_WINANSI);
    EXPECT_EQ(hService, nullptr);
    EXPECT_EQ(DdeConnect(0, hService, nullptr, nullptr), nullptr);
    EXPECT_EQ(DdeNameService(0, hService, nullptr, DNS_REGISTER), nullptr);
    DWORD dwResult = 99;
    BYTE command[] = "[Open]";
    EXPECT_EQ(DdeClientTransaction(command, sizeof(command), nullptr, nullptr, CF_TEXT,
                                   XTYP_EXECUTE, 5000, &dwResult),
              nullptr);
    EXPECT_EQ(dwResult, 0u);
    EXPECT_EQ(DdeGetData(nullptr, command, sizeof(command), 0), 0u);
    EXPECT_FALSE(DdeFreeDataHandle(nullptr));
    EXPECT_FALSE(DdePostAdvise(0, nullptr, nullptr));
    EXPECT_FALSE(DdeDisconnect(nullptr));
    EXPECT_FALSE(DdeFreeStringHandle(0, hService));
    EXPECT_EQ(DdeGetLastError(0), UINT(DMLERR_DLL_NOT_INITIALIZED));
}
} // namespace
