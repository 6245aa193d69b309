#include "DibFileSource.h"

#include "DibLog.h"

#include <cstring>

namespace
{
constexpr std::uint64_t kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr UINT kLargestChunk = 0x40000000;

template <typename T, typename F> T GuardFile(T failure, F body)
{
    try
    {
        return body();
    }
    catch (CException* e)
    {
        e->Delete();
        return failure;
    }
}
} // namespace

CFileBitmapSource::CFileBitmapSource(CFile& file) : m_file(file)
{
    m_bValid = GuardFile(false,
                         [&]
                         {
                             m_start = m_file.GetPosition();
                             return true;
                         });
}

std::uint64_t CFileBitmapSource::GetSize()
{
    if (!m_bValid)
        return 0;
    return GuardFile(std::uint64_t(0),
                     [&]
                     {
                         const std::uint64_t length = m_file.GetLength();
                         return length > m_start ? length - m_start : 0;
                     });
}

bool CFileBitmapSource::Seek(std::uint64_t position)
{
    if (!m_bValid)
        return false;
    return GuardFile(false,
                     [&]
                     {
                         const std::uint64_t target = m_start + position;
                         if (m_file.Seek(LONGLONG(target), CFile::begin) != target)
                             return false;
                         m_consumed = position;
                         return true;
                     });
}

bool CFileBitmapSource::Read(void* buffer, std::uint64_t size)
{
    if (!m_bValid)
        return false;
    return GuardFile(false,
                     [&]
                     {
                         auto* p = static_cast<BYTE*>(buffer);
                         while (size > 0)
                         {
                             const UINT chunk = size > kLargestChunk ? kLargestChunk : UINT(size);
                             const UINT read = m_file.Read(p, chunk);
                             if (read == 0)
                                 return false;
                             p += read;
                             size -= read;
                             m_consumed += read;
                         }
                         return true;
                     });
}

bool CBottomUpDib::Read(CBitmapFileSource& source, const char* caller)
{
    const char* why = nullptr;
    if (!ReadBitmapFile(source, m_contents, &why))
    {
        LogDibFailure(caller, why);
        return false;
    }
    return true;
}

std::uint64_t CBottomUpDib::GetTableEntries() const
{
    // The masks of a bit-field bitmap stand where its colour table would,
    // so that its bits follow them.
    const PackedDibLayout& layout = m_contents.layout;
    return layout.nCompression == BI_BITFIELDS ? 3 : layout.nColors;
}

std::uint64_t CBottomUpDib::GetHeaderBytes() const
{
    return kInfoHeaderSize + GetTableEntries() * sizeof(RGBQUAD);
}

void CBottomUpDib::CopyHeader(void* target) const
{
    const PackedDibLayout& layout = m_contents.layout;
    const std::uint8_t* dib = m_contents.dib.data();
    BITMAPINFOHEADER header;
    std::memcpy(&header, dib, sizeof(header));
    header.biHeight = LONG(layout.nHeight);
    header.biClrUsed = DWORD(GetTableEntries());
    header.biSizeImage = DWORD(layout.nImageSize);
    auto* bytes = static_cast<std::uint8_t*>(target);
    std::memcpy(bytes, &header, sizeof(header));
    std::memcpy(bytes + kInfoHeaderSize, dib + kInfoHeaderSize,
                std::size_t(GetHeaderBytes() - kInfoHeaderSize));
}

void CBottomUpDib::CopyBits(void* target) const
{
    const PackedDibLayout& layout = m_contents.layout;
    auto* bits = static_cast<std::uint8_t*>(target);
    const std::uint8_t* stored = m_contents.dib.data() + layout.nBitsOffset;
    if (layout.IsRunLength())
    {
        std::memcpy(bits, stored, std::size_t(layout.nImageSize));
        return;
    }
    for (int row = 0; row < layout.nHeight; ++row)
        std::memcpy(bits + std::uint64_t(row) * layout.nStride,
                    stored +
                        std::uint64_t(layout.StoredRow(layout.nHeight - 1 - row)) * layout.nStride,
                    std::size_t(layout.nStride));
}
