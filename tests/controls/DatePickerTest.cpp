// CDatePicker: the stored date and range shown in the hosted picker, no
// date, the range from days, and the buddy chain in which each picker's date
// is the lower limit of the next, followed through the user's changes.
#include "DatePicker.h"

#include "ControlPictures.h"
#include "WinDateTimePicker.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
constexpr UINT kFirstId = 2001;
constexpr UINT kSecondId = 2002;

// A host that records the notifications reaching it.
class CNotifiedHost : public CTestParent
{
public:
    using CTestParent::CTestParent;
    std::vector<UINT> codes;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        codes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        return CTestParent::OnNotify(wParam, lParam, pResult);
    }
};

// The date a picker control shows as yyyymmdd, 0 for no date.
int Shown(CDatePicker& picker)
{
    SYSTEMTIME t{};
    const LRESULT flag =
        picker.GetPickerWnd()->SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return flag == GDT_VALID ? t.wYear * 10000 + t.wMonth * 100 + t.wDay : 0;
}

// The minimum of a picker control's range as yyyymmdd, 0 without one.
int ShownMinimum(CDatePicker& picker)
{
    SYSTEMTIME range[2]{};
    const LRESULT flags =
        picker.GetPickerWnd()->SendMessage(DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range));
    return (flags & GDTR_MIN) ? range[0].wYear * 10000 + range[0].wMonth * 100 + range[0].wDay : 0;
}

int Key(const COleDateTime& date)
{
    return date.GetStatus() == COleDateTime::valid
               ? date.GetYear() * 10000 + date.GetMonth() * 100 + date.GetDay()
               : 0;
}

class DatePickerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_item1.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 190, 34), &m_host, kFirstId));
        ASSERT_TRUE(
            m_item2.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 50, 190, 74), &m_host, kSecondId));
        // The placeholders are plain dialog items until the pickers take them.
        m_item1.UnsubclassWindow();
        m_item2.UnsubclassWindow();
    }

    // The user presses a key in a picker control.
    static void Press(CDatePicker& picker, UINT nKey)
    {
        picker.GetPickerWnd()->SendMessage(WM_KEYDOWN, nKey, 0);
    }

    CFailOnBlockHarness m_harness;
    CNotifiedHost m_host{CRect(0, 0, 300, 120)};
    CStatic m_item1;
    CStatic m_item2;
    CDatePicker m_first;
    CDatePicker m_second;
};

TEST_F(DatePickerTest, ShowsTheStoredDateOrNoDateAndCoversItsItem)
{
    *m_first.GetCurDate() = COleDateTime(2024, 3, 10, 15, 30, 0);
    ASSERT_TRUE(m_first.SetData(kFirstId, &m_host, TRUE, TRUE));
    EXPECT_EQ(Shown(m_first), 20240310);
    CRect item;
    m_first.GetClientRect(&item);
    CRect picker;
    m_first.GetPickerWnd()->GetWindowRect(&picker);
    EXPECT_EQ(picker.Size(), item.Size());
    EXPECT_NE(m_first.GetPickerWnd()->GetStyle() & DTS_SHOWNONE, 0u);
    m_host.UpdateWindow();
    DumpPicture(m_host.GetSafeHwnd(), "datepicker");

    m_first.GetCurDate()->SetStatus(COleDateTime::null);
    m_first.SetRange(nullptr, nullptr, TRUE, FALSE);
    EXPECT_TRUE(m_first.IsNullDate());
    EXPECT_EQ(Shown(m_first), 0);
    EXPECT_FALSE(m_second.SetData(9999, &m_host, FALSE, FALSE)) << "no such item";
}

TEST_F(DatePickerTest, RangeFromDaysRaisesAnEarlierDate)
{
    *m_first.GetCurDate() = COleDateTime::GetCurrentTime() - COleDateTimeSpan(30, 0, 0, 0);
    ASSERT_TRUE(m_first.SetData(kFirstId, &m_host, FALSE, FALSE));
    m_first.SetRange(5, 5, FALSE, FALSE);
    const COleDateTime expected = COleDateTime::GetCurrentTime() - COleDateTimeSpan(5, 0, 0, 0);
    EXPECT_EQ(Key(*m_first.GetCurDate()), Key(expected));
    EXPECT_EQ(ShownMinimum(m_first), Key(expected));
    EXPECT_EQ(Shown(m_first), Key(expected));
}

TEST_F(DatePickerTest, BuddyChainFollowsTheFirstPickersChoice)
{
    *m_first.GetCurDate() = COleDateTime(2024, 3, 10, 0, 0, 0);
    *m_second.GetCurDate() = COleDateTime(2024, 3, 1, 0, 0, 0);
    m_first.SetBuddy(&m_second);
    ASSERT_TRUE(m_second.SetData(kSecondId, &m_host, TRUE, FALSE));
    ASSERT_TRUE(m_first.SetData(kFirstId, &m_host, TRUE, TRUE));
    // Setting up the first makes its date the second's minimum and start.
    EXPECT_EQ(Key(*m_second.GetCurDate()), 20240310);
    EXPECT_EQ(ShownMinimum(m_second), 20240310);

    // A later day in the first raises the second to it.
    Press(m_first, VK_UP);
    EXPECT_EQ(Key(*m_first.GetCurDate()), 20240311);
    EXPECT_EQ(Key(*m_second.GetCurDate()), 20240311);
    EXPECT_EQ(Shown(m_second), 20240311);
    EXPECT_EQ(ShownMinimum(m_second), 20240311);
    ASSERT_FALSE(m_host.codes.empty());
    EXPECT_EQ(m_host.codes.back(), UINT(DTN_DATETIMECHANGE)) << "forwarded to the parent";

    // A later date in the second stays when the first goes back.
    *m_second.GetCurDate() = COleDateTime(2024, 4, 1, 0, 0, 0);
    Press(m_first, VK_DOWN);
    Press(m_first, VK_DOWN);
    EXPECT_EQ(Key(*m_first.GetCurDate()), 20240309);
    EXPECT_EQ(Key(*m_second.GetCurDate()), 20240401);
    EXPECT_EQ(ShownMinimum(m_second), 20240309);

    // No date in the first clears the second.
    Press(m_first, VK_SPACE);
    EXPECT_TRUE(m_first.IsNullDate());
    EXPECT_TRUE(m_second.IsNullDate());
    EXPECT_EQ(Shown(m_second), 0);
    // A date again gives the empty second the first's date.
    Press(m_first, VK_SPACE);
    EXPECT_EQ(Key(*m_second.GetCurDate()), 20240309);
}

TEST_F(DatePickerTest, NullDateTakesTheBuddysDateWhenDestroyed)
{
    m_first.SetBuddy(&m_second);
    ASSERT_TRUE(m_first.SetData(kFirstId, &m_host, TRUE, FALSE));
    *m_second.GetCurDate() = COleDateTime(2025, 1, 2, 0, 0, 0);
    m_first.GetCurDate()->SetStatus(COleDateTime::null);
    m_first.DestroyWindow();
    EXPECT_EQ(Key(*m_first.GetCurDate()), 20250102);
}
} // namespace
