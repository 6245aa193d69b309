// One drag as the windows under the pointer see it: the drop target of the
// window there is entered, moved over, left and dropped on. Drags started
// in this process and drags coming from another program through the display
// both go through it.
#pragma once

#include "WinOle.h"

class CForeignDragTarget;

class COleDragSession
{
public:
    // Holds a reference to the data while the drag lasts. A drag of ours
    // also reaches other programs' windows where the display has them.
    COleDragSession(IDataObject* pDataObj, DWORD dwOKEffects, bool bToOtherPrograms = false);
    ~COleDragSession();
    COleDragSession(const COleDragSession&) = delete;
    COleDragSession& operator=(const COleDragSession&) = delete;

    // The pointer is at the screen point: the effect the target there would
    // carry out (always one of the allowed effects, or none).
    DWORD Over(POINT ptScreen, DWORD grfKeyState);
    // The drag left every window of ours (or was given up).
    void Leave();
    // The effect the target carried out; the session is left afterwards.
    DWORD Drop(POINT ptScreen, DWORD grfKeyState);
    HWND GetTargetWindow() const { return m_hTarget; }

private:
    struct Target
    {
        HWND hWnd = nullptr;
        IDropTarget* pTarget = nullptr; // null for a window accepting files
    };
    Target FindTarget(POINT ptScreen) const;
    DWORD Enter(POINT ptScreen, DWORD grfKeyState);
    DWORD Allowed(DWORD dwEffect) const;
    DWORD FileEffect() const;
    void PostFiles(POINT ptScreen) const;
    void Release();

    DWORD OverOtherProgram(POINT ptScreen, DWORD grfKeyState);

    IDataObject* m_pDataObj;
    CForeignDragTarget* m_pForeign = nullptr; // set while over another program
    DWORD m_dwOKEffects;
    bool m_bToOtherPrograms;
    bool m_bOffersFiles;
    HWND m_hTarget = nullptr;
    IDropTarget* m_pTarget = nullptr;
    POINT m_ptLast{};
    DWORD m_dwLastEffect = DROPEFFECT_NONE;
};
