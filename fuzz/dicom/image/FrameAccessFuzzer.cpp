// Feeds arbitrary bytes to the frame access of DICOM images: the bytes are
// written to a file, its header is read, and every frame the image claims
// is taken straight from the file; the same bytes read whole give the
// frames from memory and through ImageProcess. No native frame delivered
// from the file may be stored in more bytes than the file holds, and nothing
// may be read outside a buffer.
#include "DICOMImage.h"
#include "FrameIterator.h"
#include "FuzzInputFile.h"
#include "ImageProcess.h"
#include "VeltaroLibrary.h"

#include <cstdint>
#include <cstdlib>

namespace
{

// More frames than this are not walked, so that one input stays quick.
constexpr int MaxFrames = 64;

void IterateFrames(DICOMImage& image, std::size_t size, bool isFromFile)
{
    FrameIterator iterator(&image);
    const int frames = iterator.GetFrameCount() < MaxFrames ? iterator.GetFrameCount() : MaxFrames;
    for (int frame = 0; frame < frames; ++frame)
    {
        // A delivered frame may be longer than it is stored (4:2:2 colour
        // comes at three samples a pixel), never its stored bytes.
        if (iterator.Seek(frame) && iterator.Next() && isFromFile &&
            iterator.GetCoding() != FrameIterator::enCodingEncapsulated &&
            image.GetFrameSize() > size)
        {
            std::abort();
        }
        delete[] static_cast<std::uint8_t*>(iterator.Detach());
    }
    // Then one Next after another from the start.
    FrameIterator ordered(&image);
    int delivered = 0;
    while (delivered < frames && ordered.Next())
    {
        ++delivered;
    }
}

void DecodeInput(const char* path, std::size_t size)
{
    DICOMImage header;
    if (header.ReadFileNoImage(path) != 0)
    {
        IterateFrames(header, size, true);
    }
    DICOMImage whole;
    if (whole.ReadFile(path) != 0)
    {
        IterateFrames(whole, size, false);
        ImageProcess process(whole, 0);
        process.ConvertToRaw();
        delete[] static_cast<std::uint8_t*>(process.Detach());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int started = VeltaroInitialize();
    (void)started;
    const FuzzInputFile input("fuzz-dicom-image", ".dcm", data, size);
    if (input.IsWritten())
    {
        DecodeInput(input.GetPath(), size);
    }
    return 0;
}
