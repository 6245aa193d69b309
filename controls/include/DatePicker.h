// CDatePicker: a static placeholder that hosts a date picker control over
// its client area and keeps the chosen date as a COleDateTime, with
// optional "no date", a range, and a buddy chain in which each picker's date
// is the lower limit of the next.
#pragma once

#include "AfxControls.h"
#include "AfxDateTime.h"
#include "ZentiqExport.h"

class ZENTIQ_API CDatePicker : public CStatic
{
    DECLARE_DYNAMIC(CDatePicker)

public:
    CDatePicker();
    ~CDatePicker() override = default;

    // Takes over dialog item nID of pParent and puts a picker over it (with
    // the "no date" check box and an up-down pair on request); FALSE when
    // either fails.
    BOOL SetData(UINT nID, CWnd* pParent, BOOL bShowNone, BOOL bUpDown);
    // The range of this picker and of its buddies in turn: each takes the
    // minimum (a null one leaves the minimum alone) and the maximum; its date
    // is cleared, or set to the minimum, and never left below the minimum;
    // the next picker's minimum is this one's date (its minimum when the
    // date is null).
    void SetRange(COleDateTime* pMin, COleDateTime* pMax, BOOL bClear, BOOL bSetToMin);
    // The range from daysBack days before now to daysAhead days after.
    void SetRange(int nDaysBack, int nDaysAhead, BOOL bClear, BOOL bSetToMin);

    COleDateTime* GetCurDate() { return &m_dtCurrent; }
    BOOL IsNullDate() const { return m_dtCurrent.GetStatus() == COleDateTime::null; }
    void SetBuddy(CDatePicker* pBuddy) { m_pBuddy = pBuddy; }
    CDatePicker* GetBuddy() const { return m_pBuddy; }
    CWnd* GetPickerWnd() { return &m_wndPicker; }

    // After every change of the date by the user.
    virtual void OnDateChanged(BOOL bValid);

protected:
    // Shows the stored date and range in the picker.
    void ShowDataControl();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    afx_msg void OnDestroy();

    CWnd m_wndPicker;
    CDatePicker* m_pBuddy = nullptr;
    COleDateTime m_dtCurrent;
    COleDateTime m_dtMin;
    COleDateTime m_dtMax;

    DECLARE_MESSAGE_MAP()
};
