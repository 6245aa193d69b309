// The MFC objects of the list view and its column header: thin members over
// the controls' messages. A header with owner-drawn items draws them in
// DrawItem, reflected from the WM_DRAWITEM its parent list receives.
#pragma once

#include "AfxControls.h"
#include "AfxWnd.h"
#include "WinListView.h"

class PLATFORMUI_API CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)

public:
    int GetItemCount() const;
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const;
    BOOL SetItem(int nPos, HDITEMA* pHeaderItem);
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class PLATFORMUI_API CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)

public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    int InsertItem(int nItem, LPCSTR lpszItem);
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    int GetItemCount() const;
    int GetNextItem(int nItem, int nFlags) const;
    UINT GetSelectedCount() const;
    int GetSelectionMark() const;
    int SetSelectionMark(int nIndex);
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL DeleteAllItems();
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData);
    DWORD SetExtendedStyle(DWORD dwNewStyle);
    DWORD GetExtendedStyle() const;
    BOOL SetBkColor(COLORREF cr);
    BOOL SetTextBkColor(COLORREF cr);
    CHeaderCtrl* GetHeaderCtrl() const;

    // Label editing: the list's edit control while an editing runs.
    CEdit* EditLabel(int nItem);
    CEdit* GetEditControl() const;
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo);
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;

    // Rows of an LVS_OWNERDRAWFIXED list, reflected from its parent.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
