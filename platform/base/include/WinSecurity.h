// Security attributes and the descriptor, SID and ACL calls the suite makes
// before it creates a shared block for everyone. Linux objects carry no NT
// security: the calls succeed and change nothing, and the objects they
// describe are readable and writable by their creator's user only.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

typedef struct _SECURITY_ATTRIBUTES
{
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *PSECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

typedef struct _ACL
{
    BYTE AclRevision;
    BYTE Sbz1;
    WORD AclSize;
    WORD AceCount;
    WORD Sbz2;
} ACL, *PACL;

typedef struct _SECURITY_DESCRIPTOR
{
    BYTE Revision;
    BYTE Sbz1;
    WORD Control;
    PVOID Owner;
    PVOID Group;
    PACL Sacl;
    PACL Dacl;
} SECURITY_DESCRIPTOR;
using PSECURITY_DESCRIPTOR = PVOID;
using PSID = PVOID;

#define SECURITY_DESCRIPTOR_REVISION 1
#define SECURITY_DESCRIPTOR_MIN_LENGTH (sizeof(SECURITY_DESCRIPTOR))
#define ACL_REVISION 2

typedef struct _SID_IDENTIFIER_AUTHORITY
{
    BYTE Value[6];
} SID_IDENTIFIER_AUTHORITY, *PSID_IDENTIFIER_AUTHORITY;

#define SECURITY_WORLD_SID_AUTHORITY                                                               \
    {                                                                                              \
        {                                                                                          \
            0, 0, 0, 0, 0, 1                                                                       \
        }                                                                                          \
    }
#define SECURITY_WORLD_RID 0x00000000L

typedef enum _ACCESS_MODE
{
    NOT_USED_ACCESS = 0,
    GRANT_ACCESS,
    SET_ACCESS,
    DENY_ACCESS,
    REVOKE_ACCESS,
    SET_AUDIT_SUCCESS,
    SET_AUDIT_FAILURE
} ACCESS_MODE;

#define NO_INHERITANCE 0x0

typedef enum _MULTIPLE_TRUSTEE_OPERATION
{
    NO_MULTIPLE_TRUSTEE,
    TRUSTEE_IS_IMPERSONATE
} MULTIPLE_TRUSTEE_OPERATION;

typedef enum _TRUSTEE_FORM
{
    TRUSTEE_IS_SID,
    TRUSTEE_IS_NAME,
    TRUSTEE_BAD_FORM
} TRUSTEE_FORM;

typedef enum _TRUSTEE_TYPE
{
    TRUSTEE_IS_UNKNOWN,
    TRUSTEE_IS_USER,
    TRUSTEE_IS_GROUP,
    TRUSTEE_IS_DOMAIN,
    TRUSTEE_IS_ALIAS,
    TRUSTEE_IS_WELL_KNOWN_GROUP
} TRUSTEE_TYPE;

typedef struct _TRUSTEE_A
{
    struct _TRUSTEE_A* pMultipleTrustee;
    MULTIPLE_TRUSTEE_OPERATION MultipleTrusteeOperation;
    TRUSTEE_FORM TrusteeForm;
    TRUSTEE_TYPE TrusteeType;
    LPSTR ptstrName;
} TRUSTEE_A, *PTRUSTEE_A;
using TRUSTEE = TRUSTEE_A;

typedef struct _EXPLICIT_ACCESS_A
{
    DWORD grfAccessPermissions;
    ACCESS_MODE grfAccessMode;
    DWORD grfInheritance;
    TRUSTEE_A Trustee;
} EXPLICIT_ACCESS_A, *PEXPLICIT_ACCESS_A;
using EXPLICIT_ACCESS = EXPLICIT_ACCESS_A;
using PEXPLICIT_ACCESS = PEXPLICIT_ACCESS_A;

extern "C" PLATFORMBASE_API BOOL InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor,
                                                              DWORD revision);
extern "C" PLATFORMBASE_API BOOL SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor,
                                                           BOOL daclPresent, PACL dacl,
                                                           BOOL daclDefaulted);
// The SID is freed with FreeSid.
extern "C" PLATFORMBASE_API BOOL AllocateAndInitializeSid(
    PSID_IDENTIFIER_AUTHORITY authority, BYTE subAuthorityCount, DWORD subAuthority0,
    DWORD subAuthority1, DWORD subAuthority2, DWORD subAuthority3, DWORD subAuthority4,
    DWORD subAuthority5, DWORD subAuthority6, DWORD subAuthority7, PSID* sid);
extern "C" PLATFORMBASE_API PVOID FreeSid(PSID sid);
// The new ACL is freed with LocalFree.
extern "C" PLATFORMBASE_API DWORD SetEntriesInAclA(ULONG count, PEXPLICIT_ACCESS_A entries,
                                                   PACL oldAcl, PACL* newAcl);

inline DWORD SetEntriesInAcl(ULONG count, PEXPLICIT_ACCESS_A entries, PACL oldAcl, PACL* newAcl)
{
    return SetEntriesInAclA(count, entries, oldAcl, newAcl);
}
