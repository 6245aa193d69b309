// The pixel values of ImageProcess: a real-valued image of the frame (with
// the modality LUT applied, YBR turned into RGB, the window and palette of
// the data set), the 8-bit display rendering of the frame, and the bitmap
// saver.
#include "ImageProcess.h"

#include "DICOMImage.h"
#include "FrameCodec.h"
#include "ModalityLookupTable.h"
#include "RealImage.h"
#include "VOILookupTable.h"
#include "VR.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <strings.h>
#include <vector>

namespace
{

constexpr int PaletteEntries = 256;
constexpr int TopLevel = 255;
// The window of samples that are display levels already.
constexpr int DisplayWindowCenter = 127;
constexpr int DisplayWindowWidth = 255;

using Samples = std::unique_ptr<std::uint8_t[]>;

bool IsPhotometric(const char* photometric, const char* name)
{
    return strcasecmp(photometric, name) == 0;
}

bool IsGreyPhotometric(const char* photometric)
{
    return IsPhotometric(photometric, "MONOCHROME1") || IsPhotometric(photometric, "MONOCHROME2");
}

int TruncateToInt(double value)
{
    return value > INT32_MIN && value < INT32_MAX ? static_cast<int>(value) : 0;
}

// A colour level truncated toward zero; levels outside 0..255 are held at
// the nearer end instead of wrapping into another colour.
std::uint8_t ToLevel(double value)
{
    return static_cast<std::uint8_t>(std::clamp(TruncateToInt(value), 0, TopLevel));
}

void ConvertYbrPixel(const std::uint8_t ybr[3], std::uint8_t rgb[3])
{
    const double y = ybr[0];
    const double cb = ybr[1];
    const double cr = ybr[2];
    rgb[0] = ToLevel(y + 1.402 * cr - 179.456);
    rgb[1] = ToLevel(y - 0.34414 * cb - 0.71414 * cr + 135.45984);
    rgb[2] = ToLevel(y + 1.772 * cb - 226.816);
}

void InterleavePlanes(std::uint8_t* samples, std::size_t pixels)
{
    const std::vector<std::uint8_t> planes(samples, samples + 3 * pixels);
    for (std::size_t pixel = 0; pixel < pixels; ++pixel)
    {
        for (std::size_t plane = 0; plane < 3; ++plane)
        {
            samples[3 * pixel + plane] = planes[plane * pixels + pixel];
        }
    }
}

// The backslash-separated numbers of a text; an empty value is NaN.
std::vector<double> ReadNumbers(const Lettra& text)
{
    std::vector<double> values;
    const std::string all(static_cast<const char*>(text));
    std::size_t start = 0;
    while (start <= all.size())
    {
        const std::size_t end = std::min(all.find('\\', start), all.size());
        const std::string value = all.substr(start, end - start);
        char* stop = nullptr;
        const double number = std::strtod(value.c_str(), &stop);
        values.push_back(stop == value.c_str() ? std::nan("") : number);
        start = end + 1;
    }
    return values;
}

// The descriptor of a palette colour LUT: entries, first mapped value,
// bits per entry.
bool ReadPaletteDescriptor(const DICOMImage& image, unsigned short element,
                           std::uint16_t descriptor[3])
{
    const VR* vr = image.GetVR(0x0028, element);
    if (vr == nullptr || vr->GetLength() != 3 * sizeof(std::uint16_t))
    {
        return false;
    }
    std::memcpy(descriptor, vr->GetData(), 3 * sizeof(std::uint16_t));
    return true;
}

// One colour of a 256-entry palette LUT: the high byte of each entry for
// 16-bit entries, the low byte for 8-bit ones.
bool ReadPaletteColour(const DICOMImage& image, unsigned short element, int bits,
                       std::uint8_t levels[PaletteEntries])
{
    const VR* vr = image.GetVR(0x0028, element);
    if (vr == nullptr || vr->GetLength() < PaletteEntries * sizeof(std::uint16_t))
    {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(vr->GetData());
    for (int entry = 0; entry < PaletteEntries; ++entry)
    {
        std::uint16_t value;
        std::memcpy(&value, bytes + entry * sizeof value, sizeof value);
        levels[entry] = static_cast<std::uint8_t>(bits == 16 ? value >> 8 : value & 0xFF);
    }
    return true;
}

void ReadPalette(const DICOMImage& image, RGBQUAD* palette)
{
    std::uint16_t red[3];
    std::uint16_t green[3];
    std::uint16_t blue[3];
    if (!ReadPaletteDescriptor(image, 0x1101, red) ||
        !ReadPaletteDescriptor(image, 0x1102, green) || !ReadPaletteDescriptor(image, 0x1103, blue))
    {
        return;
    }
    const bool isUsable = red[0] == PaletteEntries && green[0] == PaletteEntries &&
                          blue[0] == PaletteEntries && red[2] == green[2] && red[2] == blue[2];
    std::uint8_t levels[3][PaletteEntries];
    if (!isUsable || !ReadPaletteColour(image, 0x1201, red[2], levels[0]) ||
        !ReadPaletteColour(image, 0x1202, red[2], levels[1]) ||
        !ReadPaletteColour(image, 0x1203, red[2], levels[2]))
    {
        return;
    }
    for (int entry = 0; entry < PaletteEntries; ++entry)
    {
        palette[entry] = RGBQUAD{levels[2][entry], levels[1][entry], levels[0][entry], 0};
    }
}

void FillPalette(const DICOMImage& image, const char* photometric, RGBQUAD* palette)
{
    if (IsPhotometric(photometric, "PALETTE COLOR"))
    {
        ReadPalette(image, palette);
        return;
    }
    const bool isGrey = IsGreyPhotometric(photometric);
    if (!isGrey && !IsPhotometric(photometric, "RGB"))
    {
        return;
    }
    for (int entry = 0; entry < PaletteEntries; ++entry)
    {
        const auto level =
            isGrey ? static_cast<std::uint8_t>(entry) : ImageProcess::LUT256To244[entry];
        palette[entry] = RGBQUAD{level, level, level, 0};
    }
}

} // namespace

// Three planes Y, Cb, Cr become R, G, B planes, or interleaved triples
// become interleaved triples.
void ImageProcess::ConvertYbrFullToRgb(std::uint8_t* samples, std::size_t pixels, bool isPlanar)
{
    const std::size_t step = isPlanar ? pixels : 1;
    const std::size_t stride = isPlanar ? 1 : 3;
    for (std::size_t pixel = 0; pixel < pixels; ++pixel)
    {
        std::uint8_t* first = samples + pixel * stride;
        const std::uint8_t ybr[3] = {first[0], first[step], first[2 * step]};
        std::uint8_t rgb[3];
        ConvertYbrPixel(ybr, rgb);
        first[0] = rgb[0];
        first[step] = rgb[1];
        first[2 * step] = rgb[2];
    }
}

// Samples the process owns: its own decoded buffer, taken over, or a copy
// of the image's frame.
std::uint8_t* ImageProcess::TakeRawSamples(std::uint32_t& length)
{
    length = m_nRawPixelLength;
    if (!IsOwnFrame(m_pRawPixelData))
    {
        std::uint8_t* samples = m_pRawPixelData;
        m_pRawPixelData = nullptr;
        m_nRawPixelLength = 0;
        return samples;
    }
    return CopyRawSamples("CreateRealImage");
}

void ImageProcess::InterleaveColourPlanes(std::uint8_t* samples, std::size_t pixels)
{
    InterleavePlanes(samples, pixels);
}

// YBR_FULL samples become RGB; the photometric text says "RGB" from then
// on, as it does for YBR_ICT, whose decoded samples are RGB already.
void ImageProcess::ConvertColourSpace(std::uint8_t* samples, std::uint32_t length)
{
    const std::size_t pixels = static_cast<std::size_t>(m_nRows) * m_nColumns;
    if (IsPhotometric(m_szPhotometric, "YBR_FULL"))
    {
        if (length >= 3 * pixels)
        {
            ConvertYbrFullToRgb(samples, pixels, IsPlanar());
        }
        std::strcpy(m_szPhotometric, "RGB");
    }
    else if (IsPhotometric(m_szPhotometric, "YBR_ICT"))
    {
        std::strcpy(m_szPhotometric, "RGB");
    }
}

bool ImageProcess::IsPlanar() const
{
    return m_pImage->GetUINT16(0x0028, 0x0006) == 1;
}

// The image class the samples make, or null; the image owns the samples
// from then on.
RealImage* ImageProcess::MakeRealImage(Samples& samples, std::uint32_t length, int bits,
                                       int smallest, int largest, float intercept,
                                       float slope) const
{
    const std::size_t pixels = static_cast<std::size_t>(m_nRows) * m_nColumns;
    const int columns = m_nColumns;
    const int rows = m_nRows;
    if (bits > 16 || pixels == 0)
    {
        return nullptr;
    }
    if (bits > 8)
    {
        if (length < 2 * pixels)
        {
            return nullptr;
        }
        return new RealImage16(reinterpret_cast<std::uint16_t*>(samples.release()), columns, rows,
                               bits, smallest, largest, 0, 0, intercept, slope);
    }
    if (IsGreyPhotometric(m_szPhotometric) || IsPhotometric(m_szPhotometric, "PALETTE COLOR"))
    {
        if (length < pixels)
        {
            return nullptr;
        }
        return new RealImage8(samples.release(), columns, rows, 8, smallest, largest, 0, 0,
                              intercept, slope);
    }
    if (!IsPhotometric(m_szPhotometric, "RGB") || length < 3 * pixels)
    {
        return nullptr;
    }
    if (IsPlanar())
    {
        InterleavePlanes(samples.get(), pixels);
    }
    return new RealImageRGB(samples.release(), columns, rows, 8, smallest, largest, 0, 0, intercept,
                            slope);
}

RealImage* ImageProcess::CreateRealImage()
{
    if (m_nFrameLength == 0)
    {
        _warning("Enter ImageProcess::ConvertToRaw, bad Attached DicomImage");
        return nullptr;
    }
    if (m_pRawPixelData == nullptr && ConvertToDecompress() == 0)
    {
        return nullptr;
    }
    std::uint32_t length = 0;
    Samples samples(TakeRawSamples(length));
    if (samples == nullptr)
    {
        return nullptr;
    }
    const int bits = std::max<int>(m_nBitsAllocated, 8);
    const bool isSigned = m_nPixelRepresentation == 1;
    int smallest = isSigned ? GetSmallestSignedPixelValue() : GetSmallestPixelValue();
    int largest = isSigned ? GetLargestSignedPixelValue() : GetLargestPixelValue();
    const ModalityLookupTable modality(*m_pImage);
    if (modality.IsValid() && bits > 8)
    {
        modality.Apply16(samples.get(), length);
    }
    else if (modality.IsValid())
    {
        modality.Apply8(samples.get(), length);
    }
    ConvertColourSpace(samples.get(), length);
    if (m_dRescaleSlope == 0.0)
    {
        _warning("RescaleSlope is 0, set it to 1 now !");
        m_dRescaleSlope = 1.0;
        m_dRescaleIntercept = 0.0;
    }
    const auto intercept = static_cast<float>(m_dRescaleIntercept);
    const auto slope = static_cast<float>(m_dRescaleSlope);
    RealImage* image = MakeRealImage(samples, length, bits, smallest, largest, intercept, slope);
    if (image == nullptr)
    {
        _warning("Enter ImageProcess::CreateRealImage, no real image of %d bits, %s, %u bytes",
                 m_nBitsAllocated, m_szPhotometric, length);
        return nullptr;
    }
    image->SetNumberOfFrames(m_nNumberOfFrames);
    image->SetFrameIndex(static_cast<int>(m_nFrameIndex));
    image->SetSigned(isSigned ? 1 : 0);
    image->CalcMinMaxPixelValue();
    image->SetPhotometric(m_szPhotometric);
    smallest = image->GetMinImage();
    largest = image->GetMaxImage();
    const bool isAutomatic = m_nWindowCenter == 0 && m_nWindowWidth == 0;
    if (isAutomatic)
    {
        FindCalibratedAutoWindow(*image);
    }
    LookupTable& window = image->GetLookupTable();
    window.Init(smallest, largest, intercept, slope, m_nWindowWidth, m_nWindowCenter);
    AddDataSetWindows(window, !isAutomatic);
    FillPalette(*m_pImage, m_szPhotometric, image->GetPalette());
    return image;
}

// A frame without a window gets the automatic one of its samples, turned
// into calibrated units.
void ImageProcess::FindCalibratedAutoWindow(const RealImage& image)
{
    int width = 0;
    int center = 0;
    FindAutoWindow(static_cast<const std::uint8_t*>(image.GetImage()), image.GetImageLength(),
                   &width, &center);
    if (m_dRescaleSlope != 1.0)
    {
        width = TruncateToInt(width * m_dRescaleSlope);
    }
    m_nWindowWidth = width;
    m_nWindowCenter =
        TruncateToInt(static_cast<double>(center) * image.GetSlope() + image.GetIntercept());
}

// Every window of the data set, centre and width taken in pairs. The
// window in use, when it is the data set's first, renders as given: the
// process keeps it in whole numbers, the data set may not.
void ImageProcess::AddDataSetWindows(LookupTable& window, bool isFirstInUse) const
{
    const Lettra centers = m_pImage->GetLettra(0x0028, 0x1050);
    const Lettra widths = m_pImage->GetLettra(0x0028, 0x1051);
    if (centers.IsEmpty() || widths.IsEmpty())
    {
        return;
    }
    const std::vector<double> c = ReadNumbers(centers);
    const std::vector<double> w = ReadNumbers(widths);
    for (std::size_t pair = 0; pair < std::min(c.size(), w.size()); ++pair)
    {
        if (std::isnan(c[pair]) || std::isnan(w[pair]))
        {
            continue;
        }
        if (pair == 0 && isFirstInUse)
        {
            window.SetWindow(w[pair], c[pair]);
        }
        window.AddMinMaxFork(TruncateToInt(c[pair] - w[pair] * 0.5),
                             TruncateToInt(w[pair] * 0.5 + c[pair]));
    }
}

// The display rendering of the frame: the data set's VOI LUT when it has
// one, else the window. "MONOCHROME1" comes out inverted, reading as
// "MONOCHROME2": the window table inverts before it floors, as the inverse
// presentation of DICOM does; the levels of a VOI LUT are inverted as they
// are.
RealImage8* ImageProcess::RenderEightBits(RealImage& image, bool useVoiLut) const
{
    const bool isInverse = IsPhotometric(m_szPhotometric, "MONOCHROME1");
    RealImage8* eight = nullptr;
    if (useVoiLut)
    {
        const VOILookupTable voi(*m_pImage);
        eight = voi.IsValid() ? voi.Apply(image) : nullptr;
        if (eight != nullptr && isInverse)
        {
            eight->Invert();
        }
    }
    if (eight == nullptr)
    {
        image.GetLookupTable().SetInverted(isInverse ? 1 : 0);
        eight = image.Remap();
        if (eight != nullptr && isInverse)
        {
            eight->SetPhotometric("MONOCHROME2");
        }
    }
    return eight;
}

int ImageProcess::Remap()
{
    const std::unique_ptr<RealImage> image(CreateRealImage());
    if (image == nullptr)
    {
        return 0;
    }
    const std::unique_ptr<RealImage8> eight(RenderEightBits(*image, true));
    if (eight == nullptr)
    {
        return 0;
    }
    ReleaseRawPixelData();
    m_nRows = static_cast<std::uint16_t>(eight->GetHeight());
    m_nColumns = static_cast<std::uint16_t>(eight->GetWidth());
    m_nRawPixelLength = eight->GetImageLength();
    m_pRawPixelData = static_cast<std::uint8_t*>(eight->Detach());
    TakeDisplayLevels(eight->GetPhotometric());
    return 1;
}

// The samples are display levels now: 8 bits, unsigned, not rescaled,
// windowed over the whole range, and no longer inverted.
void ImageProcess::TakeDisplayLevels(const char* photometric)
{
    m_nBitsAllocated = 8;
    m_nBitsStored = 8;
    m_nHighBit = 7;
    m_nPixelRepresentation = 0;
    m_dRescaleIntercept = 0.0;
    m_dRescaleSlope = 1.0;
    m_nWindowCenter = DisplayWindowCenter;
    m_nWindowWidth = DisplayWindowWidth;
    std::strncpy(m_szPhotometric, photometric, PhotometricSize - 1);
}

int ImageProcess::SaveAsWindowsBitmap(const char* path)
{
    try
    {
        const std::unique_ptr<RealImage> image(CreateRealImage());
        if (image == nullptr)
        {
            return 0;
        }
        const std::unique_ptr<RealImage8> eight(RenderEightBits(*image, false));
        return eight != nullptr ? eight->SaveAsWindowsBitmap(path) : 0;
    }
    catch (...)
    {
        _fatal("Error of exception when invoke SaveAsWindowsBitmap.");
        Reset();
        return 0;
    }
}
