// XmlMenuBuilder: turns a subtree of the resource XML into an owner-drawn
// menu. Items name their commands, resolved through "/AppSetting/Define/";
// a PROPERTY element gives the colours, the icon column's width and the
// font size. Element names are compared upper-cased at the top level:
//
//   <PROPERTY> IconBackgroundColor, TextBackgroundColor, TextColor,
//       DisableTextColor, SelectedBackgroundColor, SelectedTextColor
//       (attributes R, G, B), IconWidth and Font (attribute value)
//   <POPUP caption="..."> items, SEPARATORs and nested POPUPs
//   <MENUITEM name="..." command="..."/>; name="SEPARATOR" inside a POPUP
//
// The menus a build makes belong to the builder until its next build or
// its end.
#pragma once

#include "AfxWin.h"
#include "CXPMenuCH.h"
#include "QuillonExport.h"
#include "XmlSetting.h"

#include <memory>
#include <vector>

class DMarkup;

class QUILLON_API XmlMenuBuilder : public XmlSetting
{
public:
    // Elements read on one level at most.
    static constexpr int MaxElements = 1000;
    static constexpr int DefaultIconWidth = 20;
    static constexpr int DefaultFontSize = 12;
    static constexpr const char* FontFace = "Arial";
    static constexpr const char* DefinePath = "/AppSetting/Define/";

    XmlMenuBuilder() = default;
    ~XmlMenuBuilder();

    // The defines and the menus from one file or one text.
    bool Load(const char* path);
    bool SetDoc(const char* text);

    // The menu at the path, styled by the PROPERTY at the property path;
    // null without a document or when the path is missing.
    CXPMenuCH* BuildMenu(const char* propertyPath, const char* menuPath);

    int GetIconWidth() const { return m_nIconWidth; }
    int GetFontSize() const { return m_nFontSize; }
    CFont* GetFont() { return &m_Font; }

private:
    void ReadProperties(DMarkup& doc);
    void ReadColor(DMarkup& doc, const char* name, COLORREF* color);
    void CreateFont();
    void ApplyStyle(CXPMenuCH* menu);
    // The POPUP at the reader's position, appended to the parent.
    void BuildPopup(DMarkup& doc, CXPMenuCH* parent);
    // The run of MENUITEMs from the reader's position.
    void AppendMenuItems(DMarkup& doc, CXPMenuCH* menu);
    // The label and command of an item; with fallback, an item written
    // name first and command second whose define gives 0 takes the
    // command text as the number.
    void ReadItem(DMarkup& doc, bool fallback, CString* label, UINT* command);
    UINT ResolveCommand(const char* name);
    template <class Menu> Menu* Keep(std::unique_ptr<Menu> menu);
    void ForgetMenus();

    XmlSetting m_Defines;
    std::vector<std::unique_ptr<CXPMenuCH>> m_Menus;
    int m_nIconWidth = DefaultIconWidth;
    MenuColors m_Colors;
    int m_nFontSize = DefaultFontSize;
    CFont m_Font;
    CBrush m_Background;
};
