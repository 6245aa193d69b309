#include "DatePicker.h"

#include "WinDateTimePicker.h"

#include <set>

IMPLEMENT_DYNAMIC(CDatePicker, CStatic)

BEGIN_MESSAGE_MAP(CDatePicker, CStatic)
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace
{
// The date part of a date; a field that cannot be had is -1.
SYSTEMTIME DayOf(const COleDateTime& date, SYSTEMTIME time)
{
    time.wYear = WORD(date.GetYear());
    time.wMonth = WORD(date.GetMonth());
    time.wDay = WORD(date.GetDay());
    return time;
}

void InitDateClasses()
{
    static const bool bDone = []
    {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)bDone;
}
} // namespace

CDatePicker::CDatePicker() : m_dtCurrent(COleDateTime::GetCurrentTime())
{
    m_dtMin.SetStatus(COleDateTime::null);
    m_dtMax.SetStatus(COleDateTime::null);
}

void CDatePicker::OnDateChanged(BOOL) {}

BOOL CDatePicker::SetData(UINT nID, CWnd* pParent, BOOL bShowNone, BOOL bUpDown)
{
    if (pParent == nullptr || !SubclassDlgItem(nID, pParent))
        return FALSE;
    InitDateClasses();
    CRect client;
    GetClientRect(&client);
    DWORD dwStyle = WS_CHILD | WS_VISIBLE;
    if (bShowNone)
        dwStyle |= DTS_SHOWNONE;
    if (bUpDown)
        dwStyle |= DTS_UPDOWN;
    if (!m_wndPicker.CreateEx(0, DATETIMEPICK_CLASSA, nullptr, dwStyle, client, this, 0))
        return FALSE;
    ShowDataControl();
    if (m_pBuddy != nullptr)
        m_pBuddy->SetRange(&m_dtCurrent, &m_dtMax, IsNullDate(), TRUE);
    return TRUE;
}

void CDatePicker::ShowDataControl()
{
    if (m_wndPicker.m_hWnd == nullptr)
        return;
    SYSTEMTIME shown{};
    m_wndPicker.SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    m_wndPicker.SendMessage(DTM_SETSYSTEMTIME, GDT_NONE, 0);
    WPARAM nFlag = GDT_NONE;
    if (!IsNullDate())
    {
        shown = DayOf(m_dtCurrent, shown);
        nFlag = GDT_VALID;
    }
    SYSTEMTIME range[2]{};
    WPARAM nRangeFlags = 0;
    if (m_dtMin.GetStatus() != COleDateTime::null)
    {
        range[0] = DayOf(m_dtMin, SYSTEMTIME{});
        nRangeFlags |= GDTR_MIN;
    }
    if (m_dtMax.GetStatus() != COleDateTime::null)
    {
        range[1] = DayOf(m_dtMax, SYSTEMTIME{});
        nRangeFlags |= GDTR_MAX;
    }
    if (nRangeFlags != 0)
        m_wndPicker.SendMessage(DTM_SETRANGE, nRangeFlags, reinterpret_cast<LPARAM>(range));
    m_wndPicker.SendMessage(DTM_SETSYSTEMTIME, nFlag, reinterpret_cast<LPARAM>(&shown));
}

void CDatePicker::SetRange(COleDateTime* pMin, COleDateTime* pMax, BOOL bClear, BOOL bSetToMin)
{
    COleDateTime noDate;
    noDate.SetStatus(COleDateTime::null);
    COleDateTime min = pMin != nullptr ? *pMin : noDate;
    const COleDateTime max = pMax != nullptr ? *pMax : noDate;
    // A chain that leads back into itself ends where it closes.
    std::set<CDatePicker*> visited;
    for (CDatePicker* p = this; p != nullptr && visited.insert(p).second; p = p->m_pBuddy)
    {
        if (min.GetStatus() != COleDateTime::null)
            p->m_dtMin = min;
        p->m_dtMax = max;
        if (bClear)
        {
            p->m_dtCurrent.SetStatus(COleDateTime::null);
        }
        else
        {
            if (bSetToMin)
                p->m_dtCurrent = min;
            if (p->m_dtCurrent.GetStatus() == COleDateTime::valid &&
                p->m_dtMin.GetStatus() == COleDateTime::valid && p->m_dtCurrent < p->m_dtMin)
                p->m_dtCurrent = p->m_dtMin;
        }
        p->ShowDataControl();
        min = p->IsNullDate() ? p->m_dtMin : p->m_dtCurrent;
    }
}

void CDatePicker::SetRange(int nDaysBack, int nDaysAhead, BOOL bClear, BOOL bSetToMin)
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    COleDateTime min = now - COleDateTimeSpan(nDaysBack, 0, 0, 0);
    COleDateTime max = now + COleDateTimeSpan(nDaysAhead, 0, 0, 0);
    SetRange(&min, &max, bClear, bSetToMin);
}

BOOL CDatePicker::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->code == DTN_DATETIMECHANGE)
    {
        const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
        if (change->dwFlags == GDT_NONE)
            m_dtCurrent.SetStatus(COleDateTime::null);
        else
            m_dtCurrent.SetDateTime(change->st.wYear, change->st.wMonth, change->st.wDay, 0, 0, 0);
        const BOOL bValid = !IsNullDate();
        OnDateChanged(bValid);
        if (m_pBuddy != nullptr)
        {
            if (bValid && m_pBuddy->IsNullDate())
                *m_pBuddy->GetCurDate() = m_dtCurrent;
            m_pBuddy->SetRange(&m_dtCurrent, &m_dtMax, !bValid, FALSE);
        }
    }
    LRESULT lResult = 0;
    if (CWnd* pParent = GetParent())
        lResult = pParent->SendMessage(WM_NOTIFY, wParam, lParam);
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

void CDatePicker::OnDestroy()
{
    CStatic::OnDestroy();
    if (IsNullDate() && m_pBuddy != nullptr && !m_pBuddy->IsNullDate())
        m_dtCurrent = *m_pBuddy->GetCurDate();
}
