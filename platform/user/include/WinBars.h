// The toolbar "ToolbarWindow32" and the status bar "msctls_statusbar32",
// drawn by the layer. A toolbar is one row of buttons showing images of an
// image list; a pressed and released button sends WM_COMMAND with its
// command to the parent. A status bar is a row of panes, each with its text
// and its right edge.
#pragma once

#include "PlatformUIExport.h"
#include "WinListView.h"
#include "WinUserDefs.h"

#define TOOLBARCLASSNAMEA "ToolbarWindow32"
#define STATUSCLASSNAMEA "msctls_statusbar32"

// Styles shared by the bars.
#define CCS_TOP 0x00000001L
#define CCS_NOMOVEY 0x00000002L
#define CCS_BOTTOM 0x00000003L
#define CCS_NORESIZE 0x00000004L
#define CCS_NOPARENTALIGN 0x00000008L
#define CCS_NODIVIDER 0x00000040L

// ----------------------------------------------------------------- Toolbar
#define TBSTYLE_BUTTON 0x0000
#define TBSTYLE_SEP 0x0001
#define TBSTYLE_CHECK 0x0002
#define TBSTYLE_GROUP 0x0004
#define TBSTYLE_CHECKGROUP (TBSTYLE_GROUP | TBSTYLE_CHECK)
#define TBSTYLE_TOOLTIPS 0x0100
#define TBSTYLE_FLAT 0x0800

#define TBSTATE_CHECKED 0x01
#define TBSTATE_PRESSED 0x02
#define TBSTATE_ENABLED 0x04
#define TBSTATE_HIDDEN 0x08
#define TBSTATE_INDETERMINATE 0x10
#define TBSTATE_WRAP 0x20

#define TB_ENABLEBUTTON (WM_USER + 1)
#define TB_CHECKBUTTON (WM_USER + 2)
#define TB_PRESSBUTTON (WM_USER + 3)
#define TB_HIDEBUTTON (WM_USER + 4)
#define TB_ISBUTTONENABLED (WM_USER + 9)
#define TB_ISBUTTONCHECKED (WM_USER + 10)
#define TB_ISBUTTONPRESSED (WM_USER + 11)
#define TB_SETSTATE (WM_USER + 17)
#define TB_GETSTATE (WM_USER + 18)
#define TB_INSERTBUTTONA (WM_USER + 21)
#define TB_DELETEBUTTON (WM_USER + 22)
#define TB_GETBUTTON (WM_USER + 23)
#define TB_BUTTONCOUNT (WM_USER + 24)
#define TB_COMMANDTOINDEX (WM_USER + 25)
#define TB_GETITEMRECT (WM_USER + 29)
#define TB_BUTTONSTRUCTSIZE (WM_USER + 30)
#define TB_SETBUTTONSIZE (WM_USER + 31)
#define TB_SETBITMAPSIZE (WM_USER + 32)
#define TB_AUTOSIZE (WM_USER + 33)
#define TB_SETIMAGELIST (WM_USER + 48)
#define TB_GETIMAGELIST (WM_USER + 49)
#define TB_GETHOTITEM (WM_USER + 71)
#define TB_GETBUTTONSIZE (WM_USER + 58)
#define TB_SETBUTTONINFOA (WM_USER + 66)
#define TB_GETBUTTONINFOA (WM_USER + 65)
#define TB_HITTEST (WM_USER + 69)
#define TB_ADDBUTTONSA (WM_USER + 20)
#define TB_ADDBUTTONS TB_ADDBUTTONSA
#define TB_INSERTBUTTON TB_INSERTBUTTONA

#define TBIF_IMAGE 0x00000001
#define TBIF_STATE 0x00000004
#define TBIF_STYLE 0x00000008
#define TBIF_LPARAM 0x00000010
#define TBIF_COMMAND 0x00000020
#define TBIF_BYINDEX 0x80000000

typedef struct _TBBUTTON
{
    int iBitmap; // an image index; a separator's width (0: the default)
    int idCommand;
    BYTE fsState;
    BYTE fsStyle;
    BYTE bReserved[6];
    DWORD_PTR dwData;
    INT_PTR iString;
} TBBUTTON, *PTBBUTTON, *LPTBBUTTON;
typedef const TBBUTTON* LPCTBBUTTON;

typedef struct
{
    UINT cbSize;
    DWORD dwMask;
    int idCommand;
    int iImage;
    BYTE fsState;
    BYTE fsStyle;
    WORD cx;
    DWORD_PTR lParam;
} TBBUTTONINFOA, *LPTBBUTTONINFOA;

// A custom-drawn item's record: the toolbar asks its parent before it
// paints (CDDS_PREPAINT) and, when asked to, before and after each button.
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define CDDS_PREPAINT 0x00000001
#define CDDS_POSTPAINT 0x00000002
#define CDDS_ITEM 0x00010000
#define CDDS_ITEMPREPAINT (CDDS_ITEM | CDDS_PREPAINT)
#define CDDS_ITEMPOSTPAINT (CDDS_ITEM | CDDS_POSTPAINT)
#define CDRF_DODEFAULT 0x00000000
#define CDRF_SKIPDEFAULT 0x00000004
#define CDRF_NOTIFYPOSTPAINT 0x00000010
#define CDRF_NOTIFYITEMDRAW 0x00000020
#define CDIS_SELECTED 0x0001
#define CDIS_GRAYED 0x0002
#define CDIS_DISABLED 0x0004
#define CDIS_CHECKED 0x0008
#define CDIS_HOT 0x0040

typedef struct tagNMCUSTOMDRAWINFO
{
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec; // the button's command
    UINT uItemState;
    LPARAM lItemlParam;
} NMCUSTOMDRAW, *LPNMCUSTOMDRAW;

typedef struct _NMTBCUSTOMDRAW
{
    NMCUSTOMDRAW nmcd;
    HBRUSH hbrMonoDither;
    HBRUSH hbrLines;
    HPEN hpenLines;
    COLORREF clrText;
    COLORREF clrMark;
    COLORREF clrTextHighlight;
    COLORREF clrBtnFace;
    COLORREF clrBtnHighlight;
    COLORREF clrHighlightHotTrack;
    RECT rcText;
    int nStringBkMode;
    int nHLStringBkMode;
} NMTBCUSTOMDRAW, *LPNMTBCUSTOMDRAW;

// The button under the pointer changed (idOld, idNew: commands; 0 none).
#define TBN_FIRST (0U - 700U)
#define TBN_HOTITEMCHANGE (TBN_FIRST - 13)
#define HICF_MOUSE 0x00000001
#define HICF_LEAVING 0x00000020

typedef struct tagNMTBHOTITEM
{
    NMHDR hdr;
    int idOld;
    int idNew;
    DWORD dwFlags;
} NMTBHOTITEM, *LPNMTBHOTITEM;

// The tip of a tool: asked of the toolbar's parent when the pointer rests
// on a button (idFrom: the button's command).
#define TTN_FIRST (0U - 520U)
#define TTN_GETDISPINFOA (TTN_FIRST - 0)
#define TTN_NEEDTEXTA TTN_GETDISPINFOA
#define TTN_NEEDTEXT TTN_NEEDTEXTA

typedef struct tagNMTTDISPINFOA
{
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
} NMTTDISPINFOA, *LPNMTTDISPINFOA;
typedef NMTTDISPINFOA TOOLTIPTEXTA;

#define TOOLTIPS_CLASSA "tooltips_class32"

// -------------------------------------------------------------- Status bar
#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)
#define SB_GETPARTS (WM_USER + 6)
#define SB_SETMINHEIGHT (WM_USER + 8)
#define SB_GETRECT (WM_USER + 10)
#define SB_SETTEXT SB_SETTEXTA
#define SB_GETTEXT SB_GETTEXTA

// Drawing kinds in the high byte of the part number.
#define SBT_NOBORDERS 0x0100
#define SBT_POPOUT 0x0200
