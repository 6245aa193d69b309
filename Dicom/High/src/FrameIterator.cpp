#include "FrameIterator.h"

#include "DICOMImage.h"
#include "FileBuffer.h"
#include "FrameCodec.h"
#include "ImageTags.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstring>
#include <new>

using namespace ImageTags;

namespace
{

// Frames of the full-range YCbCr models come out as Y, Cb, Cr of every
// pixel, for the caller to turn into RGB.
bool IsFullYbr(const Lettra& photometric)
{
    return photometric == "YBR_FULL" || photometric == "YBR_FULL_422";
}

int ClassifyPhotometric(const Lettra& photometric, int bitsAllocated)
{
    // "YBR_RCT" frames come out of the JPEG 2000 decoder as RGB, as
    // "YBR_ICT" frames do.
    if (photometric == "RGB" || photometric == "YBR_ICT" || photometric == "YBR_RCT" ||
        IsFullYbr(photometric))
    {
        return FrameIterator::enPixelColour;
    }
    if (photometric == "MONOCHROME1" || photometric == "MONOCHROME2" ||
        photometric == "PALETTE COLOR")
    {
        return bitsAllocated <= 8 ? FrameIterator::enPixelGrey8 : FrameIterator::enPixelGrey16;
    }
    return FrameIterator::enPixelUnknown;
}

int ClassifySyntax(const UID& syntax)
{
    if (syntax == UidTransferLittleEndian)
    {
        return FrameIterator::enCodingImplicitLittle;
    }
    if (syntax == UidTransferLittleEndianExplicit)
    {
        return FrameIterator::enCodingExplicitLittle;
    }
    if (syntax == UidTransferBigEndianExplicit)
    {
        return FrameIterator::enCodingExplicitBig;
    }
    return FrameIterator::enCodingEncapsulated;
}

} // namespace

FrameIterator::FrameIterator() = default;

FrameIterator::FrameIterator(DICOMImage* image)
{
    SetDicomImage(image);
}

FrameIterator::~FrameIterator()
{
    Release();
}

void FrameIterator::Release()
{
    FreeFrameBuffer();
    m_pStream.reset();
    m_pFrameOffsets.reset();
    m_nPixelDataStart = 0;
    m_nPixelDataEnd = 0;
    m_nSwapUnit = 0;
    m_bReady = false;
    m_bInMemory = false;
}

void FrameIterator::FreeFrameBuffer()
{
    delete[] m_pFrameBuffer;
    m_pFrameBuffer = nullptr;
    m_pSoughtBuffer = nullptr;
    m_nSoughtFrame = -1;
}

bool FrameIterator::SetDicomImage(DICOMImage* image)
{
    Release();
    m_pImage = image;
    try
    {
        Init(image);
    }
    catch (...)
    {
        _fatal("Exception catched at FrameIterator::Init ()");
        m_bReady = false;
        return false;
    }
    return true;
}

void FrameIterator::Init(DICOMImage* image)
{
    m_nFrameLength = 0;
    FreeFrameBuffer();
    m_pFrameOffsets.reset();
    if (image == nullptr)
    {
        return;
    }
    const VR* stop = image->GetVR(WorkingGroup, StopOffsetElement);
    const std::uint32_t position = stop != nullptr ? static_cast<unsigned int>(*stop) : 0;
    if (position == 0 && !image->IsExist(PixelGroup, PixelElement))
    {
        return;
    }
    m_bInMemory = position == 0;
    if (!ReadGeometry())
    {
        return;
    }
    if (m_bInMemory)
    {
        m_nCurrentFrame = 0;
        m_bReady = true;
        return;
    }
    if (OpenFile(position) && ReadPixelHeader())
    {
        m_nCurrentFrame = 0;
        m_bReady = true;
    }
}

bool FrameIterator::ReadGeometry()
{
    m_pImage->GetTransferSyntax(m_transferSyntax);
    m_nFrameCount = m_pImage->GetNumberOfFrames();
    m_nRows = m_pImage->GetUINT16(0x0028, 0x0010);
    m_nColumns = m_pImage->GetUINT16(0x0028, 0x0011);
    m_nBitsAllocated = m_pImage->GetUINT16(0x0028, 0x0100);
    m_nBitsStored = m_pImage->GetUINT16(0x0028, 0x0101);
    m_nHighBit = m_pImage->GetUINT16(0x0028, 0x0102);
    m_nSamplesPerPixel = m_pImage->GetUINT16(0x0028, 0x0002);
    m_nFrameSize = m_pImage->GetFrameSize();
    const Lettra photometric = m_pImage->GetLettra(0x0028, 0x0004);
    m_nPixelKind = ClassifyPhotometric(photometric, m_nBitsAllocated);
    m_bFullYbr = IsFullYbr(photometric);
    m_bSubsampled = m_pImage->HasSubsampledFrames();
    if (m_nPixelKind == enPixelUnknown)
    {
        _warning("Enter FrameIterator::Init, get an unknown format image : %s",
                 static_cast<const char*>(photometric));
        return false;
    }
    m_nCoding = ClassifySyntax(m_transferSyntax);
    return true;
}

int FrameIterator::GetFramesPresent() const
{
    if (!m_bReady || m_nFrameCount <= 1)
    {
        return m_bReady ? std::max(m_nFrameCount, 0) : 0;
    }
    if (m_bInMemory)
    {
        return m_pImage->GetFramesPresent();
    }
    // From the file every claimed frame's item was found when the iterator
    // started.
    if (m_nCoding == enCodingEncapsulated)
    {
        return m_nFrameCount;
    }
    return m_nFrameSize == 0 ? 0
                             : static_cast<int>(std::min<std::uint64_t>(
                                   m_nFrameCount, m_nPixelDataLength / m_nFrameSize));
}

bool FrameIterator::Seek(int frame)
{
    if (m_bInMemory)
    {
        return m_bReady && SeekFrameOfStream(frame);
    }
    return SeekFrameOfFile(frame);
}

bool FrameIterator::Next()
{
    if (!m_bReady)
    {
        return false;
    }
    if (m_bInMemory)
    {
        return NextFrameOfStream();
    }
    FreeFrameBuffer();
    try
    {
        return NextFrameOfFile();
    }
    catch (...)
    {
        _fatal("Exception catched at FrameIterator::Next");
        return false;
    }
}

// Y1, Y2, Cb, Cr of each two pixels become Y, Cb, Cr of each pixel; an odd
// last pixel of the frame has a group of its own.
bool FrameIterator::ExpandSubsampledFrame()
{
    const std::size_t pixels = static_cast<std::size_t>(m_nRows) * m_nColumns;
    if (m_nFrameLength < (pixels + 1) / 2 * 4)
    {
        _error("Enter FrameIterator::Next, a 4:2:2 frame of %u bytes is short of %d x %d pixels",
               m_nFrameLength, m_nColumns, m_nRows);
        return false;
    }
    auto* expanded = new (std::nothrow) std::uint8_t[pixels * 3];
    if (expanded == nullptr)
    {
        return false;
    }
    for (std::size_t pixel = 0; pixel < pixels; ++pixel)
    {
        const std::uint8_t* group = m_pFrameBuffer + pixel / 2 * 4;
        std::uint8_t* out = expanded + pixel * 3;
        out[0] = group[pixel % 2];
        out[1] = group[2];
        out[2] = group[3];
    }
    delete[] m_pFrameBuffer;
    m_pFrameBuffer = expanded;
    m_nFrameLength = static_cast<std::uint32_t>(pixels * 3);
    return true;
}

void* FrameIterator::Detach()
{
    std::uint8_t* buffer = m_pFrameBuffer;
    m_pFrameBuffer = nullptr;
    m_pSoughtBuffer = nullptr;
    m_nSoughtFrame = -1;
    return buffer;
}

bool FrameIterator::SeekFrameOfStream(int frame)
{
    m_nCurrentFrame = frame;
    if (frame < 0 || frame >= m_nFrameCount)
    {
        return false;
    }
    const std::uint8_t* address = m_pImage->GetPixelAddress(frame);
    const std::uint32_t length = m_pImage->GetPixelLength(frame);
    if (address == nullptr || length == 0)
    {
        return false;
    }
    FreeFrameBuffer();
    // A compressed frame decodes straight from the image; only one that
    // does not decode is copied, for the frame buffer keeps it then.
    if (m_nCoding == enCodingEncapsulated)
    {
        if (DecompressFrom(CodecInput(address, length)) == 0)
        {
            CopyFrame(address, length);
            return false;
        }
    }
    else
    {
        CopyFrame(address, length);
        if (m_pFrameBuffer == nullptr)
        {
            return false;
        }
    }
    if (m_bSubsampled && !ExpandSubsampledFrame())
    {
        return false;
    }
    m_pSoughtBuffer = m_pFrameBuffer;
    m_nSoughtFrame = frame;
    return m_nFrameLength != 0;
}

// A frame that Seek has just decoded is delivered as it is.
bool FrameIterator::NextFrameOfStream()
{
    const int frame = m_nCurrentFrame;
    bool delivered = m_pFrameBuffer != nullptr && m_pFrameBuffer == m_pSoughtBuffer &&
                     m_nSoughtFrame == frame && m_nFrameLength != 0;
    if (!delivered)
    {
        FreeFrameBuffer();
        delivered = SeekFrameOfStream(frame);
    }
    m_pSoughtBuffer = nullptr;
    m_nSoughtFrame = -1;
    m_nCurrentFrame = frame + 1;
    return delivered;
}

void FrameIterator::CopyFrame(const std::uint8_t* address, std::uint32_t length)
{
    m_pFrameBuffer = new (std::nothrow) std::uint8_t[length];
    if (m_pFrameBuffer == nullptr)
    {
        _error("Enter FrameIterator::Seek, cannot allocate %u bytes", length);
        m_nFrameLength = 0;
        return;
    }
    std::memcpy(m_pFrameBuffer, address, length);
    m_nFrameLength = length;
}

int FrameIterator::Decompress()
{
    return DecompressFrom(CodecInput(m_pFrameBuffer, m_nFrameLength));
}

int FrameIterator::DecompressFrom(CodecInput frame)
{
    const FrameSyntax* row = FindFrameSyntax(m_transferSyntax);
    if (row == nullptr)
    {
        _error("Enter FrameIterator::Decompress, invalid TransferSyntax : %s",
               static_cast<const char*>(m_transferSyntax));
        return 0;
    }
    return RunGuardedStep("FrameIterator::Decompress",
                          [&] { return DecodeFrameBuffer(*row, frame); });
}

int FrameIterator::DecodeFrameBuffer(const FrameSyntax& row, CodecInput frame)
{
    enCodecLayout layout = SelectFrameLayout(row, m_nPixelKind == enPixelColour, m_nBitsAllocated);
    // The lossy JPEG decoders would turn YCbCr into RGB; the frame keeps the
    // colour model its photometric interpretation names.
    if (m_bFullYbr && layout == enCodecLayout::RGB && row.codec == enFrameCodec::Jpeg &&
        JpegCodecCall::HasEntry(row.process, enCodecLayout::YBR))
    {
        layout = enCodecLayout::YBR;
    }
    const FrameDecodeJob job{"FrameIterator", row.decoderName, &row, layout, m_nRows,
                             m_nColumns,      m_nBitsAllocated};
    DecodedFrame decoded;
    if (!DecodeFrame(job, frame, decoded))
    {
        return 0;
    }
    FreeFrameBuffer();
    m_pFrameBuffer = decoded.buffer;
    m_nFrameLength = decoded.length;
    if (row.syntax == &UidTransferJpegBaselineProcess1)
    {
        m_nBitsAllocated = 8;
        m_nBitsStored = 8;
        m_nHighBit = 7;
    }
    return 1;
}
