// ImageLayout over in-memory data sets: three series in two studies (ten CT
// images, two CT images, one three-frame US image), opened by series as a
// view opens them, then paged, scrolled, searched, navigated, changed and
// sorted.
#include "ImageLayout.h"
#include "ImageShowTestSupport.h"
#include "LogCapture.h"
#include "SeriesShow.h"
#include "SeriesTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

const std::string StudyOne = "1.2.826.0.1.3680043.8.1";
const std::string StudyTwo = "1.2.826.0.1.3680043.8.2";
const std::string SeriesA = StudyOne + ".1";
const std::string SeriesB = StudyOne + ".2";
const std::string SeriesC = StudyTwo + ".1";

std::string Sop(const std::string& series, int number)
{
    return series + "." + std::to_string(number);
}

class ImageLayoutTest : public ImageShowTest
{
protected:
    void SetUp() override
    {
        ImageShowTest::SetUp();
        m_Layout.SetPageSize(4);
        m_Layout.SetLineSize(2);
        for (int i = 1; i <= 10; ++i)
        {
            Open({StudyOne, SeriesA, Sop(SeriesA, i), i, "CT", 1, "Doe^Jane", "1", "Chest"});
        }
        for (int i = 1; i <= 2; ++i)
        {
            Open({StudyOne, SeriesB, Sop(SeriesB, i), i, "CT", 1, "Doe^Jane", "2", "Abdomen"});
        }
        Open({StudyTwo, SeriesC, Sop(SeriesC, 1), 1, "US", 3, "Doe^Jane", "1", "Heart"});
    }

    bool Open(const ImageSpec& spec, const HandOver& how = {})
    {
        return OpenBySeries(m_Layout, MakeLayoutShow(MakeHeaderImage(spec), how));
    }

    ImageLayout m_Layout;
};

} // namespace

TEST_F(ImageLayoutTest, OpensThreeSeriesAndSplitsTheThreeFrameImage)
{
    ASSERT_EQ(m_Layout.GetNbOfSeries(), 3);
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 0);
    EXPECT_EQ(m_Layout.GetNbOfImage(), 10);
    EXPECT_EQ(ShownPositions(m_Layout), (std::vector<int>{0, 1, 2, 3}));
    const SeriesShow* cine = m_Layout.GetSeries().GetSeriesAt(2);
    ASSERT_EQ(cine->GetNbOfImage(), 3);
    EXPECT_TRUE(cine->IsMultiFrame());
    EXPECT_EQ(cine->GetNbOfFrames(), 3);
    for (int frame = 0; frame < 3; ++frame)
    {
        EXPECT_EQ(cine->GetImageAt(frame)->GetFrameIndex(), frame);
        EXPECT_TRUE(cine->GetImageAt(frame)->IsSameImage(*cine->GetImageAt(frame)));
        EXPECT_EQ(cine->GetImageAt(frame)->GetDicomImage(), cine->GetFirstImage()->GetDicomImage());
    }
    EXPECT_FALSE(m_Layout.GetSeries().GetSeriesAt(1)->IsMultiFrame());
    EXPECT_EQ(m_Layout.GetSeries().GetSeriesAt(1)->GetNbOfImage(), 2);
}

TEST_F(ImageLayoutTest, AFrameCopyOrASingleFrameAddsNothing)
{
    SeriesShow& series = *m_Layout.GetSeries().GetSeriesAt(2);
    EXPECT_EQ(series.LoadMultiFrameImage(series.GetImageAt(1)), 0);
    EXPECT_EQ(m_Layout.GetSeries().GetSeriesAt(0)->LoadMultiFrameImage(m_Layout.GetImageAt(0)), 0);
    EXPECT_EQ(series.GetNbOfImage(), 3);
}

TEST_F(ImageLayoutTest, PagesAndScrollsTheCurrentSeries)
{
    LayoutEvents events(m_Layout);
    struct Step
    {
        const char* name;
        void (*run)(ImageLayout&);
        int start;
        int count;
        bool announced;
    };
    const Step steps[] = {
        {"FirstPage", [](ImageLayout& l) { l.FirstPage(); }, 0, 4, true},
        {"PageDown", [](ImageLayout& l) { l.PageDown(); }, 4, 4, true},
        {"PageDown to the end", [](ImageLayout& l) { l.PageDown(); }, 6, 4, true},
        {"PageDown at the end", [](ImageLayout& l) { l.PageDown(); }, 6, 4, true},
        {"LineUp", [](ImageLayout& l) { l.LineUp(); }, 4, 4, true},
        {"PageUp to the start", [](ImageLayout& l) { l.PageUp(); }, 0, 4, true},
        {"LineDown", [](ImageLayout& l) { l.LineDown(); }, 2, 4, true},
        {"LastPage", [](ImageLayout& l) { l.LastPage(); }, 6, 4, true},
        {"ScrollBy -3", [](ImageLayout& l) { EXPECT_EQ(l.ScrollBy(-3), 3); }, 3, 4, false},
        {"ScrollBy 100", [](ImageLayout& l) { EXPECT_EQ(l.ScrollBy(100), 6); }, 6, 4, false},
        {"ScrollBy -100", [](ImageLayout& l) { EXPECT_EQ(l.ScrollBy(-100), 0); }, 0, 4, false},
        {"ScrollTo 8", [](ImageLayout& l) { EXPECT_EQ(l.ScrollTo(8), 8); }, 8, 2, false},
        {"ScrollTo 10", [](ImageLayout& l) { EXPECT_EQ(l.ScrollTo(10), -1); }, 8, 2, false},
        {"ScrollTo -1", [](ImageLayout& l) { EXPECT_EQ(l.ScrollTo(-1), -1); }, 8, 2, false},
        {"ScrollToImage 5", [](ImageLayout& l) { EXPECT_TRUE(l.ScrollToImage(l.GetImageAt(5))); },
         5, 4, false},
        {"ScrollToImage 8", [](ImageLayout& l) { EXPECT_TRUE(l.ScrollToImage(l.GetImageAt(8))); },
         6, 4, false},
        {"page size 3", [](ImageLayout& l) { l.SetPageSize(3); }, 6, 3, false},
        {"PageDown by 3", [](ImageLayout& l) { l.PageDown(); }, 7, 3, true},
    };
    for (const Step& step : steps)
    {
        events.Clear();
        step.run(m_Layout);
        std::vector<int> expected;
        for (int i = 0; i < step.count; ++i)
        {
            expected.push_back(step.start + i);
        }
        EXPECT_EQ(ShownPositions(m_Layout), expected) << step.name;
        EXPECT_EQ(m_Layout.GetPageStart(), step.start) << step.name;
        EXPECT_EQ(events.pages, step.announced ? 1 : 0) << step.name;
    }
}

TEST_F(ImageLayoutTest, PagingAnEmptyLayoutDoesNothing)
{
    ImageLayout empty;
    LayoutEvents events(empty);
    empty.PageDown();
    empty.LineUp();
    empty.FirstPage();
    empty.LastPage();
    EXPECT_EQ(empty.ScrollBy(1), -1);
    EXPECT_EQ(empty.ScrollTo(0), -1);
    EXPECT_FALSE(empty.NextSeries());
    EXPECT_FALSE(empty.PrevSeries());
    EXPECT_EQ(events.pages, 0);
    EXPECT_EQ(empty.GetNbOfShown(), 0);
    EXPECT_EQ(empty.GetNbOfImage(), 0);
    EXPECT_EQ(empty.IndexOfHotSeries(), -1);
}

TEST_F(ImageLayoutTest, FindsSeriesAndImages)
{
    struct Case
    {
        const char* name;
        int (*find)(const ImageLayout&);
        int expected;
    };
    const Case cases[] = {
        {"series A", [](const ImageLayout& l) { return l.FindSeriesBySeriesUID(SeriesA.c_str()); },
         0},
        {"series C padded",
         [](const ImageLayout& l)
         { return l.FindSeriesBySeriesUID((" " + SeriesC + " ").c_str()); },
         2},
        {"unknown series",
         [](const ImageLayout& l) { return l.FindSeriesBySeriesUID((SeriesC + ".9").c_str()); },
         -1},
        {"SOP of B",
         [](const ImageLayout& l) { return l.FindSeriesBySOPInstanceUID(Sop(SeriesB, 2).c_str()); },
         1},
        {"SOP of the frames",
         [](const ImageLayout& l) { return l.FindSeriesBySOPInstanceUID(Sop(SeriesC, 1).c_str()); },
         2},
        {"unknown SOP",
         [](const ImageLayout& l) { return l.FindSeriesBySOPInstanceUID(Sop(SeriesB, 3).c_str()); },
         -1},
        {"study one CT",
         [](const ImageLayout& l) { return l.FindSeriesByStudy(StudyOne.c_str(), "CT"); }, 0},
        {"study two US",
         [](const ImageLayout& l) { return l.FindSeriesByStudy(StudyTwo.c_str(), "US"); }, 2},
        {"study two CT",
         [](const ImageLayout& l) { return l.FindSeriesByStudy(StudyTwo.c_str(), "CT"); }, -1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.find(m_Layout), c.expected) << c.name;
    }
    EXPECT_TRUE(m_Layout.HasSeries(SeriesB.c_str()));
    EXPECT_FALSE(m_Layout.HasSeries(StudyTwo.c_str()));
    EXPECT_TRUE(m_Layout.HasSOPInstanceUID(Sop(SeriesA, 10).c_str()));
    EXPECT_FALSE(m_Layout.HasSOPInstanceUID(Sop(SeriesA, 11).c_str()));
    ImageShow* found = m_Layout.FindImageBySOPInstanceUID(Sop(SeriesA, 7).c_str());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, m_Layout.GetImageAt(6));
    EXPECT_EQ(m_Layout.FindImageBySOPInstanceUID("1.2.3"), nullptr);
    EXPECT_EQ(m_Layout.GetSeries().GetFirstImageOfSeries(1)->GetDicomValue(0x0008, 0x0018),
              Lettra(Sop(SeriesB, 1).c_str()));
    EXPECT_EQ(m_Layout.GetSeries().GetFirstImageOfSeries(3), nullptr);
}

TEST_F(ImageLayoutTest, SeriesTitlesSeparateStudies)
{
    Array<Lettra> titles;
    ASSERT_EQ(m_Layout.GetSeriesTitles(titles), 4);
    EXPECT_EQ(titles.GetAt(0), Lettra("00000000 [10] Doe^Jane: 1: Chest"));
    EXPECT_EQ(titles.GetAt(1), Lettra("00000001 [2] Doe^Jane: 2: Abdomen"));
    EXPECT_EQ(titles.GetAt(2), Lettra(""));
    EXPECT_EQ(titles.GetAt(3), Lettra("00000002 [3] Doe^Jane: 1: Heart"));
}

TEST_F(ImageLayoutTest, LaterImagesOfATransactionShowOnlyInTheSeriesOnScreen)
{
    struct Case
    {
        const char* name;
        ImageSpec spec;
        HandOver how;
        bool shown;
        int seriesAfter;
    };
    const Case cases[] = {
        {"joins the current series", {StudyOne, SeriesA, Sop(SeriesA, 11), 11}, {}, true, 0},
        {"another series of the study", {StudyOne, SeriesB, Sop(SeriesB, 3), 3}, {}, false, 0},
        {"a selection",
         {StudyOne, SeriesA, Sop(SeriesA, 12), 12},
         {1, true, true, Corvane::enScopeSelected},
         false,
         0},
        {"another study in the current series",
         {StudyTwo, SeriesA, Sop(SeriesA, 13), 13},
         {},
         false,
         0},
        {"first of a transaction, to be shown",
         {StudyOne, SeriesB, Sop(SeriesB, 4), 4},
         {2, true},
         true,
         1},
        {"first of a transaction, not to be shown",
         {StudyTwo, SeriesC, Sop(SeriesC, 2), 2},
         {3, false},
         false,
         1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Open(c.spec, c.how), c.shown) << c.name;
        EXPECT_EQ(m_Layout.IndexOfHotSeries(), c.seriesAfter) << c.name;
        EXPECT_TRUE(m_Layout.HasSOPInstanceUID(c.spec.sop.c_str())) << c.name;
    }
}

TEST_F(ImageLayoutTest, OpeningAnnouncesWhatComesOnThePage)
{
    ImageLayout layout;
    layout.SetPageSize(2);
    LayoutEvents events(layout);
    auto open = [&layout](int instance, int transaction, const std::string& series)
    {
        return OpenBySeries(
            layout,
            MakeLayoutShow(MakeHeaderImage({StudyOne, series, Sop(series, instance), instance}),
                           {transaction}));
    };
    ASSERT_TRUE(open(1, 1, SeriesA));
    ImageShow* first = layout.GetImageAt(0);
    EXPECT_EQ(events.updated, std::vector<ImageShow*>{first});
    EXPECT_EQ(events.selected, std::vector<ImageShow*>{first});
    EXPECT_EQ(events.pages, 1);

    events.Clear();
    ASSERT_TRUE(open(2, 1, SeriesA));
    EXPECT_EQ(events.updated, std::vector<ImageShow*>{layout.GetImageAt(1)});
    EXPECT_TRUE(events.selected.empty());

    events.Clear();
    ASSERT_TRUE(open(3, 1, SeriesA));
    EXPECT_TRUE(events.updated.empty()) << "the page is full";
    EXPECT_EQ(ShownPositions(layout), (std::vector<int>{0, 1}));

    events.Clear();
    ASSERT_TRUE(open(1, 2, SeriesB));
    EXPECT_EQ(layout.IndexOfHotSeries(), 1);
    ImageShow* other = layout.GetImageAt(0);
    EXPECT_EQ(events.selected, std::vector<ImageShow*>{other});
    EXPECT_EQ(events.updated, std::vector<ImageShow*>{other});
    EXPECT_EQ(events.pages, 1);
}

TEST_F(ImageLayoutTest, TheFirstImageOfATransactionIsPagedTo)
{
    // A later page of series A is shown; a new transaction adds to series A
    // and is to be shown: the page moves to the new image.
    m_Layout.ScrollTo(0);
    LayoutEvents events(m_Layout);
    ASSERT_TRUE(Open({StudyOne, SeriesA, Sop(SeriesA, 11), 11}, {5}));
    ImageShow* added = m_Layout.GetImageAt(10);
    EXPECT_TRUE(m_Layout.GetShownImages().Contains(added));
    EXPECT_EQ(m_Layout.GetPageStart(), 7);
    EXPECT_EQ(events.selected, std::vector<ImageShow*>{added});
    EXPECT_EQ(events.pages, 1);
}

TEST_F(ImageLayoutTest, SeriesNavigationKeepsEachSeriesPage)
{
    m_Layout.ScrollTo(5);
    m_Layout.GetImageAt(5)->SetSelected(true);
    ASSERT_TRUE(m_Layout.NextSeries());
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 1);
    EXPECT_EQ(ShownPositions(m_Layout), (std::vector<int>{0, 1}));
    ASSERT_TRUE(m_Layout.NextSeries());
    EXPECT_FALSE(m_Layout.NextSeries());
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 2);
    EXPECT_EQ(m_Layout.GetNbOfShown(), 3);
    ASSERT_TRUE(m_Layout.GotoSeriesAt(0));
    EXPECT_EQ(ShownPositions(m_Layout), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_FALSE(m_Layout.GetImageAt(5)->IsSelected());
    EXPECT_FALSE(m_Layout.PrevSeries());
    EXPECT_FALSE(m_Layout.GotoSeriesAt(3));
    EXPECT_FALSE(m_Layout.GotoSeriesAt(-1));
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 0);
}

TEST_F(ImageLayoutTest, EnsureVisibleGoesToTheImagesSeriesAndPage)
{
    LayoutEvents events(m_Layout);
    LogCapture log;
    ImageShow* frame = m_Layout.GetSeries().GetSeriesAt(2)->GetImageAt(2);
    ASSERT_TRUE(m_Layout.EnsureVisible(frame));
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 2);
    EXPECT_TRUE(m_Layout.GetShownImages().Contains(frame));
    EXPECT_EQ(events.pages, 1);
    EXPECT_TRUE(m_Layout.EnsureVisible(frame));
    EXPECT_EQ(events.pages, 1) << "already visible";

    ImageShow stranger;
    EXPECT_FALSE(m_Layout.EnsureVisible(&stranger));
    EXPECT_TRUE(log.Contains("Leave ImageLayout::EnsureVisible, Cannot find ImageShow"));
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 2);
}

TEST_F(ImageLayoutTest, InsertDeleteAndClose)
{
    LayoutEvents events(m_Layout);
    ImageShow* second = m_Layout.GetImageAt(1);
    ASSERT_TRUE(m_Layout.InsertImageAfter(second, second->Clone()));
    EXPECT_EQ(m_Layout.GetNbOfImage(), 11);
    EXPECT_TRUE(m_Layout.GetImageAt(2)->IsSameImage(*second));
    EXPECT_TRUE(m_Layout.GetShownImages().Contains(m_Layout.GetImageAt(2)));
    EXPECT_EQ(events.pages, 1);
    ImageShow orphan;
    auto* copy = orphan.Clone();
    EXPECT_FALSE(m_Layout.InsertImageAfter(&orphan, copy));
    delete copy;

    m_Layout.ScrollTo(7);
    ASSERT_TRUE(m_Layout.DeleteImage(m_Layout.GetImageAt(0)));
    EXPECT_EQ(m_Layout.GetNbOfImage(), 10);
    EXPECT_EQ(ShownPositions(m_Layout), (std::vector<int>{6, 7, 8, 9}));

    // Emptying series B drops it; the series that takes its place follows.
    ASSERT_TRUE(m_Layout.GotoSeriesAt(1));
    ASSERT_TRUE(m_Layout.DeleteImage(m_Layout.GetImageAt(0)));
    ASSERT_TRUE(m_Layout.DeleteImage(m_Layout.GetImageAt(0)));
    EXPECT_EQ(m_Layout.GetNbOfSeries(), 2);
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 1);
    EXPECT_EQ(m_Layout.GetCurrentSeries()->GetModality(), Lettra("US"));
    EXPECT_FALSE(m_Layout.DeleteImage(&orphan));

    // Closing the first series: the view goes on to the one that followed.
    ASSERT_TRUE(m_Layout.GotoSeriesAt(0));
    m_Layout.SaveShownImages();
    m_Layout.CloseCurrentSeries();
    EXPECT_EQ(m_Layout.GetNbOfSeries(), 1);
    EXPECT_EQ(m_Layout.GetSavedImages().GetCount(), 0);
    m_Layout.NextSeries();
    EXPECT_EQ(m_Layout.IndexOfHotSeries(), 0);
    EXPECT_EQ(m_Layout.GetCurrentSeries()->GetModality(), Lettra("US"));
    EXPECT_EQ(m_Layout.GetNbOfShown(), 3);
    m_Layout.Reset();
    EXPECT_EQ(m_Layout.GetNbOfSeries(), 0);
    EXPECT_EQ(m_Layout.GetNbOfShown(), 0);
}

TEST_F(ImageLayoutTest, SavedPageComesBackWithItsViewRectangles)
{
    m_Layout.ScrollTo(3);
    for (int i = 3; i < 7; ++i)
    {
        m_Layout.GetImageAt(i)->SetViewRect({i, i, 10 * i, 10 * i});
    }
    m_Layout.SaveShownImages();
    m_Layout.GetImageAt(4)->SetViewRect({0, 0, 1, 1});
    m_Layout.SetPageSize(1);
    m_Layout.ScrollTo(9);
    m_Layout.RestoreShownImages();
    EXPECT_EQ(ShownPositions(m_Layout), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(m_Layout.GetImageAt(4)->GetViewRect().right, 40);
    EXPECT_EQ(m_Layout.GetSavedImages().GetCount(), 0);
}

TEST_F(ImageLayoutTest, ResetsTheViewStateOfOneOrAllSeries)
{
    for (int series = 0; series < 3; ++series)
    {
        m_Layout.GetSeries().GetFirstImageOfSeries(series)->SetZoom(2.0);
    }
    m_Layout.ResetCurrentSeriesView();
    EXPECT_EQ(m_Layout.GetImageAt(0)->GetZoom(), -1.0);
    EXPECT_EQ(m_Layout.GetSeries().GetFirstImageOfSeries(1)->GetZoom(), 2.0);
    m_Layout.ResetAllSeriesView();
    EXPECT_EQ(m_Layout.GetSeries().GetFirstImageOfSeries(2)->GetZoom(), -1.0);
}

// A file may claim far more frames than its pixel data holds: only the
// frames it holds become images, from memory and from the file alike, the
// last of them shows, and the log says what the file lacks.
TEST_F(ImageShowTest, OnlyTheFramesAnImageHoldsAreSplitIntoTheSeries)
{
    struct Case
    {
        const char* name;
        bool fromFile;
        const char* claim;
    };
    for (const Case& c : {Case{"memory", false, "1000000"}, Case{"file", true, "2147483647"}})
    {
        SCOPED_TRACE(c.name);
        DICOMImage* image = MakeImage(2, 2, 8, "MONOCHROME2", std::vector<std::uint8_t>(3 * 4, 9));
        image->Add(0x0028, 0x0008, c.claim);
        Corvane holder(image);
        if (c.fromFile)
        {
            const std::string path = ::testing::TempDir() + "quillon_claims_frames.dcm";
            ASSERT_NE(image->WriteFile(path.c_str(), 1), 0);
            ASSERT_TRUE(holder.LoadDicomFile(path.c_str()));
        }
        SeriesShow series;
        auto* show = new ImageShow;
        show->AttachCorvane(holder, 0);
        series.AddImage(show);
        LogCapture log;
        EXPECT_EQ(series.LoadMultiFrameImage(show), 2);
        ASSERT_EQ(series.GetNbOfImage(), 3);
        for (int frame = 0; frame < 3; ++frame)
        {
            EXPECT_EQ(series.GetImageAt(frame)->GetFrameIndex(), frame);
            EXPECT_EQ(series.GetImageAt(frame)->GetNbOfFrames(), 3);
        }
        const std::vector<std::string> lines = log.Lines();
        const std::string said = std::string("holds 3 of the ") + c.claim + " frames";
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const std::string& line)
                                { return line.find(said) != std::string::npos; }));
        series.GetLastImage()->BuildFullViewDIB();
        EXPECT_FALSE(series.GetLastImage()->GetDIB().IsEmpty());
        EXPECT_EQ(series.GetLastImage()->GetNbOfFrames(), 3);
    }
}
