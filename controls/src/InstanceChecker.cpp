#include "InstanceChecker.h"

#include "AfxModuleState.h"
#include "AfxWinApp.h"
#include "WinInput.h"
#include "WinSync.h"
#include "WinWindow.h"

#include <cstdint>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CInstanceChecker, CObject)

namespace
{
constexpr DWORD kBlockSize = sizeof(DWORD);

// The blocks this process published as a first instance. They stay open
// until the process ends, so that later starts keep finding it.
std::vector<HANDLE>& GetPublishedBlocks()
{
    static std::vector<HANDLE> blocks;
    return blocks;
}

std::string GetBlockName()
{
    const char* appName = AfxGetModuleState()->m_lpszCurrentAppName;
    return std::string("CInstanceChecker_MMF_") + (appName != nullptr ? appName : "");
}

// A window handle travels between processes as 32 bits.
DWORD ToBlockValue(HWND hWnd)
{
    return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(hWnd));
}

HWND FromBlockValue(DWORD value)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}

HWND GetMainWindowHandle()
{
    CWnd* pMainWnd = AfxGetMainWnd();
    return pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : nullptr;
}
} // namespace

CInstanceChecker::CInstanceChecker() = default;

CInstanceChecker::~CInstanceChecker()
{
    if (m_hPrevInstance != nullptr)
    {
        CloseHandle(m_hPrevInstance);
    }
}

BOOL CInstanceChecker::PreviousInstanceRunning()
{
    const std::string name = GetBlockName();
    m_hPrevInstance = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (m_hPrevInstance != nullptr)
    {
        return TRUE;
    }
    const HANDLE hBlock = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             kBlockSize, name.c_str());
    if (hBlock == nullptr)
    {
        return FALSE;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS)
    {
        // Another instance made the block between the two calls: it is the
        // first one, not this process.
        m_hPrevInstance = hBlock;
        return TRUE;
    }
    GetPublishedBlocks().push_back(hBlock);
    auto* pValue =
        static_cast<DWORD*>(MapViewOfFile(hBlock, FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
    if (pValue != nullptr)
    {
        CSingleLock lock(&m_instanceDataMutex, TRUE);
        *pValue = ToBlockValue(GetMainWindowHandle());
        UnmapViewOfFile(pValue);
    }
    return FALSE;
}

void CInstanceChecker::ActivatePreviousInstance()
{
    if (m_hPrevInstance == nullptr)
    {
        return;
    }
    auto* pValue =
        static_cast<DWORD*>(MapViewOfFile(m_hPrevInstance, FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
    if (pValue != nullptr)
    {
        CSingleLock lock(&m_instanceDataMutex, TRUE);
        const HWND hWnd = FromBlockValue(*pValue);
        const HWND hPopup = GetLastActivePopup(hWnd);
        if (IsIconic(hWnd))
        {
            ShowWindow(hWnd, SW_RESTORE);
        }
        SetForegroundWindow(hPopup);
        UnmapViewOfFile(pValue);
    }
    CloseHandle(m_hPrevInstance);
    m_hPrevInstance = nullptr;
}
