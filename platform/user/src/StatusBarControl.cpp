// The status bar "msctls_statusbar32": a row of parts, each ending at its
// right edge (-1: the bar's right end), with a text drawn sunken, raised
// (SBT_POPOUT) or without a border (SBT_NOBORDERS), or drawn by the parent
// (SBT_OWNERDRAW). Unless CCS_NORESIZE, the bar puts itself along the bottom
// of its parent whenever it is sized. SBARS_SIZEGRIP draws a grip in the
// bottom right corner (only drawn: dragging it sizes nothing).
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinBars.h"
#include "WinFrameControls.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{
constexpr int kPartGap = 2;
constexpr int kTextMargin = 2;

struct StatusPart
{
    int nRight = -1;
    std::string text;
    UINT nKind = 0;
    LPARAM lData = 0; // an owner-drawn part's
};

class StatusBarControl
{
public:
    explicit StatusBarControl(HWND hWnd) : m_hWnd(hWnd), m_parts(1) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    RECT PartRect(size_t nPart) const;
    RECT GripRect() const;
    LRESULT SetText(size_t nPart, UINT nKind, LPARAM lParam);
    void DrawOwnerPart(HDC hdc, size_t nPart, const RECT& rc) const;
    LRESULT GetText(size_t nPart, LPSTR pszBuffer) const;
    void PlaceAlongParent();
    int Height() const;

    HWND m_hWnd;
    std::vector<StatusPart> m_parts;
    HFONT m_hFont = nullptr;
    int m_nMinHeight = 0;
    bool m_bPlacing = false;
};

RECT StatusBarControl::PartRect(size_t nPart) const
{
    RECT rcClient{};
    GetClientRect(m_hWnd, &rcClient);
    const int nLeft = nPart == 0 ? 0 : PartRect(nPart - 1).right + kPartGap;
    const RECT grip = GripRect();
    const int nEnd = grip.left < grip.right ? grip.left : rcClient.right;
    const int nRight =
        m_parts[nPart].nRight < 0 ? nEnd : std::min<int>(m_parts[nPart].nRight, nEnd);
    return RECT{std::min(nLeft, nRight), kPartGap, nRight, rcClient.bottom};
}

RECT StatusBarControl::GripRect() const
{
    if (!(GetWindowLongPtrA(m_hWnd, GWL_STYLE) & SBARS_SIZEGRIP))
        return RECT{};
    RECT rcClient{};
    GetClientRect(m_hWnd, &rcClient);
    const int nSide = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), rcClient.bottom);
    return RECT{rcClient.right - nSide, rcClient.bottom - nSide, rcClient.right, rcClient.bottom};
}

LRESULT StatusBarControl::SetText(size_t nPart, UINT nKind, LPARAM lParam)
{
    if (nPart >= m_parts.size())
        return FALSE;
    StatusPart& part = m_parts[nPart];
    const bool bOwnerDraw = (nKind & SBT_OWNERDRAW) != 0;
    const auto pszText = reinterpret_cast<LPCSTR>(lParam);
    const std::string text = !bOwnerDraw && pszText != nullptr ? pszText : "";
    const LPARAM lData = bOwnerDraw ? lParam : 0;
    if (part.text == text && part.nKind == nKind && part.lData == lData)
        return TRUE;
    part.text = text;
    part.nKind = nKind;
    part.lData = lData;
    RECT rc = PartRect(nPart);
    InvalidateRect(m_hWnd, &rc, TRUE);
    return TRUE;
}

LRESULT StatusBarControl::GetText(size_t nPart, LPSTR pszBuffer) const
{
    if (nPart >= m_parts.size())
        return 0;
    const StatusPart& part = m_parts[nPart];
    if (part.nKind & SBT_OWNERDRAW)
        return part.lData;
    if (pszBuffer != nullptr)
        std::copy(part.text.c_str(), part.text.c_str() + part.text.size() + 1, pszBuffer);
    return MAKELONG(static_cast<WORD>(part.text.size()), static_cast<WORD>(part.nKind));
}

int StatusBarControl::Height() const
{
    return std::max(m_nMinHeight, GetFontLineHeight(ControlFontOrDefault(m_hFont)) + 2 * kPartGap +
                                      2 * kTextMargin);
}

void StatusBarControl::PlaceAlongParent()
{
    const DWORD dwStyle = static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE));
    const HWND hParent = GetParent(m_hWnd);
    if ((dwStyle & CCS_NORESIZE) || hParent == nullptr || m_bPlacing)
        return;
    RECT rcParent{};
    GetClientRect(hParent, &rcParent);
    const int cy = Height();
    const bool bTop = (dwStyle & CCS_BOTTOM) == CCS_TOP;
    m_bPlacing = true;
    SetWindowPos(m_hWnd, nullptr, 0, bTop ? 0 : rcParent.bottom - cy, rcParent.right, cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_bPlacing = false;
}

void StatusBarControl::Paint(HDC hdc)
{
    RECT rcClient{};
    GetClientRect(m_hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(m_hFont));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    for (size_t i = 0; i < m_parts.size(); ++i)
    {
        RECT rc = PartRect(i);
        if (rc.right <= rc.left)
            continue;
        const UINT nKind = m_parts[i].nKind;
        if (!(nKind & SBT_NOBORDERS))
            DrawEdge(hdc, &rc, (nKind & SBT_POPOUT) ? BDR_RAISEDOUTER : BDR_SUNKENOUTER,
                     BF_RECT | BF_ADJUST);
        if (nKind & SBT_OWNERDRAW)
        {
            DrawOwnerPart(hdc, i, rc);
            continue;
        }
        InflateRect(&rc, -kTextMargin, 0);
        DrawTextA(hdc, m_parts[i].text.c_str(), -1, &rc,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(hdc, hOldFont);
    RECT grip = GripRect();
    if (grip.left < grip.right)
        DrawFrameControl(hdc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void StatusBarControl::DrawOwnerPart(HDC hdc, size_t nPart, const RECT& rc) const
{
    DRAWITEMSTRUCT draw{};
    draw.CtlID = static_cast<UINT>(GetDlgCtrlID(m_hWnd));
    draw.itemID = static_cast<UINT>(nPart);
    draw.itemAction = ODA_DRAWENTIRE;
    draw.hwndItem = m_hWnd;
    draw.hDC = hdc;
    draw.rcItem = rc;
    draw.itemData = static_cast<ULONG_PTR>(m_parts[nPart].lData);
    // The parent draws with the DC as it finds it and leaves it so.
    const int nSaved = SaveDC(hdc);
    if (const HWND hParent = GetParent(m_hWnd))
        SendMessageA(hParent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
    RestoreDC(hdc, nSaved);
}

LRESULT StatusBarControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case SB_SETPARTS:
    {
        const auto* pEdges = reinterpret_cast<const int*>(lParam);
        if (wParam == 0 || wParam > 256 || pEdges == nullptr)
            return FALSE;
        m_parts.resize(wParam);
        for (size_t i = 0; i < wParam; ++i)
            m_parts[i].nRight = pEdges[i];
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return TRUE;
    }
    case SB_GETPARTS:
        if (auto* pEdges = reinterpret_cast<int*>(lParam))
        {
            for (size_t i = 0; i < std::min<size_t>(wParam, m_parts.size()); ++i)
                pEdges[i] = m_parts[i].nRight;
        }
        return static_cast<LRESULT>(m_parts.size());
    case SB_SETTEXTA:
        return SetText(LOBYTE(wParam), static_cast<UINT>(wParam & 0xFF00), lParam);
    case SB_GETTEXTA:
        return GetText(LOBYTE(wParam), reinterpret_cast<LPSTR>(lParam));
    case SB_GETTEXTLENGTHA:
        return GetText(LOBYTE(wParam), nullptr);
    case SB_GETRECT:
        if (wParam >= m_parts.size() || lParam == 0)
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = PartRect(wParam);
        return TRUE;
    case SB_SETMINHEIGHT:
        m_nMinHeight = static_cast<int>(wParam);
        return 0;
    case WM_SETTEXT:
        SetText(0, 0, lParam);
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    case WM_SETFONT:
        m_hFont = reinterpret_cast<HFONT>(wParam);
        if (lParam != 0)
            InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_hFont);
    case WM_SIZE:
        PlaceAlongParent();
        return 0;
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT StatusBarWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<StatusBarControl>(hWnd, nMsg, wParam, lParam);
}
