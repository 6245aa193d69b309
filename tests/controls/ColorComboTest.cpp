// CColorCombo: the preloaded table, adding, removing and selecting by name
// and by colour, and each item drawn as a framed swatch beside its name.
#include "ColorCombo.h"

#include "ControlPictures.h"

#include <gtest/gtest.h>

namespace
{
class ColorComboTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                   CRect(10, 10, 170, 180), &m_host, 3001));
    }

    CFailOnBlockHarness m_harness;
    CTestParent m_host{CRect(0, 0, 240, 200)};
    CColorCombo m_combo;
};

TEST_F(ColorComboTest, StartsWithTheTableAndTheFirstColourSelected)
{
    ASSERT_EQ(m_combo.GetCount(), 16);
    for (int i = 0; i < 16; ++i)
    {
        CString name;
        m_combo.GetLBText(i, name);
        EXPECT_STREQ(name, CColorCombo::ms_pColors[i].m_szName);
        EXPECT_EQ(COLORREF(m_combo.GetItemData(i)), CColorCombo::ms_pColors[i].m_crColor);
    }
    EXPECT_STREQ(CColorCombo::ms_pColors[13].m_szName, "Fushcia");
    EXPECT_EQ(CColorCombo::ms_pColors[7].m_crColor, RGB(128, 128, 128));
    EXPECT_EQ(m_combo.GetCurSel(), 0);
    EXPECT_STREQ(m_combo.GetSelectedColorName(), "Black");
    EXPECT_EQ(m_combo.GetSelectedColorValue(), RGB(0, 0, 0));
}

TEST_F(ColorComboTest, RemovesByNameIgnoringCaseAndByColour)
{
    EXPECT_TRUE(m_combo.RemoveColor("red"));
    EXPECT_FALSE(m_combo.RemoveColor("red"));
    EXPECT_EQ(m_combo.GetCount(), 15);
    EXPECT_TRUE(m_combo.RemoveColor(RGB(0, 0, 128)));
    EXPECT_FALSE(m_combo.RemoveColor(RGB(1, 2, 3)));
    EXPECT_EQ(m_combo.GetCount(), 14);
    CString name;
    m_combo.GetLBText(4, name);
    EXPECT_STREQ(name, "Purple");
}

TEST_F(ColorComboTest, SelectionKeepsTheLastMatchAndIgnoresMisses)
{
    EXPECT_EQ(m_combo.AddColor("Crimson", RGB(255, 0, 0)), 16);
    m_combo.SetSelectedColorValue(RGB(255, 0, 0));
    EXPECT_EQ(m_combo.GetCurSel(), 16);
    EXPECT_STREQ(m_combo.GetSelectedColorName(), "Crimson");
    m_combo.SetSelectedColorName("TEAL");
    EXPECT_EQ(m_combo.GetSelectedColorValue(), RGB(0, 128, 128));
    m_combo.SetSelectedColorName("Mauve");
    m_combo.SetSelectedColorValue(RGB(1, 2, 3));
    EXPECT_STREQ(m_combo.GetSelectedColorName(), "Teal");
    m_combo.SetCurSel(-1);
    EXPECT_EQ(m_combo.GetSelectedColorValue(), 0u);
    EXPECT_STREQ(m_combo.GetSelectedColorName(), "");
}

TEST_F(ColorComboTest, DrawsASwatchBesideTheName)
{
    m_combo.SetSelectedColorName("Olive");
    m_combo.ShowDropDown(TRUE);
    m_harness.PumpPending();
    m_host.UpdateWindow();
    m_combo.ShowDropDown(FALSE);

    // An item drawn by the control itself, unselected and selected.
    CRect item(0, 0, 120, 18);
    for (UINT state : {0u, UINT(ODS_SELECTED)})
    {
        CClientDC dc(&m_host);
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_COMBOBOX;
        draw.itemID = 9;
        draw.itemState = state;
        draw.hDC = dc.GetSafeHdc();
        draw.rcItem = CRect(0, 120, 120, 138);
        draw.itemData = m_combo.GetItemData(9);
        m_combo.DrawItem(&draw);
    }
    DumpPicture(m_host.GetSafeHwnd(), "colorcombo");
    const CClientPixels pixels(m_host.GetSafeHwnd());
    const COLORREF selected = GetSysColor(COLOR_HIGHLIGHT);
    // Swatch: 2 .. 60 wide, framed in black, red inside.
    EXPECT_EQ(pixels.At(2, 125), RGB(0, 0, 0));
    EXPECT_EQ(pixels.At(30, 128), RGB(255, 0, 0));
    EXPECT_EQ(pixels.At(59, 128), RGB(0, 0, 0));
    EXPECT_EQ(pixels.At(1, 128), selected);
    EXPECT_EQ(pixels.At(62, 136), selected);
    // The name right of the swatch, in the complement of the window text.
    const COLORREF text = ~GetSysColor(COLOR_WINDOWTEXT) & 0x00FFFFFF;
    bool bText = false;
    for (int y = 122; y < 136; ++y)
        for (int x = 64; x < 100; ++x)
            bText = bText || pixels.At(x, y) == text;
    EXPECT_TRUE(bText);
}
} // namespace
