// Closing kernel-object handles: files, named mutexes and file mappings all
// close through the one call.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

// FALSE with ERROR_INVALID_HANDLE for a handle that is not open.
extern "C" PLATFORMBASE_API BOOL CloseHandle(HANDLE handle);
