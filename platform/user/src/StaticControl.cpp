// The "Static" control: text, icons, bitmaps, owner-drawn, rectangles and
// frames. Without SS_NOTIFY the mouse goes through it to what is beneath.
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinCursor.h"
#include "WinDrawing.h"
#include "WinFrameControls.h"
#include "WinPaint.h"
#include "WinSysMetrics.h"

#include <cstdlib>
#include <string>

namespace
{
class StaticControl
{
public:
    explicit StaticControl(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    DWORD Type() const { return Style() & SS_TYPEMASK; }
    void OnCreate(const CREATESTRUCTA& cs);
    void FitToImage(SIZE size);
    void PaintText(HDC hdc, const RECT& client);
    void PaintImage(HDC hdc, const RECT& client);
    HANDLE SetImage(UINT nType, HANDLE hImage);

    HWND m_hWnd;
    HFONT m_hFont = nullptr;
    HICON m_hIcon = nullptr;
    HBITMAP m_hBitmap = nullptr;
};

SIZE BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm{};
    if (hBitmap == nullptr || GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void StaticControl::FitToImage(SIZE size)
{
    if (size.cx <= 0 || (Style() & (SS_CENTERIMAGE | SS_REALSIZEIMAGE)))
        return;
    SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StaticControl::OnCreate(const CREATESTRUCTA& cs)
{
    // An image static names its image resource in its text.
    const bool bNamed = cs.lpszName != nullptr && (IS_INTRESOURCE(cs.lpszName) || cs.lpszName[0]);
    if (!bNamed)
        return;
    // "#123" names resource 123, a system icon too.
    LPCSTR lpName = cs.lpszName;
    if (!IS_INTRESOURCE(lpName) && lpName[0] == '#')
        lpName = MAKEINTRESOURCE(std::atoi(lpName + 1));
    if (Type() == SS_ICON)
    {
        m_hIcon = LoadIconA(cs.hInstance, lpName);
        if (m_hIcon != nullptr)
            FitToImage(SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)});
    }
    else if (Type() == SS_BITMAP)
    {
        m_hBitmap = LoadBitmapA(cs.hInstance, lpName);
        FitToImage(BitmapSize(m_hBitmap));
    }
}

HANDLE StaticControl::SetImage(UINT nType, HANDLE hImage)
{
    HANDLE hOld = nullptr;
    if (nType == IMAGE_BITMAP)
    {
        hOld = m_hBitmap;
        m_hBitmap = static_cast<HBITMAP>(hImage);
        FitToImage(BitmapSize(m_hBitmap));
    }
    else
    {
        hOld = m_hIcon;
        m_hIcon = static_cast<HICON>(hImage);
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
    return hOld;
}

void StaticControl::PaintText(HDC hdc, const RECT& client)
{
    const DWORD dwStyle = Style();
    UINT nFormat = DT_EXPANDTABS;
    switch (Type())
    {
    case SS_CENTER:
        nFormat |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        nFormat |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_SIMPLE:
        nFormat |= DT_SINGLELINE;
        break;
    case SS_LEFTNOWORDWRAP:
        break;
    default:
        nFormat |= DT_WORDBREAK;
        break;
    }
    if (dwStyle & SS_NOPREFIX)
        nFormat |= DT_NOPREFIX;
    if (dwStyle & SS_CENTERIMAGE)
        nFormat = (nFormat & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if (dwStyle & SS_ENDELLIPSIS)
        nFormat |= DT_END_ELLIPSIS | DT_SINGLELINE;
    if (dwStyle & SS_PATHELLIPSIS)
        nFormat |= DT_PATH_ELLIPSIS | DT_SINGLELINE;
    const int nLength = GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<std::size_t>(nLength) + 1, '\0');
    GetWindowTextA(m_hWnd, text.data(), nLength + 1);
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(m_hWnd))
        SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    RECT rect = client;
    DrawTextA(hdc, text.c_str(), nLength, &rect, nFormat);
}

void StaticControl::PaintImage(HDC hdc, const RECT& client)
{
    const bool bCentre = (Style() & SS_CENTERIMAGE) != 0;
    if (Type() == SS_ICON && m_hIcon != nullptr)
    {
        const int cx = GetSystemMetrics(SM_CXICON);
        const int cy = GetSystemMetrics(SM_CYICON);
        const int x = bCentre ? (client.right - cx) / 2 : 0;
        const int y = bCentre ? (client.bottom - cy) / 2 : 0;
        DrawIconEx(hdc, x, y, m_hIcon, cx, cy, 0, nullptr, DI_NORMAL);
    }
    else if (Type() == SS_BITMAP && m_hBitmap != nullptr)
    {
        const SIZE size = BitmapSize(m_hBitmap);
        HDC hdcBitmap = CreateCompatibleDC(hdc);
        HGDIOBJ hOld = SelectObject(hdcBitmap, m_hBitmap);
        BitBlt(hdc, bCentre ? (client.right - size.cx) / 2 : 0,
               bCentre ? (client.bottom - size.cy) / 2 : 0, size.cx, size.cy, hdcBitmap, 0, 0,
               SRCCOPY);
        SelectObject(hdcBitmap, hOld);
        DeleteDC(hdcBitmap);
    }
}

void StaticControl::Paint(HDC hdc)
{
    RECT client{};
    GetClientRect(m_hWnd, &client);
    const DWORD dwType = Type();
    if (dwType == SS_OWNERDRAW)
    {
        DRAWITEMSTRUCT dis{ODT_STATIC,
                           static_cast<UINT>(GetDlgCtrlID(m_hWnd)),
                           0,
                           ODA_DRAWENTIRE,
                           IsWindowEnabled(m_hWnd) ? 0u : UINT(ODS_DISABLED),
                           m_hWnd,
                           hdc,
                           client,
                           0};
        if (const HWND hParent = GetParent(m_hWnd))
            SendMessageA(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    const int kShades[] = {COLOR_3DDKSHADOW, COLOR_3DSHADOW, COLOR_3DHILIGHT};
    if (dwType >= SS_BLACKRECT && dwType <= SS_WHITERECT)
    {
        FillRect(hdc, &client, GetSysColorBrush(kShades[dwType - SS_BLACKRECT]));
        return;
    }
    // The control's font is in the DC before the parent is asked for the
    // colours, so that a font the parent selects there is the one drawn.
    const HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    const HBRUSH hBrush = GetControlBrush(m_hWnd, hdc, WM_CTLCOLORSTATIC);
    FillRect(hdc, &client, hBrush);
    if (dwType >= SS_BLACKFRAME && dwType <= SS_WHITEFRAME)
    {
        FrameRect(hdc, &client, GetSysColorBrush(kShades[dwType - SS_BLACKFRAME]));
    }
    else if (dwType >= SS_ETCHEDHORZ && dwType <= SS_ETCHEDFRAME)
    {
        // A shadow line with a highlight line beside it.
        const UINT sides = dwType == SS_ETCHEDHORZ   ? BF_TOP
                           : dwType == SS_ETCHEDVERT ? BF_LEFT
                                                     : BF_RECT;
        RECT rect = client;
        DrawEdge(hdc, &rect, EDGE_ETCHED, sides);
    }
    else if (dwType == SS_ICON || dwType == SS_BITMAP)
    {
        PaintImage(hdc, client);
    }
    else
    {
        PaintText(hdc, client);
    }
    SelectObject(hdc, hOldFont);
}

LRESULT StaticControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_CREATE:
        if (lParam != 0)
            OnCreate(*reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    case WM_NCHITTEST:
        if ((Style() & SS_NOTIFY) == 0)
            return HTTRANSPARENT;
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Style() & SS_NOTIFY)
            NotifyParent(m_hWnd, nMsg == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK);
        return 0;
    case WM_ENABLE:
        if (Style() & SS_NOTIFY)
            NotifyParent(m_hWnd, wParam ? STN_ENABLE : STN_DISABLE);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETTEXT:
    {
        const LRESULT lResult = DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return lResult;
    }
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case STM_SETICON:
        return reinterpret_cast<LRESULT>(SetImage(IMAGE_ICON, reinterpret_cast<HANDLE>(wParam)));
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case STM_SETIMAGE:
        return reinterpret_cast<LRESULT>(
            SetImage(static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam)));
    case STM_GETIMAGE:
        return wParam == IMAGE_BITMAP ? reinterpret_cast<LRESULT>(m_hBitmap)
                                      : reinterpret_cast<LRESULT>(m_hIcon);
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT StaticWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<StaticControl>(hWnd, nMsg, wParam, lParam);
}
