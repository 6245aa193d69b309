// Bitmap files read by an independent reader: ImageMagick's identify,
// asked for the size, depth and pixel colours of a file. Tests skip when
// identify is not installed.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

inline bool HasBitmapReader()
{
    return std::system("command -v identify > /dev/null 2>&1") == 0;
}

// identify's answer for the file in the given -format, empty when it fails.
inline std::string Identify(const std::string& path, const std::string& format)
{
    const std::string command = "identify -format '" + format + "' '" + path + "' 2> /dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
    {
        return {};
    }
    std::string answer;
    std::array<char, 256> chunk{};
    while (std::fgets(chunk.data(), static_cast<int>(chunk.size()), pipe) != nullptr)
    {
        answer += chunk.data();
    }
    return pclose(pipe) == 0 ? answer : std::string();
}

// "width height depth" of the file as identify reads it.
inline std::string IdentifySize(const std::string& path)
{
    return Identify(path, "%w %h %z");
}

// One "r,g,b" or "grey" level list in parentheses as R | G << 8 | B << 16,
// or -1.
inline int ParseColour(const std::string& text)
{
    std::vector<int> levels;
    for (std::size_t at = text.find('('); at != std::string::npos && at + 1 < text.size();
         at = text.find(',', at + 1))
    {
        levels.push_back(std::atoi(text.c_str() + at + 1));
    }
    if (levels.size() == 1)
    {
        levels.assign(3, levels[0]);
    }
    return levels.size() == 3 ? levels[0] | levels[1] << 8 | levels[2] << 16 : -1;
}

// The colours of all pixels of a width x height file, rows from the top,
// each as R | G << 8 | B << 16 (-1 where identify gave none).
inline std::vector<int> IdentifyPixels(const std::string& path, int width, int height)
{
    std::string format;
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            format += "%[pixel:p{" + std::to_string(x) + "," + std::to_string(y) + "}];";
        }
    }
    const std::string answer = Identify(path, format);
    std::vector<int> colours;
    for (std::size_t start = 0, end; (end = answer.find(';', start)) != std::string::npos;
         start = end + 1)
    {
        colours.push_back(ParseColour(answer.substr(start, end - start)));
    }
    return colours;
}
