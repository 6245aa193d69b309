// DIBHolder: holds the packed DIB an ImageShow renders into. Holders share
// one DIB through a reference-counted information block, so copying a
// picture costs no pixel copy; the last holder to let go destroys the DIB.
// The count changes only by interlocked operations.
#pragma once

#include "DibApi.h"
#include "QuillonExport.h"
#include "WinGdi.h"
#include "WinTypes.h"

class QUILLON_API DIBHolder
{
public:
    // Shared by every holder of one DIB.
    struct Info
    {
        LONG nRefs;
        // Header, colour table and pixel rows, in bytes (kept twice).
        DWORD nTotalSize;
        DWORD nTotalSize2;
        BITMAPINFOHEADER header;
    };

    DIBHolder();
    DIBHolder(const DIBHolder& other);
    DIBHolder& operator=(const DIBHolder& other);
    ~DIBHolder();

    // Takes the DIB over (ownership passes): the holder releases what it
    // held first. A DIB that cannot be locked is destroyed and the holder
    // stays empty. Returns the holder.
    DIBHolder& AttachDIB(HDIB dib);
    // A private copy of the DIB's bytes into the target; the target stays
    // empty when this holder has none or memory runs out.
    void CopyTo(DIBHolder& target) const;
    // Drops this holder's share; the last one destroys the DIB.
    void Release();

    // False without a DIB or when the bitmap file cannot be written.
    bool SaveBitmap(const char* path) const;
    // The DIB as a JPEG file; false without a DIB or when it cannot be
    // converted or written.
    bool SaveJPEG(const char* path) const;

    HDIB GetDIB() const { return m_hDIB; }
    bool IsEmpty() const { return m_hDIB == nullptr; }
    const BITMAPINFOHEADER& GetHeader() const { return m_pInfo->header; }
    LONG GetWidth() const { return m_pInfo->header.biWidth; }
    // Rows; top-down DIBs too.
    LONG GetHeight() const;
    DWORD GetTotalSize() const { return m_pInfo->nTotalSize; }
    LONG GetRefCount() const { return m_pInfo->nRefs; }

    // Bytes of pixel rows, colours of the table and total size a header
    // describes.
    static DWORD ComputeImageSize(const BITMAPINFOHEADER& header);
    static DWORD ComputeColors(const BITMAPINFOHEADER& header);

private:
    void Share(const DIBHolder& other);
    bool IsOnEmpty() const { return m_pInfo == &s_Empty; }

    HDIB m_hDIB;
    Info* m_pInfo;

    static Info s_Empty;
};
