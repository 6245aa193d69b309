#include "MagGlassTask.h"

#include "MemoryDC.h"
#include "MetaView.h"

BEGIN_MESSAGE_MAP(MagGlass, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

bool MagGlass::Open(CWnd* pane, CMemoryDC* picture, POINT point)
{
    m_pPane = pane;
    m_pPicture = picture;
    m_ptCenter = point;
    POINT screen = point;
    pane->ClientToScreen(&screen);
    const CRect rect(screen.x - Side / 2, screen.y - Side / 2, screen.x + Side / 2,
                     screen.y + Side / 2);
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr, "MagGlass",
                    WS_POPUP | WS_VISIBLE | WS_BORDER, rect, pane, 0) != FALSE;
}

void MagGlass::MoveTo(POINT point)
{
    m_ptCenter = point;
    POINT screen = point;
    m_pPane->ClientToScreen(&screen);
    SetWindowPos(nullptr, screen.x - Side / 2, screen.y - Side / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
    UpdateWindow();
}

BOOL MagGlass::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void MagGlass::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(0, 0, 0));
    if (m_pPicture == nullptr)
    {
        return;
    }
    const int sourceSide = client.Width() / Factor;
    dc.SetStretchBltMode(COLORONCOLOR);
    dc.StretchBlt(0, 0, sourceSide * Factor, sourceSide * Factor, m_pPicture,
                  m_ptCenter.x - sourceSide / 2, m_ptCenter.y - sourceSide / 2, sourceSide,
                  sourceSide, SRCCOPY);
}

MagGlassTask::MagGlassTask(int modifiers, MetaView* view) : MouseTask(modifiers, view) {}

MagGlassTask::~MagGlassTask()
{
    if (m_pGlass != nullptr && m_pGlass->m_hWnd != nullptr)
    {
        m_pGlass->DestroyWindow();
    }
}

void MagGlassTask::OnBegin(int x, int y)
{
    if (m_pView == nullptr || m_pView->m_hWnd == nullptr)
    {
        return;
    }
    CRect client;
    m_pView->GetClientRect(&client);
    CClientDC dc(m_pView);
    m_pPicture = std::make_unique<CMemoryDC>(&dc, client.Width(), client.Height(), 32);
    m_pView->Draw(m_pPicture.get());
    m_pGlass = std::make_unique<MagGlass>();
    if (!m_pGlass->Open(m_pView, m_pPicture.get(), POINT{x, y}))
    {
        m_pGlass.reset();
        m_pPicture.reset();
        return;
    }
    ShowCursor(FALSE);
    m_bCursorHidden = true;
}

void MagGlassTask::OnMove(int x, int y, int, int, int, int)
{
    if (m_pGlass != nullptr)
    {
        m_pGlass->MoveTo(POINT{x, y});
    }
}

void MagGlassTask::OnEnd(int, int, int, int, int, int)
{
    if (m_pGlass != nullptr)
    {
        m_pGlass->DestroyWindow();
        m_pGlass.reset();
    }
    m_pPicture.reset();
    if (m_bCursorHidden)
    {
        ShowCursor(TRUE);
        m_bCursorHidden = false;
    }
}
