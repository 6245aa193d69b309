// The standard controls: an edit and a combo-box behaviour table, buttons,
// statics, list boxes and scroll-bar controls, driven by messages and by
// scripted input.
#include "UserTestSupport.h"

#include "WinModule.h"

#include <functional>
#include <string>
#include <vector>

namespace
{
constexpr int kControlId = 42;

class ControlTest : public UserTest
{
protected:
    ControlTest()
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 600, 500});
        SetHandler(m_hParent,
                   [this](HWND, UINT nMsg, WPARAM wParam, LPARAM) -> std::optional<LRESULT>
                   {
                       if (nMsg == WM_COMMAND && LOWORD(wParam) == kControlId)
                           m_codes.push_back(HIWORD(wParam));
                       return std::nullopt;
                   });
        m_harness.PumpPending();
    }

    HWND Create(LPCSTR pszClass, DWORD dwStyle, LPCSTR pszText = "", RECT rect = {10, 10, 210, 34})
    {
        const HWND hWnd = CreateWindowExA(
            0, pszClass, pszText, dwStyle | WS_CHILD | WS_VISIBLE, rect.left, rect.top,
            rect.right - rect.left, rect.bottom - rect.top, m_hParent,
            reinterpret_cast<HMENU>(kControlId), GetModuleHandleA(nullptr), nullptr);
        m_harness.PumpPending();
        m_codes.clear();
        return hWnd;
    }

    static std::string Text(HWND hWnd)
    {
        char buffer[256] = {};
        GetWindowTextA(hWnd, buffer, sizeof(buffer));
        return buffer;
    }

    int CountCode(WORD nCode) const
    {
        return static_cast<int>(std::count(m_codes.begin(), m_codes.end(), nCode));
    }

    HWND m_hParent = nullptr;
    std::vector<WORD> m_codes;
};

// ---------------------------------------------------------------- Edit
void TypeChars(HWND hEdit, const std::string& text)
{
    for (char ch : text)
        SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(ch), 0);
}

struct EditCase
{
    const char* pszName;
    DWORD dwStyle;
    const char* pszInitial;
    std::function<void(HWND, CUiHarness&)> act;
    const char* pszExpected;
    DWORD dwSelStart;
    DWORD dwSelEnd;
    int nChanges;
};

class EditTableTest : public ControlTest, public ::testing::WithParamInterface<EditCase>
{
};

TEST_P(EditTableTest, EditBehaves)
{
    const EditCase& c = GetParam();
    const HWND hEdit = Create("Edit", c.dwStyle | ES_AUTOHSCROLL, c.pszInitial);
    SetFocus(hEdit);
    SendMessageA(hEdit, EM_SETSEL, 0, 0);
    m_codes.clear();
    c.act(hEdit, m_harness);
    m_harness.PumpPending();
    EXPECT_EQ(Text(hEdit), c.pszExpected) << c.pszName;
    DWORD dwStart = 0;
    DWORD dwEnd = 0;
    SendMessageA(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                 reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(dwStart, c.dwSelStart) << c.pszName;
    EXPECT_EQ(dwEnd, c.dwSelEnd) << c.pszName;
    EXPECT_EQ(CountCode(EN_CHANGE), c.nChanges) << c.pszName;
    // The caret stands at the end of the selection the keys made.
    POINT ptCaret{};
    GetCaretPos(&ptCaret);
    const LRESULT pos = SendMessageA(hEdit, EM_POSFROMCHAR, dwEnd, 0);
    EXPECT_EQ(ptCaret.x, static_cast<SHORT>(LOWORD(pos))) << c.pszName;
}

void PressKey(CUiHarness& harness, UINT nKey, UINT nModifier = 0)
{
    if (nModifier != 0)
        harness.KeyDown(nModifier);
    harness.KeyPress(nKey);
    if (nModifier != 0)
        harness.KeyUp(nModifier);
    harness.PumpPending();
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditTableTest,
    ::testing::Values(
        EditCase{"typing inserts at the caret", 0, "",
                 [](HWND h, CUiHarness&) { TypeChars(h, "abc"); }, "abc", 3, 3, 3},
        EditCase{"backspace deletes before the caret", 0, "abc",
                 [](HWND h, CUiHarness& ui)
                 {
                     PressKey(ui, VK_END);
                     PressKey(ui, VK_LEFT);
                     TypeChars(h, "\b");
                 },
                 "ac", 1, 1, 1},
        EditCase{"shift and home select, typing replaces", 0, "hello",
                 [](HWND h, CUiHarness& ui)
                 {
                     PressKey(ui, VK_END);
                     PressKey(ui, VK_HOME, VK_SHIFT);
                     TypeChars(h, "x");
                 },
                 "x", 1, 1, 1},
        EditCase{"shift and arrows extend the selection", 0, "hello",
                 [](HWND, CUiHarness& ui)
                 {
                     PressKey(ui, VK_RIGHT);
                     PressKey(ui, VK_RIGHT, VK_SHIFT);
                     PressKey(ui, VK_RIGHT, VK_SHIFT);
                 },
                 "hello", 1, 3, 0},
        EditCase{"delete removes after the caret", 0, "abc",
                 [](HWND, CUiHarness& ui) { PressKey(ui, VK_DELETE); }, "bc", 0, 0, 1},
        EditCase{"the limit cuts what is typed", 0, "",
                 [](HWND h, CUiHarness&)
                 {
                     SendMessageA(h, EM_LIMITTEXT, 3, 0);
                     TypeChars(h, "abcd");
                 },
                 "abc", 3, 3, 3},
        EditCase{"read-only refuses typing", ES_READONLY, "abc",
                 [](HWND h, CUiHarness&) { TypeChars(h, "x\b"); }, "abc", 0, 0, 0},
        EditCase{"numbers only", ES_NUMBER, "", [](HWND h, CUiHarness&) { TypeChars(h, "1a2"); },
                 "12", 2, 2, 2},
        EditCase{"upper case", ES_UPPERCASE, "", [](HWND h, CUiHarness&) { TypeChars(h, "ab"); },
                 "AB", 2, 2, 2},
        EditCase{"select all, copy, paste at the end", 0, "pane",
                 [](HWND h, CUiHarness& ui)
                 {
                     TypeChars(h, "\x01\x03");
                     PressKey(ui, VK_END);
                     TypeChars(h, "\x16");
                 },
                 "panepane", 8, 8, 1},
        EditCase{"cut takes the selection to the clipboard", 0, "cine loop",
                 [](HWND h, CUiHarness&)
                 {
                     SendMessageA(h, EM_SETSEL, 4, 9);
                     TypeChars(h, "\x18");
                     SendMessageA(h, EM_SETSEL, 0, 0);
                     SendMessageA(h, WM_PASTE, 0, 0);
                 },
                 " loopcine", 5, 5, 2},
        EditCase{"clear removes the selection", 0, "window",
                 [](HWND h, CUiHarness&)
                 {
                     SendMessageA(h, EM_SETSEL, 1, 4);
                     SendMessageA(h, WM_CLEAR, 0, 0);
                 },
                 "wow", 1, 1, 1},
        EditCase{"set text sends a change for one line", 0, "a",
                 [](HWND h, CUiHarness&) { SetWindowTextA(h, "level"); }, "level", 0, 0, 1},
        EditCase{"set text sends none for several lines", ES_MULTILINE, "a",
                 [](HWND h, CUiHarness&) { SetWindowTextA(h, "level"); }, "level", 0, 0, 0},
        EditCase{"enter breaks a multi-line text", ES_MULTILINE | ES_WANTRETURN, "",
                 [](HWND h, CUiHarness&) { TypeChars(h, "a\rb"); }, "a\r\nb", 4, 4, 3},
        EditCase{"ctrl and right step over a word", 0, "zoom level",
                 [](HWND, CUiHarness& ui) { PressKey(ui, VK_RIGHT, VK_CONTROL); }, "zoom level", 5,
                 5, 0}),
    [](const ::testing::TestParamInfo<EditCase>& info)
    {
        std::string name = info.param.pszName;
        std::replace_if(
            name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
        return name;
    });

TEST_F(ControlTest, MultiLineEditCountsItsLinesAndGivesThemOut)
{
    const HWND hEdit = Create("Edit", ES_MULTILINE | ES_AUTOHSCROLL, "one\r\ntwo\r\nthree",
                              RECT{10, 10, 210, 110});
    EXPECT_EQ(SendMessageA(hEdit, EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(hEdit, EM_LINEINDEX, 2, 0), 10);
    EXPECT_EQ(SendMessageA(hEdit, EM_LINEFROMCHAR, 6, 0), 1);
    EXPECT_EQ(SendMessageA(hEdit, EM_LINELENGTH, 10, 0), 5);
    char line[16] = {};
    *reinterpret_cast<WORD*>(line) = sizeof(line);
    EXPECT_EQ(SendMessageA(hEdit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 3);
    EXPECT_EQ(std::string(line, 3), "two");
    // A long line wraps in a narrow field that does not scroll sideways.
    const HWND hWrapped = Create("Edit", ES_MULTILINE, "pane one pane two pane three pane four",
                                 RECT{10, 120, 80, 220});
    EXPECT_GT(SendMessageA(hWrapped, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(ControlTest, ClickPlacesTheCaretAndDragSelects)
{
    const HWND hEdit = Create("Edit", ES_AUTOHSCROLL, "abcdef");
    const LRESULT posC = SendMessageA(hEdit, EM_POSFROMCHAR, 2, 0);
    const LRESULT posE = SendMessageA(hEdit, EM_POSFROMCHAR, 4, 0);
    const POINT ptC = CUiHarness::ScreenPoint(hEdit, LOWORD(posC), HIWORD(posC) + 3);
    const POINT ptE = CUiHarness::ScreenPoint(hEdit, LOWORD(posE), HIWORD(posE) + 3);
    m_harness.MouseDown(enMouseButton::Left, ptC);
    m_harness.MouseMove(ptE);
    m_harness.MouseUp(enMouseButton::Left, ptE);
    m_harness.PumpPending();
    EXPECT_EQ(GetFocus(), hEdit);
    EXPECT_EQ(SendMessageA(hEdit, EM_GETSEL, 0, 0), MAKELRESULT(2, 4));
    EXPECT_EQ(CountCode(EN_SETFOCUS), 1);
}

// ---------------------------------------------------------------- ComboBox
struct ComboCase
{
    const char* pszName;
    DWORD dwStyle;
    std::function<LRESULT(HWND, CUiHarness&)> act;
    LRESULT nAnswer;
    int nSelection;
    const char* pszText;
    std::vector<WORD> codes;
};

class ComboTableTest : public ControlTest, public ::testing::WithParamInterface<ComboCase>
{
};

TEST_P(ComboTableTest, ComboBoxBehaves)
{
    const ComboCase& c = GetParam();
    const HWND hCombo = Create("ComboBox", c.dwStyle, "", RECT{10, 10, 160, 160});
    for (const char* item : {"Red", "Green", "Greyish", "Blue"})
        SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    SetFocus(hCombo);
    m_harness.PumpPending();
    m_codes.clear();
    EXPECT_EQ(c.act(hCombo, m_harness), c.nAnswer) << c.pszName;
    m_harness.PumpPending();
    EXPECT_EQ(SendMessageA(hCombo, CB_GETCURSEL, 0, 0), c.nSelection) << c.pszName;
    EXPECT_EQ(Text(hCombo), c.pszText) << c.pszName;
    std::vector<WORD> codes;
    for (WORD nCode : m_codes)
    {
        if (nCode != CBN_SETFOCUS && nCode != CBN_EDITUPDATE)
            codes.push_back(nCode);
    }
    EXPECT_EQ(codes, c.codes) << c.pszName;
}

LRESULT Send(HWND hWnd, UINT nMsg, WPARAM wParam, const char* text)
{
    return SendMessageA(hWnd, nMsg, wParam, reinterpret_cast<LPARAM>(text));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ComboTableTest,
    ::testing::Values(
        ComboCase{"select string is a prefix match without case",
                  CBS_DROPDOWN,
                  [](HWND h, CUiHarness&) { return Send(h, CB_SELECTSTRING, WPARAM(-1), "gre"); },
                  1,
                  1,
                  "Green",
                  {}},
        ComboCase{"select string starts after the index given",
                  CBS_DROPDOWNLIST,
                  [](HWND h, CUiHarness&) { return Send(h, CB_SELECTSTRING, 1, "GRE"); },
                  2,
                  2,
                  "Greyish",
                  {}},
        ComboCase{"select string without a match keeps the selection",
                  CBS_DROPDOWN,
                  [](HWND h, CUiHarness&) { return Send(h, CB_SELECTSTRING, WPARAM(-1), "x"); },
                  CB_ERR,
                  0,
                  "Red",
                  {}},
        ComboCase{"a character sent to the combo box is typed into its edit field",
                  CBS_DROPDOWN,
                  [](HWND h, CUiHarness&)
                  {
                      SendMessageA(h, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
                      return SendMessageA(h, WM_CHAR, 'x', 0);
                  },
                  0,
                  0,
                  "x",
                  {CBN_EDITCHANGE}},
        ComboCase{"down selects the next item",
                  CBS_DROPDOWNLIST,
                  [](HWND, CUiHarness& ui)
                  {
                      PressKey(ui, VK_DOWN);
                      return 0;
                  },
                  0,
                  1,
                  "Green",
                  {CBN_SELCHANGE}},
        ComboCase{"down in the edit field selects too",
                  CBS_DROPDOWN,
                  [](HWND, CUiHarness& ui)
                  {
                      PressKey(ui, VK_DOWN);
                      PressKey(ui, VK_DOWN);
                      return 0;
                  },
                  0,
                  2,
                  "Greyish",
                  {CBN_SELCHANGE, CBN_SELCHANGE}},
        ComboCase{"a letter selects the next item it starts",
                  CBS_DROPDOWNLIST,
                  [](HWND, CUiHarness& ui)
                  {
                      PressKey(ui, 'B');
                      return 0;
                  },
                  0,
                  3,
                  "Blue",
                  {CBN_SELCHANGE}},
        ComboCase{"typing in the field changes the text, not the selection",
                  CBS_DROPDOWN,
                  [](HWND h, CUiHarness&)
                  {
                      const HWND hEdit = GetDlgItem(h, IDC_COMBO_EDIT);
                      SendMessageA(hEdit, EM_SETSEL, 0, -1);
                      TypeChars(hEdit, "Teal");
                      return 0;
                  },
                  0,
                  0,
                  "Teal",
                  {CBN_EDITCHANGE, CBN_EDITCHANGE, CBN_EDITCHANGE, CBN_EDITCHANGE}},
        ComboCase{"f4 drops the list, enter takes the choice",
                  CBS_DROPDOWNLIST,
                  [](HWND h, CUiHarness& ui)
                  {
                      PressKey(ui, VK_F4);
                      const LRESULT bDropped = SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0);
                      PressKey(ui, VK_DOWN);
                      PressKey(ui, VK_RETURN);
                      return bDropped;
                  },
                  TRUE,
                  1,
                  "Green",
                  {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}},
        ComboCase{"escape closes the list and keeps the old choice",
                  CBS_DROPDOWN,
                  [](HWND h, CUiHarness& ui)
                  {
                      SendMessageA(h, CB_SHOWDROPDOWN, TRUE, 0);
                      PressKey(ui, VK_DOWN);
                      PressKey(ui, VK_ESCAPE);
                      return SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0);
                  },
                  FALSE,
                  0,
                  "Red",
                  {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}},
        ComboCase{"a click in the dropped list chooses",
                  CBS_DROPDOWNLIST,
                  [](HWND h, CUiHarness& ui)
                  {
                      SendMessageA(h, CB_SHOWDROPDOWN, TRUE, 0);
                      RECT rcDropped{};
                      SendMessageA(h, CB_GETDROPPEDCONTROLRECT, 0,
                                   reinterpret_cast<LPARAM>(&rcDropped));
                      RECT rcField{};
                      GetWindowRect(h, &rcField);
                      const int nItem = static_cast<int>(SendMessageA(h, CB_GETITEMHEIGHT, 0, 0));
                      ui.Click(enMouseButton::Left,
                               POINT{rcField.left + 10, rcField.bottom + nItem * 3 + nItem / 2});
                      ui.PumpPending();
                      return SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0);
                  },
                  FALSE,
                  3,
                  "Blue",
                  {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}},
        ComboCase{"a press outside the dropped list cancels",
                  CBS_DROPDOWNLIST,
                  [](HWND h, CUiHarness& ui)
                  {
                      SendMessageA(h, CB_SHOWDROPDOWN, TRUE, 0);
                      ui.Click(enMouseButton::Left, POINT{590, 480});
                      ui.PumpPending();
                      return SendMessageA(h, CB_GETDROPPEDSTATE, 0, 0);
                  },
                  FALSE,
                  0,
                  "Red",
                  {CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}}),
    [](const ::testing::TestParamInfo<ComboCase>& info)
    {
        std::string name = info.param.pszName;
        std::replace_if(
            name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
        return name;
    });

TEST_F(ControlTest, ComboFieldHeightAndEditChildFollowTheStyle)
{
    const HWND hDropDown = Create("ComboBox", CBS_DROPDOWN, "", RECT{10, 10, 160, 200});
    const HWND hList = Create("ComboBox", CBS_DROPDOWNLIST, "", RECT{10, 40, 160, 200});
    const HWND hSimple = Create("ComboBox", CBS_SIMPLE, "", RECT{10, 70, 160, 200});
    EXPECT_NE(GetDlgItem(hDropDown, IDC_COMBO_EDIT), nullptr);
    EXPECT_NE(GetDlgItem(hSimple, IDC_COMBO_EDIT), nullptr);
    EXPECT_EQ(GetDlgItem(hList, IDC_COMBO_EDIT), nullptr);
    RECT rect{};
    GetWindowRect(hDropDown, &rect);
    EXPECT_LT(rect.bottom - rect.top, 40) << "a dropping combo box is as tall as its field";
    GetWindowRect(hSimple, &rect);
    EXPECT_EQ(rect.bottom - rect.top, 130) << "a simple one keeps its list below";
    SendMessageA(hList, CB_SETITEMHEIGHT, WPARAM(-1), 30);
    GetWindowRect(hList, &rect);
    EXPECT_GE(rect.bottom - rect.top, 30);
    EXPECT_EQ(SendMessageA(hList, CB_GETITEMHEIGHT, WPARAM(-1), 0), 30);
}

TEST_F(ControlTest, ComboScrollBarsAreItsListsNotItsOwn)
{
    const HWND hCombo =
        Create("ComboBox", CBS_DROPDOWN | WS_VSCROLL | WS_HSCROLL, "", RECT{10, 10, 160, 200});
    EXPECT_EQ(GetWindowLongPtrA(hCombo, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
    RECT window{};
    RECT client{};
    GetWindowRect(hCombo, &window);
    GetClientRect(hCombo, &client);
    EXPECT_EQ(client.right, window.right - window.left) << "no scroll bar beside the field";
}

TEST_F(ControlTest, ComboLosingTheFocusToAnotherControlSaysSo)
{
    const HWND hCombo = Create("ComboBox", CBS_DROPDOWN, "", RECT{10, 10, 160, 200});
    const HWND hOther = Create("Edit", 0, "", RECT{10, 60, 160, 80});
    SetFocus(hCombo);
    EXPECT_EQ(GetFocus(), GetDlgItem(hCombo, IDC_COMBO_EDIT));
    SetFocus(hOther);
    EXPECT_EQ(CountCode(CBN_SETFOCUS), 1);
    EXPECT_EQ(CountCode(CBN_KILLFOCUS), 1);
}

TEST_F(ControlTest, OwnerDrawnComboIsMeasuredOnceAndDrawnByItsParent)
{
    std::vector<UINT> drawn;
    int nMeasured = 0;
    SetHandler(m_hParent,
               [&](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg == WM_MEASUREITEM)
                   {
                       auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
                       EXPECT_EQ(mis->CtlType, UINT(ODT_COMBOBOX));
                       mis->itemHeight = 18;
                       ++nMeasured;
                       return TRUE;
                   }
                   if (nMsg == WM_DRAWITEM)
                   {
                       const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                       EXPECT_EQ(dis->CtlType, UINT(ODT_COMBOBOX));
                       EXPECT_EQ(dis->CtlID, UINT(kControlId));
                       drawn.push_back(dis->itemID);
                       return TRUE;
                   }
                   return std::nullopt;
               });
    const HWND hCombo = Create("ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                               "", RECT{10, 10, 160, 200});
    SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Red"));
    SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Green"));
    SendMessageA(hCombo, CB_SETCURSEL, 1, 0);
    drawn.clear();
    SendMessageA(hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    m_harness.PumpPending();
    EXPECT_EQ(nMeasured, 1);
    EXPECT_EQ(SendMessageA(hCombo, CB_GETITEMHEIGHT, 0, 0), 18);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 0u), drawn.end()) << "the list's items";
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1u), drawn.end());
    SendMessageA(hCombo, CB_SHOWDROPDOWN, FALSE, 0);
}

// ---------------------------------------------------------------- Button
TEST_F(ControlTest, PressAndReleaseInsideClicksAndOutsideDoesNot)
{
    const HWND hButton = Create("Button", BS_PUSHBUTTON, "Apply");
    const POINT ptIn = CUiHarness::ScreenPoint(hButton, 20, 10);
    m_harness.Click(enMouseButton::Left, ptIn);
    m_harness.PumpPending();
    EXPECT_EQ(CountCode(BN_CLICKED), 1);
    EXPECT_EQ(GetFocus(), hButton);
    m_harness.MouseDown(enMouseButton::Left, ptIn);
    m_harness.PumpPending();
    EXPECT_EQ(SendMessageA(hButton, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    m_harness.MouseMove(POINT{ptIn.x, ptIn.y + 100});
    m_harness.MouseUp(enMouseButton::Left, POINT{ptIn.x, ptIn.y + 100});
    m_harness.PumpPending();
    EXPECT_EQ(CountCode(BN_CLICKED), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    m_harness.KeyPress(VK_SPACE);
    m_harness.PumpPending();
    EXPECT_EQ(CountCode(BN_CLICKED), 2) << "space clicks the focused button";
}

TEST_F(ControlTest, AutoButtonsCheckThemselvesAndRadioGroupsStayExclusive)
{
    const HWND hCheck = Create("Button", BS_AUTOCHECKBOX, "Grid", RECT{10, 10, 110, 30});
    const HWND hThree = Create("Button", BS_AUTO3STATE, "Mixed", RECT{10, 40, 110, 60});
    const HWND hRadioA =
        Create("Button", BS_AUTORADIOBUTTON | WS_GROUP, "Lines", RECT{10, 70, 110, 90});
    const HWND hRadioB = Create("Button", BS_AUTORADIOBUTTON, "Points", RECT{10, 100, 110, 120});
    const HWND hOutside =
        Create("Button", BS_AUTORADIOBUTTON | WS_GROUP, "Other group", RECT{10, 130, 110, 150});
    // Children come newest on top; a dialog's order is the creation order.
    for (HWND hWnd : {hCheck, hThree, hRadioA, hRadioB, hOutside})
        SetWindowPos(hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SendMessageA(hOutside, BM_SETCHECK, BST_CHECKED, 0);
    for (HWND hWnd : {hCheck, hThree, hThree, hRadioA, hRadioB})
        SendMessageA(hWnd, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(hCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(hThree, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(SendMessageA(hRadioA, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(hRadioB, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(hOutside, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group";
    EXPECT_EQ(CountCode(BN_CLICKED), 5);
}

TEST_F(ControlTest, OwnerDrawnButtonIsDrawnByItsParentWithItsState)
{
    std::vector<std::pair<UINT, UINT>> draws; // action, state
    SetHandler(m_hParent,
               [&](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_DRAWITEM)
                       return std::nullopt;
                   const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
                   EXPECT_EQ(dis->CtlType, UINT(ODT_BUTTON));
                   draws.emplace_back(dis->itemAction, dis->itemState);
                   return TRUE;
               });
    const HWND hButton = Create("Button", BS_PUSHBUTTON, "Menu");
    SendMessageA(hButton, BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    m_harness.PumpPending();
    draws.clear();
    m_harness.MouseDown(enMouseButton::Left, CUiHarness::ScreenPoint(hButton, 5, 5));
    m_harness.PumpPending();
    ASSERT_FALSE(draws.empty());
    const auto selected = std::find_if(draws.begin(), draws.end(),
                                       [](const auto& draw) { return draw.first == ODA_SELECT; });
    ASSERT_NE(selected, draws.end());
    EXPECT_EQ(selected->second & ODS_SELECTED, UINT(ODS_SELECTED));
    EXPECT_NE(std::find_if(draws.begin(), draws.end(),
                           [](const auto& draw)
                           { return draw.first == ODA_FOCUS && (draw.second & ODS_FOCUS); }),
              draws.end());
    m_harness.MouseUp(enMouseButton::Left, CUiHarness::ScreenPoint(hButton, 5, 5));
    m_harness.PumpPending();
}

// ---------------------------------------------------------------- Static
TEST_F(ControlTest, StaticPassesTheMouseThroughUnlessItNotifies)
{
    const HWND hPlain = Create("Static", SS_LEFT, "Label", RECT{10, 10, 110, 30});
    const HWND hNotify = Create("Static", SS_LEFT | SS_NOTIFY, "Link", RECT{10, 40, 110, 60});
    ClearMessages();
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hPlain, 5, 5));
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hNotify, 5, 5));
    m_harness.PumpPending();
    const auto presses = Messages({WM_LBUTTONDOWN});
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses[0].hWnd, m_hParent) << "the plain label let the press through";
    EXPECT_EQ(m_codes, std::vector<WORD>{STN_CLICKED});
}

TEST_F(ControlTest, StaticDrawsInTheFontItsParentSelectsForIt)
{
    const HFONT hLarge =
        CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    bool bSelectLarge = false;
    SetHandler(m_hParent,
               [&](HWND, UINT nMsg, WPARAM wParam, LPARAM) -> std::optional<LRESULT>
               {
                   if (nMsg != WM_CTLCOLORSTATIC)
                       return std::nullopt;
                   const auto hdc = reinterpret_cast<HDC>(wParam);
                   if (bSelectLarge)
                       SelectObject(hdc, hLarge);
                   SetTextColor(hdc, RGB(255, 0, 0));
                   return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
               });
    const HWND hStatic = Create("Static", SS_LEFT, "Wide", RECT{10, 10, 210, 70});
    // The lowest row with text in it.
    const auto textBottom = [&]
    {
        InvalidateRect(hStatic, nullptr, TRUE);
        m_harness.PumpPending();
        const WindowPicture picture = ClientPicture(hStatic);
        int nBottom = -1;
        for (int y = 0; y < picture.nHeight; ++y)
            for (int x = 0; x < picture.nWidth; ++x)
                if (picture.GetPixel(x, y) == SurfacePixel(RGB(255, 0, 0)))
                    nBottom = y;
        return nBottom;
    };
    const int nSmall = textBottom();
    bSelectLarge = true;
    const int nLarge = textBottom();
    EXPECT_GT(nSmall, 0);
    EXPECT_GT(nLarge, nSmall + 15) << "drawn in the 40-pixel font";
    DestroyWindow(hStatic);
    DeleteObject(hLarge);
}

// ---------------------------------------------------------------- ListBox
TEST_F(ControlTest, SortedListKeepsOrderAndKeysMoveTheSelection)
{
    const HWND hList =
        Create("ListBox", LBS_SORT | LBS_NOTIFY | WS_VSCROLL, "", RECT{10, 10, 110, 60});
    for (const char* item : {"cine", "Axial", "zoom", "Bone"})
        SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    char text[16] = {};
    SendMessageA(hList, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Bone");
    EXPECT_EQ(SendMessageA(hList, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("ZOOM")),
              3);
    SetFocus(hList);
    m_harness.KeyPress(VK_END);
    m_harness.KeyPress(VK_UP);
    m_harness.PumpPending();
    EXPECT_EQ(SendMessageA(hList, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(CountCode(LBN_SELCHANGE), 2);
    EXPECT_GT(SendMessageA(hList, LB_GETTOPINDEX, 0, 0), 0) << "scrolled to show the end";
    EXPECT_EQ(SendMessageA(hList, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageA(hList, LB_GETCURSEL, 0, 0), 1) << "the selection moved with its item";
}

// The items an extended-selection list has selected, in its order.
std::vector<int> SelectedItems(HWND hList)
{
    std::vector<int> items(static_cast<size_t>(SendMessageA(hList, LB_GETSELCOUNT, 0, 0)));
    SendMessageA(hList, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
    return items;
}

TEST_F(ControlTest, ExtendedSelectionListTogglesWithCtrlAndExtendsWithShift)
{
    const HWND hList = Create("ListBox", LBS_NOTIFY | LBS_EXTENDEDSEL, "", RECT{10, 10, 110, 110});
    for (const char* item : {"a", "b", "c", "d", "e"})
        SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    RECT rect{};
    const auto click = [&](int nItem, UINT nKey)
    {
        SendMessageA(hList, LB_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(&rect));
        if (nKey != 0)
            m_harness.KeyDown(nKey);
        m_harness.Click(enMouseButton::Left,
                        CUiHarness::ScreenPoint(hList, 5, (rect.top + rect.bottom) / 2));
        if (nKey != 0)
            m_harness.KeyUp(nKey);
        m_harness.PumpPending();
        return SelectedItems(hList);
    };
    EXPECT_EQ(click(1, 0), (std::vector<int>{1}));
    EXPECT_EQ(click(3, VK_CONTROL), (std::vector<int>{1, 3}));
    EXPECT_EQ(click(1, VK_CONTROL), (std::vector<int>{3})) << "Ctrl takes a picked item away";
    EXPECT_EQ(click(0, VK_SHIFT), (std::vector<int>{0, 1})) << "from the anchor, item 1";
    EXPECT_EQ(click(4, 0), (std::vector<int>{4}));
    EXPECT_EQ(SendMessageA(hList, LB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(CountCode(LBN_SELCHANGE), 5);
    m_harness.KeyDown(VK_SHIFT);
    m_harness.KeyPress(VK_UP);
    m_harness.KeyUp(VK_SHIFT);
    m_harness.PumpPending();
    EXPECT_EQ(SelectedItems(hList), (std::vector<int>{3, 4}));
    EXPECT_EQ(SendMessageA(hList, LB_SETSEL, FALSE, -1), LB_OKAY);
    EXPECT_EQ(SendMessageA(hList, LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(hList, LB_SETSEL, TRUE, 2), LB_OKAY);
    EXPECT_EQ(SendMessageA(hList, LB_GETSEL, 2, 0), 1);
    EXPECT_EQ(SendMessageA(hList, LB_SETSEL, TRUE, 9), LB_ERR);
    SendMessageA(hList, LB_DELETESTRING, 0, 0);
    EXPECT_EQ(SelectedItems(hList), (std::vector<int>{1})) << "the selection moved with its item";
}

// ---------------------------------------------------------------- ScrollBar
TEST_F(ControlTest, ScrollBarControlClampsAndTellsItsParent)
{
    std::vector<std::pair<WORD, HWND>> scrolls;
    SetHandler(m_hParent,
               [&](HWND, UINT nMsg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT>
               {
                   if (nMsg == WM_VSCROLL)
                       scrolls.emplace_back(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
                   return std::nullopt;
               });
    const HWND hBar = Create("ScrollBar", SBS_VERT, "", RECT{10, 10, 26, 210});
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 95, 0};
    EXPECT_EQ(SetScrollInfo(hBar, SB_CTL, &info, TRUE), 91);
    EXPECT_EQ(SendMessageA(hBar, SBM_GETPOS, 0, 0), 91);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(hBar, 8, 196));
    m_harness.PumpPending();
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(scrolls[0], std::make_pair(WORD(SB_LINEDOWN), hBar));
    EXPECT_EQ(scrolls[1].first, WORD(SB_ENDSCROLL));
}
} // namespace
