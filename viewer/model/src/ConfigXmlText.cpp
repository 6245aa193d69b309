#include "ConfigXmlText.h"

namespace
{

Lettra& ResourceXml()
{
    static Lettra text;
    return text;
}

Lettra& ConfigXml()
{
    static Lettra text;
    return text;
}

} // namespace

void SetResourceXml(const char* text)
{
    ResourceXml() = text != nullptr ? text : "";
}

Lettra GetResourceXml()
{
    return ResourceXml();
}

void SetConfigXmlText(const char* text)
{
    ConfigXml() = text != nullptr ? text : "";
}

Lettra GetConfigXmlText()
{
    return ConfigXml();
}
