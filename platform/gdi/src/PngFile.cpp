#include "PngFile.h"

#include "PackedDib.h"

#include <png.h>

#include <cstring>

namespace
{
// Larger pictures are refused before any memory is taken for them.
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 28;
} // namespace

std::vector<std::uint8_t> PngFileOfPackedDib(std::span<const std::uint8_t> dib)
{
    PackedDibLayout layout;
    if (!ParsePackedDib(dib.data(), dib.size(), layout) ||
        std::uint64_t(layout.nWidth) * std::uint64_t(layout.nHeight) > kMaxPixels)
        return {};
    std::vector<std::uint32_t> pixels(std::size_t(layout.nWidth) * std::size_t(layout.nHeight));
    if (!DecodePackedDib(dib.data(), layout, pixels.data()))
        return {};
    std::vector<std::uint8_t> rgb(pixels.size() * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i)
    {
        rgb[3 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(layout.nWidth);
    image.height = static_cast<png_uint_32>(layout.nHeight);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t nSize = 0;
    if (!png_image_write_to_memory(&image, nullptr, &nSize, 0, rgb.data(), 0, nullptr))
        return {};
    std::vector<std::uint8_t> file(nSize);
    if (!png_image_write_to_memory(&image, file.data(), &nSize, 0, rgb.data(), 0, nullptr))
        return {};
    file.resize(nSize);
    return file;
}

std::vector<std::uint8_t> PackedDibOfPngFile(std::span<const std::uint8_t> png)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png.empty() || !png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return {};
    PackedDibFormat format;
    format.nWidth = static_cast<int>(image.width);
    format.nHeight = static_cast<int>(image.height);
    format.nBitCount = 24;
    const std::uint64_t nDibSize = GetPackedDibSize(format);
    if (std::uint64_t(image.width) * image.height > kMaxPixels || nDibSize == 0)
    {
        png_image_free(&image);
        return {};
    }
    std::vector<std::uint8_t> dib(nDibSize);
    WritePackedDib(format, dib.data(), {});
    PackedDibLayout layout;
    ParsePackedDib(dib.data(), dib.size(), layout);
    // The DIB's rows run bottom-up in BGR order, each padded to four bytes:
    // libpng writes them so when the stride is negative.
    image.format = PNG_FORMAT_BGR;
    const png_color white{255, 255, 255};
    const auto nStride = static_cast<png_int_32>(layout.nStride);
    if (!png_image_finish_read(&image, &white, dib.data() + layout.nBitsOffset, -nStride, nullptr))
    {
        png_image_free(&image);
        return {};
    }
    return dib;
}

bool ReadPngPixels(std::span<const std::uint8_t> png, int& nWidth, int& nHeight,
                   std::vector<std::uint32_t>& pixels)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png.empty() || !png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return false;
    if (std::uint64_t(image.width) * image.height > kMaxPixels)
    {
        png_image_free(&image);
        return false;
    }
    // BGRA bytes are 0xAARRGGBB words on this little-endian machine.
    image.format = PNG_FORMAT_BGRA;
    pixels.assign(std::size_t(image.width) * image.height, 0);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
    {
        png_image_free(&image);
        return false;
    }
    nWidth = static_cast<int>(image.width);
    nHeight = static_cast<int>(image.height);
    return true;
}
