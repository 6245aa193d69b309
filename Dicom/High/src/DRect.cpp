#include "DRect.h"

#include <utility>

DRect::DRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}

DRect::DRect(const DRect* other) : DRect(*other) {}

void DRect::CenterPoint(int& x, int& y) const
{
    x = (left + right) / 2;
    y = (top + bottom) / 2;
}

void DRect::SwapLeftRight()
{
    std::swap(left, right);
}

void DRect::SwapLeftRight(DRect* rect)
{
    rect->SwapLeftRight();
}

int DRect::IsRectEmpty() const
{
    return left < right && top < bottom ? 0 : 1;
}

int DRect::IsRectNull() const
{
    return left == 0 && top == 0 && right == 0 && bottom == 0 ? 1 : 0;
}

int DRect::PtInRect(int x, int y) const
{
    return left <= x && x < right && top <= y && y < bottom ? 1 : 0;
}

void DRect::SetRect(int newLeft, int newTop, int newRight, int newBottom)
{
    left = newLeft;
    top = newTop;
    right = newRight;
    bottom = newBottom;
}

void DRect::SetRectEmpty()
{
    SetRect(0, 0, 0, 0);
}

void DRect::CopyRect(const DRect* other)
{
    *this = *other;
}

int DRect::EqualRect(const DRect* other) const
{
    return *this == *other ? 1 : 0;
}

bool DRect::operator==(const DRect& other) const
{
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
}

bool DRect::operator!=(const DRect& other) const
{
    return !(*this == other);
}

void DRect::OffsetRect(int dx, int dy)
{
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

void DRect::InflateRect(int dx, int dy)
{
    InflateRect(dx, dy, dx, dy);
}

void DRect::DeflateRect(int dx, int dy)
{
    DeflateRect(dx, dy, dx, dy);
}

void DRect::InflateRect(int l, int t, int r, int b)
{
    left -= l;
    top -= t;
    right += r;
    bottom += b;
}

void DRect::DeflateRect(int l, int t, int r, int b)
{
    left += l;
    top += t;
    right -= r;
    bottom -= b;
}

void DRect::InflateRect(const DRect* d)
{
    InflateRect(d->left, d->top, d->right, d->bottom);
}

void DRect::DeflateRect(const DRect* d)
{
    DeflateRect(d->left, d->top, d->right, d->bottom);
}

DRect& DRect::operator+=(const DRect* d)
{
    InflateRect(d);
    return *this;
}

DRect& DRect::operator-=(const DRect* d)
{
    DeflateRect(d);
    return *this;
}

DRect DRect::operator+(const DRect* d) const
{
    DRect result(*this);
    result.InflateRect(d);
    return result;
}

DRect DRect::operator-(const DRect* d) const
{
    DRect result(*this);
    result.DeflateRect(d);
    return result;
}

void DRect::NormalizeRect()
{
    if (right < left)
    {
        std::swap(left, right);
    }
    if (bottom < top)
    {
        std::swap(top, bottom);
    }
}
