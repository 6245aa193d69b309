// Rectangle helpers and the MFC geometry classes CPoint, CSize and CRect.
// Right and bottom edges are exclusive: a rectangle covers
// [left, right) x [top, bottom).
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

extern "C"
{
    PLATFORMBASE_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
    PLATFORMBASE_API BOOL SetRectEmpty(LPRECT rect);
    PLATFORMBASE_API BOOL CopyRect(LPRECT dst, const RECT* src);
    PLATFORMBASE_API BOOL InflateRect(LPRECT rect, int dx, int dy);
    PLATFORMBASE_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
    // Empty result (all zero) and FALSE when the rectangles do not overlap.
    PLATFORMBASE_API BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b);
    // The smallest rectangle holding both; empty inputs are ignored.
    PLATFORMBASE_API BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b);
    PLATFORMBASE_API BOOL EqualRect(const RECT* a, const RECT* b);
    // TRUE when the width or the height is zero or negative.
    PLATFORMBASE_API BOOL IsRectEmpty(const RECT* rect);
    PLATFORMBASE_API BOOL PtInRect(const RECT* rect, POINT pt);
}

class CSize;
class CRect;

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int initX, int initY) : POINT{initX, initY} {}
    CPoint(POINT pt) : POINT(pt) {}
    explicit CPoint(SIZE size) : POINT{size.cx, size.cy} {}
    // Signed 16-bit halves of a packed coordinate pair, as in mouse messages.
    explicit CPoint(LPARAM packed) : POINT{GET_X_LPARAM(packed), GET_Y_LPARAM(packed)} {}

    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    void Offset(POINT pt) { Offset(pt.x, pt.y); }
    void SetPoint(int newX, int newY)
    {
        x = newX;
        y = newY;
    }

    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
    CPoint& operator+=(POINT pt)
    {
        Offset(pt);
        return *this;
    }
    CPoint& operator-=(POINT pt)
    {
        Offset(-pt.x, -pt.y);
        return *this;
    }
    CPoint& operator+=(SIZE size)
    {
        Offset(size.cx, size.cy);
        return *this;
    }
    CPoint& operator-=(SIZE size)
    {
        Offset(-size.cx, -size.cy);
        return *this;
    }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
    inline CSize operator-(POINT pt) const;
    inline CRect operator+(const RECT* rect) const;
    inline CRect operator-(const RECT* rect) const;
};

class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} {}
    CSize(int initCX, int initCY) : SIZE{initCX, initCY} {}
    CSize(SIZE size) : SIZE(size) {}
    explicit CSize(POINT pt) : SIZE{pt.x, pt.y} {}

    void SetSize(int newCX, int newCY)
    {
        cx = newCX;
        cy = newCY;
    }
    bool operator==(SIZE size) const { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const { return !(*this == size); }
    CSize& operator+=(SIZE size)
    {
        cx += size.cx;
        cy += size.cy;
        return *this;
    }
    CSize& operator-=(SIZE size)
    {
        cx -= size.cx;
        cy -= size.cy;
        return *this;
    }
    CSize operator-() const { return CSize(-cx, -cy); }
    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CPoint operator+(POINT pt) const { return CPoint(cx + pt.x, cy + pt.y); }
    CPoint operator-(POINT pt) const { return CPoint(cx - pt.x, cy - pt.y); }
};

class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rect) : RECT(rect) {}
    CRect(const RECT* rect) : RECT(*rect) {}
    CRect(POINT pt, SIZE size) : RECT{pt.x, pt.y, pt.x + size.cx, pt.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    // The two corners alias the rectangle's own fields, as callers assign
    // through them.
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRect(POINT topLeft, POINT bottomRight)
    {
        ::SetRect(this, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(const RECT* src) { ::CopyRect(this, src); }
    BOOL EqualRect(const RECT* rect) const { return ::EqualRect(this, rect); }
    void NormalizeRect()
    {
        if (left > right)
            Swap(left, right);
        if (top > bottom)
            Swap(top, bottom);
    }

    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
    void InflateRect(const RECT* rect)
    {
        InflateRect(rect->left, rect->top, rect->right, rect->bottom);
    }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void DeflateRect(SIZE size) { DeflateRect(size.cx, size.cy); }
    void DeflateRect(const RECT* rect)
    {
        DeflateRect(rect->left, rect->top, rect->right, rect->bottom);
    }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }

    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT pt) { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }
    BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }

    CRect& operator=(const RECT& rect)
    {
        ::CopyRect(this, &rect);
        return *this;
    }
    bool operator==(const RECT& rect) const { return ::EqualRect(this, &rect) != FALSE; }
    bool operator!=(const RECT& rect) const { return !(*this == rect); }
    CRect& operator+=(POINT pt)
    {
        OffsetRect(pt);
        return *this;
    }
    CRect& operator-=(POINT pt)
    {
        OffsetRect(-pt.x, -pt.y);
        return *this;
    }
    CRect& operator+=(SIZE size)
    {
        OffsetRect(size);
        return *this;
    }
    CRect& operator-=(SIZE size)
    {
        OffsetRect(-size.cx, -size.cy);
        return *this;
    }
    CRect& operator+=(const RECT* rect)
    {
        InflateRect(rect);
        return *this;
    }
    CRect& operator-=(const RECT* rect)
    {
        DeflateRect(rect);
        return *this;
    }
    CRect& operator&=(const RECT& rect)
    {
        const RECT self = *this;
        ::IntersectRect(this, &self, &rect);
        return *this;
    }
    CRect& operator|=(const RECT& rect)
    {
        const RECT self = *this;
        ::UnionRect(this, &self, &rect);
        return *this;
    }
    CRect operator+(POINT pt) const
    {
        CRect rect(*this);
        rect.OffsetRect(pt);
        return rect;
    }
    CRect operator-(POINT pt) const
    {
        CRect rect(*this);
        rect.OffsetRect(-pt.x, -pt.y);
        return rect;
    }
    CRect operator+(SIZE size) const
    {
        CRect rect(*this);
        rect.OffsetRect(size);
        return rect;
    }
    CRect operator-(SIZE size) const
    {
        CRect rect(*this);
        rect.OffsetRect(-size.cx, -size.cy);
        return rect;
    }
    CRect operator+(const RECT* rect) const
    {
        CRect result(*this);
        result.InflateRect(rect);
        return result;
    }
    CRect operator-(const RECT* rect) const
    {
        CRect result(*this);
        result.DeflateRect(rect);
        return result;
    }
    CRect operator&(const RECT& rect) const
    {
        CRect result;
        ::IntersectRect(&result, this, &rect);
        return result;
    }
    CRect operator|(const RECT& rect) const
    {
        CRect result;
        ::UnionRect(&result, this, &rect);
        return result;
    }

private:
    static void Swap(LONG& a, LONG& b)
    {
        const LONG t = a;
        a = b;
        b = t;
    }
};

inline CSize CPoint::operator-(POINT pt) const
{
    return CSize(x - pt.x, y - pt.y);
}

inline CRect CPoint::operator+(const RECT* rect) const
{
    return CRect(*rect) + *this;
}

inline CRect CPoint::operator-(const RECT* rect) const
{
    return CRect(*rect) - *this;
}
