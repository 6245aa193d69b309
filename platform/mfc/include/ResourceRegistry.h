// The resource registry: each module registers its resources from constant
// tables in its own code, and the platform finds them by module handle,
// type and id or name. One static ResourceRegistrar per table set is all a
// module needs:
//
//   static const ResourceStringEntry kStrings[] = {{100, "Ready"}};
//   static const ResourceRegistrar kRegistrar({.strings = kStrings});
//
// The entry arrays are referenced, never copied: they must live as long as
// the module (static storage). Authored images are files whose path is relative to the
// folder of the registering module's file (or absolute); they are read on
// first use.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

#include <span>
#include <vector>

// One entry of a string table.
struct ResourceStringEntry
{
    UINT nId;
    LPCSTR pszText;
};

// Raw bytes of any type (RT_RCDATA, RT_HTML, a named type...).
struct ResourceDataEntry
{
    LPCSTR lpType;
    LPCSTR lpName;
    const void* pData;
    DWORD cbData;
};

// An authored file: RT_GROUP_CURSOR, RT_GROUP_ICON, RT_BITMAP or raw data.
struct ResourceFileEntry
{
    LPCSTR lpType;
    LPCSTR lpName;
    LPCSTR pszPath;
};

// One control of a dialog template; positions and sizes in dialog units.
struct DialogItemTemplate
{
    LPCSTR pszClass; // "Button", "Edit", "Static", ... or a registered class
    LPCSTR pszText;
    WORD nId;
    DWORD dwStyle;
    DWORD dwExStyle;
    short x;
    short y;
    short cx;
    short cy;
};

struct DialogTemplate
{
    DWORD dwStyle;
    DWORD dwExStyle;
    short x;
    short y;
    short cx;
    short cy;
    LPCSTR pszCaption;
    LPCSTR pszFontFace; // NULL: the system font
    WORD nPointSize;
    std::span<const DialogItemTemplate> items;
};

// One menu item: nFlags holds MF_* flags; an item with sub-items is a popup.
struct MenuItemTemplate
{
    UINT nFlags;
    UINT nId;
    LPCSTR pszText;
    std::span<const MenuItemTemplate> subItems;
};

struct MenuTemplate
{
    std::span<const MenuItemTemplate> items;
};

// One accelerator: fVirt holds the FVIRTKEY/FSHIFT/FCONTROL/FALT bits.
struct AcceleratorEntry
{
    BYTE fVirt;
    WORD wKey;
    WORD wCmd;
};

struct ToolbarTemplate
{
    WORD wWidth;
    WORD wHeight;
    std::span<const WORD> ids; // 0 is a separator
};

struct ResourceDialogEntry
{
    LPCSTR lpName;
    const DialogTemplate* pTemplate;
};

struct ResourceMenuEntry
{
    LPCSTR lpName;
    const MenuTemplate* pTemplate;
};

struct ResourceAcceleratorEntry
{
    LPCSTR lpName;
    std::span<const AcceleratorEntry> entries;
};

struct ResourceToolbarEntry
{
    LPCSTR lpName;
    const ToolbarTemplate* pTemplate;
};

struct ResourceTables
{
    std::span<const ResourceStringEntry> strings{};
    std::span<const ResourceDataEntry> data{};
    std::span<const ResourceFileEntry> files{};
    std::span<const ResourceDialogEntry> dialogs{};
    std::span<const ResourceMenuEntry> menus{};
    std::span<const ResourceAcceleratorEntry> accelerators{};
    std::span<const ResourceToolbarEntry> toolbars{};
};

// Registers tables under the module whose image holds their entry arrays.
class PLATFORMUI_API ResourceRegistrar
{
public:
    explicit ResourceRegistrar(const ResourceTables& tables);
};

// Registers tables under an explicit module; later registrations of a
// module are searched after earlier ones.
PLATFORMUI_API void RegisterModuleResources(HMODULE hModule, const ResourceTables& tables);

// Modules with resources, in the order they first registered.
PLATFORMUI_API std::vector<HMODULE> GetResourceModules();

// Typed look-ups for the window layer; NULL (or empty) when absent. A NULL
// module is the program.
PLATFORMUI_API LPCSTR FindStringResource(HMODULE hModule, UINT nId);
PLATFORMUI_API const DialogTemplate* FindDialogTemplate(HMODULE hModule, LPCSTR lpName);
PLATFORMUI_API const MenuTemplate* FindMenuTemplate(HMODULE hModule, LPCSTR lpName);
PLATFORMUI_API std::span<const AcceleratorEntry> FindAcceleratorTable(HMODULE hModule,
                                                                      LPCSTR lpName);
PLATFORMUI_API const ToolbarTemplate* FindToolbarTemplate(HMODULE hModule, LPCSTR lpName);
// The bytes of raw data or of an authored file (a bitmap file keeps its
// file header here); empty when absent or unreadable.
PLATFORMUI_API std::span<const BYTE> FindResourceBytes(HMODULE hModule, LPCSTR lpType,
                                                       LPCSTR lpName);
