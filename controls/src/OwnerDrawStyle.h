// Turns a button owner-drawn, keeping its other style bits.
#pragma once

#include "AfxWin.h"

inline void MakeOwnerDrawn(CButton& button)
{
    const DWORD dwStyle = (button.GetStyle() & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
    // Set in the style itself too: a button still being created (its
    // object attached by the creation hook) cannot answer BM_SETSTYLE yet.
    button.ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    button.SendMessage(BM_SETSTYLE, dwStyle, TRUE);
}
