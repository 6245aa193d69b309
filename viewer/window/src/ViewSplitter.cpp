#include "ViewSplitter.h"

#include "QuillonLog.h"

#include <cstdint>

using quillon::_debug;
using quillon::_error;

namespace
{

constexpr COLORREF FrameColor = RGB(0, 0, 0);
constexpr COLORREF LineColor = RGB(255, 255, 255);
constexpr UINT ShowFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

// A pointer as the log prints it: its low 32 bits.
unsigned LogWord(const void* pointer)
{
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(pointer));
}

void ShowView(CWnd* view, bool show)
{
    view->SetWindowPos(nullptr, 0, 0, 0, 0,
                       ShowFlags | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW | SWP_NOREDRAW));
}

} // namespace

IMPLEMENT_DYNCREATE(ViewSplitter, CWnd)

BEGIN_MESSAGE_MAP(ViewSplitter, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_WM_SIZE()
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

void ViewSplitter::SetGridSize(int rows, int cols)
{
    if (rows < 0 || cols < 0 || cols > MaxCols)
    {
        _error("Enter ViewSplitter::SetGridSize, refused %d X %d, at most %d columns", rows, cols,
               MaxCols);
        return;
    }
    m_nGridRows = rows;
    m_nGridCols = cols;
    m_grid.Reserve(rows);
    while (m_grid.GetCount() < rows)
    {
        m_grid.Add(Row());
    }
    for (int row = 0; row < rows; ++row)
    {
        Row& cells = m_grid[row];
        while (cells.GetCount() < cols)
        {
            cells.Add(nullptr);
        }
        for (int col = 0; col < cols; ++col)
        {
            cells[col] = nullptr;
        }
    }
}

bool ViewSplitter::SetViewLayout(int rows, int cols)
{
    m_nRows = rows < 0 ? 0 : (rows > m_nGridRows ? m_nGridRows : rows);
    m_nCols = cols < 0 ? 0 : (cols > m_nGridCols ? m_nGridCols : cols);
    m_dwLayout &= ~BlownUp;
    return true;
}

void ViewSplitter::GetViewLayout(int* rows, int* cols)
{
    *rows = m_nRows;
    *cols = m_nCols;
}

void ViewSplitter::SetViewLayoutBlowup()
{
    _debug("Enter ViewSplitter::SetViewLayoutBlowup, m_pViewActive:0x%0x", LogWord(m_pViewActive));
    if (!IsGridView(m_pViewActive))
    {
        return;
    }
    ShowAllViews(false);
    CRect client;
    GetClientRect(&client);
    m_pViewActive->MoveWindow(&client, FALSE);
    m_pViewActive->ShowWindow(SW_SHOW);
    m_pViewActive->Invalidate(TRUE);
    Invalidate(TRUE);
    _debug("Leave ViewSplitter::SetViewLayoutBlowup, m_pViewActive:0x%0x", LogWord(m_pViewActive));
}

void ViewSplitter::DoSetViewLayout(int rows, int cols)
{
    _debug("Enter DoSetViewLayout, %d X %d", rows, cols);
    CRect client;
    GetClientRect(&client);
    const CSize cell = GetCellSize(client, rows, cols);
    // An empty cell (a view that could not be made) is left out.
    for (int row = 0; row < rows; ++row)
    {
        for (int col = 0; col < cols; ++col)
        {
            if (CWnd* view = GetCell(row, col))
            {
                view->MoveWindow(client.left + col * (cell.cx + m_nGap),
                                 client.top + row * (cell.cy + m_nGap), cell.cx, cell.cy, FALSE);
            }
        }
    }
    Invalidate(TRUE);
    for (int row = 0; row < rows; ++row)
    {
        for (int col = 0; col < cols; ++col)
        {
            if (CWnd* view = GetCell(row, col))
            {
                ShowView(view, true);
            }
        }
    }

    Array<CWnd*> shown;
    GetAllVisibleView(shown);
    CWnd* active = shown.IndexOf(m_pViewActive) >= 0 ? m_pViewActive : GetDlgItem(FirstCellId);
    ActiveView(active, true);
}

CWnd* ViewSplitter::ActiveView(CWnd* view, bool set)
{
    if (set)
    {
        m_pViewActive = view;
    }
    return m_pViewActive;
}

void ViewSplitter::ActivateView(CWnd* view)
{
    for (int row = 0; row < m_nGridRows; ++row)
    {
        for (int col = 0; col < m_nGridCols; ++col)
        {
            if (CWnd* other = GetShownCell(row, col); other != nullptr && other != view)
            {
                ActiveView(other, false);
            }
        }
    }
    if (view != nullptr)
    {
        ActiveView(view, true);
    }
}

int ViewSplitter::CreateView(int row, int col, CRuntimeClass* pViewClass, int width, int height,
                             CCreateContext* pContext)
{
    if (row < 0 || row >= m_nGridRows || col < 0 || col >= m_nGridCols || pViewClass == nullptr)
    {
        _error("Enter ViewSplitter::CreateView, no cell %d, %d in a grid of %d X %d", row, col,
               m_nGridRows, m_nGridCols);
        return 0;
    }
    try
    {
        CObject* object = pViewClass->CreateObject();
        if (object == nullptr)
        {
            AfxThrowMemoryException();
        }
        // A view whose window fails goes with it (its PostNcDestroy).
        CWnd* view = static_cast<CWnd*>(object);
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, width, height), this,
                          GetCellId(row, col), pContext))
        {
            return 0;
        }
        view->SendMessage(WM_INITIALUPDATE);
        m_grid[row][col] = view;
        return 1;
    }
    catch (CException* exception)
    {
        _error("Enter ViewSplitter::CreateView, cannot create the view of %d, %d", row, col);
        exception->Delete();
        return 0;
    }
}

CWnd* ViewSplitter::GetPane(int row, int col) const
{
    return GetDlgItem(static_cast<int>(GetCellId(row, col)));
}

void ViewSplitter::RecalcLayout()
{
    if (m_nRows <= 0 || m_nCols <= 0)
    {
        return;
    }
    ShowAllViews(false);
    if (IsBlownUp())
    {
        SetViewLayoutBlowup();
    }
    else
    {
        DoSetViewLayout(m_nRows, m_nCols);
    }
}

void ViewSplitter::ToggleBlowup()
{
    if (IsBlownUp())
    {
        Restore();
    }
    else
    {
        BlowupActiveView();
    }
}

void ViewSplitter::BlowupActiveView()
{
    _debug("Enter ViewSplitter::BlowupActiveView, layout : 0x%0x", m_dwLayout);
    m_dwLayout |= BlownUp;
    SetViewLayoutBlowup();
}

void ViewSplitter::Restore()
{
    _debug("Enter ViewSplitter::Restore, layout : 0x%0x", m_dwLayout);
    m_dwLayout &= ~BlownUp;
    RecalcLayout();
}

void ViewSplitter::GetAllVisibleView(Array<CWnd*>& views)
{
    try
    {
        for (int row = 0; row < m_nRows; ++row)
        {
            for (int col = 0; col < m_nCols; ++col)
            {
                if (CWnd* view = GetPane(row, col))
                {
                    views.AddTail(view);
                }
            }
        }
    }
    catch (...)
    {
        _error("Exception catched at ViewSplitter::GetAllVisibleView");
    }
}

void ViewSplitter::ShowAllViews(bool show)
{
    for (int row = 0; row < m_nGridRows; ++row)
    {
        for (int col = 0; col < m_nGridCols; ++col)
        {
            if (CWnd* view = GetCell(row, col))
            {
                ShowView(view, show);
            }
        }
    }
}

int ViewSplitter::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
    {
        return -1;
    }
    SetWindowText("Splitter");
    return 0;
}

// The views go with the window: the cells forget them.
void ViewSplitter::OnDestroy()
{
    CWnd::OnDestroy();
    for (int row = 0; row < m_nGridRows; ++row)
    {
        for (int col = 0; col < m_nGridCols; ++col)
        {
            m_grid[row][col] = nullptr;
        }
    }
    m_pViewActive = nullptr;
}

BOOL ViewSplitter::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(client.left, client.top, 1, client.Height(), FrameColor);
    pDC->FillSolidRect(client.right - 1, client.top, 1, client.Height(), FrameColor);
    pDC->FillSolidRect(client.left, client.top, client.Width(), 1, FrameColor);
    pDC->FillSolidRect(client.left, client.bottom - 1, client.Width(), 1, FrameColor);
    if (m_nGap != 0 && !IsBlownUp())
    {
        DrawGridLines(pDC, client);
    }
    return TRUE;
}

void ViewSplitter::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}

int ViewSplitter::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    const int answer = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (answer == MA_NOACTIVATE || answer == MA_NOACTIVATEANDEAT)
    {
        return answer;
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    CWnd* underCursor = nullptr;
    for (int row = 0; row < m_nGridRows; ++row)
    {
        for (int col = 0; col < m_nGridCols; ++col)
        {
            CWnd* view = GetShownCell(row, col);
            if (view == nullptr)
            {
                continue;
            }
            ActiveView(view, false);
            CRect rect;
            view->GetWindowRect(&rect);
            if (rect.PtInRect(cursor))
            {
                underCursor = view;
            }
        }
    }
    if (underCursor != nullptr)
    {
        ActiveView(underCursor, true);
    }
    return answer;
}

// A view destroyed on its own no longer answers to its cell's id.
CWnd* ViewSplitter::GetCell(int row, int col) const
{
    if (row < 0 || row >= m_nGridRows || col < 0 || col >= m_nGridCols)
    {
        return nullptr;
    }
    CWnd* view = m_grid[row][col];
    return view != nullptr && GetPane(row, col) == view ? view : nullptr;
}

bool ViewSplitter::IsGridView(const CWnd* view) const
{
    for (int row = 0; row < m_nGridRows; ++row)
    {
        for (int col = 0; col < m_nGridCols; ++col)
        {
            if (view != nullptr && GetCell(row, col) == view)
            {
                return true;
            }
        }
    }
    return false;
}

CWnd* ViewSplitter::GetShownCell(int row, int col) const
{
    CWnd* view = GetCell(row, col);
    return view != nullptr && view->IsWindowVisible() && view->IsWindowEnabled() ? view : nullptr;
}

CSize ViewSplitter::GetCellSize(const CRect& client, int rows, int cols) const
{
    return CSize(cols > 0 ? (client.right - (cols - 1) * m_nGap - client.left) / cols : 0,
                 rows > 0 ? (client.bottom - (rows - 1) * m_nGap - client.top) / rows : 0);
}

// The outer frame stays; white bands of the gap's width and a pixel on each
// side follow every row and every column, the last ones included.
void ViewSplitter::DrawGridLines(CDC* pDC, const CRect& client)
{
    const CSize cell = GetCellSize(client, m_nRows, m_nCols);
    for (int row = 1; row <= m_nRows; ++row)
    {
        const int y = client.top + row * (cell.cy + m_nGap);
        pDC->FillSolidRect(CRect(client.left, y - m_nGap - 1, client.right, y + 1), LineColor);
    }
    for (int col = 1; col <= m_nCols; ++col)
    {
        const int x = client.left + col * (cell.cx + m_nGap);
        pDC->FillSolidRect(CRect(x - m_nGap - 1, client.top, x + 1, client.bottom), LineColor);
    }
}
