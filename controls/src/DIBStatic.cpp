#include "DIBStatic.h"

#include "AfxWinDC.h"
#include "PicturePaint.h"

IMPLEMENT_DYNAMIC(CDIBStatic, CStatic)

BEGIN_MESSAGE_MAP(CDIBStatic, CStatic)
ON_WM_CTLCOLOR_REFLECT()
ON_WM_QUERYNEWPALETTE()
ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

BOOL CDIBStatic::LoadDib(LPCSTR lpszPath)
{
    try
    {
        CFile file(lpszPath, CFile::modeRead | CFile::shareDenyWrite);
        return LoadDib(file);
    }
    catch (CFileException* e)
    {
        e->Delete();
        return FALSE;
    }
}

BOOL CDIBStatic::LoadDib(CFile& file)
{
    const BOOL bRead = m_dib.Read(file) != 0;
    DoRealizePalette(FALSE);
    PaintDib(IsValidDib());
    return bRead;
}

void CDIBStatic::SetFitWindow(BOOL bFit)
{
    if (bFit == m_bFitWindow)
        return;
    m_bFitWindow = bFit;
    Invalidate(FALSE);
    UpdateWindow();
}

void CDIBStatic::RemoveDib()
{
    m_dib.Invalidate();
    Invalidate();
    UpdateWindow();
}

void CDIBStatic::SetPrompt(LPCSTR lpszPrompt)
{
    m_strPrompt = lpszPrompt;
    Invalidate();
}

void CDIBStatic::SetPromptFont(int nHeight, int nWidth)
{
    m_nPromptFontHeight = nHeight;
    m_nPromptFontWidth = nWidth;
    Invalidate();
}

void CDIBStatic::SetAlign(BOOL bLeft, BOOL bTop)
{
    m_bAlignLeft = bLeft;
    m_bAlignTop = bTop;
    Invalidate();
}

void CDIBStatic::ClearDib()
{
    if (m_hWnd == nullptr)
        return;
    CClientDC dc(this);
    CRect inner;
    GetClientRect(&inner);
    inner.DeflateRect(1, 1);
    dc.FillRect(&inner, CBrush::FromHandle(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
}

void CDIBStatic::PaintDib(BOOL bHasDib)
{
    if (m_hWnd == nullptr)
        return;
    ClearDib();
    CClientDC dc(this);
    CRect target;
    GetClientRect(&target);
    target.DeflateRect(1, 1);
    if (bHasDib)
    {
        const int width = int(m_dib.Width());
        const int height = int(m_dib.Height());
        CRect place =
            GetPictureRect(target, width, height, m_bFitWindow, m_bAlignLeft, m_bAlignTop);
        CRect source(0, 0, width, height);
        m_dib.Paint(dc.GetSafeHdc(), &place, &source);
    }
    else if (m_strPrompt.IsEmpty())
    {
        dc.MoveTo(target.left, target.top);
        dc.LineTo(target.right, target.bottom);
        dc.MoveTo(target.left, target.bottom);
        dc.LineTo(target.right, target.top);
    }
    else
    {
        PaintPrompt(dc);
    }
}

void CDIBStatic::PaintPrompt(CDC& dc)
{
    PaintEmbossedPrompt(*this, dc, m_strPrompt, m_nPromptFontHeight, m_nPromptFontWidth);
}

BOOL CDIBStatic::DoRealizePalette(BOOL bForceBackground)
{
    if (!IsValidDib())
        return TRUE;
    CPalette* palette = m_dib.GetPalette();
    if (palette == nullptr || m_hWnd == nullptr)
        return FALSE;
    UINT nChanged = 0;
    {
        CClientDC dc(this);
        CPalette* oldPalette = dc.SelectPalette(palette, bForceBackground);
        nChanged = dc.RealizePalette();
        if (oldPalette != nullptr)
            dc.SelectPalette(oldPalette, TRUE);
    }
    if (nChanged == 0)
        return FALSE;
    Invalidate();
    UpdateWindow();
    return TRUE;
}

HBRUSH CDIBStatic::CtlColor(CDC*, UINT)
{
    PaintDib(IsValidDib());
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

BOOL CDIBStatic::OnQueryNewPalette()
{
    return DoRealizePalette(FALSE);
}

void CDIBStatic::OnPaletteChanged(CWnd*)
{
    DoRealizePalette(TRUE);
}
