// The viewer program as it starts, with its single-pane viewer window, on
// corpus files: the command-line file shown with its layers, recent files,
// presets on a CT, the orientation commands, saving the shown image in the
// three formats and copying it, and a DICOMDIR opened into the browser and
// imported with its progress in the status bar.
#include "AfxOle.h"
#include "AppTestSupport.h"
#include "ProgramTestSupport.h"

#include "CImageView.h"
#include "CdRomDrive.h"
#include "DICOMFile.h"
#include "ImageShow.h"
#include "MedImage.h"
#include "MetaImage.h"
#include "PelivoWebView.h"
#include "WinClipboard.h"
#include "WinFileDialog.h"

#include <fstream>
#include <unistd.h>
#include <utility>

namespace
{
namespace fs = std::filesystem;

const std::string kCT = CorpusFile("octave-dicom/CT-MONO2-16-ankle.dcm");
const std::string kDicomDir = CorpusFile("pydicom/test_files/dicomdirtests/DICOMDIR");

class PelivoRunTest : public ProgramTest<CPelivoWebView>
{
protected:
    explicit PelivoRunTest(std::vector<std::string> arguments = {})
        : ProgramTest(std::move(arguments))
    {
    }
    ImageShow* HotShow() const { return m_pView->GetHotImageShow(); }
    MedImage* Pane() const { return m_pView->GetHotImage(); }
    int Width() const { return HotShow()->GetMetaImage()->GetWindowWidth(); }
    int Center() const { return HotShow()->GetMetaImage()->GetWindowCenter(); }
    void ChooseFile(const fs::path& path, DWORD nFilter)
    {
        SetModalAnswerHook([](const ModalRequest& request) -> std::optional<INT_PTR>
                           { return request.kind == enModalKind::FileDialog ? IDOK : IDCANCEL; });
        SetFileDialogChoice({path.parent_path().string(), {path.filename().string()}, nFilter});
    }
    static std::string Head(const fs::path& path, std::size_t nBytes)
    {
        std::ifstream file(path, std::ios::binary);
        std::string bytes(nBytes, '\0');
        file.read(bytes.data(), static_cast<std::streamsize>(nBytes));
        return bytes;
    }
    fs::path TempFolder()
    {
        const fs::path folder =
            fs::temp_directory_path() / ("PelivoRunTest." + std::to_string(::getpid()));
        fs::create_directories(folder);
        m_folders.push_back(folder);
        return folder;
    }
    void TearDown() override
    {
        ProgramTest::TearDown();
        for (const fs::path& folder : m_folders)
            fs::remove_all(folder);
    }
    // The first patient of the browser chosen: its images become handles.
    void ChooseFirstPatient()
    {
        CDICOMDIRView& browser = m_pFrame->GetDicomDirBrowser();
        CColumnSortList& patients = browser.GetList(CDICOMDIRView::enPatient);
        patients.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        patients.SetSelectionMark(0);
        NMITEMACTIVATE notify{};
        notify.hdr = {patients.m_hWnd, static_cast<UINT_PTR>(patients.GetDlgCtrlID()), NM_CLICK};
        browser.SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    }
    std::vector<fs::path> m_folders;
};

class CommandLineTest : public PelivoRunTest
{
protected:
    CommandLineTest() : PelivoRunTest({kCT, "ignored.dcm"}) {}
};

TEST_F(CommandLineTest, TheFirstArgumentIsShownWithItsLayersAndTheWindowMarked)
{
    EXPECT_EQ(m_pView->GetNbOfImage(), 1);
    EXPECT_TRUE(m_pView->GetHotImage()->IsRulerShown());
    EXPECT_TRUE(m_pFrame->IsZoomed());
    EXPECT_NE(::GetPropA(m_pFrame->m_hWnd, InstanceName().c_str()), nullptr);
    // OLE runs: a window can take drops.
    COleDropTarget target;
    EXPECT_TRUE(target.Register(m_pFrame));
    target.Revoke();
    m_app.ExitInstance();
    EXPECT_EQ(::GetPropA(m_pFrame->m_hWnd, InstanceName().c_str()), nullptr);
}

TEST_F(CommandLineTest, ClosingTheMainWindowEndsTheProgramAndItsMarks)
{
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(m_app.ExitInstance(), 0);
}

// Started from the file's folder with the file's bare name: the library's
// start makes its own folder current before the name is used, so the name
// must stand for the file in the folder the program was started in.
class CStartedInCorpusFolder
{
protected:
    CStartedInCorpusFolder() : m_started(fs::current_path())
    {
        fs::current_path(fs::path(kCT).parent_path());
    }
    fs::path m_started;
};

class RelativeCommandLineTest : private CStartedInCorpusFolder, public PelivoRunTest
{
protected:
    RelativeCommandLineTest() : PelivoRunTest({fs::path(kCT).filename().string()}) {}
    void SetUp() override
    {
        fs::current_path(fs::temp_directory_path());
        PelivoRunTest::SetUp();
    }
    void TearDown() override
    {
        PelivoRunTest::TearDown();
        fs::current_path(m_started);
    }
};

TEST_F(RelativeCommandLineTest, ANameFromTheStartFolderIsShownWhateverFolderIsCurrentLater)
{
    EXPECT_EQ(m_pView->GetNbOfImage(), 1);
    EXPECT_STREQ(PaneText(3), "Total: 1");
}

TEST_F(PelivoRunTest, OpeningAFileShowsItWithLabelsOverlaysAndRuler)
{
    m_app.OpenPath(kCT.c_str());
    Idle();
    ASSERT_NE(HotShow(), nullptr);
    EXPECT_EQ(m_pView->GetNbOfImage(), 1);
    EXPECT_TRUE(m_pView->GetHotView()->IsLabelsShown());
    EXPECT_TRUE(m_pView->GetHotView()->IsOverlaysShown());
    EXPECT_TRUE(Pane()->IsRulerShown());
    EXPECT_TRUE(IsMarked(ID_LABELS_SHOW));
    EXPECT_TRUE(IsMarked(ID_OVERLAYS_SHOW));
    EXPECT_STREQ(PaneText(3), "Total: 1");
    const CString strName = m_pView->GetHotImageDicomValue(0x0010, 0x0010);
    EXPECT_STREQ(Title(), strName.IsEmpty() ? "Pelivo" : "Pelivo - " + strName);
    // A file that does not open changes nothing.
    m_app.OpenPath("/nonexistent/file.dcm");
    EXPECT_EQ(m_pView->GetNbOfImage(), 1);
}

// A click on a pane activates the image view inside the viewer window; the
// frame's view stays the viewer window, so its commands and loads go on.
TEST_F(PelivoRunTest, AClickOnAPaneKeepsTheViewerWindowTheFramesView)
{
    m_app.OpenPath(kCT.c_str());
    Idle();
    CRect rect;
    Pane()->GetClientRect(&rect);
    m_harness.Click(enMouseButton::Left,
                    CUiHarness::ScreenPoint(Pane()->m_hWnd, rect.Width() / 2, rect.Height() / 2));
    Idle();
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pView);
    EXPECT_STREQ(PaneText(3), "Total: 1");
    EXPECT_TRUE(IsButtonEnabled(ID_FILE_SAVE_IMAGE_AS));
    EXPECT_EQ(m_pFrame->LoadOneFile(CorpusFile("pydicom/test_files/MR_small.dcm").c_str()), 1);
    EXPECT_EQ(m_pView->GetNbOfSeries(), 2);
}

TEST_F(PelivoRunTest, ARecentFileAddsToWhatIsShownAndADeletedOneDoesNothing)
{
    const fs::path copy = TempFolder() / "copy.dcm";
    fs::copy_file(CorpusFile("pydicom/test_files/MR_small.dcm"), copy);
    m_app.AddToRecentFileList(kCT.c_str());
    m_app.AddToRecentFileList(copy.string().c_str());
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 1);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_pView->GetNbOfSeries(), 2);
    fs::remove(copy);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1);
    EXPECT_EQ(m_pView->GetNbOfSeries(), 2);
}

TEST_F(PelivoRunTest, PresetsSetTheWindowOfACT)
{
    m_app.OpenPath(kCT.c_str());
    ASSERT_TRUE(IsMenuEnabled(ID_WWWL_BONE + 2));
    // The image's tables are listed after the presets.
    EXPECT_TRUE(IsMenuEnabled(ID_LUT_FIRST));
    Command(ID_WWWL_BONE + 2);
    EXPECT_EQ(Width(), 1000);
    EXPECT_EQ(Center(), -675);
    Command(ID_WWWL_MIDRIFF);
    EXPECT_EQ(Width(), 400);
    EXPECT_EQ(Center(), 30);
    m_app.OpenPath(CorpusFile("pydicom/test_files/MR_small.dcm").c_str());
    EXPECT_FALSE(IsMenuEnabled(ID_WWWL_BONE));
}

TEST_F(PelivoRunTest, LayoutScopeAndToolCommandsChangeTheViewerWindow)
{
    m_app.OpenPath(kCT.c_str());
    Command(ID_LAYOUT_FIRST + 3);
    int nFirst = 0;
    int nSecond = 0;
    ASSERT_TRUE(m_pView->GetImageLayout(nFirst, nSecond));
    EXPECT_EQ(nFirst, 2);
    EXPECT_EQ(nSecond, 2);
    EXPECT_TRUE(IsMenuChecked(ID_LAYOUT_FIRST + 3));
    Command(ID_SCOPE_VIEW);
    EXPECT_EQ(m_pView->GetScope(), 1);
    Idle();
    EXPECT_STREQ(PaneText(1), "Scope: View");
    Command(ID_LEFT_MAG_GLASS);
    Command(ID_RIGHT_PAN);
    EXPECT_EQ(m_pView->GetLeftButton(), 3);
    EXPECT_EQ(m_pView->GetRightButton(), 5);
    EXPECT_TRUE(IsMenuChecked(ID_LEFT_MAG_GLASS));
    EXPECT_TRUE(IsButtonEnabled(ID_LEFT_MAG_GLASS));
}

TEST_F(PelivoRunTest, TheAboutBoxShowsItsTemplate)
{
    SetModalAnswerHook([](const ModalRequest&) -> std::optional<INT_PTR> { return IDOK; });
    Command(ID_APP_ABOUT);
    ASSERT_FALSE(GetModalRequests().empty());
    EXPECT_EQ(GetModalRequests().back().kind, enModalKind::Dialog);
    EXPECT_EQ(GetModalRequests().back().caption, "About Pelivo");
}

TEST_F(PelivoRunTest, TheKeysGoBackToTheImageWindowWhenTheAboutBoxCloses)
{
    m_app.OpenPath(kCT.c_str());
    CWnd* pPane = m_pView->GetHotImageWindow();
    ASSERT_NE(pPane, nullptr);
    pPane->SetFocus();
    ASSERT_EQ(CWnd::GetFocus(), pPane);
    SetModalWindowsRun(true);
    m_harness.Script().KeyPress(VK_ESCAPE);
    Command(ID_APP_ABOUT);
    EXPECT_EQ(GetModalRequests().back().caption, "About Pelivo");
    EXPECT_EQ(CWnd::GetFocus(), pPane);
}

TEST_F(PelivoRunTest, ClosingTheImageAndTheViewEmptiesTheScreen)
{
    m_app.OpenPath(kCT.c_str());
    Command(ID_VIEW_CLOSE_IMAGE);
    EXPECT_TRUE(m_pView->IsHotImageEmpty());
    m_app.OpenPath(kCT.c_str());
    m_app.OpenPath(CorpusFile("pydicom/test_files/MR_small.dcm").c_str());
    Command(ID_VIEW_CLOSE_VIEW);
    EXPECT_EQ(m_pView->GetNbOfSeries(), 0);
    EXPECT_TRUE(m_pView->IsHotImageEmpty());
    Idle();
    EXPECT_STREQ(Title(), "Pelivo");
}

TEST_F(PelivoRunTest, SavesTheShownImageInEachFormatAndCopiesIt)
{
    m_app.OpenPath(kCT.c_str());
    const fs::path folder = TempFolder();
    ChooseFile(folder / "image.dcm", 1);
    Command(ID_FILE_SAVE_IMAGE_AS);
    ChooseFile(folder / "image.bmp", 2);
    Command(ID_FILE_SAVE_IMAGE_AS);
    ChooseFile(folder / "image.jpg", 3);
    Command(ID_FILE_SAVE_IMAGE_AS);
    DICOMFile saved;
    EXPECT_TRUE(saved.ReadFile((folder / "image.dcm").string().c_str()));
    EXPECT_EQ(Head(folder / "image.bmp", 2), "BM");
    EXPECT_EQ(Head(folder / "image.jpg", 3), "\xFF\xD8\xFF");
    Command(ID_EDIT_COPY_TO_CLIPBOARD);
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_DIB));
    // The copy joins the series after the image.
    Command(ID_EDIT_COPY_TO_VIEW);
    EXPECT_EQ(m_pView->GetNbOfImage(), 2);
}

// A save that fails says so, naming the file and why; one that works says
// nothing.
TEST_F(PelivoRunTest, AFailedSaveTellsWhichFileAndWhy)
{
    m_app.OpenPath(kCT.c_str());
    const fs::path folder = TempFolder();
    fs::create_directory(folder / "taken.jpg");
    struct Case
    {
        fs::path path;
        DWORD nFilter;
        const char* pszWhy; // null: saved, nothing shown
    };
    const Case cases[] = {{folder / "missing" / "image.dcm", 1, "the folder does not exist"},
                          {folder / "taken.jpg", 3, "a folder has that name"},
                          {folder / "image.bmp", 2, nullptr}};
    for (const Case& c : cases)
    {
        std::vector<std::string> boxes;
        SetModalAnswerHook(
            [&boxes](const ModalRequest& request) -> std::optional<INT_PTR>
            {
                if (request.kind != enModalKind::FileDialog)
                    boxes.push_back(request.text);
                return IDOK;
            });
        SetFileDialogChoice(
            {c.path.parent_path().string(), {c.path.filename().string()}, c.nFilter});
        Command(ID_FILE_SAVE_IMAGE_AS);
        if (c.pszWhy == nullptr)
        {
            EXPECT_TRUE(boxes.empty()) << c.path;
            EXPECT_EQ(Head(c.path, 2), "BM");
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u) << c.path;
        EXPECT_NE(boxes[0].find("\"" + c.path.string() + "\""), std::string::npos) << boxes[0];
        EXPECT_NE(boxes[0].find(c.pszWhy), std::string::npos) << boxes[0];
    }
}

TEST_F(PelivoRunTest, FlipsAndTurnsMoveThePixelsOfTheImage)
{
    m_app.OpenPath(kCT.c_str());
    const auto pixel = [this](int x, int y)
    { return HotShow()->GetMetaImage()->GetMatrix()->GetPixelValue(x, y); };
    const int last = HotShow()->GetMetaImage()->GetMatrix()->GetWidth() - 1;
    // A point of the bone whose mirror and turned places hold other values.
    const int bone = pixel(220, 300);
    ASSERT_NE(bone, pixel(last - 220, 300));
    ASSERT_NE(bone, pixel(220, last - 300));
    ASSERT_NE(bone, pixel(last - 300, 220));
    Command(ID_TOOLS_FLIP_HORIZONTAL);
    EXPECT_EQ(pixel(last - 220, 300), bone);
    Command(ID_TOOLS_FLIP_HORIZONTAL);
    Command(ID_TOOLS_FLIP_VERTICAL);
    EXPECT_EQ(pixel(220, last - 300), bone);
    Command(ID_TOOLS_FLIP_VERTICAL);
    Command(ID_TOOLS_ROTATE_CW);
    EXPECT_EQ(pixel(last - 300, 220), bone);
    Command(ID_TOOLS_ROTATE_CCW);
    EXPECT_EQ(pixel(220, 300), bone);
}

TEST_F(PelivoRunTest, InvertZoomAndRestoreReachThePane)
{
    m_app.OpenPath(kCT.c_str());
    Command(ID_TOOLS_INVERT);
    EXPECT_TRUE(HotShow()->IsInvert());
    const double fit = Pane()->GetZoom();
    Command(ID_ZOOM_IN);
    EXPECT_GT(Pane()->GetZoom(), fit);
    Command(ID_TOOLS_RESTORE);
    EXPECT_DOUBLE_EQ(Pane()->GetZoom(), fit);
}

TEST_F(PelivoRunTest, ADicomDirOpensTheBrowserAndItsChoiceIsImportedWithProgress)
{
    m_app.OpenPath(kDicomDir.c_str());
    CDICOMDIRView& browser = m_pFrame->GetDicomDirBrowser();
    ASSERT_TRUE(::IsWindow(browser.m_hWnd));
    EXPECT_TRUE(browser.IsWindowVisible());
    EXPECT_GT(browser.GetList(CDICOMDIRView::enPatient).GetItemCount(), 0);
    ASSERT_GT(m_app.m_pRecentFileList->GetCount(), 0);
    EXPECT_STREQ((*m_app.m_pRecentFileList)[0], kDicomDir.c_str());
    ChooseFirstPatient();
    const int nHolders = static_cast<int>(browser.GetHolders().size());
    ASSERT_GT(nHolders, 1);
    // Closing while the import runs is refused.
    m_pFrame->PostMessage(WM_CLOSE);
    EXPECT_EQ(m_pFrame->SendMessage(WM_DICOMDIR_SELECTION), 1);
    EXPECT_TRUE(::IsWindow(m_pFrame->m_hWnd));
    m_harness.PumpPending();
    EXPECT_STREQ(PaneText(0), std::to_string(nHolders).c_str());
    EXPECT_FALSE(m_pView->IsHotImageEmpty());
    m_pFrame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    m_harness.PumpPending();
    KeepPicture(m_pFrame->m_hWnd, "PelivoRunImported");
    // Paging goes through the series shown.
    ASSERT_GE(m_pView->GetNbOfImage(), 3);
    Command(ID_NAV_LAST_PAGE);
    EXPECT_GT(m_pView->IndexOfHotImage(), 0);
    Command(ID_NAV_FIRST_PAGE);
    EXPECT_EQ(m_pView->IndexOfHotImage(), 0);
    EXPECT_TRUE(IsMarked(ID_RULER_SHOW));
    EXPECT_FALSE(m_pFrame->IsLoading());
    // The next command shows the browser again as it was left.
    browser.ShowWindow(SW_HIDE);
    Command(ID_FILE_OPEN_DICOMDIR);
    EXPECT_TRUE(browser.IsWindowVisible());
}
TEST_F(PelivoRunTest, TheBrowsersOwnOpenButtonLoadsAnotherDicomDir)
{
    m_app.OpenPath(kDicomDir.c_str());
    CDICOMDIRView& browser = m_pFrame->GetDicomDirBrowser();
    const std::string other = CorpusFile("pydicom/test_files/dicomdirtests/DICOMDIR-reordered");
    OPENFILENAMEA asked{};
    std::string title;
    std::string folder;
    SetModalAnswerHook(
        [&](const ModalRequest& request) -> std::optional<INT_PTR>
        {
            if (request.kind != enModalKind::FileDialog)
                return IDCANCEL;
            asked = *static_cast<OPENFILENAMEA*>(request.pData);
            title = asked.lpstrTitle != nullptr ? asked.lpstrTitle : "";
            folder = asked.lpstrInitialDir != nullptr ? asked.lpstrInitialDir : "";
            return IDOK;
        });
    SetFileDialogChoice({fs::path(other).parent_path().string(), {"DICOMDIR-reordered"}, 0});
    browser.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_OPEN_DICOMDIR, BN_CLICKED),
                        reinterpret_cast<LPARAM>(browser.GetDlgItem(IDC_OPEN_DICOMDIR)->m_hWnd));
    EXPECT_EQ(title, "Open DICOMDIR File");
    EXPECT_EQ(folder, FindFirstCdRomDrive());
    EXPECT_NE(asked.Flags & OFN_ALLOWMULTISELECT, 0u);
    EXPECT_NE(asked.Flags & OFN_FILEMUSTEXIST, 0u);
    EXPECT_STREQ((*m_app.m_pRecentFileList)[0], other.c_str());
    EXPECT_GT(browser.GetList(CDICOMDIRView::enPatient).GetItemCount(), 0);
}

TEST_F(PelivoRunTest, CinePlaysTheHotSeriesUntilCineOff)
{
    m_app.OpenPath(kDicomDir.c_str());
    ChooseFirstPatient();
    m_pFrame->SendMessage(WM_DICOMDIR_SELECTION);
    m_harness.PumpPending();
    ASSERT_GE(m_pView->GetNbOfImage(), 2);
    std::vector<std::string> shown;
    m_harness.Script()
        .Wait(200)
        .Do(
            [&]
            {
                EXPECT_NE(m_pFrame->GetCinePlayer(), nullptr);
                shown.emplace_back(PaneText(2));
            })
        .Wait(200)
        .Do([&] { shown.emplace_back(PaneText(2)); })
        .Do([&] { m_pFrame->PostMessage(WM_COMMAND, ID_CINE_OFF); });
    Command(ID_CINE_ON);
    EXPECT_FALSE(m_pFrame->IsPlaying());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0], shown[1]) << "the current-image pane follows the cine";
    EXPECT_EQ(m_pFrame->GetCinePlayer(), nullptr);
}
} // namespace
