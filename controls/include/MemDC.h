// An off-screen drawing surface for flicker-free painting: everything drawn
// between construction and destruction is copied onto the target DC in one
// block transfer when the object goes out of scope. On a printing DC it
// draws straight onto that DC.
#pragma once

#include "AfxDC.h"
#include "ZentiqExport.h"

class ZENTIQ_API CMemDC : public CDC
{
public:
    explicit CMemDC(CDC* pDC);
    ~CMemDC() override;

    operator CMemDC*() { return this; }
    CMemDC* operator->() { return this; }

private:
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};
