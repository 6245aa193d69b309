#include "ColumnSortList.h"

#include "AfxException.h"
#include "WinCRuntime.h"

#include <cctype>
#include <cstdlib>

BEGIN_MESSAGE_MAP(CColumnSortList, CListCtrl)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
ON_WM_CREATE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace
{
bool IsDigit(char ch)
{
    return std::isdigit(static_cast<unsigned char>(ch)) != 0;
}

// Digits with at most one point; the empty text counts as a number too.
bool IsNumberText(const std::string& text)
{
    int nPoints = 0;
    for (const char ch : text)
    {
        if (ch == '.')
            ++nPoints;
        else if (!IsDigit(ch))
            return false;
    }
    return nPoints <= 1;
}

bool IsDateText(const std::string& text)
{
    if (text.size() != 10 || text[2] != '-' || text[5] != '-')
        return false;
    for (const int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (!IsDigit(text[static_cast<std::size_t>(i)]))
            return false;
    return true;
}

template <typename T> int Order(T a, T b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int PartOf(const std::string& text, std::size_t at, std::size_t length)
{
    return std::atoi(text.substr(at, length).c_str());
}

int CompareDates(const std::string& a, const std::string& b)
{
    if (const int nYear = Order(PartOf(a, 6, 4), PartOf(b, 6, 4)); nYear != 0)
        return nYear;
    if (const int nMonth = Order(PartOf(a, 3, 2), PartOf(b, 3, 2)); nMonth != 0)
        return nMonth;
    return Order(PartOf(a, 0, 2), PartOf(b, 0, 2));
}

int CompareTexts(const std::string& a, const std::string& b)
{
    if (IsNumberText(a))
        return Order(std::atof(a.c_str()), std::atof(b.c_str()));
    if (IsDateText(a))
        return CompareDates(a, b);
    return lstrcmpA(a.c_str(), b.c_str());
}
} // namespace

CColumnSortList::~CColumnSortList()
{
    FreeRecords();
}

// A list made from a template already has its header when subclassed; one
// created here gets it while it is being created.
void CColumnSortList::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    SubclassHeader();
}

int CColumnSortList::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CListCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    SubclassHeader();
    return 0;
}

void CColumnSortList::SubclassHeader()
{
    const HWND hHeader = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER, 0, 0));
    if (hHeader != nullptr && m_header.m_hWnd == nullptr)
        m_header.SubclassWindow(hHeader);
}

int CColumnSortList::AddRow(const std::vector<CString>& texts)
{
    if (m_nColumnCount <= 0 || texts.size() < static_cast<std::size_t>(m_nColumnCount))
        AfxThrowInvalidArgException();
    const int nRow = InsertItem(GetItemCount(), texts[0]);
    if (nRow < 0)
        return nRow;
    auto* pRecord = new RowRecord;
    for (int i = 0; i < m_nColumnCount; ++i)
    {
        const CString& text = texts[static_cast<std::size_t>(i)];
        pRecord->texts.emplace_back(static_cast<LPCSTR>(text));
        if (i > 0)
            SetItemText(nRow, i, text);
    }
    SetItemData(nRow, reinterpret_cast<DWORD_PTR>(pRecord));
    return nRow;
}

CColumnSortList::RowRecord* CColumnSortList::GetRecord(int nRow) const
{
    if (nRow < 0 || nRow >= GetItemCount())
        return nullptr;
    return reinterpret_cast<RowRecord*>(GetItemData(nRow));
}

BOOL CColumnSortList::SetRowValue(int nRow, int nValue)
{
    RowRecord* pRecord = GetRecord(nRow);
    if (pRecord == nullptr)
        return FALSE;
    pRecord->nValue = nValue;
    return TRUE;
}

int CColumnSortList::GetRowValue(int nRow) const
{
    const RowRecord* pRecord = GetRecord(nRow);
    return pRecord != nullptr ? pRecord->nValue : 0;
}

void CColumnSortList::FreeRecords()
{
    if (m_hWnd == nullptr)
        return;
    for (int i = 0; i < GetItemCount(); ++i)
    {
        delete GetRecord(i);
        SetItemData(i, 0);
    }
}

void CColumnSortList::DeleteAllRows()
{
    FreeRecords();
    DeleteAllItems();
}

void CColumnSortList::OnDestroy()
{
    FreeRecords();
    CListCtrl::OnDestroy();
}

void CColumnSortList::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    SortByColumn(reinterpret_cast<const NMLISTVIEW*>(pNMHDR)->iSubItem);
    *pResult = 0;
}

void CColumnSortList::SortByColumn(int nColumn)
{
    m_bAscending = nColumn != m_nSortColumn ? true : !m_bAscending;
    m_nSortColumn = nColumn;
    if (m_header.m_hWnd != nullptr)
        m_header.SetSortArrow(m_nSortColumn, m_bAscending);
    SortItems(&CColumnSortList::CompareRows, reinterpret_cast<DWORD_PTR>(this));
}

int CALLBACK CColumnSortList::CompareRows(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const auto* pList = reinterpret_cast<const CColumnSortList*>(lParamSort);
    const auto* pRow1 = reinterpret_cast<const RowRecord*>(lParam1);
    const auto* pRow2 = reinterpret_cast<const RowRecord*>(lParam2);
    const auto nColumn = static_cast<std::size_t>(pList->m_nSortColumn);
    if (pRow1 == nullptr || pRow2 == nullptr || nColumn >= pRow1->texts.size() ||
        nColumn >= pRow2->texts.size())
        return 0;
    const std::string& a = pRow1->texts[nColumn];
    const std::string& b = pRow2->texts[nColumn];
    return pList->m_bAscending ? CompareTexts(a, b) : CompareTexts(b, a);
}
