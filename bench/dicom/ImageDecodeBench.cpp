// Frames per second decoding a multi-frame image, from memory and straight
// from the file, in each transfer syntax the sample corpus holds images in
// (the native byte orders, RLE, JPEG baseline, extended and lossless, and
// JPEG 2000 both ways). Each image is 16 frames of 512 x 512 samples of a
// CT-like slice (12 bits in 16; 8 bits for baseline JPEG), coded through
// the library itself (RLE by the packer below, as the library only
// decodes RLE) and written to a temporary folder once.
#include "DICOMImage.h"
#include "FrameIterator.h"
#include "ImageProcess.h"
#include "SyntheticImages.h"
#include "UID.h"
#include "VeltaroLibrary.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int FrameCount = 16;
constexpr int Side = 512;

struct SyntaxCase
{
    const char* name;
    const UID* syntax;
    int bitsAllocated;
};

const SyntaxCase SyntaxCases[] = {
    {"ImplicitLittle", &UidTransferLittleEndian, 16},
    {"ExplicitLittle", &UidTransferLittleEndianExplicit, 16},
    {"ExplicitBig", &UidTransferBigEndianExplicit, 16},
    {"Rle", &UidTransferRleLossless, 16},
    {"JpegBaseline", &UidTransferJpegBaselineProcess1, 8},
    {"JpegExtended", &UidTransferJpegExtendedProc2And4, 16},
    {"JpegLosslessSV1", &UidTransferJpegLosslessProcFirstOrderPredict, 16},
    {"J2kLossless", &UidTransferJpeg2000Lossless, 16},
    {"J2kLossy", &UidTransferJpeg2000, 16},
};

// PackBits of one byte plane: runs of 3 or more repeat, the rest literal.
void PackPlane(const Bytes& plane, Bytes& out)
{
    std::size_t position = 0;
    while (position < plane.size())
    {
        std::size_t run = 1;
        while (position + run < plane.size() && run < 128 &&
               plane[position + run] == plane[position])
        {
            ++run;
        }
        if (run >= 3)
        {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(plane[position]);
            position += run;
            continue;
        }
        std::size_t literal = 0;
        while (position + literal < plane.size() && literal < 128 &&
               !(position + literal + 2 < plane.size() &&
                 plane[position + literal] == plane[position + literal + 1] &&
                 plane[position + literal] == plane[position + literal + 2]))
        {
            ++literal;
        }
        out.push_back(static_cast<std::uint8_t>(literal - 1));
        out.insert(out.end(), plane.begin() + static_cast<long>(position),
                   plane.begin() + static_cast<long>(position + literal));
        position += literal;
    }
}

// An RLE frame of 16-bit grey samples: the high bytes, then the low ones.
Bytes MakeRleFrame(const Bytes& raw)
{
    Bytes frame(64, 0);
    frame[0] = 2;
    for (int segment = 0; segment < 2; ++segment)
    {
        const std::uint32_t offset = static_cast<std::uint32_t>(frame.size());
        std::memcpy(frame.data() + 4 + 4 * segment, &offset, sizeof offset);
        Bytes plane;
        for (std::size_t sample = 0; sample < raw.size(); sample += 2)
        {
            plane.push_back(raw[sample + 1 - segment]);
        }
        PackPlane(plane, frame);
        if (frame.size() % 2 != 0)
        {
            frame.push_back(0x80);
        }
    }
    return frame;
}

void FillAttributes(DICOMImage& image, int bitsAllocated, int frames)
{
    image.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.2"));
    image.Add(0x0008, 0x0018, UID("1.2.840.84658685.99.1"));
    image.Add(0x0008, 0x0060, "CT");
    image.Add(0x0028, 0x0002, static_cast<unsigned short>(1));
    image.Add(0x0028, 0x0004, "MONOCHROME2");
    image.Add(0x0028, 0x0008, std::to_string(frames).c_str());
    image.Add(0x0028, 0x0010, static_cast<unsigned short>(Side));
    image.Add(0x0028, 0x0011, static_cast<unsigned short>(Side));
    image.Add(0x0028, 0x0100, static_cast<unsigned short>(bitsAllocated));
    image.Add(0x0028, 0x0101, static_cast<unsigned short>(bitsAllocated == 8 ? 8 : 12));
    image.Add(0x0028, 0x0102, static_cast<unsigned short>(bitsAllocated == 8 ? 7 : 11));
    image.Add(0x0028, 0x0103, static_cast<unsigned short>(0));
}

std::uint8_t* NewCopy(const Bytes& bytes)
{
    auto* buffer = new std::uint8_t[bytes.size()];
    std::memcpy(buffer, bytes.data(), bytes.size());
    return buffer;
}

// One frame as the syntax codes it.
Bytes CodeFrame(const SyntaxCase& c, Bytes raw)
{
    if (IsCompressed(*c.syntax) == 0)
    {
        return raw;
    }
    if (*c.syntax == UidTransferRleLossless)
    {
        return MakeRleFrame(raw);
    }
    DICOMImage single;
    FillAttributes(single, c.bitsAllocated, 1);
    single.SetTransferSyntax(UidTransferLittleEndianExplicit);
    single.CopyToPixelBuffer(NewCopy(raw), static_cast<unsigned>(raw.size()), 0, Side, Side,
                             static_cast<unsigned short>(c.bitsAllocated), 12, 11);
    ImageProcess process(single, 0);
    if (process.ConvertTo(*c.syntax) == 0)
    {
        return {};
    }
    return Bytes(process.GetCompPixelData(),
                 process.GetCompPixelData() + process.GetCompPixelLength());
}

// The multi-frame file of a syntax, written once per run.
class BenchImages
{
public:
    BenchImages()
        : m_folder(fs::temp_directory_path() / ("veltaro-image-bench-" + std::to_string(getpid())))
    {
        VeltaroInitialize();
        fs::create_directories(m_folder);
    }
    ~BenchImages()
    {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
        VeltaroUninitialize();
    }

    std::string GetPath(const SyntaxCase& c)
    {
        const fs::path path = m_folder / (std::string(c.name) + ".dcm");
        if (!fs::exists(path) && !Write(c, path.string()))
        {
            return {};
        }
        return path.string();
    }

private:
    static bool Write(const SyntaxCase& c, const std::string& path)
    {
        DICOMImage image;
        FillAttributes(image, c.bitsAllocated, FrameCount);
        image.SetTransferSyntax(*c.syntax);
        const Bytes coded = CodeFrame(c, MakeBodySlice(Side, c.bitsAllocated));
        if (coded.empty())
        {
            return false;
        }
        for (int frame = 0; frame < FrameCount; ++frame)
        {
            image.CopyToPixelBuffer(NewCopy(coded), static_cast<unsigned>(coded.size()), frame,
                                    Side, Side, static_cast<unsigned short>(c.bitsAllocated),
                                    c.bitsAllocated == 8 ? 8 : 12, c.bitsAllocated == 8 ? 7 : 11);
        }
        return image.WriteFile(path.c_str(), 1) != 0;
    }

    fs::path m_folder;
};

BenchImages& GetImages()
{
    static BenchImages images;
    return images;
}

// Every frame through Seek and Next, as the viewer takes them.
void DecodeEveryFrame(benchmark::State& state, DICOMImage& image)
{
    std::int64_t frames = 0;
    std::int64_t bytes = 0;
    for (auto _ : state)
    {
        FrameIterator iterator(&image);
        for (int frame = 0; frame < FrameCount; ++frame)
        {
            if (!iterator.Seek(frame) || !iterator.Next())
            {
                state.SkipWithError("a frame did not decode");
                return;
            }
            bytes += iterator.m_nFrameLength;
            delete[] static_cast<std::uint8_t*>(iterator.Detach());
            ++frames;
        }
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(bytes);
}

// From memory the image is read whole once; from the file only its header
// is, and every frame is read from the file as it is decoded.
void DecodeFrames(benchmark::State& state, const SyntaxCase* c, bool isFromFile)
{
    DICOMImage image;
    const std::string path = GetImages().GetPath(*c);
    const int read = path.empty() ? 0
                     : isFromFile ? image.ReadFileNoImage(path.c_str())
                                  : image.ReadFile(path.c_str());
    if (read == 0)
    {
        state.SkipWithError("the image cannot be made");
        return;
    }
    DecodeEveryFrame(state, image);
}

const bool Registered = []
{
    for (const SyntaxCase& c : SyntaxCases)
    {
        for (const bool isFromFile : {false, true})
        {
            const std::string name =
                std::string("DecodeFrames/") + (isFromFile ? "File/" : "Memory/") + c.name;
            benchmark::RegisterBenchmark(name.c_str(), DecodeFrames, &c, isFromFile)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

} // namespace
