// The table of open kernel-object handles. A handle is the address of its
// object; only handles found in the table are ever dereferenced, so a stale
// or made-up handle fails cleanly instead of crashing.
#pragma once

#include "WinTypes.h"

#include <memory>

namespace platform
{
class CKernelObject
{
public:
    virtual ~CKernelObject() = default;
};

HANDLE RegisterKernelObject(std::unique_ptr<CKernelObject> object);

CKernelObject* FindKernelObject(HANDLE handle);

void SetInvalidHandleError();

// The object behind the handle when it is open and of kind T, else null with
// ERROR_INVALID_HANDLE as the last error.
template <class T> T* GetKernelObject(HANDLE handle)
{
    T* object = dynamic_cast<T*>(FindKernelObject(handle));
    if (object == nullptr)
    {
        SetInvalidHandleError();
    }
    return object;
}

// Removes and destroys the object; false when the handle is not open.
bool CloseKernelObject(HANDLE handle);
} // namespace platform
