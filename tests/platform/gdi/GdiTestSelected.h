// An object selected into a DC for a test's scope, deleted at its end.
#pragma once

#include "WinGdi.h"

struct Selected
{
    Selected(HDC dc, HGDIOBJ obj) : m_dc(dc), m_obj(obj), m_old(SelectObject(dc, obj)) {}
    ~Selected()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_obj);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

    HDC m_dc;
    HGDIOBJ m_obj;
    HGDIOBJ m_old;
};
