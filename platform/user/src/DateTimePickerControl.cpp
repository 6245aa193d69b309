// The "SysDateTimePick32" control: a date as three fields, the selected one
// changed by the arrow keys, by typed digits and by the up-down pair; the
// "no date" check box; the range the date keeps to.
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinClock.h"
#include "WinDateTimePicker.h"
#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinInput.h"
#include "WinSysMetrics.h"

#include <cstdio>
#include <string>

namespace
{
constexpr int kCheckSize = 13;
constexpr int kGap = 2;
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 9999;

enum enField
{
    enYear,
    enMonth,
    enDay,
    enFieldCount
};

// Digits typed into each field, and the largest value it takes.
constexpr std::size_t kFieldDigits[enFieldCount] = {4, 2, 2};

bool IsValidDate(int year, int month, int day)
{
    if (year < kFirstYear || year > kLastYear)
        return false;
    SYSTEMTIME t{};
    t.wYear = WORD(year);
    t.wMonth = WORD(month);
    t.wDay = WORD(day);
    FILETIME unused{};
    return SystemTimeToFileTime(&t, &unused) != FALSE;
}

bool IsValidTime(const SYSTEMTIME& t)
{
    FILETIME unused{};
    return t.wYear <= kLastYear && SystemTimeToFileTime(&t, &unused) != FALSE;
}

int DaysInMonth(int year, int month)
{
    int day = 31;
    while (day > 28 && !IsValidDate(year, month, day))
        --day;
    return day;
}

// The day as one number that orders dates: yyyymmdd.
int DayKey(const SYSTEMTIME& t)
{
    return t.wYear * 10000 + t.wMonth * 100 + t.wDay;
}

// Sets the date part, keeping the time of day, and completes the weekday.
void SetDay(SYSTEMTIME& t, int year, int month, int day)
{
    t.wYear = WORD(year);
    t.wMonth = WORD(month);
    t.wDay = WORD(day);
    FILETIME file{};
    if (SystemTimeToFileTime(&t, &file))
        FileTimeToSystemTime(&file, &t);
}

class DateTimePickerControl
{
public:
    explicit DateTimePickerControl(HWND hWnd);

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    struct Layout
    {
        RECT check{};
        RECT fields[enFieldCount]{};
        RECT separators[enFieldCount - 1]{};
        RECT up{};
        RECT down{};
    };

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    bool ShowsNone() const { return (Style() & DTS_SHOWNONE) != 0; }
    Layout GetLayout(HDC hdc) const;
    std::string FieldText(int nField) const;
    int FieldValue(int nField) const;

    LRESULT OnGetTime(SYSTEMTIME* pTime) const;
    LRESULT OnSetTime(WPARAM nFlag, const SYSTEMTIME* pTime);
    LRESULT OnGetRange(SYSTEMTIME* pRange) const;
    LRESULT OnSetRange(WPARAM nFlags, const SYSTEMTIME* pRange);
    void OnButtonDown(POINT pt);
    void OnKeyDown(UINT nKey);
    void OnDigit(char ch);

    bool InRange(const SYSTEMTIME& t) const;
    // The date moved into the range; true when it changed.
    bool ClampToRange();
    // The user's change: the new day kept to the range, shown and notified.
    void ChangeDay(int year, int month, int day);
    void StepField(int nDelta);
    void ToggleDate();
    void SelectField(int nField);
    void Notify();

    HWND m_hWnd;
    HFONT m_hFont = nullptr;
    SYSTEMTIME m_date{};
    bool m_bHasDate = true;
    SYSTEMTIME m_range[2]{};
    DWORD m_dwRangeFlags = 0;
    int m_nField = enDay;
    std::string m_typed;
    bool m_bFocus = false;
};

DateTimePickerControl::DateTimePickerControl(HWND hWnd) : m_hWnd(hWnd)
{
    GetLocalTime(&m_date);
    m_date.wMilliseconds = 0;
}

std::string DateTimePickerControl::FieldText(int nField) const
{
    char text[8];
    if (nField == enYear)
        std::snprintf(text, sizeof(text), "%04d", m_date.wYear);
    else
        std::snprintf(text, sizeof(text), "%02d", FieldValue(nField));
    return text;
}

int DateTimePickerControl::FieldValue(int nField) const
{
    switch (nField)
    {
    case enYear:
        return m_date.wYear;
    case enMonth:
        return m_date.wMonth;
    default:
        return m_date.wDay;
    }
}

DateTimePickerControl::Layout DateTimePickerControl::GetLayout(HDC hdc) const
{
    Layout layout;
    RECT inner{};
    GetClientRect(m_hWnd, &inner);
    InflateRect(&inner, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    int x = inner.left + kGap;
    if (ShowsNone())
    {
        const int top = inner.top + (inner.bottom - inner.top - kCheckSize) / 2;
        SetRect(&layout.check, x, top, x + kCheckSize, top + kCheckSize);
        x += kCheckSize + kGap * 2;
    }
    if (Style() & DTS_UPDOWN)
    {
        const int width = GetSystemMetrics(SM_CXVSCROLL);
        const int middle = (inner.top + inner.bottom) / 2;
        SetRect(&layout.up, inner.right - width, inner.top, inner.right, middle);
        SetRect(&layout.down, inner.right - width, middle, inner.right, inner.bottom);
    }
    SIZE separator{};
    GetTextExtentPoint32A(hdc, "-", 1, &separator);
    for (int nField = 0; nField < enFieldCount; ++nField)
    {
        const std::string text = FieldText(nField);
        SIZE size{};
        GetTextExtentPoint32A(hdc, text.c_str(), int(text.size()), &size);
        SetRect(&layout.fields[nField], x, inner.top, x + size.cx, inner.bottom);
        x += size.cx;
        if (nField + 1 < enFieldCount)
        {
            SetRect(&layout.separators[nField], x, inner.top, x + separator.cx, inner.bottom);
            x += separator.cx;
        }
    }
    return layout;
}

bool DateTimePickerControl::InRange(const SYSTEMTIME& t) const
{
    const int key = DayKey(t);
    return !((m_dwRangeFlags & GDTR_MIN) && key < DayKey(m_range[0])) &&
           !((m_dwRangeFlags & GDTR_MAX) && key > DayKey(m_range[1]));
}

bool DateTimePickerControl::ClampToRange()
{
    const SYSTEMTIME* bound = nullptr;
    if ((m_dwRangeFlags & GDTR_MIN) && DayKey(m_date) < DayKey(m_range[0]))
        bound = &m_range[0];
    else if ((m_dwRangeFlags & GDTR_MAX) && DayKey(m_date) > DayKey(m_range[1]))
        bound = &m_range[1];
    if (bound == nullptr)
        return false;
    SetDay(m_date, bound->wYear, bound->wMonth, bound->wDay);
    return true;
}

LRESULT DateTimePickerControl::OnGetTime(SYSTEMTIME* pTime) const
{
    if (pTime == nullptr)
        return GDT_ERROR;
    if (!m_bHasDate)
        return GDT_NONE;
    *pTime = m_date;
    return GDT_VALID;
}

LRESULT DateTimePickerControl::OnSetTime(WPARAM nFlag, const SYSTEMTIME* pTime)
{
    if (nFlag == GDT_NONE)
    {
        // Only a control with the check box can hold no date.
        if (!ShowsNone())
            return FALSE;
        m_bHasDate = false;
    }
    else
    {
        if (nFlag != GDT_VALID || pTime == nullptr || !IsValidTime(*pTime) || !InRange(*pTime))
            return FALSE;
        m_date = *pTime;
        SetDay(m_date, pTime->wYear, pTime->wMonth, pTime->wDay);
        m_bHasDate = true;
    }
    m_typed.clear();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT DateTimePickerControl::OnGetRange(SYSTEMTIME* pRange) const
{
    if (pRange != nullptr)
    {
        pRange[0] = m_range[0];
        pRange[1] = m_range[1];
    }
    return m_dwRangeFlags;
}

LRESULT DateTimePickerControl::OnSetRange(WPARAM nFlags, const SYSTEMTIME* pRange)
{
    if (pRange == nullptr && nFlags != 0)
        return FALSE;
    const bool bMin = (nFlags & GDTR_MIN) != 0;
    const bool bMax = (nFlags & GDTR_MAX) != 0;
    if ((bMin && !IsValidTime(pRange[0])) || (bMax && !IsValidTime(pRange[1])))
        return FALSE;
    if (bMin && bMax && DayKey(pRange[0]) > DayKey(pRange[1]))
        return FALSE;
    m_dwRangeFlags = 0;
    if (bMin)
    {
        m_range[0] = pRange[0];
        m_dwRangeFlags |= GDTR_MIN;
    }
    if (bMax)
    {
        m_range[1] = pRange[1];
        m_dwRangeFlags |= GDTR_MAX;
    }
    if (ClampToRange())
        InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

void DateTimePickerControl::Notify()
{
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = m_hWnd;
    change.nmhdr.idFrom = UINT_PTR(GetDlgCtrlID(m_hWnd));
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = m_bHasDate ? GDT_VALID : GDT_NONE;
    if (m_bHasDate)
        change.st = m_date;
    const HWND hParent = GetParent(m_hWnd);
    if (hParent != nullptr)
        SendMessageA(hParent, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

void DateTimePickerControl::ChangeDay(int year, int month, int day)
{
    const int before = DayKey(m_date);
    SetDay(m_date, year, month, day);
    ClampToRange();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    if (DayKey(m_date) != before)
        Notify();
}

void DateTimePickerControl::StepField(int nDelta)
{
    if (!m_bHasDate)
        return;
    m_typed.clear();
    int year = m_date.wYear;
    int month = m_date.wMonth;
    int day = m_date.wDay;
    // Months and days turn round within their field; years stop at the ends.
    switch (m_nField)
    {
    case enYear:
        year = year + nDelta < kFirstYear  ? kFirstYear
               : year + nDelta > kLastYear ? kLastYear
                                           : year + nDelta;
        break;
    case enMonth:
        month = (month - 1 + nDelta + 12) % 12 + 1;
        break;
    default:
    {
        const int days = DaysInMonth(year, month);
        day = (day - 1 + nDelta + days) % days + 1;
        break;
    }
    }
    const int days = DaysInMonth(year, month);
    ChangeDay(year, month, day > days ? days : day);
}

void DateTimePickerControl::ToggleDate()
{
    if (!ShowsNone())
        return;
    m_bHasDate = !m_bHasDate;
    m_typed.clear();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    Notify();
}

void DateTimePickerControl::SelectField(int nField)
{
    if (nField < 0 || nField >= enFieldCount || nField == m_nField)
        return;
    m_nField = nField;
    m_typed.clear();
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void DateTimePickerControl::OnButtonDown(POINT pt)
{
    SetFocus(m_hWnd);
    ControlDC dc(m_hWnd, m_hFont);
    const Layout layout = GetLayout(dc);
    if (ShowsNone() && PtInRect(&layout.check, pt))
    {
        ToggleDate();
        return;
    }
    if (PtInRect(&layout.up, pt) || PtInRect(&layout.down, pt))
    {
        StepField(PtInRect(&layout.up, pt) ? 1 : -1);
        return;
    }
    for (int nField = 0; nField < enFieldCount; ++nField)
        if (pt.x >= layout.fields[nField].left && pt.x < layout.fields[nField].right)
            SelectField(nField);
}

void DateTimePickerControl::OnKeyDown(UINT nKey)
{
    switch (nKey)
    {
    case VK_LEFT:
        SelectField(m_nField - 1);
        break;
    case VK_RIGHT:
        SelectField(m_nField + 1);
        break;
    case VK_UP:
        StepField(1);
        break;
    case VK_DOWN:
        StepField(-1);
        break;
    case VK_SPACE:
        ToggleDate();
        break;
    default:
        break;
    }
}

void DateTimePickerControl::OnDigit(char ch)
{
    if (!m_bHasDate)
        return;
    m_typed += ch;
    const int value = std::stoi(m_typed);
    const int largest = m_nField == enYear    ? kLastYear
                        : m_nField == enMonth ? 12
                                              : DaysInMonth(m_date.wYear, m_date.wMonth);
    // A field is whole at its number of digits, or when no further digit
    // could keep it in its range.
    const bool bWhole = m_typed.size() >= kFieldDigits[m_nField] || value * 10 > largest;
    const bool bUsable =
        m_nField == enYear ? bWhole && value >= kFirstYear : value >= 1 && value <= largest;
    if (bUsable)
    {
        int year = m_date.wYear;
        int month = m_date.wMonth;
        int day = m_date.wDay;
        (m_nField == enYear ? year : m_nField == enMonth ? month : day) = value;
        const int days = DaysInMonth(year, month);
        ChangeDay(year, month, day > days ? days : day);
    }
    if (bWhole)
    {
        m_typed.clear();
        if (bUsable && m_nField + 1 < enFieldCount)
            SelectField(m_nField + 1);
    }
}

void DateTimePickerControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const bool bEnabled = IsWindowEnabled(m_hWnd) != FALSE;
    FillRect(hdc, &client, GetSysColorBrush(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE));
    DrawEdge(hdc, &client, EDGE_SUNKEN, BF_RECT);
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    Layout layout = GetLayout(hdc);
    if (ShowsNone())
        DrawFrameControl(hdc, &layout.check, DFC_BUTTON,
                         DFCS_BUTTONCHECK | (m_bHasDate ? DFCS_CHECKED : 0) |
                             (bEnabled ? 0 : DFCS_INACTIVE));
    SetBkMode(hdc, TRANSPARENT);
    const COLORREF text = GetSysColor(m_bHasDate && bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    for (int nField = 0; nField < enFieldCount; ++nField)
    {
        const bool bSelected = m_bFocus && m_bHasDate && nField == m_nField;
        if (bSelected)
            FillRect(hdc, &layout.fields[nField], GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, bSelected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        const std::string value = FieldText(nField);
        DrawTextA(hdc, value.c_str(), int(value.size()), &layout.fields[nField],
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (nField + 1 < enFieldCount)
        {
            SetTextColor(hdc, text);
            DrawTextA(hdc, "-", 1, &layout.separators[nField],
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
    }
    if (Style() & DTS_UPDOWN)
    {
        const UINT nState = bEnabled && m_bHasDate ? 0 : DFCS_INACTIVE;
        DrawFrameControl(hdc, &layout.up, DFC_SCROLL, DFCS_SCROLLUP | nState);
        DrawFrameControl(hdc, &layout.down, DFC_SCROLL, DFCS_SCROLLDOWN | nState);
    }
    SelectObject(hdc, hOldFont);
}

LRESULT DateTimePickerControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case DTM_GETSYSTEMTIME:
        return OnGetTime(reinterpret_cast<SYSTEMTIME*>(lParam));
    case DTM_SETSYSTEMTIME:
        return OnSetTime(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case DTM_GETRANGE:
        return OnGetRange(reinterpret_cast<SYSTEMTIME*>(lParam));
    case DTM_SETRANGE:
        return OnSetRange(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(UINT(wParam));
        return 0;
    case WM_CHAR:
        if (wParam >= '0' && wParam <= '9')
            OnDigit(char(wParam));
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_bFocus = nMsg == WM_SETFOCUS;
        m_typed.clear();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_ENABLE:
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT DateTimePickerWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<DateTimePickerControl>(hWnd, nMsg, wParam, lParam);
}
