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
#define TB_ADDBITMAP (WM_USER + 19)
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
#define TB_GETTOOLTIPS (WM_USER + 35)
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

// Images added to the toolbar's own image list (TB_ADDBITMAP, wParam the
// number of images): the bitmap nID of the module hInst, or with hInst NULL
// the HBITMAP nID itself. Light grey (192, 192, 192) is transparent.
typedef struct
{
    HINSTANCE hInst;
    UINT_PTR nID;
} TBADDBITMAP, *LPTBADDBITMAP;

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
#define CDIS_INDETERMINATE 0x0100
// Item-prepaint answers of a toolbar's parent that keep parts of the
// default drawing: no edges, no offset of a pressed image, no lighter face
// of a checked button; the hot button filled with clrHighlightHotTrack.
#define TBCDRF_NOEDGES 0x00010000
#define TBCDRF_HILITEHOTTRACK 0x00020000
#define TBCDRF_NOOFFSET 0x00040000
#define TBCDRF_NOBACKGROUND 0x00400000

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

// ------------------------------------------------------------- Tool tips
// The tip control "tooltips_class32" knows tools: a rectangle of a window
// (or, with TTF_IDISHWND, the whole window uId), each with its text, a
// string resource or LPSTR_TEXTCALLBACKA. Mouse messages relayed to it
// (TTM_RELAYEVENT) show the tip of the tool the pointer rests on after the
// initial delay, below the pointer, until the pointer leaves the tool, a
// button is pressed or the automatic-pop delay has passed; the tip moves
// on to a neighbouring tool after the reshow delay. A tool whose text is
// the callback is asked for it at each showing (TTN_GETDISPINFOA to the
// tool's window, idFrom the tool's uId). Tips wrap at the maximum width
// when one is set. The toolbar uses one for its buttons (uId: the
// command), forwarding the question to its parent.
#define TOOLTIPS_CLASSA "tooltips_class32"

#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02

#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_SUBCLASS 0x0010
#define TTF_TRANSPARENT 0x0100
#define TTF_DI_SETITEM 0x8000

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

#define LPSTR_TEXTCALLBACKA (reinterpret_cast<LPSTR>(static_cast<INT_PTR>(-1)))

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_ADDTOOLA (WM_USER + 4)
#define TTM_DELTOOLA (WM_USER + 5)
#define TTM_NEWTOOLRECTA (WM_USER + 6)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLINFOA (WM_USER + 8)
#define TTM_SETTOOLINFOA (WM_USER + 9)
#define TTM_HITTESTA (WM_USER + 10)
#define TTM_GETTEXTA (WM_USER + 11)
#define TTM_UPDATETIPTEXTA (WM_USER + 12)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_ENUMTOOLSA (WM_USER + 14)
#define TTM_GETCURRENTTOOLA (WM_USER + 15)
#define TTM_GETDELAYTIME (WM_USER + 21)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_GETMAXTIPWIDTH (WM_USER + 25)
#define TTM_POP (WM_USER + 28)
#define TTM_UPDATE (WM_USER + 29)
#define TTM_ADDTOOL TTM_ADDTOOLA
#define TTM_DELTOOL TTM_DELTOOLA
#define TTM_NEWTOOLRECT TTM_NEWTOOLRECTA
#define TTM_GETTOOLINFO TTM_GETTOOLINFOA
#define TTM_SETTOOLINFO TTM_SETTOOLINFOA
#define TTM_HITTEST TTM_HITTESTA
#define TTM_GETTEXT TTM_GETTEXTA
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTA
#define TTM_ENUMTOOLS TTM_ENUMTOOLSA
#define TTM_GETCURRENTTOOL TTM_GETCURRENTTOOLA

typedef struct tagTOOLINFOA
{
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;       // the window the tool lies in; asked for callback texts
    UINT_PTR uId;    // the tool's id; the tool's window with TTF_IDISHWND
    RECT rect;       // in hwnd's client coordinates
    HINSTANCE hinst; // with lpszText a string id (MAKEINTRESOURCE)
    LPSTR lpszText;
    LPARAM lParam;
} TOOLINFOA, *LPTOOLINFOA;
typedef TOOLINFOA TTTOOLINFOA;
typedef TOOLINFOA TOOLINFO;

typedef struct _TT_HITTESTINFOA
{
    HWND hwnd;
    POINT pt; // in hwnd's client coordinates
    TOOLINFOA ti;
} TTHITTESTINFOA, *LPTTHITTESTINFOA;

#define TTN_FIRST (0U - 520U)
#define TTN_GETDISPINFOA (TTN_FIRST - 0)
#define TTN_SHOW (TTN_FIRST - 1)
#define TTN_POP (TTN_FIRST - 2)
#define TTN_NEEDTEXTA TTN_GETDISPINFOA
#define TTN_NEEDTEXT TTN_NEEDTEXTA

// The answer to TTN_GETDISPINFOA: lpszText (a text, or a string id of
// hinst), else szText; TTF_DI_SETITEM in uFlags keeps it as the tool's.
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

// Drawing kinds in the high byte of the part number. An owner-drawn part
// keeps lParam as its data and is drawn by the parent (WM_DRAWITEM: itemID
// the part, itemData the data, rcItem inside the part's border).
#define SBT_NOBORDERS 0x0100
#define SBT_POPOUT 0x0200
#define SBT_OWNERDRAW 0x1000

// A size grip in the bottom right corner; the last part ends before it.
#define SBARS_SIZEGRIP 0x0100
