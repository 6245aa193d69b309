#include "PdfPages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
// Shrinking a page leaves white paper a shade off white.
bool IsInk(std::uint32_t pixel)
{
    return (pixel >> 16 & 0xFF) < 0xF0 || (pixel >> 8 & 0xFF) < 0xF0 || (pixel & 0xFF) < 0xF0;
}

bool ReadPpm(const std::filesystem::path& path, PdfPage& page)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> page.nWidth >> page.nHeight >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || page.nWidth <= 0 || page.nHeight <= 0)
        return false;
    std::vector<unsigned char> rgb(std::size_t(page.nWidth) * page.nHeight * 3);
    if (!in.read(reinterpret_cast<char*>(rgb.data()), std::streamsize(rgb.size())))
        return false;
    page.pixels.resize(std::size_t(page.nWidth) * page.nHeight);
    for (std::size_t i = 0; i < page.pixels.size(); ++i)
        page.pixels[i] =
            std::uint32_t(rgb[3 * i]) << 16 | std::uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    return true;
}
} // namespace

PdfPage::Bounds PdfPage::InkBounds(int left, int top, int right, int bottom) const
{
    Bounds ink{right, bottom, left, top};
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (IsInk(At(x, y)))
            {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x + 1);
                ink.bottom = std::max(ink.bottom, y + 1);
            }
    return ink.right > ink.left ? ink : Bounds{};
}

bool PdfPage::Shows(int left, int top, int width, int height,
                    const std::function<std::uint32_t(int, int)>& pixel) const
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const std::uint32_t shown = At(left + x, top + y);
            for (int shift : {0, 8, 16})
            {
                int low = 255;
                int high = 0;
                for (int dy = std::max(y - 1, 0); dy <= y; ++dy)
                    for (int dx = std::max(x - 1, 0); dx <= x; ++dx)
                    {
                        const int channel = int(pixel(dx, dy) >> shift & 0xFF);
                        low = std::min(low, channel);
                        high = std::max(high, channel);
                    }
                const int channel = int(shown >> shift & 0xFF);
                if (channel < low || channel > high)
                    return false;
            }
        }
    return true;
}

bool PdfPage::SavePng(const std::string& path) const
{
    const std::string ppm = path + ".ppm";
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << nWidth << " " << nHeight << "\n255\n";
        for (std::uint32_t p : pixels)
        {
            const char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
            out.write(rgb, 3);
        }
    }
    const std::string command = "convert '" + ppm + "' '" + path + "' 2>/dev/null";
    const bool bDone = std::system(command.c_str()) == 0;
    std::filesystem::remove(ppm);
    return bDone;
}

std::string PdfTitle(const std::string& path)
{
    const std::string command = "pdfinfo '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::string();
    std::string title;
    char line[1024];
    const std::string key = "Title:";
    while (std::fgets(line, sizeof(line), pipe) != nullptr)
    {
        std::string text(line);
        if (text.compare(0, key.size(), key) != 0)
            continue;
        const std::size_t start = text.find_first_not_of(' ', key.size());
        const std::size_t end = text.find_last_not_of("\r\n");
        if (start != std::string::npos && end != std::string::npos && end >= start)
            title = text.substr(start, end - start + 1);
    }
    pclose(pipe);
    return title;
}

std::vector<PdfPage> RasterisePdf(const std::string& path, int dpi)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pdfpages-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string command = "pdftoppm -r " + std::to_string(dpi) + " '" + path + "' '" +
                                (folder / "page").string() + "' 2>/dev/null";
    std::vector<PdfPage> pages;
    if (std::system(command.c_str()) == 0)
    {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        for (const auto& file : files)
        {
            PdfPage page;
            if (ReadPpm(file, page))
                pages.push_back(std::move(page));
        }
    }
    std::filesystem::remove_all(folder);
    return pages;
}
