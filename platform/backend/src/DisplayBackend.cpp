#include "DisplayBackend.h"

#include "ForeignDragTarget.h"

#include "HeadlessBackend.h"
#include "UserRawInput.h"

namespace
{
CDisplayBackend* gInstalled = nullptr;
} // namespace

CDisplayBackend::~CDisplayBackend() = default;

void CDisplayBackend::OnInstalled()
{
    UserSetScreenSize(GDI_SCREEN_WIDTH, GDI_SCREEN_HEIGHT);
}

void CDisplayBackend::Wake() {}

HWND CDisplayBackend::CreateTopLevelHandle(DWORD, DWORD, HWND)
{
    return nullptr;
}

void CDisplayBackend::TakeReadyInput() {}

void CDisplayBackend::OnTopLevelFrameChanged(HWND) {}

bool CDisplayBackend::BeginMoveSize(HWND, int, POINT)
{
    return false;
}

void CDisplayBackend::OnTopLevelActivated(HWND) {}

void CDisplayBackend::OnCaptureChanged(HWND) {}

bool CDisplayBackend::QueryCursorPos(POINT&)
{
    return false;
}

bool CDisplayBackend::QueryKeyDown(UINT, bool&)
{
    return false;
}

CForeignDragTarget::~CForeignDragTarget() = default;

CForeignDragTarget* CDisplayBackend::GetForeignDragTarget()
{
    return nullptr;
}

CForeignWindows* CDisplayBackend::GetForeignWindows()
{
    return nullptr;
}

CDisplayBackend& GetDisplayBackend()
{
    return gInstalled != nullptr ? *gInstalled : GetHeadlessBackend();
}

CDisplayBackend* SetDisplayBackend(CDisplayBackend* pBackend)
{
    CDisplayBackend* previous = gInstalled;
    gInstalled = pBackend;
    GetDisplayBackend().OnInstalled();
    return previous;
}
