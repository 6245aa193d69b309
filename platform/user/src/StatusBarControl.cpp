// The status bar "msctls_statusbar32": a row of parts, each ending at its
// right edge (-1: the bar's right end), with a text drawn sunken, raised
// (SBT_POPOUT) or without a border (SBT_NOBORDERS). Unless CCS_NORESIZE,
// the bar puts itself along the bottom of its parent whenever it is sized.
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinBars.h"
#include "WinFrameControls.h"

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
};

class StatusBarControl
{
public:
    explicit StatusBarControl(HWND hWnd) : m_hWnd(hWnd), m_parts(1) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    RECT PartRect(size_t nPart) const;
    LRESULT SetText(size_t nPart, UINT nKind, LPCSTR pszText);
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
    const int nRight = m_parts[nPart].nRight < 0
                           ? rcClient.right
                           : std::min<int>(m_parts[nPart].nRight, rcClient.right);
    return RECT{std::min(nLeft, nRight), kPartGap, nRight, rcClient.bottom};
}

LRESULT StatusBarControl::SetText(size_t nPart, UINT nKind, LPCSTR pszText)
{
    if (nPart >= m_parts.size())
        return FALSE;
    StatusPart& part = m_parts[nPart];
    const std::string text = pszText != nullptr ? pszText : "";
    if (part.text == text && part.nKind == nKind)
        return TRUE;
    part.text = text;
    part.nKind = nKind;
    RECT rc = PartRect(nPart);
    InvalidateRect(m_hWnd, &rc, TRUE);
    return TRUE;
}

LRESULT StatusBarControl::GetText(size_t nPart, LPSTR pszBuffer) const
{
    if (nPart >= m_parts.size())
        return 0;
    const StatusPart& part = m_parts[nPart];
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
        InflateRect(&rc, -kTextMargin, 0);
        DrawTextA(hdc, m_parts[i].text.c_str(), -1, &rc,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(hdc, hOldFont);
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
        return SetText(LOBYTE(wParam), static_cast<UINT>(wParam & 0xFF00),
                       reinterpret_cast<LPCSTR>(lParam));
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
        SetText(0, 0, reinterpret_cast<LPCSTR>(lParam));
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
