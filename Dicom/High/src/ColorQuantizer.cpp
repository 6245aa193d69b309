#include "ColorQuantizer.h"

#include "DisplayLevels.h"
#include "ImageProcess.h"
#include "VeltaroLog.h"

#include <algorithm>
#include <new>
#include <vector>

namespace
{

// The palette entries that are ordered onto the display levels 8..243.
constexpr int ClassedCount = 236;
constexpr int FirstLevel = 8;
// Marks a palette entry not yet placed: no level reaches 255.
constexpr BYTE EmptyLevel = 255;
constexpr int SearchStart = 50000;

enum enColorClass : int
{
    RedClass = 0,
    GreenClass = 1,
    BlueClass = 2,
    GreyClass = 3,
    ClassCount = 4
};

struct ClassMember
{
    int key;
    RGBQUAD color;
};

int CellOfLevels(const RGBQUAD& color)
{
    return color.rgbRed * ColorQuantizer::PlaneSize + color.rgbGreen * ColorQuantizer::LevelCount +
           color.rgbBlue;
}

RGBQUAD LevelsOfCell(int cell)
{
    RGBQUAD color = {};
    color.rgbRed = static_cast<BYTE>(cell / ColorQuantizer::PlaneSize);
    color.rgbGreen =
        static_cast<BYTE>(cell / ColorQuantizer::LevelCount % ColorQuantizer::LevelCount);
    color.rgbBlue = static_cast<BYTE>(cell % ColorQuantizer::LevelCount);
    return color;
}

// Grey when the levels stray from their mean by no more than the mean;
// otherwise the class of the strongest level, keyed by it.
enColorClass ClassOf(const RGBQUAD& color, int& key)
{
    const int red = color.rgbRed;
    const int green = color.rgbGreen;
    const int blue = color.rgbBlue;
    const int mean = (red + green + blue) / 3;
    const int deviation = (red - mean) * (red - mean) + (green - mean) * (green - mean) +
                          (blue - mean) * (blue - mean);
    if (deviation <= mean)
    {
        key = mean;
        return GreyClass;
    }
    if (red < green)
    {
        key = green < blue ? blue : green;
        return green < blue ? BlueClass : GreenClass;
    }
    key = red >= blue ? red : blue;
    return red >= blue ? RedClass : BlueClass;
}

// Before the first member of a smaller key, so equal keys keep their order.
void InsertByKey(std::vector<ClassMember>& members, const ClassMember& member)
{
    const auto place =
        std::find_if(members.begin(), members.end(),
                     [&member](const ClassMember& other) { return other.key < member.key; });
    members.insert(place, member);
}

} // namespace

ColorQuantizer::ColorQuantizer() = default;

ColorQuantizer::~ColorQuantizer() = default;

void ColorQuantizer::SetSource(const std::uint8_t* pixels, int width, int height, enLayout layout,
                               int count)
{
    m_pSource = pixels;
    m_nWidth = width;
    m_nHeight = height;
    m_enLayout = layout;
    m_bCounted = false;
    m_nColorCount = 0;
    if (count != 0)
    {
        CountColors();
    }
}

int ColorQuantizer::Quantize(std::uint8_t* indices, RGBQUAD* palette, enMode mode)
{
    if (m_nWidth <= 0 || m_nHeight <= 0 || indices == nullptr || palette == nullptr)
    {
        return -1;
    }
    if (mode == BuildPalette)
    {
        if (!m_bCounted)
        {
            CountColors();
        }
        if (m_nColorCount == 0)
        {
            return -2;
        }
        TakeFrequentCells();
        OrderByClass();
    }
    else
    {
        for (int entry = 0; entry < PaletteSize; ++entry)
        {
            m_palette[entry].rgbRed = static_cast<BYTE>(palette[entry].rgbRed >> Shift);
            m_palette[entry].rgbGreen = static_cast<BYTE>(palette[entry].rgbGreen >> Shift);
            m_palette[entry].rgbBlue = static_cast<BYTE>(palette[entry].rgbBlue >> Shift);
            m_palette[entry].rgbReserved = 0;
        }
    }
    if (m_pSource == nullptr)
    {
        return -2;
    }
    if (!AllocateGrid())
    {
        return -1;
    }
    MapPixels(indices);
    if (mode == BuildPalette)
    {
        for (int entry = 0; entry < PaletteSize; ++entry)
        {
            palette[entry].rgbRed = static_cast<BYTE>(m_palette[entry].rgbRed << Shift);
            palette[entry].rgbGreen = static_cast<BYTE>(m_palette[entry].rgbGreen << Shift);
            palette[entry].rgbBlue = static_cast<BYTE>(m_palette[entry].rgbBlue << Shift);
            palette[entry].rgbReserved = 0;
        }
    }
    return 0;
}

void ColorQuantizer::Release()
{
    m_grid.reset();
    m_pSource = nullptr;
    m_nWidth = 0;
    m_nHeight = 0;
    m_bCounted = false;
    m_nColorCount = 0;
}

bool ColorQuantizer::AllocateGrid()
{
    if (m_grid == nullptr)
    {
        m_grid.reset(new (std::nothrow) std::int16_t[GridSize]);
        if (m_grid == nullptr)
        {
            _error("ColorQuantizer, cannot allocate the colour grid");
            return false;
        }
    }
    return true;
}

void ColorQuantizer::CountColors()
{
    m_nColorCount = 0;
    if (m_pSource == nullptr || m_nWidth <= 0 || m_nHeight <= 0 || !AllocateGrid())
    {
        return;
    }
    std::fill(m_grid.get(), m_grid.get() + GridSize, static_cast<std::int16_t>(-1));
    const std::uint64_t pixels = static_cast<std::uint64_t>(m_nWidth) * m_nHeight;
    for (std::uint64_t pixel = 0; pixel < pixels; ++pixel)
    {
        std::int16_t& value = m_grid[GetCell(pixel)];
        if (value == -1)
        {
            ++m_nColorCount;
        }
        // Held below the limit for both layouts, so a count never wraps.
        if (value < CountLimit)
        {
            ++value;
        }
    }
    m_bCounted = true;
}

int ColorQuantizer::GetCell(std::uint64_t pixel) const
{
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    std::uint8_t third = 0;
    if (m_enLayout == Planar)
    {
        const std::uint64_t plane = static_cast<std::uint64_t>(m_nWidth) * m_nHeight;
        first = m_pSource[pixel];
        second = m_pSource[plane + pixel];
        third = m_pSource[2 * plane + pixel];
    }
    else
    {
        first = m_pSource[3 * pixel];
        second = m_pSource[3 * pixel + 1];
        third = m_pSource[3 * pixel + 2];
    }
    return (first >> Shift) * PlaneSize + (second >> Shift) * LevelCount + (third >> Shift);
}

void ColorQuantizer::TakeFrequentCells()
{
    struct Slot
    {
        int count = 0;
        int cell = -1;
    };
    Slot slots[PaletteSize];
    for (int cell = 0; cell < GridSize; ++cell)
    {
        const int count = m_grid[cell];
        if (count <= slots[PaletteSize - 1].count)
        {
            continue;
        }
        int place = 0;
        while (slots[place].count >= count)
        {
            ++place;
        }
        std::copy_backward(slots + place, slots + PaletteSize - 1, slots + PaletteSize);
        slots[place] = {count, cell};
    }
    for (int entry = 0; entry < PaletteSize; ++entry)
    {
        m_palette[entry] = slots[entry].cell >= 0 ? LevelsOfCell(slots[entry].cell) : RGBQUAD{};
    }
}

void ColorQuantizer::OrderByClass()
{
    EnsureDisplayLevels();
    std::vector<ClassMember> classes[ClassCount];
    for (int entry = 0; entry < ClassedCount; ++entry)
    {
        int key = 0;
        const enColorClass colorClass = ClassOf(m_palette[entry], key);
        InsertByKey(classes[colorClass], {key, m_palette[entry]});
    }
    RGBQUAD ordered[PaletteSize];
    std::fill(ordered, ordered + PaletteSize, RGBQUAD{0, 0, EmptyLevel, 0});
    int level = FirstLevel;
    for (const std::vector<ClassMember>& members : classes)
    {
        for (const ClassMember& member : members)
        {
            ordered[ImageProcess::LUT244To256[level++]] = member.color;
        }
    }
    ordered[0] = RGBQUAD{};
    for (int entry = 1; entry < PaletteSize; ++entry)
    {
        if (ordered[entry].rgbRed == EmptyLevel)
        {
            ordered[entry] = ordered[entry - 1];
        }
    }
    std::copy(ordered, ordered + PaletteSize, m_palette);
}

void ColorQuantizer::MapPixels(std::uint8_t* indices)
{
    std::fill(m_grid.get(), m_grid.get() + GridSize, static_cast<std::int16_t>(-1));
    m_bCounted = false;
    for (int entry = 0; entry < PaletteSize; ++entry)
    {
        m_grid[CellOfLevels(m_palette[entry])] = static_cast<std::int16_t>(entry);
    }
    const std::uint64_t pixels = static_cast<std::uint64_t>(m_nWidth) * m_nHeight;
    for (std::uint64_t pixel = 0; pixel < pixels; ++pixel)
    {
        const int cell = GetCell(pixel);
        std::int16_t& entry = m_grid[cell];
        if (entry < 0)
        {
            entry = static_cast<std::int16_t>(FindNearest(cell));
        }
        indices[pixel] = static_cast<std::uint8_t>(entry);
    }
}

int ColorQuantizer::FindNearest(int cell) const
{
    const RGBQUAD levels = LevelsOfCell(cell);
    int best = SearchStart;
    int nearest = 0;
    for (int entry = 0; entry < PaletteSize; ++entry)
    {
        const int red = levels.rgbRed - m_palette[entry].rgbRed;
        const int green = levels.rgbGreen - m_palette[entry].rgbGreen;
        const int blue = levels.rgbBlue - m_palette[entry].rgbBlue;
        const int distance = red * red + green * green + blue * blue;
        if (distance < best)
        {
            best = distance;
            nearest = entry;
        }
    }
    return nearest;
}
