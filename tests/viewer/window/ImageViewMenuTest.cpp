// The popup menus of the image view: a right click on a pane opens the menu
// of its kind from the resource XML with the view's series, and the entry
// chosen by keys acts through the pane, the view or its viewer window.
#include "../../controls/ControlTestSupport.h"
#include "CXPMenuCH.h"
#include "ConfigXmlText.h"
#include "ImageViewTestSupport.h"
#include "MedImage.h"

#include "WinClipboard.h"

#include <algorithm>
#include <functional>

namespace
{

const char* const ResourceXml = R"(<AppSetting>
  <Define>
    <CopyImage value="2256"/>
    <SendToFilm value="1020"/>
    <SortByImageNo value="4921"/>
  </Define>
  <PopupMenu>
    <Property>
      <SelectedBackgroundColor R="198" G="211" B="239"/>
    </Property>
    <Modality>
      <DEFAULT><POPUP caption="Image"><MENUITEM name="Default Image" command="CopyImage"/>
      </POPUP></DEFAULT>
      <CT><POPUP caption="CT">
        <MENUITEM name="Copy Image" command="CopyImage"/>
        <MENUITEM name="Send to Film" command="SendToFilm"/>
        <MENUITEM name="SEPARATOR"/>
        <MENUITEM name="Sort by Number" command="SortByImageNo"/>
      </POPUP></CT>
    </Modality>
    <ROI><POPUP caption="ROI"><MENUITEM name="Annotation" command="CopyImage"/></POPUP></ROI>
    <SHUTTER><POPUP caption="S"><MENUITEM name="Shutter" command="CopyImage"/></POPUP></SHUTTER>
    <PANEROI><POPUP caption="P"><MENUITEM name="Pane Annotation" command="CopyImage"/>
    </POPUP></PANEROI>
    <EMPTY><POPUP caption="View"><MENUITEM name="Empty" command="SortByImageNo"/></POPUP></EMPTY>
  </PopupMenu>
</AppSetting>)";

// The resource XML with one element named otherwise.
std::string ResourceRenaming(const std::string& element, const std::string& name)
{
    std::string xml = ResourceXml;
    for (const std::string& tag : {"<" + element + ">", "</" + element + ">"})
    {
        const std::string renamed = tag.substr(0, tag.size() - element.size() - 1) + name + ">";
        xml.replace(xml.find(tag), tag.size(), renamed);
    }
    return xml;
}

// One file per series from the corpus CT: series s is number s + 1,
// described "Series s", of the first study before split and of a second
// one from there on.
std::vector<std::string> WriteSeries(const CTempFolder& folder, int count, int split)
{
    DICOMImage image;
    if (image.ReadFile(CorpusPath("pydicom/test_files/CT_small.dcm").c_str()) == 0)
    {
        return {};
    }
    std::vector<std::string> paths;
    for (int s = 0; s < count; ++s)
    {
        const std::string root = "1.2.826.0.1.3680043.2.1125.9.";
        image.Add(0x0020, 0x000D, UID((root + (s < split ? "1" : "2")).c_str()));
        image.Add(0x0020, 0x000E, UID((root + "3." + std::to_string(s)).c_str()));
        image.Add(0x0008, 0x0018, UID((root + "4." + std::to_string(s)).c_str()));
        image.Add(0x0020, 0x0011, std::to_string(s + 1).c_str());
        image.Add(0x0008, 0x103E, ("Series " + std::to_string(s)).c_str());
        image.BuildMetaHead();
        paths.push_back(folder.GetPath("series" + std::to_string(s) + ".dcm"));
        if (image.WriteFile(paths.back().c_str(), 1) == 0)
        {
            return {};
        }
    }
    return paths;
}

// The entries of a menu as text: labels, "-" for separators, " *" after a
// checked entry, a submenu's entries in brackets after its label.
std::string Describe(HMENU menu)
{
    std::string text;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
    {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
        ::GetMenuItemInfoA(menu, i, TRUE, &info);
        const auto* record = reinterpret_cast<const MenuItemRecord*>(info.dwItemData);
        text += i > 0 ? "|" : "";
        if ((info.fType & MFT_SEPARATOR) != 0)
        {
            text += "-";
            continue;
        }
        text += record != nullptr ? std::string(record->text) : "?";
        text += (info.fState & MFS_CHECKED) != 0 ? " *" : "";
        if (info.hSubMenu != nullptr)
        {
            text += "[" + Describe(info.hSubMenu) + "]";
        }
    }
    return text;
}

std::string Title(int series)
{
    return (series < 10 ? " " : "") + std::to_string(series) +
           ":[1] CompressedSamples^CT1: " + std::to_string(series + 1) + ": Series " +
           std::to_string(series);
}

// A view that takes the film command in its message map, as the viewer
// window's views do.
class CFilmView : public CImageView
{
public:
    int films = 0;

protected:
    afx_msg void OnFilm() { ++films; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFilmView, CImageView)
ON_COMMAND(1020, OnFilm)
END_MESSAGE_MAP()

class ImageViewMenuTest : public ImageViewTest
{
protected:
    void SetUp() override
    {
        ImageViewTest::SetUp();
        if (!std::filesystem::exists(SUITE_CORPUS_DIR))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        m_savedXml = GetResourceXml();
        SetResourceXml(ResourceXml);
        m_pView->SetLayout("STANDARD\\1,1");
    }
    void TearDown() override
    {
        SetResourceXml(m_savedXml);
        ImageViewTest::TearDown();
    }

    void OpenSeries(int count, int split = 100)
    {
        const std::vector<std::string> paths = WriteSeries(m_folder, count, split);
        ASSERT_EQ(paths.size(), std::size_t(count));
        OpenFiles(paths);
        ASSERT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), count);
        ASSERT_NE(m_pView->GetHotPaneWindow(), nullptr);
    }

    POINT PaneCentre() const
    {
        CRect rect;
        m_pView->GetHotPaneWindow()->GetWindowRect(&rect);
        return rect.CenterPoint();
    }

    // Right-clicks the hot pane; the popup shown is described, then the
    // keys are pressed in it, the step given running before the last one.
    std::string RightClick(
        const std::vector<UINT>& keys, const std::function<void()>& beforeLastKey = [] {})
    {
        std::string shown;
        const POINT at = PaneCentre();
        // Not a double click with the click before.
        m_harness.AdvanceClock(1000);
        m_harness.Script()
            .MouseUp(enMouseButton::Right, at)
            .Do([&] { shown = Describe(AfxGetTrackingMenu()); });
        for (std::size_t i = 0; i < keys.size(); ++i)
        {
            if (i + 1 == keys.size())
            {
                m_harness.Script().Do(beforeLastKey);
            }
            m_harness.Script().KeyPress(keys[i]);
        }
        m_harness.MouseMove(at);
        m_harness.MouseDown(enMouseButton::Right, at);
        m_harness.PumpPending();
        return shown;
    }

    // The popup the view shows for the command; Esc closes it.
    std::string PopupFor(UINT command)
    {
        std::string shown;
        m_harness.Script().Do([&] { shown = Describe(AfxGetTrackingMenu()); }).KeyPress(VK_ESCAPE);
        m_pView->SendMessage(WM_COMMAND, command, 0);
        m_harness.PumpPending();
        return shown;
    }

    Lettra m_savedXml;
};

} // namespace

TEST_F(ImageViewMenuTest, ImagePopupListsTheSeriesAndGoesToTheOneChosen)
{
    OpenSeries(3);
    m_pView->ShowSeriesAt(1);
    ASSERT_EQ(m_pView->IndexOfHotSeries(), 1);
    WindowPicture picture;
    const std::string shown = RightClick({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
                                         KeepMenuPicture("image-view-popup", picture));
    EXPECT_EQ(shown, Title(0) + "|" + Title(1) + " *|" + Title(2) +
                         "|-|Copy Image|Send to Film|-|Sort by Number");
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 2) << "command 6002 went from the pane to the view";
    EXPECT_GT(picture.nHeight, 8 * 20);
}

TEST_F(ImageViewMenuTest, CommandsOfThePopupActOnThePaneAndTheViewersWindow)
{
    OpenSeries(1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    // Separators are passed over by the keys.
    RightClick({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB)) << "Copy Image: the pane's own command";

    m_pViewer->commands.clear();
    RightClick({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_EQ(m_pViewer->commands.size(), 1u);
    EXPECT_EQ(LOWORD(m_pViewer->commands[0].first), 1020u)
        << "the film command passes the pane and the view to the viewer window";
}

TEST_F(ImageViewMenuTest, AFilmCommandOfThePopupReachesTheViewsMessageMap)
{
    auto* view = new CFilmView;
    ASSERT_TRUE(view->Create(nullptr, "Film", WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 600),
                             m_pViewer, 3, nullptr));
    view->SetOwner(m_pViewer);
    view->SendMessage(WM_INITIALUPDATE);
    m_pView->ShowWindow(SW_HIDE);
    m_pView = view;
    m_pView->SetLayout("STANDARD\\1,1");
    OpenSeries(1);
    m_pViewer->commands.clear();
    RightClick({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(view->films, 1);
    EXPECT_TRUE(m_pViewer->commands.empty());
}

TEST_F(ImageViewMenuTest, NineSeriesGoIntoASubmenuAndEightOfTwoStudiesDoNot)
{
    OpenSeries(9);
    std::string series;
    for (int s = 0; s < 9; ++s)
    {
        series += (s > 0 ? "|" : "") + Title(s) + (s == m_pView->IndexOfHotSeries() ? " *" : "");
    }
    WindowPicture picture;
    const std::string shown = RightClick({VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN},
                                         KeepMenuPicture("image-view-series-submenu", picture));
    EXPECT_EQ(shown, "Series[" + series + "]|-|Copy Image|Send to Film|-|Sort by Number");
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 3);
    EXPECT_GT(picture.nHeight, 9 * 20) << "the submenu on top";
    const std::string again = RightClick({VK_ESCAPE});
    EXPECT_EQ(again.substr(0, 7), "Series[") << "made anew for the next popup";
}

// With more series than the command range holds, the entries end with the
// range: no entry carries the identifier of another command.
TEST_F(ImageViewMenuTest, TheSeriesEntriesEndWithTheirCommandRange)
{
    DICOMImage slice;
    ASSERT_NE(slice.ReadFile(CorpusPath("pydicom/test_files/CT_small.dcm").c_str()), 0);
    constexpr int Series = 1003;
    for (int s = 0; s < Series; ++s)
    {
        // A copy of the elements, held in memory.
        auto* image = new DICOMImage(static_cast<const DICOMVRSet&>(slice));
        image->Add(0x0020, 0x000E,
                   UID(("1.2.826.0.1.3680043.2.1125.9.5." + std::to_string(s)).c_str()));
        image->Add(0x0008, 0x0018,
                   UID(("1.2.826.0.1.3680043.2.1125.9.6." + std::to_string(s)).c_str()));
        auto* show = new ImageShow;
        show->AttachCorvane(Corvane(image), 0);
        ImageLayout& layout = m_pView->GetImageLayout();
        layout.OpenShowAtLayout(show, layout.GetNbOfSeries());
    }
    ASSERT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), Series);
    int entries = 0;
    UINT highest = 0;
    m_harness.Script()
        .Do(
            [&]
            {
                CMenu* series = CMenu::FromHandle(AfxGetTrackingMenu())->GetSubMenu(0);
                ASSERT_NE(series, nullptr);
                for (UINT i = 0; i < series->GetMenuItemCount(); ++i)
                {
                    const UINT id = series->GetMenuItemID(int(i));
                    entries += id != 0 ? 1 : 0;
                    highest = std::max(highest, id);
                }
            })
        .KeyPress(VK_ESCAPE);
    m_pView->SendMessage(WM_COMMAND, 9510, 0);
    m_harness.PumpPending();
    EXPECT_EQ(entries, 1000);
    EXPECT_EQ(highest, CImageView::CmdLastSeries);
}

// The empty title between studies is no series: eight series of two
// studies still go straight into the popup.
TEST_F(ImageViewMenuTest, SeparatorsBetweenStudiesDoNotCountTowardsTheSubmenu)
{
    OpenSeries(8, 4);
    const std::string shown = RightClick({VK_ESCAPE});
    std::string expected;
    for (int s = 0; s < 8; ++s)
    {
        expected += (s == 4  ? "|-|"
                     : s > 0 ? "|"
                             : "") +
                    Title(s) + (s == m_pView->IndexOfHotSeries() ? " *" : "");
    }
    EXPECT_EQ(shown, expected + "|-|Copy Image|Send to Film|-|Sort by Number");
}

TEST_F(ImageViewMenuTest, EachPaneRequestHasItsMenuKind)
{
    OpenSeries(3);
    std::string series;
    for (int s = 0; s < 3; ++s)
    {
        series += Title(s) + (s == m_pView->IndexOfHotSeries() ? " *" : "") + "|";
    }
    series += "-|";
    const struct
    {
        UINT command;
        std::string menu;
    } cases[] = {
        {MedImage::enAnnotationMenu, "Annotation"},
        {MedImage::enShutterMenu, "Shutter"},
        {MedImage::enPaneAnnotationMenu, "Pane Annotation"},
        {MedImage::enEmptyPaneMenu, series + "Empty"},
        {9550, "Empty"},
        {CImageView::CmdLastPopup, "Empty"},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(PopupFor(c.command), c.menu) << c.command;
    }

    std::string shown;
    m_harness.Script().Do([&] { shown = Describe(AfxGetTrackingMenu()); }).KeyPress(VK_ESCAPE);
    m_pView->PopupMenu.Invoke(m_pView, nullptr);
    EXPECT_EQ(shown, series + "Empty") << "no argument: the empty pane's menu";
}

TEST_F(ImageViewMenuTest, ModalityMenuOnlyWhenTheResourceHasIt)
{
    OpenSeries(1);
    SetResourceXml(ResourceRenaming("CT", "MR").c_str());
    EXPECT_EQ(PopupFor(MedImage::enImageMenu), Title(0) + " *|-|Default Image");
}

TEST_F(ImageViewMenuTest, AKindMissingFromTheResourceShowsNothing)
{
    OpenSeries(1);
    SetResourceXml(ResourceRenaming("ROI", "XYZ").c_str());
    m_harness.Script().KeyPress(VK_ESCAPE);
    m_pView->SendMessage(WM_COMMAND, MedImage::enAnnotationMenu, 0);
    EXPECT_FALSE(m_harness.Script().IsDone()) << "no popup waited for a key";
    m_harness.Script().Clear();
}

TEST_F(ImageViewMenuTest, AViewWithoutAHotPaneShowsNothing)
{
    CImageView* view = MakeView(CRect(600, 0, 800, 200));
    ASSERT_EQ(view->GetHotPane(), -1);
    m_harness.Script().KeyPress(VK_ESCAPE);
    view->SendMessage(WM_COMMAND, MedImage::enEmptyPaneMenu, 0);
    EXPECT_FALSE(m_harness.Script().IsDone());
    m_harness.Script().Clear();
}
