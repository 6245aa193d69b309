// The windows registered for drops and the walk that finds the one under the
// pointer during a drag.
#include "OleDragSession.h"

#include "DisplayBackend.h"
#include "ForeignDragTarget.h"

#include "OleDataStore.h"
#include "WinClipboard.h"
#include "WinDropFiles.h"
#include "WinGlobalMemory.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

#include <iterator>
#include <map>

// {00000121-0000-0000-C000-000000000046}
const IID IID_IDropSource = {0x00000121, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {00000122-0000-0000-C000-000000000046}
const IID IID_IDropTarget = {0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace
{
thread_local int t_nOleStarts = 0;

std::map<HWND, IDropTarget*>& Registered()
{
    static std::map<HWND, IDropTarget*> targets;
    return targets;
}

// Registrations of windows that are gone let their targets go.
void ForgetDeadWindows()
{
    auto& targets = Registered();
    for (auto it = targets.begin(); it != targets.end();)
    {
        if (IsWindow(it->first))
        {
            ++it;
            continue;
        }
        it->second->Release();
        it = targets.erase(it);
    }
}

IDropTarget* RegisteredTarget(HWND hWnd)
{
    const auto it = Registered().find(hWnd);
    return it != Registered().end() && IsWindow(hWnd) ? it->second : nullptr;
}

bool AcceptsFiles(HWND hWnd)
{
    return (GetWindowLongPtrA(hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
}

POINTL ToPointL(POINT pt)
{
    return POINTL{pt.x, pt.y};
}
} // namespace

HRESULT OleInitialize(LPVOID pvReserved)
{
    CoInitialize(pvReserved);
    return ++t_nOleStarts == 1 ? S_OK : S_FALSE;
}

void OleUninitialize()
{
    if (t_nOleStarts == 0)
        return;
    --t_nOleStarts;
    CoUninitialize();
}

HRESULT RegisterDragDrop(HWND hWnd, LPDROPTARGET pDropTarget)
{
    if (t_nOleStarts == 0)
        return E_OUTOFMEMORY;
    if (pDropTarget == nullptr)
        return E_INVALIDARG;
    if (!IsWindow(hWnd))
        return DRAGDROP_E_INVALIDHWND;
    ForgetDeadWindows();
    if (!Registered().emplace(hWnd, pDropTarget).second)
        return DRAGDROP_E_ALREADYREGISTERED;
    pDropTarget->AddRef();
    return S_OK;
}

HRESULT RevokeDragDrop(HWND hWnd)
{
    const auto it = Registered().find(hWnd);
    if (it == Registered().end())
        return DRAGDROP_E_NOTREGISTERED;
    IDropTarget* pTarget = it->second;
    Registered().erase(it);
    pTarget->Release();
    return S_OK;
}

COleDragSession::COleDragSession(IDataObject* pDataObj, DWORD dwOKEffects, bool bToOtherPrograms)
    : m_pDataObj(pDataObj), m_dwOKEffects(dwOKEffects), m_bToOtherPrograms(bToOtherPrograms)
{
    m_pDataObj->AddRef();
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    m_bOffersFiles = m_pDataObj->QueryGetData(&format) == S_OK;
}

COleDragSession::~COleDragSession()
{
    Leave();
    m_pDataObj->Release();
}

COleDragSession::Target COleDragSession::FindTarget(POINT ptScreen) const
{
    for (HWND hWnd = WindowFromPoint(ptScreen); hWnd != nullptr;
         hWnd = GetAncestor(hWnd, GA_PARENT))
    {
        if (IDropTarget* pTarget = RegisteredTarget(hWnd))
            return Target{hWnd, pTarget};
        if (m_bOffersFiles && AcceptsFiles(hWnd))
            return Target{hWnd, nullptr};
    }
    return {};
}

DWORD COleDragSession::Allowed(DWORD dwEffect) const
{
    return dwEffect & (m_dwOKEffects | DROPEFFECT_SCROLL);
}

DWORD COleDragSession::FileEffect() const
{
    return Allowed(DROPEFFECT_COPY);
}

void COleDragSession::Release()
{
    if (m_pTarget != nullptr)
        m_pTarget->Release();
    m_pTarget = nullptr;
    m_hTarget = nullptr;
}

void COleDragSession::Leave()
{
    if (m_pTarget != nullptr)
        m_pTarget->DragLeave();
    if (m_pForeign != nullptr)
        m_pForeign->Leave();
    m_pForeign = nullptr;
    Release();
}

DWORD COleDragSession::OverOtherProgram(POINT ptScreen, DWORD grfKeyState)
{
    if (m_pForeign == nullptr)
    {
        Leave();
        m_pForeign = GetDisplayBackend().GetForeignDragTarget();
    }
    if (m_pForeign == nullptr)
        return DROPEFFECT_NONE;
    return Allowed(m_pForeign->Over(m_pDataObj, ptScreen, grfKeyState, m_dwOKEffects));
}

DWORD COleDragSession::Over(POINT ptScreen, DWORD grfKeyState)
{
    m_ptLast = ptScreen;
    m_dwLastEffect = Enter(ptScreen, grfKeyState);
    return m_dwLastEffect;
}

DWORD COleDragSession::Enter(POINT ptScreen, DWORD grfKeyState)
{
    if (m_bToOtherPrograms && WindowFromPoint(ptScreen) == nullptr)
        return OverOtherProgram(ptScreen, grfKeyState);
    const Target target = FindTarget(ptScreen);
    DWORD dwEffect = m_dwOKEffects;
    if (target.hWnd == m_hTarget && m_hTarget != nullptr)
    {
        if (m_pTarget == nullptr)
            return FileEffect();
        if (FAILED(m_pTarget->DragOver(grfKeyState, ToPointL(ptScreen), &dwEffect)))
            return DROPEFFECT_NONE;
        return Allowed(dwEffect);
    }
    Leave();
    if (target.hWnd == nullptr)
        return DROPEFFECT_NONE;
    m_hTarget = target.hWnd;
    if (target.pTarget == nullptr)
        return FileEffect();
    m_pTarget = target.pTarget;
    m_pTarget->AddRef();
    if (FAILED(m_pTarget->DragEnter(m_pDataObj, grfKeyState, ToPointL(ptScreen), &dwEffect)))
        return DROPEFFECT_NONE;
    return Allowed(dwEffect);
}

DWORD COleDragSession::Drop(POINT ptScreen, DWORD grfKeyState)
{
    // A drop away from where the pointer was last seen is seen there first;
    // the button that went up to drop changes nothing.
    DWORD dwEffect = m_dwLastEffect;
    if ((m_hTarget == nullptr && m_pForeign == nullptr) || ptScreen.x != m_ptLast.x ||
        ptScreen.y != m_ptLast.y)
        dwEffect = Over(ptScreen, grfKeyState);
    if (m_pForeign != nullptr)
    {
        // A program that takes nothing is left, not dropped on.
        DWORD dwDone = DROPEFFECT_NONE;
        if ((dwEffect & ~DROPEFFECT_SCROLL) != DROPEFFECT_NONE)
            dwDone = m_pForeign->Drop();
        else
            m_pForeign->Leave();
        m_pForeign = nullptr;
        return Allowed(dwDone) & ~DROPEFFECT_SCROLL;
    }
    if (m_hTarget == nullptr || (dwEffect & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE)
    {
        Leave();
        return DROPEFFECT_NONE;
    }
    if (m_pTarget == nullptr)
    {
        PostFiles(ptScreen);
        Release();
        return dwEffect;
    }
    dwEffect = m_dwOKEffects;
    const HRESULT hr = m_pTarget->Drop(m_pDataObj, grfKeyState, ToPointL(ptScreen), &dwEffect);
    Release();
    return SUCCEEDED(hr) ? Allowed(dwEffect) & ~DROPEFFECT_SCROLL : DROPEFFECT_NONE;
}

void COleDragSession::PostFiles(POINT ptScreen) const
{
    const std::vector<BYTE> bytes = GetDataObjectBytes(m_pDataObj, CF_HDROP);
    HGLOBAL hCopy = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (hCopy == nullptr || bytes.size() < sizeof(DROPFILES))
    {
        GlobalFree(hCopy);
        return;
    }
    auto* pBlock = static_cast<BYTE*>(GlobalLock(hCopy));
    std::copy(bytes.begin(), bytes.end(), pBlock);
    auto* pHeader = reinterpret_cast<DROPFILES*>(pBlock);
    POINT pt = ptScreen;
    ScreenToClient(m_hTarget, &pt);
    pHeader->pt = pt;
    pHeader->fNC = FALSE;
    GlobalUnlock(hCopy);
    if (!PostMessageA(m_hTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(hCopy), 0))
        GlobalFree(hCopy);
}
