// The XML-defined owner-drawn menus: the menus, items, commands and colours
// a builder makes of the XML forms, the records behind the items, and a
// tracked popup: the owner-draw messages in their order, the picture, and
// the command chosen by keys.
#include "XmlMenuBuilder.h"
#include "../../controls/ControlTestSupport.h"
#include "CImageView.h"
#include "CXPMenuCH.h"
#include "QuillonLibrary.h"
#include "ResourceRegistry.h"
#include "WinModule.h"
#include "WinResource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

constexpr UINT BitmapId = 5301;
constexpr COLORREF BitmapColor = RGB(0, 200, 0);
constexpr COLORREF SelectedBackground = RGB(198, 211, 239);
constexpr COLORREF SelectedText = RGB(0, 0, 160);

// A 16 x 16 bitmap of one colour among the program's resources.
void RegisterBitmap()
{
    static const std::vector<std::uint8_t> file = BitmapFileOf(
        CMenuCH::BitmapSize, CMenuCH::BitmapSize, [](int, int) { return BitmapColor; });
    static const ResourceDataEntry data[] = {
        {RT_BITMAP, MAKEINTRESOURCE(BitmapId), file.data(), DWORD(file.size())}};
    static const bool done =
        (RegisterModuleResources(GetModuleHandleA(nullptr), ResourceTables{.data = data}), true);
    static_cast<void>(done);
}

const char* const MenuXml = R"(<AppSetting>
  <Define>
    <Copy value="2256"/>
    <Fit value="2502"/>
    <Sort value="4921"/>
  </Define>
  <Menus>
    <Property>
      <IconWidth value="24"/>
      <Font value="10"/>
      <SelectedBackgroundColor R="198" G="211" B="239"/>
      <SelectedTextColor R="0" G="0" B="160"/>
    </Property>
    <Image>
      <POPUP caption="Image">
        <MENUITEM name="Copy Image" command="Copy"/>
        <MENUITEM command="Fit" name="Fit in Window"/>
        <MENUITEM name="SEPARATOR"/>
        <MENUITEM name="Raw Number" command="4711"/>
        <POPUP caption="Sort">
          <MENUITEM name="By Image Number" command="Sort"/>
        </POPUP>
      </POPUP>
      <MENUITEM name="Top Defined" command="Copy"/>
      <MENUITEM name="Top Undefined" command="4711"/>
    </Image>
  </Menus>
</AppSetting>)";

const MenuItemRecord* RecordAt(CMenu* menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    menu->GetMenuItemInfo(position, &info, TRUE);
    return reinterpret_cast<const MenuItemRecord*>(info.dwItemData);
}

std::string LabelAt(CMenu* menu, int position)
{
    const MenuItemRecord* record = RecordAt(menu, position);
    return record != nullptr ? std::string(record->text) : "<none>";
}

UINT TypeAt(CMenu* menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    menu->GetMenuItemInfo(position, &info, TRUE);
    return info.fType;
}

TEST(XmlMenuBuilder, BuildsOwnerDrawnMenusOfTheXmlForms)
{
    XmlMenuBuilder builder;
    ASSERT_TRUE(builder.SetDoc(MenuXml));
    CXPMenuCH* top = builder.BuildMenu("/AppSetting/Menus/Property/", "/AppSetting/Menus/Image");
    ASSERT_NE(top, nullptr);
    EXPECT_STREQ(top->GetRuntimeClass()->m_lpszClassName, "CXPMenuCH");
    ASSERT_EQ(top->GetMenuItemCount(), 3u);
    EXPECT_EQ(LabelAt(top, 0), "Image");
    EXPECT_EQ(LabelAt(top, 1), "Top Defined");
    EXPECT_EQ(top->GetMenuItemID(1), 2256u);
    EXPECT_EQ(LabelAt(top, 2), "Top Undefined");
    EXPECT_EQ(top->GetMenuItemID(2), 0u) << "no define, no fall-back at the top level";

    auto* popup = dynamic_cast<CMenuCH*>(top->GetSubMenu(0));
    ASSERT_NE(popup, nullptr);
    EXPECT_STREQ(popup->GetRuntimeClass()->m_lpszClassName, "CMenuCH");
    EXPECT_EQ(popup->GetIconWidth(), 24);
    ASSERT_EQ(popup->GetMenuItemCount(), 5u);
    const std::vector<std::pair<std::string, UINT>> items = {
        {"Copy Image", 2256}, {"Fit in Window", 2502}, {"", 0}, {"Raw Number", 4711}};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(LabelAt(popup, i), items[i].first) << i;
        EXPECT_EQ(popup->GetMenuItemID(i), items[i].second) << i;
        EXPECT_TRUE(TypeAt(popup, i) & MFT_OWNERDRAW) << i;
    }
    EXPECT_TRUE(TypeAt(popup, 2) & MFT_SEPARATOR);
    EXPECT_EQ(LabelAt(popup, 4), "Sort");
    CMenu* sort = popup->GetSubMenu(4);
    ASSERT_NE(dynamic_cast<CMenuCH*>(sort), nullptr);
    EXPECT_EQ(LabelAt(sort, 0), "By Image Number");
    EXPECT_EQ(sort->GetMenuItemID(0), 4921u);

    EXPECT_EQ(popup->GetColors().selectedBackground, SelectedBackground);
    EXPECT_EQ(popup->GetColors().selectedText, SelectedText);
    EXPECT_EQ(popup->GetFont(), builder.GetFont());
    EXPECT_EQ(builder.GetFontSize(), 10);
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    ASSERT_TRUE(top->GetMenuInfo(&info));
    EXPECT_NE(info.hbrBack, nullptr);
}

TEST(XmlMenuBuilder, PropertyChangesOnlyTheColoursItNames)
{
    XmlMenuBuilder builder;
    ASSERT_TRUE(builder.SetDoc(R"(<AppSetting><P><Property><TextColor R="255" G="0" B="0"/>
        </Property></P><M><POPUP caption="A"><MENUITEM name="B" command="7"/></POPUP></M>
        </AppSetting>)"));
    CXPMenuCH* top = builder.BuildMenu("/AppSetting/P/Property/", "/AppSetting/M");
    ASSERT_NE(top, nullptr);
    const MenuColors& colors = top->GetColors();
    EXPECT_EQ(colors.text, RGB(255, 0, 0));
    EXPECT_EQ(colors.iconBackground, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(colors.textBackground, GetSysColor(COLOR_MENU));
    EXPECT_EQ(colors.disabledText, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(colors.selectedBackground, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(colors.selectedText, GetSysColor(COLOR_MENUTEXT));
    EXPECT_EQ(builder.GetIconWidth(), XmlMenuBuilder::DefaultIconWidth);
    EXPECT_EQ(top->GetSubMenu(0)->GetMenuItemID(0), 7u) << "no define: the number itself";
}

TEST(XmlMenuBuilder, ACommandNamingNoDefineInAPopupIsNoCommand)
{
    XmlMenuBuilder builder;
    ASSERT_TRUE(builder.SetDoc(R"(<AppSetting><M><POPUP caption="A">
        <MENUITEM name="Delete" command="DELETE"/><MENUITEM name="Seven" command="7"/>
        <MENUITEM name="Mixed" command="12AB"/></POPUP></M></AppSetting>)"));
    CXPMenuCH* top = builder.BuildMenu("/AppSetting/P/Property/", "/AppSetting/M");
    ASSERT_NE(top, nullptr);
    CMenu* popup = top->GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetMenuItemID(0), 0u);
    EXPECT_EQ(popup->GetMenuItemID(1), 7u);
    EXPECT_EQ(popup->GetMenuItemID(2), 0u);
}

TEST(XmlMenuBuilder, PopupKeepsTheFirstThousandItemsAndEndsAtAnItemWithoutAttributes)
{
    std::string xml = "<AppSetting><M><POPUP caption=\"Many\">";
    for (int i = 0; i < 1200; ++i)
    {
        xml += "<MENUITEM name=\"I" + std::to_string(i) + "\" command=\"" + std::to_string(i + 1) +
               "\"/>";
    }
    xml += "</POPUP><POPUP caption=\"Short\"><MENUITEM name=\"One\" command=\"1\"/><MENUITEM/>"
           "<MENUITEM name=\"Lost\" command=\"2\"/></POPUP></M></AppSetting>";
    XmlMenuBuilder builder;
    ASSERT_TRUE(builder.SetDoc(xml.c_str()));
    CXPMenuCH* top = builder.BuildMenu(nullptr, "/AppSetting/M");
    ASSERT_NE(top, nullptr);
    CMenu* many = top->GetSubMenu(0);
    ASSERT_EQ(many->GetMenuItemCount(), 1000u);
    EXPECT_EQ(LabelAt(many, 999), "I999");
    EXPECT_EQ(top->GetSubMenu(1)->GetMenuItemCount(), 1u);
}

TEST(XmlMenuBuilder, MissingDocumentOrPathBuildsNothing)
{
    XmlMenuBuilder empty;
    EXPECT_EQ(empty.BuildMenu("/AppSetting/Menus/Property/", "/AppSetting/Menus/Image"), nullptr);
    XmlMenuBuilder builder;
    ASSERT_TRUE(builder.SetDoc(MenuXml));
    EXPECT_EQ(builder.BuildMenu("/AppSetting/Menus/Property/", "/AppSetting/Menus/None"), nullptr);
}

TEST(XmlMenuBuilder, TextWithATabSplitsIntoLabelAndAccelerator)
{
    CMenuCH menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, 1, "Copy\tCtrl+C\tmore", 0, 77));
    ASSERT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, 2, nullptr));
    const MenuItemRecord* record = RecordAt(&menu, 1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::string(record->text), "Copy");
    EXPECT_STREQ(record->accelerator, "Ctrl+C\tmore");
    EXPECT_EQ(record->itemData, 77u);
    EXPECT_EQ(RecordAt(&menu, 0)->accelerator, nullptr);
    EXPECT_EQ(std::string(RecordAt(&menu, 0)->text), "");
    EXPECT_EQ(menu.GetRecordCount(), 2);

    CMenuCH other;
    menu.SetIconWidth(31);
    menu.SetTextColor(RGB(1, 2, 3));
    menu.CopyStyleTo(&other);
    EXPECT_EQ(other.GetIconWidth(), 31);
    EXPECT_EQ(other.GetColors().text, RGB(1, 2, 3));
}

// The popup's owner, a plain window as the panes are: it writes down the
// owner-draw messages (item by label) and the commands it gets, and lets
// the menus draw.
class CMenuOwner : public CWnd
{
public:
    std::vector<std::string> events;
    std::vector<UINT> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MEASUREITEM)
        {
            const auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            events.push_back("measure " + Label(measure->itemData));
        }
        else if (message == WM_DRAWITEM)
        {
            const auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            std::string line = (draw->itemAction & ODA_SELECT) != 0 ? "select " : "draw ";
            line += Label(draw->itemData);
            line += (draw->itemState & ODS_SELECTED) != 0 ? " selected" : "";
            events.push_back(line);
        }
        else if (message == WM_COMMAND)
        {
            commands.push_back(LOWORD(wParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }

private:
    static std::string Label(ULONG_PTR data)
    {
        const auto* record = reinterpret_cast<const MenuItemRecord*>(data);
        return record == nullptr ? "?" : record->text.IsEmpty() ? "-" : std::string(record->text);
    }
};

TEST(XmlMenuBuilder, TrackedPopupDrawsItsItemsAndSendsTheChosenCommand)
{
    RegisterBitmap();
    CFailOnBlockHarness harness;
    auto* owner = new CMenuOwner;
    ASSERT_TRUE(owner->CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE,
                                CRect(50, 50, 600, 500), nullptr, 0));
    XmlMenuBuilder builder;
    ASSERT_TRUE(builder.SetDoc(MenuXml));
    CXPMenuCH* top = builder.BuildMenu("/AppSetting/Menus/Property/", "/AppSetting/Menus/Image");
    ASSERT_NE(top, nullptr);
    auto* popup = static_cast<CMenuCH*>(top->GetSubMenu(0));
    popup->CheckMenuItem(2256, MF_BYCOMMAND | MF_CHECKED);
    ASSERT_TRUE(popup->AppendMenu(MF_STRING, 2600, "Bitmap\tCtrl+B", BitmapId, 0));

    WindowPicture picture;
    harness.Script()
        .KeyPress(VK_DOWN)
        .KeyPress(VK_DOWN)
        .Do(KeepMenuPicture("xml-menu", picture))
        .KeyPress(VK_RETURN);
    ASSERT_TRUE(popup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_VERTICAL, 120, 120, owner));
    harness.PumpPending();
    EXPECT_EQ(owner->commands, std::vector<UINT>{2502});

    const std::vector<std::string> expected = {"measure Copy Image",
                                               "measure Fit in Window",
                                               "measure -",
                                               "measure Raw Number",
                                               "measure Sort",
                                               "measure Bitmap",
                                               "draw Copy Image",
                                               "draw Fit in Window",
                                               "draw -",
                                               "draw Raw Number",
                                               "draw Sort",
                                               "draw Bitmap",
                                               "select Copy Image selected",
                                               "select Copy Image",
                                               "select Fit in Window selected"};
    EXPECT_EQ(owner->events, expected);

    ASSERT_GT(picture.nHeight, 60);
    const CRect all(0, 0, picture.nWidth, picture.nHeight);
    EXPECT_GE(CountPixels(picture, all, BitmapColor), 16 * 16) << "the bitmap in its cell";
    EXPECT_GT(CountPixels(picture, all, CXPMenuCH::FrameColor), 100)
        << "frames of the selected and the checked item";
    EXPECT_GT(CountPixels(picture, all, SelectedBackground), 500);
    EXPECT_GE(CountPixels(picture, all, SelectedText), 7 * 3) << "the tick at least";
    owner->DestroyWindow();
}

} // namespace

namespace
{

// Every command of a menu and its submenus resolves to a number.
void ExpectCommands(CMenu* menu, const std::string& path)
{
    for (UINT i = 0; i < menu->GetMenuItemCount(); ++i)
    {
        if (CMenu* sub = menu->GetSubMenu(static_cast<int>(i)))
        {
            ExpectCommands(sub, path);
        }
        else if ((TypeAt(menu, static_cast<int>(i)) & MFT_SEPARATOR) == 0)
        {
            EXPECT_NE(menu->GetMenuItemID(static_cast<int>(i)), 0u) << path << " " << i;
        }
    }
}

TEST(XmlMenuBuilder, TheShippedResourceHoldsAPopupOfEveryKind)
{
    XmlMenuBuilder builder;
    ASSERT_TRUE(builder.Load(GetResourceXmlPath()));
    for (const char* kind : {"Modality/DEFAULT", "ROI", "SHUTTER", "PANEROI", "EMPTY"})
    {
        const std::string path = std::string(CImageView::PopupMenuPath) + kind;
        CXPMenuCH* top = builder.BuildMenu(CImageView::PopupPropertyPath, path.c_str());
        ASSERT_NE(top, nullptr) << path;
        auto* popup = dynamic_cast<CMenuCH*>(top->GetSubMenu(0));
        ASSERT_NE(popup, nullptr) << path;
        EXPECT_GT(popup->GetMenuItemCount(), 0u) << path;
        ExpectCommands(popup, path);
    }
}

} // namespace
