// Bitmap files: SaveDIB writes a packed DIB behind a file header;
// ReadDIBFile and LoadDIB read one back, checking every size the file
// states against the file itself before trusting it.
#include "DibApi.h"

#include "DibLock.h"
#include "DibLog.h"
#include "WinFile.h"
#include "WinHandle.h"
#include "WinUser.h"

#include <cstring>
#include <vector>

namespace
{
constexpr WORD kBitmapSignature = 0x4D42; // "BM"
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr DWORD kLargestHeader = 124; // the version 5 information header
constexpr LONG kLargestDimension = 1 << 24;

std::uint64_t RowBytes(std::uint64_t width, unsigned bitCount)
{
    return ((bitCount * width + 31) / 32) * 4;
}

bool WriteAll(HANDLE file, const void* data, std::uint64_t size)
{
    const auto* p = static_cast<const BYTE*>(data);
    while (size > 0)
    {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : DWORD(size);
        DWORD written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr) || written != chunk)
            return false;
        p += chunk;
        size -= chunk;
    }
    return true;
}

// Where a bitmap file is read from, by exact amounts.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() = 0;
    virtual bool Seek(std::uint64_t position) = 0;
    virtual bool Read(void* buffer, std::uint64_t size) = 0;
};

class HandleSource : public ByteSource
{
public:
    explicit HandleSource(HANDLE file) : m_file(file) {}

    std::uint64_t Size() override
    {
        DWORD high = 0;
        const DWORD low = GetFileSize(m_file, &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
            return 0;
        return (std::uint64_t(high) << 32) | low;
    }
    bool Seek(std::uint64_t position) override
    {
        LONG high = LONG(position >> 32);
        const DWORD low = SetFilePointer(m_file, LONG(position & 0xFFFFFFFF), &high, FILE_BEGIN);
        return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
    }
    bool Read(void* buffer, std::uint64_t size) override
    {
        auto* p = static_cast<BYTE*>(buffer);
        while (size > 0)
        {
            const DWORD chunk = size > 0x40000000 ? 0x40000000 : DWORD(size);
            DWORD read = 0;
            if (!ReadFile(m_file, p, chunk, &read, nullptr) || read == 0)
                return false;
            p += read;
            size -= read;
        }
        return true;
    }

private:
    HANDLE m_file;
};

// A CFile, whose errors arrive as exceptions and become failed reads.
class CFileSource : public ByteSource
{
public:
    explicit CFileSource(CFile& file) : m_file(file) {}

    std::uint64_t Size() override
    {
        return Guard(std::uint64_t(0), [&] { return std::uint64_t(m_file.GetLength()); });
    }
    bool Seek(std::uint64_t position) override
    {
        return Guard(false,
                     [&] { return m_file.Seek(LONGLONG(position), CFile::begin) == position; });
    }
    bool Read(void* buffer, std::uint64_t size) override
    {
        return Guard(false,
                     [&]
                     {
                         auto* p = static_cast<BYTE*>(buffer);
                         while (size > 0)
                         {
                             const UINT chunk = size > 0x40000000 ? 0x40000000 : UINT(size);
                             const UINT read = m_file.Read(p, chunk);
                             if (read == 0)
                                 return false;
                             p += read;
                             size -= read;
                         }
                         return true;
                     });
    }

private:
    template <typename T, typename F> T Guard(T failure, F body)
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

    CFile& m_file;
};

bool ValidFormat(const BITMAPINFOHEADER& h)
{
    switch (h.biCompression)
    {
    case BI_RGB:
        return h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 || h.biBitCount == 16 ||
               h.biBitCount == 24 || h.biBitCount == 32;
    case BI_RLE8:
        return h.biBitCount == 8;
    case BI_RLE4:
        return h.biBitCount == 4;
    case BI_BITFIELDS:
        return h.biBitCount == 16 || h.biBitCount == 32;
    default:
        return false;
    }
}

HDIB Refuse(const char* reason)
{
    LogDibFailure("ReadDIBFile", reason);
    return nullptr;
}

// Turns top-down rows into the bottom-up order of a packed DIB.
void FlipRows(BYTE* bits, std::uint64_t rowBytes, std::uint64_t rows)
{
    std::vector<BYTE> row(rowBytes);
    for (std::uint64_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
    {
        std::memcpy(row.data(), bits + top * rowBytes, rowBytes);
        std::memcpy(bits + top * rowBytes, bits + bottom * rowBytes, rowBytes);
        std::memcpy(bits + bottom * rowBytes, row.data(), rowBytes);
    }
}

HDIB ReadFromSource(ByteSource& source)
{
    const std::uint64_t fileSize = source.Size();
    if (fileSize < sizeof(BITMAPFILEHEADER) + kInfoHeaderSize)
        return Refuse("the file is shorter than the bitmap headers");
    BITMAPFILEHEADER fileHeader{};
    if (!source.Read(&fileHeader, sizeof(fileHeader)) || fileHeader.bfType != kBitmapSignature)
        return Refuse("Not a Windows DIB file!");
    BYTE headerBytes[kLargestHeader] = {};
    if (!source.Read(headerBytes, sizeof(DWORD)))
        return Refuse("Error reading file!");
    DWORD headerSize;
    std::memcpy(&headerSize, headerBytes, sizeof(headerSize));
    if (headerSize < kInfoHeaderSize || headerSize > kLargestHeader)
        return Refuse("the bitmap header is not an information header");
    if (!source.Read(headerBytes + sizeof(DWORD), headerSize - sizeof(DWORD)))
        return Refuse("Error reading file!");
    BITMAPINFOHEADER header;
    std::memcpy(&header, headerBytes, sizeof(header));
    if (header.biWidth <= 0 || header.biWidth > kLargestDimension || header.biHeight == 0 ||
        header.biHeight > kLargestDimension || header.biHeight < -kLargestDimension ||
        !ValidFormat(header))
        return Refuse("the bitmap's size or format is not valid");
    const bool topDown = header.biHeight < 0;
    const std::uint64_t rows =
        std::uint64_t(topDown ? -std::int64_t(header.biHeight) : header.biHeight);
    const bool rle = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
    if (rle && topDown)
        return Refuse("a compressed bitmap cannot be stored top-down");

    // The colour table, or the three channel masks of a bit-field bitmap,
    // which the packed DIB keeps as its table so that its bits follow them.
    const bool bitFields = header.biCompression == BI_BITFIELDS;
    std::uint64_t entries = 0;
    if (bitFields)
        entries = 3;
    else if (header.biClrUsed != 0)
        entries = header.biClrUsed;
    else if (header.biBitCount <= 8)
        entries = std::uint64_t(1) << header.biBitCount;
    if (entries > 256 ||
        (header.biBitCount <= 8 && entries > (std::uint64_t(1) << header.biBitCount)))
        return Refuse("the colour table is larger than the bit count allows");
    std::uint64_t tableEnd = sizeof(BITMAPFILEHEADER) + headerSize;
    std::vector<BYTE> table(entries * sizeof(RGBQUAD));
    if (bitFields && headerSize >= kInfoHeaderSize + 12)
    {
        std::memcpy(table.data(), headerBytes + kInfoHeaderSize, 12);
    }
    else
    {
        tableEnd += table.size();
        if (tableEnd > fileSize || (!table.empty() && !source.Read(table.data(), table.size())))
            return Refuse("the colour table runs past the end of the file");
    }

    std::uint64_t imageSize = header.biSizeImage;
    if (!rle)
    {
        const std::uint64_t needed =
            RowBytes(std::uint64_t(header.biWidth), header.biBitCount) * rows;
        if (imageSize != 0 && imageSize < needed)
            return Refuse("the stated image size is smaller than the rows");
        imageSize = needed;
    }
    else if (imageSize == 0)
    {
        return Refuse("a compressed bitmap without its image size");
    }
    const std::uint64_t bitsOffset = fileHeader.bfOffBits != 0 ? fileHeader.bfOffBits : tableEnd;
    if (bitsOffset < tableEnd || bitsOffset > fileSize || imageSize > fileSize - bitsOffset)
        return Refuse("the pixel data runs past the end of the file");
    const std::uint64_t blockSize = kInfoHeaderSize + table.size() + imageSize;
    if (blockSize > 0xFFFFFFFFull)
        return Refuse("the bitmap is too large");

    HDIB hdib = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(blockSize));
    if (hdib == nullptr)
        return Refuse("Couldn't allocate memory!");
    bool ok = false;
    {
        DibLock lock(hdib);
        if (lock)
        {
            header.biSize = kInfoHeaderSize;
            header.biHeight = LONG(rows);
            header.biClrUsed = DWORD(entries);
            header.biSizeImage = DWORD(imageSize);
            std::memcpy(lock.Get(), &header, sizeof(header));
            if (!table.empty())
                std::memcpy(lock.Get() + kInfoHeaderSize, table.data(), table.size());
            BYTE* bits = reinterpret_cast<BYTE*>(lock.Get()) + kInfoHeaderSize + table.size();
            ok = source.Seek(bitsOffset) && source.Read(bits, imageSize);
            if (ok && topDown)
                FlipRows(bits, RowBytes(std::uint64_t(header.biWidth), header.biBitCount), rows);
        }
    }
    if (!ok)
    {
        GlobalFree(hdib);
        return Refuse("Error reading file!");
    }
    return hdib;
}

// The file header and the byte count of the DIB to write after it; false
// (with a log line) when the locked DIB cannot be written.
bool PrepareSave(HDIB hdib, char* dib, BITMAPFILEHEADER& fileHeader, std::uint64_t& dibSize)
{
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib);
    // Nothing can be written for another header: that is a failure, and the
    // target file is left untouched.
    if (header->biSize != kInfoHeaderSize)
    {
        LogDibFailure("SaveDIB", "Not a Windows DIB file!");
        return false;
    }
    std::uint64_t imageSize = header->biSizeImage;
    if (header->biCompression != BI_RLE8 && header->biCompression != BI_RLE4)
    {
        const std::uint64_t rows = std::uint64_t(
            header->biHeight < 0 ? -std::int64_t(header->biHeight) : header->biHeight);
        imageSize =
            RowBytes(std::uint64_t(std::uint32_t(header->biWidth)), header->biBitCount) * rows;
        if (imageSize > 0xFFFFFFFFull)
        {
            LogDibFailure("SaveDIB", "the image is too large");
            return false;
        }
        header->biSizeImage = DWORD(imageSize);
    }
    dibSize = kInfoHeaderSize + PaletteSize(dib) + imageSize;
    if (dibSize > GlobalSize(hdib) || dibSize + sizeof(BITMAPFILEHEADER) > 0xFFFFFFFFull)
    {
        LogDibFailure("SaveDIB", "the header describes more data than the block holds");
        return false;
    }
    fileHeader = BITMAPFILEHEADER{};
    fileHeader.bfType = kBitmapSignature;
    fileHeader.bfSize = DWORD(dibSize + sizeof(BITMAPFILEHEADER));
    fileHeader.bfOffBits = DWORD(sizeof(BITMAPFILEHEADER) + kInfoHeaderSize + PaletteSize(dib));
    return true;
}
} // namespace

WORD SaveDIB(HDIB hdib, LPCSTR path)
{
    if (hdib == nullptr || path == nullptr)
    {
        LogDibFailure("SaveDIB", "Invalid Handle");
        return DIB_ERR_INVALIDHANDLE;
    }
    DibLock lock(hdib);
    if (!lock)
    {
        LogDibFailure("SaveDIB", "Error locking memory!");
        return DIB_ERR_LOCK;
    }
    BITMAPFILEHEADER fileHeader;
    std::uint64_t dibSize = 0;
    if (!PrepareSave(hdib, lock.Get(), fileHeader, dibSize))
        return DIB_ERR_GENERAL;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        LogDibFailure("SaveDIB", "Error opening file!");
        return DIB_ERR_OPEN;
    }
    // Success only when every byte reached the file.
    const bool written =
        WriteAll(file, &fileHeader, sizeof(fileHeader)) && WriteAll(file, lock.Get(), dibSize);
    CloseHandle(file);
    if (!written)
    {
        LogDibFailure("SaveDIB", "Error opening file!");
        return DIB_ERR_OPEN;
    }
    return DIB_OK;
}

BOOL SaveDIB(HDIB hdib, CFile& file)
{
    if (hdib == nullptr)
        return FALSE;
    DibLock lock(hdib);
    BITMAPFILEHEADER fileHeader;
    std::uint64_t dibSize = 0;
    if (!lock || !PrepareSave(hdib, lock.Get(), fileHeader, dibSize))
        return FALSE;
    // A CFileException from a write reaches the caller; the lock goes with
    // the unwinding.
    file.Write(&fileHeader, sizeof(fileHeader));
    file.Write(lock.Get(), UINT(dibSize));
    return TRUE;
}

HDIB ReadDIBFile(HANDLE file)
{
    if (file == nullptr || file == INVALID_HANDLE_VALUE)
        return Refuse("Invalid Handle");
    HandleSource source(file);
    return ReadFromSource(source);
}

HDIB ReadDIBFile(CFile& file)
{
    CFileSource source(file);
    return ReadFromSource(source);
}

HDIB LoadDIB(LPCSTR path)
{
    if (path == nullptr)
        return nullptr;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HDIB hdib = nullptr;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        LogDibFailure("LoadDIB", "File Not Found!");
    }
    else
    {
        hdib = ReadDIBFile(file);
        CloseHandle(file);
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return hdib;
}
