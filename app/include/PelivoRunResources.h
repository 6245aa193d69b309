// Identifiers of the viewer program's resources and commands: the menu,
// toolbar, accelerators, icon and document string share IDR_MAINFRAME; the
// commands keep the numbers the program's menus and toolbar have always
// carried.
#pragma once

#include "AfxRes.h"
#include "WinTypes.h"

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDD_ABOUTBOX = 100;
// The message shown when OLE cannot be started (a string, beside the dialog).
constexpr UINT IDP_OLE_INIT_FAILED = 100;

// Status-bar panes.
constexpr UINT ID_INDICATOR_TOTAL = 101;
constexpr UINT ID_INDICATOR_CURRENT = 102;
constexpr UINT ID_INDICATOR_SCOPE = 103;

// Lookup-table items appended to the WW/WL popup at run time.
constexpr UINT ID_LUT_FIRST = 110;
constexpr UINT ID_LUT_LAST = 117;

constexpr UINT ID_FILE_OPEN_DICOMDIR = 32771;
constexpr UINT ID_VIEW_CLOSE_IMAGE = 32773;
constexpr UINT ID_VIEW_CLOSE_VIEW = 32774;
constexpr UINT ID_NAV_PAGE_DOWN = 32784;
constexpr UINT ID_NAV_PAGE_UP = 32785;
constexpr UINT ID_NAV_LINE_DOWN = 32786;
constexpr UINT ID_NAV_LINE_UP = 32787;
constexpr UINT ID_NAV_IMAGE_DOWN = 32788;
constexpr UINT ID_NAV_IMAGE_UP = 32789;
constexpr UINT ID_TOOLS_FLIP_HORIZONTAL = 32792;
constexpr UINT ID_TOOLS_FLIP_VERTICAL = 32793;
constexpr UINT ID_TOOLS_INVERT = 32794;
constexpr UINT ID_NAV_FIRST_PAGE = 32795;
constexpr UINT ID_NAV_LAST_PAGE = 32796;
constexpr UINT ID_ZOOM_FIT = 32799;
constexpr UINT ID_ZOOM_PIXEL = 32800;
constexpr UINT ID_ZOOM_IN = 32801;
constexpr UINT ID_ZOOM_OUT = 32802;
constexpr UINT ID_TOOLS_RESTORE = 32803;
constexpr UINT ID_SCOPE_IMAGE = 32830;
constexpr UINT ID_SCOPE_VIEW = 32831;
constexpr UINT ID_LABELS_SHOW = 32833;
constexpr UINT ID_LABELS_HIDE = 32834;
constexpr UINT ID_OVERLAYS_SHOW = 32836;
constexpr UINT ID_OVERLAYS_HIDE = 32837;
constexpr UINT ID_RULER_SHOW = 32839;
constexpr UINT ID_RULER_HIDE = 32840;
constexpr UINT ID_CLEAR_ANNOTATION = 32842;
constexpr UINT ID_CINE_ON = 32843;
constexpr UINT ID_CINE_OFF = 32844;
constexpr UINT ID_CINE_DOWN = 32845;
constexpr UINT ID_CINE_UP = 32846;
constexpr UINT ID_CINE_BOUNCE = 32847;
constexpr UINT ID_EDIT_COPY_TO_CLIPBOARD = 32848;
constexpr UINT ID_EDIT_COPY_TO_VIEW = 32850;
constexpr UINT ID_FILE_SAVE_IMAGE_AS = 32897;
constexpr UINT ID_WWWL_AUTO = 32907;
constexpr UINT ID_WWWL_BONE = 32908;
constexpr UINT ID_WWWL_MIDRIFF = 32913;
constexpr UINT ID_TOOLS_ROTATE_CCW = 32915;
constexpr UINT ID_TOOLS_ROTATE_CW = 32916;
constexpr UINT ID_SHOW_REPORT = 32920;

// Image layouts 1X1, 1X2, 2X1, 2X2, 3X3, 4X4 and view layouts 1X1 to 2X2.
constexpr UINT ID_LAYOUT_FIRST = 32000;
constexpr UINT ID_LAYOUT_LAST = 32005;
constexpr UINT ID_VIEW_LAYOUT_FIRST = 32010;
constexpr UINT ID_VIEW_LAYOUT_LAST = 32013;

// Mouse tools of the left and right buttons.
constexpr UINT ID_LEFT_ARROW = 32805;
constexpr UINT ID_LEFT_WINDOW_LEVEL = 32806;
constexpr UINT ID_LEFT_QUICK_SCROLL = 32807;
constexpr UINT ID_LEFT_MAG_GLASS = 32808;
constexpr UINT ID_LEFT_ZOOM = 32809;
constexpr UINT ID_RIGHT_ARROW = 32811;
constexpr UINT ID_RIGHT_WINDOW_LEVEL = 32812;
constexpr UINT ID_RIGHT_QUICK_SCROLL = 32813;
constexpr UINT ID_RIGHT_MAG_GLASS = 32814;
constexpr UINT ID_RIGHT_ZOOM = 32815;
constexpr UINT ID_LEFT_PAN = 32816;
constexpr UINT ID_RIGHT_PAN = 32817;
constexpr UINT ID_RIGHT_DISTANCE = 32818;
constexpr UINT ID_LEFT_DISTANCE = 32819;
constexpr UINT ID_LEFT_ANGLE = 32820;
constexpr UINT ID_RIGHT_ANGLE = 32821;
constexpr UINT ID_RIGHT_TEXT = 32826;
constexpr UINT ID_LEFT_TEXT = 32827;
constexpr UINT ID_RIGHT_SELECTOR = 32828;
constexpr UINT ID_LEFT_SELECTOR = 32829;
constexpr UINT ID_TOOL_FIRST = 32805;
constexpr UINT ID_TOOL_LAST = 32829;

// Messages of the frame.
constexpr UINT WM_SET_PROMPT_TEXT = 0x179F;

// Makes the program's resources known to the platform (once).
void RegisterPelivoRunResources();
