#include "ControlSupport.h"

#include "WinClipboard.h"
#include "WinGlobalMemory.h"
#include "WinSysMetrics.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

void NotifyParent(HWND hWnd, WORD nCode)
{
    const HWND hParent = GetParent(hWnd);
    if (hParent != nullptr)
        SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hWnd), nCode),
                     reinterpret_cast<LPARAM>(hWnd));
}

HBRUSH GetControlBrush(HWND hWnd, HDC hdc, UINT nCtlColorMsg)
{
    const HWND hParent = GetParent(hWnd);
    LRESULT answer = 0;
    if (hParent != nullptr)
        answer = SendMessageA(hParent, nCtlColorMsg, reinterpret_cast<WPARAM>(hdc),
                              reinterpret_cast<LPARAM>(hWnd));
    if (answer == 0)
        answer = DefWindowProcA(hWnd, nCtlColorMsg, reinterpret_cast<WPARAM>(hdc),
                                reinterpret_cast<LPARAM>(hWnd));
    return reinterpret_cast<HBRUSH>(answer);
}

HFONT ControlFontOrDefault(HFONT hFont)
{
    return hFont != nullptr ? hFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

ControlDC::ControlDC(HWND hWnd, HFONT hFont)
    : m_hWnd(hWnd), m_hdc(GetDC(hWnd)), m_hOldFont(SelectObject(m_hdc, ControlFontOrDefault(hFont)))
{
}

ControlDC::~ControlDC()
{
    SelectObject(m_hdc, m_hOldFont);
    ReleaseDC(m_hWnd, m_hdc);
}

int GetFontLineHeight(HFONT hFont)
{
    HDC hdc = CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = SelectObject(hdc, ControlFontOrDefault(hFont));
    TEXTMETRICA metrics{};
    GetTextMetricsA(hdc, &metrics);
    SelectObject(hdc, hOld);
    DeleteDC(hdc);
    return metrics.tmHeight;
}

char GetCaptionMnemonic(const char* pszText)
{
    for (const char* p = pszText; p != nullptr && p[0] != '\0' && p[1] != '\0'; ++p)
    {
        if (p[0] != '&')
            continue;
        if (p[1] != '&')
            return static_cast<char>(std::tolower(static_cast<unsigned char>(p[1])));
        ++p;
    }
    return 0;
}

bool IsWindowOfClass(HWND hWnd, const char* pszClass)
{
    char name[32] = {};
    return GetClassNameA(hWnd, name, sizeof(name)) > 0 && strcasecmp(name, pszClass) == 0;
}

int CopyTextTo(const char* pszText, LPSTR pszBuffer, int cchMax)
{
    if (pszBuffer == nullptr || cchMax <= 0)
        return 0;
    const std::size_t nCopied =
        std::min(std::strlen(pszText), static_cast<std::size_t>(cchMax - 1));
    std::memcpy(pszBuffer, pszText, nCopied);
    pszBuffer[nCopied] = '\0';
    return static_cast<int>(nCopied);
}

void PutTextOnClipboard(HWND hOwner, const std::string& text)
{
    if (!OpenClipboard(hOwner))
        return;
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (auto* p = static_cast<char*>(GlobalLock(hGlobal)))
    {
        std::memcpy(p, text.c_str(), text.size() + 1);
        GlobalUnlock(hGlobal);
        EmptyClipboard();
        SetClipboardData(CF_TEXT, hGlobal);
    }
    CloseClipboard();
}

std::string TakeTextFromClipboard(HWND hOwner)
{
    std::string text;
    if (!OpenClipboard(hOwner))
        return text;
    const HANDLE hText = GetClipboardData(CF_TEXT);
    if (const auto* p = static_cast<const char*>(GlobalLock(hText)))
    {
        text.assign(p, strnlen(p, GlobalSize(hText)));
        GlobalUnlock(hText);
    }
    CloseClipboard();
    return text;
}
