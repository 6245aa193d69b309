// Which module's resources MFC-style code uses: the current resource module
// (the program unless set otherwise) and the search across every module
// that has resources.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

PLATFORMUI_API HINSTANCE AfxGetResourceHandle();
PLATFORMUI_API void AfxSetResourceHandle(HINSTANCE hInstResource);
// The first module holding the resource: the current resource module, then
// the program, then the other modules in registration order. The current
// resource module when none holds it.
PLATFORMUI_API HINSTANCE AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The same search for a string-table entry.
PLATFORMUI_API HINSTANCE AfxFindStringResourceHandle(UINT nID);
