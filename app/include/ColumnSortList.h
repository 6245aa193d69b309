// CColumnSortList: a report-style list that keeps its own copy of every
// row's texts and one integer per row, and sorts itself on a column click,
// comparing the column as numbers, as dd-mm-yyyy dates or as text.
#pragma once

#include "AfxListCtrl.h"
#include "SortArrowHeader.h"

#include <string>
#include <vector>

class CColumnSortList : public CListCtrl
{
public:
    CColumnSortList() = default;
    ~CColumnSortList() override;
    CColumnSortList(const CColumnSortList&) = delete;
    CColumnSortList& operator=(const CColumnSortList&) = delete;

    // Texts of every row; the owner sets it after inserting the columns.
    void SetColumnCount(int nCount) { m_nColumnCount = nCount; }
    int GetColumnCount() const { return m_nColumnCount; }

    // Appends a row of the first column-count texts; fewer texts throw the
    // invalid-argument exception. Answers the new row's index.
    int AddRow(const std::vector<CString>& texts);
    BOOL SetRowValue(int nRow, int nValue);
    int GetRowValue(int nRow) const;
    void DeleteAllRows();

    // Sorts by the column: ascending on a new column, else the other way.
    void SortByColumn(int nColumn);
    int GetSortColumn() const { return m_nSortColumn; }
    bool IsAscending() const { return m_bAscending; }
    CSortArrowHeader& GetSortHeader() { return m_header; }

    // Negative when row 1 goes first. The text of row 1 alone chooses the
    // rule (number, date, text), so the order need not be total.
    static int CALLBACK CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

protected:
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    struct RowRecord
    {
        std::vector<std::string> texts;
        int nValue = 0;
    };

    RowRecord* GetRecord(int nRow) const;
    void SubclassHeader();
    void FreeRecords();

    int m_nColumnCount = 0;
    int m_nSortColumn = -1;
    bool m_bAscending = true;
    CSortArrowHeader m_header;
};
