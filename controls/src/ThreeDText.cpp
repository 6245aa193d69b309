// 3-D captions of buttons and statics.
#include "ThreeDText.h"

#include "OwnerDrawStyle.h"
#include "WinProcessInfo.h"

namespace
{
constexpr int kFrame = 3;  // kept free round the caption
constexpr int kOffset = 3; // the caption's place among its shadows
constexpr LONG kHeightOfZero = 20;

// The caption in copies round (x, y): dark shadow, highlight, shadow and
// light, d pixels apart (d = -1 pressed, 1 raised).
void DrawShadows(CDC& dc, int x, int y, int d, const CString& text)
{
    const struct
    {
        int nSysColor;
        int dx[3];
        int dy[3];
    } layers[] = {
        {COLOR_3DDKSHADOW, {-2 * d, 2 * d, 2 * d}, {2 * d, -2 * d, 2 * d}},
        {COLOR_BTNHIGHLIGHT, {d, -2 * d, -2 * d}, {-2 * d, d, -2 * d}},
        {COLOR_BTNSHADOW, {-d, d, d}, {d, -d, d}},
        {COLOR_3DLIGHT, {0, -d, -d}, {-d, 0, -d}},
    };
    for (const auto& layer : layers)
    {
        dc.SetTextColor(GetSysColor(layer.nSysColor));
        for (int i = 0; i < 3; ++i)
            dc.TextOut(x + layer.dx[i], y + layer.dy[i], text);
    }
}

// The control's caption in its font at the size that fills the rectangle
// (measured inside a frame of 3 pixels when 3-D), centred; 3-D text in the
// raised or the pressed layout.
void DrawThreeDText(CDC& dc, CWnd& wnd, CRect rect, bool b3D, bool bPressed, COLORREF crBase)
{
    CString text;
    wnd.GetWindowText(text);
    if (text.IsEmpty())
        return;
    LOGFONT lf{};
    if (const auto hFont = reinterpret_cast<HFONT>(wnd.SendMessage(WM_GETFONT)))
        ::GetObjectA(hFont, sizeof(lf), &lf);
    if (lf.lfHeight == 0)
        lf.lfHeight = kHeightOfZero;
    lf.lfWidth = 0;
    lf.lfWeight = 1000;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* pOldFont = dc.SelectObject(&font);
    if (b3D)
        rect.DeflateRect(kFrame, kFrame);
    CSize size = dc.GetTextExtent(text);
    if (LONGLONG(rect.Height()) * size.cx >= LONGLONG(rect.Width()) * size.cy)
        lf.lfHeight = MulDiv(lf.lfHeight, rect.Width(), size.cx) - 1;
    else
        lf.lfHeight = MulDiv(lf.lfHeight, rect.Height(), size.cy) - 1;
    if (b3D)
        rect.InflateRect(kFrame, kFrame);
    CFont scaled;
    scaled.CreateFontIndirect(&lf);
    dc.SelectObject(&scaled);
    size = dc.GetTextExtent(text);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOldText = dc.GetTextColor();
    int x = rect.left + (rect.Width() - size.cx) / 2;
    int y = rect.top + (rect.Height() - size.cy) / 2;
    if (b3D)
    {
        x += kOffset;
        y += kOffset;
        DrawShadows(dc, x, y, bPressed ? -1 : 1, text);
    }
    dc.SetTextColor(crBase);
    dc.TextOut(x, y, text);
    dc.SetTextColor(crOldText);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}
} // namespace

BEGIN_MESSAGE_MAP(CThreeDTextButton, CButton)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CThreeDTextButton::PreSubclassWindow()
{
    MakeOwnerDrawn(*this);
}

void CThreeDTextButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    Draw(CDC::FromHandle(lpDIS->hDC), CRect(lpDIS->rcItem), lpDIS->itemState);
}

void CThreeDTextButton::Draw(CDC* pDC, const CRect& rect, UINT itemState)
{
    const COLORREF crBase = GetSysColor((itemState & ODS_FOCUS) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    DrawThreeDText(*pDC, *this, rect, m_bUse3D, (itemState & ODS_SELECTED) != 0, crBase);
}

BOOL CThreeDTextButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BEGIN_MESSAGE_MAP(CThreeDStaticText, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CThreeDStaticText::Draw(CDC* pDC, const CRect& rect)
{
    // Engraved: the pressed layout.
    DrawThreeDText(*pDC, *this, rect, m_bUse3D, true, GetSysColor(COLOR_BTNTEXT));
}

void CThreeDStaticText::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    Draw(&dc, rcClient);
}

BOOL CThreeDStaticText::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
