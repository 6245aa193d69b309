// What the two test modules share: the ids of their resources and the entry
// that hands out the run-time class each module defines.
#pragma once

#include "AfxObject.h"

constexpr UINT kSharedStringId = 200;  // in both modules, different texts
constexpr UINT kModuleAStringId = 201; // only in module A
constexpr UINT kModuleBStringId = 202; // only in module B
constexpr WORD kSharedDataId = 7;      // RT_RCDATA in both modules
constexpr WORD kToolbarId = 128;       // module A
constexpr WORD kAcceleratorId = 128;   // module A
constexpr WORD kMenuId = 139;          // module B
constexpr WORD kDialogId = 105;        // module B
constexpr WORD kBitmapId = 131;        // module A, authored file
constexpr WORD kMissingFileBitmapId = 132;
// The bitmap file module A names, relative to the module's folder.
constexpr const char* kBitmapRelativePath = "mfc-test-data/Pixel.BMP";

using GetModuleClassFunction = CRuntimeClass* (*)();

inline GetModuleClassFunction ToModuleClassFunction(FARPROC proc)
{
    // Through the generic function type, which any function pointer may take.
    return reinterpret_cast<GetModuleClassFunction>(reinterpret_cast<void (*)()>(proc));
}
