#include "Caret.h"

#include "WinCursor.h"
#include "WinWindow.h"

namespace
{
struct CaretState
{
    HWND hWnd = nullptr;
    int nWidth = 0;
    int nHeight = 0;
    POINT pos{0, 0};
    int nHideCount = 1;
    bool bDrawn = false;
    bool bOffForPaint = false;
};

CaretState& Caret()
{
    static CaretState caret;
    return caret;
}

void Invert()
{
    CaretState& caret = Caret();
    HDC hdc = GetDC(caret.hWnd);
    if (hdc == nullptr)
        return;
    const RECT rect{caret.pos.x, caret.pos.y, caret.pos.x + caret.nWidth,
                    caret.pos.y + caret.nHeight};
    InvertRect(hdc, &rect);
    ReleaseDC(caret.hWnd, hdc);
    caret.bDrawn = !caret.bDrawn;
}

void Erase()
{
    if (Caret().bDrawn)
        Invert();
}

void DrawIfShown()
{
    const CaretState& caret = Caret();
    if (caret.hWnd != nullptr && caret.nHideCount == 0 && !caret.bDrawn && !caret.bOffForPaint)
        Invert();
}
} // namespace

BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int width, int height)
{
    if (!IsWindow(hWnd))
        return FALSE;
    DestroyCaret();
    CaretState& caret = Caret();
    caret.hWnd = hWnd;
    caret.nWidth = width > 0 ? width : 1;
    caret.nHeight = height > 0 ? height : 16;
    BITMAP bitmap;
    if (hBitmap != nullptr && GetObjectA(hBitmap, sizeof(bitmap), &bitmap) != 0)
    {
        caret.nWidth = bitmap.bmWidth;
        caret.nHeight = bitmap.bmHeight;
    }
    return TRUE;
}

BOOL DestroyCaret()
{
    Erase();
    Caret() = CaretState{};
    return TRUE;
}

BOOL ShowCaret(HWND hWnd)
{
    CaretState& caret = Caret();
    if (caret.hWnd == nullptr || (hWnd != nullptr && hWnd != caret.hWnd) || caret.nHideCount == 0)
        return FALSE;
    --caret.nHideCount;
    DrawIfShown();
    return TRUE;
}

BOOL HideCaret(HWND hWnd)
{
    CaretState& caret = Caret();
    if (caret.hWnd == nullptr || (hWnd != nullptr && hWnd != caret.hWnd))
        return FALSE;
    Erase();
    ++caret.nHideCount;
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    CaretState& caret = Caret();
    if (caret.hWnd == nullptr)
        return FALSE;
    const bool bWasDrawn = caret.bDrawn;
    Erase();
    caret.pos = POINT{x, y};
    if (bWasDrawn)
        Invert();
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point)
{
    if (point == nullptr)
        return FALSE;
    *point = Caret().pos;
    return TRUE;
}

UINT GetCaretBlinkTime()
{
    return 530;
}

void HideCaretForPaint(HWND hWnd)
{
    CaretState& caret = Caret();
    if (caret.hWnd != hWnd)
        return;
    Erase();
    caret.bOffForPaint = true;
}

void ShowCaretAfterPaint(HWND hWnd)
{
    CaretState& caret = Caret();
    if (caret.hWnd != hWnd)
        return;
    caret.bOffForPaint = false;
    DrawIfShown();
}

void EraseCaretOf(HWND hWnd)
{
    if (Caret().hWnd == hWnd)
        Erase();
}

void ScrollCaretOf(HWND hWnd, const RECT& scroll, int dx, int dy)
{
    CaretState& caret = Caret();
    if (caret.hWnd != hWnd)
        return;
    if (PtInRect(&scroll, caret.pos))
        caret.pos = POINT{caret.pos.x + dx, caret.pos.y + dy};
    DrawIfShown();
}

void DropCaretOf(HWND hWnd)
{
    if (Caret().hWnd == hWnd)
        Caret() = CaretState{};
}
