// The column header "SysHeader32": items drawn as raised buttons (or by the
// parent for HDF_OWNERDRAW), a press with HDS_BUTTONS that becomes
// HDN_ITEMCLICK on release over the same item, and dividers dragged to
// change an item's width (HDN_BEGINTRACK, HDN_TRACK, HDN_ENDTRACK, each
// change of width asked with HDN_ITEMCHANGING and told with
// HDN_ITEMCHANGED). A parent answering TRUE refuses the step it is asked
// about. An item with HDF_BITMAP shows its bitmap beside its text, on the
// left or (HDF_BITMAP_ON_RIGHT) on the right.
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinCursor.h"
#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinInput.h"
#include "WinListView.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
// How near a divider a press starts a drag of it.
constexpr int kDividerGrip = 4;
constexpr int kTextMargin = 6;

struct HeaderItem
{
    std::string text;
    int cxy = 0;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    HBITMAP hbm = nullptr;
};

HDITEMA WidthItem(int cx)
{
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = cx;
    return item;
}

class HeaderControl
{
public:
    explicit HeaderControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    int Count() const { return static_cast<int>(m_items.size()); }
    bool IsValid(WPARAM nIndex) const { return nIndex < m_items.size(); }
    int Height() const { return GetFontLineHeight(m_hFont) + 6; }

    RECT ItemRect(int nIndex) const;
    HDHITTESTINFO HitTest(POINT pt) const;
    int Insert(WPARAM nIndex, const HDITEMA* pItem);
    BOOL SetItem(WPARAM nIndex, const HDITEMA* pItem);
    BOOL GetItem(WPARAM nIndex, HDITEMA* pItem) const;
    LRESULT Notify(UINT nCode, int nItem, HDITEMA* pItem = nullptr);
    void Layout(HDLAYOUT* pLayout) const;
    void OnButtonDown(POINT pt);
    void OnMouseMove(POINT pt);
    void OnButtonUp(POINT pt);
    void DrawItem(HDC hdc, int nIndex);
    static void DrawBitmap(HDC hdc, HBITMAP hbm, RECT& rcText, bool bOnRight);
    bool ChangeWidth(int nItem, int cxy);

    HWND m_hWnd;
    std::vector<HeaderItem> m_items;
    HFONT m_hFont = nullptr;
    int m_nPressed = -1; // the item pressed, while the button is down
    bool m_bPressedIn = false;
    int m_nTracked = -1;   // the item whose divider is dragged
    int m_nTrackStart = 0; // the pointer's x when the drag began
    int m_nWidthStart = 0;
};

RECT HeaderControl::ItemRect(int nIndex) const
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    int x = 0;
    for (int i = 0; i < nIndex; ++i)
        x += m_items[static_cast<std::size_t>(i)].cxy;
    return RECT{x, 0, x + m_items[static_cast<std::size_t>(nIndex)].cxy, client.bottom};
}

HDHITTESTINFO HeaderControl::HitTest(POINT pt) const
{
    HDHITTESTINFO info{pt, HHT_NOWHERE, -1};
    RECT client{};
    GetClientRect(m_hWnd, &client);
    if (pt.y < 0 || pt.y >= client.bottom)
        return info;
    for (int i = 0; i < Count(); ++i)
    {
        const RECT rc = ItemRect(i);
        const bool bDivider = std::abs(pt.x - rc.right) <= kDividerGrip;
        if (bDivider || (pt.x >= rc.left && pt.x < rc.right))
        {
            info.flags = bDivider ? HHT_ONDIVIDER : HHT_ONHEADER;
            info.iItem = i;
            return info;
        }
    }
    return info;
}

int HeaderControl::Insert(WPARAM nIndex, const HDITEMA* pItem)
{
    if (pItem == nullptr)
        return -1;
    const int nAt = static_cast<int>(std::min<WPARAM>(nIndex, m_items.size()));
    m_items.insert(m_items.begin() + nAt, HeaderItem{});
    SetItem(static_cast<WPARAM>(nAt), pItem);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return nAt;
}

BOOL HeaderControl::SetItem(WPARAM nIndex, const HDITEMA* pItem)
{
    if (!IsValid(nIndex) || pItem == nullptr)
        return FALSE;
    HeaderItem& item = m_items[nIndex];
    if (pItem->mask & HDI_WIDTH)
        item.cxy = std::max(0, pItem->cxy);
    if ((pItem->mask & HDI_TEXT) && pItem->pszText != nullptr)
        item.text = pItem->pszText;
    if (pItem->mask & HDI_FORMAT)
        item.fmt = pItem->fmt;
    if (pItem->mask & HDI_LPARAM)
        item.lParam = pItem->lParam;
    if (pItem->mask & HDI_BITMAP)
        item.hbm = pItem->hbm;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL HeaderControl::GetItem(WPARAM nIndex, HDITEMA* pItem) const
{
    if (!IsValid(nIndex) || pItem == nullptr)
        return FALSE;
    const HeaderItem& item = m_items[nIndex];
    if (pItem->mask & HDI_WIDTH)
        pItem->cxy = item.cxy;
    if ((pItem->mask & HDI_TEXT) && pItem->pszText != nullptr && pItem->cchTextMax > 0)
        CopyTextTo(item.text.c_str(), pItem->pszText, pItem->cchTextMax);
    if (pItem->mask & HDI_FORMAT)
        pItem->fmt = item.fmt;
    if (pItem->mask & HDI_LPARAM)
        pItem->lParam = item.lParam;
    if (pItem->mask & HDI_BITMAP)
        pItem->hbm = item.hbm;
    return TRUE;
}

LRESULT HeaderControl::Notify(UINT nCode, int nItem, HDITEMA* pItem)
{
    const HWND hParent = GetParent(m_hWnd);
    if (hParent == nullptr)
        return 0;
    NMHEADERA header{{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID(m_hWnd)), nCode}, nItem, 0, pItem};
    return SendMessageA(hParent, WM_NOTIFY, header.hdr.idFrom, reinterpret_cast<LPARAM>(&header));
}

void HeaderControl::Layout(HDLAYOUT* pLayout) const
{
    if (pLayout == nullptr || pLayout->prc == nullptr || pLayout->pwpos == nullptr)
        return;
    RECT& rc = *pLayout->prc;
    const int nHeight = (Style() & HDS_HIDDEN) ? 0 : Height();
    *pLayout->pwpos = WINDOWPOS{m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, nHeight, 0};
    rc.top += nHeight;
}

void HeaderControl::OnButtonDown(POINT pt)
{
    const HDHITTESTINFO hit = HitTest(pt);
    if (hit.flags == HHT_ONDIVIDER)
    {
        HDITEMA item = WidthItem(m_items[static_cast<std::size_t>(hit.iItem)].cxy);
        if (Notify(HDN_BEGINTRACKA, hit.iItem, &item) != 0)
            return;
        m_nTracked = hit.iItem;
        m_nTrackStart = pt.x;
        m_nWidthStart = item.cxy;
        SetCapture(m_hWnd);
        return;
    }
    if (hit.flags != HHT_ONHEADER || !(Style() & HDS_BUTTONS))
        return;
    m_nPressed = hit.iItem;
    m_bPressedIn = true;
    SetCapture(m_hWnd);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void HeaderControl::OnMouseMove(POINT pt)
{
    if (m_nTracked >= 0)
    {
        HDITEMA item = WidthItem(std::max(0, m_nWidthStart + pt.x - m_nTrackStart));
        if (Notify(HDN_TRACKA, m_nTracked, &item) == 0 && (Style() & HDS_FULLDRAG))
            ChangeWidth(m_nTracked, item.cxy);
        return;
    }
    if (m_nPressed < 0)
        return;
    const HDHITTESTINFO hit = HitTest(pt);
    const bool bIn = hit.flags == HHT_ONHEADER && hit.iItem == m_nPressed;
    if (bIn != m_bPressedIn)
    {
        m_bPressedIn = bIn;
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void HeaderControl::OnButtonUp(POINT pt)
{
    if (m_nTracked >= 0)
    {
        const int nItem = m_nTracked;
        m_nTracked = -1;
        ReleaseCapture();
        HDITEMA item = WidthItem(std::max(0, m_nWidthStart + pt.x - m_nTrackStart));
        if (Notify(HDN_ENDTRACKA, nItem, &item) != 0)
        {
            // Refused at the end: a full drag goes back to where it began.
            if (Style() & HDS_FULLDRAG)
                ChangeWidth(nItem, m_nWidthStart);
            return;
        }
        ChangeWidth(nItem, item.cxy);
        return;
    }
    if (m_nPressed < 0)
        return;
    const int nItem = m_nPressed;
    const bool bClicked = m_bPressedIn;
    m_nPressed = -1;
    m_bPressedIn = false;
    ReleaseCapture();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    if (bClicked)
        Notify(HDN_ITEMCLICKA, nItem);
}

bool HeaderControl::ChangeWidth(int nItem, int cxy)
{
    if (!IsValid(static_cast<WPARAM>(nItem)) || m_items[static_cast<std::size_t>(nItem)].cxy == cxy)
        return false;
    HDITEMA item = WidthItem(cxy);
    if (Notify(HDN_ITEMCHANGINGA, nItem, &item) != 0 || !IsValid(static_cast<WPARAM>(nItem)))
        return false;
    m_items[static_cast<std::size_t>(nItem)].cxy = cxy;
    InvalidateRect(m_hWnd, nullptr, TRUE);
    Notify(HDN_ITEMCHANGEDA, nItem, &item);
    return true;
}

// The bitmap, vertically centred, at one end of the text rectangle, which
// then keeps what is left.
void HeaderControl::DrawBitmap(HDC hdc, HBITMAP hbm, RECT& rcText, bool bOnRight)
{
    BITMAP bm{};
    if (hbm == nullptr || GetObjectA(hbm, sizeof(bm), &bm) == 0)
        return;
    const int cx = std::min<int>(bm.bmWidth, std::max<int>(0, rcText.right - rcText.left));
    const int cy = std::min<int>(bm.bmHeight, rcText.bottom - rcText.top);
    const int x = bOnRight ? rcText.right - cx : rcText.left;
    const int y = rcText.top + (rcText.bottom - rcText.top - cy) / 2;
    HDC hMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hMem, hbm);
    BitBlt(hdc, x, y, cx, cy, hMem, 0, 0, SRCCOPY);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    if (bOnRight)
        rcText.right = x - kTextMargin / 2;
    else
        rcText.left = x + cx + kTextMargin / 2;
}

void HeaderControl::DrawItem(HDC hdc, int nIndex)
{
    const HeaderItem& item = m_items[static_cast<std::size_t>(nIndex)];
    RECT rc = ItemRect(nIndex);
    const bool bPressed = nIndex == m_nPressed && m_bPressedIn;
    if (item.fmt & HDF_OWNERDRAW)
    {
        DRAWITEMSTRUCT dis{ODT_HEADER,
                           static_cast<UINT>(GetDlgCtrlID(m_hWnd)),
                           static_cast<UINT>(nIndex),
                           ODA_DRAWENTIRE,
                           bPressed ? UINT(ODS_SELECTED) : 0U,
                           m_hWnd,
                           hdc,
                           rc,
                           static_cast<ULONG_PTR>(item.lParam)};
        if (const HWND hParent = GetParent(m_hWnd))
            SendMessageA(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(hdc, &rc, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    RECT rcText = rc;
    InflateRect(&rcText, -kTextMargin, 0);
    if (bPressed)
        OffsetRect(&rcText, 1, 1);
    if (item.fmt & HDF_BITMAP)
        DrawBitmap(hdc, item.hbm, rcText, (item.fmt & HDF_BITMAP_ON_RIGHT) != 0);
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
        nFormat |= DT_RIGHT;
    else if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
        nFormat |= DT_CENTER;
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(hdc, item.text.c_str(), -1, &rcText, nFormat);
}

void HeaderControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < Count(); ++i)
        DrawItem(hdc, i);
    // The space after the last item is an empty button.
    RECT rcRest = client;
    rcRest.left = Count() > 0 ? ItemRect(Count() - 1).right : 0;
    if (rcRest.left < rcRest.right)
        DrawEdge(hdc, &rcRest, EDGE_RAISED, BF_RECT | BF_SOFT);
    SelectObject(hdc, hOldFont);
}

LRESULT HeaderControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (nMsg)
    {
    case HDM_GETITEMCOUNT:
        return Count();
    case HDM_INSERTITEMA:
        return Insert(wParam, reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_DELETEITEM:
        if (!IsValid(wParam))
            return FALSE;
        m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(wParam));
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    case HDM_GETITEMA:
        return GetItem(wParam, reinterpret_cast<HDITEMA*>(lParam));
    case HDM_SETITEMA:
        return SetItem(wParam, reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_LAYOUT:
        Layout(reinterpret_cast<HDLAYOUT*>(lParam));
        return TRUE;
    case HDM_HITTEST:
    {
        auto* pInfo = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (pInfo == nullptr)
            return -1;
        *pInfo = HitTest(pInfo->pt);
        return pInfo->iItem;
    }
    case HDM_GETITEMRECT:
        if (!IsValid(wParam) || lParam == 0)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(static_cast<int>(wParam));
        return TRUE;
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case WM_LBUTTONDOWN:
        OnButtonDown(pt);
        return 0;
    case WM_LBUTTONDBLCLK:
    {
        const HDHITTESTINFO hit = HitTest(pt);
        if (hit.flags == HHT_ONDIVIDER)
            Notify(HDN_DIVIDERDBLCLICKA, hit.iItem);
        else if (hit.flags == HHT_ONHEADER)
            Notify(HDN_ITEMDBLCLICKA, hit.iItem);
        return 0;
    }
    case WM_MOUSEMOVE:
        OnMouseMove(pt);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(pt);
        return 0;
    case WM_SETCURSOR:
    {
        POINT ptCursor{};
        GetCursorPos(&ptCursor);
        ScreenToClient(m_hWnd, &ptCursor);
        if (HitTest(ptCursor).flags == HHT_ONDIVIDER || m_nTracked >= 0)
        {
            SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
            return TRUE;
        }
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWnd && (m_nPressed >= 0 || m_nTracked >= 0))
        {
            m_nPressed = -1;
            m_nTracked = -1;
            InvalidateRect(m_hWnd, nullptr, TRUE);
        }
        return 0;
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT HeaderWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<HeaderControl>(hWnd, nMsg, wParam, lParam);
}
