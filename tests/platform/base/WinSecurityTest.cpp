#include "WinSecurity.h"

#include "WinError.h"
#include "WinGlobalMemory.h"
#include "WinSync.h"

#include <gtest/gtest.h>

namespace
{
// The sequence that makes a block readable and writable by everyone.
TEST(WinSecurity, TheEveryoneDescriptorSequenceSucceeds)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    ASSERT_TRUE(
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone));
    ASSERT_NE(everyone, nullptr);
    EXPLICIT_ACCESS access{};
    access.grfAccessPermissions = FILE_MAP_READ | FILE_MAP_WRITE;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPSTR>(everyone);
    PACL acl = nullptr;
    EXPECT_EQ(SetEntriesInAcl(1, &access, nullptr, &acl), static_cast<DWORD>(ERROR_SUCCESS));
    ASSERT_NE(acl, nullptr);
    SECURITY_DESCRIPTOR descriptor;
    EXPECT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    EXPECT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE));
    EXPECT_EQ(descriptor.Dacl, acl);
    EXPECT_EQ(LocalFree(acl), nullptr);
    EXPECT_EQ(FreeSid(everyone), nullptr);
}

TEST(WinSecurity, RefusesMissingArguments)
{
    EXPECT_FALSE(InitializeSecurityDescriptor(nullptr, SECURITY_DESCRIPTOR_REVISION));
    SECURITY_DESCRIPTOR descriptor;
    EXPECT_FALSE(InitializeSecurityDescriptor(&descriptor, 7));
    EXPECT_EQ(SetEntriesInAclA(0, nullptr, nullptr, nullptr),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    PSID sid = nullptr;
    EXPECT_FALSE(AllocateAndInitializeSid(nullptr, 1, 0, 0, 0, 0, 0, 0, 0, 0, &sid));
}
} // namespace
