#include "CineImage.h"

#include "QuillonLog.h"
#include "WebMedImage.h"
#include "WinInterlocked.h"

IMPLEMENT_DYNCREATE(CineImage, MedImage)

CineImage::CineImage() = default;

CineImage::~CineImage() = default;

bool CineImage::TakeBusy()
{
    return InterlockedCompareExchange(&m_nBusy, 1, 0) == 0;
}

void CineImage::FreeBusy()
{
    InterlockedCompareExchange(&m_nBusy, 0, 1);
}

void CineImage::Draw(CDC* pDC)
{
    if (!TakeBusy())
    {
        ValidateRect(nullptr);
        return;
    }
    MedImage::Draw(pDC);
    FreeBusy();
}

void CineImage::DrawImage(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(0, 0, 0));
    CViewPort::DrawImage(pDC);
}

void CineImage::BuildImageLabels(ImageShow* show)
{
    MedImage::BuildImageLabels(show);
    WebMedImage::AddPromptLabel(*this, m_strPrompt);
}

void CineImage::DoCineShow(ImageShow* image)
{
    if (image == nullptr || !TakeBusy())
    {
        return;
    }
    try
    {
        ImageShow frame(*image);
        image->CopyDisplayStateTo(frame);
        RenderFrame(frame);
        ++m_nFrames;
    }
    catch (...)
    {
        quillon::_error("Exception catched at CineImage::DoCineShow");
    }
    FreeBusy();
}

// The frame takes the pane's zoom and pan (those of the pane played over),
// its chain runs, and the pane keeps the picture and the labels; the frame
// is let go before it dies.
void CineImage::RenderFrame(ImageShow& frame)
{
    if (m_dZoom > 0.0)
    {
        frame.SetZoom(m_dZoom);
        frame.SetPan(m_ptPan.x, m_ptPan.y);
        frame.SetDisplayMode(1);
    }
    m_bOverlaysShown = false;
    m_bRulerShown = false;
    MetaView::AttachShow(&frame);
    frame.InvokeChain();
    BuildImageLabels(&frame);
    UpdateOrientationLabels(&frame);
    BuildOverlayText();
    SetPixelByPixel(frame.IsFOVMode());
    const CPoint origin = GetFieldOfViewScreenRect().TopLeft();
    SetDIB(frame.GetDIB(), frame.IsFOVMode() ? &origin : nullptr);
    GetPaintEvent().Remove(MakeAfterDrawHandler());
    frame.SetView(nullptr);
    m_pShow = nullptr;
    if (m_hWnd != nullptr)
    {
        CClientDC dc(this);
        MedImage::Draw(&dc);
        ValidateRect(nullptr);
    }
}
