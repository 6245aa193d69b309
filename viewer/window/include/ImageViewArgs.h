// The arguments of the image view's events. Each lives on the firing
// view's stack for the duration of one Invoke.
#pragma once

#include "Delegate.h"
#include "QuillonExport.h"
#include "WinTypes.h"

class ImageShow;

// A change of the hot image: the image now hot and the one before (either
// may be null).
class QUILLON_API HotImageArgs : public DelegateArgs
{
public:
    HotImageArgs(ImageShow* hot, ImageShow* old) : m_pNew(hot), m_pOld(old) {}

    ImageShow* m_pNew;
    ImageShow* m_pOld;
};

// One or two numbers: a tool code, a command identifier, a transaction
// number, a series step; the position and code of a vertical scroll; the
// key flags and delta of a wheel turn; the step and wrap of a page scroll.
class QUILLON_API ValueArgs : public DelegateArgs
{
public:
    explicit ValueArgs(int value, int extra = 0) : m_nValue(value), m_nExtra(extra) {}

    int m_nValue;
    int m_nExtra;
};

// A key press; a handler that consumed it sets m_bHandled.
class QUILLON_API KeyArgs : public DelegateArgs
{
public:
    KeyArgs(UINT key, UINT repeat, UINT flags) : m_nKey(key), m_nRepeat(repeat), m_nFlags(flags) {}

    UINT m_nKey;
    UINT m_nRepeat;
    UINT m_nFlags;
    bool m_bHandled = false;
};

// A mouse button event at a client point.
class QUILLON_API PointArgs : public DelegateArgs
{
public:
    PointArgs(UINT flags, POINT point) : m_nFlags(flags), m_Point(point) {}

    UINT m_nFlags;
    POINT m_Point;
};
