// An integer rectangle of image pixels, such as the part of an image a
// caller asks for. Right and bottom are exclusive.
#pragma once

#include "VeltaroExport.h"

class VELTARO_API DRect
{
public:
    DRect() = default;
    DRect(int left, int top, int right, int bottom);
    DRect(const DRect& other) = default;
    explicit DRect(const DRect* other);
    DRect& operator=(const DRect& other) = default;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    void CenterPoint(int& x, int& y) const;

    void SwapLeftRight();
    static void SwapLeftRight(DRect* rect);

    int IsRectEmpty() const;
    int IsRectNull() const;
    int PtInRect(int x, int y) const;

    void SetRect(int newLeft, int newTop, int newRight, int newBottom);
    void SetRectEmpty();
    void CopyRect(const DRect* other);
    int EqualRect(const DRect* other) const;
    bool operator==(const DRect& other) const;
    bool operator!=(const DRect& other) const;

    void OffsetRect(int dx, int dy);
    void InflateRect(int dx, int dy);
    void DeflateRect(int dx, int dy);
    void InflateRect(int l, int t, int r, int b);
    void DeflateRect(int l, int t, int r, int b);
    void InflateRect(const DRect* d);
    void DeflateRect(const DRect* d);
    DRect& operator+=(const DRect* d);
    DRect& operator-=(const DRect* d);
    DRect operator+(const DRect* d) const;
    DRect operator-(const DRect* d) const;

    void NormalizeRect();

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
