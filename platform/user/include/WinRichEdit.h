// The rich edit control "RichEdit20A": multi-line text whose characters
// carry formats (face, size, charset, bold, italic, colour, protection),
// tab stops, and the notifications a script editor lives on.
//
// Positions count bytes of the ANSI code page, always on character
// boundaries, as the edit control's do. A paragraph ends with one "\r":
// text given with "\r\n" or "\n" is stored that way, and every message
// returns and counts the stored text, so positions from EM_GETTEXTRANGE,
// WM_GETTEXT and the line messages agree.
//
// Protection: an edit touches protected text when a character it removes
// is protected or, inserting only, when the text it inserts would take a
// protected format (the character before the caret's, else the one after,
// else the default format). Such an edit first sends EN_PROTECTED (with
// ENM_PROTECTED in the event mask) carrying the originating message; a
// non-zero answer refuses it; a zero answer with the record's message
// changed has the changed message done instead (once: a message done so is
// not revised again). Without ENM_PROTECTED the protection holds
// and the edit is refused. WM_SETTEXT replaces everything regardless, in
// the default format. EN_CHANGE (WM_COMMAND, with ENM_CHANGE) follows
// every change of the text; EN_SELCHANGE (with ENM_SELCHANGE) every change
// of the selection. Tab stops are set for the whole control.
#pragma once

#include "WinMessages.h"
#include "WinUserDefs.h"

#define RICHEDIT_CLASSA "RichEdit20A"

#define EM_CANPASTE (WM_USER + 50)
#define EM_EXGETSEL (WM_USER + 52)
#define EM_EXLIMITTEXT (WM_USER + 53)
#define EM_EXLINEFROMCHAR (WM_USER + 54)
#define EM_EXSETSEL (WM_USER + 55)
#define EM_GETCHARFORMAT (WM_USER + 58)
#define EM_GETEVENTMASK (WM_USER + 59)
#define EM_GETPARAFORMAT (WM_USER + 61)
#define EM_GETSELTEXT (WM_USER + 62)
#define EM_SELECTIONTYPE (WM_USER + 66)
#define EM_SETBKGNDCOLOR (WM_USER + 67)
#define EM_SETCHARFORMAT (WM_USER + 68)
#define EM_SETEVENTMASK (WM_USER + 69)
#define EM_SETPARAFORMAT (WM_USER + 71)
#define EM_GETTEXTRANGE (WM_USER + 75)

#define EN_SELCHANGE 0x0702
#define EN_PROTECTED 0x0704

#define ENM_NONE 0x00000000
#define ENM_CHANGE 0x00000001
#define ENM_UPDATE 0x00000002
#define ENM_SELCHANGE 0x00080000
#define ENM_PROTECTED 0x00200000

#define SCF_DEFAULT 0x0000
#define SCF_SELECTION 0x0001
#define SCF_ALL 0x0004

#define CFM_BOLD 0x00000001
#define CFM_ITALIC 0x00000002
#define CFM_UNDERLINE 0x00000004
#define CFM_STRIKEOUT 0x00000008
#define CFM_PROTECTED 0x00000010
#define CFM_CHARSET 0x08000000
#define CFM_FACE 0x20000000
#define CFM_COLOR 0x40000000
#define CFM_SIZE 0x80000000

#define CFE_BOLD 0x00000001
#define CFE_ITALIC 0x00000002
#define CFE_UNDERLINE 0x00000004
#define CFE_STRIKEOUT 0x00000008
#define CFE_PROTECTED 0x00000010
#define CFE_AUTOCOLOR 0x40000000

#define PFM_TABSTOPS 0x00000010
#define MAX_TAB_STOPS 32

#define SEL_EMPTY 0x0000
#define SEL_TEXT 0x0001
#define SEL_MULTICHAR 0x0004

typedef struct _charrange
{
    LONG cpMin;
    LONG cpMax;
} CHARRANGE;

typedef struct _textrange
{
    CHARRANGE chrg;
    LPSTR lpstrText;
} TEXTRANGEA;

// Heights in twips (1/1440 inch).
typedef struct _charformat
{
    UINT cbSize;
    DWORD dwMask;
    DWORD dwEffects;
    LONG yHeight;
    LONG yOffset;
    COLORREF crTextColor;
    BYTE bCharSet;
    BYTE bPitchAndFamily;
    char szFaceName[32];
} CHARFORMATA;
static_assert(sizeof(CHARFORMATA) == 60, "callers pass the record's size");

typedef struct _paraformat
{
    UINT cbSize;
    DWORD dwMask;
    WORD wNumbering;
    WORD wEffects;
    LONG dxStartIndent;
    LONG dxRightIndent;
    LONG dxOffset;
    WORD wAlignment;
    SHORT cTabCount;
    LONG rgxTabs[MAX_TAB_STOPS];
} PARAFORMAT;

typedef struct _enprotected
{
    NMHDR nmhdr;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    CHARRANGE chrg;
} ENPROTECTED;

typedef struct _selchange
{
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp;
} SELCHANGE;
