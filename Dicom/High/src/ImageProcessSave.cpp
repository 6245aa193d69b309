// The savers of ImageProcess: the frame as stored, the frame as a baseline
// JPEG stream, and an 8-bit bitmap of its display rendering.
#include "ImageProcess.h"

#include "FileBuffer.h"
#include "VeltaroLog.h"

namespace
{

// Writing a file denies other access until it is complete.
constexpr int DenyBothShareCode = 0x10;

// The bytes as the whole content of a new file; 0 when it cannot be
// created or written completely.
int WriteWholeFile(const char* path, const std::uint8_t* bytes, std::uint32_t length)
{
    OFB file;
    if (path == nullptr || file.OpenForWrite(path, DenyBothShareCode) == 0)
    {
        return 0;
    }
    if (file.Write(bytes, length) != length || file.Flush() == 0)
    {
        _error("Enter ImageProcess, cannot write %u bytes to %s", length, path);
        return 0;
    }
    return 1;
}

} // namespace

int ImageProcess::SaveAsRaw(const char* path)
{
    if (m_nFrameLength == 0)
    {
        _warning("Enter ImageProcess::SaveAsRaw, bad Attached DicomImage");
        return 0;
    }
    return WriteWholeFile(path, m_pFrameAddress, m_nFrameLength);
}

int ImageProcess::SaveAsJPEGBaseline(const char* path)
{
    if (ConvertToCompress(UidTransferJpegBaselineProcess1) == 0)
    {
        return 0;
    }
    return WriteWholeFile(path, m_pCompPixelData, m_nCompPixelLength);
}
