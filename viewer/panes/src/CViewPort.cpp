#include "CViewPort.h"

#include "DibApi.h"
#include "MemDC.h"
#include "OverlayConfig.h"
#include "PaneFont.h"
#include "PaneGeometry.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CViewPort, CWnd)

BEGIN_MESSAGE_MAP(CViewPort, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_ERASEBKGND()
ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

namespace
{

HPALETTE s_hSharedPalette = nullptr;

// A centre offset of one pixel either way is rounding, not a pan.
int DropUnitOffset(int value)
{
    return value == 1 || value == -1 ? 0 : value;
}

} // namespace

CViewPort::CViewPort()
    : m_crText(OverlayConfig::Get().crText), m_crPen(OverlayConfig::Get().crRoi),
      m_PaintEvent("CViewPort::Paint")
{
    m_PaintEvent.SetTrace(false);
}

CViewPort::~CViewPort()
{
    if (m_hWnd != nullptr)
    {
        DestroyWindow();
    }
    delete m_pClientDC;
    if (m_hPalette != nullptr)
    {
        ::DeleteObject(m_hPalette);
    }
    m_PaintEvent.Clear();
    ClearAllLabels();
}

CFont* CViewPort::GetLabelFont()
{
    return &m_LabelFont;
}

void CViewPort::ResetView()
{
    if (m_hPalette != nullptr)
    {
        ::DeleteObject(m_hPalette);
        m_hPalette = nullptr;
    }
    m_dZoom = -1.0;
    m_dFitFactor = -1.0;
    m_nPenWidth = 1;
    m_DIB.Release();
    m_bDIBOriginSet = false;
    m_ptPan = CPoint(0, 0);
    for (ViewLabel*& label : m_pSpecialLabels)
    {
        label = nullptr;
    }
    if (m_hWnd != nullptr)
    {
        Invalidate(TRUE);
    }
}

void CViewPort::UpdateFontForSize(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    m_nFontSize = GetLabelFontSize(client.Width(), client.Height(), m_nFontSize);
    const LOGFONTA font = MakeLogFont(m_nFontSize, "Arial");
    // A font still selected into a DC cannot be deleted: the old one goes
    // once the new one has taken its place in the DCs.
    const HGDIOBJ hPrevious = m_LabelFont.Detach();
    m_LabelFont.CreateFontIndirect(&font);
    if (pDC != nullptr)
    {
        pDC->SelectObject(&m_LabelFont);
    }
    if (m_pClientDC != nullptr)
    {
        m_pClientDC->SelectObject(&m_LabelFont);
    }
    if (hPrevious != nullptr)
    {
        ::DeleteObject(hPrevious);
    }
}

bool CViewPort::ShowCornerMark()
{
    return true;
}

void CViewPort::GetCornerMarkRect(RECT* out)
{
    if (out == nullptr)
    {
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (client.Width() < MinWidthForCornerMark)
    {
        *out = {0, 0, 0, 0};
        return;
    }
    *out = {client.right - CornerMarkSize, client.bottom - CornerMarkSize, client.right,
            client.bottom};
}

SIZE CViewPort::GetImageSizeValue() const
{
    SIZE size = {0, 0};
    GetImageSize(&size);
    return size;
}

void CViewPort::ScreenToImageF(FloatPoint* out, const FloatPoint* in) const
{
    const double scale = 1.0 / m_dZoom;
    out->x = static_cast<float>((in->x - m_rcDisplay.left - m_ptPan.x) * scale);
    out->y = static_cast<float>((in->y - m_rcDisplay.top - m_ptPan.y) * scale);
}

void CViewPort::ScreenToImageClamped(RECT* out, RECT rect) const
{
    const SIZE size = GetImageSizeValue();
    const POINT topLeft = ScreenToImage(rect.left, rect.top);
    out->left = ClampInt(topLeft.x, 0, size.cx);
    out->top = ClampInt(topLeft.y, 0, size.cy);
    out->right = ClampInt(out->left + ScreenToImageLength(rect.right - rect.left), 0, size.cx);
    out->bottom = ClampInt(out->top + ScreenToImageLength(rect.bottom - rect.top), 0, size.cy);
}

void CViewPort::ScreenToImageClampedPtr(RECT* out, const RECT* rect) const
{
    ScreenToImageClamped(out, *rect);
}

void CViewPort::ScreenToImageSize(SIZE* out, SIZE size) const
{
    const double scale = 1.0 / m_dZoom;
    out->cx = TruncateToInt(size.cx * scale);
    out->cy = TruncateToInt(size.cy * scale);
}

void CViewPort::ScreenToImagePoint(POINT* out, const POINT* in) const
{
    const SIZE size = GetImageSizeValue();
    ScreenToImage(out, in);
    out->x = ClampInt(out->x, 0, size.cx - 1);
    out->y = ClampInt(out->y, 0, size.cy - 1);
}

double CViewPort::ScreenToImageLengthD(double length) const
{
    return length / m_dZoom;
}

int CViewPort::ScreenToImageLength(int length) const
{
    return RoundHalfAway(length / m_dZoom);
}

void CViewPort::ScreenToImageRect(RECT* out, RECT rect) const
{
    const POINT topLeft = ScreenToImage(rect.left, rect.top);
    out->left = topLeft.x;
    out->top = topLeft.y;
    out->right = topLeft.x + ScreenToImageLength(rect.right - rect.left);
    out->bottom = topLeft.y + ScreenToImageLength(rect.bottom - rect.top);
}

void CViewPort::ScreenToImageRectPtr(RECT* out, const RECT* rect) const
{
    ScreenToImageRect(out, *rect);
}

void CViewPort::ScreenToImage(POINT* out, const POINT* in) const
{
    const double scale = 1.0 / m_dZoom;
    out->x = RoundHalfAway((in->x - m_rcDisplay.left - m_ptPan.x) * scale);
    out->y = RoundHalfAway((in->y - m_rcDisplay.top - m_ptPan.y) * scale);
}

POINT CViewPort::ScreenToImage(int x, int y) const
{
    const POINT in = {x, y};
    POINT out;
    ScreenToImage(&out, &in);
    return out;
}

void CViewPort::ImageToScreenF(FloatPoint* out, const FloatPoint* in) const
{
    out->x = static_cast<float>(in->x * m_dZoom + m_rcDisplay.left + m_ptPan.x);
    out->y = static_cast<float>(in->y * m_dZoom + m_rcDisplay.top + m_ptPan.y);
}

void CViewPort::ImageToScreenRect(RECT* out, const RECT* rect) const
{
    const double left = m_rcDisplay.left + m_ptPan.x;
    const double top = m_rcDisplay.top + m_ptPan.y;
    *out = {RoundHalfAway(rect->left * m_dZoom + left), RoundHalfAway(rect->top * m_dZoom + top),
            RoundHalfAway(rect->right * m_dZoom + left),
            RoundHalfAway(rect->bottom * m_dZoom + top)};
}

void CViewPort::ImageToScreenSize(SIZE* out, SIZE size) const
{
    out->cx = TruncateToInt(size.cx * m_dZoom);
    out->cy = TruncateToInt(size.cy * m_dZoom);
}

void CViewPort::ImageToScreen(POINT* out, const POINT* in) const
{
    out->x = TruncateToInt(in->x * m_dZoom + 0.5) + m_rcDisplay.left + m_ptPan.x;
    out->y = TruncateToInt(in->y * m_dZoom + 0.5) + m_rcDisplay.top + m_ptPan.y;
}

POINT CViewPort::ImageToScreen(int x, int y) const
{
    const POINT in = {x, y};
    POINT out;
    ImageToScreen(&out, &in);
    return out;
}

double CViewPort::ImageToScreenLengthD(double length) const
{
    return length * m_dZoom;
}

double CViewPort::ImageToScreenLengthF(float length) const
{
    return length * m_dZoom;
}

int CViewPort::ImageToScreenLength(int length) const
{
    return RoundHalfAway(length * m_dZoom);
}

double CViewPort::ComputeFitFactor(int width, int height) const
{
    if (width <= 0 && height <= 0)
    {
        return -1.0;
    }
    // A side of no length puts no bound on the zoom.
    const double across = width > 0 ? double(m_rcDisplay.Width()) / width : 0.0;
    const double down = height > 0 ? double(float(m_rcDisplay.Height()) / float(height)) : 0.0;
    if (width <= 0)
    {
        return down;
    }
    if (height <= 0)
    {
        return across;
    }
    return across < down ? across : down;
}

double CViewPort::UpdateFitFactor()
{
    const SIZE size = GetImageSizeValue();
    m_dFitFactor = ComputeFitFactor(size.cx, size.cy);
    return m_dFitFactor;
}

void CViewPort::GetImageScreenRect(RECT* out) const
{
    const SIZE size = GetImageSizeValue();
    const POINT topLeft = ImageToScreen(0, 0);
    const POINT bottomRight = ImageToScreen(size.cx, size.cy);
    *out = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

int CViewPort::CenterImage()
{
    CRect image;
    GetImageScreenRect(&image);
    m_ptPan.x = DropUnitOffset(m_ptPan.x + (m_rcDisplay.left + m_rcDisplay.right) / 2 -
                               (image.left + image.right) / 2);
    m_ptPan.y = DropUnitOffset(m_ptPan.y + (m_rcDisplay.top + m_rcDisplay.bottom) / 2 -
                               (image.top + image.bottom) / 2);
    return -1;
}

int CViewPort::SetDIB(const DIBHolder& dib, const POINT* origin)
{
    if (dib.IsEmpty())
    {
        return -1;
    }
    if (dib.GetDIB() != m_DIB.GetDIB())
    {
        if (m_hPalette != nullptr)
        {
            ::DeleteObject(m_hPalette);
        }
        m_hPalette = CreateDIBPalette(dib.GetDIB());
        m_DIB = dib;
    }
    m_bDIBOriginSet = origin != nullptr;
    if (origin != nullptr)
    {
        m_ptDIBOrigin = *origin;
    }
    if (m_dZoom == 0.0)
    {
        m_dFitFactor = ComputeFitFactor(m_DIB.GetWidth(), m_DIB.GetHeight());
        m_dZoom = m_dFitFactor;
    }
    if (m_dFitFactor <= 0.0)
    {
        UpdateFitFactor();
    }
    return 1;
}

void CViewPort::ClearDIB()
{
    m_DIB.Release();
    m_bDIBOriginSet = false;
}

HPALETTE CViewPort::SelectPalette(CDC* pDC)
{
    if (pDC == nullptr || s_hSharedPalette == nullptr)
    {
        return nullptr;
    }
    HPALETTE previous = ::SelectPalette(pDC->GetSafeHdc(), s_hSharedPalette, FALSE);
    ::RealizePalette(pDC->GetSafeHdc());
    return previous;
}

void CViewPort::SetSharedPalette(HPALETTE palette)
{
    s_hSharedPalette = palette;
}

HPALETTE CViewPort::GetSharedPalette()
{
    return s_hSharedPalette;
}

void CViewPort::CopyViewState(const CViewPort& other)
{
    m_dZoom = other.m_dZoom;
    m_dFitFactor = other.m_dFitFactor;
    m_ptPan = other.m_ptPan;
    m_rcDisplay = other.m_rcDisplay;
    m_bPixelByPixel = other.m_bPixelByPixel;
    m_bLabelsVisible = other.m_bLabelsVisible;
    m_bPaletteFlag = other.m_bPaletteFlag;
    m_crPen = other.m_crPen;
    m_nPenWidth = other.m_nPenWidth;
}

Array<ViewLabel*>& CViewPort::GetLabels(int position)
{
    return m_Labels[ClampInt(position, 0, ViewLabel::enPositionCount - 1)];
}

ViewLabel* CViewPort::AddLabel(int position, const char* text)
{
    auto* label = new ViewLabel(ClampInt(position, 0, ViewLabel::enPositionCount - 1), text);
    GetLabels(position).AddTail(label);
    return label;
}

void CViewPort::ClearLabels(int position)
{
    Array<ViewLabel*>& labels = GetLabels(position);
    for (ViewLabel*& special : m_pSpecialLabels)
    {
        for (auto* node = labels.GetHead(); node != nullptr; node = node->next)
        {
            if (node->item == special)
            {
                special = nullptr;
            }
        }
    }
    labels.DeleteAll();
}

void CViewPort::ClearAllLabels()
{
    for (int position = 0; position < ViewLabel::enPositionCount; ++position)
    {
        ClearLabels(position);
    }
}

void CViewPort::CopyLabels(CViewPort* target) const
{
    if (target == nullptr || target == this)
    {
        return;
    }
    target->ClearAllLabels();
    for (int position = 0; position < ViewLabel::enPositionCount; ++position)
    {
        for (auto* node = m_Labels[position].GetHead(); node != nullptr; node = node->next)
        {
            ViewLabel* clone = node->item->Clone(target);
            target->m_Labels[position].AddTail(clone);
            for (int slot = 0; slot < enSpecialLabelCount; ++slot)
            {
                if (m_pSpecialLabels[slot] == node->item)
                {
                    target->m_pSpecialLabels[slot] = clone;
                }
            }
        }
    }
}

ViewLabel* CViewPort::GetSpecialLabel(int slot) const
{
    return slot >= 0 && slot < enSpecialLabelCount ? m_pSpecialLabels[slot] : nullptr;
}

void CViewPort::SetSpecialLabel(int slot, ViewLabel* label)
{
    if (slot >= 0 && slot < enSpecialLabelCount)
    {
        m_pSpecialLabels[slot] = label;
    }
}

void CViewPort::Refresh()
{
    if (m_pClientDC != nullptr)
    {
        Draw(m_pClientDC);
    }
}

void CViewPort::DrawDecorations(CDC*, RECT*) {}

void CViewPort::DrawOverlayLayerBelow(CDC*) {}

void CViewPort::DrawOverlayLayerAbove(CDC*) {}

void CViewPort::DrawImage(CDC* pDC)
{
    if (m_DIB.IsEmpty())
    {
        return;
    }
    CRect source(0, 0, m_DIB.GetWidth(), m_DIB.GetHeight());
    if (!m_bPixelByPixel)
    {
        CRect target(0, 0, TruncateToInt(source.Width() * m_dZoom),
                     TruncateToInt(source.Height() * m_dZoom));
        target.OffsetRect(m_rcDisplay.left + m_ptPan.x, m_rcDisplay.top + m_ptPan.y);
        PaintDIB(pDC->GetSafeHdc(), &target, &source, m_DIB.GetDIB(), m_hPalette);
        return;
    }
    const CPoint origin = m_bDIBOriginSet ? m_ptDIBOrigin : CPoint(ImageToScreen(0, 0));
    CRect target(origin, source.Size());
    PaintDIBPixelByPixel(pDC->GetSafeHdc(), &target, &source, m_DIB.GetDIB(), m_hPalette);
}

void CViewPort::DrawLabels(CDC* pDC, RECT* client)
{
    const CRect area(*client);
    DrawLabelList(pDC, ViewLabel::enTopLeft, area);
    DrawLabelList(pDC, ViewLabel::enBottomLeft, area);
    // In a pane too narrow for both corners of an edge side by side, the
    // right corner's lines go below the left corner's at the top, above
    // them at the bottom.
    CRect topRight = area;
    if (DoCornersMeet(pDC, ViewLabel::enTopLeft, ViewLabel::enTopRight, area.Width()))
    {
        topRight.top += GetLabelListHeight(pDC, ViewLabel::enTopLeft);
    }
    DrawLabelList(pDC, ViewLabel::enTopRight, topRight);
    CRect bottomRight = area;
    if (DoCornersMeet(pDC, ViewLabel::enBottomLeft, ViewLabel::enBottomRight, area.Width()))
    {
        bottomRight.bottom -= GetLabelListHeight(pDC, ViewLabel::enBottomLeft);
    }
    // Nor do they run under the corner mark.
    CRect mark;
    GetCornerMarkRect(&mark);
    if (ShowCornerMark() && !mark.IsRectEmpty())
    {
        bottomRight.bottom = std::min(bottomRight.bottom, mark.top + LabelMargin);
    }
    DrawLabelList(pDC, ViewLabel::enBottomRight, bottomRight);
    for (int side : {ViewLabel::enLeft, ViewLabel::enRight, ViewLabel::enTop, ViewLabel::enBottom})
    {
        DrawLabelList(pDC, side, GetSideArea(pDC, side, area));
    }
}

// The top and bottom side labels stand centred on their edge, or, where
// corner labels reach the middle, clear of them toward the image.
CRect CViewPort::GetSideArea(CDC* pDC, int side, const CRect& client)
{
    CRect area = client;
    if (side != ViewLabel::enTop && side != ViewLabel::enBottom)
    {
        return area;
    }
    int width = 0;
    for (const CSize& extent : GetLabelExtents(pDC, side))
    {
        width = std::max(width, int(extent.cx));
    }
    const int left = client.left + (client.Width() - width) / 2;
    const int right = left + width;
    const bool top = side == ViewLabel::enTop;
    const int corners[2][2] = {{ViewLabel::enBottomLeft, ViewLabel::enBottomRight},
                               {ViewLabel::enTopLeft, ViewLabel::enTopRight}};
    for (int corner : corners[top ? 1 : 0])
    {
        for (auto* node = m_Labels[corner].GetHead(); node != nullptr; node = node->next)
        {
            CRect rect;
            node->item->GetRect(&rect);
            if (!node->item->IsVisible() || rect.right + LabelMargin <= left ||
                rect.left >= right + LabelMargin)
            {
                continue;
            }
            if (top)
            {
                area.top = std::max(area.top, rect.bottom - LabelMargin);
            }
            else
            {
                area.bottom = std::min(area.bottom, rect.top + LabelMargin);
            }
        }
    }
    return area;
}

std::vector<CSize> CViewPort::GetLabelExtents(CDC* pDC, int position)
{
    std::vector<CSize> extents;
    for (auto* node = m_Labels[position].GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->IsVisible())
        {
            extents.push_back(node->item->GetTextExtent(pDC));
        }
    }
    return extents;
}

int CViewPort::GetLabelListHeight(CDC* pDC, int position)
{
    int height = 0;
    for (const CSize& extent : GetLabelExtents(pDC, position))
    {
        height += extent.cy;
    }
    return height;
}

// Lines of the two corners share a row when they stand at the same place
// counted from their edge (the top lists downward, the bottom ones upward).
bool CViewPort::DoCornersMeet(CDC* pDC, int left, int right, int width)
{
    std::vector<CSize> lefts = GetLabelExtents(pDC, left);
    std::vector<CSize> rights = GetLabelExtents(pDC, right);
    if (left == ViewLabel::enBottomLeft)
    {
        std::reverse(lefts.begin(), lefts.end());
        std::reverse(rights.begin(), rights.end());
    }
    for (std::size_t row = 0; row < std::min(lefts.size(), rights.size()); ++row)
    {
        if (lefts[row].cx + rights[row].cx + 3 * LabelMargin > width)
        {
            return true;
        }
    }
    return false;
}

// Corner lists stack from their corner inward: the top ones downward, the
// bottom ones upward, left ones against the left edge and right ones against
// the right edge. Side lists stand centred on their side, stacked the same
// way. Hidden labels take no room.
void CViewPort::DrawLabelList(CDC* pDC, int position, const CRect& client)
{
    Array<ViewLabel*>& labels = m_Labels[position];
    const int total = GetLabelListHeight(pDC, position);
    const bool fromBottom = position == ViewLabel::enBottomLeft ||
                            position == ViewLabel::enBottomRight || position == ViewLabel::enBottom;
    const bool vertical = position == ViewLabel::enLeft || position == ViewLabel::enRight;
    int y = fromBottom ? client.bottom - LabelMargin - total
            : vertical ? client.top + (client.Height() - total) / 2
                       : client.top + LabelMargin;
    for (auto* node = labels.GetHead(); node != nullptr; node = node->next)
    {
        ViewLabel* label = node->item;
        if (!label->IsVisible())
        {
            continue;
        }
        const CSize extent = label->GetTextExtent(pDC);
        int x = client.left + LabelMargin;
        if (position == ViewLabel::enTopRight || position == ViewLabel::enBottomRight ||
            position == ViewLabel::enRight)
        {
            x = client.right - LabelMargin - extent.cx;
        }
        else if (position == ViewLabel::enTop || position == ViewLabel::enBottom)
        {
            x = client.left + (client.Width() - extent.cx) / 2;
        }
        label->SetRect(x, y, x + extent.cx, y + extent.cy);
        label->Draw(pDC, CRect(x, y, x + extent.cx, y + extent.cy));
        y += extent.cy;
    }
}

void CViewPort::DrawContent(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CFont* oldFont = pDC->SelectObject(GetLabelFont());
    const COLORREF oldText = pDC->GetTextColor();
    const COLORREF oldBk = pDC->SetBkColor(m_crTextBk);
    const int oldMode = pDC->SetBkMode(OverlayConfig::Get().bTextBackground ? OPAQUE : TRANSPARENT);

    DrawOverlayLayerBelow(pDC);
    DrawImage(pDC);
    DrawOverlayLayerAbove(pDC);
    PointerDelegateArgs args(pDC);
    m_PaintEvent.Invoke(this, &args);
    if (m_bLabelsVisible)
    {
        // Handlers of the paint event may have changed the background.
        pDC->SetBkColor(m_crTextBk);
        DrawLabels(pDC, &client);
    }
    if (ShowCornerMark())
    {
        pDC->FillSolidRect(client.right - CornerMarkSize, client.bottom - CornerMarkSize,
                           CornerMarkSize, CornerMarkSize, CornerMarkColor);
    }
    DrawDecorations(pDC, &client);

    pDC->SetBkMode(oldMode);
    pDC->SetBkColor(oldBk);
    pDC->SetTextColor(oldText);
    if (oldFont != nullptr)
    {
        pDC->SelectObject(oldFont);
    }
}

void CViewPort::Draw(CDC* pDC)
{
    if (pDC == nullptr)
    {
        return;
    }
    const bool shared = m_bPaletteFlag && s_hSharedPalette != nullptr;
    HPALETTE previous = shared ? SelectPalette(pDC) : nullptr;
    {
        CMemDC memory(pDC);
        DrawContent(&memory);
    }
    if (shared)
    {
        ::SelectPalette(pDC->GetSafeHdc(), previous, FALSE);
    }
}

int CViewPort::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
    {
        return -1;
    }
    m_pClientDC = new CClientDC(this);
    GetClientRect(&m_rcDisplay);
    return 0;
}

void CViewPort::OnPaint()
{
    CPaintDC dc(this);
    Draw(&dc);
}

void CViewPort::OnSize(UINT nType, int cx, int cy)
{
    LayoutForSize();
    UpdateFontForSize(nullptr);
    if (m_pClientDC != nullptr)
    {
        Draw(m_pClientDC);
    }
    CWnd::OnSize(nType, cx, cy);
}

BOOL CViewPort::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CViewPort::OnPaletteChanged(CWnd* pFocusWnd)
{
    CWnd::OnPaletteChanged(pFocusWnd);
}

void CViewPort::LayoutForSize()
{
    CRect client;
    GetClientRect(&client);
    if (client.Width() == 0 || client.Height() == 0)
    {
        return;
    }
    if (m_dFitFactor <= 0.0)
    {
        m_rcDisplay = client;
        UpdateFitFactor();
    }
    if (m_dFitFactor <= 0.0)
    {
        return;
    }
    if (m_dZoom <= 0.0)
    {
        m_rcDisplay = client;
        m_dZoom = m_dFitFactor;
        m_ptPan = CPoint(0, 0);
        CenterImage();
        return;
    }
    const SIZE size = GetImageSizeValue();
    const POINT before = ImageToScreen(size.cx / 2, size.cy / 2);
    const CPoint oldCentre((m_rcDisplay.left + m_rcDisplay.right) / 2,
                           (m_rcDisplay.top + m_rcDisplay.bottom) / 2);
    const CPoint d0(DropUnitOffset(before.x - oldCentre.x), DropUnitOffset(before.y - oldCentre.y));
    const double f0 = m_dFitFactor;
    m_rcDisplay = client;
    const double f1 = UpdateFitFactor();
    const double ratio = f1 / f0;
    m_dZoom *= ratio;
    if (m_dZoom > 0.0 && f0 > 0.0)
    {
        const POINT after = ImageToScreen(size.cx / 2, size.cy / 2);
        const CPoint newCentre((client.left + client.right) / 2, (client.top + client.bottom) / 2);
        const CPoint d1(DropUnitOffset(after.x - newCentre.x),
                        DropUnitOffset(after.y - newCentre.y));
        m_ptPan.x = TruncateToInt(m_ptPan.x - (d1.x - d0.x * ratio));
        m_ptPan.y = TruncateToInt(m_ptPan.y - (d1.y - d0.y * ratio));
    }
}

int CViewPort::RasterOfMode(int mode)
{
    static const int rasters[] = {R2_NOT,      R2_NOTXORPEN,   R2_COPYPEN,    R2_NOTCOPYPEN,
                                  R2_MERGEPEN, R2_MERGENOTPEN, R2_MERGEPENNOT};
    return mode >= 0 && mode < int(std::size(rasters)) ? rasters[mode] : 0;
}
