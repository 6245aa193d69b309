#include "PelivoRunResources.h"

#include "ResourceRegistry.h"
#include "WinControls.h"
#include "WinMenu.h"
#include "WinModule.h"
#include "WinResource.h"
#include "WinUser.h"

namespace
{
constexpr UINT kSeparator = MF_SEPARATOR;

const MenuItemTemplate kFileItems[] = {
    {MF_STRING, ID_FILE_OPEN_DICOMDIR, "Open DICOMDIR...\tCtrl+D(&D)", {}},
    {MF_STRING, ID_FILE_OPEN, "Open File...\tCtrl+O(&O)", {}},
    {MF_STRING, ID_FILE_SAVE_IMAGE_AS, "Save as(&A)...", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1, "Recent File", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_APP_EXIT, "Exit(&X)", {}},
};
const MenuItemTemplate kEditItems[] = {
    {MF_STRING, ID_EDIT_COPY_TO_CLIPBOARD, "Copy to Clipboard", {}},
    {MF_STRING, ID_EDIT_COPY_TO_VIEW, "Copy to View", {}},
};
const MenuItemTemplate kLabelItems[] = {
    {MF_STRING, ID_LABELS_SHOW, "Show", {}},
    {MF_STRING, ID_LABELS_HIDE, "Hide", {}},
};
const MenuItemTemplate kOverlayItems[] = {
    {MF_STRING, ID_OVERLAYS_SHOW, "Show", {}},
    {MF_STRING, ID_OVERLAYS_HIDE, "Hide", {}},
};
const MenuItemTemplate kRulerItems[] = {
    {MF_STRING, ID_RULER_SHOW, "Show", {}},
    {MF_STRING, ID_RULER_HIDE, "Hide", {}},
};
const MenuItemTemplate kViewItems[] = {
    {MF_STRING, ID_VIEW_CLOSE_IMAGE, "Close Image", {}},
    {MF_STRING, ID_VIEW_CLOSE_VIEW, "Close View", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_POPUP, 0, "Labels", kLabelItems},
    {MF_POPUP, 0, "Overlays", kOverlayItems},
    {MF_POPUP, 0, "Ruler", kRulerItems},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_CLEAR_ANNOTATION, "Clear Annotation", {}},
};
const MenuItemTemplate kLayoutItems[] = {
    {MF_STRING, ID_LAYOUT_FIRST, "Layout 1X1", {}},
    {MF_STRING, ID_LAYOUT_FIRST + 1, "Layout 1X2", {}},
    {MF_STRING, ID_LAYOUT_FIRST + 2, "Layout 2X1", {}},
    {MF_STRING, ID_LAYOUT_FIRST + 3, "Layout 2X2", {}},
    {MF_STRING, ID_LAYOUT_FIRST + 4, "Layout 3X3", {}},
    {MF_STRING, ID_LAYOUT_FIRST + 5, "Layout 4X4", {}},
};
const MenuItemTemplate kNavigationItems[] = {
    {MF_STRING, ID_NAV_PAGE_DOWN, "Page Down", {}},
    {MF_STRING, ID_NAV_PAGE_UP, "Page Up", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_NAV_FIRST_PAGE, "First Page", {}},
    {MF_STRING, ID_NAV_LAST_PAGE, "Last Page", {}},
};
const MenuItemTemplate kScopeItems[] = {
    {MF_STRING, ID_SCOPE_IMAGE, "Image", {}},
    {MF_STRING, ID_SCOPE_VIEW, "View", {}},
};
const MenuItemTemplate kZoomItems[] = {
    {MF_STRING, ID_ZOOM_FIT, "Fit In Window", {}},
    {MF_STRING, ID_ZOOM_PIXEL, "Pixel By Pixel", {}},
    {MF_STRING, ID_ZOOM_IN, "Zoom In", {}},
    {MF_STRING, ID_ZOOM_OUT, "Zoom Out", {}},
};
const MenuItemTemplate kLeftToolItems[] = {
    {MF_STRING, ID_LEFT_ARROW, "Arrow", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_LEFT_WINDOW_LEVEL, "WindowLevel", {}},
    {MF_STRING, ID_LEFT_QUICK_SCROLL, "QuickScroll", {}},
    {MF_STRING, ID_LEFT_MAG_GLASS, "MagGlass", {}},
    {MF_STRING, ID_LEFT_ZOOM, "Zoom", {}},
    {MF_STRING, ID_LEFT_PAN, "Pan", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_LEFT_DISTANCE, "Distance", {}},
    {MF_STRING, ID_LEFT_ANGLE, "Angle", {}},
};
const MenuItemTemplate kRightToolItems[] = {
    {MF_STRING, ID_RIGHT_ARROW, "Arrow", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_RIGHT_WINDOW_LEVEL, "WindowLevel", {}},
    {MF_STRING, ID_RIGHT_QUICK_SCROLL, "QuickScroll", {}},
    {MF_STRING, ID_RIGHT_MAG_GLASS, "MagGlass", {}},
    {MF_STRING, ID_RIGHT_ZOOM, "Zoom", {}},
    {MF_STRING, ID_RIGHT_PAN, "Pan", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_RIGHT_DISTANCE, "Distance", {}},
    {MF_STRING, ID_RIGHT_ANGLE, "Angle", {}},
};
const MenuItemTemplate kCineItems[] = {
    {MF_STRING, ID_CINE_ON, "Cine On", {}},         {MF_STRING, ID_CINE_OFF, "Cine Off", {}},
    {MF_STRING, ID_CINE_DOWN, "Cine Down", {}},     {MF_STRING, ID_CINE_UP, "Cine Up", {}},
    {MF_STRING, ID_CINE_BOUNCE, "Cine Bounce", {}},
};
const MenuItemTemplate kToolsItems[] = {
    {MF_POPUP, 0, "Scope", kScopeItems},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_TOOLS_ROTATE_CW, "Rotate Clockwise", {}},
    {MF_STRING, ID_TOOLS_ROTATE_CCW, "Rotate Counterclockwise", {}},
    {MF_STRING, ID_TOOLS_FLIP_HORIZONTAL, "Flip Horizonal", {}},
    {MF_STRING, ID_TOOLS_FLIP_VERTICAL, "Flip Vertical", {}},
    {MF_STRING, ID_TOOLS_INVERT, "Invert", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_POPUP, 0, "Zoom", kZoomItems},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_TOOLS_RESTORE, "Restore", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_POPUP, 0, "Left Button Tools", kLeftToolItems},
    {MF_POPUP, 0, "Right Button Tools", kRightToolItems},
    {kSeparator, 0, nullptr, {}},
    {MF_POPUP, 0, "Cine", kCineItems},
};
const MenuItemTemplate kWindowLevelItems[] = {
    {MF_STRING, ID_WWWL_AUTO, "Auto WW/WL", {}},
    {kSeparator, 0, nullptr, {}},
    {MF_STRING, ID_WWWL_BONE, "Bone", {}},
    {MF_STRING, ID_WWWL_BONE + 1, "Brain", {}},
    {MF_STRING, ID_WWWL_BONE + 2, "Lung", {}},
    {MF_STRING, ID_WWWL_BONE + 3, "Liver", {}},
    {MF_STRING, ID_WWWL_BONE + 4, "Lumbar", {}},
    {MF_STRING, ID_WWWL_MIDRIFF, "Midriff", {}},
    {kSeparator, 0, nullptr, {}},
};
const MenuItemTemplate kControlItems[] = {
    {MF_STRING, ID_VIEW_TOOLBAR, "Tools Bar(&T)", {}},
    {MF_STRING, ID_VIEW_STATUS_BAR, "Status Bar(&S)", {}},
};
const MenuItemTemplate kHelpItems[] = {
    {MF_STRING, ID_APP_ABOUT, "About Pelivo(&A)...", {}},
};
const MenuItemTemplate kBarItems[] = {
    {MF_POPUP, 0, "File(&F)", kFileItems},
    {MF_POPUP, 0, "Edit(&E)", kEditItems},
    {MF_POPUP, 0, "View(&V)", kViewItems},
    {MF_POPUP, 0, "Layout(&L)", kLayoutItems},
    {MF_POPUP, 0, "Navigation(&N)", kNavigationItems},
    {MF_POPUP, 0, "Tools(&T)", kToolsItems},
    {MF_POPUP, 0, "WW/WL(&W)", kWindowLevelItems},
    {MF_POPUP, 0, "Control(&C)", kControlItems},
    {MF_POPUP, 0, "Help(&H)", kHelpItems},
};
const MenuTemplate kMenu{kBarItems};
const ResourceMenuEntry kMenus[] = {{MAKEINTRESOURCE(IDR_MAINFRAME), &kMenu}};

// Only Open File: the other standard keys would reach no command of the
// program, or the framework's save of its empty document.
const AcceleratorEntry kKeys[] = {
    {FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN},
};
const ResourceAcceleratorEntry kAccelerators[] = {{MAKEINTRESOURCE(IDR_MAINFRAME), kKeys}};

// The order of the images in the toolbar bitmap.
const WORD kButtons[] = {ID_FILE_OPEN_DICOMDIR,
                         ID_FILE_OPEN,
                         ID_FILE_SAVE_IMAGE_AS,
                         0,
                         ID_EDIT_COPY_TO_CLIPBOARD,
                         ID_EDIT_COPY_TO_VIEW,
                         0,
                         ID_VIEW_LAYOUT_FIRST,
                         ID_VIEW_LAYOUT_FIRST + 1,
                         ID_VIEW_LAYOUT_FIRST + 2,
                         ID_VIEW_LAYOUT_LAST,
                         0,
                         ID_LAYOUT_FIRST,
                         ID_LAYOUT_FIRST + 1,
                         ID_LAYOUT_FIRST + 2,
                         ID_LAYOUT_FIRST + 3,
                         ID_LAYOUT_FIRST + 4,
                         ID_LAYOUT_LAST,
                         0,
                         ID_NAV_FIRST_PAGE,
                         ID_NAV_PAGE_UP,
                         ID_NAV_PAGE_DOWN,
                         ID_NAV_LAST_PAGE,
                         0,
                         ID_ZOOM_FIT,
                         ID_ZOOM_PIXEL,
                         0,
                         ID_LEFT_ARROW,
                         ID_LEFT_ZOOM,
                         ID_LEFT_PAN,
                         ID_LEFT_MAG_GLASS,
                         ID_LEFT_WINDOW_LEVEL,
                         ID_TOOLS_INVERT,
                         ID_TOOLS_FLIP_HORIZONTAL,
                         ID_TOOLS_FLIP_VERTICAL,
                         ID_TOOLS_ROTATE_CCW,
                         ID_TOOLS_ROTATE_CW,
                         ID_TOOLS_RESTORE,
                         0,
                         ID_LEFT_DISTANCE,
                         ID_LEFT_ANGLE,
                         ID_CLEAR_ANNOTATION,
                         0,
                         ID_CINE_ON,
                         ID_CINE_OFF,
                         0,
                         ID_VIEW_CLOSE_IMAGE,
                         ID_VIEW_CLOSE_VIEW,
                         0,
                         ID_SHOW_REPORT,
                         0,
                         ID_APP_ABOUT};
const ToolbarTemplate kToolbar{16, 15, kButtons};
const ResourceToolbarEntry kToolbars[] = {{MAKEINTRESOURCE(IDR_MAINFRAME), &kToolbar}};

// Each command's status-bar prompt, then its tool tip.
const ResourceStringEntry kStrings[] = {
    {IDR_MAINFRAME, "PelivoV1.1\n\nPelivoV1.1\n\n\nPelivoV11.Document\nPelivoV1.1.Document"},
    {AFX_IDS_APP_TITLE, "Pelivo"},
    {IDP_OLE_INIT_FAILED, "OLE could not be started. Pelivo cannot run."},
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {ID_INDICATOR_TOTAL, "Total Image Number"},
    {ID_INDICATOR_CURRENT, "Current"},
    {ID_INDICATOR_SCOPE, "Scope:Image"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_FILE_OPEN_DICOMDIR, "Open a DICOMDIR and browse its patients, studies, series and "
                            "images\nOpen DICOMDIR"},
    {ID_FILE_OPEN, "Open one or more DICOM files\nOpen File"},
    {ID_FILE_SAVE_IMAGE_AS, "Save the image as a DICOM, bitmap or JPEG file\nSave as"},
    {ID_FILE_MRU_FILE1, "Open this file"},
    {ID_APP_EXIT, "Quit the program\nExit"},
    {ID_EDIT_COPY_TO_CLIPBOARD, "Copy the image to the clipboard\nCopy to Clipboard"},
    {ID_EDIT_COPY_TO_VIEW, "Copy the image into another view\nCopy to View"},
    {ID_VIEW_CLOSE_IMAGE, "Close the image\nClose Image"},
    {ID_VIEW_CLOSE_VIEW, "Close every image of the view\nClose View"},
    {ID_LABELS_SHOW, "Show the labels of the images\nShow Labels"},
    {ID_LABELS_HIDE, "Hide the labels of the images\nHide Labels"},
    {ID_OVERLAYS_SHOW, "Show the overlays of the images\nShow Overlays"},
    {ID_OVERLAYS_HIDE, "Hide the overlays of the images\nHide Overlays"},
    {ID_RULER_SHOW, "Show the ruler\nShow Ruler"},
    {ID_RULER_HIDE, "Hide the ruler\nHide Ruler"},
    {ID_CLEAR_ANNOTATION, "Clear the annotations of the images\nClear Annotation"},
    {ID_LAYOUT_FIRST, "Show the series one image at a time\nLayout 1X1"},
    {ID_LAYOUT_FIRST + 1, "Show the series two images side by side\nLayout 1X2"},
    {ID_LAYOUT_FIRST + 2, "Show the series two images one above the other\nLayout 2X1"},
    {ID_LAYOUT_FIRST + 3, "Show the series in a grid of 2 by 2 images\nLayout 2X2"},
    {ID_LAYOUT_FIRST + 4, "Show the series in a grid of 3 by 3 images\nLayout 3X3"},
    {ID_LAYOUT_LAST, "Show the series in a grid of 4 by 4 images\nLayout 4X4"},
    {ID_VIEW_LAYOUT_FIRST, "Show one view\nView Layout 1X1"},
    {ID_VIEW_LAYOUT_FIRST + 1, "Show two views side by side\nView Layout 1X2"},
    {ID_VIEW_LAYOUT_FIRST + 2, "Show two views one above the other\nView Layout 2X1"},
    {ID_VIEW_LAYOUT_LAST, "Show a grid of 2 by 2 views\nView Layout 2X2"},
    {ID_NAV_PAGE_DOWN, "Show the next page of the series\nPage Down"},
    {ID_NAV_PAGE_UP, "Show the previous page of the series\nPage Up"},
    {ID_NAV_FIRST_PAGE, "Show the first page of the series\nFirst Page"},
    {ID_NAV_LAST_PAGE, "Show the last page of the series\nLast Page"},
    {ID_SCOPE_IMAGE, "Let the tools act on the image alone\nScope Image"},
    {ID_SCOPE_VIEW, "Let the tools act on the whole series\nScope View"},
    {ID_TOOLS_ROTATE_CW, "Rotate the image clockwise\nRotate Clockwise"},
    {ID_TOOLS_ROTATE_CCW, "Rotate the image counterclockwise\nRotate Counterclockwise"},
    {ID_TOOLS_FLIP_HORIZONTAL, "Flip the image left to right\nFlip Horizonal"},
    {ID_TOOLS_FLIP_VERTICAL, "Flip the image top to bottom\nFlip Vertical"},
    {ID_TOOLS_INVERT, "Invert the grey levels of the image\nInvert"},
    {ID_ZOOM_FIT, "Fit the image in its pane\nFit In Window"},
    {ID_ZOOM_PIXEL, "Show one image pixel per screen pixel\nPixel By Pixel"},
    {ID_ZOOM_IN, "Enlarge the image\nZoom In"},
    {ID_ZOOM_OUT, "Reduce the image\nZoom Out"},
    {ID_TOOLS_RESTORE, "Show the image as it was loaded\nRestore"},
    {ID_LEFT_ARROW, "Left button: select\nArrow"},
    {ID_LEFT_WINDOW_LEVEL, "Left button: window width and level\nWindowLevel"},
    {ID_LEFT_QUICK_SCROLL, "Left button: scroll through the series\nQuickScroll"},
    {ID_LEFT_MAG_GLASS, "Left button: magnifying glass\nMagGlass"},
    {ID_LEFT_ZOOM, "Left button: zoom\nZoom"},
    {ID_LEFT_PAN, "Left button: pan\nPan"},
    {ID_LEFT_DISTANCE, "Left button: measure a distance\nDistance"},
    {ID_LEFT_ANGLE, "Left button: measure an angle\nAngle"},
    {ID_RIGHT_ARROW, "Right button: select\nArrow"},
    {ID_RIGHT_WINDOW_LEVEL, "Right button: window width and level\nWindowLevel"},
    {ID_RIGHT_QUICK_SCROLL, "Right button: scroll through the series\nQuickScroll"},
    {ID_RIGHT_MAG_GLASS, "Right button: magnifying glass\nMagGlass"},
    {ID_RIGHT_ZOOM, "Right button: zoom\nZoom"},
    {ID_RIGHT_PAN, "Right button: pan\nPan"},
    {ID_RIGHT_DISTANCE, "Right button: measure a distance\nDistance"},
    {ID_RIGHT_ANGLE, "Right button: measure an angle\nAngle"},
    {ID_CINE_ON, "Play the series as cine\nCine On"},
    {ID_CINE_OFF, "Stop the cine\nCine Off"},
    {ID_CINE_DOWN, "Play the cine backwards, faster\nCine Down"},
    {ID_CINE_UP, "Play the cine forwards, slower\nCine Up"},
    {ID_CINE_BOUNCE, "Play the cine back and forth\nCine Bounce"},
    {ID_WWWL_AUTO, "Compute window width and level from the image\nAuto WW/WL"},
    {ID_WWWL_BONE, "Window for bone: width 1500, level 300\nBone"},
    {ID_WWWL_BONE + 1, "Window for the brain: width 150, level 50\nBrain"},
    {ID_WWWL_BONE + 2, "Window for the lung: width 1000, level -675\nLung"},
    {ID_WWWL_BONE + 3, "Window for the liver: width 90, level 90\nLiver"},
    {ID_WWWL_BONE + 4, "Window for the lumbar spine: width 1400, level 300\nLumbar"},
    {ID_WWWL_MIDRIFF, "Window for the midriff: width 400, level 30\nMidriff"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nTools Bar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nStatus Bar"},
    {ID_SHOW_REPORT, "Show the report\nShow Report"},
    {ID_APP_ABOUT, "Show the program's version\nAbout Pelivo"},
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogItemTemplate kAboutItems[] = {
    {"Static", "#128", 0xFFFF, kChild | SS_ICON, 0, 11, 17, 20, 20},
    {"Static", "Pelivo Version 3.1", 0xFFFF, kChild | SS_NOPREFIX, 0, 40, 24, 119, 8},
    {"Button", "OK", IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 178, 21, 50, 14},
};
constexpr DialogTemplate kAbout{DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION |
                                    WS_SYSMENU,
                                0,
                                0,
                                0,
                                235,
                                55,
                                "About Pelivo",
                                "MS Shell Dlg",
                                8,
                                kAboutItems};
const ResourceDialogEntry kDialogs[] = {{MAKEINTRESOURCE(IDD_ABOUTBOX), &kAbout}};

// Drawn by tools/make_pelivorun_resources.py; the build puts them beside
// the program.
const ResourceFileEntry kFiles[] = {
    {RT_GROUP_ICON, MAKEINTRESOURCE(IDR_MAINFRAME), "icons/Pelivo.ico"},
    {RT_BITMAP, MAKEINTRESOURCE(IDR_MAINFRAME), "toolbars/PelivoRun.bmp"},
};
} // namespace

void RegisterPelivoRunResources()
{
    static const bool bRegistered =
        (RegisterModuleResources(GetModuleHandleA(nullptr), {.strings = kStrings,
                                                             .files = kFiles,
                                                             .dialogs = kDialogs,
                                                             .menus = kMenus,
                                                             .accelerators = kAccelerators,
                                                             .toolbars = kToolbars}),
         true);
    static_cast<void>(bRegistered);
}
