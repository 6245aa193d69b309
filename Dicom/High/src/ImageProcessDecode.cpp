// The decoders of ImageProcess: the compressed frame becomes raw samples,
// the syntax explicit VR little endian.
#include "ImageProcess.h"

#include "CodecTimer.h"
#include "DICOMImage.h"
#include "FrameCodec.h"
#include "ImageTags.h"
#include "VeltaroLog.h"

#include <cstring>

using namespace ImageTags;

namespace
{

// The full progression syntaxes a frame under the adaptive syntax may use.
bool IsAdaptiveInner(const UID& syntax)
{
    const FrameSyntax* row = FindFrameSyntax(syntax);
    return row != nullptr && row->codec == enFrameCodec::Jpeg &&
           row->process == enJpegProcess::FullProgress;
}

} // namespace

int ImageProcess::ConvertToDecompress()
{
    const UID& syntax = GetTransferSyntax();
    const bool isAdaptive = syntax == UidTransferJpegFullProgressAdaptive;
    const FrameSyntax* row = FindFrameSyntax(syntax);
    if (row == nullptr && !isAdaptive)
    {
        _error("Enter ImageProcess::ConvertToDecompress, invalid TransferSyntax : %s",
               static_cast<const char*>(syntax));
        return 0;
    }
    return RunGuardedStep(
        "ImageProcess::ConvertToDecompress",
        [&] { return isAdaptive ? JPEGFullProgressDecode_Adaptive() : DecodeWith(*row); });
}

int ImageProcess::DecodeAs(const UID& syntax)
{
    if (GetTransferSyntax() != syntax)
    {
        return 0;
    }
    return DecodeWith(*FindFrameSyntax(syntax));
}

int ImageProcess::DecodeWith(const FrameSyntax& row)
{
    const bool isBaseline = row.syntax == &UidTransferJpegBaselineProcess1;
    const CodecTimer timer(!isBaseline);
    if (m_pCompPixelData == nullptr)
    {
        _warning("Invoke %s failed", row.decoderName);
        return 0;
    }
    const bool isColour = IsColourPhotometric(m_szPhotometric);
    const enCodecLayout layout = SelectFrameLayout(row, isColour, m_nBitsAllocated);
    const FrameDecodeJob job{"ImageProcess",
                             row.shift != 0 ? "JPEGFullProgressDecode" : row.decoderName,
                             &row,
                             layout,
                             m_nRows,
                             m_nColumns,
                             m_nBitsAllocated};
    DecodedFrame decoded;
    if (!DecodeFrame(job, CodecInput(m_pCompPixelData, m_nCompPixelLength), decoded))
    {
        return 0;
    }
    ReleaseRawPixelData();
    m_pRawPixelData = decoded.buffer;
    m_nRawPixelLength = decoded.length;
    m_nBitsAllocated = static_cast<std::uint16_t>(isBaseline ? 8 : m_nCompBitsAllocated);
    m_nBitsStored = static_cast<std::int16_t>(isBaseline ? 8 : m_nCompBitsStored);
    m_nHighBit = static_cast<std::int16_t>(isBaseline ? 7 : m_nCompHighBit);
    // The colour decoders hand out RGB whatever colour space the stream
    // was coded in.
    if (layout == enCodecLayout::RGB && row.codec != enFrameCodec::Rle)
    {
        std::strcpy(m_szPhotometric, "RGB");
    }
    SetTransferSyntax(UidTransferLittleEndianExplicit);
    return 1;
}

int ImageProcess::JPEGBaselineDecode()
{
    return DecodeAs(UidTransferJpegBaselineProcess1);
}

int ImageProcess::JPEGProc14Decode()
{
    return DecodeAs(UidTransferJpegLosslessProc14);
}

int ImageProcess::JPEGProc14SV1Decode()
{
    return DecodeAs(UidTransferJpegLosslessProcFirstOrderPredict);
}

int ImageProcess::JPEGExtendedProcDecode()
{
    return DecodeAs(UidTransferJpegExtendedProc2And4);
}

int ImageProcess::JPEGSpectralProcDecode()
{
    return DecodeAs(UidTransferJpegSpectralProc6And8);
}

int ImageProcess::JPEGFullProgressDecode()
{
    return DecodeAs(UidTransferJpegFullProgressProc10And12);
}

int ImageProcess::JPEGFullProgressDecode_13Bit()
{
    return DecodeAs(UidTransferJpegFullProgress13Bit);
}

int ImageProcess::JPEGFullProgressDecode_14Bit()
{
    return DecodeAs(UidTransferJpegFullProgress14Bit);
}

int ImageProcess::JPEGFullProgressDecode_15Bit()
{
    return DecodeAs(UidTransferJpegFullProgress15Bit);
}

int ImageProcess::JPEGFullProgressDecode_16Bit()
{
    return DecodeAs(UidTransferJpegFullProgress16Bit);
}

int ImageProcess::RLEDecode()
{
    return DecodeAs(UidTransferRleLossless);
}

int ImageProcess::JP2KLosslessDecode()
{
    return DecodeAs(UidTransferJpeg2000Lossless);
}

int ImageProcess::JP2KLossyDecode()
{
    return DecodeAs(UidTransferJpeg2000);
}

// The image keeps its (0007,0550) as long as it holds the adaptive frame,
// so that every later decoding finds the same syntax; a failed decoding
// leaves the frame labelled adaptive.
int ImageProcess::JPEGFullProgressDecode_Adaptive()
{
    if (GetTransferSyntax() != UidTransferJpegFullProgressAdaptive)
    {
        return 0;
    }
    UID inner(m_pImage->GetLettra(WorkingGroup, AdaptiveSyntaxElement));
    if (!IsAdaptiveInner(inner))
    {
        _error("ImageProcess::JPEGFullProgressDecode_Adaptive, cannot find proper Transfer "
               "SyntaxUID in DICOM file !!!");
        inner = UidTransferJpegFullProgressProc10And12;
    }
    SetTransferSyntax(inner);
    const int result = DecodeAs(inner);
    if (result == 0)
    {
        SetTransferSyntax(UidTransferJpegFullProgressAdaptive);
    }
    return result;
}
