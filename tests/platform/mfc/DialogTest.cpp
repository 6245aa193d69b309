// CDialog from a resource template: DoModal with its loop and keys,
// DDX_Control, the modal-answer hook, modeless dialogs; the control objects
// with their reflected owner drawing; message boxes; image lists.
#include "../FailOnBlockHarness.h"
#include "AfxWin.h"
#include "ModalAnswers.h"
#include "ResourceRegistry.h"
#include "WinModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr UINT kDialogId = 310;
constexpr UINT kBitmapId = 311;
constexpr WORD IDC_NAME = 1001;
constexpr WORD IDC_PAINT = 1002;
constexpr WORD IDC_KIND = 1003;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogItemTemplate kItems[] = {
    {"Edit", "", IDC_NAME, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 7, 7, 100, 12},
    {"Button", "", IDC_PAINT, kChild | BS_OWNERDRAW, 0, 7, 24, 40, 14},
    {"ComboBox", "", IDC_KIND, kChild | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 7, 42, 100, 60},
    {"Button", "OK", IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 120, 7, 50, 14},
    {"Button", "Cancel", IDCANCEL, kChild | WS_TABSTOP, 0, 120, 24, 50, 14},
};
constexpr DialogTemplate kDialog{WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
                                 0,
                                 0,
                                 0,
                                 180,
                                 70,
                                 "Series name",
                                 "MS Shell Dlg",
                                 8,
                                 kItems};
const ResourceDialogEntry kDialogs[] = {{MAKEINTRESOURCE(kDialogId), &kDialog}};

const ResourceRegistrar kRegistrar({.dialogs = kDialogs});

// A bitmap file of three pixels: red, the mask colour magenta and blue.
void RegisterBitmap()
{
    static const std::vector<BYTE> file = []
    {
        std::vector<BYTE> bytes(66, 0);
        const auto put32 = [&bytes](std::size_t at, DWORD value)
        {
            for (int i = 0; i < 4; ++i)
                bytes[at + i] = static_cast<BYTE>(value >> (8 * i));
        };
        bytes[0] = 'B';
        bytes[1] = 'M';
        put32(2, 66);
        put32(10, 54);
        put32(14, 40);
        put32(18, 3);
        put32(22, 1);
        bytes[26] = 1;
        bytes[28] = 24;
        const BYTE pixels[] = {0, 0, 255, 255, 0, 255, 255, 0, 0};
        std::copy(std::begin(pixels), std::end(pixels), bytes.begin() + 54);
        return bytes;
    }();
    static const ResourceDataEntry data[] = {
        {RT_BITMAP, MAKEINTRESOURCE(kBitmapId), file.data(), DWORD(file.size())}};
    static const bool bDone =
        (RegisterModuleResources(GetModuleHandleA(nullptr), ResourceTables{.data = data}), true);
    static_cast<void>(bDone);
}

class CPaintButton : public CButton
{
public:
    std::vector<UINT> states;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { states.push_back(lpDIS->itemState); }
};

class CNameDialog : public CDialog
{
public:
    CNameDialog(CWnd* pParent) : CDialog(kDialogId, pParent) {}

    CEdit m_name;
    CPaintButton m_paint;
    CComboBox m_kind;
    CString m_result;
    bool bOwnerEnabledInside = true;
    std::vector<std::string> calls;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_NAME, m_name);
        DDX_Control(pDX, IDC_PAINT, m_paint);
        DDX_Control(pDX, IDC_KIND, m_kind);
        if (pDX->m_bSaveAndValidate)
            m_name.GetWindowText(m_result);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_name.SetWindowText("CT chest");
        m_kind.AddString("Axial");
        m_kind.AddString("Coronal");
        m_kind.SetCurSel(0);
        bOwnerEnabledInside = GetParent()->IsWindowEnabled() != FALSE;
        return TRUE;
    }
    afx_msg void OnKindChanged() { calls.push_back("kind " + std::to_string(m_kind.GetCurSel())); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNameDialog, CDialog)
ON_CBN_SELCHANGE(IDC_KIND, OnKindChanged)
END_MESSAGE_MAP()

class MfcDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "Owner", WS_POPUP | WS_VISIBLE,
                                     CRect(50, 50, 600, 500), nullptr, 0));
        m_harness.PumpPending();
    }

    CFailOnBlockHarness m_harness;
    CWnd m_owner;
};

TEST_F(MfcDialogTest, DoModalRunsTheDialogWithItsControlsAndKeys)
{
    SetModalWindowsRun(true);
    CNameDialog dialog(&m_owner);
    m_harness.Script()
        .Do(
            [&]
            {
                // A drop-down list takes Down for itself.
                dialog.m_kind.SetFocus();
            })
        .KeyPress(VK_DOWN)
        .Do([&] { dialog.m_name.SetFocus(); })
        .Do([&] { dialog.m_name.SetSel(0, -1); })
        .Do([&] { dialog.m_name.ReplaceSel("MR head"); })
        .KeyPress(VK_RETURN);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.bOwnerEnabledInside);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
    EXPECT_EQ(dialog.m_result, CString("MR head")) << "OnOK ran UpdateData";
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"kind 1"});
    EXPECT_FALSE(dialog.m_paint.states.empty()) << "the owner-drawn button drew itself";
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_name.m_hWnd, nullptr) << "controls go with the dialog";
}

TEST_F(MfcDialogTest, EscapeCancelsAndTheHookAnswersWithoutAWindow)
{
    SetModalWindowsRun(true);
    {
        CNameDialog dialog(&m_owner);
        m_harness.Script().KeyPress(VK_ESCAPE);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(dialog.m_result.IsEmpty()) << "cancel exchanges nothing";
    }
    SetModalAnswerHook([](const ModalRequest& request) -> std::optional<INT_PTR>
                       { return request.nTemplateId == kDialogId ? IDOK : -2; });
    CNameDialog answered(&m_owner);
    EXPECT_EQ(answered.DoModal(), IDOK);
    EXPECT_EQ(GetModalRequests().back().caption, "Series name");
    EXPECT_EQ(answered.m_name.m_hWnd, nullptr) << "never created";
}

TEST_F(MfcDialogTest, ModelessDialogTakesItsKeysInThePreTranslationWalk)
{
    CNameDialog dialog(&m_owner);
    ASSERT_TRUE(dialog.Create(kDialogId, &m_owner));
    dialog.ShowWindow(SW_SHOW);
    EXPECT_EQ(CWnd::GetFocus(), &dialog.m_name);
    MSG tab{dialog.m_name.m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(nullptr, &tab));
    EXPECT_EQ(CWnd::GetFocus(), &dialog.m_kind);
    MSG ordinary{dialog.m_hWnd, WM_TIMER, 1, 0, 0, {0, 0}};
    EXPECT_FALSE(dialog.PreTranslateMessage(&ordinary));
    dialog.DestroyWindow();
}

TEST_F(MfcDialogTest, MessageBoxesCarryTheApplicationsNameAndAnswerThroughTheHook)
{
    CWinApp app("Pelivo");
    SetModalAnswerHook([](const ModalRequest&) -> std::optional<INT_PTR> { return IDYES; });
    EXPECT_EQ(AfxMessageBox("Stop the cine loop?", MB_YESNO), IDYES);
    EXPECT_EQ(m_owner.MessageBox("Saved."), IDYES);
    const auto& requests = GetModalRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].caption, "Pelivo");
    EXPECT_EQ(requests[0].text, "Stop the cine loop?");
    EXPECT_EQ(requests[1].caption, "Pelivo");
    EXPECT_EQ(requests[1].hOwner, m_owner.m_hWnd);
}

// An image pane of a frame that counts the keys reaching it.
class CKeyPane : public CWnd
{
public:
    int nKeys = 0;

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++nKeys; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeyPane, CWnd)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

TEST_F(MfcDialogTest, FrameGivesTheFocusBackToItsPaneAfterDoModalAndMessageBox)
{
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Viewer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               CRect(80, 80, 700, 600)));
    CKeyPane pane;
    ASSERT_TRUE(pane.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), pFrame, 7));
    pane.SetFocus();
    SetModalWindowsRun(true);
    const auto pageDownReachesThePane = [&]
    {
        pane.nKeys = 0;
        m_harness.KeyPress(VK_NEXT);
        m_harness.PumpPending();
        return pane.nKeys == 1;
    };

    CNameDialog dialog(pFrame);
    m_harness.Script().KeyPress(VK_ESCAPE);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(CWnd::GetFocus(), &pane);
    EXPECT_TRUE(pageDownReachesThePane());

    m_harness.Script().KeyPress(VK_RETURN);
    EXPECT_EQ(pFrame->MessageBox("Saved."), IDOK);
    EXPECT_EQ(CWnd::GetFocus(), &pane);
    EXPECT_TRUE(pageDownReachesThePane());

    // The pane closed while the box ran: the frame keeps the keys, nothing dangles.
    m_harness.Script().Do([&] { pane.DestroyWindow(); }).KeyPress(VK_RETURN);
    EXPECT_EQ(pFrame->MessageBox("Closed."), IDOK);
    EXPECT_EQ(CWnd::GetFocus(), pFrame);
    pFrame->DestroyWindow();
}

TEST_F(MfcDialogTest, ImageListFromABitmapResourceDrawsThroughTheMaskColour)
{
    RegisterBitmap();
    CImageList images;
    ASSERT_TRUE(images.Create(kBitmapId, 1, 4, RGB(255, 0, 255)));
    EXPECT_EQ(images.GetImageCount(), 3);
    IMAGEINFO info{};
    ASSERT_TRUE(images.GetImageInfo(2, &info));
    EXPECT_EQ(info.rcImage.left, 2);
    EXPECT_EQ(info.rcImage.right, 3);
    CClientDC dc(&m_owner);
    dc.FillSolidRect(0, 0, 10, 10, RGB(0, 128, 0));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(images.Draw(&dc, i, CPoint(i, 0), ILD_TRANSPARENT), i < 3) << i;
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(1, 0), RGB(0, 128, 0)) << "the mask colour leaves the pixel";
    EXPECT_EQ(dc.GetPixel(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(3, 0), RGB(0, 128, 0)) << "no fourth image";
    // Selected images blend with the highlight colour.
    images.Draw(&dc, 0, CPoint(5, 0), ILD_BLEND50);
    EXPECT_NE(dc.GetPixel(5, 0), RGB(255, 0, 0));
    const HICON hIcon = images.ExtractIcon(2);
    ASSERT_NE(hIcon, nullptr);
    dc.FillSolidRect(0, 0, 10, 10, RGB(0, 128, 0));
    DrawIconEx(dc.m_hDC, 0, 0, hIcon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(0, 0, 255));
    DestroyIcon(hIcon);
}
} // namespace
