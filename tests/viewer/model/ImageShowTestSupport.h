// Helpers of the ImageShow tests: small images built in memory, handles on
// them, and the pixels of the DIB an ImageShow renders, read back top-down.
#pragma once

#include "Corvane.h"
#include "DIBHolder.h"
#include "DICOMImage.h"
#include "ImageShow.h"
#include "UID.h"
#include "VR.h"
#include "VeltaroLibrary.h"
#include "WinGlobalMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Tests of images run with the DICOM library started.
class ImageShowTest : public ::testing::Test
{
protected:
    void SetUp() override { VeltaroInitialize(); }
    void TearDown() override { VeltaroUninitialize(); }
};

// An image of native little-endian samples, without a file behind it.
inline DICOMImage* MakeImage(int rows, int columns, int bitsAllocated, const char* photometric,
                             const std::vector<std::uint8_t>& pixels, int samplesPerPixel = 1,
                             int pixelRepresentation = 0)
{
    auto* image = new DICOMImage;
    image->SetTransferSyntax(UidTransferLittleEndianExplicit);
    image->Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
    image->Add(0x0008, 0x0018, UID("1.2.840.84658685.10.1"));
    image->Add(0x0008, 0x0060, "OT");
    image->Add(0x0020, 0x000D, UID("1.2.840.84658685.10.2"));
    image->Add(0x0020, 0x000E, UID("1.2.840.84658685.10.3"));
    image->Add(0x0028, 0x0002, static_cast<unsigned short>(samplesPerPixel));
    image->Add(0x0028, 0x0004, photometric);
    image->Add(0x0028, 0x0010, static_cast<unsigned short>(rows));
    image->Add(0x0028, 0x0011, static_cast<unsigned short>(columns));
    image->Add(0x0028, 0x0100, static_cast<unsigned short>(bitsAllocated));
    image->Add(0x0028, 0x0101, static_cast<unsigned short>(bitsAllocated));
    image->Add(0x0028, 0x0102, static_cast<unsigned short>(bitsAllocated - 1));
    image->Add(0x0028, 0x0103, static_cast<unsigned short>(pixelRepresentation));
    image->Add(0x7FE0, 0x0010);
    auto* buffer = new std::uint8_t[pixels.empty() ? 1 : pixels.size()];
    std::memcpy(buffer, pixels.data(), pixels.size());
    image->GetVR(0x7FE0, 0x0010)->Attach(buffer, static_cast<unsigned>(pixels.size()));
    return image;
}

inline std::vector<std::uint8_t> Words(const std::vector<int>& values)
{
    std::vector<std::uint8_t> bytes;
    for (int value : values)
    {
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    return bytes;
}

// The pixels of a packed DIB, top row first: one grey level (8-bit DIBs
// with a grey table) or R, G, B (24-bit DIBs and palette DIBs) per pixel.
struct DIBPixels
{
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> samples;

    int At(int x, int y, int channel = 0) const
    {
        return samples[(std::size_t(y) * width + x) * channels + channel];
    }
};

inline DIBPixels ReadDIB(const DIBHolder& holder, bool colourTable = false)
{
    DIBPixels pixels;
    if (holder.IsEmpty())
    {
        return pixels;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(holder.GetDIB()));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(bytes + header.biSize);
    const DWORD colours = DIBHolder::ComputeColors(header);
    const std::uint8_t* bits = bytes + header.biSize + 4 * colours;
    pixels.width = header.biWidth;
    pixels.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const bool isGrey = header.biBitCount == 8 && !colourTable;
    pixels.channels = isGrey ? 1 : 3;
    const std::size_t stride = (std::size_t(header.biBitCount) * pixels.width + 31) / 32 * 4;
    for (int y = 0; y < pixels.height; ++y)
    {
        const int row = header.biHeight > 0 ? pixels.height - 1 - y : y;
        const std::uint8_t* line = bits + stride * row;
        for (int x = 0; x < pixels.width; ++x)
        {
            if (header.biBitCount == 24)
            {
                pixels.samples.insert(pixels.samples.end(),
                                      {line[3 * x + 2], line[3 * x + 1], line[3 * x]});
            }
            else if (isGrey)
            {
                pixels.samples.push_back(table[line[x]].rgbRed);
            }
            else
            {
                const RGBQUAD& colour = table[line[x]];
                pixels.samples.insert(pixels.samples.end(),
                                      {colour.rgbRed, colour.rgbGreen, colour.rgbBlue});
            }
        }
    }
    GlobalUnlock(holder.GetDIB());
    return pixels;
}
