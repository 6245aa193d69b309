// Images the viewer's benchmarks make in memory.
#pragma once

#include "DICOMImage.h"
#include "UID.h"
#include "VeltaroLibrary.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The pixel description of a square monochrome image of 16-bit samples
// with 12 bits stored.
inline void AddMonochrome12(DICOMImage& image, int side)
{
    image.Add(0x0028, 0x0002, static_cast<unsigned short>(1));
    image.Add(0x0028, 0x0004, "MONOCHROME2");
    image.Add(0x0028, 0x0010, static_cast<unsigned short>(side));
    image.Add(0x0028, 0x0011, static_cast<unsigned short>(side));
    image.Add(0x0028, 0x0100, static_cast<unsigned short>(16));
    image.Add(0x0028, 0x0101, static_cast<unsigned short>(12));
    image.Add(0x0028, 0x0102, static_cast<unsigned short>(11));
    image.Add(0x0028, 0x0103, static_cast<unsigned short>(0));
}

// One of a series of small CT files (side x side, 16-bit, with a window):
// its own SOP instance and instance number, the series and study shared.
inline DICOMImage* MakeSmallSeriesImage(int instance, int side, const char* series)
{
    auto* image = new DICOMImage;
    image->SetTransferSyntax(UidTransferLittleEndianExplicit);
    const std::string sop = std::string(series) + "." + std::to_string(instance);
    image->Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.2"));
    image->Add(0x0008, 0x0018, UID(sop.c_str()));
    image->Add(0x0008, 0x0060, "CT");
    image->Add(0x0010, 0x0010, "Bench^Series");
    image->Add(0x0020, 0x000D, UID("1.2.826.0.1.3680043.8.27.1"));
    image->Add(0x0020, 0x000E, UID(series));
    image->Add(0x0020, 0x0013, std::to_string(instance).c_str());
    AddMonochrome12(*image, side);
    image->Add(0x0028, 0x1050, "1024");
    image->Add(0x0028, 0x1051, "2048");
    std::vector<unsigned short> pixels(static_cast<std::size_t>(side) * side);
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        pixels[i] = static_cast<unsigned short>((i * 7 + unsigned(instance)) % 4096);
    }
    image->Add(0x7FE0, 0x0010, pixels.data(), static_cast<unsigned int>(pixels.size()));
    return image;
}

// The series written as files IM1, IM2 ... of a new folder; their paths,
// empty when they cannot be written.
inline std::vector<std::string> WriteSmallSeries(const std::filesystem::path& folder, int count,
                                                 int side, const char* series)
{
    VeltaroInitialize();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    for (int instance = 1; instance <= count; ++instance)
    {
        const std::unique_ptr<DICOMImage> image(MakeSmallSeriesImage(instance, side, series));
        paths.push_back((folder / ("IM" + std::to_string(instance))).string());
        if (image->WriteFile(paths.back().c_str(), 1) == 0)
        {
            return {};
        }
    }
    return paths;
}
