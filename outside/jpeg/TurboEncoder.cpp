#include "TurboEncoder.h"

#include "JpegMarkers.h"
#include "TurboErrorManager.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quorex
{

namespace
{
// Spectral selection only: each scan sends a band of coefficients at full
// precision (no successive approximation).
const jpeg_scan_info kGreySpectralScans[] = {
    {1, {0, 0, 0, 0}, 0, 0, 0, 0},
    {1, {0, 0, 0, 0}, 1, 5, 0, 0},
    {1, {0, 0, 0, 0}, 6, 63, 0, 0},
};
const jpeg_scan_info kColourSpectralScans[] = {
    {3, {0, 1, 2, 0}, 0, 0, 0, 0},  {1, {0, 0, 0, 0}, 1, 5, 0, 0},  {1, {1, 0, 0, 0}, 1, 5, 0, 0},
    {1, {2, 0, 0, 0}, 1, 5, 0, 0},  {1, {0, 0, 0, 0}, 6, 63, 0, 0}, {1, {1, 0, 0, 0}, 6, 63, 0, 0},
    {1, {2, 0, 0, 0}, 6, 63, 0, 0},
};

constexpr size_t kFirstBufferSize = 65536;

// Destination that collects the stream in a vector.
struct VectorDestination
{
    jpeg_destination_mgr base;
    std::vector<uint8_t>* pStream;
};

VectorDestination& GetDestination(j_compress_ptr pInfo)
{
    return *reinterpret_cast<VectorDestination*>(pInfo->dest);
}

void DoPointAtFreeSpace(VectorDestination& destination, size_t nUsed)
{
    destination.base.next_output_byte = destination.pStream->data() + nUsed;
    destination.base.free_in_buffer = destination.pStream->size() - nUsed;
}

bool DoResize(j_compress_ptr pInfo, size_t nSize)
{
    try
    {
        GetDestination(pInfo).pStream->resize(nSize);
        return true;
    }
    catch (...)
    {
        return false;
    }
}

void OnInitDestination(j_compress_ptr pInfo)
{
    if (!DoResize(pInfo, kFirstBufferSize))
    {
        pInfo->err->error_exit(reinterpret_cast<j_common_ptr>(pInfo));
    }
    DoPointAtFreeSpace(GetDestination(pInfo), 0);
}

boolean OnEmptyOutputBuffer(j_compress_ptr pInfo)
{
    VectorDestination& destination = GetDestination(pInfo);
    const size_t nUsed = destination.pStream->size();
    if (nUsed > kMaxOutputBytes / 2 || !DoResize(pInfo, nUsed * 2))
    {
        pInfo->err->error_exit(reinterpret_cast<j_common_ptr>(pInfo));
    }
    DoPointAtFreeSpace(destination, nUsed);
    return TRUE;
}

void OnTermDestination(j_compress_ptr pInfo)
{
    VectorDestination& destination = GetDestination(pInfo);
    destination.pStream->resize(destination.pStream->size() - destination.base.free_in_buffer);
}

struct EncodeJob
{
    const uint8_t* pRaw;
    int32_t nRows;
    int32_t nColumns;
    enSampleLayout enLayout;
    enLossyProcess enProcess;
    int32_t nQuality;
};

void DoSetProcess(jpeg_compress_struct& info, const EncodeJob& job)
{
    const bool bColour = job.enLayout == enSampleLayout::Rgb;
    switch (job.enProcess)
    {
    case enLossyProcess::Baseline:
        break;
    case enLossyProcess::Extended:
        info.optimize_coding = TRUE;
        break;
    case enLossyProcess::SpectralSelection:
        info.scan_info = bColour ? kColourSpectralScans : kGreySpectralScans;
        info.num_scans = static_cast<int>(bColour ? std::size(kColourSpectralScans)
                                                  : std::size(kGreySpectralScans));
        break;
    case enLossyProcess::FullProgression:
        jpeg_simple_progression(&info);
        break;
    }
}

// Runs libjpeg. Its error exit jumps back to the setjmp below, so only
// trivially destructible objects live in this frame.
bool RunEncode(jpeg_compress_struct& info, TurboErrorManager& errors,
               VectorDestination& destination, const EncodeJob& job)
{
    if (setjmp(errors.jumpBuffer) != 0)
    {
        return false;
    }
    jpeg_create_compress(&info);
    info.dest = &destination.base;
    const bool bColour = job.enLayout == enSampleLayout::Rgb;
    info.image_width = static_cast<JDIMENSION>(job.nColumns);
    info.image_height = static_cast<JDIMENSION>(job.nRows);
    info.input_components = bColour ? 3 : 1;
    info.in_color_space = bColour ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    if (bColour)
    {
        jpeg_set_colorspace(&info, JCS_RGB);
    }
    jpeg_set_quality(&info, job.nQuality, job.enProcess == enLossyProcess::Baseline);
    DoSetProcess(info, job);
    jpeg_start_compress(&info, TRUE);

    const size_t nRowBytes = size_t(job.nColumns) * static_cast<size_t>(info.input_components);
    while (info.next_scanline < info.image_height)
    {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW pRow = const_cast<uint8_t*>(job.pRaw) + info.next_scanline * nRowBytes;
        jpeg_write_scanlines(&info, &pRow, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

// libjpeg labels a sequential frame as baseline whenever its tables allow it;
// the extended process is then marked as such, which every decoder reads alike.
void DoMarkExtended(std::vector<uint8_t>& stream)
{
    JpegMarkerReader reader(stream.data(), stream.size());
    reader.DoReadStart();
    for (uint8_t nMarker = reader.GetNextMarker(); nMarker != 0; nMarker = reader.GetNextMarker())
    {
        if (marker::IsStartOfFrame(nMarker))
        {
            if (nMarker == marker::kSof0)
            {
                stream[reader.GetPosition() - 1] = marker::kSof1;
            }
            return;
        }
        if (!marker::IsStandalone(nMarker))
        {
            reader.ReadSegment();
        }
    }
}
} // namespace

EncodedStream TurboEncoder::DoEncode(const uint8_t* pRaw, int32_t nRows, int32_t nColumns,
                                     enSampleLayout enLayout, enLossyProcess enProcess,
                                     int32_t nQuality)
{
    std::vector<uint8_t> stream;
    jpeg_compress_struct info;
    std::memset(&info, 0, sizeof(info));
    TurboErrorManager errors;
    info.err = InstallErrorManager(errors);
    VectorDestination destination{};
    destination.base.init_destination = OnInitDestination;
    destination.base.empty_output_buffer = OnEmptyOutputBuffer;
    destination.base.term_destination = OnTermDestination;
    destination.pStream = &stream;
    const EncodeJob job{pRaw, nRows, nColumns, enLayout, enProcess, std::clamp(nQuality, 1, 100)};
    const bool bDone = RunEncode(info, errors, destination, job);
    jpeg_destroy_compress(&info);
    if (!bDone)
    {
        return {};
    }
    if (enProcess == enLossyProcess::Extended)
    {
        DoMarkExtended(stream);
    }
    return CopyToResult(stream);
}

} // namespace quorex
