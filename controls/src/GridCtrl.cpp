// The grid's data: construction, window creation, the row and column store,
// cells and their fields, the selection map and the modified flags.
#include "GridCtrl.h"

#include "WinProfile.h"

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNCREATE(CGridCtrl, CWnd)

CGridCtrl::CGridCtrl(int nRows, int nCols, int nFixedRows, int nFixedCols)
{
    RegisterWindowClass();
    // Drag and drop and the clipboard need OLE on this thread; the count is
    // given back at destruction.
    if (SUCCEEDED(::OleInitialize(nullptr)))
        m_bMustUninitOLE = TRUE;
    else
        AfxMessageBox("OLE initialization failed. Make sure that the OLE libraries are the "
                      "correct version");
    SetDefaultsFromSystem();
    ReadWheelSetting();

    NONCLIENTMETRICS ncm{};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    m_Logfont = ncm.lfMessageFont;

    SetRowCount(nRows);
    SetColumnCount(nCols);
    SetFixedRowCount(nFixedRows);
    SetFixedColumnCount(nFixedCols);
}

CGridCtrl::~CGridCtrl()
{
    DeleteAllItems();
    m_DropTarget.Revoke();
    if (GetSafeHwnd() != nullptr)
        DestroyWindow();
    m_Font.DeleteObject();
    if (m_bMustUninitOLE)
        ::OleUninitialize();
}

BOOL CGridCtrl::RegisterWindowClass()
{
    WNDCLASS wndcls{};
    const HINSTANCE hInst = AfxGetInstanceHandle();
    if (::GetClassInfo(hInst, GRIDCTRL_CLASSNAME, &wndcls))
        return TRUE;
    wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wndcls.lpfnWndProc = ::DefWindowProc;
    wndcls.hInstance = hInst;
    wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wndcls.lpszClassName = GRIDCTRL_CLASSNAME;
    if (!AfxRegisterClass(&wndcls))
        AfxThrowResourceException();
    return TRUE;
}

void CGridCtrl::SetDefaultsFromSystem()
{
    m_crWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_crWindowColour = ::GetSysColor(COLOR_WINDOW);
    m_cr3DFace = ::GetSysColor(COLOR_3DFACE);
    m_crShadow = ::GetSysColor(COLOR_3DSHADOW);
    m_crTextColour = m_crWindowText;
    m_crTextBkColour = m_crWindowColour;
    m_crBkColour = m_crShadow;
    m_crFixedTextColour = m_crWindowText;
    m_crFixedBkColour = m_cr3DFace;
}

void CGridCtrl::ReadWheelSetting()
{
    m_nRowsPerWheelNotch = 3;
    HKEY hKey = nullptr;
    if (::RegOpenKeyEx(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS)
        return;
    char szData[128] = {};
    DWORD dwType = 0;
    DWORD dwSize = sizeof(szData) - 1;
    if (::RegQueryValueEx(hKey, "WheelScrollLines", nullptr, &dwType,
                          reinterpret_cast<LPBYTE>(szData), &dwSize) == ERROR_SUCCESS)
        m_nRowsPerWheelNotch = std::atoi(szData);
    ::RegCloseKey(hKey);
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwStyle)
{
    if (!CWnd::Create(GRIDCTRL_CLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    m_DropTarget.Register(this);
    if (m_bTitleTips && m_TitleTip.GetSafeHwnd() == nullptr)
        m_TitleTip.Create(this);
    m_arRowHeights.assign(size_t(m_nRows), UINT(m_nDefCellHeight));
    m_arColWidths.assign(size_t(m_nCols), UINT(m_nDefCellWidth));
    // The platform calls PreSubclassWindow only when subclassing; a grid
    // made here takes its font the same way.
    PreSubclassWindow();
    return TRUE;
}

BOOL CGridCtrl::SubclassWindow(HWND hWnd)
{
    if (!CWnd::SubclassWindow(hWnd))
        return FALSE;
    m_DropTarget.Register(this);
    if (m_bTitleTips && m_TitleTip.GetSafeHwnd() == nullptr)
        m_TitleTip.Create(this);
    return TRUE;
}

void CGridCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    ApplyFont(m_Logfont);
    Invalidate();
    ResetScrollBars();
}

// --- shape -----------------------------------------------------------------

void CGridCtrl::DeleteCell(int nRow, int nCol)
{
    CGridCell*& pCell = m_RowData[size_t(nRow)][size_t(nCol)];
    if (pCell == nullptr)
        return;
    EmptyCell(pCell, nRow, nCol);
    delete pCell;
    pCell = nullptr;
}

BOOL CGridCtrl::SetRowCount(int nRows)
{
    if (nRows == m_nRows)
        return TRUE;
    nRows = std::max(nRows, 0);
    if (nRows < m_nFixedRows)
        m_nFixedRows = nRows;
    if (m_idCurrentCell.row >= nRows)
        SetFocusCell(-1, -1);

    for (int row = nRows; row < m_nRows; ++row)
        for (int col = 0; col < m_nCols; ++col)
            DeleteCell(row, col);
    const int nOldRows = m_nRows;
    m_RowData.resize(size_t(nRows));
    m_arRowHeights.resize(size_t(nRows), UINT(m_nDefCellHeight));
    m_nRows = nRows;
    for (int row = nOldRows; row < nRows; ++row)
    {
        m_RowData[size_t(row)].resize(size_t(m_nCols));
        for (int col = 0; col < m_nCols; ++col)
            m_RowData[size_t(row)][size_t(col)] = CreateCell(row, col);
    }
    if (GetSafeHwnd() != nullptr && m_bAllowDraw)
    {
        ResetScrollBars();
        Invalidate();
    }
    return TRUE;
}

BOOL CGridCtrl::SetColumnCount(int nCols)
{
    if (nCols == m_nCols)
        return TRUE;
    nCols = std::max(nCols, 0);
    if (nCols < m_nFixedCols)
        m_nFixedCols = nCols;
    if (m_idCurrentCell.col >= nCols)
        SetFocusCell(-1, -1);

    for (int row = 0; row < m_nRows; ++row)
        for (int col = nCols; col < m_nCols; ++col)
            DeleteCell(row, col);
    const int nOldCols = m_nCols;
    m_arColWidths.resize(size_t(nCols), UINT(m_nDefCellWidth));
    m_nCols = nCols;
    for (int row = 0; row < m_nRows; ++row)
    {
        m_RowData[size_t(row)].resize(size_t(nCols));
        for (int col = nOldCols; col < nCols; ++col)
            m_RowData[size_t(row)][size_t(col)] = CreateCell(row, col);
    }
    if (GetSafeHwnd() != nullptr && m_bAllowDraw)
    {
        ResetScrollBars();
        Invalidate();
    }
    return TRUE;
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows)
{
    if (m_nRows < nFixedRows && !SetRowCount(nFixedRows))
        return FALSE;
    if (m_idCurrentCell.row < nFixedRows)
        SetFocusCell(-1, -1);
    m_nFixedRows = std::max(nFixedRows, 0);
    if (GetSafeHwnd() != nullptr && m_bAllowDraw)
        Invalidate();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols)
{
    if (m_nCols < nFixedCols && !SetColumnCount(nFixedCols))
        return FALSE;
    if (m_idCurrentCell.col < nFixedCols)
        SetFocusCell(-1, -1);
    m_nFixedCols = std::max(nFixedCols, 0);
    if (GetSafeHwnd() != nullptr && m_bAllowDraw)
        Invalidate();
    return TRUE;
}

void CGridCtrl::ClearFocusAndSelection()
{
    ResetSelectedRange();
    m_idCurrentCell = CCellID();
}

int CGridCtrl::InsertColumn(LPCSTR strHeading, UINT nFormat, int nColumn)
{
    if (nColumn >= 0 && nColumn >= m_nCols)
        return -1;
    ClearFocusAndSelection();
    if (m_nRows < 1)
        SetRowCount(1);

    if (nColumn < 0)
        nColumn = m_nCols;
    for (int row = 0; row < m_nRows; ++row)
    {
        auto& rowData = m_RowData[size_t(row)];
        rowData.insert(rowData.begin() + nColumn, CreateCell(row, nColumn));
    }
    m_arColWidths.insert(m_arColWidths.begin() + nColumn, 0);
    ++m_nCols;

    SetItemText(0, nColumn, strHeading);
    for (int row = 0; row < m_nRows; ++row)
        SetItemFormat(row, nColumn, nFormat);
    m_arColWidths[size_t(nColumn)] = UINT(GetTextExtent(strHeading, TRUE).cx);
    if (m_idCurrentCell.col != -1 && nColumn <= m_idCurrentCell.col)
        ++m_idCurrentCell.col;
    ResetScrollBars();
    return nColumn;
}

int CGridCtrl::InsertRow(LPCSTR strHeading, int nRow)
{
    if (nRow >= 0 && nRow >= m_nRows)
        return -1;
    ClearFocusAndSelection();
    if (m_nCols < 1)
        SetColumnCount(1);

    if (nRow < 0)
        nRow = m_nRows;
    m_RowData.insert(m_RowData.begin() + nRow, std::vector<CGridCell*>(size_t(m_nCols)));
    m_arRowHeights.insert(m_arRowHeights.begin() + nRow, 0);
    ++m_nRows;
    for (int col = 0; col < m_nCols; ++col)
        m_RowData[size_t(nRow)][size_t(col)] = CreateCell(nRow, col);

    SetItemText(nRow, 0, strHeading);
    m_arRowHeights[size_t(nRow)] = UINT(GetTextExtent(strHeading, TRUE).cy);
    if (m_idCurrentCell.row != -1 && nRow <= m_idCurrentCell.row)
        ++m_idCurrentCell.row;
    ResetScrollBars();
    return nRow;
}

BOOL CGridCtrl::DeleteColumn(int nColumn)
{
    if (nColumn < 0 || nColumn >= m_nCols)
        return FALSE;
    ClearFocusAndSelection();
    for (int row = 0; row < m_nRows; ++row)
    {
        DeleteCell(row, nColumn);
        auto& rowData = m_RowData[size_t(row)];
        rowData.erase(rowData.begin() + nColumn);
    }
    m_arColWidths.erase(m_arColWidths.begin() + nColumn);
    --m_nCols;
    if (nColumn < m_nFixedCols)
        --m_nFixedCols;
    if (nColumn == m_idCurrentCell.col)
        m_idCurrentCell = CCellID();
    else if (nColumn < m_idCurrentCell.col)
        --m_idCurrentCell.col;
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::DeleteRow(int nRow)
{
    if (nRow < 0 || nRow >= m_nRows)
        return FALSE;
    ResetSelectedRange();
    for (int col = 0; col < m_nCols; ++col)
        DeleteCell(nRow, col);
    m_RowData.erase(m_RowData.begin() + nRow);
    m_arRowHeights.erase(m_arRowHeights.begin() + nRow);
    --m_nRows;
    if (nRow < m_nFixedRows)
        --m_nFixedRows;
    if (nRow == m_idCurrentCell.row)
        m_idCurrentCell = CCellID();
    else if (nRow < m_idCurrentCell.row)
        --m_idCurrentCell.row;
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows()
{
    for (int nRow = m_nRows - 1; nRow >= m_nFixedRows; --nRow)
        DeleteRow(nRow);
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems()
{
    ClearFocusAndSelection();
    m_arColWidths.clear();
    m_arRowHeights.clear();
    for (int row = 0; row < m_nRows; ++row)
        for (int col = 0; col < m_nCols; ++col)
            DeleteCell(row, col);
    m_RowData.clear();
    m_nRows = m_nCols = m_nFixedRows = m_nFixedCols = 0;
    ResetScrollBars();
    return TRUE;
}

// --- cells -----------------------------------------------------------------

CGridCell* CGridCtrl::CreateCell(int nRow, int nCol)
{
    auto* pCell = new CGridCell;
    if (nRow > 0 && nCol >= 0 && nCol < m_nCols)
    {
        const CGridCell* pAbove = GetCell(nRow - 1, nCol);
        if (pAbove != nullptr)
            pCell->nFormat = pAbove->nFormat;
    }
    pCell->lfFont = m_Logfont;
    return pCell;
}

void CGridCtrl::EmptyCell(CGridCell* pCell, int nRow, int nCol)
{
    SetItemState(nRow, nCol, 0);
    pCell->szText.Empty();
}

CGridCell* CGridCtrl::GetCell(int nRow, int nCol) const
{
    if (!IsValid(nRow, nCol))
        return nullptr;
    return m_RowData[size_t(nRow)][size_t(nCol)];
}

BOOL CGridCtrl::SetCell(int nRow, int nCol, CGridCell* pCell)
{
    if (!IsValid(nRow, nCol))
        return FALSE;
    CGridCell*& slot = m_RowData[size_t(nRow)][size_t(nCol)];
    if (slot == pCell)
        return TRUE;
    // The replaced cell goes as every removed cell goes, and the selection
    // map follows the new cell's own selected bit.
    DeleteCell(nRow, nCol);
    slot = pCell;
    if (pCell != nullptr && (pCell->state & GVIS_SELECTED) != 0)
        m_SelectedCellMap[KeyOf(nRow, nCol)] = CCellID(nRow, nCol);
    return TRUE;
}

BOOL CGridCtrl::SetItem(const GV_ITEM* pItem)
{
    if (pItem == nullptr)
        return FALSE;
    CGridCell* pCell = GetCell(pItem->row, pItem->col);
    if (pCell == nullptr)
        return FALSE;
    if (pItem->mask & GVIF_TEXT)
        pCell->szText = pItem->szText;
    if (pItem->mask & GVIF_PARAM)
        pCell->lParam = pItem->lParam;
    if (pItem->mask & GVIF_IMAGE)
        pCell->iImage = pItem->iImage;
    if (pItem->mask & GVIF_STATE)
        SetItemState(pItem->row, pItem->col, pItem->state);
    if (pItem->mask & GVIF_FORMAT)
        pCell->nFormat = pItem->nFormat;
    if (pItem->mask & GVIF_BKCLR)
        pCell->crBkClr = pItem->crBkClr;
    if (pItem->mask & GVIF_FGCLR)
        pCell->crFgClr = pItem->crFgClr;
    if (pItem->mask & GVIF_FONT)
        pCell->lfFont = pItem->lfFont;
    return TRUE;
}

BOOL CGridCtrl::GetItem(GV_ITEM* pItem)
{
    if (pItem == nullptr)
        return FALSE;
    const CGridCell* pCell = GetCell(pItem->row, pItem->col);
    if (pCell == nullptr)
        return FALSE;
    if (pItem->mask & GVIF_TEXT)
        pItem->szText = GetItemText(pItem->row, pItem->col);
    if (pItem->mask & GVIF_PARAM)
        pItem->lParam = pCell->lParam;
    if (pItem->mask & GVIF_IMAGE)
        pItem->iImage = pCell->iImage;
    if (pItem->mask & GVIF_STATE)
        pItem->state = pCell->state;
    if (pItem->mask & GVIF_FORMAT)
        pItem->nFormat = pCell->nFormat;
    if (pItem->mask & GVIF_BKCLR)
        pItem->crBkClr = pCell->crBkClr;
    if (pItem->mask & GVIF_FGCLR)
        pItem->crFgClr = pCell->crFgClr;
    if (pItem->mask & GVIF_FONT)
        pItem->lfFont = pCell->lfFont;
    return TRUE;
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCSTR str)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    pCell->szText = str;
    return TRUE;
}

CString CGridCtrl::GetItemText(int nRow, int nCol)
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? pCell->szText : CString();
}

BOOL CGridCtrl::SetItemData(int nRow, int nCol, LPARAM lParam)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    pCell->lParam = lParam;
    return TRUE;
}

LPARAM CGridCtrl::GetItemData(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? pCell->lParam : 0;
}

BOOL CGridCtrl::SetItemImage(int nRow, int nCol, int iImage)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    pCell->iImage = iImage;
    return TRUE;
}

int CGridCtrl::GetItemImage(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? pCell->iImage : -1;
}

BOOL CGridCtrl::SetItemState(int nRow, int nCol, UINT state)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    const bool bWasSelected = (pCell->state & GVIS_SELECTED) != 0;
    const bool bSelected = (state & GVIS_SELECTED) != 0;
    if (bWasSelected && !bSelected)
        m_SelectedCellMap.erase(KeyOf(nRow, nCol));
    else if (!bWasSelected && bSelected)
        m_SelectedCellMap[KeyOf(nRow, nCol)] = CCellID(nRow, nCol);
    pCell->state = state;
    return TRUE;
}

UINT CGridCtrl::GetItemState(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? pCell->state : 0;
}

BOOL CGridCtrl::SetItemFormat(int nRow, int nCol, UINT nFormat)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    pCell->nFormat = nFormat;
    return TRUE;
}

UINT CGridCtrl::GetItemFormat(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? pCell->nFormat : 0;
}

BOOL CGridCtrl::SetItemBkColour(int nRow, int nCol, COLORREF cr)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    pCell->crBkClr = cr;
    return TRUE;
}

COLORREF CGridCtrl::GetItemBkColour(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? pCell->crBkClr : 0;
}

BOOL CGridCtrl::SetItemFgColour(int nRow, int nCol, COLORREF cr)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr)
        return FALSE;
    pCell->crFgClr = cr;
    return TRUE;
}

COLORREF CGridCtrl::GetItemFgColour(int nRow, int nCol) const
{
    const CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? pCell->crFgClr : 0;
}

BOOL CGridCtrl::SetItemFont(int nRow, int nCol, const LOGFONT* lf)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    if (pCell == nullptr || lf == nullptr)
        return FALSE;
    pCell->lfFont = *lf;
    return TRUE;
}

LOGFONT* CGridCtrl::GetItemFont(int nRow, int nCol)
{
    CGridCell* pCell = GetCell(nRow, nCol);
    return pCell != nullptr ? &pCell->lfFont : &m_Logfont;
}

// --- checks and settings ---------------------------------------------------

BOOL CGridCtrl::IsValid(int nRow, int nCol) const
{
    return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols;
}

BOOL CGridCtrl::IsValid(const CCellID& cell) const
{
    return IsValid(cell.row, cell.col);
}

BOOL CGridCtrl::IsValid(const CCellRange& range) const
{
    return range.GetMinRow() >= 0 && range.GetMinCol() >= 0 && range.GetMaxRow() >= 0 &&
           range.GetMaxCol() >= 0 && range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols &&
           range.GetMinRow() <= range.GetMaxRow() && range.GetMinCol() <= range.GetMaxCol();
}

BOOL CGridCtrl::IsCellFixed(int nRow, int nCol) const
{
    return nRow < m_nFixedRows || nCol < m_nFixedCols;
}

BOOL CGridCtrl::IsCellEditable(int nRow, int nCol) const
{
    return m_bEditable && (GetItemState(nRow, nCol) & GVIS_READONLY) == 0;
}

BOOL CGridCtrl::IsCellEditable(const CCellID& cell) const
{
    return IsCellEditable(cell.row, cell.col);
}

void CGridCtrl::SetGridLines(int nWhichLines)
{
    m_nGridLines = nWhichLines;
    if (GetSafeHwnd() != nullptr)
        Invalidate();
}

void CGridCtrl::EnableSelection(BOOL bEnable)
{
    ResetSelectedRange();
    m_bEnableSelection = bEnable;
    ResetSelectedRange();
}

int CGridCtrl::SetMouseMode(int nMode)
{
    const int nOldMode = m_MouseMode;
    m_MouseMode = nMode;
    return nOldMode;
}

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol)
{
    if (nRow > 0 && nCol > 0)
    {
        if (bModified)
        {
            SetItemState(nRow, nCol, GetItemState(nRow, nCol) | GVIS_MODIFIED);
            m_bModified = TRUE;
        }
        else
            SetItemState(nRow, nCol, GetItemState(nRow, nCol) & ~GVIS_MODIFIED);
    }
    else
        m_bModified = bModified;

    if (!m_bModified)
        for (int row = 0; row < m_nRows; ++row)
            for (int col = 0; col < m_nCols; ++col)
                SetItemState(row, col, GetItemState(row, col) & ~GVIS_MODIFIED);
}

BOOL CGridCtrl::GetModified(int nRow, int nCol)
{
    if (nRow > 0 && nCol > 0)
        return (GetItemState(nRow, nCol) & GVIS_MODIFIED) == GVIS_MODIFIED;
    return m_bModified;
}

LRESULT CGridCtrl::SendMessageToParent(int nRow, int nCol, int nMessage)
{
    if (GetSafeHwnd() == nullptr)
        return 0;
    GridNotification nm{};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = UINT_PTR(GetDlgCtrlID());
    nm.hdr.code = UINT(nMessage);
    nm.iRow = nRow;
    nm.iColumn = nCol;
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr || pOwner->GetSafeHwnd() == nullptr)
        return 0;
    return pOwner->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}
