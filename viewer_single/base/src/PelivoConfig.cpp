#include "PelivoConfig.h"

#include "LibraryFolder.h"
#include "XmlSetting.h"

namespace pelivo
{

namespace
{

Lettra& Folder()
{
    static Lettra folder;
    return folder;
}

bool& DrawByMemoryDC()
{
    static bool on = true;
    return on;
}

} // namespace

void SetPelivoFolder(const char* libraryPath)
{
    Folder() = FolderOfPath(libraryPath);
}

const Lettra& GetPelivoFolder()
{
    return Folder();
}

bool ReadDrawByMemoryDC()
{
    XmlSetting setting;
    setting.Load(GetPelivoFolder() + ViewerConfigFileName);
    setting.GotoPath("/AppSetting/Config");
    return setting.GetValue("DrawByMemoryDC", "1").Bool();
}

bool IsDrawByMemoryDC()
{
    return DrawByMemoryDC();
}

void SetDrawByMemoryDC(bool on)
{
    DrawByMemoryDC() = on;
}

} // namespace pelivo
