#include "DICOMFile.h"
#include "PictureDump.h"
#include "RefLineTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <map>

namespace
{

namespace fs = std::filesystem;

// A coronal localizer of rows 0.8 mm and columns 0.6 mm apart.
const DicomGeometry Localizer = {512, 400, 0.8, 0.6, {1, 0, 0}, {0, 0, -1}, {-250, 0, 200}};

// An axial slice of 256 x 256 pixels of 0.7 mm at the height z.
DicomGeometry AxialAt(double z)
{
    return {256, 256, 0.7, 0.7, {1, 0, 0}, {0, 1, 0}, {-89.6, -89.6, z}};
}

// A slice tilted 30 degrees about the patient's left-right axis.
DicomGeometry TiltedAt(double z)
{
    const double c = std::cos(M_PI / 6.0);
    const double s = std::sin(M_PI / 6.0);
    return {256, 256, 0.7, 0.7, {1, 0, 0}, {0, c, s}, {-89.6, -89.6 * c, z - 89.6 * s}};
}

PlaneImageSpec Spec(const DicomGeometry& geometry, int instance)
{
    PlaneImageSpec spec;
    spec.geometry = geometry;
    spec.instance = instance;
    return spec;
}

// The images of the DICOMDIR test tree that have a plane, by study; each
// taken at 256 x 256, the field its geometry describes (the tree's pixels
// were reduced to 16 x 16, whose small corners of the field never meet).
std::map<std::string, std::vector<PlaneImageSpec>> CorpusStudies()
{
    std::map<std::string, std::vector<PlaneImageSpec>> studies;
    const fs::path tree = fs::path(SUITE_CORPUS_DIR) / "pydicom" / "test_files" / "dicomdirtests";
    std::vector<fs::path> paths;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(tree))
    {
        if (entry.is_regular_file())
        {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    for (const fs::path& path : paths)
    {
        DICOMFile file;
        PlaneImageSpec spec;
        if (file.ReadFileNoImage(path.c_str()) == 0 || !ReadDicomGeometry(file, spec.geometry))
        {
            continue;
        }
        spec.geometry.columns = 256;
        spec.geometry.rows = 256;
        spec.study = std::string(file.GetLettra(0x0020, 0x000D));
        spec.frame = std::string(file.GetLettra(0x0020, 0x0052));
        spec.series = std::string(file.GetLettra(0x0020, 0x000E));
        spec.instance = file.GetLettra(0x0020, 0x0013).Int();
        studies[spec.study].push_back(spec);
    }
    return studies;
}

class RefLineTest : public RefLineViewTest
{
protected:
    // The source's lines on every pane of the view are those of the plain
    // intersection: one line within half a pixel, or none.
    void ExpectPlainLines(RefLineImageView* view, const ImageShow* source,
                          const PlaneImageSpec& from, const std::vector<PlaneImageSpec>& onto,
                          const std::string& name)
    {
        for (int pane = 0; pane < static_cast<int>(onto.size()); ++pane)
        {
            const std::vector<ORoiRefLine*> lines = LinesOf(view->GetPane(pane));
            const std::optional<ExpectedLine> expected =
                from.frame == onto[pane].frame && from.study == onto[pane].study
                    ? IntersectPlanes(from.geometry, onto[pane].geometry)
                    : std::nullopt;
            const std::string where = name + " on pane " + std::to_string(pane);
            ASSERT_EQ(lines.size(), expected ? 1u : 0u) << where;
            if (expected)
            {
                EXPECT_TRUE(SameEnds(*lines[0], *expected))
                    << where << ": " << Describe(*lines[0]) << ", expected " << Describe(*expected);
                EXPECT_EQ(lines[0]->GetIdentifier(), source) << where;
                EXPECT_EQ(std::string(lines[0]->GetLabelText()), std::to_string(from.instance))
                    << where;
                EXPECT_EQ(lines[0]->GetOwner(), view->GetPane(pane)->GetShow()) << where;
            }
            EXPECT_TRUE(static_cast<RefLineMedImage*>(view->GetPane(pane))->IsRefLinesShown())
                << where;
        }
    }

    std::vector<ImageShow*> ShowAll(RefLineImageView* view,
                                    const std::vector<PlaneImageSpec>& specs)
    {
        std::vector<ImageShow*> shows;
        for (int pane = 0; pane < static_cast<int>(specs.size()); ++pane)
        {
            shows.push_back(ShowOnPane(view, pane, specs[pane]));
        }
        return shows;
    }
};

TEST_F(RefLineTest, CorpusSeriesGiveTheLinesOfThePlainIntersection)
{
    const auto studies = CorpusStudies();
    ASSERT_FALSE(studies.empty());
    int orthogonal = 0;
    int oblique = 0;
    int parallel = 0;
    for (const auto& [study, specs] : studies)
    {
        const int side = static_cast<int>(std::ceil(std::sqrt(double(specs.size()))));
        const std::string format = "STANDARD\\" + std::to_string(side) + "," + std::to_string(side);
        RefLineImageView* view = MakeRefLineView(format.c_str(), CRect(0, 0, 800, 800));
        ASSERT_GE(view->GetPaneCount(), static_cast<int>(specs.size()));
        const std::vector<ImageShow*> shows = ShowAll(view, specs);
        for (std::size_t source = 0; source < specs.size(); ++source)
        {
            RefLine::ShowOnHotImage(view, shows[source]);
            ExpectPlainLines(view, shows[source], specs[source], specs,
                             study + " image " + std::to_string(source));
            for (const PlaneImageSpec& target : specs)
            {
                if (target.frame != specs[source].frame)
                {
                    continue;
                }
                const double cosine =
                    std::fabs(NormalCosine(specs[source].geometry, target.geometry));
                const bool line =
                    IntersectPlanes(specs[source].geometry, target.geometry).has_value();
                parallel += cosine > 1.0 - 1e-12 ? 1 : 0;
                orthogonal += line && cosine < 1e-3 ? 1 : 0;
                oblique += line && cosine >= 1e-3 ? 1 : 0;
            }
        }
        view->DestroyWindow();
    }
    EXPECT_GT(orthogonal, 0) << "the tree gives orthogonal lines";
    EXPECT_GT(oblique, 0) << "the tree gives oblique lines";
    EXPECT_GT(parallel, 0) << "the tree gives parallel planes";
}

TEST_F(RefLineTest, AxialSeriesAndLocalizerShowEachOthersLines)
{
    RefLineImageView* scout = MakeRefLineView("STANDARD\\1,1", CRect(0, 0, 400, 400));
    RefLineImageView* series = MakeRefLineView("STANDARD\\4,3", CRect(400, 0, 880, 400));
    const std::vector<PlaneImageSpec> localizer = {Spec(Localizer, 1)};
    std::vector<PlaneImageSpec> slices;
    for (int index = 0; index < 12; ++index)
    {
        slices.push_back(Spec(
            index % 3 == 2 ? TiltedAt(-100 + 25 * index) : AxialAt(-100 + 25 * index), index + 1));
        slices.back().series = "1.2.826.0.1.3680043.2.1125.37.4";
    }
    const std::vector<ImageShow*> scoutShows = ShowAll(scout, localizer);
    const std::vector<ImageShow*> sliceShows = ShowAll(series, slices);

    for (std::size_t slice = 0; slice < slices.size(); ++slice)
    {
        RefLine::ShowOnHotImage(scout, sliceShows[slice]);
        ASSERT_EQ(LinesOf(scout->GetPane(0)).size(), 1u) << "slice " << slice;
        ExpectPlainLines(scout, sliceShows[slice], slices[slice], localizer,
                         "slice " + std::to_string(slice));
    }
    RefLine::ShowOnHotImage(series, scoutShows[0]);
    ExpectPlainLines(series, scoutShows[0], localizer[0], slices, "the localizer");
    for (int pane = 0; pane < 12; ++pane)
    {
        EXPECT_EQ(LinesOf(series->GetPane(pane)).size(), 1u) << "every slice crosses the localizer";
    }
}

TEST_F(RefLineTest, ParallelPlanesGiveNoLineAndTheNextComputationReplacesTheLines)
{
    RefLineImageView* view = MakeRefLineView("STANDARD\\2,1", CRect(0, 0, 600, 300));
    const std::vector<PlaneImageSpec> specs = {Spec(AxialAt(0), 1), Spec(Localizer, 2)};
    const std::vector<ImageShow*> shows = ShowAll(view, specs);
    RefLine::ShowOnHotImage(view, shows[1]);
    ASSERT_EQ(LinesOf(view->GetPane(0)).size(), 1u);
    EXPECT_TRUE(LinesOf(view->GetPane(1)).empty()) << "the localizer's own plane";

    ImageShow* parallel = Keep(MakePlaneShow(MakePlaneImage(Spec(AxialAt(40), 3))));
    RefLine::ShowOnHotImage(view, parallel);
    EXPECT_TRUE(LinesOf(view->GetPane(0)).empty()) << "parallel axial planes";
    ExpectPlainLines(view, parallel, Spec(AxialAt(40), 3), specs, "a parallel slice");
}

// A source that lacks what its plane needs: no line anywhere, and the
// lines of the previous source are gone.
TEST_F(RefLineTest, SourcesWithoutAPlaneLeaveNoLines)
{
    RefLineImageView* view = MakeRefLineView("STANDARD\\2,1", CRect(0, 0, 600, 300));
    const std::vector<ImageShow*> shows = ShowAll(view, {Spec(AxialAt(0), 1), Spec(Localizer, 2)});
    struct Case
    {
        const char* name;
        std::function<void(DICOMImage&)> spoil;
    };
    const Case cases[] = {
        {"no frame of reference", [](DICOMImage& image) { image.Delete(0x0020, 0x0052); }},
        {"no orientation", [](DICOMImage& image) { image.Delete(0x0020, 0x0037); }},
        {"no position", [](DICOMImage& image) { image.Delete(0x0020, 0x0032); }},
        {"spacing 0\\0", [](DICOMImage& image) { image.Add(0x0028, 0x0030, "0\\0"); }},
        {"spacing -1\\0.7", [](DICOMImage& image) { image.Add(0x0028, 0x0030, "-1\\0.7"); }},
    };
    for (const Case& c : cases)
    {
        RefLine::ShowOnHotImage(view, shows[1]);
        ASSERT_EQ(LinesOf(view->GetPane(0)).size(), 1u) << c.name;
        DICOMImage* image = MakePlaneImage(Spec(Localizer, 9));
        c.spoil(*image);
        ImageShow* source = Keep(MakePlaneShow(image));
        RefLine::ShowOnHotImage(view, source);
        EXPECT_TRUE(LinesOf(view->GetPane(0)).empty()) << c.name;
        EXPECT_TRUE(LinesOf(view->GetPane(1)).empty()) << c.name;
        EXPECT_FALSE(static_cast<RefLineMedImage*>(view->GetPane(0))->IsRefLinesShown()) << c.name;
    }
    RefLine::ShowOnHotImage(view, nullptr);
    RefLine::ShowOnHotImage(view, Keep(std::make_unique<ImageShow>()));
    EXPECT_TRUE(LinesOf(view->GetPane(0)).empty());
}

// Targets of another study or frame of reference, or without a plane of
// their own, get no line; the panes after them still get theirs, and every
// line is shown.
TEST_F(RefLineTest, TargetsThatDoNotMatchAreSkippedAndTheOthersStillGetLines)
{
    RefLineImageView* view = MakeRefLineView("STANDARD\\3,2", CRect(0, 0, 880, 600));
    std::vector<PlaneImageSpec> specs = {Spec(AxialAt(0), 1),  Spec(AxialAt(10), 2),
                                         Spec(AxialAt(20), 3), Spec(AxialAt(30), 4),
                                         Spec(AxialAt(40), 5), Spec(AxialAt(50), 6)};
    specs[1].study = "1.2.826.0.1.3680043.2.1125.37.9";
    specs[2].frame = "1.2.826.0.1.3680043.2.1125.37.8";
    specs[3].pixelSpacing = "0\\0";
    specs[4].pixelSpacing = "0.7\\-0.7";
    ShowAll(view, specs);
    const PlaneImageSpec localizer = Spec(Localizer, 7);
    ImageShow* source = Keep(MakePlaneShow(MakePlaneImage(localizer)));
    RefLine::ShowOnHotImage(view, source);
    const std::vector<std::size_t> expected = {1, 0, 0, 0, 0, 1};
    for (int pane = 0; pane < 6; ++pane)
    {
        EXPECT_EQ(LinesOf(view->GetPane(pane)).size(), expected[pane]) << "pane " << pane;
        EXPECT_TRUE(static_cast<RefLineMedImage*>(view->GetPane(pane))->IsRefLinesShown())
            << "pane " << pane;
    }
    specs[3].pixelSpacing.clear();
    specs[4].pixelSpacing.clear();
    ExpectPlainLines(view, source, localizer, {specs[0], specs[1], specs[2]}, "the localizer");
}

// Pixel Spacing with a value that is not positive gives way to Imager
// Pixel Spacing, in the same order, on the source and on the target.
TEST_F(RefLineTest, ImagerPixelSpacingStandsInForPixelSpacing)
{
    RefLineImageView* view = MakeRefLineView("STANDARD\\2,1", CRect(0, 0, 600, 300));
    PlaneImageSpec slice = Spec({256, 256, 0.5, 0.4, {1, 0, 0}, {0, 1, 0}, {-60, -60, 10}}, 1);
    slice.pixelSpacing = "0\\0";
    slice.imagerSpacing = "0.5\\0.4";
    PlaneImageSpec localizer = Spec({300, 200, 0.9, 0.6, {1, 0, 0}, {0, 0, -1}, {-90, 0, 90}}, 2);
    localizer.pixelSpacing = "0.9\\0";
    localizer.imagerSpacing = "0.9\\0.6";
    const std::vector<ImageShow*> shows = ShowAll(view, {slice, localizer});
    RefLine::ShowOnHotImage(view, shows[1]);
    ExpectPlainLines(view, shows[1], localizer, {slice, localizer}, "the localizer");
    RefLine::ShowOnHotImage(view, shows[0]);
    ExpectPlainLines(view, shows[0], slice, {slice, localizer}, "the slice");
    EXPECT_EQ(LinesOf(view->GetPane(1)).size(), 1u);
}

} // namespace

namespace
{

// What the viewer window does when the hot image changes: the hot view
// hides its own lines and every other view shows the hot image's.
struct WindowStandIn
{
    std::vector<RefLineImageView*> views;

    void OnHotImageSelChanged(const void* sender, DelegateArgs*)
    {
        auto* hot = static_cast<RefLineImageView*>(const_cast<void*>(sender));
        hot->ShowReferenceLines(false);
        for (RefLineImageView* view : views)
        {
            if (view != hot)
            {
                RefLine::ShowOnHotImage(view, hot->GetHotImage());
            }
        }
    }
};

class RefLineTwoViewsTest : public RefLineTest
{
protected:
    void SetUp() override
    {
        RefLineTest::SetUp();
        m_pView->ShowWindow(SW_HIDE);
        m_pScout = MakeRefLineView("STANDARD\\1,1", CRect(0, 0, 440, 440));
        m_pSeries = MakeRefLineView("STANDARD\\2,2", CRect(440, 0, 880, 440));
        m_window.views = {m_pScout, m_pSeries};
        for (RefLineImageView* view : m_window.views)
        {
            view->HotImageSelChanged.Add(
                MakeHandler(&m_window, &WindowStandIn::OnHotImageSelChanged, "WindowStandIn"));
        }
        Open(m_pScout, Spec(Localizer, 1));
        for (int index = 0; index < 20; ++index)
        {
            PlaneImageSpec slice = Spec(AxialAt(-30 + 3 * index), index + 1);
            slice.series = "1.2.826.0.1.3680043.2.1125.37.5";
            m_slices.push_back(slice);
            Open(m_pSeries, slice);
        }
    }

    void TearDown() override
    {
        for (RefLineImageView* view : m_window.views)
        {
            view->HotImageSelChanged.Remove(
                MakeHandler(&m_window, &WindowStandIn::OnHotImageSelChanged, "WindowStandIn"));
        }
        RefLineTest::TearDown();
    }

    void Open(RefLineImageView* view, const PlaneImageSpec& spec)
    {
        Corvane holder(MakePlaneImage(spec));
        holder.SetTransactionID(1);
        holder.SetToBeSorted(true);
        view->OpenCorvaneBySeries(&holder);
    }

    // A press on the pane, as the pane announces it.
    void Select(RefLineImageView* view, int pane)
    {
        DelegateArgs press;
        view->GetPane(pane)->GetClickedEvent().Invoke(view->GetPane(pane), &press);
        m_harness.PumpPending();
    }

    void ExpectScoutLineOf(int slice)
    {
        const std::vector<ORoiRefLine*> lines = LinesOf(m_pScout->GetPane(0));
        ASSERT_EQ(lines.size(), 1u);
        const std::optional<ExpectedLine> expected =
            IntersectPlanes(m_slices[slice].geometry, Localizer);
        ASSERT_TRUE(expected.has_value());
        EXPECT_TRUE(SameEnds(*lines[0], *expected)) << Describe(*lines[0]);
        EXPECT_EQ(std::string(lines[0]->GetLabelText()), std::to_string(slice + 1));
    }

    RefLineImageView* m_pScout = nullptr;
    RefLineImageView* m_pSeries = nullptr;
    WindowStandIn m_window;
    std::vector<PlaneImageSpec> m_slices;
};

TEST_F(RefLineTwoViewsTest, SelectingImagesMovesTheLines)
{
    m_harness.PumpPending();
    Select(m_pSeries, 1);
    ExpectScoutLineOf(1);
    for (int pane = 0; pane < 4; ++pane)
    {
        EXPECT_TRUE(LinesOf(m_pSeries->GetPane(pane)).empty()) << "the hot view shows none";
    }
    DumpPicture(m_pHost->m_hWnd, "RefLineSlice2OnLocalizer");

    Select(m_pSeries, 3);
    ExpectScoutLineOf(3);
    m_pSeries->PageDown();
    Select(m_pSeries, 2);
    ExpectScoutLineOf(6);
    DumpPicture(m_pHost->m_hWnd, "RefLineSlice7OnLocalizer");

    // Its pane was hot already: the viewer window works the lines out again
    // as the view becomes the active one.
    Select(m_pScout, 0);
    m_window.OnHotImageSelChanged(m_pScout, nullptr);
    m_harness.PumpPending();
    EXPECT_TRUE(LinesOf(m_pScout->GetPane(0)).empty());
    for (int pane = 0; pane < 4; ++pane)
    {
        const std::vector<ORoiRefLine*> lines = LinesOf(m_pSeries->GetPane(pane));
        ASSERT_EQ(lines.size(), 1u) << "pane " << pane;
        const std::optional<ExpectedLine> expected =
            IntersectPlanes(Localizer, m_slices[4 + pane].geometry);
        ASSERT_TRUE(expected.has_value());
        EXPECT_TRUE(SameEnds(*lines[0], *expected))
            << "pane " << pane << " " << Describe(*lines[0]);
    }
    DumpPicture(m_pHost->m_hWnd, "RefLineLocalizerOnSlices");
}

// Every slice's line on the localizer, 3 mm apart: the labels thin out to
// every step-th line, the step that keeps them a text height apart.
TEST_F(RefLineTwoViewsTest, LabelsOfCloseLinesThinOut)
{
    m_harness.PumpPending();
    auto* scout = static_cast<RefLineMedImage*>(m_pScout->GetPane(0));
    scout->DeleteRefLines();
    for (int index = 0; index < m_pSeries->GetImageLayout().GetNbOfImage(); ++index)
    {
        RefLine::ComputeLines(m_pScout, m_pSeries->GetImageLayout().GetImageAt(index), false);
    }
    const std::vector<ORoiRefLine*> lines = LinesOf(scout);
    ASSERT_EQ(lines.size(), 20u);
    // The text height of the font the pane paints its lines with.
    struct HeightProbe
    {
        RefLineMedImage* pane;
        int height = 0;
        void OnPaint(const void*, DelegateArgs* args)
        {
            auto* dc = static_cast<CDC*>(static_cast<PointerDelegateArgs*>(args)->m_pPointer);
            height = pane->GetTextSize(dc, " ").cy;
        }
    } probe{scout};
    scout->GetPaintEvent().Add(MakeHandler(&probe, &HeightProbe::OnPaint, "probe"));
    scout->Invalidate(FALSE);
    m_harness.PumpPending();
    scout->GetPaintEvent().Remove(MakeHandler(&probe, &HeightProbe::OnPaint, "probe"));
    DumpPicture(m_pHost->m_hWnd, "RefLineAllSlicesOnLocalizer");
    const int height = probe.height;
    ASSERT_GT(height, 0);

    const POINT first = scout->ImageToScreen(lines[0]->GetP1().x, lines[0]->GetP1().y);
    int step = 1;
    while (step < 20)
    {
        const POINT end = scout->ImageToScreen(lines[step]->GetP1().x, lines[step]->GetP1().y);
        const long dx = end.x - first.x;
        const long dy = end.y - first.y;
        if (dx * dx + dy * dy > long(height) * height)
        {
            break;
        }
        ++step;
    }
    ASSERT_GT(step, 1) << "the lines stand closer than a text height";
    ASSERT_LT(step, 20);
    for (int index = 0; index < 20; ++index)
    {
        EXPECT_EQ(lines[index]->IsLabelShown(), index % step == 0) << "line " << index;
    }
}

} // namespace
