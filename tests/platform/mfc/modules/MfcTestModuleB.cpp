#include "MfcTestModule.h"
#include "ResourceRegistry.h"
#include "WinResource.h"

class CModuleBShape : public CObject
{
    DECLARE_DYNAMIC(CModuleBShape)
};

IMPLEMENT_DYNAMIC(CModuleBShape, CObject)

namespace
{
constexpr char kData[] = {'B', '2', '3'};
constexpr MenuItemTemplate kPopupItems[] = {
    {0, 32798, "&Red", {}},
    {0x0800 /* MF_SEPARATOR */, 0, nullptr, {}},
    {0, 32799, "&Green", {}},
};
constexpr MenuItemTemplate kMenuItems[] = {{0x0010 /* MF_POPUP */, 0, "&Colour", kPopupItems}};
constexpr MenuTemplate kMenu{kMenuItems};
constexpr DialogItemTemplate kDialogItems[] = {
    {"Button", "OK", 1, 0x50010001, 0, 7, 40, 50, 14},
    {"Static", "Hello", 0xFFFF, 0x50000000, 0, 7, 7, 100, 8},
};
constexpr DialogTemplate kDialog{0x80C80000,     0, 0,           0, 186, 62, "About",
                                 "MS Shell Dlg", 8, kDialogItems};

const ResourceStringEntry kStrings[] = {
    {kSharedStringId, "String of module B"},
    {kModuleBStringId, "Only in B"},
};
const ResourceDataEntry kDataEntries[] = {
    {RT_RCDATA, MAKEINTRESOURCE(kSharedDataId), kData, sizeof(kData)},
};
const ResourceMenuEntry kMenus[] = {{MAKEINTRESOURCE(kMenuId), &kMenu}};
const ResourceDialogEntry kDialogs[] = {{MAKEINTRESOURCE(kDialogId), &kDialog},
                                        {"PRINTING", &kDialog}};

const ResourceRegistrar
    kRegistrar({.strings = kStrings, .data = kDataEntries, .dialogs = kDialogs, .menus = kMenus});
} // namespace

extern "C" __attribute__((visibility("default"))) CRuntimeClass* GetModuleClass()
{
    return RUNTIME_CLASS(CModuleBShape);
}
