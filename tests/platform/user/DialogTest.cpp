// Dialogs: templates laid out in dialog units, the picture of every
// standard control, the dialog keys, modal loops and message boxes.
#include "UserTestSupport.h"

#include "ModalAnswers.h"
#include "WinProcessInfo.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
constexpr WORD kIdName = 101;
constexpr WORD kIdNameLabel = 102;
constexpr WORD kIdCheck = 103;
constexpr WORD kIdRadioA = 104;
constexpr WORD kIdRadioB = 105;
constexpr WORD kIdGroup = 106;
constexpr WORD kIdList = 107;
constexpr WORD kIdCombo = 108;
constexpr WORD kIdDropList = 109;
constexpr WORD kIdScroll = 110;
constexpr WORD kIdIcon = 111;
constexpr WORD kIdApply = 112;
constexpr WORD kIdDisabled = 113;
constexpr WORD kIdNotes = 114;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DialogItemTemplate kItems[] = {
    {"Static", "&Name:", kIdNameLabel, kChild | SS_LEFT, 0, 7, 9, 40, 8},
    {"Edit", "Pelivo", kIdName, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 50, 7, 100,
     12},
    {"Button", "&Options", kIdGroup, kChild | BS_GROUPBOX, 0, 7, 24, 143, 52},
    {"Button", "&Grid lines", kIdCheck, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 14, 36, 80, 10},
    {"Button", "&Lines", kIdRadioA, kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0, 14, 48,
     60, 10},
    {"Button", "&Points", kIdRadioB, kChild | BS_AUTORADIOBUTTON, 0, 14, 60, 60, 10},
    {"ListBox", "", kIdList, kChild | WS_TABSTOP | WS_GROUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
     0, 160, 7, 70, 40},
    {"ComboBox", "", kIdCombo, kChild | WS_TABSTOP | CBS_DROPDOWN, 0, 160, 52, 70, 60},
    {"ComboBox", "", kIdDropList, kChild | WS_TABSTOP | CBS_DROPDOWNLIST, 0, 160, 70, 70, 60},
    {"ScrollBar", "", kIdScroll, kChild | SBS_HORZ, 0, 7, 82, 143, 10},
    {"Static", "#32516", kIdIcon, kChild | SS_ICON, 0, 240, 7, 20, 20},
    {"Edit", "first line\r\nsecond", kIdNotes,
     kChild | WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_WANTRETURN, 0, 160, 88, 70, 24},
    {"Button", "Disabled", kIdDisabled, kChild | WS_TABSTOP | WS_DISABLED, 0, 7, 100, 50, 14},
    {"Button", "OK", IDOK, kChild | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, 240, 60, 50, 14},
    {"Button", "Cancel", IDCANCEL, kChild | WS_TABSTOP, 0, 240, 78, 50, 14},
    {"Button", "&Apply", kIdApply, kChild | WS_TABSTOP, 0, 240, 96, 50, 14},
};
constexpr DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                                   0,
                                   20,
                                   20,
                                   300,
                                   120,
                                   "Display settings",
                                   "MS Shell Dlg",
                                   8,
                                   kItems};

// What the dialog's procedure saw.
struct DialogLog
{
    std::vector<WORD> commands;
    int nInits = 0;
    bool bOwnerEnabledInside = true;
};
DialogLog gLog;

INT_PTR CALLBACK RecordingDialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM)
{
    switch (nMsg)
    {
    case WM_INITDIALOG:
    {
        ++gLog.nInits;
        for (const char* item : {"Lines", "Points", "Arrows"})
            SendDlgItemMessageA(hDlg, kIdList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        for (const char* item : {"Red", "Green", "Blue"})
        {
            SendDlgItemMessageA(hDlg, kIdCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            SendDlgItemMessageA(hDlg, kIdDropList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        SendDlgItemMessageA(hDlg, kIdCombo, CB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(hDlg, kIdDropList, CB_SETCURSEL, 2, 0);
        SendDlgItemMessageA(hDlg, kIdList, LB_SETCURSEL, 0, 0);
        CheckDlgButton(hDlg, kIdCheck, BST_CHECKED);
        CheckRadioButton(hDlg, kIdRadioA, kIdRadioB, kIdRadioA);
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 20, 40, 0};
        SetScrollInfo(GetDlgItem(hDlg, kIdScroll), SB_CTL, &info, TRUE);
        gLog.bOwnerEnabledInside = IsWindowEnabled(GetWindow(hDlg, GW_OWNER)) != FALSE;
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        gLog.commands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(hDlg, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

class DialogTest : public UserTest
{
protected:
    DialogTest()
    {
        gLog = DialogLog{};
        m_hOwner = CreateTopLevel(RECT{50, 50, 900, 700});
        m_harness.PumpPending();
    }

    HWND CreateModeless()
    {
        return CreateDialogIndirectParamA(nullptr, &kTemplate, m_hOwner, RecordingDialogProc, 0);
    }

    // Runs the dialog modally; the script plays while it waits.
    INT_PTR RunModal()
    {
        SetModalWindowsRun(true);
        return DialogBoxIndirectParamA(nullptr, &kTemplate, m_hOwner, RecordingDialogProc, 0);
    }

    static HWND FindDialog() { return FindWindowA("#32770", nullptr); }
    static HWND Item(int nId) { return GetDlgItem(FindDialog(), nId); }

    HWND m_hOwner = nullptr;
};

SIZE ShellDlgBaseUnits()
{
    HFONT hFont = CreateFontA(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0,
                              0, 0, 0, "MS Shell Dlg");
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    SIZE size{};
    GetTextExtentPoint32A(hdc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    TEXTMETRICA metrics{};
    GetTextMetricsA(hdc, &metrics);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    DeleteObject(hFont);
    return SIZE{(size.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT ClientRectIn(HWND hDlg, HWND hItem)
{
    RECT rect{};
    GetWindowRect(hItem, &rect);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST_F(DialogTest, TemplateItemsArePlacedInDialogUnitsOfTheTemplateFont)
{
    const HWND hDlg = CreateModeless();
    ASSERT_NE(hDlg, nullptr);
    const SIZE base = ShellDlgBaseUnits();
    ASSERT_GT(base.cx, 3);
    ASSERT_GT(base.cy, 8);
    RECT client{};
    GetClientRect(hDlg, &client);
    EXPECT_EQ(client.right, MulDiv(300, base.cx, 4));
    EXPECT_EQ(client.bottom, MulDiv(120, base.cy, 8));
    for (const DialogItemTemplate& item : kItems)
    {
        // Drop-down combo boxes shrink to their field; icons to the icon.
        if (item.nId == kIdCombo || item.nId == kIdDropList || item.nId == kIdIcon)
            continue;
        const RECT rect = ClientRectIn(hDlg, GetDlgItem(hDlg, item.nId));
        EXPECT_EQ(rect.left, MulDiv(item.x, base.cx, 4)) << item.pszText;
        EXPECT_EQ(rect.top, MulDiv(item.y, base.cy, 8)) << item.pszText;
        EXPECT_EQ(rect.right - rect.left, MulDiv(item.cx, base.cx, 4)) << item.pszText;
        EXPECT_EQ(rect.bottom - rect.top, MulDiv(item.cy, base.cy, 8)) << item.pszText;
    }
    RECT mapped{7, 9, 47, 17};
    ASSERT_TRUE(MapDialogRect(hDlg, &mapped));
    EXPECT_EQ(mapped.right - mapped.left, MulDiv(40, base.cx, 4));
    EXPECT_EQ(SendMessageA(GetDlgItem(hDlg, kIdName), WM_GETFONT, 0, 0),
              SendMessageA(hDlg, WM_GETFONT, 0, 0));
    EXPECT_EQ(gLog.nInits, 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, kIdName)) << "WM_INITDIALOG answered TRUE";
    EXPECT_EQ(GetWindow(hDlg, GW_CHILD), GetDlgItem(hDlg, kIdNameLabel)) << "template order";
    DestroyWindow(hDlg);
}

// Where a control shows something other than the dialog's face.
int CountDrawnPixels(const WindowPicture& picture, const RECT& rect, std::uint32_t face)
{
    int nDrawn = 0;
    for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, picture.nHeight); ++y)
    {
        for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, picture.nWidth);
             ++x)
            nDrawn += picture.GetPixel(x, y) != face ? 1 : 0;
    }
    return nDrawn;
}

TEST_F(DialogTest, PictureOfTheDialogShowsEveryControl)
{
    const HWND hDlg = CreateModeless();
    ASSERT_NE(hDlg, nullptr);
    ShowWindow(hDlg, SW_SHOW);
    UpdateWindow(hDlg);
    m_harness.PumpPending();
    const std::string path = testing::TempDir() + "dialog-controls.bmp";
    ASSERT_TRUE(SaveWindowPicture(hDlg, path.c_str(), true));
    WindowPicture picture;
    ASSERT_TRUE(ReadPictureFile(path.c_str(), picture));
    if (std::getenv("SUITE_KEEP_PICTURES") == nullptr)
        std::remove(path.c_str());
    const std::uint32_t face = SurfacePixel(GetSysColor(COLOR_3DFACE));
    for (const DialogItemTemplate& item : kItems)
    {
        const HWND hItem = GetDlgItem(hDlg, item.nId);
        const RECT rect = ClientRectIn(hDlg, hItem);
        const int nArea = (rect.right - rect.left) * (rect.bottom - rect.top);
        EXPECT_GT(CountDrawnPixels(picture, rect, face), nArea / 20)
            << item.pszClass << " " << item.pszText;
    }
    DestroyWindow(hDlg);
}

// A key pressed and held, or let go, rather than pressed and let go.
constexpr UINT kDown = 0x10000;
constexpr UINT kUp = 0x20000;

struct KeyCase
{
    const char* pszName;
    std::vector<UINT> keys;
    std::vector<WORD> commands;
    INT_PTR nResult;
};

class DialogKeyTest : public DialogTest, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(DialogKeyTest, DialogKeysMoveTheFocusAndAnswerOkOrCancel)
{
    for (UINT nKey : GetParam().keys)
    {
        if (nKey & kDown)
            m_harness.Script().Key(nKey & 0xFF, true);
        else if (nKey & kUp)
            m_harness.Script().Key(nKey & 0xFF, false);
        else
            m_harness.Script().KeyPress(nKey);
    }
    const INT_PTR nResult = RunModal();
    m_harness.Script().Clear();
    UserResetInput();
    EXPECT_EQ(nResult, GetParam().nResult) << GetParam().pszName;
    EXPECT_EQ(gLog.commands, GetParam().commands) << GetParam().pszName;
}

// The focus starts in the name field. Tab order: name, check, radio, list,
// combo (its field), drop list, notes, OK, Cancel, Apply.
INSTANTIATE_TEST_SUITE_P(
    Keys, DialogKeyTest,
    ::testing::Values(KeyCase{"enter is the default button", {VK_RETURN}, {IDOK}, IDOK},
                      KeyCase{"escape is cancel", {VK_ESCAPE}, {IDCANCEL}, IDCANCEL},
                      KeyCase{"tab to the check box, space toggles it",
                              {VK_TAB, VK_SPACE, VK_ESCAPE},
                              {kIdCheck, IDCANCEL},
                              IDCANCEL},
                      KeyCase{"enter on a focused push button is that button",
                              {VK_SHIFT | kDown, VK_TAB, VK_RETURN, VK_ESCAPE},
                              {kIdApply, IDCANCEL},
                              IDCANCEL},
                      KeyCase{"disabled buttons are skipped",
                              {VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB,
                               VK_TAB, VK_RETURN, VK_ESCAPE},
                              {kIdApply, IDCANCEL},
                              IDCANCEL},
                      KeyCase{"arrows check radio buttons of the group",
                              {VK_TAB, VK_TAB, VK_DOWN, VK_ESCAPE},
                              {kIdRadioB, IDCANCEL},
                              IDCANCEL},
                      KeyCase{
                          "a multi-line field that wants Enter keeps it",
                          {VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_RETURN, VK_ESCAPE},
                          {IDCANCEL},
                          IDCANCEL},
                      KeyCase{"alt and a button's mnemonic click it",
                              {VK_MENU | kDown, 'A', VK_MENU | kUp, VK_ESCAPE},
                              {kIdApply, IDCANCEL},
                              IDCANCEL}),
    [](const ::testing::TestParamInfo<KeyCase>& info)
    {
        std::string name = info.param.pszName;
        std::replace_if(
            name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
        return name;
    });

TEST_F(DialogTest, ModalDialogDisablesItsOwnerUntilItEnds)
{
    m_harness.Script()
        .Do([] { EXPECT_FALSE(IsWindowEnabled(GetWindow(FindDialog(), GW_OWNER))); })
        .KeyPress(VK_RETURN);
    EXPECT_EQ(RunModal(), IDOK);
    EXPECT_TRUE(IsWindowEnabled(m_hOwner)) << "enabled again before the call returned";
    EXPECT_EQ(FindDialog(), nullptr);

    // Without leave to run, a display nobody can answer takes the default.
    SetModalWindowsRun(false);
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, &kTemplate, m_hOwner, RecordingDialogProc, 0),
              IDCANCEL);
    ASSERT_FALSE(GetModalRequests().empty());
    EXPECT_EQ(GetModalRequests().back().caption, "Display settings");
    EXPECT_EQ(gLog.nInits, 1) << "the dialog never ran";
}

TEST_F(DialogTest, LabelMnemonicMovesTheFocusToTheNextControl)
{
    const HWND hDlg = CreateModeless();
    SetFocus(GetDlgItem(hDlg, kIdList));
    MSG msg{GetDlgItem(hDlg, kIdList), WM_CHAR, 'n', 0, 0, {0, 0}};
    // The list wants characters for itself; Alt with the letter does not.
    msg.message = WM_SYSCHAR;
    EXPECT_TRUE(IsDialogMessageA(hDlg, &msg));
    EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, kIdName));
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, DefaultButtonFollowsTheFocusedPushButton)
{
    const HWND hDlg = CreateModeless();
    const auto typeOf = [hDlg](int nId)
    { return GetWindowLongPtrA(GetDlgItem(hDlg, nId), GWL_STYLE) & BS_TYPEMASK; };
    EXPECT_EQ(typeOf(IDOK), BS_DEFPUSHBUTTON);
    SetFocus(GetDlgItem(hDlg, kIdApply));
    EXPECT_EQ(typeOf(kIdApply), BS_DEFPUSHBUTTON);
    EXPECT_EQ(typeOf(IDOK), BS_PUSHBUTTON);
    SetFocus(GetDlgItem(hDlg, kIdName));
    EXPECT_EQ(typeOf(kIdApply), BS_PUSHBUTTON);
    EXPECT_EQ(typeOf(IDOK), BS_DEFPUSHBUTTON);
    EXPECT_EQ(LOWORD(SendMessageA(hDlg, DM_GETDEFID, 0, 0)), IDOK);
    DestroyWindow(hDlg);
}

TEST_F(DialogTest, MessageBoxAsksTheHookWithCaptionTextAndFlags)
{
    SetModalAnswerHook(
        [](const ModalRequest& request) -> std::optional<INT_PTR>
        {
            if (request.kind != enModalKind::MessageBox)
                return std::nullopt;
            return (request.nFlags & MB_TYPEMASK) == MB_YESNO ? IDNO : std::optional<INT_PTR>{};
        });
    EXPECT_EQ(MessageBoxA(m_hOwner, "Stop the cine loop?", "Pelivo", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    // Unanswered, a display nobody can answer takes the default button.
    EXPECT_EQ(MessageBoxA(m_hOwner, "Saved.", nullptr, MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    const auto& requests = GetModalRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].text, "Stop the cine loop?");
    EXPECT_EQ(requests[0].caption, "Pelivo");
    EXPECT_EQ(requests[0].nFlags, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(requests[1].caption, "Error");
    EXPECT_EQ(FindDialog(), nullptr) << "no window was made";
}

TEST_F(DialogTest, RunningMessageBoxAnswersItsButtons)
{
    SetModalWindowsRun(true);
    m_harness.Script().KeyPress(VK_ESCAPE);
    EXPECT_EQ(MessageBoxA(m_hOwner, "Done.", "Pelivo", MB_OK | MB_ICONINFORMATION), IDOK)
        << "Esc answers OK when OK is the only button";
    m_harness.Script()
        .Do(
            [this]
            {
                EXPECT_FALSE(IsWindowEnabled(m_hOwner));
                EXPECT_NE(GetDlgItem(FindDialog(), IDNO), nullptr);
                EXPECT_EQ(GetDlgItem(FindDialog(), IDCANCEL), nullptr);
            })
        .KeyPress(VK_ESCAPE)
        .KeyPress(VK_TAB)
        .KeyPress(VK_RETURN);
    EXPECT_EQ(MessageBoxA(m_hOwner, "Close?", "Pelivo", MB_YESNO), IDNO)
        << "Esc does nothing without Cancel; Tab and Enter press No";
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
}

// What becomes of the owner's focused child while a modal window runs.
enum class enChildFate
{
    Kept,
    Destroyed,
    Hidden,
    Disabled,
};

struct FocusCase
{
    const char* pszName;
    bool bMessageBox;
    enChildFate fate;
};

class ModalFocusTest : public DialogTest, public ::testing::WithParamInterface<FocusCase>
{
};

TEST_P(ModalFocusTest, OwnerGetsItsFocusedChildBackWhenTheModalWindowEnds)
{
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hOwner, RECT{10, 10, 400, 300});
    SetFocus(hPane);
    ASSERT_EQ(GetFocus(), hPane);
    m_harness.Script()
        .Do(
            [hPane]
            {
                EXPECT_NE(GetFocus(), hPane) << "the modal window has the keys";
                switch (GetParam().fate)
                {
                case enChildFate::Destroyed:
                    DestroyWindow(hPane);
                    break;
                case enChildFate::Hidden:
                    ShowWindow(hPane, SW_HIDE);
                    break;
                case enChildFate::Disabled:
                    EnableWindow(hPane, FALSE);
                    break;
                case enChildFate::Kept:
                    break;
                }
            })
        .KeyPress(VK_ESCAPE);
    SetModalWindowsRun(true);
    if (GetParam().bMessageBox)
        EXPECT_EQ(MessageBoxA(m_hOwner, "Done.", "Pelivo", MB_OK), IDOK);
    else
        EXPECT_EQ(RunModal(), IDCANCEL);
    m_harness.Script().Clear();

    const HWND hExpected = GetParam().fate == enChildFate::Kept ? hPane : m_hOwner;
    EXPECT_EQ(GetActiveWindow(), m_hOwner);
    EXPECT_EQ(GetFocus(), hExpected);
    ClearMessages();
    m_harness.KeyPress(VK_NEXT);
    m_harness.PumpPending();
    EXPECT_EQ(CountMessages(hExpected, WM_KEYDOWN), 1) << "Page Down reaches the window";
}

INSTANTIATE_TEST_SUITE_P(
    Modal, ModalFocusTest,
    ::testing::Values(FocusCase{"dialog_child_kept", false, enChildFate::Kept},
                      FocusCase{"message_box_child_kept", true, enChildFate::Kept},
                      FocusCase{"dialog_child_destroyed", false, enChildFate::Destroyed},
                      FocusCase{"message_box_child_destroyed", true, enChildFate::Destroyed},
                      FocusCase{"dialog_child_hidden", false, enChildFate::Hidden},
                      FocusCase{"dialog_child_disabled", false, enChildFate::Disabled}),
    [](const ::testing::TestParamInfo<FocusCase>& info)
    { return std::string(info.param.pszName); });

TEST_F(DialogTest, FocusOnTheOwnerItselfStaysThereAfterAModalWindow)
{
    const HWND hPane = CreateTestWindow(WS_CHILD | WS_VISIBLE, m_hOwner, RECT{10, 10, 400, 300});
    SetFocus(hPane);
    SetFocus(m_hOwner);
    SetModalWindowsRun(true);
    m_harness.Script().KeyPress(VK_ESCAPE);
    EXPECT_EQ(MessageBoxA(m_hOwner, "Done.", "Pelivo", MB_OK), IDOK);
    EXPECT_EQ(GetFocus(), m_hOwner) << "no child the owner had before";
}
} // namespace
