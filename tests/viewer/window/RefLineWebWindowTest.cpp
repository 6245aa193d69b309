// Reference lines in the viewer window: a localizer and an axial series in
// two views of the grid; a press on an image of one view makes it the hot
// image and the other view shows its line.
#include "RefLineTestSupport.h"
#include "WebWindowTestSupport.h"

namespace
{

// A coronal localizer and axial slices 3 mm apart across its lower half.
const DicomGeometry Localizer = {512, 400, 0.8, 0.6, {1, 0, 0}, {0, 0, -1}, {-250, 0, 200}};

DicomGeometry AxialAt(double z)
{
    return {256, 256, 0.7, 0.7, {1, 0, 0}, {0, 1, 0}, {-89.6, -89.6, z}};
}

class RefLineWebWindowTest : public WebWindowTest
{
protected:
    void SetUp() override
    {
        WebWindowTest::SetUp();
        // The host's start, then two views side by side.
        StartAsHost();
        ASSERT_TRUE(m_pWindow->SetViewLayout(1, 2));
        PlaneImageSpec localizer;
        localizer.geometry = Localizer;
        std::vector<std::string> paths = {Write(localizer, "localizer.dcm")};
        for (int index = 0; index < 8; ++index)
        {
            PlaneImageSpec slice;
            slice.geometry = AxialAt(-30 + 3 * index);
            slice.instance = index + 1;
            slice.series = "1.2.826.0.1.3680043.2.1125.37.6";
            m_slices.push_back(slice);
            paths.push_back(Write(slice, "slice" + std::to_string(index) + ".dcm"));
        }
        Open(paths);
        // Every view took both series; the right one shows the slices.
        View(0, 1)->ShowSeriesAt(1);
        m_harness.PumpPending();
    }

    std::string Write(const PlaneImageSpec& spec, const std::string& name)
    {
        DICOMImage* image = MakePlaneImage(spec);
        image->BuildMetaHead();
        const std::string path = m_folder.GetPath(name);
        EXPECT_NE(image->WriteFile(path.c_str(), 1), 0);
        delete image;
        return path;
    }

    // The press on a pane of a view, as the pane announces it, with the view
    // made the active one first.
    void Press(int column, int pane)
    {
        CImageView* view = View(0, column);
        m_pWindow->SetActiveView(view);
        DelegateArgs press;
        view->GetPane(pane)->GetClickedEvent().Invoke(view->GetPane(pane), &press);
        m_harness.PumpPending();
    }

    std::vector<PlaneImageSpec> m_slices;
};

TEST_F(RefLineWebWindowTest, TheHotImagesLineShowsInTheOtherView)
{
    CImageView* scout = View(0, 0);
    CImageView* series = View(0, 1);
    ASSERT_EQ(InstanceOf(scout->GetPaneImage(0)), 1);
    ASSERT_EQ(Instances(series), (std::vector<int>{1, 2}));
    ASSERT_EQ(series->GetPaneImage(0)->GetDicomValue(0x0020, 0x000E),
              Lettra(m_slices[0].series.c_str()));

    for (int pane : {1, 0})
    {
        Press(1, pane);
        const std::vector<ORoiRefLine*> lines = LinesOf(scout->GetPane(0));
        ASSERT_EQ(lines.size(), 1u) << "slice " << pane + 1;
        const std::optional<ExpectedLine> expected =
            IntersectPlanes(m_slices[pane].geometry, Localizer);
        ASSERT_TRUE(expected.has_value());
        EXPECT_TRUE(SameEnds(*lines[0], *expected)) << Describe(*lines[0]);
        EXPECT_EQ(std::string(lines[0]->GetLabelText()), std::to_string(pane + 1));
        EXPECT_TRUE(LinesOf(series->GetPane(0)).empty()) << "the hot view shows no lines";
        Picture("RefLineWebWindowSlice" + std::to_string(pane + 1));
    }

    Press(0, 0);
    EXPECT_TRUE(LinesOf(scout->GetPane(0)).empty());
    for (int pane = 0; pane < 2; ++pane)
    {
        const std::vector<ORoiRefLine*> lines = LinesOf(series->GetPane(pane));
        ASSERT_EQ(lines.size(), 1u) << "pane " << pane;
        const std::optional<ExpectedLine> expected =
            IntersectPlanes(Localizer, m_slices[pane].geometry);
        ASSERT_TRUE(expected.has_value());
        EXPECT_TRUE(SameEnds(*lines[0], *expected)) << Describe(*lines[0]);
    }
    Picture("RefLineWebWindowLocalizer");
}

} // namespace
