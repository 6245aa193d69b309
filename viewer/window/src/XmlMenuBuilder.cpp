#include "XmlMenuBuilder.h"

#include "CXPMenuCH.h"
#include "DMarkup.h"
#include "PaneFont.h"

namespace
{

Lettra UpperTagName(const DMarkup& doc)
{
    Lettra name = doc.GetTagName();
    name.MakeUpper();
    return name;
}

} // namespace

XmlMenuBuilder::~XmlMenuBuilder()
{
    ForgetMenus();
}

bool XmlMenuBuilder::Load(const char* path)
{
    if (m_Defines.Load(path))
    {
        m_Defines.GotoPath(DefinePath);
    }
    return XmlSetting::Load(path);
}

bool XmlMenuBuilder::SetDoc(const char* text)
{
    if (m_Defines.SetDoc(text))
    {
        m_Defines.GotoPath(DefinePath);
    }
    return XmlSetting::SetDoc(text);
}

// The top menu goes first and takes its submenus' handles with it.
void XmlMenuBuilder::ForgetMenus()
{
    m_Menus.clear();
}

template <class Menu> Menu* XmlMenuBuilder::Keep(std::unique_ptr<Menu> menu)
{
    Menu* kept = menu.get();
    m_Menus.push_back(std::move(menu));
    return kept;
}

CXPMenuCH* XmlMenuBuilder::BuildMenu(const char* propertyPath, const char* menuPath)
{
    ForgetMenus();
    DMarkup* document = GetDocument();
    if (document == nullptr)
    {
        return nullptr;
    }
    DMarkup properties(*document);
    if (propertyPath != nullptr && properties.GotoPath(propertyPath))
    {
        ReadProperties(properties);
    }
    CreateFont();
    if (menuPath == nullptr || !document->GotoPath(menuPath))
    {
        return nullptr;
    }
    auto created = std::make_unique<CXPMenuCH>();
    created->CreateMenu();
    CXPMenuCH* top = Keep(std::move(created));
    for (int count = 0; count < MaxElements;)
    {
        const Lettra name = UpperTagName(*document);
        if (name.IsEmpty())
        {
            break;
        }
        if (name == "MENUITEM")
        {
            // The run leaves the reader on the element after it.
            AppendMenuItems(*document, top);
            ++count;
            continue;
        }
        if (name == "PROPERTY")
        {
            document->IntoElem();
            ReadProperties(*document);
            document->OutOfElem();
        }
        else if (name == "POPUP")
        {
            BuildPopup(*document, top);
        }
        ++count;
        if (!document->Next())
        {
            break;
        }
    }
    ApplyStyle(top);
    m_Background.DeleteObject();
    m_Background.CreateSolidBrush(m_Colors.textBackground);
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = static_cast<HBRUSH>(m_Background.m_hObject);
    top->SetMenuInfo(&info);
    return top;
}

void XmlMenuBuilder::ReadColor(DMarkup& doc, const char* name, COLORREF* color)
{
    doc.ResetMainPos();
    if (doc.FindElem(name))
    {
        *color = RGB(doc.GetAttrib("R").Int() & 0xFF, doc.GetAttrib("G").Int() & 0xFF,
                     doc.GetAttrib("B").Int() & 0xFF);
    }
}

void XmlMenuBuilder::ReadProperties(DMarkup& doc)
{
    ReadColor(doc, "IconBackgroundColor", &m_Colors.iconBackground);
    ReadColor(doc, "TextBackgroundColor", &m_Colors.textBackground);
    ReadColor(doc, "TextColor", &m_Colors.text);
    ReadColor(doc, "DisableTextColor", &m_Colors.disabledText);
    ReadColor(doc, "SelectedBackgroundColor", &m_Colors.selectedBackground);
    ReadColor(doc, "SelectedTextColor", &m_Colors.selectedText);
    doc.ResetMainPos();
    if (doc.FindElem("IconWidth"))
    {
        m_nIconWidth = doc.GetAttrib("value").Int();
    }
    doc.ResetMainPos();
    if (doc.FindElem("Font"))
    {
        m_nFontSize = doc.GetAttrib("value").Int();
        CreateFont();
    }
}

void XmlMenuBuilder::CreateFont()
{
    const LOGFONTA font = MakeLogFont(m_nFontSize, FontFace);
    m_Font.DeleteObject();
    m_Font.CreateFontIndirect(&font);
}

void XmlMenuBuilder::ApplyStyle(CXPMenuCH* menu)
{
    menu->SetColors(m_Colors);
    menu->SetFont(&m_Font);
}

void XmlMenuBuilder::BuildPopup(DMarkup& doc, CXPMenuCH* parent)
{
    const Lettra caption = doc.GetAttrib(doc.GetAttribName(0));
    auto created = std::make_unique<CMenuCH>();
    created->CreatePopupMenu();
    created->SetIconWidth(m_nIconWidth);
    ApplyStyle(created.get());
    CMenuCH* popup = Keep(std::move(created));
    parent->AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup->m_hMenu), caption);
    doc.IntoElem();
    for (int count = 0; count < MaxElements && doc.Next(); ++count)
    {
        if (doc.GetTagName() == "POPUP")
        {
            BuildPopup(doc, popup);
            continue;
        }
        const Lettra first = doc.GetAttribName(0);
        if (first.IsEmpty() || doc.GetAttrib(first).IsEmpty())
        {
            break;
        }
        if (doc.GetAttrib("name") == "SEPARATOR")
        {
            popup->AppendMenu(MF_SEPARATOR);
            continue;
        }
        CString label;
        UINT command = 0;
        ReadItem(doc, true, &label, &command);
        popup->AppendMenu(MF_STRING, command, label);
    }
    doc.OutOfElem();
}

void XmlMenuBuilder::AppendMenuItems(DMarkup& doc, CXPMenuCH* menu)
{
    for (int count = 0; count < MaxElements && UpperTagName(doc) == "MENUITEM"; ++count)
    {
        CString label;
        UINT command = 0;
        ReadItem(doc, false, &label, &command);
        menu->AppendMenu(MF_STRING, command, label);
        if (!doc.Next())
        {
            break;
        }
    }
}

void XmlMenuBuilder::ReadItem(DMarkup& doc, bool fallback, CString* label, UINT* command)
{
    const Lettra first = doc.GetAttribName(0);
    const Lettra second = doc.GetAttribName(1);
    if (first == "name" && second == "command")
    {
        const Lettra name = doc.GetAttrib(second);
        *label = static_cast<const char*>(doc.GetAttrib(first));
        *command = ResolveCommand(name);
        // Only a number stands for itself: a name without a define is no
        // command.
        if (fallback && *command == 0 && !name.IsEmpty() && name.IsDigit())
        {
            *command = static_cast<UINT>(name.Int());
        }
        return;
    }
    *command = ResolveCommand(doc.GetAttrib(first));
    *label = static_cast<const char*>(doc.GetAttrib(second));
}

UINT XmlMenuBuilder::ResolveCommand(const char* name)
{
    return static_cast<UINT>(m_Defines.GetDefineValue(name).Int());
}
