// The sine-wave marquee.
#include "SinusLabel.h"

#include "WinMbString.h"

#include <cmath>

namespace
{
constexpr UINT_PTR kScrollTimer = 1;
constexpr UINT kScrollInterval = 15;
constexpr int kWaveLength = 720; // half-degree entries of one turn
constexpr int kShift = 2;        // pixels the text moves each tick
constexpr double kDegree = 0.017453292522222223;
const COLORREF kTextColour = RGB(255, 255, 192);
} // namespace

BEGIN_MESSAGE_MAP(CSinusLabel, CStatic)
ON_WM_SIZE()
ON_WM_FONTCHANGE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

CSinusLabel::CSinusLabel()
{
    for (int i = 0; i < kWaveLength; ++i)
        m_sinTable[i] = std::sin(i * 0.5 * kDegree);
}

CSinusLabel::~CSinusLabel()
{
    Cleanup();
}

void CSinusLabel::SetText(const char* pszText)
{
    m_strText = pszText != nullptr ? pszText : "";
    m_nCharIndex = 0;
    m_bInitialised = false;
}

void CSinusLabel::SetFont(CFont* pFont)
{
    m_pFont = pFont;
    m_nCharIndex = 0;
    m_bInitialised = false;
}

void CSinusLabel::Start()
{
    Stop();
    m_bRunning = true;
    Initialize();
    m_nTimerID = SetTimer(kScrollTimer, kScrollInterval, &TimerProc);
}

void CSinusLabel::Stop()
{
    if (m_nTimerID != 0)
        KillTimer(m_nTimerID);
    m_nTimerID = 0;
    m_bRunning = false;
}

void CSinusLabel::TimerProc(HWND hWnd, UINT, UINT_PTR, DWORD)
{
    if (auto* pLabel = dynamic_cast<CSinusLabel*>(CWnd::FromHandlePermanent(hWnd)))
        pLabel->Scroll();
}

void CSinusLabel::OnSize(UINT nType, int cx, int cy)
{
    CStatic::OnSize(nType, cx, cy);
    m_bInitialised = false;
}

void CSinusLabel::OnFontChange()
{
    CStatic::OnFontChange();
    m_bInitialised = false;
}

void CSinusLabel::OnClose()
{
    Stop();
    CStatic::OnClose();
}

// ---------------------------------------------------------------- buffers

void CSinusLabel::Initialize()
{
    if (m_bInitialised || GetSafeHwnd() == nullptr)
        return;
    CClientDC dc(this);
    CFont* pOldFont = m_pFont != nullptr ? dc.SelectObject(m_pFont) : nullptr;
    TEXTMETRICA tm{};
    dc.GetTextMetrics(&tm);
    if (pOldFont != nullptr)
        dc.SelectObject(pOldFont);
    m_nMaxCharWidth = tm.tmMaxCharWidth;
    m_nCharHeight = tm.tmHeight;
    GetClientRect(&m_rcClient);
    Cleanup();
    m_rcStrip = CRect(0, 0, m_rcClient.Width() + m_nMaxCharWidth, m_nCharHeight);
    m_pStripDC = new CDC;
    m_pStripBitmap = new CBitmap;
    m_pCanvasDC = new CDC;
    m_pCanvasBitmap = new CBitmap;
    if (!m_pStripDC->CreateCompatibleDC(&dc) ||
        !m_pStripBitmap->CreateCompatibleBitmap(&dc, m_rcStrip.Width(), m_rcStrip.Height()) ||
        !m_pCanvasDC->CreateCompatibleDC(&dc) ||
        !m_pCanvasBitmap->CreateCompatibleBitmap(&dc, m_rcClient.Width(), m_rcClient.Height()))
    {
        // The label stays blank.
        Cleanup();
        return;
    }
    m_pOldStripBitmap = m_pStripDC->SelectObject(m_pStripBitmap);
    m_pStripDC->PatBlt(0, 0, m_rcStrip.Width(), m_rcStrip.Height(), BLACKNESS);
    m_pStripDC->SetTextColor(kTextColour);
    m_pStripDC->SetBkColor(RGB(0, 0, 0));
    if (m_pFont != nullptr)
        m_pStripDC->SelectObject(m_pFont);
    m_pOldCanvasBitmap = m_pCanvasDC->SelectObject(m_pCanvasBitmap);
    m_pCanvasDC->PatBlt(0, 0, m_rcClient.Width(), m_rcClient.Height(), BLACKNESS);
    // What was being fed went with the old strip.
    m_nPixelsLeft = 0;
    m_bInitialised = true;
}

void CSinusLabel::Cleanup()
{
    if (m_pStripDC != nullptr && m_pOldStripBitmap != nullptr)
        m_pStripDC->SelectObject(m_pOldStripBitmap);
    if (m_pCanvasDC != nullptr && m_pOldCanvasBitmap != nullptr)
        m_pCanvasDC->SelectObject(m_pOldCanvasBitmap);
    m_pOldStripBitmap = nullptr;
    m_pOldCanvasBitmap = nullptr;
    delete m_pStripDC;
    delete m_pCanvasDC;
    delete m_pStripBitmap;
    delete m_pCanvasBitmap;
    m_pStripDC = nullptr;
    m_pCanvasDC = nullptr;
    m_pStripBitmap = nullptr;
    m_pCanvasBitmap = nullptr;
    m_bInitialised = false;
}

// ---------------------------------------------------------------- scrolling

void CSinusLabel::Scroll()
{
    if (!m_bInitialised || !m_bRunning)
    {
        Initialize();
        return;
    }
    DoCharBlit();
    DoSinScroll();
    CClientDC dc(this);
    dc.BitBlt(0, 0, m_rcClient.Width(), m_rcClient.Height(), m_pCanvasDC, 0, 0, SRCCOPY);
}

void CSinusLabel::DoCharBlit()
{
    if (m_nPixelsLeft > 0 || m_strText.IsEmpty())
        return;
    const CString ch = GetNextChar();
    const int nClientWidth = m_rcClient.Width();
    m_pStripDC->PatBlt(nClientWidth, 0, m_rcStrip.Width() - nClientWidth, m_rcStrip.Height(),
                       BLACKNESS);
    m_pStripDC->TextOut(nClientWidth, m_rcStrip.top, ch);
    m_nPixelsLeft = m_pStripDC->GetTextExtent(ch).cx;
}

void CSinusLabel::DoSinScroll()
{
    m_pStripDC->BitBlt(0, 0, m_rcStrip.Width() - kShift, m_rcStrip.Height(), m_pStripDC, kShift, 0,
                       SRCCOPY);
    m_pCanvasDC->PatBlt(0, 0, m_rcClient.Width(), m_rcClient.Height(), BLACKNESS);
    GetNextSinusOffset();
    m_nWaveIndex = m_nPhase;
    const int nStripHeight = m_rcStrip.Height();
    // Centres the strip; the wave swings it by as much again.
    const int nBase = ((m_rcClient.Height() - 2 * nStripHeight) >> 1) + (nStripHeight >> 1);
    for (int i = 0; i < m_rcClient.Width(); ++i)
    {
        const int y = nBase + int(nBase * GetNextSinValue());
        m_pCanvasDC->BitBlt(i, y, 1, nStripHeight, m_pStripDC, i, 0, SRCCOPY);
    }
    m_nPixelsLeft -= kShift;
}

// One whole character of the text, the first after the last.
CString CSinusLabel::GetNextChar()
{
    if (m_nCharIndex >= m_strText.GetLength())
        m_nCharIndex = 0;
    const auto* pStart = reinterpret_cast<const unsigned char*>(LPCSTR(m_strText)) + m_nCharIndex;
    const int nLength = int(_mbsinc(pStart) - pStart);
    const CString ch = m_strText.Mid(m_nCharIndex, nLength);
    m_nCharIndex += nLength;
    return ch;
}

double CSinusLabel::GetNextSinValue()
{
    if (++m_nWaveIndex >= kWaveLength)
        m_nWaveIndex = 0;
    return m_sinTable[m_nWaveIndex];
}

void CSinusLabel::GetNextSinusOffset()
{
    m_nPhase += m_nStep;
    if (m_nStep > 0 && m_nPhase >= kWaveLength)
        m_nPhase = 0;
    else if (m_nStep < 0 && m_nPhase < 0)
        m_nPhase = kWaveLength - 1;
}
