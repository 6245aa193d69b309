// The encoders of ImageProcess: raw samples become the compressed frame of
// the target syntax.
#include "ImageProcess.h"

#include "CodecTimer.h"
#include "DICOMImage.h"
#include "FrameCodec.h"
#include "ImageTags.h"
#include "VeltaroLog.h"

#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <strings.h>

using namespace ImageTags;

namespace
{

// The sparse grid of the adaptive encoder keeps this fraction of the rows
// and columns out at each side.
constexpr double AdaptiveMargin = 0.01;

// The full progression syntax whose 12-bit stream holds samples of b bits.
const UID& GetAdaptiveSyntax(int bits)
{
    switch (bits)
    {
    case 13:
        return UidTransferJpegFullProgress13Bit;
    case 14:
        return UidTransferJpegFullProgress14Bit;
    case 15:
        return UidTransferJpegFullProgress15Bit;
    default:
        return bits <= 12 ? UidTransferJpegFullProgressProc10And12
                          : UidTransferJpegFullProgress16Bit;
    }
}

} // namespace

int ImageProcess::ConvertToCompress(const UID& uid)
{
    const bool isAdaptive = uid == UidTransferJpegFullProgressAdaptive;
    const FrameSyntax* row = FindFrameSyntax(uid);
    if (!isAdaptive && (row == nullptr || row->encoderName == nullptr))
    {
        _error("Enter ImageProcess::ConvertToCompress, invalid TransferSyntax : %s",
               static_cast<const char*>(uid));
        return 0;
    }
    return RunGuardedStep(
        "ImageProcess::ConvertToCompress",
        [&] { return isAdaptive ? JPEGFullProgressEncode_Adaptive() : EncodeWith(*row); });
}

int ImageProcess::EncodeAs(const UID& syntax)
{
    return EncodeWith(*FindFrameSyntax(syntax));
}

int ImageProcess::EncodeWith(const FrameSyntax& row)
{
    if (GetTransferSyntax() == *row.syntax)
    {
        return 1;
    }
    const bool isBaseline = row.syntax == &UidTransferJpegBaselineProcess1;
    const CodecTimer timer(!isBaseline);
    if (ConvertToRaw() == 0)
    {
        return 0;
    }
    // Baseline JPEG holds 8-bit samples: deeper grey frames are encoded as
    // their display rendering.
    if (isBaseline && !IsColourPhotometric(m_szPhotometric) && m_nBitsAllocated > 8 && Remap() == 0)
    {
        return 0;
    }
    if (!HasEncodableSamples())
    {
        _warning("Enter ImageProcess::ConvertToCompress, %d-bit %s samples cannot be encoded",
                 m_nBitsAllocated, m_szPhotometric);
        return 0;
    }
    if (row.shift != 0 && !ShiftRawRight(row.shift))
    {
        return 0;
    }
    if (!CallEncoder(row, m_pRawPixelData, m_nRawPixelLength))
    {
        _warning("Invoke %s failed",
                 row.shift != 0 ? "JPEGFullProgress_12BitEncode" : row.encoderName);
        return 0;
    }
    SetCompBits(row);
    SetTransferSyntax(*row.syntax);
    LogEncoded(row);
    if (isBaseline)
    {
        m_pImage->Delete(0x0028, 0x3000);
        m_pImage->Delete(0x0028, 0x3010);
    }
    return 1;
}

// The encoders take whole bytes: colour samples of 8 bits, grey samples
// of 8 or up to 16 bits. Any other width would be read in the wrong unit.
bool ImageProcess::HasEncodableSamples() const
{
    if (IsColourPhotometric(m_szPhotometric))
    {
        return m_nBitsAllocated == 8;
    }
    return m_nBitsAllocated >= 8 && m_nBitsAllocated <= 16;
}

// On success the output replaces the compressed buffer.
bool ImageProcess::CallEncoder(const FrameSyntax& row, const std::uint8_t* raw,
                               std::uint32_t length)
{
    std::unique_ptr<std::uint8_t[]> output;
    std::uint32_t outputLength = 0;
    const CodecSink sink = [&](const std::uint8_t* bytes, std::uint32_t count)
    {
        output.reset(new std::uint8_t[count > 0 ? count : 1]);
        std::memcpy(output.get(), bytes, count);
        outputLength = count;
    };
    const enCodecLayout layout =
        SelectFrameLayout(row, IsColourPhotometric(m_szPhotometric), m_nBitsAllocated);
    const CodecInput input(raw, length);
    const bool encoded = row.codec == enFrameCodec::J2k
                             ? J2kCodecCall::Encode(row.coding, layout, input, sink, m_nRows,
                                                    m_nColumns, m_nPixelRepresentation != 0)
                             : JpegCodecCall::Encode(row.process, layout, input, sink, m_nRows,
                                                     m_nColumns, static_cast<int>(m_nQuality));
    if (!encoded || output == nullptr)
    {
        return false;
    }
    ReleaseCompPixelData();
    m_pCompPixelData = output.release();
    m_nCompPixelLength = outputLength;
    return true;
}

void ImageProcess::SetCompBits(const FrameSyntax& row)
{
    if (row.syntax == &UidTransferJpegBaselineProcess1)
    {
        m_nCompBitsAllocated = 8;
        m_nCompBitsStored = 8;
        m_nCompHighBit = 7;
        return;
    }
    m_nCompBitsAllocated = static_cast<std::int16_t>(m_nBitsAllocated);
    m_nCompBitsStored = m_nBitsStored;
    const bool keepsHighBit =
        row.codec == enFrameCodec::J2k || row.syntax == &UidTransferJpegLosslessProc14;
    if (!keepsHighBit)
    {
        m_nCompHighBit = m_nHighBit;
    }
}

void ImageProcess::LogEncoded(const FrameSyntax& row) const
{
    const int compressed = static_cast<int>(m_nCompPixelLength);
    const int rate = compressed != 0 ? static_cast<int>(m_nRawPixelLength / m_nCompPixelLength) : 0;
    const int quality = static_cast<int>(m_nQuality);
    if (row.syntax == &UidTransferJpegBaselineProcess1)
    {
        return;
    }
    if (row.syntax == &UidTransferJpegLosslessProcFirstOrderPredict)
    {
        _info("Leave JPEGProc14SV1Encode, CompPixelLength : %d, Rate : %d", compressed, rate);
    }
    else if (row.codec == enFrameCodec::Jpeg && row.process == enJpegProcess::FullProgress)
    {
        _info("Leave JPEGFullProgressEncode, Quality : %d, CompPixelLength : %d, Ratio : %d",
              quality, compressed, rate);
    }
    else
    {
        _info("Leave %s, Quality : %d, CompPixelLength : %d, Rate : %d", row.encoderName, quality,
              compressed, rate);
    }
}

// Samples that are the image's own are copied before they are changed.
bool ImageProcess::MakeRawOwned()
{
    if (!IsOwnFrame(m_pRawPixelData))
    {
        return true;
    }
    auto* copy = new (std::nothrow) std::uint8_t[m_nRawPixelLength > 0 ? m_nRawPixelLength : 1];
    if (copy == nullptr)
    {
        _error("Enter ImageProcess::MakeRawOwned, cannot allocate %u bytes", m_nRawPixelLength);
        return false;
    }
    std::memcpy(copy, m_pRawPixelData, m_nRawPixelLength);
    m_pRawPixelData = copy;
    return true;
}

bool ImageProcess::ShiftRawRight(int shift)
{
    if (!MakeRawOwned())
    {
        return false;
    }
    for (std::uint32_t offset = 0; offset + 1 < m_nRawPixelLength; offset += 2)
    {
        std::uint16_t sample;
        std::memcpy(&sample, m_pRawPixelData + offset, sizeof sample);
        sample = static_cast<std::uint16_t>(sample >> shift);
        std::memcpy(m_pRawPixelData + offset, &sample, sizeof sample);
    }
    return true;
}

int ImageProcess::JPEGBaselineEncode()
{
    return EncodeAs(UidTransferJpegBaselineProcess1);
}

int ImageProcess::JPEGProc14Encode()
{
    return EncodeAs(UidTransferJpegLosslessProc14);
}

int ImageProcess::JPEGProc14SV1Encode()
{
    return EncodeAs(UidTransferJpegLosslessProcFirstOrderPredict);
}

int ImageProcess::JPEGExtendedProcEncode()
{
    return EncodeAs(UidTransferJpegExtendedProc2And4);
}

int ImageProcess::JPEGSpectralProcEncode()
{
    return EncodeAs(UidTransferJpegSpectralProc6And8);
}

int ImageProcess::JPEGFullProgressEncode()
{
    return EncodeAs(UidTransferJpegFullProgressProc10And12);
}

int ImageProcess::JPEGFullProgressEncode_13Bit()
{
    return EncodeAs(UidTransferJpegFullProgress13Bit);
}

int ImageProcess::JPEGFullProgressEncode_14Bit()
{
    return EncodeAs(UidTransferJpegFullProgress14Bit);
}

int ImageProcess::JPEGFullProgressEncode_15Bit()
{
    return EncodeAs(UidTransferJpegFullProgress15Bit);
}

int ImageProcess::JPEGFullProgressEncode_16Bit()
{
    return EncodeAs(UidTransferJpegFullProgress16Bit);
}

int ImageProcess::JP2KLosslessEncode()
{
    return EncodeAs(UidTransferJpeg2000Lossless);
}

int ImageProcess::JP2KLossyEncode()
{
    return EncodeAs(UidTransferJpeg2000);
}

// Colour and 8-bit frames go to the plain full progression syntax; grey
// frames of more bits to the syntax whose shift fits the largest sample of
// a sparse grid. Only a successful encoding labels the frame adaptive and
// records the syntax used in the image.
int ImageProcess::JPEGFullProgressEncode_Adaptive()
{
    if (GetTransferSyntax() == UidTransferJpegFullProgressAdaptive)
    {
        return 1;
    }
    if (strcasecmp(m_szPhotometric, "RGB") == 0)
    {
        _debug("==> Enter ImageProcess::JPEGFullProgressEncode_Adaptive (RGB)");
        return EncodeAdaptively(UidTransferJpegFullProgressProc10And12);
    }
    if (m_nBitsAllocated <= 8)
    {
        _debug("==> Enter ImageProcess::JPEGFullProgressEncode_Adaptive (8 bits)");
        return EncodeAdaptively(UidTransferJpegFullProgressProc10And12);
    }
    if (ConvertToRaw() == 0 || m_pRawPixelData == nullptr)
    {
        return 0;
    }
    int minimum = 0;
    int maximum = 0;
    FindSparseRange(minimum, maximum);
    const int bits = maximum > 0 ? std::bit_width(static_cast<unsigned>(maximum)) : 0;
    if (minimum < 0)
    {
        _debug("==> Enter ImageProcess::JPEGFullProgressEncode_Adaptive (MONO, signed, %d bits)",
               bits);
        return EncodeAdaptively(UidTransferJpegFullProgressProc10And12);
    }
    _debug("==> Enter ImageProcess::JPEGFullProgressEncode_Adaptive (MONO, unsigned, %d bits)",
           bits);
    return EncodeAdaptively(GetAdaptiveSyntax(bits));
}

int ImageProcess::EncodeAdaptively(const UID& inner)
{
    const int result = EncodeAs(inner);
    if (result != 0)
    {
        m_pImage->Add(WorkingGroup, AdaptiveSyntaxElement, inner);
        SetTransferSyntax(UidTransferJpegFullProgressAdaptive);
    }
    return result;
}

// Every other row and column inside a margin of 1 % of the smaller side.
void ImageProcess::FindSparseRange(int& minimum, int& maximum) const
{
    const bool isSigned = m_nPixelRepresentation != 0;
    minimum = isSigned ? 32767 : 65535;
    maximum = isSigned ? -32768 : 0;
    const int rows = m_nRows;
    const int columns = m_nColumns;
    const int margin = static_cast<int>(AdaptiveMargin * std::min(rows, columns));
    if (margin >= rows - margin - 1 || margin >= columns - margin - 1)
    {
        return;
    }
    const int rowCount = ((rows - 2 * margin - 2) >> 1) + 1;
    const int columnCount = ((columns - 2 * margin - 2) >> 1) + 1;
    for (int r = 0; r < rowCount; ++r)
    {
        for (int c = 0; c < columnCount; ++c)
        {
            const std::size_t index =
                static_cast<std::size_t>(margin + 2 * r) * columns + margin + 2 * c;
            if ((index + 1) * 2 > m_nRawPixelLength)
            {
                continue;
            }
            std::uint16_t sample;
            std::memcpy(&sample, m_pRawPixelData + index * 2, sizeof sample);
            const int value = isSigned ? static_cast<std::int16_t>(sample) : sample;
            minimum = std::min(minimum, value);
            maximum = std::max(maximum, value);
        }
    }
}
