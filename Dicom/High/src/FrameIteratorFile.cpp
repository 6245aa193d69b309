// The file mode of FrameIterator: the pixel data element is found at the
// position a partial read recorded, its layout is learnt once without
// reading the frames, and each frame is then read on its own. Every length
// the file gives is checked against the file before it is used.
#include "FrameIterator.h"

#include "DICOMImage.h"
#include "FileBuffer.h"
#include "ImageTags.h"
#include "VRCode.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

using namespace ImageTags;

namespace
{

// Partial reads let other readers and writers share the file.
constexpr int ShareDenyNone = 0x40;

constexpr std::uint8_t LittlePixelTag[4] = {0xE0, 0x7F, 0x10, 0x00};
constexpr std::uint8_t BigPixelTag[4] = {0x7F, 0xE0, 0x00, 0x10};

std::uint16_t ByteSwap(std::uint16_t value)
{
    return __builtin_bswap16(value);
}

std::uint32_t ByteSwap(std::uint32_t value)
{
    return __builtin_bswap32(value);
}

std::uint64_t ByteSwap(std::uint64_t value)
{
    return __builtin_bswap64(value);
}

template <typename T> void SwapEach(std::uint8_t* bytes, std::uint32_t length)
{
    for (std::uint32_t offset = 0; offset + sizeof(T) <= length; offset += sizeof(T))
    {
        T value;
        std::memcpy(&value, bytes + offset, sizeof value);
        value = ByteSwap(value);
        std::memcpy(bytes + offset, &value, sizeof value);
    }
}

// Reverses the bytes of every whole unit of 2, 4 or 8 bytes.
void SwapUnits(std::uint8_t* bytes, std::uint32_t length, std::uint32_t unit)
{
    switch (unit)
    {
    case 2:
        SwapEach<std::uint16_t>(bytes, length);
        break;
    case 4:
        SwapEach<std::uint32_t>(bytes, length);
        break;
    case 8:
        SwapEach<std::uint64_t>(bytes, length);
        break;
    default:
        break;
    }
}

} // namespace

std::uint32_t FrameIterator::GetFileSize() const
{
    return m_pStream->GetFileSize();
}

bool FrameIterator::SeekStream(std::uint32_t position)
{
    if (position == m_nStreamPosition)
    {
        return true;
    }
    m_pStream->Reset();
    if (m_pStream->Seek(static_cast<std::int32_t>(position), 0) != position)
    {
        return false;
    }
    m_nStreamPosition = position;
    return true;
}

bool FrameIterator::ReadStream(void* target, std::uint32_t n)
{
    const std::uint32_t read = m_pStream->Read(target, n);
    m_nStreamPosition += read;
    return read == n;
}

bool FrameIterator::ReadStream32(std::uint32_t& value)
{
    return ReadStream(&value, sizeof value);
}

bool FrameIterator::OpenFile(std::uint32_t position)
{
    m_pStream = std::make_unique<IFB>();
    m_nStreamPosition = 0;
    if (m_pStream->Open(m_pImage->GetFileName(), ShareDenyNone) == 0)
    {
        _error("Enter FrameIterator::Init, cannot open file: %s", m_pImage->GetFileName());
        return false;
    }
    std::uint8_t tag[4] = {};
    const std::uint8_t* expected = m_nCoding == enCodingExplicitBig ? BigPixelTag : LittlePixelTag;
    if (!SeekStream(position) || !ReadStream(tag, sizeof tag) ||
        !std::equal(tag, tag + sizeof tag, expected))
    {
        _error("Enter FrameIterator::Init, <%s> is a valid DICOM File?", m_pImage->GetFileName());
        return false;
    }
    return true;
}

bool FrameIterator::ReadPixelHeader()
{
    if (m_nCoding == enCodingImplicitLittle)
    {
        return ReadStream32(m_nPixelDataLength) && ReadNativeLength();
    }
    char vr[2] = {};
    std::uint16_t reserved = 0;
    if (!ReadStream(vr, sizeof vr) || !ReadStream(&reserved, sizeof reserved) ||
        !ReadStream32(m_nPixelDataLength))
    {
        _error("Enter FrameIterator::Init, <%s> is a valid DICOM File?", m_pImage->GetFileName());
        return false;
    }
    if (m_nCoding == enCodingEncapsulated)
    {
        return BuildItemOffsets();
    }
    if (m_nCoding == enCodingExplicitBig)
    {
        // The values are turned to host order unit by unit of their VR, as
        // a whole read of the file turns them.
        m_nPixelDataLength = ByteSwap(m_nPixelDataLength);
        const int unit = VRCode::GetSwapUnit(VRCode::Make(vr[0], vr[1]));
        m_nSwapUnit = unit > 1 ? unit : 0;
    }
    return ReadNativeLength();
}

// The value must lie inside the file; frames are found by arithmetic.
bool FrameIterator::ReadNativeLength()
{
    m_nPixelDataStart = m_nStreamPosition;
    const std::uint32_t fileSize = GetFileSize();
    if (m_nPixelDataStart > fileSize || m_nPixelDataLength > fileSize - m_nPixelDataStart)
    {
        _error("Enter FrameIterator::Init, <%s> is a valid DICOM File? The pixel data of %u "
               "bytes does not fit the file",
               m_pImage->GetFileName(), m_nPixelDataLength);
        return false;
    }
    m_nPixelDataEnd = m_nPixelDataStart + m_nPixelDataLength;
    return true;
}

// Walks the items once by their headers; each must lie inside the file.
bool FrameIterator::BuildItemOffsets()
{
    std::uint32_t tag = 0;
    std::uint32_t length = 0;
    const std::uint32_t fileSize = GetFileSize();
    if (!ReadStream32(tag) || tag != ItemTagValue || !ReadStream32(length) ||
        length > fileSize - m_nStreamPosition || !SeekStream(m_nStreamPosition + length))
    {
        _error("Enter FrameIterator::Init, <%s> is a valid DICOM File? The first item is invalid!",
               m_pImage->GetFileName());
        return false;
    }
    const std::uint32_t firstFrame = m_nStreamPosition;
    std::vector<std::uint32_t> offsets;
    for (int frame = 0; frame < m_nFrameCount; ++frame)
    {
        offsets.push_back(m_nStreamPosition);
        if (!ReadStream32(tag) || tag != ItemTagValue || !ReadStream32(length) ||
            length > fileSize - m_nStreamPosition || !SeekStream(m_nStreamPosition + length))
        {
            _error("Enter FrameIterator::Init, <%s> is a valid DICOM File? The <%d> item is "
                   "invalid!",
                   m_pImage->GetFileName(), frame);
            return false;
        }
    }
    offsets.push_back(m_nStreamPosition);
    m_pFrameOffsets.reset(new std::uint32_t[offsets.size()]);
    std::copy(offsets.begin(), offsets.end(), m_pFrameOffsets.get());
    return SeekStream(firstFrame);
}

bool FrameIterator::HasFileLayout() const
{
    return m_pFrameOffsets != nullptr || m_nPixelDataEnd != 0;
}

bool FrameIterator::SeekFrameOfFile(int frame)
{
    if (frame < 0 || frame >= m_nFrameCount || !HasFileLayout())
    {
        return false;
    }
    if (m_pFrameOffsets != nullptr && !SeekStream(m_pFrameOffsets[frame]))
    {
        return false;
    }
    m_nCurrentFrame = frame;
    m_bReady = true;
    return true;
}

bool FrameIterator::NextFrameOfFile()
{
    return m_nCoding == enCodingEncapsulated ? NextItemFrame() : NextNativeFrame();
}

// One frame has the whole value; of several, frame n starts n frame sizes
// in and must lie wholly inside the value.
bool FrameIterator::NextNativeFrame()
{
    const int frame = m_nCurrentFrame;
    if (frame < 0 || frame >= m_nFrameCount)
    {
        return false;
    }
    std::uint64_t start = m_nPixelDataStart;
    std::uint64_t length = m_nPixelDataLength;
    if (m_nFrameCount > 1)
    {
        start += static_cast<std::uint64_t>(frame) * m_nFrameSize;
        length = m_nFrameSize;
    }
    if (start + length > m_nPixelDataEnd)
    {
        _error("Enter FrameIterator::Next, frame %d of <%s> lies beyond its pixel data", frame,
               m_pImage->GetFileName());
        return false;
    }
    if (length == 0 ||
        !ReadNativeFrame(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length)) ||
        (m_bSubsampled && !ExpandSubsampledFrame()))
    {
        return false;
    }
    m_nCurrentFrame = frame + 1;
    return m_nFrameLength != 0;
}

// Big-endian values are swapped in units counted from the start of the
// value, so the bytes read reach back and forth to whole units around a
// frame that does not start on one.
bool FrameIterator::ReadNativeFrame(std::uint32_t start, std::uint32_t length)
{
    const std::uint32_t unit = m_nSwapUnit != 0 ? static_cast<std::uint32_t>(m_nSwapUnit) : 1;
    const std::uint32_t lead = (start - m_nPixelDataStart) % unit;
    const std::uint32_t tail = (unit - (lead + length) % unit) % unit;
    const std::uint32_t end = std::min(start + length + tail, m_nPixelDataEnd);
    const std::uint32_t span = end - (start - lead);
    if (!SeekStream(start - lead))
    {
        return false;
    }
    m_pFrameBuffer = new (std::nothrow) std::uint8_t[span];
    if (m_pFrameBuffer == nullptr)
    {
        return false;
    }
    if (!ReadStream(m_pFrameBuffer, span))
    {
        FreeFrameBuffer();
        return false;
    }
    SwapUnits(m_pFrameBuffer, span, unit);
    std::memmove(m_pFrameBuffer, m_pFrameBuffer + lead, length);
    m_nFrameLength = length;
    return true;
}

// The item at the frame's position; past the last frame, the sequence
// delimiter ends the iteration.
bool FrameIterator::NextItemFrame()
{
    const int frame = m_nCurrentFrame;
    if (frame < 0 || frame > m_nFrameCount || !SeekStream(m_pFrameOffsets[frame]))
    {
        return false;
    }
    std::uint32_t tag = 0;
    std::uint32_t length = 0;
    const bool hasTag = ReadStream32(tag);
    if (hasTag && tag == SequenceDelimiterValue)
    {
        m_bReady = false;
        return false;
    }
    if (!hasTag || tag != ItemTagValue || !ReadStream32(length) ||
        length > GetFileSize() - m_nStreamPosition)
    {
        _error("Enter FrameIterator::Init, <%s> is a valid DICOM File? The <%d> item is invalid!",
               m_pImage->GetFileName(), frame);
        m_bReady = false;
        return false;
    }
    if (frame == m_nFrameCount)
    {
        return false;
    }
    m_pFrameBuffer = new (std::nothrow) std::uint8_t[length > 0 ? length : 1];
    if (m_pFrameBuffer == nullptr)
    {
        return false;
    }
    const std::uint32_t before = m_nStreamPosition;
    ReadStream(m_pFrameBuffer, length);
    m_nFrameLength = m_nStreamPosition - before;
    if (Decompress() == 0)
    {
        return false;
    }
    m_nCurrentFrame = frame + 1;
    return m_nFrameLength != 0;
}
