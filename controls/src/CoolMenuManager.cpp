// Owner-drawn popup menus of a frame, with toolbar images and accelerator
// names.
#include "CoolMenuManager.h"

#include "AfxSysColorBitmap.h"
#include "WinResource.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

IMPLEMENT_DYNAMIC(CCoolMenuManager, CSubclassWnd)

namespace
{
constexpr int kButtonMargin = 2; // around an image in its button box
constexpr int kTextGap = 2;      // between the button box and the text
constexpr UINT kFirstSysCommand = 0xF000;
constexpr int kMaxItemText = 256;

// A toolbar resource: version, image width and height, count, then the
// command ids of the buttons (0: separator).
struct ToolbarData
{
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
    const WORD* Items() const { return reinterpret_cast<const WORD*>(this + 1); }
};

const ToolbarData* LoadToolbarData(UINT nID)
{
    const LPCSTR lpszName = MAKEINTRESOURCE(nID);
    const HINSTANCE hInst = AfxFindResourceHandle(lpszName, RT_TOOLBAR);
    const HRSRC hRsrc = ::FindResourceA(hInst, lpszName, RT_TOOLBAR);
    if (hRsrc == nullptr || ::SizeofResource(hInst, hRsrc) < sizeof(ToolbarData))
        return nullptr;
    const auto* pData =
        static_cast<const ToolbarData*>(::LockResource(::LoadResource(hInst, hRsrc)));
    if (pData == nullptr ||
        ::SizeofResource(hInst, hRsrc) < sizeof(ToolbarData) + pData->wItemCount * sizeof(WORD))
        return nullptr;
    return pData;
}

SIZE BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm{};
    ::GetObjectA(hBitmap, sizeof(bm), &bm);
    return SIZE{bm.bmWidth, bm.bmHeight};
}
} // namespace

CCoolMenuManager::CCoolMenuManager()
{
    m_mapIDtoImage.InitHashTable(10);
    m_mapIDtoAccel.InitHashTable(10);
    FixMFCDotBitmap();
}

CCoolMenuManager::~CCoolMenuManager()
{
    Destroy();
    for (CMyItemData* pData : m_itemData)
        delete pData;
}

void CCoolMenuManager::Install(CFrameWnd* pFrame)
{
    m_pFrame = pFrame;
    HookWindow(pFrame);
}

void CCoolMenuManager::Destroy()
{
    m_ilButtons.DeleteImageList();
    m_mapIDtoImage.RemoveAll();
    m_szBitmap = CSize(0, 0);
    m_szButton = CSize(0, 0);
    m_arToolbarID.RemoveAll();
    m_fontMenu.DeleteObject();
    DestroyAccel();
}

void CCoolMenuManager::Refresh()
{
    CUIntArray arToolbarID;
    arToolbarID.Copy(m_arToolbarID);
    Destroy();
    for (INT_PTR i = 0; i < arToolbarID.GetSize(); ++i)
        LoadToolbar(arToolbarID[i]);
}

BOOL CCoolMenuManager::LoadToolbars(const UINT* arID, int n)
{
    for (int i = 0; i < n; ++i)
        LoadToolbar(arID[i]);
    return TRUE;
}

BOOL CCoolMenuManager::LoadToolbar(UINT nID)
{
    const LPCSTR lpszName = MAKEINTRESOURCE(nID);
    CBitmap bmImages;
    if (!bmImages.Attach(
            AfxLoadSysColorBitmap(AfxFindResourceHandle(lpszName, RT_BITMAP), lpszName)))
        return FALSE;
    const ToolbarData* pData = LoadToolbarData(nID);
    if (pData == nullptr)
        return FALSE;
    const CSize szImage(pData->wWidth, pData->wHeight);
    if (m_szBitmap.cx == 0)
    {
        m_szBitmap = szImage;
        m_szButton = szImage + CSize(2 * kButtonMargin, 2 * kButtonMargin);
        m_ilButtons.Create(szImage.cx, szImage.cy, ILC_MASK, 0, 10);
    }
    else if (m_szBitmap != szImage)
    {
        return FALSE;
    }
    // The bitmap holds one image per button: a command that already has an
    // image keeps it, and the images after it keep their own places.
    int iImage = m_ilButtons.GetImageCount();
    for (WORD i = 0; i < pData->wItemCount; ++i)
    {
        const WORD wCmd = pData->Items()[i];
        if (wCmd == 0)
            continue;
        if (GetButtonIndex(wCmd) < 0)
            m_mapIDtoImage.SetAt(wCmd, reinterpret_cast<void*>(INT_PTR(iImage)));
        ++iImage;
    }
    m_ilButtons.Add(&bmImages, GetSysColor(COLOR_BTNFACE));
    m_arToolbarID.Add(nID);
    return TRUE;
}

int CCoolMenuManager::GetButtonIndex(WORD nID)
{
    void* pImage = nullptr;
    return m_mapIDtoImage.Lookup(nID, pImage) ? int(reinterpret_cast<INT_PTR>(pImage)) : -1;
}

ACCEL* CCoolMenuManager::GetAccel(WORD nID)
{
    void* pAccel = nullptr;
    return m_mapIDtoAccel.Lookup(nID, pAccel) ? static_cast<ACCEL*>(pAccel) : nullptr;
}

CCoolMenuManager::CMyItemData* CCoolMenuManager::OwnData(ULONG_PTR dwItemData) const
{
    auto* pData = reinterpret_cast<CMyItemData*>(dwItemData);
    return m_itemData.count(pData) != 0 ? pData : nullptr;
}

// ---------------------------------------------------------------- messages

LRESULT CCoolMenuManager::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg)
    {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        Refresh();
        break;
    case WM_MEASUREITEM:
        if (OnMeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lp)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (OnDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lp)))
            return TRUE;
        break;
    case WM_INITMENUPOPUP:
        CSubclassWnd::WindowProc(msg, wp, lp);
        OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wp)), LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wp), HIWORD(wp), reinterpret_cast<HMENU>(lp));
        break;
    case WM_MENUCHAR:
        if (const LONG lResult =
                OnMenuChar(LOBYTE(wp), HIWORD(wp), CMenu::FromHandle(reinterpret_cast<HMENU>(lp))))
            return lResult;
        break;
    default:
        break;
    }
    return CSubclassWnd::WindowProc(msg, wp, lp);
}

void CCoolMenuManager::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu)
{
    if (m_bAutoAccel && m_pFrame != nullptr)
    {
        const HACCEL hAccel = m_pFrame->GetDefaultAccelerator();
        if (hAccel != m_hAccel)
            LoadAccel(hAccel);
    }
    ConvertMenu(pMenu, nIndex, bSysMenu, m_bShowButtons);
}

void CCoolMenuManager::OnMenuSelect(UINT, UINT nFlags, HMENU hSysMenu)
{
    if (hSysMenu != nullptr || nFlags != 0xFFFF)
        return;
    while (!m_menusToConvert.IsEmpty())
    {
        const auto hMenu = static_cast<HMENU>(m_menusToConvert.RemoveHead());
        if (::IsMenu(hMenu))
            ConvertMenu(CMenu::FromHandle(hMenu), 0, FALSE, FALSE);
    }
}

LONG CCoolMenuManager::OnMenuChar(UINT nChar, UINT, CMenu* pMenu)
{
    const int nKey = std::toupper(static_cast<unsigned char>(nChar));
    CUIntArray arItemsMatched;
    UINT iCurrentItem = UINT(-1);
    const UINT nItems = pMenu->GetMenuItemCount();
    for (UINT i = 0; i < nItems; ++i)
    {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_STATE;
        pMenu->GetMenuItemInfo(i, &info, TRUE);
        const CMyItemData* pData = OwnData(info.dwItemData);
        if ((info.fType & MFT_OWNERDRAW) && pData != nullptr)
        {
            const int iAmpersand = pData->text.Find('&');
            if (iAmpersand >= 0 && iAmpersand + 1 < pData->text.GetLength() &&
                std::toupper(static_cast<unsigned char>(pData->text[iAmpersand + 1])) == nKey)
                arItemsMatched.Add(i);
        }
        if (info.fState & MFS_HILITE)
            iCurrentItem = i;
    }
    const INT_PTR nFound = arItemsMatched.GetSize();
    if (nFound == 0)
        return 0;
    if (nFound == 1)
        return MAKELONG(arItemsMatched[0], MNC_EXECUTE);
    UINT iSelect = arItemsMatched[0];
    for (INT_PTR i = 0; i < nFound; ++i)
    {
        if (iCurrentItem != UINT(-1) && arItemsMatched[i] > iCurrentItem)
        {
            iSelect = arItemsMatched[i];
            break;
        }
    }
    return MAKELONG(iSelect, MNC_SELECT);
}

// ---------------------------------------------------------------- conversion

void CCoolMenuManager::ConvertMenu(CMenu* pMenu, UINT, BOOL bSysMenu, BOOL bShowButtons)
{
    if (pMenu == nullptr)
        return;
    const UINT nItems = pMenu->GetMenuItemCount();
    for (UINT i = 0; i < nItems; ++i)
        ConvertItem(pMenu, i, bSysMenu, bShowButtons);
    if (bShowButtons && m_menusToConvert.Find(pMenu->m_hMenu) == nullptr)
        m_menusToConvert.AddHead(pMenu->m_hMenu);
}

BOOL CCoolMenuManager::ConvertItem(CMenu* pMenu, UINT nPos, BOOL bSysMenu, BOOL bShowButtons)
{
    char itemName[kMaxItemText] = {};
    MENUITEMINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_SUBMENU | MIIM_DATA | MIIM_ID | MIIM_TYPE;
    info.dwTypeData = itemName;
    info.cch = sizeof(itemName);
    if (!pMenu->GetMenuItemInfo(nPos, &info, TRUE))
        return FALSE;
    CMyItemData* pData = OwnData(info.dwItemData);
    if ((info.dwItemData != 0 && pData == nullptr) || (bSysMenu && info.wID >= kFirstSysCommand))
        return FALSE;
    info.fMask = 0;
    if (bShowButtons)
    {
        if (!(info.fType & MFT_OWNERDRAW))
        {
            info.fType |= MFT_OWNERDRAW;
            info.fMask |= MIIM_TYPE;
            if (pData == nullptr)
            {
                pData = new CMyItemData;
                m_itemData.insert(pData);
                pData->fType = info.fType;
                pData->iButton = GetButtonIndex(WORD(info.wID));
                info.dwItemData = reinterpret_cast<ULONG_PTR>(pData);
                info.fMask |= MIIM_DATA;
            }
            pData->text = itemName;
        }
        if (pData != nullptr && m_bAutoAccel && m_pAccel != nullptr)
            AppendAccelName(pData->text, info.wID);
    }
    else if (info.fType & MFT_OWNERDRAW)
    {
        info.fType &= ~MFT_OWNERDRAW;
        info.fMask |= MIIM_TYPE;
        CString sItemName = pData != nullptr ? pData->text : CString(itemName);
        if (pData != nullptr)
        {
            m_itemData.erase(pData);
            delete pData;
            info.dwItemData = 0;
            info.fMask |= MIIM_DATA;
        }
        if (m_bAutoAccel && m_pAccel != nullptr)
            AppendAccelName(sItemName, info.wID);
        std::snprintf(itemName, sizeof(itemName), "%s", static_cast<LPCSTR>(sItemName));
        info.dwTypeData = itemName;
        info.cch = UINT(std::strlen(itemName));
    }
    if (info.fMask != 0)
        pMenu->SetMenuItemInfo(nPos, &info, TRUE);
    return info.fMask != 0;
}

// ---------------------------------------------------------------- accelerators

void CCoolMenuManager::DestroyAccel()
{
    m_mapIDtoAccel.RemoveAll();
    delete[] m_pAccel;
    m_pAccel = nullptr;
    // The next popup loads the table again.
    m_hAccel = nullptr;
}

void CCoolMenuManager::LoadAccel(HACCEL hAccel)
{
    DestroyAccel();
    m_hAccel = hAccel;
    const int nAccel = hAccel != nullptr ? ::CopyAcceleratorTableA(hAccel, nullptr, 0) : 0;
    if (nAccel <= 0)
        return;
    m_pAccel = new ACCEL[std::size_t(nAccel)];
    ::CopyAcceleratorTableA(hAccel, m_pAccel, nAccel);
    for (int i = 0; i < nAccel; ++i)
    {
        ACCEL& accel = m_pAccel[i];
        const ACCEL* pPrevious = GetAccel(accel.cmd);
        m_mapIDtoAccel.SetAt(accel.cmd, &accel);
        accel.cmd = pPrevious != nullptr ? WORD(&accel - pPrevious) : 0;
    }
}

BOOL CCoolMenuManager::AppendAccelName(CString& sItemName, UINT nID)
{
    const int iTab = sItemName.Find('\t');
    if (iTab > 0)
        sItemName = sItemName.Left(iTab);
    const ACCEL* pAccel = GetAccel(WORD(nID));
    if (pAccel == nullptr)
        return FALSE;
    bool bFirst = true;
    while (pAccel != nullptr)
    {
        sItemName += bFirst ? "\t" : ", ";
        bFirst = false;
        if (pAccel->fVirt & FALT)
            sItemName += "Alt+";
        if (pAccel->fVirt & FCONTROL)
            sItemName += "Ctrl+";
        if (pAccel->fVirt & FSHIFT)
            sItemName += "Shift+";
        if (pAccel->fVirt & FVIRTKEY)
        {
            char keyName[64] = {};
            const UINT nScan = ::MapVirtualKeyA(pAccel->key, 0);
            ::GetKeyNameTextA(LONG(nScan << 16), keyName, sizeof(keyName));
            sItemName += keyName;
        }
        else
        {
            sItemName += char(pAccel->key);
        }
        pAccel = pAccel->cmd != 0 ? pAccel - pAccel->cmd : nullptr;
    }
    return TRUE;
}

// ---------------------------------------------------------------- measuring and drawing

CFont* CCoolMenuManager::GetMenuFont()
{
    if (m_fontMenu.GetSafeHandle() == nullptr)
    {
        NONCLIENTMETRICS info{};
        info.cbSize = sizeof(info);
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(info), &info, 0);
        m_fontMenu.CreateFontIndirect(&info.lfMenuFont);
    }
    return &m_fontMenu;
}

BOOL CCoolMenuManager::OnMeasureItem(LPMEASUREITEMSTRUCT lpms)
{
    const CMyItemData* pData = lpms->CtlType == ODT_MENU ? OwnData(lpms->itemData) : nullptr;
    if (pData == nullptr)
        return FALSE;
    if (pData->fType & MFT_SEPARATOR)
    {
        lpms->itemHeight = UINT(GetSystemMetrics(SM_CYMENU) / 2);
        lpms->itemWidth = 0;
        return TRUE;
    }
    CWindowDC dc(nullptr);
    CFont* pOldFont = dc.SelectObject(GetMenuFont());
    CRect rcText(0, 0, 0, 0);
    dc.DrawText(pData->text, &rcText, DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
    dc.SelectObject(pOldFont);
    lpms->itemHeight = UINT(std::max<int>(GetSystemMetrics(SM_CYMENU), rcText.Height()));
    // The layer adds the check-mark column to what the owner asks for.
    lpms->itemWidth =
        UINT(2 * m_szButton.cx + rcText.Width() - GetSystemMetrics(SM_CXMENUCHECK) + 5);
    return TRUE;
}

BOOL CCoolMenuManager::OnDrawItem(LPDRAWITEMSTRUCT lpds)
{
    const CMyItemData* pData = lpds->CtlType == ODT_MENU ? OwnData(lpds->itemData) : nullptr;
    if (pData == nullptr)
        return FALSE;
    CDC& dc = *CDC::FromHandle(lpds->hDC);
    const CRect rcItem(lpds->rcItem);
    if (pData->fType & MFT_SEPARATOR)
    {
        CRect rc = rcItem;
        rc.top += rc.Height() / 2;
        ::DrawEdge(dc.m_hDC, &rc, EDGE_ETCHED, BF_TOP);
        return TRUE;
    }
    CRect rcButn(rcItem.TopLeft(), m_szButton);
    rcButn.OffsetRect(0, (rcItem.Height() - rcButn.Height()) / 2);
    const BOOL bSelected = (lpds->itemState & ODS_SELECTED) != 0;
    bool bHaveButn = false;
    if (pData->iButton >= 0)
    {
        DrawButtonImage(dc, rcButn, pData->iButton, lpds->itemState);
        bHaveButn = true;
    }
    else
    {
        MENUITEMINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
        ::GetMenuItemInfoA(reinterpret_cast<HMENU>(lpds->hwndItem), lpds->itemID, FALSE, &info);
        const BOOL bChecked = (lpds->itemState & ODS_CHECKED) != 0;
        HBITMAP hbmCheck = bChecked ? info.hbmpChecked : info.hbmpUnchecked;
        // The layer draws radio items with a bullet of its own, not a bitmap.
        if (bChecked && hbmCheck == nullptr && (info.fType & MFT_RADIOCHECK))
            hbmCheck = GetMFCDotBitmap();
        if (bChecked || hbmCheck != nullptr)
            bHaveButn = Draw3DCheckmark(dc, rcButn, bSelected, hbmCheck) != FALSE;
    }
    if (bSelected || lpds->itemAction == ODA_SELECT)
    {
        CRect rcBG = rcItem;
        if (bHaveButn)
            rcBG.left = rcButn.right;
        dc.FillSolidRect(&rcBG, GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_MENU));
    }
    DrawItemText(dc, rcItem, *pData, lpds->itemState);
    return TRUE;
}

void CCoolMenuManager::DrawButtonImage(CDC& dc, const CRect& rcButn, int iButton, UINT nState)
{
    const CPoint p = rcButn.TopLeft() + CSize((m_szButton.cx - m_szBitmap.cx) / 2,
                                              (m_szButton.cy - m_szBitmap.cy) / 2);
    if (nState & ODS_GRAYED)
    {
        if (m_bUseDrawState)
        {
            const HICON hIcon = m_ilButtons.ExtractIcon(iButton);
            ::DrawStateA(dc.m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, p.x, p.y,
                         m_szBitmap.cx, m_szBitmap.cy, DST_ICON | DSS_DISABLED);
            ::DestroyIcon(hIcon);
        }
        else
        {
            DrawEmbossed(dc, iButton, p);
        }
        return;
    }
    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bChecked = (nState & ODS_CHECKED) != 0;
    dc.FillSolidRect(&rcButn, GetSysColor(bChecked && !bSelected ? COLOR_3DLIGHT : COLOR_MENU));
    if (bSelected || bChecked)
    {
        CRect rcEdge = rcButn;
        ::DrawEdge(dc.m_hDC, &rcEdge, bChecked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    m_ilButtons.Draw(&dc, iButton, p, ILD_TRANSPARENT);
}

// The image's dark parts, white elsewhere, in a mask; then the mask's dark
// parts are painted twice: in the highlight colour one pixel down and
// right, and in the shadow colour in place.
void CCoolMenuManager::DrawEmbossed(CDC& dc, int iButton, CPoint p)
{
    const int cx = m_szBitmap.cx;
    const int cy = m_szBitmap.cy;
    CDC memdc;
    memdc.CreateCompatibleDC(&dc);
    CBitmap bmMask;
    if (m_bDrawDisabledButtonsInColor)
        bmMask.CreateCompatibleBitmap(&dc, cx, cy);
    else
        bmMask.CreateBitmap(cx, cy, 1, 1, nullptr);
    CBitmap* pOldBitmap = memdc.SelectObject(&bmMask);
    memdc.PatBlt(0, 0, cx, cy, WHITENESS);
    m_ilButtons.Draw(&memdc, iButton, CPoint(0, 0), ILD_TRANSPARENT);
    const COLORREF crOldBk = dc.SetBkColor(RGB(255, 255, 255));
    const COLORREF crOldText = dc.SetTextColor(RGB(0, 0, 0));
    constexpr DWORD kPaintWhereSourceIsDark = 0x00B8074A;
    CBrush brHighlight(GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush* pOldBrush = dc.SelectObject(&brHighlight);
    dc.BitBlt(p.x + 1, p.y + 1, cx, cy, &memdc, 0, 0, kPaintWhereSourceIsDark);
    CBrush brShadow(GetSysColor(COLOR_BTNSHADOW));
    dc.SelectObject(&brShadow);
    dc.BitBlt(p.x, p.y, cx, cy, &memdc, 0, 0, kPaintWhereSourceIsDark);
    dc.SelectObject(pOldBrush);
    dc.SetBkColor(crOldBk);
    dc.SetTextColor(crOldText);
    memdc.SelectObject(pOldBitmap);
}

void CCoolMenuManager::DrawItemText(CDC& dc, const CRect& rcItem, const CMyItemData& data,
                                    UINT nState)
{
    const BOOL bDisabled = (nState & ODS_GRAYED) != 0;
    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    CRect rcText = rcItem;
    rcText.left += m_szButton.cx + kTextGap;
    rcText.right -= m_szButton.cx;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crText = GetSysColor(bDisabled   ? COLOR_GRAYTEXT
                                        : bSelected ? COLOR_HIGHLIGHTTEXT
                                                    : COLOR_MENUTEXT);
    if (bDisabled && (!bSelected || crText == GetSysColor(COLOR_HIGHLIGHT)))
    {
        CRect rcLight = rcText;
        rcLight.OffsetRect(1, 1);
        DrawMenuText(dc, rcLight, data.text, GetSysColor(COLOR_BTNHIGHLIGHT));
    }
    DrawMenuText(dc, rcText, data.text, crText);
    dc.SetBkMode(nOldMode);
}

void CCoolMenuManager::DrawMenuText(CDC& dc, CRect rc, CString text, COLORREF color)
{
    CString left = text;
    CString right;
    const int iTab = text.Find('\t');
    if (iTab >= 0)
    {
        left = text.Left(iTab);
        right = text.Mid(iTab + 1);
    }
    const COLORREF crOld = dc.SetTextColor(color);
    dc.DrawText(left, &rc, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (iTab > 0)
        dc.DrawText(right, &rc, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    dc.SetTextColor(crOld);
}

BOOL CCoolMenuManager::Draw3DCheckmark(CDC& dc, const CRect& rc, BOOL bSelected, HBITMAP hbmCheck)
{
    CBitmap bmSystemCheck;
    if (hbmCheck == nullptr)
    {
        bmSystemCheck.Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCE(OBM_CHECK)));
        hbmCheck = static_cast<HBITMAP>(bmSystemCheck.GetSafeHandle());
    }
    const SIZE size = BitmapSize(hbmCheck);
    const CSize delta((rc.Width() - size.cx) / 2, (rc.Height() - size.cy) / 2);
    CRect rcDest = rc;
    CPoint pSource(0, 0);
    const bool bSmaller = rc.Width() > size.cx;
    if (bSmaller)
        rcDest = CRect(rc.TopLeft() + delta, size);
    else
        pSource -= delta;
    CDC memdc;
    memdc.CreateCompatibleDC(&dc);
    const HGDIOBJ hOld = ::SelectObject(memdc.m_hDC, hbmCheck);
    const COLORREF crOld = dc.SetBkColor(GetSysColor(bSelected ? COLOR_MENU : COLOR_3DLIGHT));
    dc.BitBlt(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), &memdc, pSource.x,
              pSource.y, SRCCOPY);
    dc.SetBkColor(crOld);
    ::SelectObject(memdc.m_hDC, hOld);
    if (bSmaller)
        rcDest.InflateRect(1, 1);
    ::DrawEdge(dc.m_hDC, &rcDest, BDR_SUNKENOUTER, BF_RECT);
    return TRUE;
}

// ---------------------------------------------------------------- the radio dot

HBITMAP CCoolMenuManager::GetMFCDotBitmap()
{
    static CBitmap bmDot;
    if (bmDot.GetSafeHandle() == nullptr)
    {
        const int cx = GetSystemMetrics(SM_CXMENUCHECK);
        const int cy = GetSystemMetrics(SM_CYMENUCHECK);
        CWindowDC dcScreen(nullptr);
        bmDot.CreateCompatibleBitmap(&dcScreen, cx, cy);
    }
    return static_cast<HBITMAP>(bmDot.GetSafeHandle());
}

void CCoolMenuManager::FixMFCDotBitmap()
{
    const HBITMAP hbmDot = GetMFCDotBitmap();
    const SIZE size = BitmapSize(hbmDot);
    CDC memdc;
    memdc.CreateCompatibleDC(nullptr);
    const HGDIOBJ hOldBitmap = ::SelectObject(memdc.m_hDC, hbmDot);
    memdc.PatBlt(0, 0, size.cx, size.cy, WHITENESS);
    CRect rcDot(0, 0, size.cx, size.cy);
    rcDot.DeflateRect(size.cx / 2 - 2, size.cy / 2 - 2);
    const HGDIOBJ hOldPen = ::SelectObject(memdc.m_hDC, ::GetStockObject(BLACK_PEN));
    const HGDIOBJ hOldBrush = ::SelectObject(memdc.m_hDC, ::GetStockObject(BLACK_BRUSH));
    memdc.Ellipse(&rcDot);
    ::SelectObject(memdc.m_hDC, hOldBrush);
    ::SelectObject(memdc.m_hDC, hOldPen);
    ::SelectObject(memdc.m_hDC, hOldBitmap);
}
