// The MFC object of the tab control: thin members over the control's
// messages.
#pragma once

#include "AfxImageList.h"
#include "AfxToolTipCtrl.h"
#include "AfxWnd.h"
#include "WinTabControl.h"

class PLATFORMUI_API CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)

public:
    ~CTabCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    LONG InsertItem(int nItem, TCITEMA* pTabCtrlItem);
    LONG InsertItem(int nItem, LPCSTR lpszItem);
    LONG InsertItem(int nItem, LPCSTR lpszItem, int nImage);
    LONG InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const;
    BOOL SetItem(int nItem, TCITEMA* pTabCtrlItem);
    int GetItemCount() const;
    BOOL GetItemRect(int nItem, LPRECT lpRect) const;
    int GetCurSel() const;
    int SetCurSel(int nItem);
    int GetCurFocus() const;
    void SetCurFocus(int nItem);
    int HitTest(TCHITTESTINFO* pHitTestInfo) const;
    void AdjustRect(BOOL bLarger, LPRECT lpRect);
    int GetRowCount() const;
    CSize SetItemSize(CSize size);
    void SetPadding(CSize size);
    int SetMinTabWidth(int cx);
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* GetImageList() const;
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pWndTip);

private:
    // Stands for the tip control when no object of the caller's holds it.
    mutable CToolTipCtrl m_tips;
};
