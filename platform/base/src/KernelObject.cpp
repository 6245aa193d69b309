#include "KernelObject.h"

#include "WinError.h"
#include "WinHandle.h"

#include <mutex>
#include <unordered_map>

namespace platform
{
namespace
{
struct SHandleTable
{
    std::mutex lock;
    std::unordered_map<HANDLE, std::unique_ptr<CKernelObject>> objects;
};

SHandleTable& GetHandleTable()
{
    static SHandleTable table;
    return table;
}
} // namespace

HANDLE RegisterKernelObject(std::unique_ptr<CKernelObject> object)
{
    SHandleTable& table = GetHandleTable();
    const HANDLE handle = object.get();
    std::lock_guard guard(table.lock);
    table.objects.emplace(handle, std::move(object));
    return handle;
}

CKernelObject* FindKernelObject(HANDLE handle)
{
    SHandleTable& table = GetHandleTable();
    std::lock_guard guard(table.lock);
    const auto found = table.objects.find(handle);
    return found == table.objects.end() ? nullptr : found->second.get();
}

void SetInvalidHandleError()
{
    SetLastError(ERROR_INVALID_HANDLE);
}

bool CloseKernelObject(HANDLE handle)
{
    std::unique_ptr<CKernelObject> object;
    {
        SHandleTable& table = GetHandleTable();
        std::lock_guard guard(table.lock);
        const auto found = table.objects.find(handle);
        if (found == table.objects.end())
        {
            return false;
        }
        object = std::move(found->second);
        table.objects.erase(found);
    }
    return true; // the object closes here, outside the table lock
}
} // namespace platform

BOOL CloseHandle(HANDLE handle)
{
    if (!platform::CloseKernelObject(handle))
    {
        platform::SetInvalidHandleError();
        return FALSE;
    }
    return TRUE;
}
