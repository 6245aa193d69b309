// The main frame over a recording viewer window: what each command asks of
// the view, the enabling and check-mark rules at idle time, the status-bar
// panes and the title, the lookup-table items of the WW/WL popup, the open
// and save dialogs and the cine loop with its speed changes, Escape and the
// refused close.
#include "FakeViewer.h"
#include "ProgramTestSupport.h"
#include "WinFileDialog.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <unistd.h>

IMPLEMENT_DYNCREATE(CFakeViewer, CView)
BEGIN_MESSAGE_MAP(CFakeViewer, CView)
ON_MESSAGE(WM_SET_PROMPT_TEXT, OnSetPrompt)
ON_MESSAGE(WM_OPEN_HOLDER, OnOpen)
END_MESSAGE_MAP()

namespace
{
using Calls = std::vector<std::string>;

class MainFrameTest : public ProgramTest<CFakeViewer>
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        m_pView->calls.clear();
    }

    // Every command of the main menu, its popups included.
    static void CollectCommands(CMenu* pMenu, std::vector<UINT>& ids)
    {
        for (UINT i = 0; i < pMenu->GetMenuItemCount(); ++i)
        {
            if (CMenu* pSub = pMenu->GetSubMenu(static_cast<int>(i)))
                CollectCommands(pSub, ids);
            else if (pMenu->GetMenuItemID(static_cast<int>(i)) != 0)
                ids.push_back(pMenu->GetMenuItemID(static_cast<int>(i)));
        }
    }
    std::set<UINT> EnabledMenuCommands()
    {
        std::vector<UINT> ids;
        CollectCommands(m_pFrame->GetMenu(), ids);
        std::set<UINT> enabled;
        for (UINT nID : ids)
            if (IsMenuEnabled(nID))
                enabled.insert(nID);
        return enabled;
    }
    // The texts of the WW/WL popup after its separator of presets.
    std::vector<std::string> LutItems()
    {
        MenuState(ID_WWWL_AUTO);
        CMenu* pPopup = PopupOf(ID_WWWL_AUTO);
        std::vector<std::string> items;
        for (UINT i = 9; i < pPopup->GetMenuItemCount(); ++i)
        {
            CString strText;
            pPopup->GetMenuString(i, strText, MF_BYPOSITION);
            items.push_back(std::to_string(pPopup->GetMenuItemID(static_cast<int>(i))) + " " +
                            static_cast<const char*>(strText));
        }
        return items;
    }
    void AnswerFileDialog(const std::string& folder, std::vector<std::string> names,
                          DWORD nFilter = 0)
    {
        SetModalAnswerHook(
            [](const ModalRequest& request) -> std::optional<INT_PTR>
            {
                if (request.kind == enModalKind::FileDialog)
                    return IDOK;
                return request.nDefaultAnswer;
            });
        SetFileDialogChoice({folder, std::move(names), nFilter});
    }
    std::vector<std::string> MessageBoxes()
    {
        std::vector<std::string> texts;
        for (const ModalRequest& request : GetModalRequests())
            if (request.kind == enModalKind::MessageBox)
                texts.push_back(request.text);
        return texts;
    }
};

TEST_F(MainFrameTest, StartsWithItsMenuToolbarStatusBarAndTheViewsGrid)
{
    CMenu* pMenu = m_pFrame->GetMenu();
    ASSERT_NE(pMenu, nullptr);
    std::vector<std::string> captions;
    for (UINT i = 0; i < pMenu->GetMenuItemCount(); ++i)
    {
        CString strText;
        pMenu->GetMenuString(i, strText, MF_BYPOSITION);
        captions.emplace_back(strText);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"File(&F)", "Edit(&E)", "View(&V)", "Layout(&L)",
                                                  "Navigation(&N)", "Tools(&T)", "WW/WL(&W)",
                                                  "Control(&C)", "Help(&H)"}));
    CString strFlip;
    PopupOf(ID_TOOLS_FLIP_HORIZONTAL)->GetMenuString(ID_TOOLS_FLIP_HORIZONTAL, strFlip, 0);
    EXPECT_STREQ(strFlip, "Flip Horizonal");
    EXPECT_EQ(m_pFrame->GetToolBar().GetCount(), 52);
    EXPECT_EQ(m_pFrame->GetToolBar().CommandToIndex(ID_APP_ABOUT), 51);
    CStatusBar& bar = m_pFrame->GetStatusBar();
    ASSERT_EQ(bar.GetCount(), 7);
    const UINT ids[] = {ID_SEPARATOR,       ID_INDICATOR_SCOPE, ID_INDICATOR_CURRENT,
                        ID_INDICATOR_TOTAL, ID_INDICATOR_CAPS,  ID_INDICATOR_NUM,
                        ID_INDICATOR_SCRL};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(bar.GetItemID(i), ids[i]) << i;
    UINT nID = 0;
    UINT nStyle = 0;
    int cx = 0;
    bar.GetPaneInfo(1, nID, nStyle, cx);
    EXPECT_EQ(cx, 100);
    bar.GetPaneInfo(2, nID, nStyle, cx);
    EXPECT_EQ(cx, 40);
    EXPECT_STREQ(m_pView->strPrompt, "Not intended for diagnostic use !");
    EXPECT_EQ(m_pView->nRows, 1);
    EXPECT_EQ(m_pView->nColumns, 1);
    EXPECT_STREQ(Title(), "Pelivo");
    EXPECT_STREQ(PaneText(1), "Scope: Image");
    EXPECT_STREQ(PaneText(2), "0");
    EXPECT_STREQ(PaneText(3), "Total: 0");
}

TEST_F(MainFrameTest, CtrlOOpensFilesAndCtrlSSavesNothing)
{
    int nOpened = 0;
    SetModalAnswerHook(
        [&nOpened](const ModalRequest& request) -> std::optional<INT_PTR>
        {
            nOpened += request.kind == enModalKind::FileDialog ? 1 : 0;
            return IDCANCEL;
        });
    ::SetFocus(m_pView->m_hWnd);
    m_harness.KeyDown(VK_CONTROL);
    m_harness.KeyPress('S');
    m_harness.KeyPress('O');
    m_harness.KeyUp(VK_CONTROL);
    // Through the program's loop, which turns keys into commands.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT)
        m_app.PumpMessage();
    EXPECT_EQ(nOpened, 1) << "Open File's dialog, and no save dialog";
}

TEST_F(MainFrameTest, WithNoImageOnlyOpeningExitTheBarsAndAboutAreEnabled)
{
    m_pView->Show(0, -1);
    const std::set<UINT> expected = {ID_FILE_OPEN_DICOMDIR, ID_FILE_OPEN,       ID_APP_EXIT,
                                     ID_VIEW_TOOLBAR,       ID_VIEW_STATUS_BAR, ID_APP_ABOUT};
    EXPECT_EQ(EnabledMenuCommands(), expected);
    EXPECT_TRUE(IsButtonEnabled(ID_FILE_OPEN));
    EXPECT_FALSE(IsButtonEnabled(ID_TOOLS_INVERT));
    EXPECT_FALSE(IsButtonEnabled(ID_SHOW_REPORT));
}

TEST_F(MainFrameTest, AnImageEnablesTheImageCommandsAndPresetsOnlyForCT)
{
    m_pView->Show(3, 1);
    EXPECT_TRUE(IsMenuEnabled(ID_TOOLS_INVERT));
    EXPECT_TRUE(IsMenuEnabled(ID_LEFT_PAN));
    EXPECT_TRUE(IsMenuEnabled(ID_LAYOUT_FIRST));
    EXPECT_TRUE(IsMenuEnabled(ID_WWWL_BONE));
    EXPECT_TRUE(IsButtonEnabled(ID_VIEW_LAYOUT_LAST));
    EXPECT_FALSE(IsMenuEnabled(ID_CINE_OFF));
    EXPECT_FALSE(IsButtonEnabled(ID_SHOW_REPORT));
    m_pView->strModality = "MR";
    EXPECT_FALSE(IsMenuEnabled(ID_WWWL_BONE));
    EXPECT_FALSE(IsMenuEnabled(ID_WWWL_MIDRIFF));
    EXPECT_TRUE(IsMenuEnabled(ID_WWWL_AUTO));
    // Images in the view, none hot: count rule yes, image rule no.
    m_pView->bHotEmpty = true;
    EXPECT_TRUE(IsMenuEnabled(ID_NAV_PAGE_DOWN));
    EXPECT_FALSE(IsMenuEnabled(ID_TOOLS_ROTATE_CW));
}

TEST_F(MainFrameTest, EachCommandCallsTheViewAsItsTableSays)
{
    m_pView->Show(4, 0);
    const std::vector<std::pair<UINT, Calls>> table = {
        {ID_EDIT_COPY_TO_CLIPBOARD, {"CopyHotImageToClipboard"}},
        {ID_EDIT_COPY_TO_VIEW, {"CopyHotImage"}},
        {ID_VIEW_CLOSE_IMAGE, {"CloseHotImage"}},
        {ID_VIEW_CLOSE_VIEW, {"ClearScreen"}},
        {ID_LABELS_HIDE, {"ShowLabels(0)"}},
        {ID_OVERLAYS_SHOW, {"ShowOverlays(1)"}},
        {ID_RULER_HIDE, {"ShowRuler(0)"}},
        {ID_CLEAR_ANNOTATION, {"ClearAllImageAnnotation"}},
        {ID_LAYOUT_FIRST + 1, {"SetSeriesLayout(1,2)"}},
        {ID_LAYOUT_LAST, {"SetSeriesLayout(4,4)"}},
        {ID_VIEW_LAYOUT_FIRST + 2, {"SetViewLayout(2,1)"}},
        {ID_NAV_PAGE_DOWN, {"PageDown"}},
        {ID_NAV_PAGE_UP, {"PageUp"}},
        {ID_NAV_FIRST_PAGE, {"FirstPage"}},
        {ID_NAV_LAST_PAGE, {"LastPage"}},
        {ID_NAV_LINE_DOWN, {"LineDown"}},
        {ID_NAV_IMAGE_UP, {"ImageUp"}},
        {ID_SCOPE_VIEW, {"SetScope(1)"}},
        {ID_TOOLS_RESTORE, {"RestoreHotView"}},
        {ID_SCOPE_IMAGE, {"SetScope(0)"}},
        {ID_TOOLS_RESTORE, {"RestoreHotImage"}},
        {ID_TOOLS_ROTATE_CW, {"Rotate(3)"}},
        {ID_TOOLS_ROTATE_CCW, {"Rotate(1)"}},
        {ID_TOOLS_FLIP_HORIZONTAL, {"FlipHorizontal"}},
        {ID_TOOLS_FLIP_VERTICAL, {"FlipVertical"}},
        {ID_TOOLS_INVERT, {"Invert"}},
        {ID_ZOOM_FIT, {"ZoomFitInWindow"}},
        {ID_ZOOM_PIXEL, {"ZoomPixelByPixel"}},
        {ID_ZOOM_IN, {"ZoomIn"}},
        {ID_ZOOM_OUT, {"ZoomOut"}},
        {ID_LEFT_WINDOW_LEVEL, {"SetLeftButton(1)"}},
        {ID_RIGHT_MAG_GLASS, {"SetRightButton(3)"}},
        {ID_LEFT_ANGLE, {"SetLeftButton(7)"}},
        {ID_RIGHT_TEXT, {"SetRightButton(11)"}},
        {ID_LEFT_SELECTOR, {"SetLeftButton(12)"}},
        {ID_WWWL_AUTO, {"AutoWindowLevel"}},
        {ID_WWWL_BONE, {"SetWindowLevel(1500,300)"}},
        {ID_WWWL_BONE + 1, {"SetWindowLevel(150,50)"}},
        {ID_WWWL_BONE + 2, {"SetWindowLevel(1000,-675)"}},
        {ID_WWWL_BONE + 3, {"SetWindowLevel(90,90)"}},
        {ID_WWWL_BONE + 4, {"SetWindowLevel(1400,300)"}},
        {ID_WWWL_MIDRIFF, {"SetWindowLevel(400,30)"}},
        {ID_LUT_FIRST + 2, {"SelectLUT(2)"}},
    };
    for (const auto& [nID, expected] : table)
    {
        m_pView->calls.clear();
        Command(nID);
        EXPECT_EQ(m_pView->calls, expected) << nID;
    }
}

TEST_F(MainFrameTest, CommandsMarkTheirMenuItemsAtOnce)
{
    m_pView->Show(2, 0);
    Command(ID_LEFT_PAN);
    EXPECT_TRUE(IsMarked(ID_LEFT_PAN));
    EXPECT_FALSE(IsMarked(ID_LEFT_ZOOM));
    EXPECT_FALSE(IsMarked(ID_RIGHT_PAN));
    // A tool without a menu item leaves that button's items unchecked.
    Command(ID_LEFT_TEXT);
    EXPECT_FALSE(IsMarked(ID_LEFT_PAN));
    EXPECT_EQ(m_pView->nLeft, 11);
    Command(ID_LAYOUT_FIRST + 3);
    EXPECT_TRUE(IsMarked(ID_LAYOUT_FIRST + 3));
    Command(ID_LAYOUT_FIRST + 4);
    EXPECT_FALSE(IsMarked(ID_LAYOUT_FIRST + 3));
    EXPECT_TRUE(IsMarked(ID_LAYOUT_FIRST + 4));
    Command(ID_SCOPE_VIEW);
    EXPECT_TRUE(IsMarked(ID_SCOPE_VIEW));
    EXPECT_FALSE(IsMarked(ID_SCOPE_IMAGE));
    Command(ID_RULER_HIDE);
    EXPECT_TRUE(IsMarked(ID_RULER_HIDE));
    EXPECT_FALSE(IsMarked(ID_RULER_SHOW));
    Command(ID_LABELS_SHOW);
    EXPECT_TRUE(IsMarked(ID_LABELS_SHOW));
    // The update rules check what the view reports.
    m_pView->nFirst = 2;
    m_pView->nSecond = 1;
    EXPECT_TRUE(IsMenuChecked(ID_LAYOUT_FIRST + 2));
    EXPECT_FALSE(IsMenuChecked(ID_LAYOUT_FIRST + 4));
    m_pView->nRight = 6;
    EXPECT_TRUE(IsMenuChecked(ID_RIGHT_DISTANCE));
}

TEST_F(MainFrameTest, LineRulesFollowTheRowOfTheHotImage)
{
    // Two columns, five images: the hot fifth image is in the last row.
    m_pView->Show(5, 4);
    m_pView->nSecond = 2;
    const auto enabled = [&](UINT nID)
    {
        struct Probe : CCmdUI
        {
            BOOL bOn = FALSE;
            void Enable(BOOL b) override { bOn = b; }
            void SetCheck(int) override {}
            void SetText(LPCSTR) override {}
        } ui;
        ui.m_nID = nID;
        ui.DoUpdate(m_pFrame, FALSE);
        return ui.bOn != FALSE;
    };
    EXPECT_FALSE(enabled(ID_NAV_LINE_DOWN));
    EXPECT_TRUE(enabled(ID_NAV_LINE_UP));
    EXPECT_FALSE(enabled(ID_NAV_IMAGE_DOWN));
    EXPECT_TRUE(enabled(ID_NAV_IMAGE_UP));
    m_pView->Show(5, 1);
    EXPECT_TRUE(enabled(ID_NAV_LINE_DOWN));
    EXPECT_FALSE(enabled(ID_NAV_LINE_UP));
    EXPECT_TRUE(enabled(ID_NAV_IMAGE_DOWN));
    // A layout without columns gives no rows: both stay disabled.
    m_pView->nSecond = 0;
    EXPECT_FALSE(enabled(ID_NAV_LINE_DOWN));
    EXPECT_FALSE(enabled(ID_NAV_LINE_UP));
}

TEST_F(MainFrameTest, LookupTablesBecomeItemsOfTheWindowLevelPopupEachTimeItOpens)
{
    m_pView->Show(1, 0);
    m_pView->strLuts = "Linear|Sigmoid|Inverse";
    const std::vector<std::string> three = {"110 Linear", "111 Sigmoid", "112 Inverse"};
    EXPECT_EQ(LutItems(), three);
    EXPECT_EQ(LutItems(), three) << "opened again, rebuilt without duplicates";
    EXPECT_TRUE(IsMenuEnabled(ID_LUT_FIRST + 1));
    m_pView->strLuts = "A|B|C|D|E|F|G|H|I|J";
    const std::vector<std::string> eight = {"110 A", "111 B", "112 C", "113 D",
                                            "114 E", "115 F", "116 G", "117 H"};
    EXPECT_EQ(LutItems(), eight);
    EXPECT_EQ(LutItems(), eight) << "entries without a command are not piled up";
    m_pView->strLuts = "|Solo";
    EXPECT_EQ(LutItems(), (std::vector<std::string>{"110 |Solo"}));
    m_pView->bHotEmpty = true;
    EXPECT_TRUE(LutItems().empty());
}

TEST_F(MainFrameTest, StatusPanesAndTitleFollowTheView)
{
    m_pView->Show(7, 2);
    m_pView->nScope = 1;
    m_pView->strPatient = "Doe^Jane";
    Idle();
    EXPECT_STREQ(PaneText(1), "Scope: View");
    EXPECT_STREQ(PaneText(2), "3");
    EXPECT_STREQ(PaneText(3), "Total: 7");
    EXPECT_STREQ(Title(), "Pelivo - Doe^Jane");
    m_pView->nScope = 3;
    m_pView->Show(0, -1);
    Idle();
    EXPECT_STREQ(PaneText(1), "Scope: UnKnown");
    EXPECT_STREQ(Title(), "Pelivo");
}

TEST_F(MainFrameTest, OpenFileClearsTheScreenAndLoadsEveryChosenFileInOrder)
{
    const std::string folder = CorpusFile("pydicom/test_files");
    AnswerFileDialog(folder, {"CT_small.dcm", "MR_small.dcm", "rtplan.dcm"});
    m_pView->Show(1, 0);
    Command(ID_FILE_OPEN);
    EXPECT_EQ(m_pView->calls, (Calls{"ClearScreen", "Open(1)", "Open(1)", "Open(1)",
                                     "ShowLabels(1)", "ShowOverlays(1)", "ShowRuler(1)"}));
    ASSERT_NE(m_app.m_pRecentFileList, nullptr);
    ASSERT_EQ(m_app.m_pRecentFileList->GetCount(), 3);
    EXPECT_STREQ((*m_app.m_pRecentFileList)[0], (folder + "/rtplan.dcm").c_str());
    EXPECT_STREQ((*m_app.m_pRecentFileList)[2], (folder + "/CT_small.dcm").c_str());
    EXPECT_TRUE(IsMarked(ID_LABELS_SHOW));
    EXPECT_TRUE(IsMarked(ID_RULER_SHOW));
    EXPECT_FALSE(m_pFrame->IsLoading());
}

TEST_F(MainFrameTest, EachLoadTakesTheNextTransactionNumber)
{
    const std::string path = CorpusFile("pydicom/test_files/CT_small.dcm");
    EXPECT_EQ(m_pFrame->LoadOneFile(path.c_str()), 1);
    EXPECT_EQ(m_pFrame->LoadOneFile(path.c_str()), 1);
    ASSERT_EQ(m_pView->transactions.size(), 2u);
    EXPECT_EQ(m_pView->transactions[1], m_pView->transactions[0] + 1);
}

TEST_F(MainFrameTest, ACancelledOpenChangesNothingAndShowsNoMessage)
{
    SetModalAnswerHook([](const ModalRequest&) -> std::optional<INT_PTR> { return IDCANCEL; });
    Command(ID_FILE_OPEN);
    EXPECT_TRUE(m_pView->calls.empty());
    EXPECT_TRUE(MessageBoxes().empty());
}

TEST_F(MainFrameTest, TooManyFilesForTheBufferAreReported)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("PelivoRunMany." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::vector<std::string> names;
    for (int i = 0; i < 400; ++i)
    {
        names.push_back(std::string(100, 'a') + std::to_string(i) + ".dcm");
        std::ofstream(folder / names.back()).put('x');
    }
    AnswerFileDialog(folder.string(), names);
    Command(ID_FILE_OPEN);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(m_pView->calls.empty());
    EXPECT_EQ(MessageBoxes(), (std::vector<std::string>{
                                  "You have selected too many files one time, please try again."}));
}

TEST_F(MainFrameTest, SaveAsWritesThroughTheViewByFilterWithTheFullPath)
{
    m_pView->Show(1, 0);
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::pair<DWORD, std::string> table[] = {
        {1, "SaveDicom "}, {2, "SaveBitmap "}, {3, "SaveJPEG "}};
    for (const auto& [nFilter, call] : table)
    {
        m_pView->calls.clear();
        AnswerFileDialog(folder, {"picture.out"}, nFilter);
        Command(ID_FILE_SAVE_IMAGE_AS);
        EXPECT_EQ(m_pView->calls, Calls{call + folder + "/picture.out"}) << nFilter;
    }
    m_pView->Show(0, -1);
    m_pView->calls.clear();
    Command(ID_FILE_SAVE_IMAGE_AS);
    EXPECT_TRUE(m_pView->calls.empty());
    EXPECT_TRUE(MessageBoxes().empty());
}

class CineTest : public MainFrameTest
{
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        m_pView->Show(10, 0);
        m_pView->nLeft = 5;
        m_pView->nRight = 1;
    }
    // Runs Cine On; the script plays inside the loop.
    void Play() { Command(ID_CINE_ON); }
    void PostCommand(UINT nID)
    {
        m_harness.Script().Do([this, nID] { m_pFrame->PostMessage(WM_COMMAND, nID); });
    }
    int Count(const std::string& call) const
    {
        return static_cast<int>(std::count(m_pView->calls.begin(), m_pView->calls.end(), call));
    }
};

TEST_F(CineTest, PlaysAFrameEachIntervalAndCineOffRestoresTheTools)
{
    m_harness.Script().Wait(199).Wait(1).Wait(200).Do(
        [this]
        {
            EXPECT_TRUE(m_pFrame->IsPlaying());
            EXPECT_EQ(m_pView->nLeft, 0);
            EXPECT_EQ(m_pView->nRight, 0);
            Idle();
            EXPECT_STREQ(PaneText(2), "3");
            EXPECT_FALSE(IsMenuEnabled(ID_FILE_OPEN));
            EXPECT_FALSE(IsMenuEnabled(ID_TOOLS_INVERT));
            EXPECT_FALSE(IsMenuEnabled(ID_APP_EXIT));
            EXPECT_TRUE(IsMenuEnabled(ID_CINE_OFF));
            EXPECT_TRUE(IsMenuEnabled(ID_CINE_BOUNCE));
            EXPECT_TRUE(IsMenuEnabled(ID_VIEW_TOOLBAR));
        });
    PostCommand(ID_CINE_OFF);
    Play();
    EXPECT_EQ(Count("cine.Next"), 2);
    EXPECT_EQ(Count("cine.Quit(0)"), 1);
    EXPECT_FALSE(m_pFrame->IsPlaying());
    EXPECT_EQ(m_pFrame->GetCinePlayer(), nullptr);
    EXPECT_EQ(m_pView->nLeft, 5);
    EXPECT_EQ(m_pView->nRight, 1);
    EXPECT_TRUE(IsMarked(ID_LEFT_PAN));
}

TEST_F(CineTest, SpeedCommandsChangeTheIntervalWithoutBounds)
{
    PostCommand(ID_CINE_UP);
    m_harness.Script().Do([this] { EXPECT_EQ(m_pFrame->GetCineInterval(), 300.0); });
    PostCommand(ID_CINE_BOUNCE);
    m_harness.Script().Do([this] { EXPECT_EQ(m_pFrame->GetCineInterval(), 310.0); });
    // At an interval of 0 or below every pass of the loop shows a frame,
    // so the queue never runs empty again: the stop comes with the steps.
    m_harness.Script().Do(
        [this]
        {
            m_pView->calls.clear();
            for (int i = 0; i < 5; ++i)
                m_pFrame->PostMessage(WM_COMMAND, ID_CINE_DOWN);
            m_pFrame->PostMessage(WM_COMMAND, ID_CINE_OFF);
        });
    Play();
    EXPECT_EQ(m_pFrame->GetCineInterval(), -190.0);
    EXPECT_EQ(Count("cine.PlayDown"), 5);
    EXPECT_GE(Count("cine.Next"), 2);
    EXPECT_FALSE(m_pFrame->IsPlaying());
}

TEST_F(CineTest, EscapeStopsTheCineAsCineOffDoes)
{
    m_harness.Script().Wait(200).KeyPress(VK_ESCAPE);
    Play();
    EXPECT_FALSE(m_pFrame->IsPlaying());
    EXPECT_EQ(Count("cine.Quit(0)"), 1);
    EXPECT_EQ(m_pView->nLeft, 5);
    EXPECT_EQ(m_pView->nRight, 1);
    // The key stays queued for the view; the next start saves the
    // restored tools again.
    m_harness.PumpPending();
    m_pView->calls.clear();
    PostCommand(ID_CINE_OFF);
    Play();
    EXPECT_EQ(m_pView->nLeft, 5);
}

TEST_F(CineTest, CineOffStopsALoopThatGotNoController)
{
    m_pView->bCanPlay = false;
    m_harness.Script().Wait(200).Do([this] { EXPECT_STREQ(PaneText(2), "UnKnown") << "no index"; });
    PostCommand(ID_CINE_OFF);
    Play();
    EXPECT_FALSE(m_pFrame->IsPlaying());
    EXPECT_EQ(m_pView->nLeft, 5);
}

TEST_F(CineTest, AQuitEndsTheLoopAndStaysForTheProgramsLoop)
{
    m_harness.Script().Do([] { ::PostQuitMessage(3); });
    Play();
    EXPECT_FALSE(m_pFrame->IsPlaying());
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(CineTest, ClosingWhilePlayingIsRefusedWithItsMessage)
{
    m_harness.Script().Do([this] { m_pFrame->PostMessage(WM_CLOSE); });
    PostCommand(ID_CINE_OFF);
    Play();
    EXPECT_TRUE(::IsWindow(m_pFrame->m_hWnd));
    EXPECT_EQ(MessageBoxes(),
              (std::vector<std::string>{"Cine is on play, please step cine before exit Pelivo."}));
}
} // namespace

namespace
{
struct ToolBarSide
{
    UINT nDockBarID;
    bool bVertical;
};

class MainFrameDockingTest : public MainFrameTest, public testing::WithParamInterface<ToolBarSide>
{
};

TEST_P(MainFrameDockingTest, TheToolBarDocksOnAnySideAndItsButtonsStillCommand)
{
    const ToolBarSide& side = GetParam();
    CToolBar& toolBar = m_pFrame->GetToolBar();
    m_pFrame->DockControlBar(&toolBar, side.nDockBarID);
    Idle();
    EXPECT_EQ(toolBar.GetParent()->GetDlgCtrlID(), static_cast<int>(side.nDockBarID));
    CRect rcBar;
    toolBar.GetWindowRect(&rcBar);
    EXPECT_EQ(rcBar.Height() > rcBar.Width(), side.bVertical);
    // The view keeps clear of the toolbar.
    CRect rcView;
    m_pView->GetWindowRect(&rcView);
    CRect rcCommon;
    EXPECT_FALSE(rcCommon.IntersectRect(&rcBar, &rcView));

    // With images shown, the layout buttons are enabled.
    m_pView->Show(2, 0);
    const UINT nID = ID_LAYOUT_FIRST + 4;
    ASSERT_TRUE(IsButtonEnabled(nID));
    CRect rcButton;
    toolBar.GetItemRect(toolBar.CommandToIndex(nID), &rcButton);
    m_harness.Click(enMouseButton::Left,
                    CUiHarness::ScreenPoint(toolBar.m_hWnd, rcButton.left + 5, rcButton.top + 5));
    m_harness.PumpPending();
    EXPECT_TRUE(IsMarked(nID));
    if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
        SaveWindowPicture(m_pFrame->m_hWnd, (testing::TempDir() + "pelivo-toolbar-" +
                                             std::to_string(side.nDockBarID) + ".bmp")
                                                .c_str());
}

INSTANTIATE_TEST_SUITE_P(Sides, MainFrameDockingTest,
                         testing::Values(ToolBarSide{AFX_IDW_DOCKBAR_TOP, false},
                                         ToolBarSide{AFX_IDW_DOCKBAR_LEFT, true},
                                         ToolBarSide{AFX_IDW_DOCKBAR_RIGHT, true},
                                         ToolBarSide{AFX_IDW_DOCKBAR_BOTTOM, false}));

TEST_F(MainFrameTest, TheToolBarStartsDockedAtTheTopAndFloatsInItsOwnWindow)
{
    CToolBar& toolBar = m_pFrame->GetToolBar();
    EXPECT_EQ(toolBar.GetParent()->GetDlgCtrlID(), AFX_IDW_DOCKBAR_TOP);
    m_pFrame->FloatControlBar(&toolBar, CPoint(200, 200));
    EXPECT_TRUE(toolBar.IsFloating());
    m_harness.PumpPending();
    if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
        SaveWindowPicture(toolBar.GetParentFrame()->m_hWnd,
                          (testing::TempDir() + "pelivo-toolbar-floating.bmp").c_str());
    // View > Toolbar hides and shows it, floating or not.
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(toolBar.IsVisible());
    Command(ID_VIEW_TOOLBAR);
    EXPECT_TRUE(toolBar.IsVisible());
    EXPECT_TRUE(toolBar.GetParentFrame()->IsWindowVisible());
    m_pFrame->DockControlBar(&toolBar, AFX_IDW_DOCKBAR_TOP);
    EXPECT_FALSE(toolBar.IsFloating());
}
} // namespace
