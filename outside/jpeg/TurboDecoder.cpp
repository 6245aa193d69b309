#include "TurboDecoder.h"

#include "TurboErrorManager.h"

#include <algorithm>
#include <cstring>

namespace quorex
{

namespace
{
struct DecodeJob
{
    const uint8_t* pData;
    size_t nLength;
    enSampleLayout enLayout;
    DecodedImage* pImage;
    // The caller's buffer, or null for a result buffer of the decoder's own.
    uint8_t* pTarget;
    size_t nTargetLength;
};

// Rows go into the caller's buffer when it has exactly the image's size.
uint8_t* PrepareOutput(const DecodeJob& job, size_t nBytes)
{
    if (job.pTarget != nullptr)
    {
        return nBytes == job.nTargetLength ? job.pTarget : nullptr;
    }
    job.pImage->pixels = AllocateResult(nBytes);
    return job.pImage->pixels.get();
}

// Without a JFIF or Adobe marker the component identifiers are the only hint:
// 1, 2, 3 is the JFIF convention for YCbCr; streams that number their
// components otherwise hold RGB in practice (libjpeg would guess YCbCr there and
// give such images false colours).
void DoChooseColourSpace(jpeg_decompress_struct& info)
{
    if (info.saw_JFIF_marker || info.saw_Adobe_marker)
    {
        return;
    }
    const bool bJfifIdentifiers = info.comp_info[0].component_id == 1 &&
                                  info.comp_info[1].component_id == 2 &&
                                  info.comp_info[2].component_id == 3;
    info.jpeg_color_space = bJfifIdentifiers ? JCS_YCbCr : JCS_RGB;
}

bool IsAcceptedFrame(const jpeg_decompress_struct& info, const DecodeJob& job)
{
    if (info.image_width == 0 || info.image_height == 0)
    {
        return false;
    }
    const size_t nPixels = size_t{info.image_width} * info.image_height;
    if (nPixels / kMaxPixelsPerDctByte > job.nLength)
    {
        return false;
    }
    if (job.enLayout == enSampleLayout::Rgb || job.enLayout == enSampleLayout::Coded)
    {
        return info.num_components == 3 &&
               (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
    }
    return info.num_components == 1;
}

// Runs libjpeg. Its error exit jumps back to the setjmp below, so only
// trivially destructible objects live in this frame.
bool RunDecode(jpeg_decompress_struct& info, TurboErrorManager& errors, const DecodeJob& job)
{
    if (setjmp(errors.jumpBuffer) != 0)
    {
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, job.pData, static_cast<unsigned long>(job.nLength));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
    {
        return false;
    }
    if (info.num_components == 3)
    {
        DoChooseColourSpace(info);
    }
    if (!IsAcceptedFrame(info, job))
    {
        return false;
    }
    // The coded layout keeps the components as the stream holds them,
    // upsampled to full size but not colour-transformed.
    switch (job.enLayout)
    {
    case enSampleLayout::Rgb:
        info.out_color_space = JCS_RGB;
        break;
    case enSampleLayout::Coded:
        info.out_color_space = info.jpeg_color_space;
        break;
    default:
        info.out_color_space = JCS_GRAYSCALE;
        break;
    }
    errors.bTolerateEndOfData = !jpeg_has_multiple_scans(&info);
    jpeg_start_decompress(&info);

    const size_t nRowBytes = size_t{info.output_width} * info.output_components;
    uint8_t* const pOutput = PrepareOutput(job, nRowBytes * info.output_height);
    if (pOutput == nullptr)
    {
        return false;
    }
    constexpr JDIMENSION kRowsPerCall = 16;
    JSAMPROW rows[kRowsPerCall];
    while (info.output_scanline < info.output_height)
    {
        const JDIMENSION nRows = std::min(kRowsPerCall, info.output_height - info.output_scanline);
        for (JDIMENSION i = 0; i < nRows; ++i)
        {
            rows[i] = pOutput + (info.output_scanline + i) * nRowBytes;
        }
        if (jpeg_read_scanlines(&info, rows, nRows) == 0)
        {
            return false;
        }
    }
    job.pImage->nRows = static_cast<int32_t>(info.output_height);
    job.pImage->nColumns = static_cast<int32_t>(info.output_width);
    return true;
}

bool DoRun(const DecodeJob& job)
{
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof(info));
    TurboErrorManager errors;
    info.err = InstallErrorManager(errors);
    const bool bDone = RunDecode(info, errors, job);
    // Whatever follows the last pixel row (normally just EOI) is not read.
    jpeg_destroy_decompress(&info);
    return bDone;
}
} // namespace

bool TurboDecoder::DoDecode(const uint8_t* pData, size_t nLength, enSampleLayout enLayout,
                            DecodedImage& image)
{
    const bool bDone = DoRun(DecodeJob{pData, nLength, enLayout, &image, nullptr, 0});
    if (!bDone)
    {
        image = DecodedImage();
    }
    return bDone;
}

bool TurboDecoder::DoDecodeInto(const uint8_t* pData, size_t nLength, enSampleLayout enLayout,
                                uint8_t* pTarget, size_t nTargetLength, int32_t& nRows,
                                int32_t& nColumns)
{
    DecodedImage geometry;
    if (pTarget == nullptr ||
        !DoRun(DecodeJob{pData, nLength, enLayout, &geometry, pTarget, nTargetLength}))
    {
        return false;
    }
    nRows = geometry.nRows;
    nColumns = geometry.nColumns;
    return true;
}

} // namespace quorex
