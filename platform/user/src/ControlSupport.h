// What the layer's controls share: their own data behind the window, the
// notifications and colours they ask of their parent, their font and a DC
// to measure and draw text with it.
#pragma once

#include "WinControls.h"
#include "WinMessageQueue.h"
#include "WinPaint.h"
#include "WinWindow.h"

#include <string>

// Controls keep a pointer to their data in their first extra bytes.
constexpr int kControlDataExtra = sizeof(void*);

template <typename T> T* GetControlData(HWND hWnd)
{
    return reinterpret_cast<T*>(GetWindowLongPtrA(hWnd, 0));
}
// The window procedure of a control class T: its data is made at
// WM_NCCREATE, paints (T::Paint), handles the other messages (T::Handle)
// and goes at WM_NCDESTROY.
template <typename T> LRESULT DispatchToControl(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_NCCREATE)
        SetWindowLongPtrA(hWnd, 0, reinterpret_cast<LONG_PTR>(new T(hWnd)));
    T* pControl = GetControlData<T>(hWnd);
    if (pControl == nullptr)
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    switch (nMsg)
    {
    case WM_NCDESTROY:
        SetWindowLongPtrA(hWnd, 0, 0);
        delete pControl;
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    case WM_PAINT:
    {
        // Every control paints all of itself (T::Paint), background included.
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hWnd, &paint);
        pControl->Paint(hdc);
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    default:
        return pControl->Handle(nMsg, wParam, lParam);
    }
}

// WM_COMMAND to the parent with the code in HIWORD(wParam).
void NotifyParent(HWND hWnd, WORD nCode);
// Asks the parent for the control's colours (WM_CTLCOLOR*); the answer's
// brush, or the default one when the parent gives none.
HBRUSH GetControlBrush(HWND hWnd, HDC hdc, UINT nCtlColorMsg);
// The font a control draws with: the one set by WM_SETFONT, else the
// default GUI font.
HFONT ControlFontOrDefault(HFONT hFont);
// A DC of the window's client area with the control's font selected.
class ControlDC
{
public:
    ControlDC(HWND hWnd, HFONT hFont);
    ~ControlDC();
    ControlDC(const ControlDC&) = delete;
    ControlDC& operator=(const ControlDC&) = delete;

    operator HDC() const { return m_hdc; }

private:
    HWND m_hWnd;
    HDC m_hdc;
    HGDIOBJ m_hOldFont;
};
// Height of a line of text in the font.
int GetFontLineHeight(HFONT hFont);
// The mnemonic of a caption ("&Name": 'n'), 0 when none.
char GetCaptionMnemonic(const char* pszText);
bool IsWindowOfClass(HWND hWnd, const char* pszClass);
// Copies as much of text as fits a buffer of cchMax characters, with the
// closing NUL; the characters copied.
int CopyTextTo(const char* pszText, LPSTR pszBuffer, int cchMax);
// The text controls' clipboard: text put there as CF_TEXT owned by the
// control, and the CF_TEXT there (empty when none).
void PutTextOnClipboard(HWND hOwner, const std::string& text);
std::string TakeTextFromClipboard(HWND hOwner);
