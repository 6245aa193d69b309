// Operations on the hot image and on the images of the view's scope, DICOM
// queries, and saving the displayed image, checked by independent readers.
#include "../../Dicom/High/PeerToolSupport.h"
#include "ImageViewTestSupport.h"

#include "DICOMFile.h"

namespace
{

class ImageViewImageTest : public ImageViewTest
{
protected:
    void SetUp() override
    {
        ImageViewTest::SetUp();
        if (!std::filesystem::exists(SUITE_CORPUS_DIR))
        {
            GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
        }
        m_paths = WriteSlices(m_folder, {1, 2, 3, 4, 5, 6});
        ASSERT_EQ(m_paths.size(), 6u);
        m_pView->SetLayout("STANDARD\\2,2");
        OpenFiles(m_paths);
        ASSERT_NE(m_pView->GetHotImage(), nullptr);
    }

    // The orientation word of each image of the series.
    std::vector<std::string> Orientations() const
    {
        std::vector<std::string> words;
        for (int index = 0; index < 6; ++index)
        {
            words.emplace_back(m_pView->GetImageLayout().GetImageAt(index)->GetHVR());
        }
        return words;
    }

    std::vector<std::string> m_paths;
};

std::string Identify(const std::string& path)
{
    const PeerOutput output = RunPeer("identify -format '%m %w %h' '" + path + "'");
    return output.succeeded && !output.lines.empty() ? output.lines[0] : "";
}

} // namespace

TEST_F(ImageViewImageTest, OperationsFollowTheScope)
{
    m_pView->SetHighLight(1);
    m_pView->FlipHorizontal();
    EXPECT_EQ(Orientations(), (std::vector<std::string>{"", "H", "", "", "", ""}));
    m_pView->SetScope(2);
    m_pView->FlipHorizontal();
    EXPECT_EQ(Orientations(), (std::vector<std::string>{"H", "", "H", "H", "H", "H"}))
        << "also the images off the page";
    m_pView->SetScope(10);
    m_pView->GetImageLayout().GetImageAt(4)->SetSelected(true);
    m_pView->FlipVertical();
    EXPECT_EQ(Orientations(), (std::vector<std::string>{"H", "V", "H", "H", "H", "H"}))
        << "the hot pane is not selected: its image alone";
    m_pView->GetHotImage()->SetSelected(true);
    m_pView->OnCmdRotate180();
    const std::vector<std::string> words = Orientations();
    EXPECT_EQ(words[0], "H");
    EXPECT_NE(words[1], "V");
    EXPECT_NE(words[4], "H");
    EXPECT_EQ(words[5], "H");
}

TEST_F(ImageViewImageTest, WindowLevelOfTheHotImage)
{
    m_pView->SetWindowLevel(400, 40);
    int width = 0;
    int center = 0;
    m_pView->GetWindowLevel(&width, &center);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(center, 40);
    m_pView->SetHighLight(1);
    m_pView->GetWindowLevel(&width, &center);
    EXPECT_NE(width, 400);
}

TEST_F(ImageViewImageTest, QueriesReadTheImagesOfTheCurrentSeries)
{
    EXPECT_EQ(std::string(m_pView->GetHotImageFileName()), m_paths[0]);
    EXPECT_EQ(std::string(m_pView->GetHotImageDicomValue(0x0020, 0x0013)), "1");
    EXPECT_EQ(std::string(m_pView->GetDicomValueAt(4, 0x0020, 0x0013)), "5");
    EXPECT_EQ(std::string(m_pView->GetDicomFileNameAt(5)), m_paths[5]);
    EXPECT_TRUE(m_pView->GetDicomFileNameAt(6).IsEmpty());
    EXPECT_TRUE(m_pView->GetDicomValueAt(2, 0x0070, 0x0001).IsEmpty());
    const std::string xml(m_pView->GetDicomFileInfoXMLAt(3));
    EXPECT_NE(xml.find("<Value>1.2.826.0.1.3680043.2.1125.7.1.4</Value>"), std::string::npos);
    const std::string hotXml(m_pView->GetHotImageDicomFileInfoXML());
    EXPECT_NE(hotXml.find("<Value>1.2.826.0.1.3680043.2.1125.7.1.1</Value>"), std::string::npos);
    EXPECT_EQ(hotXml.find("<Group>0x0007</Group>"), std::string::npos) << "no working elements";
    DICOMFile copy;
    EXPECT_EQ(m_pView->GetDicomFileAt(2, &copy), 1);
    EXPECT_EQ(std::string(copy.GetLettra(0x0020, 0x0013)), "3");
    Array<ImageShow*> selected;
    m_pView->GetImageLayout().GetImageAt(5)->SetSelected(true);
    EXPECT_EQ(m_pView->GetSelectedImages(&selected), 0);
    EXPECT_EQ(selected.GetCount(), 1);
}

// The host takes the displayed image as a secondary capture from a file
// that is gone once it has answered; dcmtk's validator and pydicom accept it.
TEST_F(ImageViewImageTest, TheHotImageSavedForTheHostIsValidDicom)
{
    ImageShow* hot = m_pView->GetHotImage();
    hot->SetState(hot->GetState() | CImageView::SaveToHostState | ImageShow::enModified);
    m_pView->SetWindowLevel(300, 50);
    ASSERT_EQ(m_pView->SaveShowToLocalDB(hot), 1);
    EXPECT_FALSE(hot->IsModified());
    ASSERT_EQ(m_pHost->saved.size(), 1u);
    EXPECT_EQ(m_pHost->kinds, std::vector<WPARAM>{CImageView::SaveToHostKind});
    const std::string path = m_pHost->saved[0];
    DICOMFile saved;
    ASSERT_NE(saved.ReadFile(path.c_str()), 0);
    EXPECT_EQ(std::string(saved.GetLettra(0x0008, 0x0016)).substr(0, 25),
              "1.2.840.10008.5.1.4.1.1.7");
    if (HasPeerTool("dciodvfy"))
    {
        const PeerOutput output = RunPeer("dciodvfy '" + path + "'");
        for (const std::string& line : output.lines)
        {
            EXPECT_NE(line.rfind("Error", 0), 0u) << line;
        }
    }
    const std::string python = GetPydicomPython();
    if (!python.empty())
    {
        const PeerOutput output =
            RunPeer(python +
                    " -c 'import sys, pydicom; d = pydicom.dcmread(sys.argv[1]); "
                    "print(d.Rows, d.Columns, d.BitsAllocated, len(d.PixelData))' '" +
                    path + "'");
        ASSERT_TRUE(output.succeeded) << (output.lines.empty() ? "" : output.lines.back());
        EXPECT_EQ(output.lines.back(), "128 128 8 16384") << "the displayed grey levels";
    }
}

// Without the host flag the displayed image goes over the image's own file
// (here a copy the test made).
TEST_F(ImageViewImageTest, WithoutTheHostFlagTheImageFileIsRewritten)
{
    ASSERT_EQ(m_pView->SaveShowToLocalDB(m_pView->GetHotImage()), 1);
    EXPECT_TRUE(m_pHost->saved.empty());
    DICOMFile rewritten;
    ASSERT_NE(rewritten.ReadFile(m_paths[0].c_str()), 0);
    EXPECT_EQ(std::string(rewritten.GetLettra(0x0008, 0x0016)).substr(0, 25),
              "1.2.840.10008.5.1.4.1.1.7");
}

TEST_F(ImageViewImageTest, TheHotImageSavedAsBitmapAndJpegReadsBack)
{
    if (!HasPeerTool("identify"))
    {
        GTEST_SKIP() << "no image reader";
    }
    ImageShow* hot = m_pView->GetHotImage();
    const std::string bitmap = m_folder.GetPath("hot.bmp");
    const std::string jpeg = m_folder.GetPath("hot.jpg");
    ASSERT_TRUE(hot->SaveAsBitmap(bitmap.c_str()));
    ASSERT_TRUE(hot->SaveAsJPEG(jpeg.c_str()));
    EXPECT_EQ(Identify(bitmap).substr(0, 3), "BMP");
    EXPECT_EQ(Identify(bitmap).substr(Identify(bitmap).find(' ')), " 128 128");
    EXPECT_EQ(Identify(jpeg), "JPEG 128 128");
}

TEST_F(ImageViewImageTest, RestoringForgetsTheViewStateOfTheSeries)
{
    m_pView->SetScope(1);
    m_pView->Invert();
    ImageShow* offPage = m_pView->GetImageLayout().GetImageAt(5);
    EXPECT_TRUE(offPage->IsInvert());
    offPage->SetZoom(2.0);
    m_pView->RestoreAllImage();
    EXPECT_FALSE(offPage->IsInvert());
    EXPECT_EQ(offPage->GetZoom(), -1.0);
    EXPECT_FALSE(m_pView->GetHotImage()->IsInvert());
}
