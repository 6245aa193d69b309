// Helpers of the matrix tests: matrices filled from a function of the pixel
// position, reading them back, and a private folder for files.
#pragma once

#include "MetaMatrix.h"
#include "MetaMatrix16.h"
#include "MetaMatrix8.h"
#include "MetaMatrixBinary.h"
#include "MetaMatrixRGB.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace matrixtest
{

using PixelFunction = std::function<int(int x, int y)>;

// Sets every pixel through SetPixelValue.
inline void Fill(MetaMatrix& matrix, const PixelFunction& value)
{
    for (int y = 0; y < matrix.GetHeight(); ++y)
        for (int x = 0; x < matrix.GetWidth(); ++x)
            matrix.SetPixelValue(x, y, short(value(x, y)));
}

// Every pixel through GetPixelValue, row by row.
inline std::vector<int> ReadAll(const MetaMatrix& matrix)
{
    std::vector<int> values;
    for (int y = 0; y < matrix.GetHeight(); ++y)
        for (int x = 0; x < matrix.GetWidth(); ++x)
            values.push_back(matrix.GetPixelValue(x, y));
    return values;
}

inline std::vector<int> Expected(int columns, int rows, const PixelFunction& value)
{
    std::vector<int> values;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            values.push_back(value(x, y));
    return values;
}

// Unsigned 16-bit matrix of rows x columns holding the samples given row by row.
inline MetaMatrix16 Make16(int rows, int columns, const std::vector<std::uint16_t>& samples,
                           bool isSigned = false)
{
    MetaMatrix16 matrix(16, 16, 15, rows, columns, 0, 65535, isSigned ? 1 : 0, 1);
    std::memcpy(matrix.GetPixelData(), samples.data(), samples.size() * 2);
    return matrix;
}

inline MetaMatrix8 Make8(int rows, int columns, const std::vector<std::uint8_t>& samples)
{
    MetaMatrix8 matrix(8, 8, 7, rows, columns, 0, 255, 0, 1);
    std::memcpy(matrix.GetPixelData(), samples.data(), samples.size());
    return matrix;
}

// RGB matrix whose pixel (x, y) holds the bytes x, y, x + y.
inline MetaMatrixRGB MakeRgb(int rows, int columns)
{
    MetaMatrixRGB matrix(8, 8, 7, rows, columns, 0, 255, 0, 3);
    auto* bytes = reinterpret_cast<std::uint8_t*>(matrix.GetPixelData());
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
        {
            std::uint8_t* pixel = bytes + (y * columns + x) * 3;
            pixel[0] = std::uint8_t(x);
            pixel[1] = std::uint8_t(y);
            pixel[2] = std::uint8_t(x + y);
        }
    return matrix;
}

inline std::vector<std::uint8_t> Bytes(const MetaMatrix& matrix)
{
    const auto* begin = reinterpret_cast<const std::uint8_t*>(matrix.GetPixelData());
    return {begin, begin + matrix.GetData()->nDataLength};
}

// A folder of its own under the temporary folder, removed afterwards.
class CTempFolder
{
public:
    CTempFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("matrix-test-" + std::to_string(::getpid()) + "-" + std::to_string(NextNumber())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~CTempFolder() { std::filesystem::remove_all(m_path); }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    static int NextNumber()
    {
        static int number = 0;
        return ++number;
    }

    std::filesystem::path m_path;
};

} // namespace matrixtest
