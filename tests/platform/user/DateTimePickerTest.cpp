// The date picker control: the date and "no date" set and read, the range
// it keeps to, field keys, typed digits, the up-down pair and the check box,
// each change the user makes notified to the parent.
#include "UserTestSupport.h"

#include "WinDateTimePicker.h"
#include "WinModule.h"

namespace
{
constexpr int kPickerId = 77;

SYSTEMTIME Day(int year, int month, int day, int hour = 0)
{
    SYSTEMTIME t{};
    t.wYear = WORD(year);
    t.wMonth = WORD(month);
    t.wDay = WORD(day);
    t.wHour = WORD(hour);
    return t;
}

int Key(const SYSTEMTIME& t)
{
    return t.wYear * 10000 + t.wMonth * 100 + t.wDay;
}

class DateTimePickerTest : public UserTest
{
protected:
    HWND Create(DWORD dwStyle)
    {
        m_hParent = CreateTopLevel(RECT{100, 100, 500, 300});
        SetHandler(m_hParent,
                   [this](HWND, UINT nMsg, WPARAM, LPARAM lParam) -> std::optional<LRESULT>
                   {
                       const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                       if (nMsg == WM_NOTIFY && header->code == DTN_DATETIMECHANGE &&
                           header->idFrom == kPickerId)
                       {
                           const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
                           m_changes.push_back(change->dwFlags == GDT_NONE ? 0 : Key(change->st));
                       }
                       return std::nullopt;
                   });
        m_hPicker = CreateWindowExA(
            0, DATETIMEPICK_CLASSA, "", dwStyle | WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, m_hParent,
            reinterpret_cast<HMENU>(UINT_PTR(kPickerId)), GetModuleHandleA(nullptr), nullptr);
        m_harness.PumpPending();
        return m_hPicker;
    }

    bool Set(const SYSTEMTIME& t)
    {
        return SendMessageA(m_hPicker, DTM_SETSYSTEMTIME, GDT_VALID,
                            reinterpret_cast<LPARAM>(&t)) != 0;
    }

    // The date as yyyymmdd, 0 for no date.
    int Get()
    {
        SYSTEMTIME t{};
        const LRESULT flag =
            SendMessageA(m_hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
        return flag == GDT_VALID ? Key(t) : 0;
    }

    bool SetRange(DWORD dwFlags, const SYSTEMTIME& min, const SYSTEMTIME& max)
    {
        SYSTEMTIME range[2] = {min, max};
        return SendMessageA(m_hPicker, DTM_SETRANGE, dwFlags, reinterpret_cast<LPARAM>(range)) != 0;
    }

    void Press(UINT nKey)
    {
        m_harness.KeyPress(nKey);
        m_harness.PumpPending();
    }

    void Type(const char* digits)
    {
        for (const char* p = digits; *p != '\0'; ++p)
            SendMessageA(m_hPicker, WM_CHAR, WPARAM(*p), 0);
    }

    void ClickAt(int x, int y)
    {
        m_harness.Click(enMouseButton::Left, CUiHarness::ScreenPoint(m_hPicker, x, y));
        m_harness.PumpPending();
    }

    HWND m_hParent = nullptr;
    HWND m_hPicker = nullptr;
    std::vector<int> m_changes;
};

TEST_F(DateTimePickerTest, StartsOnTodayAndKeepsWhatIsSet)
{
    Create(0);
    SYSTEMTIME today{};
    GetLocalTime(&today);
    EXPECT_EQ(Get(), Key(today));

    SYSTEMTIME t = Day(2021, 2, 28, 14);
    t.wMinute = 30;
    ASSERT_TRUE(Set(t));
    SYSTEMTIME read{};
    ASSERT_EQ(SendMessageA(m_hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&read)),
              GDT_VALID);
    EXPECT_EQ(Key(read), 20210228);
    EXPECT_EQ(read.wHour, 14);
    EXPECT_EQ(read.wMinute, 30);
    EXPECT_EQ(read.wDayOfWeek, 0); // a Sunday

    EXPECT_FALSE(Set(Day(2021, 2, 29)));
    EXPECT_FALSE(Set(Day(2021, 13, 1)));
    // Without the check box there is no "no date".
    EXPECT_EQ(SendMessageA(m_hPicker, DTM_SETSYSTEMTIME, GDT_NONE, 0), FALSE);
    EXPECT_EQ(Get(), 20210228);
    EXPECT_EQ(SendMessageA(m_hPicker, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
    // Setting is no user's change.
    EXPECT_TRUE(m_changes.empty());
}

TEST_F(DateTimePickerTest, NoDateExistsWithTheCheckBox)
{
    Create(DTS_SHOWNONE);
    ASSERT_TRUE(Set(Day(2020, 5, 17)));
    EXPECT_EQ(SendMessageA(m_hPicker, DTM_SETSYSTEMTIME, GDT_NONE, 0), TRUE);
    EXPECT_EQ(Get(), 0);
    // The check box brings the date back, and takes it away again.
    ClickAt(8, 12);
    EXPECT_EQ(Get(), 20200517);
    SetFocus(m_hPicker);
    Press(VK_SPACE);
    EXPECT_EQ(Get(), 0);
    EXPECT_EQ(m_changes, (std::vector<int>{20200517, 0}));
    // Keys change no date that is not there.
    Press(VK_UP);
    EXPECT_EQ(Get(), 0);
    EXPECT_EQ(m_changes.size(), 2u);
}

TEST_F(DateTimePickerTest, RangeRefusesAndClampsByDay)
{
    Create(0);
    ASSERT_TRUE(Set(Day(2020, 1, 10)));
    ASSERT_TRUE(SetRange(GDTR_MIN | GDTR_MAX, Day(2020, 3, 1), Day(2020, 3, 31)));
    // The date moves into the new range.
    EXPECT_EQ(Get(), 20200301);
    SYSTEMTIME range[2]{};
    EXPECT_EQ(SendMessageA(m_hPicker, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)),
              GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(Key(range[0]), 20200301);
    EXPECT_EQ(Key(range[1]), 20200331);
    EXPECT_FALSE(Set(Day(2020, 2, 29)));
    EXPECT_FALSE(Set(Day(2020, 4, 1)));
    // The last day counts whole, whatever its time.
    EXPECT_TRUE(Set(Day(2020, 3, 31, 23)));
    // Only a maximum: earlier dates are welcome again.
    ASSERT_TRUE(SetRange(GDTR_MAX, SYSTEMTIME{}, Day(2020, 3, 15)));
    EXPECT_EQ(Get(), 20200315);
    EXPECT_TRUE(Set(Day(1999, 12, 31)));
    EXPECT_FALSE(SetRange(GDTR_MIN | GDTR_MAX, Day(2020, 3, 15), Day(2020, 3, 1)));
    EXPECT_TRUE(m_changes.empty());
}

TEST_F(DateTimePickerTest, ArrowKeysStepTheSelectedFieldWithinItsRange)
{
    Create(0);
    ASSERT_TRUE(Set(Day(2020, 12, 31)));
    SetFocus(m_hPicker);
    // The day field is selected first; days and months turn round.
    Press(VK_UP);
    EXPECT_EQ(Get(), 20201201);
    Press(VK_LEFT);
    Press(VK_UP);
    EXPECT_EQ(Get(), 20200101);
    Press(VK_DOWN);
    EXPECT_EQ(Get(), 20201201);
    Press(VK_LEFT);
    Press(VK_UP);
    EXPECT_EQ(Get(), 20211201);
    // A step out of the range stops at its edge.
    ASSERT_TRUE(SetRange(GDTR_MAX, SYSTEMTIME{}, Day(2022, 6, 30)));
    Press(VK_UP);
    EXPECT_EQ(Get(), 20220630);
    Press(VK_UP);
    EXPECT_EQ(Get(), 20220630);
    // A February day that the month no longer has is cut to its last day.
    ASSERT_TRUE(Set(Day(2020, 1, 31)));
    Press(VK_RIGHT);
    Press(VK_UP);
    EXPECT_EQ(Get(), 20200229);
    EXPECT_EQ(m_changes,
              (std::vector<int>{20201201, 20200101, 20201201, 20211201, 20220630, 20200229}));
}

TEST_F(DateTimePickerTest, TypedDigitsFillAFieldAndMoveOn)
{
    Create(0);
    ASSERT_TRUE(Set(Day(2020, 1, 15)));
    SetFocus(m_hPicker);
    Press(VK_LEFT);
    Press(VK_LEFT);
    Type("1987");
    EXPECT_EQ(Get(), 19870115);
    // Month: "1" waits for a second digit, "1" completes 11; day "3", "0".
    Type("11");
    EXPECT_EQ(Get(), 19871115);
    Type("30");
    EXPECT_EQ(Get(), 19871130);
    // A digit that no further digit could follow completes the field.
    Press(VK_LEFT);
    Type("4");
    EXPECT_EQ(Get(), 19870430);
    Type("9");
    EXPECT_EQ(Get(), 19870409);
    // A month that does not exist is dropped.
    Press(VK_LEFT);
    Type("13");
    EXPECT_EQ(Get(), 19870109);
}

TEST_F(DateTimePickerTest, UpDownPairStepsTheSelectedField)
{
    Create(DTS_UPDOWN);
    ASSERT_TRUE(Set(Day(2020, 6, 10)));
    RECT client{};
    GetClientRect(m_hPicker, &client);
    ClickAt(client.right - 6, 5);
    EXPECT_EQ(Get(), 20200611);
    ClickAt(client.right - 6, client.bottom - 5);
    ClickAt(client.right - 6, client.bottom - 5);
    EXPECT_EQ(Get(), 20200609);
    EXPECT_EQ(m_changes, (std::vector<int>{20200611, 20200610, 20200609}));
}
} // namespace
