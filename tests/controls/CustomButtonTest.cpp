// The custom-painted button base: its state word, the check cycles of its
// kinds, mouse tracking, radio groups, what it hands Draw, and its standing
// in for a standard button while a subclass keeps it off.
#include "CustomButton.h"
#include "ControlTestSupport.h"

#include <string>
#include <vector>

namespace
{
class CPaintedButton : public CCustomButton
{
public:
    bool bCustom = true;
    std::vector<CCustomButtonData> draws;

protected:
    bool IsCustom() const override { return bCustom; }
    void Draw(CDC* pDC, CRect rect, const CCustomButtonData& data) override
    {
        draws.push_back(data);
        // A dark square while selected, to be seen.
        if (data.bSelected)
            pDC->FillSolidRect(rect.left + 2, rect.top + 2, 8, 8, RGB(0, 0, 0));
    }
};

class CustomButtonTest : public testing::Test
{
protected:
    CPaintedButton& Make(DWORD dwType, const char* pszText = "Box", UINT nId = 30,
                         CRect rect = CRect(20, 20, 120, 44), DWORD dwGroup = 0)
    {
        auto& button = m_buttons.emplace_back(std::make_unique<CPaintedButton>());
        button->Create(pszText, WS_CHILD | WS_VISIBLE | dwType | dwGroup, rect, &m_parent, nId);
        m_harness.PumpPending();
        return *button;
    }

    static LRESULT Check(CPaintedButton& button) { return button.SendMessage(BM_GETCHECK); }

    CFailOnBlockHarness m_harness;
    CTestParent m_parent;
    std::vector<std::unique_ptr<CPaintedButton>> m_buttons;
};

TEST_F(CustomButtonTest, ClicksCycleTheCheckStatesOfEachKind)
{
    struct Case
    {
        const char* pszName;
        DWORD dwType;
        std::vector<LRESULT> checks;
    };
    const Case cases[] = {
        {"three-state", BS_AUTO3STATE, {1, 3, 0, 1}},
        {"three-state, not automatic", BS_3STATE, {1, 3, 0, 1}},
        {"check box", BS_AUTOCHECKBOX, {1, 0, 1, 0}},
        {"push button", BS_PUSHBUTTON, {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        CPaintedButton& button = Make(c.dwType);
        std::vector<LRESULT> checks;
        for (std::size_t i = 0; i < c.checks.size(); ++i)
        {
            button.SendMessage(BM_CLICK);
            checks.push_back(Check(button));
        }
        EXPECT_EQ(checks, c.checks) << c.pszName;
        ASSERT_FALSE(m_parent.commands.empty()) << c.pszName;
        EXPECT_EQ(m_parent.commands.back().nId, 30u);
        EXPECT_EQ(m_parent.commands.back().nCode, UINT(BN_CLICKED));
        EXPECT_EQ(m_parent.commands.back().hWndControl, button.m_hWnd);
        EXPECT_EQ(::GetFocus(), button.m_hWnd) << "a click takes the focus";
        button.DestroyWindow();
        m_parent.commands.clear();
    }
}

TEST_F(CustomButtonTest, StateMessagesReadAndWriteTheStateWord)
{
    CPaintedButton& button = Make(BS_AUTOCHECKBOX);
    button.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(Check(button), 1);
    button.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(Check(button), 3) << "indeterminate joins the selection";
    button.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ(Check(button), 2) << "only the selected bit cleared";
    button.SendMessage(BM_SETSTATE, 0xC);
    EXPECT_EQ(button.SendMessage(BM_GETSTATE), 0xC);
    EXPECT_TRUE(button.GetHiliteState());
    EXPECT_TRUE(button.GetFocusState());
    EXPECT_EQ(Check(button), 0);
    button.SetStateFlag(CCustomButton::enSelected | CCustomButton::enIndeterminate, TRUE);
    EXPECT_EQ(button.SendMessage(BM_GETSTATE), 0xF);
}

TEST_F(CustomButtonTest, TrackingHighlightsWhileTheMouseIsInsideAndClicksOnRelease)
{
    CPaintedButton& button = Make(BS_AUTOCHECKBOX);
    const POINT inside = CUiHarness::ScreenPoint(button.m_hWnd, 10, 10);
    const POINT outside = CUiHarness::ScreenPoint(button.m_hWnd, 10, 60);
    m_harness.MouseDown(enMouseButton::Left, inside);
    m_harness.PumpPending();
    EXPECT_EQ(::GetCapture(), button.m_hWnd);
    EXPECT_TRUE(button.GetHiliteState());
    EXPECT_TRUE(button.GetFocusState());
    m_harness.MouseMove(outside);
    m_harness.PumpPending();
    EXPECT_FALSE(button.GetHiliteState());
    m_harness.MouseUp(enMouseButton::Left, outside);
    m_harness.PumpPending();
    EXPECT_EQ(Check(button), 0) << "released outside: no click";
    EXPECT_EQ(::GetCapture(), nullptr);

    m_harness.Click(enMouseButton::Left, inside);
    m_harness.PumpPending();
    EXPECT_EQ(Check(button), 1);
    EXPECT_FALSE(button.GetHiliteState());
    EXPECT_EQ(m_parent.commands.size(), 1u);
    // Draw saw the state word and the text each time it changed.
    ASSERT_FALSE(button.draws.empty());
    const CCustomButtonData& last = button.draws.back();
    EXPECT_EQ(last.bSelected, 1);
    EXPECT_EQ(last.bFocused, 1);
    EXPECT_EQ(last.bHighlighted, 0);
    EXPECT_EQ(last.bEnabled, 1);
    EXPECT_EQ(last.strText, CString("Box"));
}

TEST_F(CustomButtonTest, AutomaticRadioButtonChecksItselfAndClearsItsGroup)
{
    CPaintedButton& first = Make(BS_AUTORADIOBUTTON, "One", 31, CRect(20, 20, 120, 40), WS_GROUP);
    CPaintedButton& second = Make(BS_AUTORADIOBUTTON, "Two", 32, CRect(20, 50, 120, 70));
    CPaintedButton& third = Make(BS_AUTORADIOBUTTON, "Three", 33, CRect(20, 80, 120, 100));
    CPaintedButton& outsider =
        Make(BS_AUTORADIOBUTTON, "Other", 34, CRect(20, 110, 120, 130), WS_GROUP);
    // In tab order, as a dialog lays its controls out.
    for (CPaintedButton* pButton : {&first, &second, &third, &outsider})
        ::SetWindowPos(pButton->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    first.SendMessage(BM_SETCHECK, BST_CHECKED);
    outsider.SendMessage(BM_SETCHECK, BST_CHECKED);
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(third.m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(Check(first), 0);
    EXPECT_EQ(Check(second), 0);
    EXPECT_EQ(Check(third), 1);
    EXPECT_EQ(Check(outsider), 1) << "another group";
}

TEST_F(CustomButtonTest, RadioButtonTellsTheParentOfOverlappingSiblings)
{
    CButton frame;
    frame.Create("Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(10, 10, 200, 150), &m_parent,
                 40);
    CButton apart;
    apart.Create("Apart", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(250, 10, 350, 30),
                 &m_parent, 41);
    for (bool bCustom : {true, false})
    {
        CPaintedButton& radio = Make(BS_AUTORADIOBUTTON, "Radio", 42, CRect(20, 30, 120, 50));
        radio.bCustom = bCustom;
        m_parent.commands.clear();
        m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(radio.m_hWnd, 5, 5));
        m_harness.PumpPending();
        std::vector<UINT> ids;
        for (const RecordedCommand& command : m_parent.commands)
            ids.push_back(command.nId);
        // The custom click tells the group first; the standard one after its
        // own notification.
        const std::vector<UINT> expected =
            bCustom ? std::vector<UINT>{40, 42} : std::vector<UINT>{42, 40};
        EXPECT_EQ(ids, expected) << (bCustom ? "custom" : "standard");
        EXPECT_EQ(Check(radio), 1);
        radio.DestroyWindow();
    }
}

TEST_F(CustomButtonTest, PaintingFillsWithTheMenuColourBeforeDraw)
{
    CPaintedButton& button = Make(BS_AUTOCHECKBOX);
    button.SendMessage(BM_SETCHECK, BST_CHECKED);
    button.Invalidate();
    button.UpdateWindow();
    m_harness.PumpPending();
    const WindowPicture picture = ClientPictureOf(button.m_hWnd);
    EXPECT_EQ(picture.GetPixel(50, 12), PixelOf(GetSysColor(COLOR_MENU)));
    EXPECT_EQ(picture.GetPixel(5, 5), PixelOf(RGB(0, 0, 0)));
}

TEST_F(CustomButtonTest, WithoutCustomDrawingItBehavesAsAStandardButton)
{
    CPaintedButton& button = Make(BS_AUTOCHECKBOX);
    button.bCustom = false;
    button.draws.clear();
    m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(button.m_hWnd, 5, 5));
    m_harness.PumpPending();
    EXPECT_EQ(Check(button), 1) << "the standard check box's own state";
    EXPECT_FALSE(button.GetSelectionState()) << "the state word is not used";
    EXPECT_TRUE(button.draws.empty());
    button.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ(Check(button), 0);
}
} // namespace
