#include "RoiFont.h"

#include "DMarkup.h"
#include "OverlayConfig.h"
#include "RoiDocument.h"

#include <cstdlib>
#include <cstring>

RoiFont::RoiFont()
{
    const OverlayConfig& config = OverlayConfig::Get();
    m_bShadow = config.bShadow ? 1 : 0;
    m_crCurrent = config.crRoi;
    m_crText = config.crRoiText;
    m_crNormal = config.crRoi;
    m_crHighlight = config.crRoiHilited;
    m_crShadow = config.crRoiShadow;
    SetFontHeight(config.nFontHeight);
}

RoiFont::RoiFont(const RoiFont& other)
{
    *this = other;
}

RoiFont& RoiFont::operator=(const RoiFont& other)
{
    if (this != &other)
    {
        m_bShadow = other.m_bShadow;
        m_nLineWidth = other.m_nLineWidth;
        m_nDrawMode = other.m_nDrawMode;
        m_nBkMode = other.m_nBkMode;
        m_nFontHeight = other.m_nFontHeight;
        m_crCurrent = other.m_crCurrent;
        m_pFont = other.m_pFont != nullptr ? std::make_unique<LOGFONT>(*other.m_pFont) : nullptr;
        m_crText = other.m_crText;
        m_crNormal = other.m_crNormal;
        m_crHighlight = other.m_crHighlight;
        m_crShadow = other.m_crShadow;
    }
    return *this;
}

RoiFont::~RoiFont() = default;

void RoiFont::SetFontHeight(int height)
{
    m_nFontHeight = height;
    if (height < 1)
    {
        m_pFont.reset();
        return;
    }
    if (m_pFont == nullptr)
    {
        m_pFont = std::make_unique<LOGFONT>();
        std::memset(m_pFont.get(), 0, sizeof(LOGFONT));
        m_pFont->lfWeight = FW_NORMAL;
        SetFontFace("Arial");
    }
    m_pFont->lfHeight = height;
}

void RoiFont::SetFontFace(const char* face)
{
    if (m_pFont != nullptr && face != nullptr && face[0] != 0)
    {
        std::strncpy(m_pFont->lfFaceName, face, LF_FACESIZE - 1);
        m_pFont->lfFaceName[LF_FACESIZE - 1] = 0;
    }
}

void RoiFont::SetFontWeight(int weight)
{
    if (m_pFont != nullptr)
    {
        m_pFont->lfWeight = weight;
    }
}

void RoiFont::SetItalic(bool italic)
{
    if (m_pFont != nullptr)
    {
        m_pFont->lfItalic = italic ? 1 : 0;
    }
}

void RoiFont::SetColors(COLORREF colour)
{
    m_crCurrent = m_crNormal = m_crHighlight = colour;
}

Lettra RoiFont::XmlSerialize() const
{
    Lettra xml("<Private>\r\n");
    if (m_nFontHeight > 0 && m_pFont != nullptr)
    {
        xml.AppendFormat("<FontFaceName value=\"%s\" />\r\n",
                         RoiDocument::EscapeAttribute(m_pFont->lfFaceName).constBuffer());
        xml.AppendFormat("<FontWeight value=\"%s\" />\r\n",
                         m_pFont->lfWeight == FW_NORMAL ? "NORMAL" : "BOLD");
        xml.AppendFormat("<FontHeight value=\"%d\" />\r\n", std::abs(m_nFontHeight));
        if (m_pFont->lfItalic != 0)
        {
            xml += "<Italic value=\"1\" />\r\n";
        }
    }
    xml.AppendFormat("<Color R=\"%d\" G=\"%d\" B=\"%d\" />\r\n", GetRValue(m_crNormal),
                     GetGValue(m_crNormal), GetBValue(m_crNormal));
    xml.AppendFormat("<Shadow value=\"%d\" />\r\n", m_bShadow != 0 ? 1 : 0);
    xml += "</Private>\r\n";
    return xml;
}

bool RoiFont::XmlDeserialize(const char* xml)
{
    DMarkup document;
    if (xml == nullptr || !document.SetDoc(xml) || !document.FindElem() || !document.IntoElem())
    {
        return false;
    }
    // Each element is looked for from the first child, so their order
    // does not matter.
    auto find = [&document](const char* name)
    {
        document.ResetMainPos();
        return document.FindElem(name);
    };
    int value = 0;
    const Lettra face = find("FontFaceName") ? document.GetAttrib("value") : Lettra();
    const Lettra weight = find("FontWeight") ? document.GetAttrib("value") : Lettra();
    if (find("FontHeight") && RoiDocument::ParseInt(document.GetAttrib("value"), value))
    {
        SetFontHeight(value);
    }
    SetFontFace(face);
    if (!weight.IsEmpty())
    {
        SetFontWeight(weight.CompareNoCase("NORMAL") == 0 ? FW_NORMAL : FW_BOLD);
    }
    if (find("Italic") && RoiDocument::ParseInt(document.GetAttrib("value"), value))
    {
        SetItalic(value != 0);
    }
    int red = 0;
    int green = 0;
    int blue = 0;
    if (find("Color") && RoiDocument::ParseInt(document.GetAttrib("R"), red) &&
        RoiDocument::ParseInt(document.GetAttrib("G"), green) &&
        RoiDocument::ParseInt(document.GetAttrib("B"), blue))
    {
        m_crNormal = m_crCurrent = RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
    }
    if (find("Shadow") && RoiDocument::ParseInt(document.GetAttrib("value"), value))
    {
        m_bShadow = value != 0 ? 1 : 0;
    }
    return true;
}
