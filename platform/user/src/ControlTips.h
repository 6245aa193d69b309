// The tip control a control keeps of its own (the toolbar's and the tab
// control's): a tool for each of its items, named by an id of the control's
// choosing, whose text the control's parent is asked for.
#pragma once

#include "WinUserDefs.h"

#include <vector>

struct tagNMTTDISPINFOA;

struct ControlTipTool
{
    UINT_PTR uId;
    RECT rect; // in the control's client coordinates
};

// The tip control, owned by hOwner.
HWND CreateControlTip(HWND hOwner);
// Makes the tip's tools of hOwner the ones listed: tools already there keep
// their text and take the new rectangle, missing ones come with their text
// asked for (LPSTR_TEXTCALLBACKA), the others go.
void SyncControlTipTools(HWND hTip, HWND hOwner, const std::vector<ControlTipTool>& tools);
// Hands a mouse message of hOwner's to the tip.
void RelayToControlTip(HWND hTip, HWND hOwner, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The tip's question for a text, put to hOwner's parent as if the control
// asked it itself: hwndFrom the control, idFrom the tool's id, wParam the
// control's id.
LRESULT ForwardTipTextRequest(HWND hOwner, tagNMTTDISPINFOA& info);
