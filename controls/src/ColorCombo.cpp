#include "ColorCombo.h"

#include "AfxWinDC.h"

IMPLEMENT_DYNAMIC(CColorCombo, CComboBox)

BEGIN_MESSAGE_MAP(CColorCombo, CComboBox)
ON_WM_CREATE()
END_MESSAGE_MAP()

SColorAndName CColorCombo::ms_pColors[16] = {
    {RGB(0, 0, 0), "Black"},       {RGB(128, 0, 0), "Maroon"},    {RGB(0, 128, 0), "Green"},
    {RGB(128, 128, 0), "Olive"},   {RGB(0, 0, 128), "Navy"},      {RGB(128, 0, 128), "Purple"},
    {RGB(0, 128, 128), "Teal"},    {RGB(128, 128, 128), "Grey"},  {RGB(192, 192, 192), "Silver"},
    {RGB(255, 0, 0), "Red"},       {RGB(0, 255, 0), "Lime"},      {RGB(255, 255, 0), "Yellow"},
    {RGB(0, 0, 255), "Blue"},      {RGB(255, 0, 255), "Fushcia"}, {RGB(0, 255, 255), "Aqua"},
    {RGB(255, 255, 255), "White"},
};

BOOL CColorCombo::PreCreateWindow(CREATESTRUCT& cs)
{
    m_bCreating = true;
    cs.style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    return CComboBox::PreCreateWindow(cs);
}

void CColorCombo::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    if (!m_bCreating)
        InitializeColors();
}

int CColorCombo::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CComboBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_bCreating = false;
    InitializeColors();
    return 0;
}

void CColorCombo::InitializeColors()
{
    if (m_bInitialized)
        return;
    m_bInitialized = true;
    FitItemHeight();
    for (const SColorAndName& entry : ms_pColors)
        if (AddColor(entry.m_szName, entry.m_crColor) == CB_ERRSPACE)
            break;
    SetCurSel(0);
}

void CColorCombo::FitItemHeight()
{
    // A name is drawn two pixels below the item's top; the items and the
    // selection field are made tall enough for it.
    CClientDC dc(this);
    CFont* pFont = GetFont();
    CFont* pOldFont = pFont != nullptr ? dc.SelectObject(pFont) : nullptr;
    TEXTMETRICA metrics{};
    dc.GetTextMetrics(&metrics);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    const UINT nHeight = UINT(metrics.tmHeight + 4);
    if (GetItemHeight(-1) < int(nHeight))
        SetItemHeight(-1, nHeight);
    if (GetItemHeight(0) < int(nHeight))
        SetItemHeight(0, nHeight);
}

int CColorCombo::AddColor(LPCSTR lpszName, COLORREF crColor)
{
    const int nIndex = InsertString(-1, lpszName);
    if (nIndex >= 0)
        SetItemData(nIndex, crColor);
    return nIndex;
}

bool CColorCombo::RemoveColor(LPCSTR lpszName)
{
    CString text;
    for (int i = 0; i < GetCount(); ++i)
    {
        GetLBText(i, text);
        if (text.CompareNoCase(lpszName) == 0)
            return DeleteString(UINT(i)) != CB_ERR;
    }
    return false;
}

bool CColorCombo::RemoveColor(COLORREF crColor)
{
    for (int i = 0; i < GetCount(); ++i)
        if (COLORREF(GetItemData(i)) == crColor)
            return DeleteString(UINT(i)) != CB_ERR;
    return false;
}

COLORREF CColorCombo::GetSelectedColorValue()
{
    const int nSelected = GetCurSel();
    return nSelected == CB_ERR ? 0 : COLORREF(GetItemData(nSelected));
}

LPCSTR CColorCombo::GetSelectedColorName()
{
    const int nSelected = GetCurSel();
    m_strSelectedName.Empty();
    if (nSelected != CB_ERR)
        GetLBText(nSelected, m_strSelectedName);
    return m_strSelectedName;
}

void CColorCombo::SetSelectedColorValue(COLORREF crColor)
{
    for (int i = 0; i < GetCount(); ++i)
        if (COLORREF(GetItemData(i)) == crColor)
            SetCurSel(i);
}

void CColorCombo::SetSelectedColorName(LPCSTR lpszName)
{
    CString text;
    for (int i = 0; i < GetCount(); ++i)
    {
        GetLBText(i, text);
        if (text.CompareNoCase(lpszName) == 0)
            SetCurSel(i);
    }
}

void CColorCombo::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect item = lpDrawItemStruct->rcItem;
    const UINT nState = lpDrawItemStruct->itemState;
    // The selected text takes the complement of the window text colour; a
    // COLORREF's high byte is no colour and stays clear.
    const bool bSelected = (nState & ODS_SELECTED) != 0;
    pDC->SetTextColor(bSelected ? ~GetSysColor(COLOR_WINDOWTEXT) & 0x00FFFFFF
                                : GetSysColor(COLOR_WINDOWTEXT));
    const COLORREF crBack = GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    pDC->SetBkColor(crBack);
    pDC->FillSolidRect(&item, crBack);
    if (nState & ODS_FOCUS)
        ::DrawFocusRect(lpDrawItemStruct->hDC, &item);
    if (int(lpDrawItemStruct->itemID) == -1)
        return;
    const int nSwatch = int(float(item.Width()) * m_fSwatchFraction);
    CRect swatch = item;
    swatch.DeflateRect(2, 2);
    swatch.right = item.left + nSwatch;
    COLORREF crSwatch = COLORREF(lpDrawItemStruct->itemData);
    if (nState & ODS_DISABLED)
    {
        crSwatch = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
        pDC->SetTextColor(crSwatch);
    }
    CString text;
    GetLBText(int(lpDrawItemStruct->itemID), text);
    pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(item.left + nSwatch + 4, item.top + 2, text);
    pDC->FillSolidRect(&swatch, crSwatch);
    pDC->FrameRect(&swatch, CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
}
