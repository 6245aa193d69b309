// The item record of the grid and the display-info record its in-place
// editors send when an edit ends. Sender and receivers share these
// definitions and read the fields by name; the record carries a text
// object and pointer-sized values, so no byte layout is promised.
#pragma once

#include "AfxWin.h"

// Which fields of a GV_ITEM are read or written.
#define GVIF_TEXT 0x01
#define GVIF_IMAGE 0x02
#define GVIF_PARAM 0x04
#define GVIF_STATE 0x08
#define GVIF_BKCLR 0x10
#define GVIF_FGCLR 0x20
#define GVIF_FORMAT 0x40
#define GVIF_FONT 0x80

// State bits of a cell.
#define GVIS_FOCUSED 0x01
#define GVIS_SELECTED 0x02
#define GVIS_DROPHILITED 0x04
#define GVIS_READONLY 0x08
#define GVIS_MODIFIED 0x20

// Notification codes of editing, the same values as the list view's.
#define GVN_BEGINLABELEDIT (-105)
#define GVN_ENDLABELEDIT (-106)

struct _GV_ITEM
{
    int row = 0;
    int col = 0;
    UINT mask = 0;
    UINT state = 0;
    UINT nFormat = 0;
    CString szText;
    int iImage = 0;
    COLORREF crBkClr = 0;
    COLORREF crFgClr = 0;
    LPARAM lParam = 0;
    LOGFONT lfFont{};
};
using GV_ITEM = _GV_ITEM;

// WM_NOTIFY's record of an ended edit: the header, then the cell's item
// with its row, column, text and, as lParam, the key that ended the edit.
struct GV_DISPINFO
{
    NMHDR hdr{};
    GV_ITEM item;
};
