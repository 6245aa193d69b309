// An off-screen surface of a given size and depth: a memory DC over a DIB
// section whose colour table, at 8 bits and below, comes from a palette
// (grey when none is given). The pane's image is drawn into it and blitted
// or stretched out of it again; the bits stay reachable for reading.
#pragma once

#include "AfxDC.h"
#include "AfxGdi.h"
#include "QuillonExport.h"

// A palette of the 256 grey levels, index i being (i, i, i).
class QUILLON_API GreyPalette : public CPalette
{
public:
    GreyPalette();
};

class QUILLON_API CMemoryDC : public CDC
{
public:
    // A surface compatible with the given DC (the screen's when null), top
    // row first. A failed creation leaves a DC on which drawing does nothing
    // (IsValid false).
    CMemoryDC(CDC* pDC, int width, int height, int bitCount, CPalette* palette = nullptr);
    ~CMemoryDC() override;
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

    bool IsValid() const { return m_hBitmap != nullptr; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetBitCount() const { return m_nBitCount; }
    CRect GetRect() const { return CRect(0, 0, m_nWidth, m_nHeight); }
    HBITMAP GetBitmap() const { return m_hBitmap; }
    // The pixel rows, top row first, each GetStride bytes long.
    void* GetBits() const { return m_pBits; }
    int GetStride() const;

private:
    int m_nWidth;
    int m_nHeight;
    int m_nBitCount;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    void* m_pBits = nullptr;
};
