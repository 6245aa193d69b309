#include "FrameCodec.h"

#include "RleCodecCall.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <strings.h>

namespace
{

// The code a C++ exception is reported under to the exception filter.
constexpr unsigned long CppExceptionCode = 0xE06D7363;

constexpr enJ2kCoding NoJ2k = enJ2kCoding::Lossless;
constexpr enJpegProcess NoJpeg = enJpegProcess::Baseline;

const FrameSyntax FrameSyntaxes[] = {
    {&UidTransferJpegLosslessProc14, "JPEGProc14Decode", "JPEGProc14Encode", enFrameCodec::Jpeg,
     enJpegProcess::Proc14, NoJ2k, 0},
    {&UidTransferJpegLosslessProcFirstOrderPredict, "JPEGProc14SV1Decode", "JPEGProc14SV1Encode",
     enFrameCodec::Jpeg, enJpegProcess::Proc14SV1, NoJ2k, 0},
    {&UidTransferJpegBaselineProcess1, "JPEGBaselineDecode", "JPEGBaselineEncode",
     enFrameCodec::Jpeg, enJpegProcess::Baseline, NoJ2k, 0},
    {&UidTransferRleLossless, "RLEDecode", nullptr, enFrameCodec::Rle, NoJpeg, NoJ2k, 0},
    {&UidTransferJpeg2000Lossless, "JP2KLosslessDecode", "JP2KLosslessEncode", enFrameCodec::J2k,
     NoJpeg, enJ2kCoding::Lossless, 0},
    {&UidTransferJpeg2000, "JP2KLossyDecode", "JP2KLossyEncode", enFrameCodec::J2k, NoJpeg,
     enJ2kCoding::Lossy, 0},
    {&UidTransferJpegExtendedProc2And4, "JPEGExtendedProcDecode", "JPEGExtendedProcEncode",
     enFrameCodec::Jpeg, enJpegProcess::ExtendedProc, NoJ2k, 0},
    {&UidTransferJpegSpectralProc6And8, "JPEGSpectralProcDecode", "JPEGSpectralProcEncode",
     enFrameCodec::Jpeg, enJpegProcess::SpectralProc, NoJ2k, 0},
    {&UidTransferJpegFullProgressProc10And12, "JPEGFullProgressDecode", "JPEGFullProgressEncode",
     enFrameCodec::Jpeg, enJpegProcess::FullProgress, NoJ2k, 0},
    {&UidTransferJpegFullProgress13Bit, "JPEGFullProgressDecode_13Bit",
     "JPEGFullProgressEncode_13Bit", enFrameCodec::Jpeg, enJpegProcess::FullProgress, NoJ2k, 1},
    {&UidTransferJpegFullProgress14Bit, "JPEGFullProgressDecode_14Bit",
     "JPEGFullProgressEncode_14Bit", enFrameCodec::Jpeg, enJpegProcess::FullProgress, NoJ2k, 2},
    {&UidTransferJpegFullProgress15Bit, "JPEGFullProgressDecode_15Bit",
     "JPEGFullProgressEncode_15Bit", enFrameCodec::Jpeg, enJpegProcess::FullProgress, NoJ2k, 3},
    {&UidTransferJpegFullProgress16Bit, "JPEGFullProgressDecode_16Bit",
     "JPEGFullProgressEncode_16Bit", enFrameCodec::Jpeg, enJpegProcess::FullProgress, NoJ2k, 4},
};

bool RunCodec(const FrameDecodeJob& job, CodecInput data, const CodecSink& sink, int& rows,
              int& columns)
{
    switch (job.row->codec)
    {
    case enFrameCodec::Jpeg:
        return JpegCodecCall::Decode(job.row->process, job.layout, data, sink, rows, columns);
    case enFrameCodec::J2k:
        return J2kCodecCall::Decode(job.row->coding, job.layout, data, sink, rows, columns);
    case enFrameCodec::Rle:
        return RleCodecCall::Decode(data, sink);
    }
    return false;
}

// rows x columns x bits allocated / 8: the least a JPEG or JPEG 2000
// result is given; RLE results keep their own length.
std::uint64_t GetExpectedLength(const FrameDecodeJob& job)
{
    if (job.row->codec == enFrameCodec::Rle || job.rows < 0 || job.columns < 0 ||
        job.bitsAllocated < 0)
    {
        return 0;
    }
    return static_cast<std::uint64_t>(job.rows) * static_cast<std::uint64_t>(job.columns) *
           static_cast<std::uint64_t>(job.bitsAllocated) / 8;
}

void LogGeometry(const FrameDecodeJob& job, int rows, int columns, std::uint32_t produced,
                 std::uint64_t expected)
{
    if (rows != job.rows)
    {
        _error("%s::%s, Row = %d / Rows = %d", job.owner, job.reportName, rows, job.rows);
    }
    if (columns != job.columns)
    {
        _error("%s::%s, Column = %d / Columns = %d", job.owner, job.reportName, columns,
               job.columns);
    }
    if (produced < expected)
    {
        _warning("%s::%s,OSBuffer.GetSize () is:%d, Rows (%d)*Columns (%d)*RawBitsAllocated "
                 "(%d)/8= %d",
                 job.owner, job.reportName, static_cast<int>(produced), job.rows, job.columns,
                 job.bitsAllocated, static_cast<int>(expected));
    }
}

void ShiftSamplesLeft(std::uint8_t* buffer, std::uint32_t length, int shift)
{
    for (std::uint32_t offset = 0; offset + 1 < length; offset += 2)
    {
        std::uint16_t sample;
        std::memcpy(&sample, buffer + offset, sizeof sample);
        sample = static_cast<std::uint16_t>(sample << shift);
        std::memcpy(buffer + offset, &sample, sizeof sample);
    }
}

} // namespace

const FrameSyntax* FindFrameSyntax(const UID& syntax)
{
    for (const FrameSyntax& row : FrameSyntaxes)
    {
        if (*row.syntax == syntax)
        {
            return &row;
        }
    }
    return nullptr;
}

bool IsColourPhotometric(const char* photometric)
{
    return photometric != nullptr &&
           (strcasecmp(photometric, "RGB") == 0 || strncasecmp(photometric, "YBR_", 4) == 0);
}

enCodecLayout SelectFrameLayout(const FrameSyntax& row, bool isColour, int bitsAllocated)
{
    if (row.shift != 0)
    {
        return enCodecLayout::Bits12;
    }
    if (isColour)
    {
        return enCodecLayout::RGB;
    }
    if (bitsAllocated <= 8 ||
        (row.codec == enFrameCodec::Jpeg && row.process == enJpegProcess::Baseline))
    {
        return enCodecLayout::Bits8;
    }
    const bool isLossless =
        row.codec == enFrameCodec::J2k ||
        (row.codec == enFrameCodec::Jpeg && JpegCodecCall::IsLossless(row.process));
    return isLossless ? enCodecLayout::Bits16 : enCodecLayout::Bits12;
}

namespace
{
// An 8-bit lossy JPEG frame decodes straight into the buffer that is handed
// over when the decoded image is at least as long as the frame must be (an
// 8-bit image in 16 bits allocated is left to the padding of the ordinary
// call). Any other outcome leaves the frame to the ordinary call, which
// copies and logs.
bool DecodeInPlace(const FrameDecodeJob& job, CodecInput data, std::uint64_t expected,
                   DecodedFrame& out)
{
    if (job.row->codec != enFrameCodec::Jpeg || job.row->shift != 0 || job.rows <= 0 ||
        job.columns <= 0)
    {
        return false;
    }
    const std::uint64_t decoded = static_cast<std::uint64_t>(job.rows) *
                                  static_cast<std::uint64_t>(job.columns) *
                                  static_cast<std::uint64_t>(GetCodecLayoutBytes(job.layout));
    if (decoded < expected || decoded > UINT32_MAX)
    {
        return false;
    }
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[decoded]);
    int rows = 0;
    int columns = 0;
    if (!JpegCodecCall::DecodeInto(job.row->process, job.layout, data,
                                   std::span<std::uint8_t>(buffer.get(), decoded), rows, columns) ||
        rows != job.rows || columns != job.columns)
    {
        return false;
    }
    out.buffer = buffer.release();
    out.length = static_cast<std::uint32_t>(decoded);
    return true;
}
} // namespace

bool DecodeFrame(const FrameDecodeJob& job, CodecInput data, DecodedFrame& out)
{
    const std::uint64_t expected = GetExpectedLength(job);
    if (expected > UINT32_MAX)
    {
        _error("%s::%s, a frame of %d rows and %d columns is too large", job.owner, job.reportName,
               job.rows, job.columns);
        return false;
    }
    if (DecodeInPlace(job, data, expected, out))
    {
        return true;
    }
    // The result goes straight into a buffer of its final length; bytes
    // beyond what the codec gave are zero.
    std::unique_ptr<std::uint8_t[]> buffer;
    std::uint32_t produced = 0;
    std::uint32_t length = 0;
    const CodecSink sink = [&](const std::uint8_t* bytes, std::uint32_t count)
    {
        length = std::max(count, static_cast<std::uint32_t>(expected));
        buffer.reset(new std::uint8_t[length > 0 ? length : 1]);
        std::memcpy(buffer.get(), bytes, count);
        std::memset(buffer.get() + count, 0, length - count);
        produced = count;
    };
    int rows = 0;
    int columns = 0;
    if (!RunCodec(job, data, sink, rows, columns) || buffer == nullptr)
    {
        _warning("Invoke %s failed", job.row->decoderName);
        return false;
    }
    if (job.row->codec != enFrameCodec::Rle)
    {
        LogGeometry(job, rows, columns, produced, expected);
    }
    if (job.row->shift != 0)
    {
        ShiftSamplesLeft(buffer.get(), length, job.row->shift);
    }
    out.buffer = buffer.release();
    out.length = length;
    return true;
}

int RunGuardedStep(const char* where, const std::function<int()>& step)
{
    try
    {
        return step();
    }
    catch (...)
    {
        ExceptionFilter(CppExceptionCode);
        _fatal("Error of exception at %s", where);
        return 0;
    }
}
