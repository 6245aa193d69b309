// A 20-slice series in a 2x2 view: paging, the scroll bar, sorting, the
// blow-up of a pane, and series navigation, checked on what the panes show.
#include "ImageViewTestSupport.h"
#include "PictureDump.h"

#include <algorithm>
#include <numeric>

namespace
{

class ImageViewPagingTest : public ImageViewTest
{
protected:
    void SetUp() override
    {
        ImageViewTest::SetUp();
        if (!std::filesystem::exists(SUITE_CORPUS_DIR))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        // Written and handed over out of order, as a host's search returns them.
        std::vector<int> numbers(20);
        std::iota(numbers.begin(), numbers.end(), 1);
        std::rotate(numbers.begin(), numbers.begin() + 7, numbers.end());
        std::swap(numbers[3], numbers[11]);
        m_order = numbers;
        const std::vector<std::string> paths = WriteSlices(m_folder, numbers);
        ASSERT_EQ(paths.size(), 20u);
        m_pView->SetLayout("STANDARD\\2,2");
        OpenFiles(paths);
    }

    std::vector<int> Numbers(int from) const
    {
        std::vector<int> numbers;
        for (int at = from; at < from + 4; ++at)
        {
            numbers.push_back(at < 20 ? m_order[at] : 0);
        }
        return numbers;
    }

    void Scroll(UINT code, UINT position = 0)
    {
        m_pView->SendMessage(WM_VSCROLL, MAKEWPARAM(code, position), 0);
    }

    std::vector<int> m_order;
};

} // namespace

TEST_F(ImageViewPagingTest, PagesThroughTheSeriesInTheOrderItCame)
{
    EXPECT_EQ(PaneInstances(), Numbers(0));
    EXPECT_EQ(m_pView->GetHotPane(), 0);
    m_pView->PageDown();
    EXPECT_EQ(PaneInstances(), Numbers(4));
    m_pView->LineDown();
    EXPECT_EQ(PaneInstances(), Numbers(6)) << "a line is the two panes of a row";
    m_pView->LastPage();
    EXPECT_EQ(PaneInstances(), Numbers(16));
    m_pView->PageDown();
    EXPECT_EQ(PaneInstances(), Numbers(16)) << "the last image is on the page";
    m_pView->LineDown();
    EXPECT_EQ(PaneInstances(), Numbers(16));
    m_pView->StepPage(-1, true);
    EXPECT_EQ(PaneInstances(), Numbers(15));
    m_pView->PageUp();
    EXPECT_EQ(PaneInstances(), Numbers(11));
    m_pView->FirstPage();
    m_pView->StepPage(-1, true);
    EXPECT_EQ(PaneInstances(), Numbers(0)) << "the first image is on the page";
    m_pView->ImageDown();
    EXPECT_EQ(PaneInstances(), Numbers(1));
    EXPECT_EQ(m_pView->GetFirstShownIndex(), 1);
}

TEST_F(ImageViewPagingTest, TheScrollBarCountsPagesAndStaysInRange)
{
    SCROLLINFO info = ScrollInfo();
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 4) << "ceil(20 / 4) - 1";
    EXPECT_EQ(info.nPage, 1u);
    EXPECT_EQ(info.nPos, 0);
    Scroll(SB_PAGEUP);
    EXPECT_EQ(ScrollInfo().nPos, 0);
    EXPECT_EQ(PaneInstances(), Numbers(0));
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(ScrollInfo().nPos, 1);
    EXPECT_EQ(PaneInstances(), Numbers(4));
    Scroll(SB_THUMBTRACK, 3);
    EXPECT_EQ(PaneInstances(), Numbers(12));
    Scroll(SB_BOTTOM);
    EXPECT_EQ(PaneInstances(), Numbers(16));
    Scroll(SB_PAGEDOWN);
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(ScrollInfo().nPos, 4);
    EXPECT_EQ(PaneInstances(), Numbers(16));
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(ScrollInfo().nPos, 4);
    Scroll(SB_TOP);
    EXPECT_EQ(PaneInstances(), Numbers(0));
    // Selecting an image moves the thumb to its page.
    m_pView->SelectImage(m_pView->GetImageLayout().GetImageAt(9));
    EXPECT_EQ(ScrollInfo().nPos, 2);
}

TEST_F(ImageViewPagingTest, RangesForLongAndShortSeriesAndNoPanes)
{
    struct RangeCase
    {
        const char* format;
        int count;
        int max;
        UINT page;
    };
    for (const RangeCase& c :
         {RangeCase{"STANDARD\\2,2", 10, 2, 1},
          RangeCase{"STANDARD\\2,2", 4, CImageView::FullRangeMax, CImageView::FullRangePage},
          RangeCase{"STANDARD\\3,3", 20, 2, 1},
          // A rejected format leaves the page of the format before.
          RangeCase{"GRID\\2,2", 20, 2, 1}})
    {
        SCOPED_TRACE(std::string(c.format) + " " + std::to_string(c.count));
        m_pView->ApplyLayout(c.format);
        m_pView->ResetScrollBar(0, c.count, false);
        const SCROLLINFO info = ScrollInfo();
        EXPECT_EQ(info.nMax, c.max);
        EXPECT_EQ(info.nPage, c.page);
        EXPECT_EQ(info.nPos, 0);
    }
}

TEST_F(ImageViewPagingTest, SortCommandsOrderTheSeries)
{
    std::vector<int> ascending(20);
    std::iota(ascending.begin(), ascending.end(), 1);
    auto instances = [&]
    {
        std::vector<int> numbers;
        for (int index = 0; index < 20; ++index)
        {
            numbers.push_back(InstanceOf(m_pView->GetImageLayout().GetImageAt(index)));
        }
        return numbers;
    };
    m_pView->SendMessage(WM_COMMAND, CImageView::CmdSortByImageNo, 0);
    EXPECT_EQ(instances(), ascending);
    EXPECT_EQ(PaneInstances(), (std::vector<int>{1, 2, 3, 4}));
    m_pView->SendMessage(WM_COMMAND, CImageView::CmdReverseOrder, 0);
    EXPECT_EQ(PaneInstances(), (std::vector<int>{20, 19, 18, 17}));
    m_pView->SendMessage(WM_COMMAND, CImageView::CmdSortBySliceLocation, 0);
    EXPECT_EQ(instances(), ascending);
    // The acquisition numbers run against the instance numbers.
    m_pView->SendMessage(WM_COMMAND, CImageView::CmdSortByAcquisitionNo, 0);
    EXPECT_EQ(PaneInstances(), (std::vector<int>{20, 19, 18, 17}));
    m_pView->SendMessage(WM_COMMAND, CImageView::CmdSortNothing, 0);
    EXPECT_EQ(PaneInstances(), (std::vector<int>{20, 19, 18, 17}));
    EXPECT_TRUE(m_pViewer->commands.empty()) << "the view handled every sort command";
}

TEST_F(ImageViewPagingTest, SeriesNotToBeSortedKeepTheirOrder)
{
    for (int index = 0; index < 20; ++index)
    {
        ImageShow* image = m_pView->GetImageLayout().GetImageAt(index);
        const_cast<Corvane&>(image->GetHolder()).SetToBeSorted(false);
        image->SetSortAllowed(false);
    }
    m_pView->SendMessage(WM_COMMAND, CImageView::CmdSortByImageNo, 0);
    EXPECT_EQ(PaneInstances(), Numbers(0));
}

TEST_F(ImageViewPagingTest, BlowingUpAPaneAndBackRestoresFormatAndPage)
{
    m_pView->PageDown();
    m_pView->SetHighLight(2);
    ImageShow* hot = m_pView->GetHotImage();
    ASSERT_NE(hot, nullptr);
    m_pView->SwapLayout();
    EXPECT_EQ(std::string(m_pView->GetFormat()), CImageView::SingleLayout);
    EXPECT_EQ(m_pView->GetPaneImage(0), hot);
    m_pView->SwapLayout();
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\2,2");
    EXPECT_EQ(PaneInstances(), Numbers(4));
    EXPECT_EQ(m_pViewer->commands, (std::vector<std::pair<WPARAM, LPARAM>>{
                                       {CImageView::CmdBlownUp, 0}, {CImageView::CmdRestored, 0}}));
}

TEST_F(ImageViewPagingTest, ASingleFormatWithoutASavedOneIsOnlyRemembered)
{
    m_pView->SetLayout(CImageView::SingleLayout);
    m_pView->SwapLayout();
    EXPECT_EQ(std::string(m_pView->GetFormat()), CImageView::SingleLayout);
    EXPECT_TRUE(m_pViewer->commands.empty());
    m_pView->SetLayout("STANDARD\\2,2");
    m_pView->SwapLayout();
    m_pView->SwapLayout();
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\2,2");
}

TEST_F(ImageViewPagingTest, CopyingTheHotImageShowsTheCopyBesideIt)
{
    m_pView->SetHighLight(3);
    ImageShow* hot = m_pView->GetHotImage();
    m_pView->CopyHotImage();
    EXPECT_EQ(m_pView->GetImageLayout().GetNbOfImage(), 21);
    EXPECT_EQ(m_pView->GetPaneImage(2), hot) << "the last pane's image moves up";
    EXPECT_NE(m_pView->GetPaneImage(3), hot);
    EXPECT_EQ(InstanceOf(m_pView->GetPaneImage(3)), InstanceOf(hot));
    EXPECT_EQ(m_pView->GetHotPane(), 3);
}

TEST_F(ImageViewPagingTest, DeletingAndClosingLeaveTheViewConsistent)
{
    m_pView->SetHighLight(1);
    m_pView->CloseHotImage();
    EXPECT_EQ(m_pView->GetImageLayout().GetNbOfImage(), 19);
    EXPECT_EQ(PaneInstances(), (std::vector<int>{m_order[0], m_order[2], m_order[3], m_order[4]}));
    EXPECT_EQ(m_pView->GetHotPane(), 0);
    m_pView->OnCmdScrollCloseSeries();
    EXPECT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), 0);
    EXPECT_EQ(PaneInstances(), std::vector<int>(4, 0)) << "the view's layout stays";
    EXPECT_EQ(m_pView->GetHotImage(), nullptr);
}

// A second series, opened by another transaction, and navigation between
// the two: a series without a format of its own takes the one in force.
TEST_F(ImageViewPagingTest, SeriesNavigationCarriesTheFormatAlong)
{
    Corvane other = MakeHolder(MakeHeaderImage(OtherSeries), 2, false);
    m_pView->OpenCorvaneBySeries(&other);
    ASSERT_EQ(m_pView->GetImageLayout().GetNbOfSeries(), 2);
    m_pView->SendMessage(WM_COMMAND, CImageView::CmdFirstSeries + 1, 0);
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 1);
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\2,2");
    EXPECT_EQ(PaneInstances(), (std::vector<int>{1, 0, 0, 0}));
    m_pView->SetLayout("STANDARD\\1,2");
    m_pView->ShowPrevSeries();
    EXPECT_EQ(m_pView->IndexOfHotSeries(), 0);
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\2,2");
    m_pView->ShowNextSeries();
    EXPECT_EQ(std::string(m_pView->GetFormat()), "STANDARD\\1,2");
    m_pView->ShowSeriesAt(0);
    EXPECT_EQ(PaneInstances(), Numbers(0));
}

TEST_F(ImageViewPagingTest, PageToImageRequestFindsTheImageOrAnEqualOne)
{
    ImageShow* target = m_pView->GetImageLayout().GetImageAt(9);
    EXPECT_EQ(m_pView->SendMessage(CImageView::MsgPageToImage, 1, reinterpret_cast<LPARAM>(target)),
              1);
    EXPECT_EQ(m_pView->GetPaneImage(1), target);
    ImageShow copy(*m_pView->GetImageLayout().GetImageAt(0));
    EXPECT_EQ(m_pView->SendMessage(CImageView::MsgPageToImage, 3, reinterpret_cast<LPARAM>(&copy)),
              1);
    EXPECT_EQ(PaneInstances(), Numbers(0)) << "a page would start before the series";
    ImageShow stranger;
    EXPECT_EQ(
        m_pView->SendMessage(CImageView::MsgPageToImage, 0, reinterpret_cast<LPARAM>(&stranger)),
        0);
}

// The view as a user sees it: the four framed panes of the grid showing the
// second page, the highlighted one dotted green, and the scroll bar at the
// right with its thumb on the second of five pages.
TEST_F(ImageViewPagingTest, TheTwoByTwoViewShowsItsGridAndScrollBar)
{
    m_pView->ShowHighLight(true, false);
    m_pView->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    m_pView->Invalidate(TRUE);
    m_harness.PumpPending();
    WindowPicture whole;
    ASSERT_TRUE(UserGetWindowPicture(m_pView->m_hWnd, false, whole));
    WindowPicture client;
    ASSERT_TRUE(UserGetWindowPicture(m_pView->m_hWnd, true, client));
    DumpPicture(m_pView->m_hWnd, "ImageView2x2");
    EXPECT_EQ(whole.nWidth, 600);
    EXPECT_LT(client.nWidth, whole.nWidth) << "the scroll bar takes its width";
    CRect pane;
    m_pView->GetPaneRect(1, &pane);
    const std::uint32_t orange = 0xFF8C00;
    EXPECT_EQ(client.GetPixel(pane.left, pane.top + 10) & 0xFFFFFF, orange);
    m_pView->GetPaneRect(0, &pane);
    const std::uint32_t green = 0x00FF00;
    EXPECT_EQ(client.GetPixel(pane.left, pane.top) & 0xFFFFFF, green);
    int lit = 0;
    for (int x = pane.left + 2; x < pane.right - 2; ++x)
    {
        lit += (client.GetPixel(x, pane.top + pane.Height() * 3 / 4) & 0xFFFFFF) != 0 ? 1 : 0;
    }
    EXPECT_GT(lit, pane.Width() / 2) << "the pane shows its image";
}
