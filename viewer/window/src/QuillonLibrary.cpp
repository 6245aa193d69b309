#include "QuillonLibrary.h"

#include "LibraryFolder.h"
#include "QuillonApp.h"
#include "WinCursor.h"
#include "WinResource.h"

#include <array>

namespace
{

constexpr UINT ArrowGroup = 32512;

// The cursors in the order the start loads them; group 138 fills the last
// three slots.
constexpr std::array<UINT, 16> CursorGroups = {ArrowGroup, 139, 175, 140, 153, 154, 155, 156,
                                               171,        168, 169, 170, 167, 138, 138, 138};
constexpr std::array<UINT, 2> IconGroups = {149, 148};

struct LibraryValues
{
    Lettra folder;
    Lettra resourceXmlPath;
    Lettra configXmlPath;
    Lettra imageTagXmlPath;
    std::array<HCURSOR, CursorGroups.size()> cursors{};
    std::array<HICON, IconGroups.size()> icons{};
};

LibraryValues& Values()
{
    static LibraryValues values;
    return values;
}

// The started library's values.
const LibraryValues& StartedValues()
{
    EnsureQuillonStarted();
    return Values();
}

// The handle loaded for the first slot of that group; null for none.
template <std::size_t Slots>
HICON FindByGroup(const std::array<UINT, Slots>& groups, const std::array<HICON, Slots>& handles,
                  UINT group)
{
    for (std::size_t slot = 0; slot < Slots; ++slot)
    {
        if (groups[slot] == group)
        {
            return handles[slot];
        }
    }
    return nullptr;
}

} // namespace

const Lettra& GetQuillonFolder()
{
    return StartedValues().folder;
}

const Lettra& GetResourceXmlPath()
{
    return StartedValues().resourceXmlPath;
}

const Lettra& GetConfigXmlPath()
{
    return StartedValues().configXmlPath;
}

const Lettra& GetImageTagXmlPath()
{
    return StartedValues().imageTagXmlPath;
}

HCURSOR GetQuillonCursor(UINT group)
{
    return FindByGroup(CursorGroups, StartedValues().cursors, group);
}

HICON GetQuillonIcon(UINT group)
{
    return FindByGroup(IconGroups, StartedValues().icons, group);
}

void LoadQuillonCursors(HINSTANCE hResources)
{
    LibraryValues& values = Values();
    for (std::size_t slot = 0; slot < CursorGroups.size(); ++slot)
    {
        values.cursors[slot] = LoadCursorA(hResources, MAKEINTRESOURCE(CursorGroups[slot]));
    }
    // The library draws no arrow of its own: the standard one stands in.
    if (values.cursors[0] == nullptr)
    {
        values.cursors[0] = LoadCursorA(nullptr, MAKEINTRESOURCE(ArrowGroup));
    }
    for (std::size_t slot = 0; slot < IconGroups.size(); ++slot)
    {
        values.icons[slot] = LoadIconA(hResources, MAKEINTRESOURCE(IconGroups[slot]));
    }
}

void SetQuillonFolder(const char* libraryPath)
{
    LibraryValues& values = Values();
    values.folder = FolderOfPath(libraryPath);
    values.resourceXmlPath = values.folder + "Config/Brevant.Resource.xml";
    values.configXmlPath = values.folder + "Config/Brevant.Config.xml";
    values.imageTagXmlPath = values.folder + "Config/Brevant.ImageTag.xml";
}
