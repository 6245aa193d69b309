// Helpers of the pixel tests: the grey levels of the 8-bit files the
// library writes and of the references a peer toolkit made.
#pragma once

#include "FileTestSupport.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

// A picture of one byte a pixel (grey levels) or three (R, G, B).
struct GreyPicture
{
    int width = 0;
    int height = 0;
    Bytes levels; // rows from the top
};

// An 8-bit binary PGM ("P5") or PPM ("P6") whose header holds no comments,
// as dcm2pnm and dcmj2pnm write them; empty for anything else.
inline GreyPicture ReadNetpbm(const std::string& path, const char* kind)
{
    GreyPicture picture;
    std::ifstream file(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    file >> magic >> picture.width >> picture.height >> maximum;
    file.get();
    if (!file || magic != kind || maximum != 255)
    {
        return {};
    }
    picture.levels.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return picture;
}

inline GreyPicture ReadPgm(const std::string& path)
{
    return ReadNetpbm(path, "P5");
}

inline GreyPicture ReadPpm(const std::string& path)
{
    return ReadNetpbm(path, "P6");
}

// An 8-bit BMP file's pixels through their palette as R, G, B bytes, rows
// from the top; empty for anything else.
inline GreyPicture ReadBitmapColours(const Bytes& file)
{
    constexpr std::size_t PaletteOffset = 54;
    auto read32 = [&file](std::size_t at)
    {
        return static_cast<int>(file[at] | file[at + 1] << 8 | file[at + 2] << 16 |
                                file[at + 3] << 24);
    };
    if (file.size() < PaletteOffset + 1024 || file[0] != 'B' || file[1] != 'M' || file[28] != 8)
    {
        return {};
    }
    const int offset = read32(10);
    GreyPicture picture{read32(18), read32(22), {}};
    const int stride = (picture.width + 3) / 4 * 4;
    if (picture.width <= 0 || picture.height <= 0 ||
        file.size() <
            static_cast<std::size_t>(offset) + static_cast<std::size_t>(stride) * picture.height)
    {
        return {};
    }
    for (int row = picture.height - 1; row >= 0; --row)
    {
        for (int column = 0; column < picture.width; ++column)
        {
            const std::size_t entry =
                PaletteOffset + 4 * std::size_t{file[offset + row * stride + column]};
            picture.levels.insert(picture.levels.end(),
                                  {file[entry + 2], file[entry + 1], file[entry]});
        }
    }
    return picture;
}

// The red level of each pixel of an 8-bit BMP file, for grey palettes.
inline GreyPicture ReadBitmapLevels(const Bytes& file)
{
    GreyPicture picture = ReadBitmapColours(file);
    for (std::size_t pixel = 0; pixel < picture.levels.size() / 3; ++pixel)
    {
        picture.levels[pixel] = picture.levels[3 * pixel];
    }
    picture.levels.resize(picture.levels.size() / 3);
    return picture;
}
