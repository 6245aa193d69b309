#include "AfxModuleState.h"

#include "WinModule.h"

namespace
{
AFX_MODULE_STATE& ProgramState()
{
    static AFX_MODULE_STATE state(GetModuleHandleA(nullptr));
    return state;
}

thread_local AFX_MODULE_STATE* tCurrentState = nullptr;
} // namespace

AFX_MODULE_STATE::AFX_MODULE_STATE(HINSTANCE hInstance) : m_hCurrentInstanceHandle(hInstance) {}

AFX_MODULE_STATE* AfxGetModuleState()
{
    return tCurrentState != nullptr ? tCurrentState : &ProgramState();
}

AFX_MODULE_STATE* AfxGetAppModuleState()
{
    return &ProgramState();
}

AFX_MODULE_STATE* AfxSetModuleState(AFX_MODULE_STATE* pNewState)
{
    AFX_MODULE_STATE* pPrevious = AfxGetModuleState();
    tCurrentState = pNewState;
    return pPrevious;
}

HINSTANCE AfxModuleOfAddress(const void* pAddress)
{
    HMODULE hModule = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(pAddress), &hModule);
    return hModule;
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState)
    : m_pPrevState(AfxSetModuleState(pNewState))
{
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2()
{
    AfxSetModuleState(m_pPrevState);
}

HINSTANCE AfxGetInstanceHandle()
{
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

CWinApp* AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}
