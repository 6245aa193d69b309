// Feeds arbitrary text to the readers of the viewer's XML configuration:
// the corner-label configuration (pushed as text and read from a file), the
// configuration file of the data and overlay settings, and the menus the
// resource XML describes. Any text may be refused, never crash or hang.
#include "CXPMenuCH.h"
#include "FuzzInputFile.h"
#include "ImageTag.h"
#include "QuillonConfig.h"
#include "VeltaroLibrary.h"
#include "XmlMenuBuilder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

// Every item of every corner the modalities find.
void WalkLabels(const ImageTag& tags)
{
    volatile unsigned sink = 0;
    for (const char* modality : {"CT", "MR", "Other", " ct ", ""})
    {
        const ImageTag::ModalityItems* items = tags.GetModalityItems(modality);
        if (items == nullptr)
        {
            continue;
        }
        for (const auto& corner : items->items)
        {
            for (auto* node = corner.GetHead(); node != nullptr; node = node->next)
            {
                sink = sink + node->item.nGroup + node->item.nElement + unsigned(node->item.nLine) +
                       unsigned(node->item.strPrefix.GetLength() +
                                node->item.strPostfix.GetLength() + node->item.strType.GetLength());
            }
        }
    }
}

// The menus of the popup kinds the image panes ask for.
void BuildMenus(const char* text)
{
    XmlMenuBuilder builder;
    if (!builder.SetDoc(text))
    {
        return;
    }
    for (const char* kind : {"Modality/DEFAULT", "ROI", "SHUTTER", "PANEROI", "EMPTY"})
    {
        const std::string path = std::string("/AppSetting/PopupMenu/") + kind;
        if (CXPMenuCH* menu = builder.BuildMenu("/AppSetting/PopupMenu/Property/", path.c_str()))
        {
            for (UINT at = 0; at < menu->GetMenuItemCount(); ++at)
            {
                menu->GetMenuItemID(static_cast<int>(at));
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("PELIVO_DISPLAY", "headless", 1);
    VeltaroInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    ImageTag tags;
    tags.LoadConfigXML(text.c_str(), ImageTagRoot, ImageTagElement);
    WalkLabels(tags);
    const FuzzInputFile input("fuzz-viewer-config", ".xml", data, size);
    if (input.IsWritten())
    {
        ImageTag fromFile;
        fromFile.LoadConfig(input.GetPath(), ImageTagRoot, ImageTagElement);
        WalkLabels(fromFile);
        Data_LoadConfig(input.GetPath());
    }
    BuildMenus(text.c_str());
    return 0;
}
