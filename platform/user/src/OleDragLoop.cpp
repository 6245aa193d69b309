// The modal loop of a drag started in this process.
#include "OleDragSession.h"

#include "WinCursor.h"
#include "WinInput.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

namespace
{
bool IsDown(int nVirtKey)
{
    return (GetKeyState(nVirtKey) & 0x8000) != 0;
}

// The buttons and modifiers as the messages read so far left them.
DWORD KeyState()
{
    DWORD keys = 0;
    keys |= IsDown(VK_LBUTTON) ? MK_LBUTTON : 0;
    keys |= IsDown(VK_RBUTTON) ? MK_RBUTTON : 0;
    keys |= IsDown(VK_MBUTTON) ? MK_MBUTTON : 0;
    keys |= IsDown(VK_SHIFT) ? MK_SHIFT : 0;
    keys |= IsDown(VK_CONTROL) ? MK_CONTROL : 0;
    keys |= IsDown(VK_MENU) ? MK_ALT : 0;
    return keys;
}

bool IsMouseMessage(UINT nMsg)
{
    return nMsg >= WM_MOUSEFIRST && nMsg <= WM_MOUSELAST;
}

bool IsKeyMessage(UINT nMsg)
{
    return nMsg >= WM_KEYFIRST && nMsg <= WM_KEYLAST;
}

void ShowFeedback(IDropSource* pDropSource, DWORD dwEffect)
{
    if (pDropSource->GiveFeedback(dwEffect) != DRAGDROP_S_USEDEFAULTCURSORS)
        return;
    const bool bNone = (dwEffect & ~DROPEFFECT_SCROLL) == DROPEFFECT_NONE;
    SetCursor(LoadCursorA(nullptr, bNone ? IDC_NO : IDC_ARROW));
}
} // namespace

HRESULT DoDragDrop(LPDATAOBJECT pDataObj, LPDROPSOURCE pDropSource, DWORD dwOKEffects,
                   LPDWORD pdwEffect)
{
    if (pDataObj == nullptr || pDropSource == nullptr || pdwEffect == nullptr)
        return E_INVALIDARG;
    *pdwEffect = DROPEFFECT_NONE;
    POINT pt{};
    GetCursorPos(&pt);
    // The mouse stays with the source's window (or the one the drag
    // starts over) until the drag ends, wherever the pointer goes.
    HWND hCapture = GetCapture();
    if (hCapture == nullptr)
        hCapture = WindowFromPoint(pt);
    if (hCapture == nullptr)
        return DRAGDROP_S_CANCEL;
    SetCapture(hCapture);
    COleDragSession session(pDataObj, dwOKEffects, true);
    ShowFeedback(pDropSource, session.Over(pt, KeyState()));
    HRESULT hr = DRAGDROP_S_CANCEL;
    MSG msg{};
    for (;;)
    {
        if (!GetMessageA(&msg, nullptr, 0, 0))
        {
            // The loop outside sees the quit as well.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (GetCapture() != hCapture)
        {
            DispatchMessageA(&msg);
            break;
        }
        if (!IsMouseMessage(msg.message) && !IsKeyMessage(msg.message))
        {
            DispatchMessageA(&msg);
            continue;
        }
        if (IsMouseMessage(msg.message))
            pt = msg.pt;
        const bool bEscape = msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE;
        const DWORD keys = KeyState();
        const HRESULT hrGoOn = pDropSource->QueryContinueDrag(bEscape ? TRUE : FALSE, keys);
        if (hrGoOn == DRAGDROP_S_DROP)
        {
            *pdwEffect = session.Drop(pt, keys);
            hr = DRAGDROP_S_DROP;
            break;
        }
        if (hrGoOn != S_OK)
            break;
        ShowFeedback(pDropSource, session.Over(pt, keys));
    }
    session.Leave();
    if (GetCapture() == hCapture)
        ReleaseCapture();
    return hr;
}
