#include "ImagePad.h"

#include "AfxWinDC.h"
#include "DibLock.h"
#include "WinListView.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CImagePad, CWnd)

BEGIN_MESSAGE_MAP(CImagePad, CWnd)
ON_WM_CREATE()
ON_WM_VSCROLL()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONUP()
ON_WM_RBUTTONDBLCLK()
ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

namespace
{
constexpr int kStripHeight = 26;
constexpr int kSmallCell = 128;
} // namespace

CImagePad::CImagePad()
    : m_crBackground(GetSysColor(COLOR_BACKGROUND)), m_crLabelText(GetSysColor(COLOR_BTNTEXT)),
      m_crFace(GetSysColor(COLOR_BTNFACE)), m_crLight(GetSysColor(COLOR_3DLIGHT)),
      m_crHighlight(GetSysColor(COLOR_BTNHIGHLIGHT)), m_crShadow(GetSysColor(COLOR_BTNSHADOW)),
      m_crDarkShadow(GetSysColor(COLOR_3DDKSHADOW)), m_crLabelBack(m_crBackground)
{
}

CImagePad::~CImagePad()
{
    if (m_wndStrip.GetSafeHwnd() != nullptr)
        m_wndStrip.DestroyWindow();
    if (m_hWnd != nullptr)
        DestroyWindow();
    Reset();
}

BOOL CImagePad::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_bCreatedByCreate = TRUE;
    LPCSTR lpszClass =
        AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    if (!CWnd::Create(lpszClass, "", dwStyle, rect, pParentWnd, nID))
        return FALSE;
    Initialize();
    return TRUE;
}

int CImagePad::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    Initialize();
    return 0;
}

void CImagePad::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    if (!m_bCreatedByCreate)
        Initialize();
}

void CImagePad::Initialize()
{
    if (!(m_dwFlags & kPageStrip) || m_wndStrip.GetSafeHwnd() != nullptr || m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    LPCSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    m_wndStrip.Create(lpszClass, "", WS_CHILD, CRect(0, 0, client.Width(), kStripHeight), this, 0);
}

void CImagePad::SetOwnership(BOOL bOwnDibs, BOOL bOwnPalettes)
{
    m_bNotOwnDibs = !bOwnDibs;
    m_bNotOwnPalettes = !bOwnPalettes;
}

// ------------------------------------------------------------------ items

void CImagePad::FreeItem(int nIndex)
{
    if (!IsValidItem(nIndex))
        return;
    auto hDib = static_cast<HDIB>(m_dibs[nIndex]);
    auto hPalette = static_cast<HPALETTE>(m_palettes[nIndex]);
    if (hDib != nullptr && !m_bNotOwnDibs)
        DestroyDIB(hDib);
    if (hPalette != nullptr && !m_bNotOwnPalettes)
        ::DeleteObject(hPalette);
    m_dibs[nIndex] = nullptr;
    m_palettes[nIndex] = nullptr;
}

void CImagePad::StoreItem(int nIndex, HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel)
{
    m_dibs.SetAtGrow(nIndex, hDib);
    m_palettes.SetAtGrow(nIndex, hPalette);
    m_data.SetAtGrow(nIndex, dwData);
    m_labels.SetAtGrow(nIndex, CString(lpszLabel != nullptr ? lpszLabel : ""));
}

void CImagePad::RepaintAfterInsert(int nIndex, int nRows, int nColumns, int nTopMargin)
{
    if (m_hWnd == nullptr)
        return;
    RecalcLayout();
    CRect cell;
    if (nRows == m_nRows && nColumns == m_nColumns && nTopMargin == m_nTopMargin &&
        GetItemRect(nIndex, &cell, enPartCell))
        InvalidateRect(&cell);
    else
        Invalidate();
}

int CImagePad::InsertItem(HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel)
{
    const int nIndex = GetItemCount();
    const int nRows = m_nRows;
    const int nColumns = m_nColumns;
    const int nTopMargin = m_nTopMargin;
    StoreItem(nIndex, hDib, hPalette, dwData, lpszLabel);
    RepaintAfterInsert(nIndex, nRows, nColumns, nTopMargin);
    return nIndex;
}

int CImagePad::InsertItem(int nIndex, HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel)
{
    if (nIndex < 0)
        return -1;
    const int nRows = m_nRows;
    const int nColumns = m_nColumns;
    const int nTopMargin = m_nTopMargin;
    // The item stored there is replaced: its DIB and palette go with it.
    if (IsValidItem(nIndex) && m_dibs[nIndex] != hDib)
        FreeItem(nIndex);
    StoreItem(nIndex, hDib, hPalette, dwData, lpszLabel);
    RepaintAfterInsert(nIndex, nRows, nColumns, nTopMargin);
    return GetItemCount() - 1;
}

int CImagePad::InsertItem(LPCSTR lpszPath, DWORD dwData, LPCSTR lpszLabel)
{
    HDIB hDib = LoadDIB(lpszPath);
    if (hDib == nullptr)
        return -1;
    return InsertItem(hDib, CreateDIBPalette(hDib), dwData, lpszLabel);
}

int CImagePad::InsertItem(int nIndex, LPCSTR lpszPath, DWORD dwData, LPCSTR lpszLabel)
{
    HDIB hDib = LoadDIB(lpszPath);
    if (hDib == nullptr)
        return -1;
    return InsertItem(nIndex, hDib, CreateDIBPalette(hDib), dwData, lpszLabel);
}

BOOL CImagePad::SetItem(int nIndex, HDIB hDib, HPALETTE hPalette, DWORD dwData, LPCSTR lpszLabel)
{
    if (!IsValidItem(nIndex))
        return FALSE;
    if (m_dibs[nIndex] != hDib)
        FreeItem(nIndex);
    StoreItem(nIndex, hDib, hPalette, dwData, lpszLabel);
    Update(nIndex);
    return TRUE;
}

void CImagePad::RemoveItem(int nIndex, BOOL bRedraw)
{
    if (!IsValidItem(nIndex))
        return;
    FreeItem(nIndex);
    m_dibs.RemoveAt(nIndex);
    m_palettes.RemoveAt(nIndex);
    m_data.RemoveAt(nIndex);
    m_labels.RemoveAt(nIndex);
    if (bRedraw && m_hWnd != nullptr)
    {
        RecalcLayout();
        Invalidate();
    }
}

int CImagePad::RemoveSelected()
{
    const int nRemoved = m_nCurSel;
    if (!IsValidItem(nRemoved))
        return -1;
    RemoveItem(nRemoved, TRUE);
    if (m_nCurSel > 0)
        --m_nCurSel;
    if (m_nCurSel >= GetItemCount())
        m_nCurSel = GetItemCount() - 1;
    if ((m_dwFlags & kHighlightSelection) && m_nCurSel >= 0)
        HighlightItem(m_nCurSel, TRUE);
    int nFirst = 0;
    int nLast = 0;
    if (m_nCurSel >= 0 && GetVisibleRange(nFirst, nLast) &&
        (m_nCurSel < nFirst || m_nCurSel > nLast))
        OnLineDown();
    return nRemoved;
}

void CImagePad::Reset()
{
    m_nHighlighted = -1;
    m_nCurSel = -1;
    m_bPressed = FALSE;
    m_nScrollPos = 0;
    m_nTopIndex = 0;
    for (int i = 0; i < GetItemCount(); ++i)
        FreeItem(i);
    m_dibs.RemoveAll();
    m_palettes.RemoveAll();
    m_data.RemoveAll();
    m_labels.RemoveAll();
    if (m_wndStrip.GetSafeHwnd() != nullptr)
        m_wndStrip.ShowWindow(SW_HIDE);
    if (m_hWnd == nullptr)
        return;
    if (!(m_dwFlags & kPageStrip))
        SetScrollRange(SB_VERT, 0, 0, FALSE);
    Invalidate();
}

void CImagePad::SetItemData(int nIndex, DWORD dwData)
{
    if (IsValidItem(nIndex))
        m_data[nIndex] = dwData;
}

DWORD CImagePad::GetItemData(int nIndex) const
{
    return IsValidItem(nIndex) ? m_data[nIndex] : 0;
}

void CImagePad::SetItemLabel(int nIndex, LPCSTR lpszLabel)
{
    if (!IsValidItem(nIndex))
        return;
    m_labels[nIndex] = lpszLabel != nullptr ? lpszLabel : "";
    Update(nIndex);
}

CString CImagePad::GetItemLabel(int nIndex) const
{
    return IsValidItem(nIndex) ? m_labels[nIndex] : CString();
}

// ----------------------------------------------------------------- layout

BOOL CImagePad::GetItemRect(int nIndex, RECT* pRect, UINT nPart) const
{
    const int p = nIndex - m_nTopIndex;
    if (pRect == nullptr || p < 0 || !IsValidItem(nIndex) || m_nColumns <= 0)
    {
        if (pRect != nullptr)
            ::SetRectEmpty(pRect);
        return FALSE;
    }
    const int b = m_nBorder;
    const int left = m_nLeftMargin + (p % m_nColumns) * (m_nCellWidth + m_nHorzGap + 2 * b);
    const int top =
        m_nTopMargin + (p / m_nColumns) * (m_nCellHeight + m_nVertGap + m_nHeadHeight + 2 * b);
    CRect rect;
    switch (nPart)
    {
    case enPartNone:
    case enPartCell:
        rect.SetRect(left, top, left + m_nCellWidth + 2 * b,
                     top + m_nCellHeight + m_nHeadHeight + 2 * b);
        break;
    case enPartPicture:
        rect.SetRect(left + b, top + m_nHeadHeight + b, left + b + m_nCellWidth,
                     top + m_nHeadHeight + b + m_nCellHeight);
        break;
    case enPartLabel:
    {
        int nLeft = left + b;
        if (m_nLabelWidth < m_nCellWidth)
            nLeft += (m_nCellWidth - m_nLabelWidth) / 2;
        rect.SetRect(nLeft, top + 2, nLeft + std::min(b + m_nLabelWidth, m_nCellWidth),
                     top + m_nHeadHeight + 1);
        break;
    }
    case enPartHead:
        rect.SetRect(left, top, left + m_nCellWidth + 2 * b, top + m_nHeadHeight);
        break;
    default:
        ::SetRectEmpty(pRect);
        return FALSE;
    }
    *pRect = rect;
    return TRUE;
}

void CImagePad::SetRowColLayout(int nRows, int nColumns)
{
    if (m_hWnd == nullptr || nRows <= 0 || nColumns <= 0)
        return;
    CRect client;
    GetClientRect(&client);
    const int b = m_nBorder;
    const int nFreeWidth = client.Width() - nColumns * (m_nHorzGap + 2 * b) - m_nLeftMargin;
    const int nFreeHeight =
        client.Height() - nRows * (m_nHeadHeight + m_nVertGap + 2 * b) - m_nTopMargin;
    if (client.IsRectEmpty() || nFreeWidth <= 0 || nFreeHeight <= 0)
        return;
    m_nRows = nRows;
    m_nColumns = nColumns;
    if (m_dwFlags & kFixedCellSize)
    {
        m_nCellWidth = m_nFixedCellWidth;
        m_nCellHeight = m_nFixedCellHeight;
    }
    else
    {
        m_nCellWidth = nFreeWidth / nColumns;
        m_nCellHeight = nFreeHeight / nRows;
    }
    if (m_bSquareCells)
        m_nCellWidth = m_nCellHeight = std::min(m_nCellWidth, m_nCellHeight);
    m_nBorder = m_nCellWidth < kSmallCell || m_nCellHeight < kSmallCell ? 1 : 2;
    const int nb = m_nBorder;
    m_nColumns =
        std::max(1, (client.Width() - m_nLeftMargin) / (m_nCellWidth + m_nHorzGap + 2 * nb));
    m_nRows = std::max(1, (client.Height() - m_nTopMargin) /
                              (m_nHeadHeight + m_nCellHeight + m_nVertGap + 2 * nb));
    if (m_nRows == 1)
        m_nCellHeight += m_nVertGap;
    if (m_nColumns == 1)
        m_nCellWidth += m_nHorzGap;
    if (m_bSquareCells)
        m_nCellWidth = m_nCellHeight = std::max(m_nCellWidth, m_nCellHeight);
}

void CImagePad::CalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    int nWidth = m_nFixedCellWidth;
    int nHeight = m_nFixedCellHeight;
    if (m_bSquareCells)
        nWidth = nHeight = std::min(nWidth, nHeight);
    const int b = m_nBorder;
    const int nColumns =
        std::max(1, (client.Width() - m_nLeftMargin) / (m_nHorzGap + 2 * b + nWidth));
    const int nRows = std::max(1, (client.Height() - m_nTopMargin) /
                                      (m_nVertGap + m_nHeadHeight + 2 * b + nHeight));
    SetRowColLayout(nRows, nColumns);
    RecalcLayout();
}

void CImagePad::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    const int nCount = GetItemCount();
    const bool bMore = m_nRows * m_nColumns < nCount;
    if (!(m_dwFlags & kPageStrip))
    {
        SetScrollRange(SB_VERT, 0, bMore ? nCount / std::max(m_nColumns, 1) : 0, TRUE);
        return;
    }
    if (m_wndStrip.GetSafeHwnd() == nullptr)
        return;
    m_wndStrip.ShowWindow(bMore ? SW_SHOWNA : SW_HIDE);
    m_nTopMargin = bMore ? kStripHeight + 2 : 2;
}

void CImagePad::SetLayout(int nCellWidth, int nCellHeight)
{
    m_nFixedCellWidth = nCellWidth;
    m_nFixedCellHeight = nCellHeight;
    CalcLayout();
}

void CImagePad::SetFixLayout(int nRows, int nColumns)
{
    SetRowColLayout(nRows, nColumns);
    if (m_nRows != nRows || m_nColumns != nColumns)
        SetRowColLayout(nRows, nColumns);
    m_nFixedCellWidth = m_nCellWidth;
    m_nFixedCellHeight = m_nCellHeight;
    RecalcLayout();
    m_nTopIndex = 0;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CImagePad::GetLayout(int& nCellWidth, int& nCellHeight, int& nRows, int& nColumns) const
{
    nCellWidth = m_nCellWidth;
    nCellHeight = m_nCellHeight;
    nRows = m_nRows;
    nColumns = m_nColumns;
}

void CImagePad::ModifyFlag(DWORD dwRemove, DWORD dwAdd, UINT nSwpFlags)
{
    m_dwFlags = (m_dwFlags & ~dwRemove) | dwAdd;
    if (m_hWnd == nullptr)
        return;
    if (nSwpFlags == 0)
        Invalidate(TRUE);
    else
        SetWindowPos(nullptr, 0, 0, 0, 0, nSwpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
}

void CImagePad::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_wndStrip.GetSafeHwnd() != nullptr)
        m_wndStrip.MoveWindow(0, 0, cx, kStripHeight, FALSE);
    CalcLayout();
    RecalcLayout();
}

// ----------------------------------------------------------------- paging

void CImagePad::MoveTop(int nTop)
{
    const int nCount = GetItemCount();
    nTop = std::clamp(nTop, 0, std::max(nCount - 1, 0));
    if (nTop == m_nTopIndex)
        return;
    m_nTopIndex = nTop;
    if (m_hWnd == nullptr)
        return;
    if (!(m_dwFlags & kPageStrip))
    {
        m_nScrollPos = m_nTopIndex / std::max(m_nColumns, 1);
        SetScrollPos(SB_VERT, m_nScrollPos);
    }
    Invalidate();
}

void CImagePad::OnPageDown()
{
    MoveTop(m_nTopIndex + GetPageRows() * m_nColumns);
}

void CImagePad::OnPageUp()
{
    MoveTop(m_nTopIndex - GetPageRows() * m_nColumns);
}

void CImagePad::OnLineDown()
{
    MoveTop(m_nTopIndex + m_nColumns);
}

void CImagePad::OnLineUp()
{
    MoveTop(m_nTopIndex - m_nColumns);
}

void CImagePad::OnFirstPage()
{
    MoveTop(0);
}

void CImagePad::OnLastPage()
{
    MoveTop(GetItemCount() - 1);
}

void CImagePad::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    switch (nSBCode)
    {
    case SB_LINEUP:
        OnLineUp();
        break;
    case SB_LINEDOWN:
        OnLineDown();
        break;
    case SB_PAGEUP:
        OnPageUp();
        break;
    case SB_PAGEDOWN:
        OnPageDown();
        break;
    case SB_THUMBTRACK:
    {
        const int nTarget = int(nPos);
        const int nColumns = std::max(m_nColumns, 1);
        // Line by line, so that the top stays on a row start.
        while (m_nTopIndex / nColumns < nTarget && m_nTopIndex + nColumns < GetItemCount())
            OnLineDown();
        while (m_nTopIndex / nColumns > nTarget && m_nTopIndex > 0)
            OnLineUp();
        break;
    }
    default:
        break;
    }
}

BOOL CImagePad::OnMouseWheel(UINT, short zDelta, CPoint)
{
    if (zDelta < 0)
        OnPageDown();
    else
        OnPageUp();
    return TRUE;
}

void CImagePad::EnsureVisible(int nIndex)
{
    if (!IsValidItem(nIndex))
        return;
    int nFirst = 0;
    int nLast = 0;
    for (int nGuard = GetItemCount(); nGuard > 0 && GetVisibleRange(nFirst, nLast); --nGuard)
    {
        const int nTop = m_nTopIndex;
        if (nIndex < nFirst)
            OnPageUp();
        else if (nIndex > nLast)
            OnPageDown();
        if (m_nTopIndex == nTop)
            break;
    }
}

BOOL CImagePad::GetVisibleRange(int& nFirst, int& nLast) const
{
    if (m_hWnd == nullptr || GetItemCount() == 0)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    nFirst = m_nTopIndex;
    nLast = nFirst;
    CRect cell;
    for (int i = nFirst; i < GetItemCount() && GetItemRect(i, &cell, enPartCell); ++i)
    {
        if (cell.bottom > client.bottom)
            break;
        nLast = i;
    }
    return TRUE;
}

// -------------------------------------------------------------- painting

BOOL CImagePad::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, m_crBackground);
    return TRUE;
}

void CImagePad::OnPaint()
{
    CPaintDC dc(this);
    DrawPad(&dc);
}

void CImagePad::DrawPad(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->SetBkMode(TRANSPARENT);
    CRect cell;
    for (int i = m_nTopIndex; GetItemRect(i, &cell, enPartCell) && cell.top < client.bottom; ++i)
        DrawItem(pDC, i);
    if (IsValidItem(m_nHighlighted))
    {
        const int nItem = m_nHighlighted;
        m_nHighlighted = -1;
        m_nLastHighlightItem = -2;
        HighlightItem(nItem, TRUE);
    }
}

void CImagePad::DrawItem(CDC* pDC, int nItem)
{
    CRect cell;
    GetItemRect(nItem, &cell, enPartCell);
    pDC->FillSolidRect(&cell, m_crCell);
    DrawItemHead(pDC, nItem, FALSE);
    DrawItemLabel(pDC, nItem, FALSE);
    DrawItemIcon(pDC, nItem);
    DrawItemBorder(pDC, nItem);
}

void CImagePad::DrawItemHead(CDC* pDC, int nItem, BOOL bHighlight)
{
    if (m_dwFlags & kFlat)
        return;
    CRect head;
    GetItemRect(nItem, &head, enPartHead);
    head.DeflateRect(2, 2);
    const COLORREF crTopLeft = bHighlight ? m_crShadow : m_crHighlight;
    const COLORREF crBottomRight = bHighlight ? m_crHighlight : m_crShadow;
    for (int nGrip = 0; nGrip < 2; ++nGrip)
        pDC->Draw3dRect(head.left, head.top + m_nGripOffset + 4 * nGrip, head.Width(), 3, crTopLeft,
                        crBottomRight);
}

void CImagePad::DrawItemLabel(CDC* pDC, int nItem, BOOL bHighlight)
{
    CRect label;
    GetItemRect(nItem, &label, enPartLabel);
    ::DrawEdge(pDC->GetSafeHdc(), &label, EDGE_SUNKEN, BF_RECT);
    CRect inner = label;
    inner.DeflateRect(2, 2);
    pDC->FillSolidRect(&inner, m_crLabelBack);
    if (bHighlight && !(m_dwFlags & kFlat))
        inner.OffsetRect(1, 1);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_crLabelText);
    pDC->DrawText(m_labels[nItem], &inner, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

void CImagePad::DrawItemIcon(CDC* pDC, int nItem)
{
    auto hDib = static_cast<HDIB>(m_dibs[nItem]);
    int nWidth = 0;
    int nHeight = 0;
    if (DibLock lock(hDib); lock)
    {
        nWidth = int(DIBWidth(lock.Get()));
        nHeight = int(DIBHeight(lock.Get()));
    }
    if (nWidth <= 0 || nHeight <= 0)
        return;
    CRect part;
    GetItemRect(nItem, &part, enPartPicture);
    part.DeflateRect(1, 1);
    const double scale = std::min(double(part.Width()) / nWidth, double(part.Height()) / nHeight);
    const int cx = std::max(1, int(nWidth * scale));
    const int cy = std::max(1, int(nHeight * scale));
    CRect place(part.left + (part.Width() - cx) / 2, part.top + (part.Height() - cy) / 2, 0, 0);
    place.right = place.left + cx;
    place.bottom = place.top + cy;
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, cx, cy))
    {
        CRect client;
        GetClientRect(&client);
        pDC->FillSolidRect(&client, RGB(0, 0, 0));
        return;
    }
    CBitmap* pOld = memory.SelectObject(&bitmap);
    CRect all(0, 0, cx, cy);
    memory.FillSolidRect(&all, RGB(255, 255, 255));
    CRect source(0, 0, nWidth, nHeight);
    PaintDIB(memory.GetSafeHdc(), &all, &source, hDib, static_cast<HPALETTE>(m_palettes[nItem]));
    pDC->BitBlt(place.left, place.top, cx, cy, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(pOld);
    place.InflateRect(1, 1);
    ::DrawEdge(pDC->GetSafeHdc(), &place, BDR_SUNKENOUTER, BF_RECT);
}

void CImagePad::DrawItemBorder(CDC* pDC, int nItem)
{
    if (!(m_dwFlags & kCellBorder))
        return;
    CRect cell;
    GetItemRect(nItem, &cell, enPartCell);
    ::DrawEdge(pDC->GetSafeHdc(), &cell, (m_dwFlags & kFlat) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

void CImagePad::HighlightItem(int nItem, BOOL bOn)
{
    if (m_hWnd == nullptr)
        return;
    CWnd* pFocus = GetFocus();
    if (pFocus != nullptr && pFocus != this && IsChild(pFocus))
        return;
    if (m_nLastHighlightItem == nItem && m_bLastHighlightOn == bOn)
        return;
    m_nLastHighlightItem = nItem;
    m_bLastHighlightOn = bOn;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.IntersectClipRect(&client);
    dc.SetBkMode(TRANSPARENT);
    const auto draw = [&](int nIndex, BOOL bState)
    {
        CRect cell;
        if (!GetItemRect(nIndex, &cell, enPartCell))
            return;
        DrawItemHead(&dc, nIndex, bState);
        DrawItemLabel(&dc, nIndex, bState);
        DrawItemBorder(&dc, nIndex);
    };
    if (m_nHighlighted != nItem && IsValidItem(m_nHighlighted))
        draw(m_nHighlighted, FALSE);
    if (IsValidItem(nItem))
        draw(nItem, bOn);
    m_nHighlighted = bOn ? nItem : -1;
}

void CImagePad::PaintBackground(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(pDC) ||
        !bitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height()))
        return;
    CBitmap* pOld = memory.SelectObject(&bitmap);
    memory.FillSolidRect(&client, m_crBackground);
    CPen pen(PS_SOLID, m_nGridLineWidth, m_crGridLine);
    CPen* pOldPen = memory.SelectObject(&pen);
    const int nStepX = m_nCellWidth + m_nHorzGap + 2 * m_nBorder;
    const int nStepY = m_nCellHeight + m_nVertGap + m_nHeadHeight + 2 * m_nBorder;
    const int nRight = m_nLeftMargin + m_nColumns * nStepX;
    const int nBottom = m_nTopMargin + m_nRows * nStepY;
    for (int c = 0; c <= m_nColumns; ++c)
    {
        memory.MoveTo(m_nLeftMargin + c * nStepX, m_nTopMargin);
        memory.LineTo(m_nLeftMargin + c * nStepX, nBottom);
    }
    for (int r = 0; r <= m_nRows; ++r)
    {
        memory.MoveTo(m_nLeftMargin, m_nTopMargin + r * nStepY);
        memory.LineTo(nRight, m_nTopMargin + r * nStepY);
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(pOldPen);
    memory.SelectObject(pOld);
}

BOOL CImagePad::Update(int nIndex)
{
    CRect cell;
    if (m_hWnd == nullptr || !GetItemRect(nIndex, &cell, enPartCell))
        return FALSE;
    InvalidateRect(&cell);
    return TRUE;
}

BOOL CImagePad::RedrawItems(int nFirst, int nLast)
{
    BOOL bAny = FALSE;
    for (int i = std::max(nFirst, 0); i <= nLast && i < GetItemCount(); ++i)
        bAny = Update(i) || bAny;
    return bAny;
}

// --------------------------------------------------- selection and mouse

int CImagePad::SetCurSel(int nIndex)
{
    if (!IsValidItem(nIndex))
        return -1;
    const int nOld = m_nCurSel;
    if (m_dwFlags & kHighlightSelection)
        HighlightItem(nOld, FALSE);
    m_nCurSel = nIndex;
    if (m_dwFlags & kHighlightSelection)
        HighlightItem(nIndex, TRUE);
    SendMessageToParent(nIndex, LVN_ITEMCHANGED);
    return nOld;
}

void CImagePad::SendMessageToParent(int nItem, int nCode)
{
    if (m_hWnd == nullptr)
        return;
    CWnd* pTarget = GetOwner();
    if (pTarget == nullptr)
        pTarget = GetParent();
    if (pTarget == nullptr || !::IsWindow(pTarget->GetSafeHwnd()))
        return;
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = UINT_PTR(GetDlgCtrlID());
    notify.hdr.code = UINT(nCode);
    notify.iItem = nItem;
    notify.iSubItem = -1;
    pTarget->SendMessage(WM_NOTIFY, WPARAM(notify.hdr.idFrom), reinterpret_cast<LPARAM>(&notify));
}

int CImagePad::HitTestEx(const POINT* pPoint, int& nItem) const
{
    nItem = -1;
    if (pPoint == nullptr)
        return enPartNone;
    CRect cell;
    for (int i = m_nTopIndex; GetItemRect(i, &cell, enPartCell); ++i)
    {
        if (!cell.PtInRect(*pPoint))
            continue;
        nItem = i;
        CRect part;
        if (GetItemRect(i, &part, enPartLabel) && part.PtInRect(*pPoint))
            return enHitLabel;
        if (GetItemRect(i, &part, enPartHead) && part.PtInRect(*pPoint))
            return enPartHead;
        if (GetItemRect(i, &part, enPartPicture) && part.PtInRect(*pPoint))
            return enPartPicture;
        return enHitCell;
    }
    return enPartNone;
}

void CImagePad::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    int nItem = -1;
    switch (HitTestEx(&point, nItem))
    {
    case enPartNone:
        HighlightItem(m_nHighlighted, FALSE);
        CWnd::OnLButtonDown(nFlags, point);
        break;
    case enHitLabel:
        DoLButtonDownOnLabel(nItem);
        break;
    case enPartHead:
        DoLButtonDownOnHead(nItem);
        break;
    default:
        DoLButtonDownOnIcon(nItem);
        break;
    }
}

void CImagePad::DoLButtonDownOnIcon(int nItem)
{
    SetCapture();
    HighlightItem(nItem, TRUE);
    m_bPressed = TRUE;
    const auto overPicture = [&](LPARAM lParam)
    {
        const CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        int nHit = -1;
        return HitTestEx(&pt, nHit) == enPartPicture && nHit == nItem;
    };
    MSG msg{};
    while (::GetCapture() == m_hWnd && ::GetMessageA(&msg, nullptr, 0, 0))
    {
        if (msg.message == WM_MOUSEMOVE && msg.hwnd == m_hWnd)
        {
            m_bPressed = overPicture(msg.lParam);
            HighlightItem(nItem, m_bPressed);
            continue;
        }
        if (msg.message == WM_LBUTTONUP)
        {
            const bool bOver = msg.hwnd == m_hWnd && overPicture(msg.lParam);
            ::ReleaseCapture();
            m_bPressed = FALSE;
            if (bOver)
            {
                SetCurSel(nItem);
                SendMessageToParent(nItem, NM_CLICK);
            }
            return;
        }
        if (msg.message == WM_SETCURSOR)
        {
            ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (msg.message == WM_QUIT)
        ::PostQuitMessage(int(msg.wParam));
    m_bPressed = FALSE;
}

void CImagePad::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    int nItem = -1;
    if (HitTestEx(&point, nItem) == enPartNone)
    {
        CWnd::OnLButtonDblClk(nFlags, point);
        return;
    }
    SetCurSel(nItem);
    SendMessageToParent(nItem, NM_DBLCLK);
}

void CImagePad::OnRButtonUp(UINT, CPoint point)
{
    int nItem = -1;
    if (HitTestEx(&point, nItem) != enPartNone)
        SetCurSel(nItem);
    SendMessageToParent(nItem, NM_RCLICK);
}

void CImagePad::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    int nItem = -1;
    if (HitTestEx(&point, nItem) == enPartNone)
    {
        CWnd::OnRButtonDblClk(nFlags, point);
        return;
    }
    SetCurSel(nItem);
    SendMessageToParent(nItem, NM_RDBLCLK);
}

void CImagePad::OnMouseMove(UINT nFlags, CPoint point)
{
    int nItem = -1;
    if (HitTestEx(&point, nItem) != enPartNone)
        SendMessageToParent(nItem, kHoverCode);
    CWnd::OnMouseMove(nFlags, point);
}
