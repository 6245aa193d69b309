#include "TestPanes.h"

#include "MemDC.h"

void DrawPane(CDC& dc, const CRect& client, COLORREF background, const std::vector<CPoint>& stroke)
{
    dc.FillSolidRect(&client, background);
    CPen gridPen(PS_DOT, 1, RGB(90, 90, 90));
    CPen* pOldPen = dc.SelectObject(&gridPen);
    for (int x = 0; x < client.right; x += 20)
    {
        dc.MoveTo(x, 0);
        dc.LineTo(x, client.bottom);
    }
    CPen strokePen(PS_SOLID, 3, kStrokeColor);
    dc.SelectObject(&strokePen);
    if (!stroke.empty())
    {
        dc.MoveTo(stroke.front());
        for (const CPoint& pt : stroke)
            dc.LineTo(pt);
    }
    dc.SelectObject(pOldPen);
}

BEGIN_MESSAGE_MAP(CPane, CWnd)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CPane::OnPaint()
{
    ++nPaints;
    CPaintDC dc(this);
    CMemDC memDC(&dc);
    CRect client;
    GetClientRect(&client);
    DrawPane(memDC, client, m_background, stroke);
}

void CPane::OnLButtonDown(UINT, CPoint point)
{
    stroke.assign(1, point);
    SetCapture();
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0))
    {
        if (::GetCapture() != m_hWnd)
            break;
        bCaptureHeldInLoop = true;
        if (msg.message == WM_MOUSEMOVE)
        {
            const CPoint next(msg.lParam);
            CClientDC dc(this);
            CPen pen(PS_SOLID, 3, kStrokeColor);
            CPen* pOld = dc.SelectObject(&pen);
            dc.MoveTo(stroke.back());
            dc.LineTo(next);
            dc.SelectObject(pOld);
            stroke.push_back(next);
        }
        else if (msg.message == WM_LBUTTONUP)
        {
            stroke.push_back(CPoint(msg.lParam));
            ReleaseCapture();
            Invalidate(FALSE);
            return;
        }
        else
        {
            ::DispatchMessageA(&msg);
        }
    }
}

WindowPicture DrawExpectedPane(const CPane& pane)
{
    CRect client;
    pane.GetClientRect(&client);
    CClientDC screen(nullptr);
    CDC memDC;
    memDC.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, client.Width(), client.Height());
    CBitmap* pOld = memDC.SelectObject(&bitmap);
    DrawPane(memDC, client, pane.GetBackground(), pane.stroke);
    WindowPicture picture;
    picture.nWidth = client.Width();
    picture.nHeight = client.Height();
    for (int y = 0; y < picture.nHeight; ++y)
    {
        for (int x = 0; x < picture.nWidth; ++x)
        {
            const COLORREF c = memDC.GetPixel(x, y);
            picture.pixels.push_back((std::uint32_t(GetRValue(c)) << 16) |
                                     (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c));
        }
    }
    memDC.SelectObject(pOld);
    return picture;
}

int CountPictureDifferences(const WindowPicture& picture, const CPoint& origin,
                            const WindowPicture& expected)
{
    int nDifferent = 0;
    for (int y = 0; y < expected.nHeight; ++y)
    {
        for (int x = 0; x < expected.nWidth; ++x)
        {
            if (picture.GetPixel(origin.x + x, origin.y + y) != expected.GetPixel(x, y))
                ++nDifferent;
        }
    }
    return nDifferent;
}
