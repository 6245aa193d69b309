// RoiDrag: an annotation moved by the pointer on its image's pane, in
// window pixels of that pane: whole (body hit), one of its handle points
// (handle hit, the handle nearest the press) or its label alone (label
// hit). Moves are measured from the press, so rounding never drifts;
// cancelling puts everything back. Locked annotations do not move.
#pragma once

#include "QuillonExport.h"
#include "WinGeometry.h"

class ORoi;

class QUILLON_API RoiDrag
{
public:
    // The hit code (enRoiHit) that the press at (x, y) found.
    RoiDrag(ORoi* roi, int code, int x, int y);
    RoiDrag(const RoiDrag&) = delete;
    RoiDrag& operator=(const RoiDrag&) = delete;

    // Whether the press can move anything.
    bool IsActive() const { return m_bActive; }
    // The handle taken by a handle drag; -1 otherwise.
    int GetHandle() const { return m_nHandle; }

    void OnMove(int x, int y);
    void OnEnd(int x, int y);
    void OnCancel();

private:
    POINT ToImage(int x, int y) const;
    // The image offset from the press to the pointer.
    SIZE GetShift(int x, int y) const;

    ORoi* m_pRoi;
    int m_nCode;
    int m_nHandle = -1;
    bool m_bActive = false;
    POINT m_Start = {0, 0};
    // What the drag has moved so far (whole and label drags), and the
    // handle's point at the press.
    SIZE m_Moved = {0, 0};
    POINT m_HandleStart = {0, 0};
};
