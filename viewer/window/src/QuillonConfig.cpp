#include "QuillonConfig.h"

#include "DMarkup.h"
#include "ORoiTextLabel.h"
#include "QuillonLog.h"
#include "SimpleFile.h"
#include "ViewPortFonts.h"
#include "WinPathName.h"

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
