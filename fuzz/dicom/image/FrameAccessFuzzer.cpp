// Feeds arbitrary bytes to the frame access of DICOM images: the bytes are
// written to a file, its header is read, and every frame the image claims
// is taken straight from the file; the same bytes read whole give the
// frames from memory and through ImageProcess. No frame may be longer
// than the file, and nothing may be read outside a buffer.
#include "DICOMImage.h"
#include "FrameIterator.h"
#include "ImageProcess.h"
#include "VeltaroLibrary.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

// More frames than this are not walked, so that one input stays quick.
constexpr int MaxFrames = 64;

// One file per process, there only while an input runs.
const std::string& GetFilePath()
{
    static const std::string path = "/tmp/fuzz-dicom-image-" + std::to_string(getpid()) + ".dcm";
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size)
{
    FILE* file = std::fopen(GetFilePath().c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void IterateFrames(DICOMImage& image, std::size_t size, bool isFromFile)
{
    FrameIterator iterator(&image);
    const int frames = iterator.GetFrameCount() < MaxFrames ? iterator.GetFrameCount() : MaxFrames;
    for (int frame = 0; frame < frames; ++frame)
    {
        if (iterator.Seek(frame) && iterator.Next() && isFromFile &&
            iterator.GetCoding() != FrameIterator::enCodingEncapsulated &&
            iterator.m_nFrameLength > size)
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

void DecodeInput(std::size_t size)
{
    DICOMImage header;
    if (header.ReadFileNoImage(GetFilePath().c_str()) != 0)
    {
        IterateFrames(header, size, true);
    }
    DICOMImage whole;
    if (whole.ReadFile(GetFilePath().c_str()) != 0)
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
    if (WriteInput(data, size))
    {
        DecodeInput(size);
    }
    std::remove(GetFilePath().c_str());
    return 0;
}
