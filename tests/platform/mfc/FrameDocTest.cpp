// The document/view framework of a program: a single-document template
// makes the frame (menu, toolbar, status bar) with its view and document;
// commands reach the view, the document, the frame and the application;
// the bars and menus follow the update handlers at idle time; prompts and
// tips come from the command strings; recent files live in the profile;
// documents open and save through the file dialogs.
#include "../FailOnBlockHarness.h"
#include "AfxArchive.h"
#include "AfxException.h"
#include "AfxWin.h"
#include "ModalAnswers.h"
#include "ResourceRegistry.h"
#include "TempFolder.h"
#include "WinFileDialog.h"
#include "WinModule.h"
#include "WinProfile.h"
#include "WinResource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace
{
constexpr UINT kResourceId = 2601;
constexpr UINT ID_MARK = 32771;
constexpr int kImage = 16;
constexpr int kImageHeight = 15;

const MenuItemTemplate kFileItems[] = {
    {MF_STRING, ID_FILE_NEW, "&New\tCtrl+N", {}},
    {MF_SEPARATOR, 0, nullptr, {}},
    {MF_STRING, ID_FILE_MRU_FILE1, "Recent File", {}},
    {MF_SEPARATOR, 0, nullptr, {}},
    {MF_STRING, ID_APP_EXIT, "E&xit", {}},
};
const MenuItemTemplate kEditItems[] = {
    {MF_STRING, ID_EDIT_COPY, "&Copy", {}},
    {MF_STRING, ID_EDIT_PASTE, "&Paste", {}},
    {MF_STRING, ID_MARK, "&Mark", {}},
};
const MenuItemTemplate kBarItems[] = {
    {MF_POPUP, 0, "&File", kFileItems},
    {MF_POPUP, 0, "&Edit", kEditItems},
};
const MenuTemplate kMenu{kBarItems};
const ResourceMenuEntry kMenus[] = {{MAKEINTRESOURCE(kResourceId), &kMenu}};

const WORD kButtons[] = {ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_MARK};
const ToolbarTemplate kToolbar{kImage, kImageHeight, kButtons};
const ResourceToolbarEntry kToolbars[] = {{MAKEINTRESOURCE(kResourceId), &kToolbar}};

const ResourceStringEntry kStrings[] = {
    {kResourceId, "Frame Test\nPicture\nPicture\nPicture Files (*.pic)\n.pic"},
    {ID_EDIT_COPY, "Copy the selection\nCopy"},
    {ID_EDIT_PASTE, "Insert the clipboard\nPaste"},
    {ID_MARK, "Mark the picture\nMark"},
};

// Three images side by side on the light grey the toolbar leaves
// transparent: a red, a green and a blue square.
std::vector<BYTE> MakeToolbarBitmapFile()
{
    const int cx = 3 * kImage;
    const int nStride = (cx * 3 + 3) & ~3;
    std::vector<BYTE> bytes(54 + static_cast<size_t>(nStride) * kImageHeight, 0);
    const auto put32 = [&bytes](size_t at, DWORD value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<BYTE>(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<DWORD>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, cx);
    put32(22, kImageHeight);
    bytes[26] = 1;
    bytes[28] = 24;
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};
    for (int y = 0; y < kImageHeight; ++y)
    {
        for (int x = 0; x < cx; ++x)
        {
            const int nInImage = x % kImage;
            const bool bSquare = nInImage >= 3 && nInImage < 13 && y >= 3 && y < 12;
            const COLORREF colour = bSquare ? colours[x / kImage] : RGB(192, 192, 192);
            BYTE* pPixel = &bytes[54 + static_cast<size_t>(y) * nStride + x * 3];
            pPixel[0] = GetBValue(colour);
            pPixel[1] = GetGValue(colour);
            pPixel[2] = GetRValue(colour);
        }
    }
    return bytes;
}

void RegisterResources()
{
    static const std::vector<BYTE> bitmap = MakeToolbarBitmapFile();
    static const ResourceDataEntry data[] = {
        {RT_BITMAP, MAKEINTRESOURCE(kResourceId), bitmap.data(), DWORD(bitmap.size())}};
    static const bool bDone =
        (RegisterModuleResources(GetModuleHandleA(nullptr), ResourceTables{.strings = kStrings,
                                                                           .data = data,
                                                                           .menus = kMenus,
                                                                           .toolbars = kToolbars}),
         true);
    static_cast<void>(bDone);
}

std::vector<std::string> gCommands;

class CPictureDoc : public CDocument
{
    DECLARE_DYNCREATE(CPictureDoc)

public:
    int nNewDocuments = 0;
    BOOL bCanCopy = TRUE;
    // What the file holds; a failing store throws halfway.
    CString strContent;
    bool bFailStore = false;

    BOOL OnNewDocument() override
    {
        ++nNewDocuments;
        return CDocument::OnNewDocument();
    }
    void DeleteContents() override { strContent.Empty(); }
    void Serialize(CArchive& ar) override
    {
        if (!ar.IsStoring())
        {
            ar.ReadString(strContent);
            return;
        }
        ar.WriteString(strContent.Left(2));
        if (bFailStore)
            AfxThrowArchiveException(CArchiveException::genericException);
        ar.WriteString(strContent.Mid(2));
    }

protected:
    afx_msg void OnEditCopy() { gCommands.push_back("document copy"); }
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI) { pCmdUI->Enable(bCanCopy); }

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CPictureDoc, CDocument)
BEGIN_MESSAGE_MAP(CPictureDoc, CDocument)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
END_MESSAGE_MAP()

class CPictureView : public CView
{
    DECLARE_DYNCREATE(CPictureView)

public:
    int nInitialUpdates = 0;
    BOOL bMarked = FALSE;

    void OnDraw(CDC* pDC) override
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, bMarked ? RGB(255, 255, 0) : RGB(0, 0, 128));
    }
    void OnInitialUpdate() override
    {
        ++nInitialUpdates;
        CView::OnInitialUpdate();
    }

protected:
    afx_msg void OnMark()
    {
        gCommands.push_back("view mark");
        bMarked = !bMarked;
    }
    afx_msg void OnUpdateMark(CCmdUI* pCmdUI) { pCmdUI->SetCheck(bMarked ? 1 : 0); }

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CPictureView, CView)
BEGIN_MESSAGE_MAP(CPictureView, CView)
ON_COMMAND(ID_MARK, OnMark)
ON_UPDATE_COMMAND_UI(ID_MARK, OnUpdateMark)
END_MESSAGE_MAP()

class CPictureFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CPictureFrame)

public:
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
            return -1;
        static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                                   WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                       CBRS_FLYBY) ||
            !m_wndToolBar.LoadToolBar(kResourceId) || !m_wndStatusBar.Create(this) ||
            !m_wndStatusBar.SetIndicators(kIndicators, 3))
            return -1;
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CPictureFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CPictureFrame, CFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

class CPictureApp : public CWinApp
{
public:
    CPictureApp() : CWinApp("PictureApp") {}

    BOOL InitInstance() override
    {
        AddDocTemplate(new CSingleDocTemplate(kResourceId, RUNTIME_CLASS(CPictureDoc),
                                              RUNTIME_CLASS(CPictureFrame),
                                              RUNTIME_CLASS(CPictureView)));
        LoadStdProfileSettings(4);
        CCommandLineInfo info;
        ParseCommandLine(info);
        return ProcessShellCommand(info);
    }

protected:
    afx_msg void OnAppCommand() { gCommands.push_back("application"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPictureApp, CWinApp)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
ON_COMMAND(ID_APP_ABOUT, OnAppCommand)
END_MESSAGE_MAP()

// The profile in memory for a test, as it was afterwards.
class CScopedMemoryProfile
{
public:
    CScopedMemoryProfile()
    {
        CProfileStore::SetInMemory(true);
        CProfileStore::ClearMemory();
    }
    ~CScopedMemoryProfile()
    {
        CProfileStore::ClearMemory();
        CProfileStore::SetInMemory(false);
    }
    CScopedMemoryProfile(const CScopedMemoryProfile&) = delete;
    CScopedMemoryProfile& operator=(const CScopedMemoryProfile&) = delete;
};

class FrameDocTest : public testing::Test
{
protected:
    void SetUp() override
    {
        RegisterResources();
        gCommands.clear();
        ASSERT_TRUE(m_app.InitInstance());
        m_pFrame = DYNAMIC_DOWNCAST(CPictureFrame, m_app.m_pMainWnd);
        ASSERT_NE(m_pFrame, nullptr);
        m_pView = DYNAMIC_DOWNCAST(CPictureView, m_pFrame->GetActiveView());
        ASSERT_NE(m_pView, nullptr);
        m_pDoc = DYNAMIC_DOWNCAST(CPictureDoc, m_pView->GetDocument());
        ASSERT_NE(m_pDoc, nullptr);
        m_pFrame->MoveWindow(0, 0, 500, 360);
        Idle();
    }

    void Idle()
    {
        m_harness.PumpPending();
        m_app.OnIdle(0);
        m_harness.PumpPending();
    }

    CString StatusText() const { return m_pFrame->m_wndStatusBar.GetPaneText(0); }

    POINT ButtonPoint(UINT nID) const
    {
        CRect rect;
        const CToolBar& bar = m_pFrame->m_wndToolBar;
        bar.GetItemRect(bar.CommandToIndex(nID), &rect);
        return CUiHarness::ScreenPoint(bar.m_hWnd, rect.CenterPoint().x, rect.CenterPoint().y);
    }

    UINT MenuState(UINT nID)
    {
        CMenu* pEdit = m_pFrame->GetMenu()->GetSubMenu(1);
        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pEdit->m_hMenu), 1);
        return pEdit->GetMenuState(nID, MF_BYCOMMAND);
    }

    CScopedMemoryProfile m_profile;
    CFailOnBlockHarness m_harness;
    CPictureApp m_app;
    CPictureFrame* m_pFrame = nullptr;
    CPictureView* m_pView = nullptr;
    CPictureDoc* m_pDoc = nullptr;
};

TEST_F(FrameDocTest, StartsWithTitleMenuBarsAndTheViewBetweenThem)
{
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "Picture - Frame Test");
    ASSERT_NE(m_pFrame->GetMenu(), nullptr);
    EXPECT_EQ(m_pFrame->GetMenu()->GetMenuItemCount(), 2u);
    EXPECT_EQ(m_pFrame->m_wndToolBar.GetCount(), 4);
    EXPECT_EQ(m_pView->nInitialUpdates, 1);
    EXPECT_EQ(m_pDoc->GetTitle(), CString("Picture"));

    CRect client, bar, status, view;
    m_pFrame->GetClientRect(&client);
    m_pFrame->ClientToScreen(&client);
    m_pFrame->m_wndToolBar.GetWindowRect(&bar);
    m_pFrame->m_wndStatusBar.GetWindowRect(&status);
    m_pView->GetWindowRect(&view);
    EXPECT_EQ(bar.top, client.top);
    EXPECT_EQ(bar.Width(), client.Width());
    EXPECT_EQ(status.bottom, client.bottom);
    EXPECT_EQ(view.top, bar.bottom);
    EXPECT_EQ(view.bottom, status.top);
    EXPECT_GT(view.Height(), 0);
    EXPECT_STREQ(StatusText(), "Ready");
}

TEST_F(FrameDocTest, SecondFileNewReusesFrameDocumentAndViewAndUpdatesAgain)
{
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(m_app.m_pMainWnd, m_pFrame);
    EXPECT_EQ(m_pFrame->GetActiveView(), m_pView);
    EXPECT_EQ(m_pView->GetDocument(), m_pDoc);
    EXPECT_EQ(m_pDoc->nNewDocuments, 2);
    EXPECT_EQ(m_pView->nInitialUpdates, 2);
}

TEST_F(FrameDocTest, CommandsReachViewDocumentAndApplication)
{
    m_pFrame->SendMessage(WM_COMMAND, ID_MARK);
    m_pFrame->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    m_pFrame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(gCommands, (std::vector<std::string>{"view mark", "document copy", "application"}));
}

// Exit is the application's own command: enabled, it closes the main window,
// which ends the program's loop.
TEST_F(FrameDocTest, ExitClosesTheMainWindowAndEndsTheLoop)
{
    CMenu* pFile = m_pFrame->GetMenu()->GetSubMenu(0);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFile->m_hMenu), 0);
    EXPECT_EQ(pFile->GetMenuState(ID_APP_EXIT, MF_BYCOMMAND) & MF_GRAYED, 0u);
    const HWND hFrame = m_pFrame->m_hWnd;
    m_pFrame->SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    MSG msg{};
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FrameDocTest, ToolbarButtonsFollowTheUpdateHandlersAtIdle)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_EDIT_COPY));
    // No handler anywhere: disabled.
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, ID_EDIT_PASTE));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_MARK));
    m_pDoc->bCanCopy = FALSE;
    m_pView->bMarked = TRUE;
    Idle();
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, ID_EDIT_COPY));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_MARK));
    EXPECT_NE(bar.GetButtonStyle(bar.CommandToIndex(ID_EDIT_COPY)) & TBBS_DISABLED, 0u);
}

TEST_F(FrameDocTest, MenuItemsFollowTheSameHandlersWhenTheirPopupOpens)
{
    EXPECT_EQ(MenuState(ID_EDIT_PASTE) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_EQ(MenuState(ID_EDIT_COPY) & MF_GRAYED, 0u);
    m_pView->bMarked = TRUE;
    m_pDoc->bCanCopy = FALSE;
    EXPECT_EQ(MenuState(ID_MARK) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_EQ(MenuState(ID_EDIT_COPY) & MF_GRAYED, UINT(MF_GRAYED));
}

TEST_F(FrameDocTest, PressingAButtonSendsItsCommandThroughTheFrame)
{
    m_harness.Click(enMouseButton::Left, ButtonPoint(ID_MARK));
    m_harness.PumpPending();
    EXPECT_EQ(gCommands, (std::vector<std::string>{"view mark"}));
    m_pDoc->bCanCopy = FALSE;
    Idle();
    m_harness.Click(enMouseButton::Left, ButtonPoint(ID_EDIT_COPY));
    m_harness.PumpPending();
    EXPECT_EQ(gCommands, (std::vector<std::string>{"view mark"}));
}

TEST_F(FrameDocTest, MenuSelectionAndTheButtonUnderThePointerShowTheirPrompt)
{
    CMenu* pEdit = m_pFrame->GetMenu()->GetSubMenu(1);
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_EDIT_PASTE, MF_STRING),
                          reinterpret_cast<LPARAM>(pEdit->m_hMenu));
    EXPECT_STREQ(StatusText(), "Insert the clipboard");
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_STREQ(StatusText(), "Ready");

    m_harness.MouseMove(ButtonPoint(ID_EDIT_COPY));
    m_harness.PumpPending();
    EXPECT_STREQ(StatusText(), "Copy the selection");
    CRect view;
    m_pView->GetWindowRect(&view);
    m_harness.MouseMove(view.CenterPoint());
    m_harness.AdvanceClock(200);
    m_harness.PumpPending();
    EXPECT_STREQ(StatusText(), "Ready");
}

TEST_F(FrameDocTest, PointerRestingOnAButtonShowsItsTip)
{
    m_harness.MouseMove(ButtonPoint(ID_MARK));
    m_harness.PumpPending();
    m_harness.AdvanceClock(600);
    m_harness.PumpPending();
    const HWND hTip = ::FindWindowA(TOOLTIPS_CLASSA, nullptr);
    ASSERT_NE(hTip, nullptr);
    char szText[32] = {};
    ::GetWindowTextA(hTip, szText, sizeof(szText));
    EXPECT_STREQ(szText, "Mark");
    EXPECT_TRUE(::IsWindowVisible(hTip));
}

TEST_F(FrameDocTest, LockKeyPanesShowOnlyWhileTheirKeyIsOn)
{
    CStatusBar& status = m_pFrame->m_wndStatusBar;
    const int nCaps = status.CommandToIndex(ID_INDICATOR_CAPS);
    const bool bOn = (::GetKeyState(VK_CAPITAL) & 1) != 0;
    EXPECT_EQ((status.GetPaneStyle(nCaps) & SBPS_DISABLED) == 0, bOn);
    m_harness.KeyPress(VK_CAPITAL);
    Idle();
    EXPECT_EQ((status.GetPaneStyle(nCaps) & SBPS_DISABLED) == 0, !bOn);
    char szText[16] = {};
    status.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(nCaps), reinterpret_cast<LPARAM>(szText));
    EXPECT_STREQ(szText, bOn ? "" : "CAP");
    m_harness.KeyPress(VK_CAPITAL);
    m_harness.PumpPending();
}

TEST_F(FrameDocTest, RecentFilesFillTheFileMenuAndSurviveInTheProfile)
{
    CMenu* pFile = m_pFrame->GetMenu()->GetSubMenu(0);
    auto openFile = [&]
    { m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFile->m_hMenu), 0); };
    openFile();
    EXPECT_EQ(pFile->GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));

    m_app.AddToRecentFileList("/data/a.dcm");
    m_app.AddToRecentFileList("/data/b.dcm");
    m_app.AddToRecentFileList("/data/a.dcm");
    openFile();
    CString strFirst, strSecond;
    pFile->GetMenuString(ID_FILE_MRU_FILE1, strFirst, MF_BYCOMMAND);
    pFile->GetMenuString(ID_FILE_MRU_FILE1 + 1, strSecond, MF_BYCOMMAND);
    EXPECT_STREQ(strFirst, "&1 /data/a.dcm");
    EXPECT_STREQ(strSecond, "&2 /data/b.dcm");
    EXPECT_EQ(pFile->GetMenuState(ID_FILE_MRU_FILE1 + 1, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(pFile->GetMenuItemCount(), 6u);
    openFile();
    EXPECT_EQ(pFile->GetMenuItemCount(), 6u);

    m_app.ExitInstance();
    m_app.LoadStdProfileSettings(4);
    ASSERT_EQ(m_app.m_pRecentFileList->GetCount(), 2);
    EXPECT_STREQ((*m_app.m_pRecentFileList)[0], "/data/a.dcm");
}

TEST_F(FrameDocTest, ToolbarControlAddsBitmapResourcesAfterItsImages)
{
    CToolBarCtrl toolBar;
    ASSERT_TRUE(toolBar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 30), m_pFrame, 77));
    toolBar.SetBitmapSize(CSize(kImage, kImageHeight));
    EXPECT_EQ(toolBar.AddBitmap(3, kResourceId), 0);
    EXPECT_EQ(toolBar.AddBitmap(3, kResourceId), 3);
    EXPECT_EQ(toolBar.AddBitmap(1, kResourceId + 1), -1);
    EXPECT_EQ(ImageList_GetImageCount(toolBar.GetImageList()), 6);
}

TEST_F(FrameDocTest, PictureShowsMenuToolbarAndStatusBar)
{
    m_pView->bMarked = TRUE;
    m_pView->Invalidate();
    Idle();
    WindowPicture picture;
    ASSERT_TRUE(UserGetWindowPicture(m_pFrame->m_hWnd, false, picture));
    if (std::getenv("SUITE_KEEP_PICTURES") != nullptr)
        SaveWindowPicture(m_pFrame->m_hWnd, (testing::TempDir() + "frame-doc.bmp").c_str());
    CRect frame, view;
    m_pFrame->GetWindowRect(&frame);
    m_pView->GetClientRect(&view);
    m_pView->ClientToScreen(&view);
    // The marked view is yellow; the toolbar's images keep their colours
    // inside the grey bar.
    EXPECT_EQ(picture.GetPixel(view.CenterPoint().x - frame.left, view.CenterPoint().y - frame.top),
              0xFFFF00u);
    CRect button;
    m_pFrame->m_wndToolBar.GetItemRect(0, &button);
    m_pFrame->m_wndToolBar.ClientToScreen(&button);
    EXPECT_EQ(
        picture.GetPixel(button.CenterPoint().x - frame.left, button.CenterPoint().y - frame.top),
        0xFF0000u);
}
// Documents saved and opened through the file dialogs: the answers of the
// message box and the dialog come from the test, which also sees what each
// dialog was asked to show.
class FrameDocFileTest : public FrameDocTest
{
protected:
    // The message box answers nBoxAnswer; the file dialog, when it comes,
    // chooses pszName (nullptr: cancels).
    void Answer(INT_PTR nBoxAnswer, const char* pszName)
    {
        m_dialogs.clear();
        const std::string folder = m_folder.PathOf("");
        SetModalAnswerHook(
            [this, nBoxAnswer, pszName,
             folder](const ModalRequest& request) -> std::optional<INT_PTR>
            {
                if (request.kind != enModalKind::FileDialog)
                    return nBoxAnswer;
                const auto* pOfn = static_cast<const OPENFILENAMEA*>(request.pData);
                std::string filter;
                for (const char* p = pOfn->lpstrFilter; *p != '\0'; p += std::strlen(p) + 1)
                    filter += std::string(p) + "|";
                m_dialogs.push_back(request.caption + " " + filter + " " + pOfn->lpstrFile);
                if (pszName == nullptr)
                    return IDCANCEL;
                SetFileDialogChoice({folder, {pszName}, 0});
                return IDOK;
            });
    }

    std::string RecentFile(int nIndex) const
    {
        return static_cast<LPCSTR>((*m_app.m_pRecentFileList)[nIndex]);
    }

    CKeptWorkingFolder m_workingFolder;
    TempFolder m_folder;
    std::vector<std::string> m_dialogs;
};

struct SaveModifiedCase
{
    INT_PTR nBoxAnswer;
    const char* pszChosen;
    BOOL bGoesOn;
    bool bSaved;
};

class FrameDocSaveModifiedTest : public FrameDocFileTest,
                                 public testing::WithParamInterface<SaveModifiedCase>
{
};

TEST_P(FrameDocSaveModifiedTest, UntitledDocumentGoesThroughTheSaveAsDialogOnYes)
{
    const SaveModifiedCase& testCase = GetParam();
    m_pDoc->strContent = "first picture";
    m_pDoc->SetModifiedFlag();
    Answer(testCase.nBoxAnswer, testCase.pszChosen);
    EXPECT_EQ(m_pDoc->SaveModified(), testCase.bGoesOn);
    const std::string path = m_folder.PathOf("first.pic");
    EXPECT_EQ(std::filesystem::exists(path), testCase.bSaved);
    if (testCase.nBoxAnswer == IDYES)
    {
        // The dialog offers the title with the template's extension.
        EXPECT_EQ(m_dialogs, (std::vector<std::string>{
                                 "Save As Picture Files (*.pic)|*.pic|All Files (*.*)|*.*| "
                                 "Picture.pic"}));
    }
    if (!testCase.bSaved)
    {
        EXPECT_TRUE(m_pDoc->IsModified() || testCase.nBoxAnswer == IDNO);
        EXPECT_TRUE(m_pDoc->GetPathName().IsEmpty());
        return;
    }
    EXPECT_EQ(m_folder.Read("first.pic"), "first picture");
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(std::string(m_pDoc->GetPathName()), path);
    EXPECT_STREQ(m_pDoc->GetTitle(), "first.pic");
    EXPECT_EQ(RecentFile(0), path);
}

INSTANTIATE_TEST_SUITE_P(Answers, FrameDocSaveModifiedTest,
                         testing::Values(SaveModifiedCase{IDYES, "first", TRUE, true},
                                         SaveModifiedCase{IDYES, nullptr, FALSE, false},
                                         SaveModifiedCase{IDNO, nullptr, TRUE, false},
                                         SaveModifiedCase{IDCANCEL, nullptr, FALSE, false}));

TEST_F(FrameDocFileTest, NewDocumentWaitsWhenSavingTheModifiedOneIsCancelled)
{
    m_pDoc->strContent = "kept";
    m_pDoc->SetModifiedFlag();
    Answer(IDYES, nullptr);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(m_pDoc->nNewDocuments, 1);
    EXPECT_STREQ(m_pDoc->strContent, "kept");
}

TEST_F(FrameDocFileTest, SaveWritesTheDocumentsOwnFileAndAsksOnlyWhenItCannot)
{
    const std::string path = m_folder.Write("own.pic", "old");
    m_pDoc->SetPathName(path.c_str());
    m_pDoc->strContent = "new";
    Answer(IDOK, "copy");
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_TRUE(m_dialogs.empty());
    EXPECT_EQ(m_folder.Read("own.pic"), "new");

    // A read-only file is not overwritten: the dialog names a new one.
    std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    m_pDoc->strContent = "newer";
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(m_dialogs.size(), 1u);
    EXPECT_EQ(m_folder.Read("own.pic"), "new");
    EXPECT_EQ(m_folder.Read("copy.pic"), "newer");
    EXPECT_EQ(std::string(m_pDoc->GetPathName()), m_folder.PathOf("copy.pic"));
}

TEST_F(FrameDocFileTest, SaveAsAlwaysAsksStartingFromTheOwnFileAndMakesTheNewOneRecent)
{
    const std::string path = m_folder.Write("own.pic", "old");
    m_pDoc->SetPathName(path.c_str());
    m_pDoc->strContent = "moved";
    Answer(IDOK, "other");
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_EQ(m_dialogs.size(), 1u);
    EXPECT_NE(m_dialogs[0].find(path), std::string::npos);
    EXPECT_EQ(m_folder.Read("other.pic"), "moved");
    EXPECT_EQ(m_folder.Read("own.pic"), "old");
    EXPECT_EQ(RecentFile(0), m_folder.PathOf("other.pic"));
    EXPECT_EQ(RecentFile(1), path);
}

TEST_F(FrameDocFileTest, FailedSaveLeavesTheExistingFileWholeAndTheDocumentModified)
{
    const std::string path = m_folder.Write("own.pic", "whole");
    m_pDoc->SetPathName(path.c_str());
    m_pDoc->strContent = "broken";
    m_pDoc->SetModifiedFlag();
    m_pDoc->bFailStore = true;
    Answer(IDOK, nullptr);
    ClearModalRequests();
    EXPECT_FALSE(m_pDoc->DoFileSave());
    EXPECT_EQ(m_folder.Read("own.pic"), "whole");
    EXPECT_TRUE(m_pDoc->IsModified());
    // The user was told, and nothing was left beside the file.
    ASSERT_EQ(GetModalRequests().size(), 1u);
    EXPECT_EQ(GetModalRequests()[0].kind, enModalKind::MessageBox);
    EXPECT_EQ(GetModalRequests()[0].caption, "PictureApp");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.PathOf("")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(FrameDocFileTest, OpenCommandOpensTheChosenFileIntoTheSameDocumentAndMakesItRecent)
{
    m_folder.Write("scan.pic", "scanned");
    Answer(IDOK, "scan.pic");
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(m_dialogs.size(), 1u);
    EXPECT_EQ(m_dialogs[0].rfind("Open Picture Files (*.pic)|*.pic|All Files (*.*)|*.*|", 0), 0u);
    EXPECT_EQ(m_pView->GetDocument(), m_pDoc);
    EXPECT_STREQ(m_pDoc->strContent, "scanned");
    EXPECT_EQ(std::string(m_pDoc->GetPathName()), m_folder.PathOf("scan.pic"));
    EXPECT_EQ(m_pView->nInitialUpdates, 2);
    EXPECT_EQ(RecentFile(0), m_folder.PathOf("scan.pic"));
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ(strTitle, "scan.pic - Frame Test");

    // A cancelled dialog opens nothing.
    Answer(IDOK, nullptr);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    EXPECT_EQ(m_pView->nInitialUpdates, 2);
}
// Ten recent files: the one of the working folder shows its name alone, the
// one deep below it only its last folder, '&' shows as itself, the tenth gets
// "0" for its mnemonic; choosing an entry still opens the full path.
TEST_F(FrameDocFileTest, RecentFileItemsShowShortNamesAndOpenTheFullPath)
{
    std::filesystem::current_path(m_folder.PathOf(""));
    std::filesystem::create_directories(m_folder.PathOf("a_long_folder/s"));
    const std::string deep = m_folder.Write("a_long_folder/s/x.pic", "deep picture");
    m_app.LoadStdProfileSettings(10);
    for (int i = 8; i >= 1; --i)
        m_app.AddToRecentFileList(("/d/" + std::to_string(i) + ".pic").c_str());
    m_app.AddToRecentFileList(deep.c_str());
    m_app.AddToRecentFileList(m_folder.Write("r&d.pic", "here").c_str());

    CMenu* pFile = m_pFrame->GetMenu()->GetSubMenu(0);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(pFile->m_hMenu), 0);
    std::vector<std::string> items;
    for (UINT nId = ID_FILE_MRU_FILE1; nId < ID_FILE_MRU_FILE1 + 10; ++nId)
    {
        CString strItem;
        pFile->GetMenuString(nId, strItem, MF_BYCOMMAND);
        items.emplace_back(static_cast<LPCSTR>(strItem));
    }
    EXPECT_EQ(items,
              (std::vector<std::string>{"&1 r&&d.pic", "&2 /.../s/x.pic", "&3 /d/1.pic",
                                        "&4 /d/2.pic", "&5 /d/3.pic", "&6 /d/4.pic", "&7 /d/5.pic",
                                        "&8 /d/6.pic", "&9 /d/7.pic", "1&0 /d/8.pic"}));
    EXPECT_EQ(pFile->GetMenuItemCount(), 14u);

    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(std::string(m_pDoc->GetPathName()), deep);
    EXPECT_STREQ(m_pDoc->strContent, "deep picture");
    EXPECT_EQ(RecentFile(0), deep);
}

struct DisplayNameCase
{
    const char* pszPath;
    const char* pszCurDir;
    BOOL bAtLeastName;
    const char* pszShown;
};

class RecentFileDisplayNameTest : public testing::TestWithParam<DisplayNameCase>
{
};

// The list keeps the default display length of sixteen characters.
TEST_P(RecentFileDisplayNameTest, ShortensThePathForTheMenu)
{
    const DisplayNameCase& testCase = GetParam();
    CRecentFileList list(0, "Recent File List", "File%d", 4);
    list.Add(testCase.pszPath);
    CString strName = "unchanged";
    ASSERT_TRUE(list.GetDisplayName(strName, 0, testCase.pszCurDir,
                                    static_cast<int>(std::strlen(testCase.pszCurDir)),
                                    testCase.bAtLeastName));
    EXPECT_STREQ(strName, testCase.pszShown);
    EXPECT_STREQ(list[0], testCase.pszPath);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RecentFileDisplayNameTest,
    testing::Values(
        DisplayNameCase{"/home/user/scans/ct.dcm", "/home/user/scans", TRUE, "ct.dcm"},
        DisplayNameCase{"/home/user/scans/ct.dcm", "/home/user/scans/", TRUE, "ct.dcm"},
        DisplayNameCase{"/x.dcm", "/", TRUE, "x.dcm"},
        DisplayNameCase{"ct.dcm", "", TRUE, "ct.dcm"},
        DisplayNameCase{"/data/a.dcm", "/home", TRUE, "/data/a.dcm"},
        DisplayNameCase{"/r&d/a.dcm", "/home", TRUE, "/r&d/a.dcm"},
        DisplayNameCase{"/home/user/scans/ct.dcm", "", TRUE, "/.../ct.dcm"},
        DisplayNameCase{"/home/user/other/deep/ct.dcm", "/home/user", TRUE, "/.../deep/ct.dcm"},
        DisplayNameCase{"/home/user/scans/sub/ct.dcm", "/home/user/scans", TRUE, "/.../sub/ct.dcm"},
        DisplayNameCase{"/home/user/a_very_long_name.dcm", "/tmp", TRUE, "a_very_long_name.dcm"},
        DisplayNameCase{"/home/user/a_very_long_name.dcm", "/tmp", FALSE, ""},
        DisplayNameCase{"/home/user/a_very_long_name.dcm", "/home/user", TRUE,
                        "a_very_long_name.dcm"}));

TEST(RecentFileDisplayName, EntriesBeyondTheListHaveNone)
{
    CRecentFileList list(0, "Recent File List", "File%d", 4, 30);
    list.Add("/home/user/scans/series/one/ct.dcm");
    CString strName;
    EXPECT_FALSE(list.GetDisplayName(strName, 1, "/", 1));
    EXPECT_FALSE(list.GetDisplayName(strName, -1, "/", 1));
    ASSERT_TRUE(list.GetDisplayName(strName, 0, "/", 1));
    EXPECT_STREQ(strName, "/.../scans/series/one/ct.dcm");
}
} // namespace
