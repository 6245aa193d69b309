// Reference renderings of a peer toolkit: binary PGM (grey) and PPM (RGB)
// files with 8-bit samples, plain or gzip-compressed, and the comparison of
// a rendering with one.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <zlib.h>

struct ReferenceImage
{
    int width = 0;
    int height = 0;
    int channels = 0; // 1 grey, 3 R, G, B
    std::vector<std::uint8_t> samples;

    bool IsEmpty() const { return samples.empty(); }
    int At(int x, int y, int channel = 0) const
    {
        return samples[(std::size_t(y) * width + x) * channels + channel];
    }
};

// The bytes of a file, through gzip when its name ends in ".gz"; empty
// when it cannot be read.
inline std::string ReadReferenceBytes(const std::string& path)
{
    std::string bytes;
    if (path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0)
    {
        gzFile file = gzopen(path.c_str(), "rb");
        if (file == nullptr)
        {
            return bytes;
        }
        char buffer[65536];
        for (int read = 0; (read = gzread(file, buffer, sizeof buffer)) > 0;)
        {
            bytes.append(buffer, static_cast<std::size_t>(read));
        }
        gzclose(file);
        return bytes;
    }
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// Empty when the file cannot be read or is not an 8-bit binary P5 or P6.
inline ReferenceImage ReadReferenceImage(const std::string& path)
{
    std::istringstream file(ReadReferenceBytes(path));
    ReferenceImage image;
    std::string magic;
    int maximum = 0;
    if (!(file >> magic >> image.width >> image.height >> maximum) || maximum != 255 ||
        (magic != "P5" && magic != "P6"))
    {
        return {};
    }
    file.get();
    image.channels = magic == "P5" ? 1 : 3;
    image.samples.resize(std::size_t(image.width) * image.height * image.channels);
    file.read(reinterpret_cast<char*>(image.samples.data()), std::streamsize(image.samples.size()));
    return file ? image : ReferenceImage{};
}

// Compares every sample of a rendering (same size and layout) with the
// reference; the text names the number of samples off by more than the
// tolerance and the first of them, empty when there is none.
inline std::string CompareWithReference(const ReferenceImage& reference,
                                        const std::vector<std::uint8_t>& rendering,
                                        int tolerance = 1)
{
    if (rendering.size() != reference.samples.size())
    {
        return "size " + std::to_string(rendering.size()) + " instead of " +
               std::to_string(reference.samples.size());
    }
    std::size_t off = 0;
    std::ostringstream first;
    for (std::size_t i = 0; i < rendering.size(); ++i)
    {
        if (std::abs(int(rendering[i]) - int(reference.samples[i])) > tolerance)
        {
            if (off++ == 0)
            {
                const std::size_t pixel = i / reference.channels;
                first << " first at x " << pixel % reference.width << " y "
                      << pixel / reference.width << ": " << int(rendering[i]) << " instead of "
                      << int(reference.samples[i]);
            }
        }
    }
    return off == 0 ? std::string() : std::to_string(off) + " samples off;" + first.str();
}
