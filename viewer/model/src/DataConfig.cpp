#include "DataConfig.h"

#include "ImageShowConfig.h"
#include "XmlSetting.h"

namespace
{

DataConfig ReadProcessConfig()
{
    DataConfig config;
    XmlSetting setting;
    ImageShowConfig::LoadProcessSetting(setting);
    config.Read(setting);
    return config;
}

} // namespace

bool DataConfig::LoadXml(const char* text)
{
    XmlSetting setting;
    const bool loaded = setting.SetDoc(text);
    Read(setting);
    return loaded;
}

void DataConfig::Read(XmlSetting& setting)
{
    if (!setting.GotoPath("/AppSetting/Config"))
    {
        return;
    }
    nAlphaOfShutter = setting.GetValue("AlphaOfShutter", Lettra(nAlphaOfShutter)).Int();
    nShowImageViewScrollBar =
        setting.GetValue("ShowImageViewScrollBar", Lettra(nShowImageViewScrollBar)).Int();
}

DataConfig& DataConfig::Get()
{
    static DataConfig config = ReadProcessConfig();
    return config;
}
