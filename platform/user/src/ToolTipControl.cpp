// The tip control "tooltips_class32": its tools, the relayed pointer that
// shows and hides the tip of the tool under it, and the tip itself, a
// bordered popup in the information colours that sizes itself to its
// text. Tips show whether or not the tool's window is active.
#include "ControlClasses.h"
#include "ControlSupport.h"

#include "WinBars.h"
#include "WinCursor.h"
#include "WinInput.h"
#include "WinResource.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace
{
constexpr int kTipMargin = 3;
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT_PTR kLeaveTimer = 3;
constexpr UINT kLeavePoll = 100;
constexpr UINT kDefaultInitial = 500;
constexpr int kBelowPointer = 20;

struct Tool
{
    TOOLINFOA info{};
    std::string text; // when info.lpszText is a text of the tool's own
};

bool IsTextPointer(LPCSTR lpszText)
{
    return lpszText != nullptr && lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(lpszText);
}

std::string ResourceText(HINSTANCE hInstance, LPCSTR lpszId)
{
    char szText[1024] = {};
    LoadStringA(hInstance, static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszId)), szText,
                sizeof(szText));
    return szText;
}

class ToolTipControl
{
public:
    explicit ToolTipControl(HWND hWnd) : m_hWnd(hWnd) { SetDelay(TTDT_AUTOMATIC, -1); }

    LRESULT Handle(UINT nMsg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC hdc);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    UINT TextFormat() const;
    int Find(const TOOLINFOA* pInfo) const;
    // The tool at a point of a window's client area; -1 for none.
    int ToolAt(HWND hWnd, POINT pt) const;
    bool IsPointerOn(int nTool) const;
    std::string TextOf(int nTool);
    void SetToolInfo(Tool& tool, const TOOLINFOA& info);
    void GetToolInfo(const Tool& tool, TOOLINFOA& info) const;
    void SetDelay(WPARAM nWhich, int nDelay);
    void NotifyTool(const Tool& tool, NMHDR& hdr, UINT nCode);
    void OnRelay(const MSG& msg);
    void OnTimer(UINT_PTR nTimer);
    void Show();
    void Hide();
    void Forget();
    void FitText();

    HWND m_hWnd;
    std::vector<Tool> m_tools;
    bool m_bActive = true;
    int m_nCurrent = -1; // the tool under the pointer
    bool m_bShown = false;
    std::array<int, 4> m_delays{};
    int m_nMaxWidth = -1;
    std::string m_text;
};

UINT ToolTipControl::TextFormat() const
{
    return (m_nMaxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE) |
           ((Style() & TTS_NOPREFIX) ? DT_NOPREFIX : 0);
}

int ToolTipControl::Find(const TOOLINFOA* pInfo) const
{
    if (pInfo == nullptr)
        return -1;
    for (size_t i = 0; i < m_tools.size(); ++i)
    {
        const TOOLINFOA& info = m_tools[i].info;
        if (info.hwnd == pInfo->hwnd && info.uId == pInfo->uId)
            return static_cast<int>(i);
    }
    return -1;
}

int ToolTipControl::ToolAt(HWND hWnd, POINT pt) const
{
    for (size_t i = 0; i < m_tools.size(); ++i)
    {
        const TOOLINFOA& info = m_tools[i].info;
        if (info.uFlags & TTF_IDISHWND)
        {
            if (reinterpret_cast<HWND>(info.uId) == hWnd)
                return static_cast<int>(i);
        }
        else if (info.hwnd == hWnd && PtInRect(&info.rect, pt))
        {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ToolTipControl::IsPointerOn(int nTool) const
{
    POINT pt{};
    GetCursorPos(&pt);
    const HWND hUnder = WindowFromPoint(pt);
    if (hUnder == nullptr)
        return false;
    ScreenToClient(hUnder, &pt);
    return nTool >= 0 && ToolAt(hUnder, pt) == nTool;
}

std::string ToolTipControl::TextOf(int nTool)
{
    const Tool& tool = m_tools[static_cast<size_t>(nTool)];
    if (tool.info.lpszText == nullptr)
        return tool.text;
    if (tool.info.lpszText != LPSTR_TEXTCALLBACKA)
        return ResourceText(tool.info.hinst, tool.info.lpszText);
    NMTTDISPINFOA info{};
    info.uFlags = tool.info.uFlags;
    info.lParam = tool.info.lParam;
    NotifyTool(tool, info.hdr, TTN_GETDISPINFOA);
    const std::string text = IS_INTRESOURCE(info.lpszText) && info.lpszText != nullptr
                                 ? ResourceText(info.hinst, info.lpszText)
                                 : (info.lpszText != nullptr ? info.lpszText : info.szText);
    // The answer may stay as the tool's text (the tool may have gone
    // meanwhile).
    if ((info.uFlags & TTF_DI_SETITEM) && static_cast<size_t>(nTool) < m_tools.size())
    {
        m_tools[static_cast<size_t>(nTool)].text = text;
        m_tools[static_cast<size_t>(nTool)].info.lpszText = nullptr;
    }
    return text;
}

void ToolTipControl::SetToolInfo(Tool& tool, const TOOLINFOA& info)
{
    tool.info = info;
    tool.text = IsTextPointer(info.lpszText) ? info.lpszText : "";
    // A text of the tool's own is read from tool.text; the pointer only
    // tells which kind of text it is.
    if (IsTextPointer(info.lpszText))
        tool.info.lpszText = nullptr;
}

void ToolTipControl::GetToolInfo(const Tool& tool, TOOLINFOA& info) const
{
    const LPSTR lpszBuffer = info.lpszText;
    const UINT cbSize = info.cbSize;
    info = tool.info;
    info.cbSize = cbSize;
    if (tool.info.lpszText != nullptr)
        return;
    // The tool's own text goes into the caller's buffer, when there is one.
    info.lpszText = lpszBuffer;
    if (IsTextPointer(lpszBuffer))
        CopyTextTo(tool.text.c_str(), lpszBuffer, 80);
}

void ToolTipControl::SetDelay(WPARAM nWhich, int nDelay)
{
    if (nWhich == TTDT_AUTOMATIC)
    {
        const int nInitial = nDelay >= 0 ? nDelay : static_cast<int>(kDefaultInitial);
        m_delays = {nInitial, nInitial / 5, nInitial * 10, nInitial};
        return;
    }
    if (nWhich >= m_delays.size())
        return;
    const int nDefaults[] = {0, static_cast<int>(kDefaultInitial) / 5,
                             static_cast<int>(kDefaultInitial) * 10,
                             static_cast<int>(kDefaultInitial)};
    m_delays[nWhich] = nDelay >= 0 ? nDelay : nDefaults[nWhich];
}

void ToolTipControl::NotifyTool(const Tool& tool, NMHDR& hdr, UINT nCode)
{
    hdr.hwndFrom = m_hWnd;
    hdr.idFrom = tool.info.uId;
    hdr.code = nCode;
    SendMessageA(tool.info.hwnd, WM_NOTIFY, static_cast<WPARAM>(tool.info.uId),
                 reinterpret_cast<LPARAM>(&hdr));
}

void ToolTipControl::OnRelay(const MSG& msg)
{
    if (!m_bActive)
        return;
    switch (msg.message)
    {
    case WM_MOUSEMOVE:
    {
        const int nTool =
            ToolAt(msg.hwnd, POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
        if (nTool == m_nCurrent)
            return;
        const bool bWasShown = m_bShown;
        Forget();
        m_nCurrent = nTool;
        if (nTool < 0)
            return;
        SetTimer(m_hWnd, kShowTimer,
                 static_cast<UINT>(bWasShown ? m_delays[TTDT_RESHOW] : m_delays[TTDT_INITIAL]),
                 nullptr);
        // Nothing tells the tip that the pointer left the tool: look now
        // and then.
        SetTimer(m_hWnd, kLeaveTimer, kLeavePoll, nullptr);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // No tip again until the pointer goes to another tool.
        KillTimer(m_hWnd, kShowTimer);
        Hide();
        return;
    default:
        return;
    }
}

void ToolTipControl::OnTimer(UINT_PTR nTimer)
{
    switch (nTimer)
    {
    case kShowTimer:
        KillTimer(m_hWnd, kShowTimer);
        if (IsPointerOn(m_nCurrent))
            Show();
        return;
    case kPopTimer:
        KillTimer(m_hWnd, kShowTimer);
        Hide();
        return;
    case kLeaveTimer:
        if (!IsPointerOn(m_nCurrent))
            Forget();
        return;
    default:
        return;
    }
}

void ToolTipControl::Show()
{
    if (m_nCurrent < 0 || !m_bActive)
        return;
    const int nTool = m_nCurrent;
    const std::string text = TextOf(nTool);
    if (text.empty() || m_nCurrent != nTool)
        return;
    m_text = text;
    SetWindowTextA(m_hWnd, m_text.c_str());
    FitText();
    POINT pt{};
    GetCursorPos(&pt);
    SetWindowPos(m_hWnd, HWND_TOPMOST, pt.x, pt.y + kBelowPointer, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
    // The tool's window may place the tip itself (answering nonzero).
    NMHDR hdr{};
    NotifyTool(m_tools[static_cast<size_t>(nTool)], hdr, TTN_SHOW);
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    m_bShown = true;
    SetTimer(m_hWnd, kPopTimer, static_cast<UINT>(m_delays[TTDT_AUTOPOP]), nullptr);
}

void ToolTipControl::Hide()
{
    KillTimer(m_hWnd, kPopTimer);
    if (!m_bShown)
        return;
    m_bShown = false;
    ShowWindow(m_hWnd, SW_HIDE);
    if (m_nCurrent >= 0)
    {
        NMHDR hdr{};
        NotifyTool(m_tools[static_cast<size_t>(m_nCurrent)], hdr, TTN_POP);
    }
}

void ToolTipControl::Forget()
{
    KillTimer(m_hWnd, kShowTimer);
    KillTimer(m_hWnd, kLeaveTimer);
    Hide();
    m_nCurrent = -1;
}

void ToolTipControl::FitText()
{
    ControlDC dc(m_hWnd, nullptr);
    RECT rcText{0, 0, std::max(m_nMaxWidth, 0), 0};
    DrawTextA(dc, m_text.c_str(), -1, &rcText, DT_CALCRECT | TextFormat());
    SetWindowPos(m_hWnd, nullptr, 0, 0, rcText.right + 2 * kTipMargin + 2,
                 rcText.bottom + 2 * kTipMargin + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ToolTipControl::Paint(HDC hdc)
{
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(hdc, &rc, GetSysColorBrush(COLOR_INFOTEXT));
    const HGDIOBJ hOldFont = SelectObject(hdc, ControlFontOrDefault(nullptr));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&rc, -kTipMargin - 1, -kTipMargin - 1);
    DrawTextA(hdc, m_text.c_str(), -1, &rc, DT_LEFT | TextFormat());
    SelectObject(hdc, hOldFont);
}

LRESULT ToolTipControl::Handle(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    // The messages about one tool carry its TOOLINFOA.
    const bool bToolMessage = nMsg == TTM_ADDTOOLA || nMsg == TTM_DELTOOLA ||
                              nMsg == TTM_NEWTOOLRECTA || nMsg == TTM_SETTOOLINFOA ||
                              nMsg == TTM_UPDATETIPTEXTA || nMsg == TTM_GETTOOLINFOA ||
                              nMsg == TTM_GETTEXTA;
    auto* pInfo = bToolMessage ? reinterpret_cast<TOOLINFOA*>(lParam) : nullptr;
    const int nTool = Find(pInfo);
    switch (nMsg)
    {
    case TTM_ADDTOOLA:
        if (pInfo == nullptr)
            return FALSE;
        if (nTool >= 0)
            SetToolInfo(m_tools[static_cast<size_t>(nTool)], *pInfo);
        else
            SetToolInfo(m_tools.emplace_back(), *pInfo);
        return TRUE;
    case TTM_DELTOOLA:
        if (nTool < 0)
            return 0;
        if (nTool == m_nCurrent)
            Forget();
        else if (nTool < m_nCurrent)
            --m_nCurrent;
        m_tools.erase(m_tools.begin() + nTool);
        return 0;
    case TTM_NEWTOOLRECTA:
        if (nTool >= 0)
            m_tools[static_cast<size_t>(nTool)].info.rect = pInfo->rect;
        return 0;
    case TTM_SETTOOLINFOA:
        if (nTool >= 0)
            SetToolInfo(m_tools[static_cast<size_t>(nTool)], *pInfo);
        return 0;
    case TTM_UPDATETIPTEXTA:
        if (nTool >= 0)
        {
            Tool& tool = m_tools[static_cast<size_t>(nTool)];
            TOOLINFOA info = tool.info;
            info.hinst = pInfo->hinst;
            info.lpszText = pInfo->lpszText;
            SetToolInfo(tool, info);
            if (m_bShown && nTool == m_nCurrent)
                Show();
        }
        return 0;
    case TTM_GETTOOLINFOA:
        if (nTool < 0)
            return FALSE;
        GetToolInfo(m_tools[static_cast<size_t>(nTool)], *pInfo);
        return TRUE;
    case TTM_ENUMTOOLSA:
        if (lParam == 0 || wParam >= m_tools.size())
            return FALSE;
        GetToolInfo(m_tools[wParam], *reinterpret_cast<TOOLINFOA*>(lParam));
        return TRUE;
    case TTM_GETCURRENTTOOLA:
        if (!m_bShown || m_nCurrent < 0)
            return FALSE;
        if (lParam != 0)
            GetToolInfo(m_tools[static_cast<size_t>(m_nCurrent)],
                        *reinterpret_cast<TOOLINFOA*>(lParam));
        return TRUE;
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(m_tools.size());
    case TTM_HITTESTA:
    {
        auto* pHit = reinterpret_cast<TTHITTESTINFOA*>(lParam);
        const int nHit = pHit != nullptr ? ToolAt(pHit->hwnd, pHit->pt) : -1;
        if (nHit < 0)
            return FALSE;
        GetToolInfo(m_tools[static_cast<size_t>(nHit)], pHit->ti);
        return TRUE;
    }
    case TTM_GETTEXTA:
        if (nTool >= 0 && IsTextPointer(pInfo->lpszText))
            CopyTextTo(TextOf(nTool).c_str(), pInfo->lpszText,
                       wParam != 0 ? static_cast<int>(wParam) : 80);
        return 0;
    case TTM_RELAYEVENT:
        if (lParam != 0)
            OnRelay(*reinterpret_cast<const MSG*>(lParam));
        return 0;
    case TTM_ACTIVATE:
        m_bActive = wParam != FALSE;
        if (!m_bActive)
            Forget();
        return 0;
    case TTM_SETDELAYTIME:
        SetDelay(wParam, static_cast<short>(LOWORD(lParam)));
        return 0;
    case TTM_GETDELAYTIME:
        return wParam < m_delays.size() ? m_delays[wParam] : m_delays[TTDT_INITIAL];
    case TTM_SETMAXTIPWIDTH:
    {
        const int nOld = m_nMaxWidth;
        m_nMaxWidth = static_cast<int>(lParam);
        return nOld;
    }
    case TTM_GETMAXTIPWIDTH:
        return m_nMaxWidth;
    case TTM_POP:
        KillTimer(m_hWnd, kShowTimer);
        Hide();
        return 0;
    case TTM_UPDATE:
        if (m_bShown)
            Show();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
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
    return DispatchToControl<ToolTipControl>(hWnd, nMsg, wParam, lParam);
}
