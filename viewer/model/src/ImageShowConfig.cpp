#include "ImageShowConfig.h"

#include "ConfigXmlText.h"
#include "QuillonLog.h"
#include "WinModule.h"
#include "XmlSetting.h"

namespace
{

ImageShowConfig ReadProcessConfig()
{
    ImageShowConfig config;
    XmlSetting setting;
    ImageShowConfig::LoadProcessSetting(setting);
    config.Read(setting);
    return config;
}

} // namespace

bool ImageShowConfig::Load(const char* path)
{
    XmlSetting setting;
    const bool loaded = setting.Load(path);
    if (!loaded)
    {
        quillon::_warning("Enter ImageShowConfig::Load, cannot read %s",
                          path != nullptr ? path : "");
    }
    Read(setting);
    return loaded;
}

bool ImageShowConfig::LoadXml(const char* text)
{
    XmlSetting setting;
    const bool loaded = setting.SetDoc(text);
    Read(setting);
    return loaded;
}

void ImageShowConfig::Read(XmlSetting& setting)
{
    if (!setting.GotoPath("/AppSetting/Config"))
    {
        return;
    }
    bModalityLUT2VOILUT = setting.GetValue("ModalityLUT2VOILUT", "true").Bool();
    nHideIfMemoryBelowMB = setting.GetValue("HideIfMemoryBelowMB", "100").Int();
    nShowPatientOrientationLabel = setting.GetValue("ShowPatientOrientationLabel", "1").Int();
    nMaxSizeOfBriefImage = setting.GetValue("MaxSizeOfBriefImage", "512").Int();
    quillon::_debug("ModalityLUT2VOILUT : %d", bModalityLUT2VOILUT ? 1 : 0);
    quillon::_debug("HideIfMemoryBelowMB : %d", nHideIfMemoryBelowMB);
}

bool ImageShowConfig::LoadProcessSetting(XmlSetting& setting)
{
    const Lettra held = GetConfigXmlText();
    if (!held.IsEmpty())
    {
        return setting.SetDoc(held);
    }
    const Lettra path = GetDefaultPath();
    if (!setting.Load(path))
    {
        quillon::_warning("Enter ImageShowConfig::Load, cannot read %s", path.constBuffer());
        return false;
    }
    return true;
}

ImageShowConfig& ImageShowConfig::Get()
{
    static ImageShowConfig config = ReadProcessConfig();
    return config;
}

Lettra ImageShowConfig::GetDefaultPath()
{
    HMODULE module = nullptr;
    char path[1024] = {};
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&ImageShowConfig::Get), &module) == 0 ||
        GetModuleFileNameA(module, path, sizeof path) == 0)
    {
        return Lettra("Config/Brevant.Config.xml");
    }
    Lettra folder(path);
    const int slash = folder.ReverseFind('/');
    return folder.Left(slash + 1) + "Config/Brevant.Config.xml";
}
