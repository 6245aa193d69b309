#include "XmlSetting.h"

#include "DMarkup.h"

VIEWER_NAMESPACE_BEGIN

XmlSetting::~XmlSetting()
{
    delete m_pDoc;
}

bool XmlSetting::Load(const char* path)
{
    if (m_pDoc != nullptr)
    {
        return true;
    }
    try
    {
        m_pDoc = new DMarkup;
        return path != nullptr && m_pDoc->Load(path);
    }
    catch (...)
    {
        viewer_log::_error("Enter XmlSetting::Load, cannot read %s", path != nullptr ? path : "");
        return false;
    }
}

bool XmlSetting::SetDoc(const char* text)
{
    try
    {
        if (m_pDoc == nullptr)
        {
            m_pDoc = new DMarkup;
        }
        return m_pDoc->SetDoc(text != nullptr ? text : "");
    }
    catch (...)
    {
        viewer_log::_error("Enter XmlSetting::SetDoc, invalid text");
        return false;
    }
}

bool XmlSetting::GotoPath(const char* path)
{
    return m_pDoc != nullptr && path != nullptr && m_pDoc->GotoPath(path);
}

Lettra XmlSetting::GetValue(const char* name, const char* absent)
{
    return GetAttribute(name, "value", absent);
}

Lettra XmlSetting::GetAttribute(const char* name, const char* attribute, const char* absent)
{
    if (m_pDoc == nullptr)
    {
        return Lettra();
    }
    if (name == nullptr || name[0] == 0)
    {
        return Lettra(absent);
    }
    m_pDoc->ResetMainPos();
    if (!m_pDoc->FindElem(name))
    {
        return Lettra(absent);
    }
    return m_pDoc->GetAttrib(attribute);
}

Lettra XmlSetting::GetDefineValue(const char* name)
{
    if (m_pDoc == nullptr || name == nullptr || name[0] == 0 || !GotoPath("/AppSetting/Define/"))
    {
        return Lettra();
    }
    return GetValue(name, "");
}

VIEWER_NAMESPACE_END
