// Module states: which module's instance, resources and application object
// MFC-style code uses. The program's state is current unless a library
// switches to its own for a scope with AFX_MANAGE_STATE.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

class CWinApp;

struct PLATFORMUI_API AFX_MODULE_STATE
{
    explicit AFX_MODULE_STATE(HINSTANCE hInstance);

    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle = nullptr; // null: the instance itself
    LPCSTR m_lpszCurrentAppName = nullptr;
    CWinApp* m_pCurrentWinApp = nullptr;
};

// The current state of the thread (the program's when none was set).
PLATFORMUI_API AFX_MODULE_STATE* AfxGetModuleState();
PLATFORMUI_API AFX_MODULE_STATE* AfxGetAppModuleState();
// Makes a state current and returns the one it replaces.
PLATFORMUI_API AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* pNewState);
PLATFORMUI_API HINSTANCE AfxModuleOfAddress(const void* pAddress);

// The state of the module this is compiled into: every shared library gets
// its own copy of this function and of its state.
inline AFX_MODULE_STATE* AfxGetStaticModuleState()
{
    static const char kMarker = 0;
    static AFX_MODULE_STATE state(AfxModuleOfAddress(&kMarker));
    return &state;
}

class PLATFORMUI_API AFX_MAINTAIN_STATE2
{
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState);
    ~AFX_MAINTAIN_STATE2();
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevState;
};

#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p);

PLATFORMUI_API HINSTANCE AfxGetInstanceHandle();
PLATFORMUI_API CWinApp* AfxGetApp();
