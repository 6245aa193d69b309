#include "ImageProcess.h"

#include "DICOMImage.h"
#include "ImageTags.h"
#include "VeltaroLog.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <strings.h>

using namespace ImageTags;

namespace
{

bool IsLittleEndianSyntax(const UID& syntax)
{
    return syntax == UidTransferLittleEndian || syntax == UidTransferLittleEndianExplicit;
}

bool IsNativeSyntax(const UID& syntax)
{
    return IsLittleEndianSyntax(syntax) || syntax == UidTransferBigEndianExplicit;
}

// The leading decimal number of a text; the default when there is none.
double ReadLeadingNumber(const Lettra& text, double fallback)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    return end == static_cast<const char*>(text) ? fallback : value;
}

int TruncateToInt(double value)
{
    if (!(value > INT32_MIN && value < INT32_MAX))
    {
        return 0;
    }
    return static_cast<int>(value);
}

// The first and second backslash-separated numbers of a text; when one is
// 0 it takes the other.
void ReadSpacingPair(const Lettra& text, double& row, double& column)
{
    char* end = nullptr;
    row = std::strtod(text, &end);
    column = *end == '\\' ? std::strtod(end + 1, nullptr) : 0.0;
    if (row == 0.0)
    {
        row = column;
    }
    if (column == 0.0)
    {
        column = row;
    }
}

} // namespace

ImageProcess::ImageProcess(DICOMImage& image, int frame)
    : m_nFrameIndex(static_cast<std::uint32_t>(frame)), m_pImage(&image)
{
    // The display level tables are built once, by the first process.
    [[maybe_unused]] static const bool levelsBuilt = []
    {
        Init256_244LUT();
        return true;
    }();
    m_pImage->IncReferenceCount();
    UpdateSelf();
}

ImageProcess::~ImageProcess()
{
    Reset();
    m_pImage->DecReferenceCount();
    if (m_nAutoRemove != 0 && m_pImage->GetReferenceCount() <= 0)
    {
        delete m_pImage;
    }
}

int ImageProcess::SetAutoRemoveImage(int autoRemove)
{
    const int previous = m_nAutoRemove;
    m_nAutoRemove = autoRemove;
    return previous;
}

bool ImageProcess::IsOwnFrame(const std::uint8_t* buffer) const
{
    return buffer != nullptr && buffer == m_pFrameAddress;
}

void ImageProcess::ReleaseRawPixelData()
{
    if (!IsOwnFrame(m_pRawPixelData))
    {
        delete[] m_pRawPixelData;
    }
    m_pRawPixelData = nullptr;
    m_nRawPixelLength = 0;
}

void ImageProcess::ReleaseCompPixelData()
{
    if (!IsOwnFrame(m_pCompPixelData))
    {
        delete[] m_pCompPixelData;
    }
    m_pCompPixelData = nullptr;
    m_nCompPixelLength = 0;
}

void ImageProcess::ReleasePixelData()
{
    ReleaseRawPixelData();
    ReleaseCompPixelData();
}

void ImageProcess::Reset()
{
    ReleasePixelData();
    m_nRows = 0;
    m_nColumns = 0;
    m_nFrameIndex = 0;
    m_nColour = 0;
    m_nNumberOfFrames = 1;
}

void ImageProcess::SetTransferSyntax(const UID& uid)
{
    m_transferSyntax = MetaTransferSyntax{};
    m_transferSyntax.TransferSyntaxName = uid;
    m_transferSyntax.Index = MetaInfo::FindTransferSyntax(uid);
    if (m_transferSyntax.Index >= 0)
    {
        const TransferSyntaxRow& row = MetaInfo::GetTransferSyntaxRow(m_transferSyntax.Index);
        m_transferSyntax.EndianType = row.EndianType;
        m_transferSyntax.PixelVR = row.PixelVR;
    }
}

short ImageProcess::GetSmallestSignedPixelValue() const
{
    return static_cast<short>(m_nSmallestPixelValue);
}

short ImageProcess::GetLargestSignedPixelValue() const
{
    return static_cast<short>(m_nLargestPixelValue);
}

int ImageProcess::UpdateSelf()
{
    UID syntax;
    m_pImage->GetTransferSyntax(syntax);
    SetTransferSyntax(syntax);
    m_nRows = m_pImage->GetUINT16(0x0028, 0x0010);
    m_nColumns = m_pImage->GetUINT16(0x0028, 0x0011);
    std::strncpy(m_szModality, m_pImage->GetLettra(0x0008, 0x0060), ModalitySize - 1);
    std::strncpy(m_szPhotometric, m_pImage->GetLettra(0x0028, 0x0004), PhotometricSize - 1);
    m_nColour = strcasecmp(m_szPhotometric, "MONOCHROME1") != 0 &&
                        strcasecmp(m_szPhotometric, "MONOCHROME2") != 0
                    ? 1
                    : 0;
    ReadPixelSpacing();
    m_nBitsAllocated = m_pImage->GetUINT16(0x0028, 0x0100);
    m_nBitsStored = static_cast<std::int16_t>(m_pImage->GetUINT16(0x0028, 0x0101));
    m_nHighBit = static_cast<std::int16_t>(m_pImage->GetUINT16(0x0028, 0x0102));
    m_nPixelRepresentation = m_pImage->GetUINT16(0x0028, 0x0103);
    m_nSmallestPixelValue = m_pImage->GetUINT16(0x0028, 0x0106);
    m_nLargestPixelValue = m_pImage->GetUINT16(0x0028, 0x0107);
    ReadWindowAndRescale();
    m_nNumberOfFrames = m_pImage->GetNumberOfFrames();
    m_pFrameAddress = m_pImage->GetPixelAddress(static_cast<int>(m_nFrameIndex));
    m_nFrameLength =
        m_pFrameAddress != nullptr ? m_pImage->GetPixelLength(static_cast<int>(m_nFrameIndex)) : 0;
    m_nCompBitsAllocated = static_cast<std::int16_t>(m_nBitsAllocated);
    m_nCompBitsStored = m_nBitsStored;
    m_nCompHighBit = m_nHighBit;
    // The frame is read in place: the image keeps owning it.
    auto* frame = const_cast<std::uint8_t*>(m_pFrameAddress);
    if (IsNativeSyntax(syntax))
    {
        m_pRawPixelData = frame;
        m_nRawPixelLength = m_nFrameLength;
    }
    else
    {
        m_pCompPixelData = frame;
        m_nCompPixelLength = m_nFrameLength;
    }
    return 1;
}

void ImageProcess::ReadPixelSpacing()
{
    ReadSpacingPair(m_pImage->GetLettra(0x0028, 0x0030), m_dRowSpacing, m_dColumnSpacing);
    if (m_dRowSpacing == 0.0 || m_dColumnSpacing == 0.0)
    {
        ReadSpacingPair(m_pImage->GetLettra(0x0018, 0x1164), m_dRowSpacing, m_dColumnSpacing);
    }
}

void ImageProcess::ReadWindowAndRescale()
{
    m_nWindowCenter = TruncateToInt(ReadLeadingNumber(m_pImage->GetLettra(0x0028, 0x1050), 0.0));
    m_nWindowWidth = TruncateToInt(ReadLeadingNumber(m_pImage->GetLettra(0x0028, 0x1051), 0.0));
    m_dRescaleIntercept = ReadLeadingNumber(m_pImage->GetLettra(0x0028, 0x1052), 0.0);
    m_dRescaleSlope = ReadLeadingNumber(m_pImage->GetLettra(0x0028, 0x1053), 1.0);
}

int ImageProcess::ConvertToRaw()
{
    if (m_nFrameLength == 0)
    {
        _warning("Enter ImageProcess::ConvertToRaw, bad Attached DicomImage");
        return 0;
    }
    if (m_pRawPixelData != nullptr)
    {
        return 1;
    }
    return ConvertToDecompress();
}

int ImageProcess::ConvertTo(const UID& uid)
{
    if (uid.IsEmpty())
    {
        _fatal("Enter ImageProcess::ConvertTo (), TrnsynUID is empty!");
        return 0;
    }
    if (!IsLittleEndianSyntax(uid))
    {
        _debug("Enter ImageProcess::ConvertTo, Rows: %d, Columns: %d, BitsAllocated: %d", m_nRows,
               m_nColumns, m_nBitsAllocated);
        if (ConvertToRaw() == 0)
        {
            _debug("Invoke ConvertToRaw () failed, so cannot convert it to another format");
            return 0;
        }
        return ConvertToCompress(uid);
    }
    int result = 0;
    if (m_nFrameLength == 0)
    {
        _warning("Enter ImageProcess::ConvertToRaw, bad Attached DicomImage");
    }
    else
    {
        result = m_pRawPixelData != nullptr ? 1 : ConvertToDecompress();
    }
    if (result == 0)
    {
        _warning("Invoke ConvertToRaw () failed");
        Reset();
        return 0;
    }
    SetTransferSyntax(uid);
    return result;
}

void* ImageProcess::Detach()
{
    if (m_pRawPixelData == nullptr)
    {
        return nullptr;
    }
    if (!IsOwnFrame(m_pRawPixelData))
    {
        std::uint8_t* raw = m_pRawPixelData;
        m_pRawPixelData = nullptr;
        return raw;
    }
    return CopyRawSamples("Detach");
}

// The copy of the image's own samples handed over: the samples and a NUL
// byte. A failure to allocate it is logged as the member's.
std::uint8_t* ImageProcess::CopyRawSamples(const char* member) const
{
    auto* copy = new (std::nothrow) std::uint8_t[m_nRawPixelLength + 1];
    if (copy == nullptr)
    {
        _error("Enter ImageProcess::%s, cannot allocate %u bytes", member, m_nRawPixelLength + 1);
        return nullptr;
    }
    std::memcpy(copy, m_pRawPixelData, m_nRawPixelLength);
    copy[m_nRawPixelLength] = 0;
    return copy;
}

int ImageProcess::RLEEncode()
{
    return 0;
}
