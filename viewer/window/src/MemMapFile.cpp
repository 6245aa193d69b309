#include "MemMapFile.h"

#include "Lettra.h"
#include "QuillonLog.h"
#include "WinGlobalMemory.h"
#include "WinSecurity.h"
#include "WinSync.h"

#include <cstdarg>
#include <cstdint>

namespace
{
// The access list of the block's descriptor, freed with LocalFree.
class CAclHolder
{
public:
    CAclHolder() = default;
    CAclHolder(const CAclHolder&) = delete;
    CAclHolder& operator=(const CAclHolder&) = delete;
    ~CAclHolder()
    {
        if (m_acl != nullptr)
        {
            LocalFree(m_acl);
        }
    }

    PACL* operator&() { return &m_acl; }
    operator PACL() const { return m_acl; }

private:
    PACL m_acl = nullptr;
};

// The group identifier of the access list: freed with FreeSid when the
// system allocated it, else with the ordinary delete.
class CSidHolder
{
public:
    CSidHolder() = default;
    CSidHolder(const CSidHolder&) = delete;
    CSidHolder& operator=(const CSidHolder&) = delete;
    ~CSidHolder()
    {
        if (m_bAllocatedBySystem)
        {
            FreeSid(m_sid);
        }
        else
        {
            delete static_cast<char*>(m_sid);
        }
    }

    // The Everyone group; false when the system could not make it.
    bool AllocateEveryone()
    {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        m_bAllocatedBySystem = AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0,
                                                        0, 0, 0, &m_sid) != FALSE;
        return m_bAllocatedBySystem;
    }
    PSID Get() const { return m_sid; }

private:
    bool m_bAllocatedBySystem = false;
    PSID m_sid = nullptr;
};

// An error line with the system's code and text after it.
void _syserror(DWORD code, const char* format, ...)
{
    Lettra text;
    va_list args;
    va_start(args, format);
    text.FormatV(format, args);
    va_end(args);
    Lettra line;
    line.FormatMessageA(code, "%s", static_cast<const char*>(text));
    quillon::_error("%s", static_cast<const char*>(line));
}
} // namespace

MemMapFile::~MemMapFile()
{
    Close();
}

bool MemMapFile::Create(const char* name, unsigned int size)
{
    SECURITY_DESCRIPTOR descriptor{};
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION))
    {
        return false;
    }
    CSidHolder everyone;
    if (!everyone.AllocateEveryone())
    {
        quillon::_error("AllocateAndInitializeSid Error %d", static_cast<int>(GetLastError()));
    }
    EXPLICIT_ACCESS access{};
    access.grfAccessPermissions = FILE_MAP_READ | FILE_MAP_WRITE;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPSTR>(everyone.Get());
    CAclHolder acl;
    if (SetEntriesInAcl(1, &access, nullptr, &acl) != ERROR_SUCCESS)
    {
        quillon::_error("SetEntriesInAcl Error %u", static_cast<unsigned>(GetLastError()));
    }
    if (!SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE))
    {
        return false;
    }
    SECURITY_ATTRIBUTES attributes{12, &descriptor, TRUE};
    const Lettra fullName = Lettra("Global\\") + name;
    m_mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0, size, fullName);
    if (m_mapping == nullptr)
    {
        _syserror(GetLastError(), "Can't create file mapping.");
        return false;
    }
    m_view = MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, size);
    if (m_view == nullptr)
    {
        _syserror(GetLastError(), "MapViewOfFile () failed, file handle = %d",
                  static_cast<int>(reinterpret_cast<std::uintptr_t>(m_mapping)));
        Close();
        return false;
    }
    return true;
}

void MemMapFile::Close()
{
    if (m_view != nullptr)
    {
        UnmapViewOfFile(m_view);
        m_view = nullptr;
    }
    if (m_mapping != nullptr)
    {
        CloseHandle(m_mapping);
        m_mapping = nullptr;
    }
}
