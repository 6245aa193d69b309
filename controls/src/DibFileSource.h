// Bitmap files as this library keeps their DIBs: read through the GDI's
// checked reader, rows bottom-up, bit-field masks kept as the colour table
// (biClrUsed 3), the table's entries and the image size stated in the header.
#pragma once

#include "AfxFile.h"
#include "BitmapFile.h"

#include <cstdint>

// A CFile read from the position it stands at when the source is made; its
// errors arrive as exceptions and become failed reads.
class CFileBitmapSource : public CBitmapFileSource
{
public:
    explicit CFileBitmapSource(CFile& file);

    std::uint64_t GetSize() override;
    bool Seek(std::uint64_t position) override;
    bool Read(void* buffer, std::uint64_t size) override;
    // Bytes from the start to where the last read ended.
    std::uint64_t GetConsumed() const { return m_consumed; }

private:
    CFile& m_file;
    std::uint64_t m_start = 0;
    std::uint64_t m_consumed = 0;
    bool m_bValid = true;
};

// A bitmap file read and turned into this library's form: HeaderBytes of
// header and table, then ImageSize bytes of rows.
class CBottomUpDib
{
public:
    // False (with a log line naming the caller) when the file is refused.
    bool Read(CBitmapFileSource& source, const char* caller);

    std::uint64_t GetHeaderBytes() const;
    std::uint64_t GetImageSize() const { return m_contents.layout.nImageSize; }
    // The header size the file stated (12 for a core header, widened here).
    std::uint32_t GetStoredHeaderSize() const { return m_contents.nStoredHeaderSize; }
    void CopyHeader(void* target) const;
    void CopyBits(void* target) const;

private:
    std::uint64_t GetTableEntries() const;

    BitmapFileContents m_contents;
};
