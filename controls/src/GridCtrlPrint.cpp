// Printing the grid scaled to the paper width, page by page, with a header
// of the program's and window's names and a footer of page and date.
#include "AfxPrint.h"
#include "GridCtrl.h"
#include "WinPrint.h"
#include "WinProcessInfo.h"

#include <ctime>

namespace
{
// The printed date and time, the same on every system ("%c" is not).
CString PrintedDateTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr)
        return CString();
    char szTime[128] = {};
    if (std::strftime(szTime, sizeof(szTime), "%a %b %e %H:%M:%S %Y", &local) == 0)
        return CString();
    return CString(szTime);
}

CString AppTitle()
{
    CString title;
    title.LoadString(AFX_IDS_APP_TITLE);
    return title;
}
} // namespace

int CGridCtrl::PageWalk(int nPage) const
{
    // The page count when nPage is 0, else the first row of page nPage
    // (from 1), the row count when there is no such page.
    if (nPage == 1)
        return m_nFixedRows;
    int nPages = 1;
    int nTotalRowHeight = 0;
    for (int row = m_nFixedRows; row < m_nRows; ++row)
    {
        nTotalRowHeight += GetRowHeight(row);
        if (nTotalRowHeight > m_nPageHeight)
        {
            ++nPages;
            nTotalRowHeight = GetRowHeight(row);
            if (nPages == nPage)
                return row;
        }
    }
    return nPage == 0 ? nPages : m_nRows;
}

void CGridCtrl::Print()
{
    CPrintDialog printDlg(FALSE);
    if (printDlg.DoModal() != IDOK || printDlg.GetPrinterDC() == nullptr)
        return;
    CDC dc;
    dc.Attach(printDlg.GetPrinterDC());
    dc.m_bPrinting = TRUE;

    const CString strTitle = AppTitle();
    DOCINFOA di{};
    di.cbSize = sizeof(DOCINFOA);
    di.lpszDocName = strTitle;
    BOOL bPrintingOK = ::StartDocA(dc.GetSafeHdc(), &di) > 0;

    CPrintInfo Info;
    Info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    // A grid with no rows to print leaves the count as it is: one page,
    // not the print info's open end.
    Info.SetMaxPage(1);
    OnBeginPrinting(&dc, &Info);
    for (UINT page = Info.GetMinPage(); bPrintingOK && page <= Info.GetMaxPage(); ++page)
    {
        ::StartPage(dc.GetSafeHdc());
        Info.m_nCurPage = page;
        OnPrint(&dc, &Info);
        bPrintingOK = ::EndPage(dc.GetSafeHdc()) > 0;
    }
    OnEndPrinting(&dc, &Info);
    if (bPrintingOK)
        ::EndDoc(dc.GetSafeHdc());
    else
        ::AbortDoc(dc.GetSafeHdc());
    dc.DeleteDC();
}

void CGridCtrl::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    if (pDC == nullptr || pInfo == nullptr || m_nFixedRows >= m_nRows)
        return;
    m_PrinterFont.DeleteObject();
    m_PrinterFont.CreateFont(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                             CLIP_CHARACTER_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             "Times New Roman");
    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);

    const CSize TextSize =
        pDC->GetTextExtent("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSATUVWXYZ", 52);
    m_CharSize = CSize(TextSize.cx / 52, TextSize.cy);
    m_PaperSize = CSize(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    m_LogicalPageSize.cx = GetVirtualWidth() + 8 * m_CharSize.cx;
    m_LogicalPageSize.cy = ::MulDiv(m_LogicalPageSize.cx, m_PaperSize.cy, m_PaperSize.cx);
    m_nPageHeight = m_LogicalPageSize.cy - GetFixedRowHeight() - 6 * m_CharSize.cy;

    pInfo->SetMaxPage(UINT(PageWalk(0)));
    pInfo->m_nCurPage = 1;
    pDC->SelectObject(pOldFont);
}

void CGridCtrl::PrintRowLines(CDC* pDC, int nRow, const CRect& rect, int nCol, BOOL bFirstRow)
{
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ)
    {
        pDC->MoveTo(nCol == 0 ? rect.left : rect.left - 1, rect.bottom);
        pDC->LineTo(rect.right, rect.bottom);
        if (nRow == 0)
        {
            pDC->MoveTo(nCol == 0 ? rect.left : rect.left - 1, rect.top);
            pDC->LineTo(rect.right, rect.top);
        }
    }
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT)
    {
        pDC->MoveTo(rect.right, bFirstRow ? rect.top : rect.top - 1);
        pDC->LineTo(rect.right, rect.bottom);
        if (nCol == 0)
        {
            pDC->MoveTo(rect.left, bFirstRow ? rect.top : rect.top - 1);
            pDC->LineTo(rect.left, rect.bottom);
        }
    }
}

void CGridCtrl::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    // A grid without rows to print has no print font either.
    if (pDC == nullptr || pInfo == nullptr || m_PrinterFont.GetSafeHandle() == nullptr)
        return;
    CFont* pOldFont = pDC->SelectObject(&m_PrinterFont);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_LogicalPageSize);
    pDC->SetViewportExt(m_PaperSize);
    pDC->SetWindowOrg(-4 * m_CharSize.cx, 0);

    pInfo->m_rectDraw.SetRect(0, 0, m_LogicalPageSize.cx - 8 * m_CharSize.cx, 2 * m_CharSize.cy);
    PrintHeader(pDC, pInfo);
    pDC->OffsetWindowOrg(0, -2 * m_CharSize.cy);
    pDC->OffsetWindowOrg(0, -m_CharSize.cy);

    pInfo->m_rectDraw.bottom = GetFixedRowHeight();
    PrintColumnHeadings(pDC, pInfo);
    pDC->OffsetWindowOrg(0, -GetFixedRowHeight());

    CPen pen(PS_SOLID, 0, m_crGridColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int nFirstRow = PageWalk(int(pInfo->m_nCurPage));
    CRect rect;
    rect.bottom = -1;
    int nRowsHeight = 0;
    for (int row = nFirstRow; row < m_nRows; ++row)
    {
        nRowsHeight += GetRowHeight(row);
        if (nRowsHeight > m_nPageHeight)
            break;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        rect.right = -1;
        for (int col = 0; col < m_nCols; ++col)
        {
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            DrawCell(pDC, row, col, rect);
            PrintRowLines(pDC, row, rect, col, row == nFirstRow);
        }
    }
    pDC->SelectObject(pOldPen);

    pInfo->m_rectDraw.bottom = 2 * m_CharSize.cy;
    pDC->SetWindowOrg(-4 * m_CharSize.cx, 2 * m_CharSize.cy - m_LogicalPageSize.cy);
    PrintFooter(pDC, pInfo);
    pDC->SetWindowOrg(0, 0);
    pDC->SelectObject(pOldFont);
}

void CGridCtrl::PrintColumnHeadings(CDC* pDC, CPrintInfo* /*pInfo*/)
{
    CPen pen(PS_SOLID, 0, m_crGridColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    ForEachCellRect(CCellRange(0, 0, m_nFixedRows - 1, m_nCols - 1), CPoint(0, 0), nullptr,
                    [&](int row, int col, const CRect& rect)
                    {
                        DrawFixedCell(pDC, row, col, rect);
                        PrintRowLines(pDC, row, rect, col, row == 0);
                    });
    pDC->SelectObject(pOldPen);
}

void CGridCtrl::CreateBoldPrintFont(CFont& font)
{
    LOGFONT lf{};
    m_PrinterFont.GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    font.CreateFontIndirect(&lf);
}

void CGridCtrl::PrintHeader(CDC* pDC, CPrintInfo* pInfo)
{
    CRect rc(pInfo->m_rectDraw);
    CFont BoldFont;
    CreateBoldPrintFont(BoldFont);
    CFont* pNormalFont = pDC->SelectObject(&BoldFont);
    const int nPrevBkMode = pDC->SetBkMode(TRANSPARENT);

    pDC->DrawText(AppTitle(), &rc, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    CString strCaption;
    for (CWnd* pWnd = GetParent(); pWnd != nullptr; pWnd = pWnd->GetParent())
    {
        pWnd->GetWindowText(strCaption);
        if (!strCaption.IsEmpty())
            break;
    }
    pDC->DrawText(strCaption, &rc, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);

    pDC->SetBkMode(nPrevBkMode);
    pDC->SelectObject(pNormalFont);
    pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(rc.left, rc.bottom);
    pDC->LineTo(rc.right, rc.bottom);
}

void CGridCtrl::PrintFooter(CDC* pDC, CPrintInfo* pInfo)
{
    CRect rc(pInfo->m_rectDraw);
    pDC->SelectStockObject(BLACK_PEN);
    pDC->MoveTo(rc.left, rc.top);
    pDC->LineTo(rc.right, rc.top);

    CFont BoldFont;
    CreateBoldPrintFont(BoldFont);
    CFont* pNormalFont = pDC->SelectObject(&BoldFont);
    const int nPrevBkMode = pDC->SetBkMode(TRANSPARENT);

    rc.OffsetRect(0, m_CharSize.cy / 2);
    CString strPage;
    strPage.Format("Page %d of %d", pInfo->m_nCurPage, pInfo->GetMaxPage());
    pDC->DrawText(strPage, &rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_VCENTER);
    pDC->DrawText(PrintedDateTime(), &rc,
                  DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_VCENTER);

    pDC->SetBkMode(nPrevBkMode);
    pDC->SelectObject(pNormalFont);
}

void CGridCtrl::OnEndPrinting(CDC* /*pDC*/, CPrintInfo* /*pInfo*/)
{
    m_PrinterFont.DeleteObject();
}
