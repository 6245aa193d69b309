// The tip window "tooltips_class32" a toolbar shows under the pointer: a
// bordered popup in the information colours that sizes itself to its text.
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinBars.h"

#include <string>

namespace
{
constexpr int kTipMargin = 3;

class ToolTipWindow
{
public:
    explicit ToolTipWindow(HWND hWnd) : m_hWnd(hWnd) {}

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    void FitText();

    HWND m_hWnd;
    std::string m_text;
};

void ToolTipWindow::FitText()
{
    ControlDC dc(m_hWnd, nullptr);
    RECT rcText{};
    DrawTextA(dc, m_text.c_str(), -1, &rcText, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SetWindowPos(m_hWnd, nullptr, 0, 0, rcText.right + 2 * kTipMargin + 2,
                 rcText.bottom + 2 * kTipMargin + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolTipWindow::Paint(HDC hdc)
{
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(hdc, &rc, GetSysColorBrush(COLOR_INFOTEXT));
    const HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(nullptr));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&rc, -kTipMargin - 1, -kTipMargin - 1);
    DrawTextA(hdc, m_text.c_str(), -1, &rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, hOldFont);
}

LRESULT ToolTipWindow::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    switch (nMsg)
    {
    case WM_CREATE:
    {
        const auto* pCreate = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        m_text = pCreate->lpszName != nullptr ? pCreate->lpszName : "";
        FitText();
        return 0;
    }
    case WM_SETTEXT:
        m_text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
        FitText();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    case WM_NCHITTEST:
        // The tip never takes the pointer from what it describes.
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
    }
}
} // namespace

LRESULT ToolTipWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return DispatchToControl<ToolTipWindow>(hWnd, nMsg, wParam, lParam);
}
