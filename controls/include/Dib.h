// CDib: a device-independent bitmap held as two locked global blocks (the
// information header with its colour table, and the rows) and a palette
// made from the table. It reads and writes bitmap files, the clipboard's
// whole-file handle form and archives, and paints itself.
#pragma once

#include "AfxArchive.h"
#include "AfxFile.h"
#include "AfxGdi.h"
#include "ZentiqExport.h"

class ZENTIQ_API CDib : public CObject
{
    DECLARE_DYNAMIC(CDib)

public:
    CDib() = default;
    ~CDib() override;
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    void Invalidate() { Free(); }
    BOOL IsValid() const { return m_pBMI != nullptr; }

    DWORD Width() const;
    DWORD Height() const;
    int BitCount() const;
    // biClrUsed, else 2, 16 or 256 for 1, 4 or 8 bits, else 0.
    WORD NumColors() const;

    // The whole picture or a part of it (src, rows from the top) onto dst:
    // 1:1 or stretched. The scan lines drawn; 0 when empty.
    int Paint(HDC hdc, LPRECT dst, LPRECT src) const;

    // A bitmap file of the DIB; the bytes written, 0 when empty. File
    // exceptions reach the caller.
    DWORD Save(CFile& file) const;
    // A bitmap file from the file's current position, checked against the
    // file before anything is trusted; the bytes read, 0 (and empty) when
    // the file is refused.
    DWORD Read(CFile& file);
    // A movable block holding a whole bitmap file (the clipboard's form);
    // null on failure.
    HGLOBAL CopyToHandle() const;
    // Read from such a block, which stays the caller's.
    DWORD ReadFromHandle(HGLOBAL hGlobal);
    void Serialize(CArchive& ar) override;

    // The palette made from the colour table, null when none.
    CPalette* GetPalette() const { return m_pPalette; }

protected:
    void Free();
    // Entries × 4 by the rule of NumColors.
    WORD PaletteSize() const;
    // FALSE when empty; TRUE without a palette for a DIB without a colour table.
    BOOL CreatePalette();

private:
    DWORD ImageSize() const;

    BITMAPINFOHEADER* m_pBMI = nullptr;
    BYTE* m_pBits = nullptr;
    CPalette* m_pPalette = nullptr;
};
