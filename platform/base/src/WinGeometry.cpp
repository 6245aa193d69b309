#include "WinGeometry.h"

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom)
{
    if (rect == nullptr)
        return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect)
{
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT dst, const RECT* src)
{
    if (dst == nullptr || src == nullptr)
        return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy)
{
    if (rect == nullptr)
        return FALSE;
    rect->left -= dx;
    rect->top -= dy;
    rect->right += dx;
    rect->bottom += dy;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy)
{
    if (rect == nullptr)
        return FALSE;
    rect->left += dx;
    rect->top += dy;
    rect->right += dx;
    rect->bottom += dy;
    return TRUE;
}

BOOL IsRectEmpty(const RECT* rect)
{
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    const RECT result{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
                      a->right < b->right ? a->right : b->right,
                      a->bottom < b->bottom ? a->bottom : b->bottom};
    if (IsRectEmpty(&result))
    {
        SetRectEmpty(dst);
        return FALSE;
    }
    *dst = result;
    return TRUE;
}

BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b)
{
    if (dst == nullptr || a == nullptr || b == nullptr)
        return FALSE;
    const bool emptyA = IsRectEmpty(a);
    const bool emptyB = IsRectEmpty(b);
    if (emptyA && emptyB)
    {
        SetRectEmpty(dst);
        return FALSE;
    }
    if (emptyA || emptyB)
    {
        *dst = emptyA ? *b : *a;
        return TRUE;
    }
    *dst = RECT{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
                a->right > b->right ? a->right : b->right,
                a->bottom > b->bottom ? a->bottom : b->bottom};
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
    if (a == nullptr || b == nullptr)
        return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT pt)
{
    if (rect == nullptr)
        return FALSE;
    return pt.x >= rect->left && pt.x < rect->right && pt.y >= rect->top && pt.y < rect->bottom;
}
