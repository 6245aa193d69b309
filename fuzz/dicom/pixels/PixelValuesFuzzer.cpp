// Feeds arbitrary bytes, read as a DICOM image, through the pixel-value
// paths of the library: the automatic window of the first frame, its
// real-valued image and every operation on it, the 8-bit remap, the savers,
// a real-valued image written back into the image, the image's icon, and
// recoding into other transfer syntaxes through the codec libraries built
// beside the target. Nothing may be read or written outside a buffer, and a
// recoding that fails must leave the image byte for byte as it was.
#include "DICOMImage.h"
#include "DICOMImageIcon.h"
#include "DRect.h"
#include "ImageProcess.h"
#include "RealImage.h"
#include "UID.h"
#include "VeltaroLibrary.h"
#include "WinGdi.h"
#include "WinGlobalMemory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{

// The files of one process live in a folder of their own, emptied after
// every input.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        char pattern[] = "/tmp/fuzz-dicom-pixels-XXXXXX";
        m_folder = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { rmdir(m_folder.c_str()); }

    std::string GetPath(const char* name) const { return m_folder + "/" + name; }

    void DoEmpty() const
    {
        for (const char* name : FileNames)
        {
            std::remove(GetPath(name).c_str());
        }
    }

    static constexpr const char* InputName = "input.dcm";
    static constexpr const char* BitmapName = "frame.bmp";
    static constexpr const char* RawName = "frame.raw";
    static constexpr const char* JpegName = "frame.jpg";
    static constexpr const char* IconName = "icon.bmp";

private:
    static constexpr const char* FileNames[] = {InputName, BitmapName, RawName, JpegName, IconName};

    std::string m_folder;
};

const ScratchFolder& GetScratch()
{
    static const ScratchFolder scratch;
    return scratch;
}

bool WriteInput(const std::uint8_t* data, std::size_t size, const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// A display table any sample indexes safely, signed ones through the middle.
const std::uint8_t* GetMiddleOfTable()
{
    static const std::vector<std::uint8_t> table = []
    {
        std::vector<std::uint8_t> levels(1u << 17);
        for (std::size_t i = 0; i < levels.size(); ++i)
        {
            levels[i] = static_cast<std::uint8_t>(i >> 9);
        }
        return levels;
    }();
    return table.data() + (1u << 16);
}

void FreePixmap(std::uint8_t* pixmap)
{
    delete[] pixmap;
}

void ReadPixels(RealImage& image)
{
    FreePixmap(image.GetPixmap());
    FreePixmap(image.GetPixmap(0));
    FreePixmap(image.GetPixmap(1));
    FreePixmap(image.GetPixmap(GetMiddleOfTable()));
    FreePixmap(image.GetPixmapEx(GetMiddleOfTable()));
    std::uint32_t counts[256] = {};
    image.CalcHistogram(counts);
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const int points[][2] = {{0, 0}, {width - 1, height - 1}, {width, height}, {-1, 0}};
    for (const auto& point : points)
    {
        (void)image.GetPixelValue(point[0], point[1]);
        (void)image.GetInternalPixel(point[0], point[1]);
    }
}

// Parts inside, across the edges, outside and upside down, each read and
// written back in every mode.
void UseParts(RealImage& image)
{
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    const DRect parts[] = {
        {0, 0, width, height},
        {width / 4, height / 4, width * 3 / 4, height * 3 / 4},
        {-3, -3, width / 2, height / 2},
        {width - 1, height - 1, width + 5, height + 5},
        {width, height, width + 2, height + 2},
        {5, 5, 2, 2},
    };
    for (const DRect& rect : parts)
    {
        const std::unique_ptr<RealImage> part(image.GetImagePart(&rect));
        if (part == nullptr)
        {
            continue;
        }
        ReadPixels(*part);
        for (int mode : {0, 1, 4})
        {
            (void)image.SetImagePart(rect.left, rect.top, part.get(), mode);
        }
    }
}

void ReshapeAndWrite(RealImage& image)
{
    const ScratchFolder& scratch = GetScratch();
    image.Invert();
    image.FlipVertical();
    image.FlipHorizontal();
    for (RealImage::RotateAngle angle :
         {RealImage::RotateCounterClockwise, RealImage::RotateHalf, RealImage::RotateClockwise})
    {
        image.Rotate(angle);
    }
    image.CalcMinMaxPixelValue();
    const std::unique_ptr<RealImage8> eight(image.Remap());
    if (eight != nullptr)
    {
        ReadPixels(*eight);
    }
    if (HGLOBAL dib = image.CreateDIB(); dib != nullptr)
    {
        GlobalFree(dib);
    }
    if (HBITMAP bitmap = image.CreateBitmap(); bitmap != nullptr)
    {
        DeleteObject(bitmap);
    }
    (void)image.SaveAsWindowsBitmap(scratch.GetPath(ScratchFolder::BitmapName).c_str());
    (void)image.SaveAsRaw(scratch.GetPath(ScratchFolder::RawName).c_str());
    image.SetPixelValue(0, 0, -32768);
    image.SetInternalPixel(image.GetWidth() - 1, 0, 65535);
    image.SetInternalPixel(-1, -1, 1);
    (void)image.Scale(image.GetWidth() / 2 + 1, image.GetHeight() / 2 + 1);
}

// Work is bounded per input so that one stays quick (a 256 x 65535 frame
// took over a minute): a larger real-valued image is used through its top
// left part of MaxSide x MaxSide pixels, and the savers, the icon and the
// recoding, which decode and code whole frames again and again, are left to
// images of at most MaxCodedPixels pixels in all their frames.
constexpr int MaxSide = 512;
constexpr std::uint64_t MaxCodedPixels = 1u << 20;

// The image itself, or its part of at most MaxSide x MaxSide pixels.
std::unique_ptr<RealImage> BoundImage(std::unique_ptr<RealImage> image)
{
    const int width = image->GetWidth();
    const int height = image->GetHeight();
    if (width <= MaxSide && height <= MaxSide)
    {
        return image;
    }
    const DRect part{0, 0, width < MaxSide ? width : MaxSide, height < MaxSide ? height : MaxSide};
    return std::unique_ptr<RealImage>(image->GetImagePart(&part));
}

// The real-valued image of the first frame, used in every way, then
// written into a copy of the image.
void UseRealImage(DICOMImage& image)
{
    ImageProcess process(image, 0);
    (void)process.AutoWindowLevel();
    std::unique_ptr<RealImage> made(process.CreateRealImage());
    if (made == nullptr)
    {
        return;
    }
    const std::unique_ptr<RealImage> real = BoundImage(std::move(made));
    if (real == nullptr)
    {
        return;
    }
    ReadPixels(*real);
    UseParts(*real);
    ReshapeAndWrite(*real);
    DICOMImage copy(image);
    (void)copy.FormatTo(real.get());
}

void UseProcess(DICOMImage& image)
{
    const ScratchFolder& scratch = GetScratch();
    {
        ImageProcess saver(image, 0);
        (void)saver.SaveAsWindowsBitmap(scratch.GetPath(ScratchFolder::BitmapName).c_str());
        (void)saver.SaveAsRaw(scratch.GetPath(ScratchFolder::RawName).c_str());
        (void)saver.SaveAsJPEGBaseline(scratch.GetPath(ScratchFolder::JpegName).c_str());
    }
    ImageProcess remapped(image, 0);
    if (remapped.Remap() != 0)
    {
        (void)remapped.AutoWindowLevel();
        DICOMImage copy(image);
        (void)copy.FormatTo(&remapped);
    }
}

void UseIcon(const DICOMImage& image)
{
    DICOMImageIcon icon(image);
    (void)icon.SaveAsWindowsBitmap(GetScratch().GetPath(ScratchFolder::IconName).c_str());
}

bool IsSmallEnoughToCode(const DICOMImage& image)
{
    const std::uint64_t frames = image.GetFramesPresent() > 1 ? image.GetFramesPresent() : 1;
    return std::uint64_t(image.GetUINT16(0x0028, 0x0010)) * image.GetUINT16(0x0028, 0x0011) *
               frames <=
           MaxCodedPixels;
}

std::vector<std::uint8_t> Serialize(DICOMImage& image)
{
    const int needed = image.Serialize(nullptr, 0);
    std::vector<std::uint8_t> bytes(needed > 0 ? static_cast<std::size_t>(needed) : 0);
    if (needed > 0 && image.Serialize(bytes.data(), needed) != needed)
    {
        bytes.clear();
    }
    return bytes;
}

// Native syntaxes relabel, the others recode every frame; RLE is never
// encoded, so that recoding must fail and leave the image untouched, as must
// every other that fails.
void Recode(const DICOMImage& image)
{
    const UID* syntaxes[] = {&UidTransferLittleEndianExplicit,
                             &UidTransferBigEndianExplicit,
                             &UidTransferLittleEndian,
                             &UidTransferJpegBaselineProcess1,
                             &UidTransferJpegLosslessProcFirstOrderPredict,
                             &UidTransferRleLossless};
    for (const UID* syntax : syntaxes)
    {
        DICOMImage copy(image);
        const std::vector<std::uint8_t> before = Serialize(copy);
        if (copy.ConvertTo(*syntax) == 0 && Serialize(copy) != before)
        {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int started = VeltaroInitialize();
    (void)started;
    const ScratchFolder& scratch = GetScratch();
    const std::string input = scratch.GetPath(ScratchFolder::InputName);
    DICOMImage image;
    if (WriteInput(data, size, input) && image.ReadFile(input.c_str()) != 0)
    {
        UseRealImage(image);
        if (IsSmallEnoughToCode(image))
        {
            UseProcess(image);
            UseIcon(image);
            Recode(image);
        }
    }
    scratch.DoEmpty();
    return 0;
}
