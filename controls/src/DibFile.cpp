// Bitmap files: SaveDIB writes a packed DIB behind a file header;
// ReadDIBFile and LoadDIB read one back through the GDI's checked reader and
// keep it as this library's DIBs are kept: rows bottom-up, bit-field masks as
// the colour table, the table's entries and the image size stated.
#include "DibApi.h"

#include "DibFileSource.h"
#include "DibLock.h"
#include "DibLog.h"
#include "WinFile.h"
#include "WinHandle.h"
#include "WinUser.h"

#include <cstring>
#include <vector>

namespace
{
constexpr DWORD kInfoHeaderSize = sizeof(BITMAPINFOHEADER);

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

class HandleSource : public CBitmapFileSource
{
public:
    explicit HandleSource(HANDLE file) : m_file(file) {}

    std::uint64_t GetSize() override
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

HDIB Refuse(const char* reason)
{
    LogDibFailure("ReadDIBFile", reason);
    return nullptr;
}

HDIB ReadFromSource(CBitmapFileSource& source)
{
    CBottomUpDib read;
    if (!read.Read(source, "ReadDIBFile"))
        return nullptr;
    if (read.GetStoredHeaderSize() < kInfoHeaderSize)
        return Refuse("the bitmap header is not an information header");
    HDIB hdib = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(read.GetHeaderBytes() + read.GetImageSize()));
    if (hdib == nullptr)
        return Refuse("Couldn't allocate memory!");
    DibLock lock(hdib);
    if (!lock)
    {
        GlobalFree(hdib);
        return Refuse("Error reading file!");
    }
    read.CopyHeader(lock.Get());
    read.CopyBits(lock.Get() + read.GetHeaderBytes());
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
            GetDibStride(std::uint64_t(std::uint32_t(header->biWidth)), header->biBitCount) * rows;
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
    fileHeader = MakeBitmapFileHeader(dibSize, kInfoHeaderSize + PaletteSize(dib));
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
    CFileBitmapSource source(file);
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
