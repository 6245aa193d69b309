// Where a drag started in this process goes when the pointer leaves every
// window of ours: the windows of other programs on the same display.
#pragma once

#include "PlatformUIExport.h"
#include "WinOle.h"

class PLATFORMUI_API CForeignDragTarget
{
public:
    virtual ~CForeignDragTarget();

    // The pointer is at the screen point, over no window of ours: the
    // effect the program there would carry out (DROPEFFECT_NONE when it
    // takes no drops or none of the data's kinds).
    virtual DWORD Over(IDataObject* pDataObj, POINT ptScreen, DWORD grfKeyState,
                       DWORD dwOKEffects) = 0;
    // The pointer went back to our windows, or the drag was given up.
    virtual void Leave() = 0;
    // Drops where the pointer was last over: the effect that program
    // carried out.
    virtual DWORD Drop() = 0;
};
