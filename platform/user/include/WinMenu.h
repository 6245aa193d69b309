// Menus and accelerators: menu bars of top-level windows, popup menus and
// their modal tracking, owner-drawn items, menus loaded from module
// resources, and accelerator tables.
//
// Tracking a popup tells its owner what happens, in this order: before a
// popup shows, WM_INITMENUPOPUP (lParam: LOWORD the item's index in its
// parent menu, HIWORD 0); each owner-drawn item gets one WM_MEASUREITEM
// before it is first shown and WM_DRAWITEM as it is drawn (ODA_DRAWENTIRE)
// and as its selection changes (ODA_SELECT); every new selection sends
// WM_MENUSELECT; a typed character no item answers to sends WM_MENUCHAR;
// closing sends WM_MENUSELECT with flags 0xFFFF and a NULL menu. The chosen
// command is posted to the owner as WM_COMMAND once the menu has closed.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

// ---------------------------------------------------------------- messages
#define WM_INITMENU 0x0116
#define WM_UNINITMENUPOPUP 0x0125
#define WM_ENTERMENULOOP 0x0211
#define WM_EXITMENULOOP 0x0212

#define SC_MOUSEMENU 0xF090
#define SC_KEYMENU 0xF100

// WM_MENUCHAR answers (HIWORD), with an item index in LOWORD.
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

// ---------------------------------------------------------------- item flags
#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MF_MOUSESELECT 0x00008000L

#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200L
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY

#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020
#define MIIM_STRING 0x00000040
#define MIIM_BITMAP 0x00000080
#define MIIM_FTYPE 0x00000100

#define MIM_MAXHEIGHT 0x00000001
#define MIM_BACKGROUND 0x00000002
#define MIM_HELPID 0x00000004
#define MIM_MENUDATA 0x00000008
#define MIM_STYLE 0x00000010
#define MIM_APPLYTOSUBMENUS 0x80000000L

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

// The system check mark bitmap (LoadBitmapA with a NULL module).
#define OBM_CHECK 32760

// ---------------------------------------------------------------- accelerators
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

typedef struct tagACCEL
{
    BYTE fVirt;
    WORD key;
    WORD cmd;
} ACCEL, *LPACCEL;
static_assert(sizeof(ACCEL) == 6);

#ifndef ERROR_INVALID_MENU_HANDLE
#define ERROR_INVALID_MENU_HANDLE 1401L
#endif
#ifndef ERROR_INVALID_ACCEL_HANDLE
#define ERROR_INVALID_ACCEL_HANDLE 1403L
#endif

// ---------------------------------------------------------------- records
typedef struct tagMENUITEMINFOA
{
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
} MENUITEMINFOA, *LPMENUITEMINFOA;
using LPCMENUITEMINFOA = const MENUITEMINFOA*;
using MENUITEMINFO = MENUITEMINFOA;
using LPMENUITEMINFO = LPMENUITEMINFOA;

typedef struct tagMENUINFO
{
    DWORD cbSize;
    DWORD fMask;
    DWORD dwStyle;
    UINT cyMax;
    HBRUSH hbrBack;
    DWORD dwContextHelpID;
    ULONG_PTR dwMenuData;
} MENUINFO, *LPMENUINFO;
using LPCMENUINFO = const MENUINFO*;

typedef struct tagTPMPARAMS
{
    UINT cbSize;
    RECT rcExclude;
} TPMPARAMS, *LPTPMPARAMS;

extern "C"
{
    PLATFORMUI_API HMENU CreateMenu();
    PLATFORMUI_API HMENU CreatePopupMenu();
    // Destroys the menu and every submenu it holds.
    PLATFORMUI_API BOOL DestroyMenu(HMENU hMenu);
    PLATFORMUI_API BOOL IsMenu(HMENU hMenu);
    // A module's menu resource, with a new popup menu for each item that
    // has sub-items.
    PLATFORMUI_API HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName);

    // lpNewItem is the text (MF_STRING), the bitmap (MF_BITMAP) or the item
    // data (MF_OWNERDRAW); with MF_POPUP, uIDNewItem is the submenu.
    PLATFORMUI_API BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem,
                                    LPCSTR lpNewItem);
    PLATFORMUI_API BOOL InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                                    LPCSTR lpNewItem);
    PLATFORMUI_API BOOL ModifyMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                                    LPCSTR lpNewItem);
    // RemoveMenu keeps an item's submenu alive; DeleteMenu destroys it.
    PLATFORMUI_API BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
    PLATFORMUI_API BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
    // By command, items are searched in submenus too. Both return the
    // previous state, -1 when there is no such item.
    PLATFORMUI_API DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
    PLATFORMUI_API BOOL CheckMenuRadioItem(HMENU hMenu, UINT first, UINT last, UINT check,
                                           UINT flags);
    PLATFORMUI_API BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
    PLATFORMUI_API UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
    PLATFORMUI_API int GetMenuItemCount(HMENU hMenu);
    // -1 for a popup item or a position past the end.
    PLATFORMUI_API UINT GetMenuItemID(HMENU hMenu, int nPos);
    // The caption byte for byte, "&" and the "\t" accelerator part included;
    // with a NULL buffer, its length.
    PLATFORMUI_API int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax,
                                      UINT flags);
    PLATFORMUI_API HMENU GetSubMenu(HMENU hMenu, int nPos);
    PLATFORMUI_API BOOL GetMenuItemInfoA(HMENU hMenu, UINT item, BOOL fByPosition,
                                         LPMENUITEMINFOA lpmii);
    PLATFORMUI_API BOOL SetMenuItemInfoA(HMENU hMenu, UINT item, BOOL fByPosition,
                                         LPCMENUITEMINFOA lpmii);
    PLATFORMUI_API BOOL InsertMenuItemA(HMENU hMenu, UINT item, BOOL fByPosition,
                                        LPCMENUITEMINFOA lpmi);
    PLATFORMUI_API BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem);
    // The background brush paints behind the popup's items.
    PLATFORMUI_API BOOL SetMenuInfo(HMENU hMenu, LPCMENUINFO lpcmi);
    PLATFORMUI_API BOOL GetMenuInfo(HMENU hMenu, LPMENUINFO lpcmi);
    PLATFORMUI_API LONG GetMenuCheckMarkDimensions();

    // The menu bar of a top-level window.
    PLATFORMUI_API HMENU GetMenu(HWND hWnd);
    PLATFORMUI_API BOOL SetMenu(HWND hWnd, HMENU hMenu);
    PLATFORMUI_API BOOL DrawMenuBar(HWND hWnd);

    // A modal loop. Without TPM_RETURNCMD the chosen command is posted to
    // the owner and the answer is non-zero when the menu showed; with it the
    // answer is the chosen id (0: none) and nothing is posted.
    PLATFORMUI_API BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved,
                                       HWND hWnd, const RECT* prcRect);
    PLATFORMUI_API BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd,
                                         LPTPMPARAMS lptpm);
    PLATFORMUI_API BOOL EndMenu();

    // Accelerator tables.
    PLATFORMUI_API HACCEL LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR lpTableName);
    PLATFORMUI_API HACCEL CreateAcceleratorTableA(LPACCEL paccel, int cAccel);
    PLATFORMUI_API BOOL DestroyAcceleratorTable(HACCEL hAccel);
    // With a NULL destination, the number of entries.
    PLATFORMUI_API int CopyAcceleratorTableA(HACCEL hAccelSrc, LPACCEL lpAccelDst,
                                             int cAccelEntries);
    // Sends WM_COMMAND (HIWORD(wParam) = 1) for a key of the table. When the
    // command is an item of the window's menu, the menu is updated first
    // (WM_INITMENU, WM_INITMENUPOPUP) and a disabled item does nothing.
    PLATFORMUI_API int TranslateAcceleratorA(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg);
}

inline HMENU LoadMenu(HINSTANCE hInstance, LPCSTR lpMenuName)
{
    return LoadMenuA(hInstance, lpMenuName);
}
inline BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    return AppendMenuA(hMenu, uFlags, uIDNewItem, lpNewItem);
}
inline BOOL InsertMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                       LPCSTR lpNewItem)
{
    return InsertMenuA(hMenu, uPosition, uFlags, uIDNewItem, lpNewItem);
}
inline BOOL ModifyMenu(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                       LPCSTR lpNewItem)
{
    return ModifyMenuA(hMenu, uPosition, uFlags, uIDNewItem, lpNewItem);
}
inline int GetMenuString(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags)
{
    return GetMenuStringA(hMenu, uIDItem, lpString, cchMax, flags);
}
inline BOOL GetMenuItemInfo(HMENU hMenu, UINT item, BOOL fByPosition, LPMENUITEMINFOA lpmii)
{
    return GetMenuItemInfoA(hMenu, item, fByPosition, lpmii);
}
inline BOOL SetMenuItemInfo(HMENU hMenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOA lpmii)
{
    return SetMenuItemInfoA(hMenu, item, fByPosition, lpmii);
}
inline BOOL InsertMenuItem(HMENU hMenu, UINT item, BOOL fByPosition, LPCMENUITEMINFOA lpmii)
{
    return InsertMenuItemA(hMenu, item, fByPosition, lpmii);
}
inline HACCEL LoadAccelerators(HINSTANCE hInstance, LPCSTR lpTableName)
{
    return LoadAcceleratorsA(hInstance, lpTableName);
}
inline int TranslateAccelerator(HWND hWnd, HACCEL hAccTable, LPMSG lpMsg)
{
    return TranslateAcceleratorA(hWnd, hAccTable, lpMsg);
}
inline int CopyAcceleratorTable(HACCEL hAccelSrc, LPACCEL lpAccelDst, int cAccelEntries)
{
    return CopyAcceleratorTableA(hAccelSrc, lpAccelDst, cAccelEntries);
}
