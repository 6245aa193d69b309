#include "WinSecurity.h"

#include "WinError.h"
#include "WinGlobalMemory.h"

#include <cstring>

namespace
{
// Enough of a SID for the stand-ins: the authority and the sub-authorities
// as given, so that a caller inspecting it sees what it asked for.
struct SStandInSid
{
    SID_IDENTIFIER_AUTHORITY authority;
    BYTE subAuthorityCount;
    DWORD subAuthorities[8];
};
} // namespace

BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision)
{
    if (descriptor == nullptr || revision != SECURITY_DESCRIPTOR_REVISION)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* record = static_cast<SECURITY_DESCRIPTOR*>(descriptor);
    *record = SECURITY_DESCRIPTOR{};
    record->Revision = static_cast<BYTE>(revision);
    return TRUE;
}

BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL daclPresent, PACL dacl, BOOL)
{
    if (descriptor == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    static_cast<SECURITY_DESCRIPTOR*>(descriptor)->Dacl = daclPresent ? dacl : nullptr;
    return TRUE;
}

BOOL AllocateAndInitializeSid(PSID_IDENTIFIER_AUTHORITY authority, BYTE subAuthorityCount,
                              DWORD subAuthority0, DWORD subAuthority1, DWORD subAuthority2,
                              DWORD subAuthority3, DWORD subAuthority4, DWORD subAuthority5,
                              DWORD subAuthority6, DWORD subAuthority7, PSID* sid)
{
    if (authority == nullptr || sid == nullptr || subAuthorityCount > 8)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* record = new SStandInSid{*authority,
                                   subAuthorityCount,
                                   {subAuthority0, subAuthority1, subAuthority2, subAuthority3,
                                    subAuthority4, subAuthority5, subAuthority6, subAuthority7}};
    *sid = record;
    return TRUE;
}

PVOID FreeSid(PSID sid)
{
    delete static_cast<SStandInSid*>(sid);
    return nullptr;
}

DWORD SetEntriesInAclA(ULONG count, PEXPLICIT_ACCESS_A entries, PACL, PACL* newAcl)
{
    if (newAcl == nullptr || (count > 0 && entries == nullptr))
    {
        return ERROR_INVALID_PARAMETER;
    }
    auto* acl = static_cast<PACL>(LocalAlloc(LPTR, sizeof(ACL)));
    if (acl == nullptr)
    {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    acl->AclRevision = ACL_REVISION;
    acl->AclSize = sizeof(ACL);
    *newAcl = acl;
    return ERROR_SUCCESS;
}
