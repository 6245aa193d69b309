#include "QuillonConfig.h"

#include "ConfigXmlText.h"
#include "DMarkup.h"
#include "DataConfig.h"
#include "ImageTag.h"
#include "ORoiTextLabel.h"
#include "OverlayConfig.h"
#include "QuillonLog.h"
#include "SimpleFile.h"
#include "ViewPortFonts.h"
#include "WinPathName.h"
#include "XmlSetting.h"

#include <climits>
#include <cstring>

bool ReadWholeFile(const char* path, Lettra& text)
{
    SimpleFile file;
    if (path == nullptr || !file.OpenForRead(path))
    {
        return false;
    }
    const long length = file.GetLength();
    if (length <= 0 || length > INT_MAX)
    {
        return false;
    }
    Lettra content;
    char* buffer = content.GetBufferSetLength(static_cast<int>(length));
    const int read = file.Read(buffer, static_cast<int>(length));
    content.ReleaseBuffer(read);
    if (read <= 0)
    {
        return false;
    }
    text = content;
    return true;
}

ConfigurationTexts ReadConfigurationFiles(const char* resourcePath, const char* configPath)
{
    quillon::_debug("Enter CWebWindow::SystemInit");
    quillon::_debug("");
    char folder[_MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    quillon::_debug("Current Directory : %s", folder);

    ConfigurationTexts texts;
    ReadWholeFile(resourcePath, texts.resourceXml);
    ReadWholeFile(configPath, texts.configXml);
    DMarkup config;
    if (configPath != nullptr && config.Load(configPath))
    {
        ReadViewPortFonts(config);
    }
    ORoiTextLabel::SetDefaultOffset(MeasurementLabelOffset);
    return texts;
}

const char* GetPushedConfigFileName(short type)
{
    switch (type)
    {
    case 1:
        return "__ImageTag.save.xml";
    case 10:
        return "__Resource.save.xml";
    case 20:
        return "__Config.save.xml";
    default:
        return nullptr;
    }
}

bool SavePushedConfigXml(const char* folder, short type, const char* xml)
{
    const char* name = GetPushedConfigFileName(type);
    if (name == nullptr || xml == nullptr)
    {
        return false;
    }
    const Lettra path = Lettra(folder != nullptr ? folder : "") + name;
    SimpleFile file;
    const int length = static_cast<int>(std::strlen(xml));
    if (!file.OpenForWrite(path) || (length > 0 && file.Write(xml, length) != length))
    {
        quillon::_warning("Enter SavePushedConfigXml, cannot write %s",
                          static_cast<const char*>(path));
    }
    return true;
}

int Data_LoadConfig(const char* path)
{
    quillon::_debug("Enter Data_LoadConfig, FileName : %s", path != nullptr ? path : "");
    if (path == nullptr)
    {
        return 0;
    }
    XmlSetting setting;
    if (!setting.Load(path))
    {
        quillon::_warning("Enter Data_LoadConfig, cannot read %s", path);
        return 0;
    }
    DataConfig::Get().Read(setting);
    OverlayConfig::Get().Read(setting);
    return 1;
}

void LoadConfiguration(const char* resourcePath, const char* configPath, const char* imageTagPath)
{
    const ConfigurationTexts texts = ReadConfigurationFiles(resourcePath, configPath);
    if (!texts.resourceXml.IsEmpty())
    {
        SetResourceXml(texts.resourceXml);
    }
    if (!texts.configXml.IsEmpty())
    {
        SetConfigXmlText(texts.configXml);
    }
    Data_LoadConfig(configPath);
    ImageTag::Get().LoadConfig(imageTagPath, ImageTagRoot, ImageTagElement);
}

bool TakePushedConfigXml(const char* folder, short type, const char* xml)
{
    if (!SavePushedConfigXml(folder, type, xml))
    {
        return false;
    }
    switch (type)
    {
    case 1:
        return ImageTag::Get().LoadConfigXML(xml, ImageTagRoot, ImageTagElement);
    case 10:
        SetResourceXml(xml);
        return true;
    default:
        SetConfigXmlText(xml);
        return true;
    }
}
