#include "ControlTips.h"

#include "WinBars.h"
#include "WinMessageQueue.h"
#include "WinWindow.h"

#include <algorithm>

HWND CreateControlTip(HWND hOwner)
{
    return CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, hOwner, nullptr,
                           nullptr, nullptr);
}

void SyncControlTipTools(HWND hTip, HWND hOwner, const std::vector<ControlTipTool>& tools)
{
    if (hTip == nullptr)
        return;
    // The tools of other windows (added by the control's user) stay as they are.
    std::vector<TOOLINFOA> stale;
    TOOLINFOA old{};
    old.cbSize = sizeof(old);
    for (WPARAM i = 0; SendMessageA(hTip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&old)); ++i)
        if (old.hwnd == hOwner &&
            std::none_of(tools.begin(), tools.end(),
                         [&old](const ControlTipTool& tool) { return tool.uId == old.uId; }))
            stale.push_back(old);
    for (TOOLINFOA& tool : stale)
        SendMessageA(hTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    for (const ControlTipTool& tool : tools)
    {
        TOOLINFOA info{};
        info.cbSize = sizeof(info);
        info.hwnd = hOwner;
        info.uId = tool.uId;
        if (SendMessageA(hTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)))
        {
            if (!EqualRect(&info.rect, &tool.rect))
            {
                info.rect = tool.rect;
                SendMessageA(hTip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
            }
            continue;
        }
        info.rect = tool.rect;
        info.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(hTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void RelayToControlTip(HWND hTip, HWND hOwner, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (hTip == nullptr)
        return;
    MSG msg{hOwner, nMsg, wParam, lParam, 0, {}};
    SendMessageA(hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

LRESULT ForwardTipTextRequest(HWND hOwner, NMTTDISPINFOA& info)
{
    const HWND hParent = GetParent(hOwner);
    if (hParent == nullptr)
        return 0;
    const HWND hTip = info.hdr.hwndFrom;
    info.hdr.hwndFrom = hOwner;
    info.hdr.code = TTN_NEEDTEXTA;
    const LRESULT result =
        SendMessageA(hParent, WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID(hOwner)),
                     reinterpret_cast<LPARAM>(&info));
    info.hdr.hwndFrom = hTip;
    return result;
}
