#include "MetaView.h"

#include "DICOMImage.h"
#include "DataConfig.h"
#include "ImageShow.h"
#include "ORoi.h"
#include "PaneGeometry.h"
#include "QuillonLog.h"

#include <cmath>

IMPLEMENT_DYNCREATE(MetaView, CViewPort)

BEGIN_MESSAGE_MAP(MetaView, CViewPort)
ON_WM_SIZE()
END_MESSAGE_MAP()

namespace
{

const char* const AfterDrawHandlerName = "MetaView::OnAfterDrawImage";
constexpr COLORREF ShutterVeilColor = 0x007F7F7F;
constexpr int TargetRings = 3;

// Source pixels a display filter reads beyond a destination pixel: the three
// lobes of the resampling filter, widened when shrinking, and one for the
// rounding of the edges. Rendering this much more than is visible keeps the
// visible pixels the same however the field of view is cut.
int FilterMargin(double zoom)
{
    const double reach = zoom < 1.0 ? 3.0 / zoom : 3.0;
    return TruncateToInt(std::ceil(reach)) + 1;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The longest ruler of 1-2-5 steps in millimetres that fits the length.
int RulerMillimetres(double pixelsPerMillimetre, int available)
{
    static const int steps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};
    int chosen = 0;
    for (int step : steps)
    {
        if (step * pixelsPerMillimetre <= available)
        {
            chosen = step;
        }
    }
    return chosen;
}

} // namespace

bool MetaView::IsFitDisplayMode(int mode)
{
    return mode == 16 || mode == 256 || mode == 512 || mode == 1024 || mode == 2048;
}

MetaView::MetaView() = default;

MetaView::~MetaView()
{
    GetPaintEvent().Remove(MakeAfterDrawHandler());
}

DelegateHandler* MetaView::MakeAfterDrawHandler()
{
    return MakeHandler(this, &MetaView::OnAfterDrawImage, AfterDrawHandlerName);
}

BOOL MetaView::PreCreateWindow(CREATESTRUCT& cs)
{
    // The pane paints nothing under its preview children or over the panes
    // beside it.
    cs.style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return CViewPort::PreCreateWindow(cs);
}

void MetaView::OnSize(UINT nType, int cx, int cy)
{
    LayoutForSize();
    UpdateFontForSize(nullptr);
    if (GetFitFactor() > 0.0 && m_pShow != nullptr)
    {
        UpdateZoomText();
        ApplyViewToShow();
        UpdateImage();
    }
    Refresh();
    CWnd::OnSize(nType, cx, cy);
}

void MetaView::GetImageSize(SIZE* size) const
{
    if (size == nullptr)
    {
        return;
    }
    *size = {0, 0};
    if (m_pShow == nullptr)
    {
        return;
    }
    const SIZE current = m_pShow->GetImageSize();
    if (current.cx > 0 && current.cy > 0)
    {
        m_LastImageSize = current;
    }
    *size = m_LastImageSize;
}

void MetaView::UpdateImage()
{
    if (m_pShow != nullptr)
    {
        m_pShow->BuildChain();
    }
    if (m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
}

void MetaView::UpdateImageNow()
{
    if (m_pShow != nullptr)
    {
        m_pShow->BuildChain();
    }
    Refresh();
}

void MetaView::ReleaseImageData()
{
    if (m_pShow != nullptr)
    {
        m_pShow->ReleaseImageData();
    }
}

void MetaView::ReleaseDisplayCache()
{
    if (m_pShow != nullptr)
    {
        m_pShow->ReleaseFOVImage();
    }
}

void MetaView::ReleasePixelData()
{
    if (m_pShow != nullptr)
    {
        m_pShow->ReleasePixels();
    }
}

void MetaView::ResetImage()
{
    if (m_pShow != nullptr)
    {
        m_pShow->Reset();
    }
}

void MetaView::FlipHorizontal()
{
    if (m_pShow == nullptr)
    {
        return;
    }
    m_pShow->FlipHorizontal();
    m_pShow->ReleaseFOVImage();
    UpdateImage();
}

void MetaView::FlipVertical()
{
    if (m_pShow == nullptr)
    {
        return;
    }
    m_pShow->FlipVertical();
    m_pShow->ReleaseFOVImage();
    UpdateImage();
}

void MetaView::Rotate(int quarterTurns)
{
    if (m_pShow == nullptr)
    {
        return;
    }
    CRect before;
    GetImageScreenRect(&before);
    m_pShow->Rotate(quarterTurns);
    m_pShow->EnsureLoaded();
    UpdateFitFactor();
    CRect after;
    GetImageScreenRect(&after);
    const int dx = (before.left + before.right) / 2 - (after.left + after.right) / 2;
    const int dy = (before.top + before.bottom) / 2 - (after.top + after.bottom) / 2;
    const int panX = m_ptPan.x + dx;
    const int panY = m_ptPan.y + dy;
    m_ptPan.x = panX == 1 || panX == -1 ? 0 : panX;
    m_ptPan.y = panY == 1 || panY == -1 ? 0 : panY;
    ApplyViewToShow();
    m_pShow->ReleaseFOVImage();
    UpdateImage();
}

void MetaView::Invert()
{
    if (m_pShow == nullptr)
    {
        return;
    }
    m_pShow->Invert();
    m_pShow->ReleaseFOVImage();
    UpdateImage();
}

void MetaView::ZoomAt(double zoom, POINT anchor)
{
    if (zoom <= 0.0 || m_dZoom <= 0.0)
    {
        return;
    }
    const FloatPoint screen = {float(anchor.x), float(anchor.y)};
    FloatPoint image;
    ScreenToImageF(&image, &screen);
    m_dZoom = zoom;
    m_ptPan.x = RoundHalfAway(anchor.x - m_rcDisplay.left - image.x * zoom);
    m_ptPan.y = RoundHalfAway(anchor.y - m_rcDisplay.top - image.y * zoom);
    if (m_pShow != nullptr)
    {
        ApplyViewToShow();
        UpdateImage();
        UpdateZoomText();
    }
}

void MetaView::CommitZoom()
{
    UpdateZoomText();
    if (m_pShow != nullptr)
    {
        m_pShow->SetZoom(m_dZoom);
        m_pShow->SetPan(m_ptPan.x, m_ptPan.y);
        m_pShow->SetDisplayMode(1);
    }
}

void MetaView::OnZoomEnd()
{
    CommitZoom();
}

void MetaView::PanBy(int dx, int dy)
{
    m_ptPan.Offset(dx, dy);
    if (m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
}

void MetaView::CommitPan()
{
    if (m_pShow != nullptr)
    {
        m_pShow->SetPan(m_ptPan.x, m_ptPan.y);
        m_pShow->SetDisplayMode(1);
    }
}

void MetaView::OnPanEnd()
{
    CommitPan();
}

void MetaView::BeginZoomDrag() {}

void MetaView::BeginPanDrag() {}

void MetaView::OnWindowLevelStart(int* width, int* center)
{
    if (width == nullptr || center == nullptr)
    {
        return;
    }
    *width = -1;
    *center = -1;
    if (m_pShow == nullptr || m_pShow->GetMetaImage() == nullptr)
    {
        return;
    }
    DicomLookupTable* table = m_pShow->GetMetaImage()->GetCurrentLUT();
    if (table == nullptr)
    {
        return;
    }
    *width = table->GetWindowWidth();
    *center = table->GetWindowCenter();
    ApplyLookupTable(table);
}

void MetaView::SetWindowLevelText(int width, int center)
{
    if (m_pShow == nullptr)
    {
        return;
    }
    m_pShow->SetWindowLevel(width, center);
    if (ViewLabel* label = GetSpecialLabel(enWindowLevelLabel))
    {
        Lettra text;
        text.Format("W:%d L:%d", width, center);
        label->SetText(text);
    }
    UpdateImageNow();
}

void MetaView::OnWindowLevelEnd() {}

void MetaView::OnWindowLeveled(int width, int center)
{
    quillon::_debug("Enter MetaView::OnWindowLeveled, PAN <%d, %d>, ZOOM <%f>", m_ptPan.x,
                    m_ptPan.y, m_dZoom);
    UpdateZoomText();
    if ((width != 0 || center != 0) && m_pShow != nullptr)
    {
        m_pShow->ReleaseFOVImage();
        UpdateImage();
    }
    OnWindowLevelEnd();
}

int MetaView::GetWindowLevelStep()
{
    if (m_pShow == nullptr)
    {
        return 1;
    }
    if (DICOMImage* image = m_pShow->GetDicomImage())
    {
        const Lettra modality = image->GetLettra(0x0008, 0x0060).Trim();
        if (modality == "CT" || modality == "MR")
        {
            return 2;
        }
    }
    const MetaMatrix* matrix =
        m_pShow->GetMetaImage() != nullptr ? m_pShow->GetMetaImage()->GetMatrix() : nullptr;
    if (matrix == nullptr)
    {
        return 1;
    }
    const int bits = matrix->GetData()->nBitsStored;
    if (bits < 10)
    {
        return 1;
    }
    if (bits < 12)
    {
        return 2;
    }
    if (bits == 14)
    {
        return 10;
    }
    return 5;
}

void MetaView::DrawRuler(CDC* pDC, COLORREF line, COLORREF text)
{
    constexpr int EdgeGap = 16;
    constexpr int LongTick = 8;
    constexpr int ShortTick = 4;
    if (m_pShow == nullptr || m_dZoom <= 0.0 || m_pShow->GetPixelSpacingY() <= 0.0)
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    const double pixelsPerMillimetre = m_dZoom / m_pShow->GetPixelSpacingY();
    const int millimetres = RulerMillimetres(pixelsPerMillimetre, client.Height() / 3);
    if (millimetres == 0)
    {
        return;
    }
    const int length = RoundHalfAway(millimetres * pixelsPerMillimetre);
    const int x = client.right - EdgeGap;
    const int top = client.top + (client.Height() - length) / 2;
    DrawLine(pDC, x, top, x, top + length + 1, line);
    // Ten divisions when they stand apart, else the ends and the middle.
    const int divisions = length / 10 >= 3 ? 10 : 2;
    for (int tick = 0; tick <= divisions; ++tick)
    {
        const int y = top + RoundHalfAway(double(length) * tick / divisions);
        const bool major = tick == 0 || tick == divisions || 2 * tick == divisions;
        DrawLine(pDC, x - (major ? LongTick : ShortTick), y, x, y, line);
    }
    Lettra caption;
    if (millimetres >= 10)
    {
        caption.Format("%dcm", millimetres / 10);
    }
    else
    {
        caption.Format("%dmm", millimetres);
    }
    const CSize extent = pDC->GetTextExtent(caption.constBuffer());
    const COLORREF oldColor = pDC->SetTextColor(text);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->TextOut(x - extent.cx, top + length + 2, caption.constBuffer());
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColor);
}

void MetaView::UpdateZoomText()
{
    if (ViewLabel* ratio = GetSpecialLabel(enRatioLabel))
    {
        Lettra text;
        // An unset zoom (a view that laid nothing out) is no magnification.
        if (m_dZoom <= 0.0)
        {
            text = "";
        }
        else if (std::fabs(m_dZoom - 0.1) < 0.005)
        {
            text = "Mag:0.1";
        }
        else if (std::fabs(m_dZoom - 0.2) < 0.005)
        {
            text = "Mag:0.2";
        }
        else if (std::fabs(m_dZoom - 0.25) < 0.005)
        {
            text = "Mag:0.25";
        }
        else if (m_dZoom >= 10.0)
        {
            text.Format("Mag:%4.1f", m_dZoom);
        }
        else
        {
            text.Format("Mag:%4.2fx", m_dZoom);
        }
        ratio->SetText(text);
    }
    const MetaImage* image = m_pShow != nullptr ? m_pShow->GetMetaImage() : nullptr;
    ViewLabel* windowLevel = GetSpecialLabel(enWindowLevelLabel);
    if (windowLevel != nullptr && image != nullptr && image->GetCurrentLUT() != nullptr)
    {
        Lettra text;
        text.Format("W:%d L:%d", image->GetWindowWidth(), image->GetWindowCenter());
        windowLevel->SetText(text);
    }
    ViewLabel* size = GetSpecialLabel(enSizeLabel);
    SIZE imageSize;
    GetImageSize(&imageSize);
    if (size != nullptr && imageSize.cx > 0)
    {
        Lettra text;
        text.Format("%d x %d", int(imageSize.cx), int(imageSize.cy));
        size->SetText(text);
    }
}

void MetaView::BuildOverlayText()
{
    RemoveInfoLabels();
    SetSpecialLabel(enSizeLabel, AddLabel(ViewLabel::enBottomLeft, "Zoom:"));
    SetSpecialLabel(enWindowLevelLabel, AddLabel(ViewLabel::enBottomLeft, "WW/WL:"));
    SetSpecialLabel(enRatioLabel, AddLabel(ViewLabel::enBottomLeft, "Mag:"));
    UpdateZoomText();
}

void MetaView::RemoveInfoLabels()
{
    for (int slot : {enSizeLabel, enWindowLevelLabel, enRatioLabel})
    {
        ViewLabel* label = GetSpecialLabel(slot);
        if (label == nullptr)
        {
            continue;
        }
        GetLabels(label->GetPosition()).Remove(label);
        delete label;
        SetSpecialLabel(slot, nullptr);
    }
}

bool MetaView::AttachShow(ImageShow* show)
{
    m_bShutterEnabled = true;
    m_pShow = show;
    m_LastImageSize = {0, 0};
    if (show == nullptr)
    {
        quillon::_debug("Leave MetaView::AttachShow, m_ImageShow is NULL");
        return false;
    }
    show->SetView(this);
    show->EnsureLoaded();
    m_dZoom = show->GetZoom();
    const POINT pan = show->GetPan();
    m_ptPan = pan;
    UpdateFitFactor();
    if (IsFitDisplayMode(show->GetDisplayMode()))
    {
        m_dZoom = ClampZoom(m_dFitFactor);
        m_ptPan = CPoint(0, 0);
        CenterImage();
        ApplyViewToShow();
    }
    else if (show->GetDisplayMode() == 2)
    {
        ZoomToImageRect(show->GetViewRect());
    }
    else
    {
        ApplyViewToShow();
    }
    show->SetDisplayMode(1);
    GetPaintEvent().Add(MakeAfterDrawHandler());
    UpdateZoomText();
    UpdateImage();
    return true;
}

void MetaView::DetachImage()
{
    if (m_pShow != nullptr)
    {
        m_pShow->ReleaseImageData();
    }
}

void MetaView::DetachShow()
{
    GetPaintEvent().Remove(MakeAfterDrawHandler());
    DetachImage();
    if (m_pShow != nullptr)
    {
        m_pShow->SetView(nullptr);
    }
    m_pShow = nullptr;
    m_LastImageSize = {0, 0};
    ResetView();
}

bool MetaView::AutoWindowLevel()
{
    if (m_pShow == nullptr || m_pShow->GetMetaImage() == nullptr)
    {
        return false;
    }
    DicomLookupTable* table = m_pShow->GetAutomaticWindow();
    if (table == nullptr)
    {
        quillon::_warning("Leave MetaView::AutoWindowLevel, cannot find LUT to do AutoWindowLevel");
        return false;
    }
    ApplyLookupTable(table);
    OnWindowLevelEnd();
    return true;
}

bool MetaView::ApplyLookupTable(DicomLookupTable* table)
{
    MetaImage* image = m_pShow != nullptr ? m_pShow->GetMetaImage() : nullptr;
    if (image == nullptr || table == nullptr)
    {
        return false;
    }
    LUTList& tables = image->GetLUTs();
    int index = -1;
    for (int at = 0; at < tables.GetCount(); ++at)
    {
        index = tables.GetAt(at) == table ? at : index;
    }
    if (index < 0 || tables.GetCurrent() == table)
    {
        return false;
    }
    tables.SetCurrent(table);
    // The field of view maps through its copy of the same list.
    MetaImage* fov = m_pShow->GetFOVImage();
    if (fov != nullptr && index < fov->GetLUTs().GetCount())
    {
        fov->GetLUTs().SetCurrent(fov->GetLUTs().GetAt(index));
    }
    UpdateZoomText();
    UpdateImage();
    return true;
}

void MetaView::SetPan(int x, int y)
{
    m_ptPan = CPoint(x, y);
    if (m_pShow != nullptr)
    {
        UpdateZoomText();
        ApplyViewToShow();
        UpdateImage();
    }
}

void MetaView::SetZoom(double zoom)
{
    if (zoom == m_dZoom)
    {
        return;
    }
    m_dZoom = zoom;
    if (m_pShow != nullptr)
    {
        ApplyViewToShow();
        UpdateImage();
        UpdateZoomText();
    }
}

void MetaView::SetZoomClamped(double zoom)
{
    SetZoom(ClampZoom(zoom));
}

double MetaView::ClampZoom(double zoom) const
{
    const double fit = m_dFitFactor;
    if (zoom < MinZoom)
    {
        if (fit > MinZoom)
        {
            return MinZoom;
        }
        zoom = zoom > fit ? zoom : fit;
    }
    if (zoom <= MaxZoom)
    {
        return zoom;
    }
    if (fit > MaxZoom)
    {
        return zoom < fit ? zoom : fit;
    }
    return MaxZoom;
}

void MetaView::ComputeFieldOfView(RECT* fov, SIZE* screenSize) const
{
    SIZE size;
    GetImageSize(&size);
    *fov = {0, 0, size.cx, size.cy};
    if (!m_rcDisplay.IsRectEmpty() && m_dZoom > 0.0)
    {
        const int margin = FilterMargin(m_dZoom);
        const double left = (m_rcDisplay.left - m_rcDisplay.left - m_ptPan.x) / m_dZoom;
        const double top = (m_rcDisplay.top - m_rcDisplay.top - m_ptPan.y) / m_dZoom;
        const double right = left + m_rcDisplay.Width() / m_dZoom;
        const double bottom = top + m_rcDisplay.Height() / m_dZoom;
        *fov = {ClampInt(TruncateToInt(std::floor(left)) - margin, 0, size.cx),
                ClampInt(TruncateToInt(std::floor(top)) - margin, 0, size.cy),
                ClampInt(TruncateToInt(std::ceil(right)) + margin, 0, size.cx),
                ClampInt(TruncateToInt(std::ceil(bottom)) + margin, 0, size.cy)};
    }
    const POINT topLeft = ImageToScreen(fov->left, fov->top);
    const POINT bottomRight = ImageToScreen(fov->right, fov->bottom);
    *screenSize = {bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
}

void MetaView::ApplyViewToShow()
{
    if (m_pShow == nullptr)
    {
        return;
    }
    m_pShow->SetZoom(m_dZoom);
    m_pShow->SetPan(m_ptPan.x, m_ptPan.y);
    m_pShow->SetDisplayMode(1);
    RECT fov;
    SIZE screenSize;
    ComputeFieldOfView(&fov, &screenSize);
    const SIZE held = m_pShow->GetViewSize();
    // An unchanged field of view keeps its cached, scaled matrix.
    if (!SameRect(fov, m_pShow->GetViewRect()) || held.cx != screenSize.cx ||
        held.cy != screenSize.cy)
    {
        m_pShow->SetViewRect(fov, screenSize);
    }
}

CRect MetaView::GetFieldOfViewScreenRect() const
{
    if (m_pShow == nullptr)
    {
        return CRect(0, 0, 0, 0);
    }
    const RECT& fov = m_pShow->GetViewRect();
    const POINT topLeft = ImageToScreen(fov.left, fov.top);
    const POINT bottomRight = ImageToScreen(fov.right, fov.bottom);
    return CRect(topLeft, bottomRight);
}

bool MetaView::FitsInRect(RECT rect) const
{
    rect.left = rect.left == 1 ? 0 : rect.left;
    rect.top = rect.top == 1 ? 0 : rect.top;
    SIZE size;
    GetImageSize(&size);
    return size.cx <= rect.right - rect.left + 1 && size.cy <= rect.bottom - rect.top + 1;
}

void MetaView::GetInnerRect(RECT* out) const
{
    if (out == nullptr)
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    client.DeflateRect(client.Width() / 6, client.Height() / 6);
    *out = client;
}

void MetaView::ZoomToImageRect(const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || m_rcDisplay.IsRectEmpty())
    {
        ApplyViewToShow();
        return;
    }
    const double across = double(m_rcDisplay.Width()) / width;
    const double down = double(m_rcDisplay.Height()) / height;
    m_dZoom = across < down ? across : down;
    const CPoint centre = m_rcDisplay.CenterPoint();
    m_ptPan.x = RoundHalfAway(centre.x - m_rcDisplay.left - (rect.left + width / 2.0) * m_dZoom);
    m_ptPan.y = RoundHalfAway(centre.y - m_rcDisplay.top - (rect.top + height / 2.0) * m_dZoom);
    ApplyViewToShow();
    UpdateImage();
    UpdateZoomText();
}

bool MetaView::SetShutterLayer(bool enabled)
{
    const bool old = m_bShutterEnabled;
    m_bShutterEnabled = enabled;
    return old;
}

void MetaView::OnAfterDrawImage(const void*, DelegateArgs* args)
{
    auto* paint = dynamic_cast<PointerDelegateArgs*>(args);
    CDC* pDC = paint != nullptr ? static_cast<CDC*>(paint->m_pPointer) : nullptr;
    if (m_pShow == nullptr || pDC == nullptr)
    {
        return;
    }
    if (m_bRulerShown)
    {
        DrawRuler(pDC, RGB(255, 255, 255), RGB(255, 255, 255));
    }
    if (m_bTargetShown)
    {
        DrawTargetMark(pDC);
    }
}

void MetaView::DrawTargetMark(CDC* pDC)
{
    const CPoint centre = m_rcDisplay.CenterPoint();
    DrawTarget(pDC, centre.x, centre.y, TargetRings);
}

void MetaView::SetWindowLevel(int width, int center)
{
    if (m_pShow == nullptr)
    {
        return;
    }
    m_pShow->SetWindowLevel(width, center);
    UpdateZoomText();
    RedrawImage();
}

void MetaView::RedrawImage()
{
    if (m_pShow != nullptr)
    {
        m_pShow->ReleaseFOVImage();
    }
    UpdateImage();
}

void MetaView::UpdateOrientationLabels(ImageShow* show)
{
    static const std::pair<ImageShow::enSide, int> sides[] = {
        {ImageShow::enLeft, ViewLabel::enLeft},
        {ImageShow::enRight, ViewLabel::enRight},
        {ImageShow::enTop, ViewLabel::enTop},
        {ImageShow::enBottom, ViewLabel::enBottom}};
    for (const auto& [side, position] : sides)
    {
        ClearLabels(position);
        if (show == nullptr)
        {
            continue;
        }
        Array<Lettra>& words = show->GetSideLabels(side);
        for (auto* node = words.GetHead(); node != nullptr; node = node->next)
        {
            AddLabel(position, node->item.constBuffer());
        }
    }
}

void MetaView::DrawImage(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(0, 0, 0));
    if (m_pShow == nullptr)
    {
        return;
    }
    m_pShow->InvokeChain();
    UpdateZoomText();
    const DIBHolder& dib = m_pShow->GetDIB();
    if (dib.IsEmpty())
    {
        ClearDIB();
        return;
    }
    SetPixelByPixel(m_pShow->IsFOVMode());
    const CPoint origin = GetFieldOfViewScreenRect().TopLeft();
    SetDIB(dib, m_pShow->IsFOVMode() ? &origin : nullptr);
    CViewPort::DrawImage(pDC);
}

ORoi* MetaView::GetShutter() const
{
    if (m_pShow == nullptr || !m_bShutterEnabled || !m_bShutterShown)
    {
        return nullptr;
    }
    return m_pShow->GetMask();
}

void MetaView::DrawOverlayLayerBelow(CDC* pDC)
{
    const int alpha = DataConfig::Get().nAlphaOfShutter;
    ORoi* shutter = GetShutter();
    if (shutter == nullptr || (alpha >= 0 && alpha <= 255))
    {
        return;
    }
    CRgn opening;
    if (shutter->GetScreenRegion(&opening))
    {
        pDC->SelectClipRgn(&opening);
    }
}

void MetaView::DrawOverlayLayerAbove(CDC* pDC)
{
    const int alpha = DataConfig::Get().nAlphaOfShutter;
    ORoi* shutter = GetShutter();
    if (shutter == nullptr)
    {
        return;
    }
    if (alpha >= 0 && alpha <= 255)
    {
        CRect client;
        GetClientRect(&client);
        CRect image;
        GetImageScreenRect(&image);
        CRect veiled;
        CRgn opening;
        if (veiled.IntersectRect(&client, &image) && shutter->GetScreenRegion(&opening))
        {
            pDC->SelectClipRgn(&opening, RGN_DIFF);
            CDC memory;
            CBitmap grey;
            if (memory.CreateCompatibleDC(pDC) &&
                grey.CreateCompatibleBitmap(pDC, veiled.Width(), veiled.Height()))
            {
                CBitmap* old = memory.SelectObject(&grey);
                memory.FillSolidRect(0, 0, veiled.Width(), veiled.Height(), ShutterVeilColor);
                const BLENDFUNCTION blend = {AC_SRC_OVER, 0, BYTE(alpha), 0};
                pDC->AlphaBlend(veiled.left, veiled.top, veiled.Width(), veiled.Height(), &memory,
                                0, 0, veiled.Width(), veiled.Height(), blend);
                memory.SelectObject(old);
            }
        }
    }
    pDC->SelectClipRgn(nullptr);
    if (shutter->IsShown())
    {
        shutter->Draw(pDC);
    }
}

void MetaView::CopyViewState(const CViewPort& other)
{
    CViewPort::CopyViewState(other);
    const auto* view = dynamic_cast<const MetaView*>(&other);
    if (view == nullptr)
    {
        return;
    }
    m_bRulerShown = view->m_bRulerShown;
    m_bTargetShown = view->m_bTargetShown;
    m_bShutterEnabled = view->m_bShutterEnabled;
    m_bShutterShown = view->m_bShutterShown;
    const MetaImage* image = view->m_pShow != nullptr ? view->m_pShow->GetMetaImage() : nullptr;
    if (m_pShow != nullptr && image != nullptr && image->GetCurrentLUT() != nullptr)
    {
        m_pShow->SetWindowLevel(image->GetWindowWidth(), image->GetWindowCenter());
    }
    ApplyViewToShow();
    UpdateImage();
}
