#include "Dib.h"

#include "DibApi.h"

#include "DibFileSource.h"
#include "DibLog.h"
#include "DibPaint.h"
#include "PackedDib.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CDib, CObject)

namespace
{
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);

// A locked, zeroed movable block of at least one byte; null when out of
// memory.
void* AllocLocked(std::uint64_t size)
{
    HGLOBAL block = GlobalAlloc(GHND, SIZE_T(size != 0 ? size : 1));
    if (block == nullptr)
        return nullptr;
    void* data = GlobalLock(block);
    if (data == nullptr)
        GlobalFree(block);
    return data;
}

void FreeLocked(const void* data)
{
    if (data == nullptr)
        return;
    HGLOBAL block = GlobalHandle(data);
    GlobalUnlock(block);
    GlobalFree(block);
}
} // namespace

CDib::~CDib()
{
    Free();
}

void CDib::Free()
{
    FreeLocked(m_pBMI);
    FreeLocked(m_pBits);
    m_pBMI = nullptr;
    m_pBits = nullptr;
    delete m_pPalette;
    m_pPalette = nullptr;
}

DWORD CDib::Width() const
{
    return m_pBMI != nullptr ? DWORD(m_pBMI->biWidth) : 0;
}

DWORD CDib::Height() const
{
    return m_pBMI != nullptr ? DWORD(m_pBMI->biHeight) : 0;
}

int CDib::BitCount() const
{
    return m_pBMI != nullptr ? m_pBMI->biBitCount : 0;
}

WORD CDib::NumColors() const
{
    return m_pBMI != nullptr ? DIBNumColors(reinterpret_cast<char*>(m_pBMI)) : 0;
}

WORD CDib::PaletteSize() const
{
    return WORD(NumColors() * sizeof(RGBQUAD));
}

DWORD CDib::ImageSize() const
{
    if (m_pBMI->biCompression == BI_RLE8 || m_pBMI->biCompression == BI_RLE4)
        return m_pBMI->biSizeImage;
    return DWORD(GetDibStride(std::uint64_t(m_pBMI->biWidth), m_pBMI->biBitCount) *
                 std::uint64_t(m_pBMI->biHeight));
}

BOOL CDib::CreatePalette()
{
    if (m_pBMI == nullptr)
        return FALSE;
    delete m_pPalette;
    m_pPalette = nullptr;
    // The masks of a bit-field DIB stand where a table would; they are no
    // colours.
    if (m_pBMI->biCompression == BI_BITFIELDS || (m_pBMI->biBitCount > 8 && m_pBMI->biClrUsed == 0))
        return TRUE;
    HPALETTE handle = CreateTablePalette(reinterpret_cast<const BYTE*>(m_pBMI) + kInfoHeaderSize,
                                         NumColors(), sizeof(RGBQUAD));
    if (handle == nullptr)
        return FALSE;
    m_pPalette = new CPalette;
    return m_pPalette->Attach(handle);
}

int CDib::Paint(HDC hdc, LPRECT dst, LPRECT src) const
{
    if (!IsValid() || dst == nullptr || src == nullptr)
        return 0;
    HPALETTE palette = m_pPalette != nullptr ? static_cast<HPALETTE>(*m_pPalette) : nullptr;
    PaletteScope scope(hdc, palette, TRUE, palette != nullptr);
    return PaintDibRows(hdc, *dst, *src, reinterpret_cast<const BITMAPINFO*>(m_pBMI), m_pBits,
                        int(Height()), true);
}

DWORD CDib::Save(CFile& file) const
{
    if (!IsValid())
        return 0;
    const DWORD imageSize = ImageSize();
    if (imageSize > GlobalSize(GlobalHandle(m_pBits)))
    {
        LogDibFailure("CDib::Save", "the header describes more rows than the DIB holds");
        return 0;
    }
    m_pBMI->biSizeImage = imageSize;
    const DWORD headerBytes = kInfoHeaderSize + PaletteSize();
    const BITMAPFILEHEADER fileHeader =
        MakeBitmapFileHeader(std::uint64_t(headerBytes) + imageSize, headerBytes);
    file.Write(&fileHeader, sizeof(fileHeader));
    file.Write(m_pBMI, headerBytes);
    file.Write(m_pBits, imageSize);
    return DWORD(sizeof(fileHeader)) + headerBytes + imageSize;
}

DWORD CDib::Read(CFile& file)
{
    Free();
    CFileBitmapSource source(file);
    CBottomUpDib dib;
    if (!dib.Read(source, "CDib::Read"))
        return 0;
    m_pBMI = static_cast<BITMAPINFOHEADER*>(AllocLocked(dib.GetHeaderBytes()));
    m_pBits = static_cast<BYTE*>(AllocLocked(dib.GetImageSize()));
    if (m_pBMI == nullptr || m_pBits == nullptr)
    {
        LogDibFailure("CDib::Read", "Couldn't allocate memory!");
        Free();
        return 0;
    }
    dib.CopyHeader(m_pBMI);
    dib.CopyBits(m_pBits);
    CreatePalette();
    return DWORD(source.GetConsumed());
}

HGLOBAL CDib::CopyToHandle() const
{
    try
    {
        CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE, 4096);
        if (Save(file) == 0)
            return nullptr;
        return file.Detach();
    }
    catch (CException* e)
    {
        e->Delete();
        return nullptr;
    }
}

DWORD CDib::ReadFromHandle(HGLOBAL hGlobal)
{
    if (hGlobal == nullptr)
        return 0;
    CSharedFile file;
    file.SetHandle(hGlobal, FALSE);
    const DWORD read = Read(file);
    file.Detach();
    return read;
}

void CDib::Serialize(CArchive& ar)
{
    CFile* file = ar.GetFile();
    if (ar.IsLoading())
        Read(*file);
    else
        Save(*file);
}
