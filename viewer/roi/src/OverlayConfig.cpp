#include "OverlayConfig.h"

#include "ImageShowConfig.h"
#include "XmlSetting.h"

namespace
{

// A colour element's R, G and B attributes; the colour stays as it is when
// the element is missing.
void ReadColor(XmlSetting& setting, const char* name, COLORREF& colour)
{
    const Lettra red = setting.GetAttribute(name, "R", "");
    const Lettra green = setting.GetAttribute(name, "G", "");
    const Lettra blue = setting.GetAttribute(name, "B", "");
    if (red.IsEmpty() && green.IsEmpty() && blue.IsEmpty())
    {
        return;
    }
    colour = RGB(red.Int() & 0xFF, green.Int() & 0xFF, blue.Int() & 0xFF);
}

OverlayConfig ReadProcessConfig()
{
    OverlayConfig config;
    XmlSetting setting;
    ImageShowConfig::LoadProcessSetting(setting);
    config.Read(setting);
    return config;
}

} // namespace

bool OverlayConfig::LoadXml(const char* text)
{
    XmlSetting setting;
    const bool loaded = setting.SetDoc(text);
    Read(setting);
    return loaded;
}

void OverlayConfig::Read(XmlSetting& setting)
{
    if (setting.GotoPath("/AppSetting/Config/Overlay/Color"))
    {
        ReadColor(setting, "TextColor", crText);
        ReadColor(setting, "LabelColor", crLabel);
        ReadColor(setting, "ROIColor", crRoi);
        ReadColor(setting, "ROITextColor", crRoiText);
        ReadColor(setting, "ROIHilitedColor", crRoiHilited);
        ReadColor(setting, "ROIShadowColor", crRoiShadow);
    }
    if (setting.GotoPath("/AppSetting/Config/Overlay"))
    {
        bTextBackground =
            setting.GetValue("TextBackground", bTextBackground ? "1" : "0").Int() != 0;
        bShadow = setting.GetValue("Shadow", bShadow ? "1" : "0").Int() != 0;
        nFontHeight = setting.GetValue("FontHeight", Lettra(nFontHeight)).Int();
    }
}

OverlayConfig& OverlayConfig::Get()
{
    static OverlayConfig config = ReadProcessConfig();
    return config;
}
