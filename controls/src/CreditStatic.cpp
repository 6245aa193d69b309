#include "CreditStatic.h"

#include "AfxResource.h"
#include "AfxWinDC.h"
#include "WinResource.h"

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_DYNAMIC(CCreditStatic, CStatic)

BEGIN_MESSAGE_MAP(CCreditStatic, CStatic)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{
// Pixels of this grey in bitmap lines, and the text area's background when
// an image lies behind transparent credits, show what is below.
constexpr COLORREF kSeeThrough = RGB(192, 192, 192);
constexpr BYTE kFontQuality = PROOF_QUALITY;
constexpr BYTE kPitchAndFamily = 6;
constexpr UINT kLineFormat = DT_NOPREFIX | DT_SINGLELINE | DT_CENTER;

// Copies the source's top-left part the size of rect onto rect of target,
// leaving target's pixels where the source has the key colour: a mask marks
// the key, the source loses it, the target is cleared elsewhere and the two
// are combined.
void MaskedCopy(CDC& target, const CRect& rect, CDC& source, COLORREF crKey)
{
    const int cx = rect.Width();
    const int cy = rect.Height();
    if (cx <= 0 || cy <= 0)
        return;
    CDC maskDC;
    CDC partDC;
    CBitmap mask;
    CBitmap part;
    if (!maskDC.CreateCompatibleDC(&target) || !partDC.CreateCompatibleDC(&target) ||
        !mask.CreateBitmap(cx, cy, 1, 1, nullptr) || !part.CreateCompatibleBitmap(&target, cx, cy))
        return;
    CBitmap* pOldMask = maskDC.SelectObject(&mask);
    CBitmap* pOldPart = partDC.SelectObject(&part);
    partDC.BitBlt(0, 0, cx, cy, &source, 0, 0, SRCCOPY);
    partDC.SetBkColor(crKey);
    maskDC.BitBlt(0, 0, cx, cy, &partDC, 0, 0, SRCCOPY);
    partDC.SetBkColor(RGB(0, 0, 0));
    partDC.SetTextColor(RGB(255, 255, 255));
    partDC.BitBlt(0, 0, cx, cy, &maskDC, 0, 0, SRCAND);
    const COLORREF crOldBk = target.SetBkColor(RGB(255, 255, 255));
    const COLORREF crOldText = target.SetTextColor(RGB(0, 0, 0));
    target.BitBlt(rect.left, rect.top, cx, cy, &maskDC, 0, 0, SRCAND);
    target.BitBlt(rect.left, rect.top, cx, cy, &partDC, 0, 0, SRCPAINT);
    target.SetBkColor(crOldBk);
    target.SetTextColor(crOldText);
    maskDC.SelectObject(pOldMask);
    partDC.SelectObject(pOldPart);
}

// A memory DC with a bitmap selected for its lifetime.
class CSelectedBitmap
{
public:
    CSelectedBitmap(CDC* pLike, CBitmap& bitmap) : m_bOk(m_dc.CreateCompatibleDC(pLike) != FALSE)
    {
        if (m_bOk)
            m_pOld = m_dc.SelectObject(&bitmap);
    }
    ~CSelectedBitmap()
    {
        if (m_pOld != nullptr)
            m_dc.SelectObject(m_pOld);
    }
    CSelectedBitmap(const CSelectedBitmap&) = delete;
    CSelectedBitmap& operator=(const CSelectedBitmap&) = delete;
    explicit operator bool() const { return m_bOk; }
    CDC& Dc() { return m_dc; }

private:
    CDC m_dc;
    bool m_bOk;
    CBitmap* m_pOld = nullptr;
};
} // namespace

CCreditStatic::CCreditStatic()
    : m_crColors{RGB(0, 0, 0), RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 255),
                 RGB(255, 255, 255)},
      m_nTextHeights{30, 26, 22, 18}, m_chEscapes{'\t', '\n', '\r', '^'}
{
}

void CCreditStatic::SetCredits(LPCSTR lpszText, char chDelimiter)
{
    m_lines.RemoveAll();
    const CString text = lpszText != nullptr ? lpszText : "";
    int nStart = 0;
    for (int nEnd = text.Find(chDelimiter); nEnd >= 0; nEnd = text.Find(chDelimiter, nStart))
    {
        m_lines.AddTail(text.Mid(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    m_lines.AddTail(text.Mid(nStart));
    Restart();
    RedrawStill();
}

void CCreditStatic::SetCredits(UINT nStringId, char chDelimiter)
{
    CString text;
    if (text.LoadString(nStringId))
        SetCredits(text, chDelimiter);
}

void CCreditStatic::Restart()
{
    m_posNext = m_lines.GetHeadPosition();
    m_nLineTick = 1;
    m_nScrolled = 0;
    m_strLine.Empty();
    m_bLineBitmap = FALSE;
    m_bmpLine.DeleteObject();
}

void CCreditStatic::DropCanvas()
{
    m_bmpCanvas.DeleteObject();
}

void CCreditStatic::RedrawStill()
{
    // A still picture of the old settings would stay until scrolling starts.
    if (m_nTimer != 0)
        return;
    DropCanvas();
    if (m_hWnd != nullptr)
        Invalidate();
}

BOOL CCreditStatic::StartScrolling()
{
    if (m_lines.IsEmpty() || m_hWnd == nullptr)
        return FALSE;
    DropCanvas();
    m_nTimer = SetTimer(kScrollTimer, UINT(m_nSpeeds[m_nSpeedIndex]), nullptr);
    Restart();
    return TRUE;
}

void CCreditStatic::EndScrolling()
{
    if (m_hWnd != nullptr)
        KillTimer(kScrollTimer);
    m_nTimer = 0;
    DropCanvas();
}

void CCreditStatic::SetSpeed(UINT nIndex, int nMilliseconds)
{
    if (nIndex >= std::size(m_nSpeeds))
        return;
    if (nMilliseconds != 0)
        m_nSpeeds[nIndex] = nMilliseconds;
    m_nSpeedIndex = int(nIndex);
}

void CCreditStatic::SetColor(UINT nIndex, COLORREF crColor)
{
    if (nIndex < enColorCount)
        m_crColors[nIndex] = crColor;
    RedrawStill();
}

void CCreditStatic::SetTextHeight(UINT nIndex, int nHeight)
{
    // A line takes as many ticks as its height: it needs at least one.
    if (nIndex < enHeightCount)
        m_nTextHeights[nIndex] = std::max(nHeight, 1);
    RedrawStill();
}

void CCreditStatic::SetEscape(UINT nIndex, char chEscape)
{
    if (nIndex < enEscapeCount)
        m_chEscapes[nIndex] = chEscape;
    RedrawStill();
}

void CCreditStatic::SetGradient(UINT nMode)
{
    m_nGradient = nMode <= UINT(enGradientFromWhite) ? nMode : UINT(enGradientNone);
    RedrawStill();
}

void CCreditStatic::SetTransparent(BOOL bTransparent)
{
    m_bTransparent = bTransparent;
    RedrawStill();
}

BOOL CCreditStatic::SetBkImage(LPCSTR lpszResourceName)
{
    const BOOL bLoaded = LoadBackground(lpszResourceName);
    RedrawStill();
    return bLoaded;
}

BOOL CCreditStatic::SetBkImage(UINT nResourceId)
{
    return SetBkImage(MAKEINTRESOURCE(nResourceId));
}

BOOL CCreditStatic::LoadBackground(LPCSTR lpszName)
{
    m_bmpBackground.DeleteObject();
    m_palBackground.DeleteObject();
    HINSTANCE hModule = AfxFindResourceHandle(lpszName, RT_BITMAP);
    auto hBitmap = static_cast<HBITMAP>(
        ::LoadImageA(hModule, lpszName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (hBitmap == nullptr)
        return FALSE;
    m_bmpBackground.Attach(hBitmap);
    DIBSECTION section{};
    m_bmpBackground.GetObject(sizeof(section), &section);
    m_nBackgroundWidth = section.dsBm.bmWidth;
    m_nBackgroundHeight = section.dsBm.bmHeight;
    const UINT nColors = section.dsBmih.biClrUsed != 0
                             ? section.dsBmih.biClrUsed
                             : 1U << std::min<UINT>(section.dsBmih.biBitCount, 24);
    CClientDC screen(nullptr);
    if (nColors > 256)
    {
        m_palBackground.CreateHalftonePalette(&screen);
        return TRUE;
    }
    std::vector<RGBQUAD> table(nColors);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap* pOld = memory.SelectObject(&m_bmpBackground);
    const UINT nRead = ::GetDIBColorTable(memory.GetSafeHdc(), 0, nColors, table.data());
    memory.SelectObject(pOld);
    std::vector<BYTE> block(sizeof(LOGPALETTE) + std::max<UINT>(nRead, 1) * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(nRead);
    for (UINT i = 0; i < nRead; ++i)
        palette->palPalEntry[i] =
            PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    if (nRead > 0)
        m_palBackground.CreatePalette(palette);
    return TRUE;
}

BOOL CCreditStatic::LoadLineBitmap(const CString& strName)
{
    m_bmpLine.DeleteObject();
    HINSTANCE hModule = AfxFindResourceHandle(strName, RT_BITMAP);
    auto hBitmap = static_cast<HBITMAP>(::LoadImageA(hModule, strName, IMAGE_BITMAP, 0, 0, 0));
    if (hBitmap == nullptr)
        return FALSE;
    m_bmpLine.Attach(hBitmap);
    BITMAP info{};
    m_bmpLine.GetObject(sizeof(info), &info);
    m_nLineBitmapWidth = info.bmWidth;
    m_nLineBitmapHeight = info.bmHeight;
    return TRUE;
}

CCreditStatic::enStyle CCreditStatic::GetStyle(const CString& strLine) const
{
    if (strLine.IsEmpty())
        return enStyle::Text;
    const char chLast = strLine[strLine.GetLength() - 1];
    if (chLast == m_chEscapes[enHeading1Escape])
        return enStyle::Heading1;
    if (chLast == m_chEscapes[enHeading2Escape])
        return enStyle::Heading2;
    if (chLast == m_chEscapes[enHeading3Escape])
        return enStyle::Heading3;
    if (chLast == m_chEscapes[enBitmapEscape])
        return enStyle::Bitmap;
    return enStyle::Text;
}

CString CCreditStatic::GetDrawnText(const CString& strLine, enStyle style)
{
    return style == enStyle::Text ? strLine : strLine.Left(strLine.GetLength() - 1);
}

void CCreditStatic::SelectStyle(CDC& dc, CFont& font, enStyle style, bool bScrolling)
{
    int nHeightIndex = enTextHeight;
    int nColorIndex = enTextColor;
    int nWeight = FW_THIN;
    LPCSTR lpszFace = "Arial";
    switch (style)
    {
    case enStyle::Heading1:
    case enStyle::Heading2:
    case enStyle::Heading3:
        nHeightIndex = enHeading1Height + (int(style) - int(enStyle::Heading1));
        nColorIndex = enHeading1Color + (int(style) - int(enStyle::Heading1));
        nWeight = FW_BOLD;
        lpszFace = bScrolling ? "System" : "Arial";
        break;
    case enStyle::Bitmap:
        // A bitmap line that did not load is drawn in the surface's own
        // font, in the colour of normal text so that it shows.
        dc.SetTextColor(m_crColors[enTextColor]);
        return;
    case enStyle::Text:
        break;
    }
    m_nLineHeight = m_nTextHeights[nHeightIndex];
    font.CreateFont(m_nLineHeight, 0, 0, 0, nWeight, 0, 0, 0, 0, 0, 0, kFontQuality,
                    kPitchAndFamily, lpszFace);
    dc.SelectObject(&font);
    dc.SetTextColor(m_crColors[nColorIndex]);
}

COLORREF CCreditStatic::GetKeyColor() const
{
    return m_bTransparent && HasBackgroundImage() ? kSeeThrough : m_crColors[enBackgroundColor];
}

void CCreditStatic::FillBackground(CDC& dc, const CRect& rcClient, const CRect& rcFill)
{
    if (m_nGradient != enGradientNone && !HasBackgroundImage())
        FillGradient(dc, rcClient, rcFill, m_crColors[enBackgroundColor]);
    else
        dc.FillSolidRect(&rcFill, GetKeyColor());
}

void CCreditStatic::FillGradient(CDC& dc, const CRect& rcClient, const CRect& rcFill,
                                 COLORREF crColor)
{
    const COLORREF crOldBk = dc.GetBkColor();
    const double band = rcClient.Width() / 256.0;
    auto shade = [this](int x, int k)
    {
        switch (m_nGradient)
        {
        case enGradientToBlack:
            return x - k * x / 255;
        case enGradientToWhite:
            return x + k * (255 - x) / 255;
        case enGradientFromBlack:
            return k * x / 255;
        default:
            return 255 - k * (255 - x) / 255;
        }
    };
    for (int k = 0; k < 256; ++k)
    {
        const double left = rcClient.left + k * band;
        const double right = left + band;
        if (right <= rcFill.left)
            continue;
        if (left >= rcFill.right)
            break;
        const COLORREF crBand = RGB(shade(GetRValue(crColor), k), shade(GetGValue(crColor), k),
                                    shade(GetBValue(crColor), k));
        // Bands narrower than a pixel share none: each starts at the first
        // pixel at or right of its left edge.
        const CRect rcBand(int(std::ceil(left)), rcFill.top, int(std::ceil(right)),
                           rcFill.bottom + 1);
        if (rcBand.IsRectEmpty())
            continue;
        dc.FillSolidRect(&rcBand, crBand);
    }
    dc.SetBkColor(crOldBk);
}

CRect CCreditStatic::GetTextArea(const CRect& rcClient) const
{
    CRect area = rcClient;
    area.left = rcClient.left + (rcClient.Width() - m_nWidest) / 2;
    area.right = area.left + m_nWidest;
    return area;
}

BOOL CCreditStatic::StartNextLine()
{
    m_nLineTick = 1;
    m_nScrolled = 0;
    if (m_posNext == nullptr)
        m_posNext = m_lines.GetHeadPosition();
    if (m_posNext == nullptr)
    {
        m_strLine.Empty();
        return FALSE;
    }
    const BOOL bMeasure = m_bFirstPass;
    m_strLine = m_lines.GetNext(m_posNext);
    if (m_posNext == nullptr)
    {
        m_posNext = m_lines.GetHeadPosition();
        m_bFirstPass = FALSE;
    }
    return bMeasure;
}

void CCreditStatic::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kScrollTimer)
    {
        CStatic::OnTimer(nIDEvent);
        return;
    }
    BOOL bMeasure = FALSE;
    if (!m_bLineBitmap && m_nLineTick++ % std::max(m_nLineHeight, 1) == 0)
        bMeasure = StartNextLine();
    CRect client;
    GetClientRect(&client);
    CRect area = GetTextArea(client);
    CClientDC dc(this);
    MoveCredit(dc, client, area, bMeasure);
    AddBackGround(dc, client, area);
}

void CCreditStatic::MoveCredit(CDC& dc, const CRect& rcClient, CRect& rcText, BOOL bMeasure)
{
    // Declared before the canvas DC, so that the DC lets it go first.
    CFont font;
    if (m_bmpCanvas.GetSafeHandle() == nullptr)
    {
        if (!m_bmpCanvas.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height()))
            return;
        CSelectedBitmap fresh(&dc, m_bmpCanvas);
        if (fresh)
            FillBackground(fresh.Dc(), rcClient, rcClient);
    }
    CSelectedBitmap canvas(&dc, m_bmpCanvas);
    if (!canvas)
        return;
    CDC& memory = canvas.Dc();
    const int nStep = std::abs(m_nStep);
    CRect strip = rcClient;
    if (rcText.Width() > 0)
    {
        ::ScrollDC(memory.GetSafeHdc(), 0, m_nStep, &rcText, &rcText, nullptr, nullptr);
        strip = rcText;
    }
    strip.top = strip.bottom - nStep;
    m_nScrolled += nStep;

    const enStyle style = GetStyle(m_strLine);
    SelectStyle(memory, font, style, true);
    if (style == enStyle::Bitmap && !m_bLineBitmap &&
        LoadLineBitmap(GetDrawnText(m_strLine, style)))
    {
        m_nLineBitmapX = rcText.CenterPoint().x - m_nLineBitmapWidth / 2;
        m_nLineBitmapY = rcText.bottom;
        m_bLineBitmap = TRUE;
    }
    FillBackground(memory, rcClient, strip);
    memory.SetBkMode(TRANSPARENT);
    const auto widen = [&](int nWidth)
    {
        if (!bMeasure || nWidth <= m_nWidest)
            return;
        m_nWidest = std::min(rcClient.Width(), nWidth);
        rcText = GetTextArea(rcClient);
    };
    if (m_bLineBitmap)
    {
        widen(m_nLineBitmapWidth);
        CSelectedBitmap line(&dc, m_bmpLine);
        if (line)
        {
            CRect shown(m_nLineBitmapX, m_nLineBitmapY - m_nScrolled,
                        m_nLineBitmapX + m_nLineBitmapWidth, m_nLineBitmapY);
            DrawBitmap(memory, line.Dc(), shown);
        }
        if (m_nScrolled >= m_nLineBitmapHeight)
        {
            m_bLineBitmap = FALSE;
            m_bmpLine.DeleteObject();
            m_nScrolled = 0;
            m_strLine.Empty();
            m_nLineTick = 1;
        }
        return;
    }
    // A bitmap line whose bitmap did not load is drawn whole, as text.
    const CString text = style == enStyle::Bitmap ? m_strLine : GetDrawnText(m_strLine, style);
    if (text.IsEmpty())
        return;
    widen(memory.GetTextExtent(text).cx);
    CRect place(rcText.left, rcText.bottom - m_nScrolled, rcText.right, rcText.bottom);
    memory.DrawText(text, &place, kLineFormat);
}

void CCreditStatic::AddBackGround(CDC& dc, const CRect& rcClient, const CRect& rcText)
{
    CSelectedBitmap canvas(&dc, m_bmpCanvas);
    if (!canvas)
        return;
    if (!HasBackgroundImage())
    {
        dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &canvas.Dc(), 0, 0, SRCCOPY);
        return;
    }
    CBitmap composed;
    if (!composed.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height()))
        return;
    CSelectedBitmap back(&dc, composed);
    CSelectedBitmap image(&dc, m_bmpBackground);
    if (!back || !image)
        return;
    CPalette* pOldPalette = nullptr;
    if ((dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE) && m_palBackground.GetSafeHandle() != nullptr)
    {
        pOldPalette = back.Dc().SelectPalette(&m_palBackground, FALSE);
        back.Dc().RealizePalette();
    }
    for (int y = 0; y < rcClient.Height(); y += std::max(m_nBackgroundHeight, 1))
        for (int x = 0; x < rcClient.Width(); x += std::max(m_nBackgroundWidth, 1))
            back.Dc().BitBlt(x, y, m_nBackgroundWidth, m_nBackgroundHeight, &image.Dc(), 0, 0,
                             SRCCOPY);
    // The text area's canvas over the image, its key colour letting it through.
    CDC part;
    part.CreateCompatibleDC(&dc);
    CBitmap area;
    if (rcText.Width() > 0 && area.CreateCompatibleBitmap(&dc, rcText.Width(), rcText.Height()))
    {
        CBitmap* pOld = part.SelectObject(&area);
        part.BitBlt(0, 0, rcText.Width(), rcText.Height(), &canvas.Dc(), rcText.left, rcText.top,
                    SRCCOPY);
        MaskedCopy(back.Dc(), rcText, part, GetKeyColor());
        part.SelectObject(pOld);
    }
    if (pOldPalette != nullptr)
        back.Dc().SelectPalette(pOldPalette, TRUE);
    dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &back.Dc(), 0, 0, SRCCOPY);
}

void CCreditStatic::DrawBitmap(CDC& canvasDC, CDC& bitmapDC, const CRect& rect)
{
    if (m_bTransparent && !HasBackgroundImage())
        MaskedCopy(canvasDC, rect, bitmapDC, kSeeThrough);
    else
        canvasDC.BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &bitmapDC, 0, 0, SRCCOPY);
}

void CCreditStatic::DrawCredit(CDC& dc, const CRect& rcClient)
{
    if (m_bmpCanvas.GetSafeHandle() != nullptr ||
        !m_bmpCanvas.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height()))
        return;
    CSelectedBitmap canvas(&dc, m_bmpCanvas);
    if (!canvas)
        return;
    CDC& memory = canvas.Dc();
    FillBackground(memory, rcClient, rcClient);
    memory.SetBkMode(TRANSPARENT);
    CFont* pDefaultFont = memory.GetCurrentFont();
    int y = rcClient.top;
    for (POSITION pos = m_lines.GetHeadPosition(); pos != nullptr && y <= rcClient.Height();)
    {
        const CString strLine = m_lines.GetNext(pos);
        const enStyle style = GetStyle(strLine);
        if (strLine.IsEmpty())
        {
            y += memory.GetTextExtent("W").cy;
            continue;
        }
        if (style == enStyle::Bitmap && LoadLineBitmap(GetDrawnText(strLine, style)))
        {
            CSelectedBitmap line(&dc, m_bmpLine);
            const int x = rcClient.CenterPoint().x - m_nLineBitmapWidth / 2;
            if (line)
                DrawBitmap(memory, line.Dc(),
                           CRect(x, y, x + m_nLineBitmapWidth, y + m_nLineBitmapHeight));
            y += m_nLineBitmapHeight;
            m_bmpLine.DeleteObject();
            continue;
        }
        CFont font;
        SelectStyle(memory, font, style, false);
        const CString text = style == enStyle::Bitmap ? strLine : GetDrawnText(strLine, style);
        if (text.IsEmpty())
            y += memory.GetTextExtent("W").cy;
        else
        {
            CRect place(rcClient.left, y, rcClient.right, rcClient.bottom);
            y += memory.DrawText(text, &place, kLineFormat);
        }
        memory.SelectObject(pDefaultFont);
    }
}

void CCreditStatic::OnPaint()
{
    CPaintDC dc(this);
    if (m_nTimer != 0)
        return;
    CRect client;
    GetClientRect(&client);
    if (m_bmpCanvas.GetSafeHandle() == nullptr)
    {
        DrawCredit(dc, client);
        // The still picture is composed with the image once and kept.
        CBitmap composed;
        if (composed.CreateCompatibleBitmap(&dc, client.Width(), client.Height()))
        {
            CSelectedBitmap result(&dc, composed);
            if (result)
            {
                AddBackGround(result.Dc(), client, client);
                CSelectedBitmap canvas(&dc, m_bmpCanvas);
                if (canvas)
                    canvas.Dc().BitBlt(0, 0, client.Width(), client.Height(), &result.Dc(), 0, 0,
                                       SRCCOPY);
            }
        }
    }
    CSelectedBitmap canvas(&dc, m_bmpCanvas);
    if (canvas)
        dc.BitBlt(0, 0, client.Width(), client.Height(), &canvas.Dc(), 0, 0, SRCCOPY);
}

void CCreditStatic::OnDestroy()
{
    CStatic::OnDestroy();
    m_lines.RemoveAll();
    m_posNext = nullptr;
}

BOOL CCreditStatic::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
