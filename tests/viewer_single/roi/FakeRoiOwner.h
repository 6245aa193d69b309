// An image of given size and pixels shown at a fixed zoom, with text 7 pixels
// wide per character and 12 high per line, standing in for the image model.
#pragma once

#include "ORoiItem.h"

#include <cstring>
#include <functional>
#include <vector>

class FakeRoiOwner : public pelivo::RoiOwner
{
public:
    FakeRoiOwner(int width, int height, double spacing = 0.0)
        : m_size{width, height}, m_spacing(spacing), m_pixels(std::size_t(width) * height, 0)
    {
    }

    bool HasImage() const override { return true; }
    bool HasPane() const override { return m_hasPane; }
    SIZE GetImageSize() const override { return m_size; }
    void GetPixelSpacing(double& across, double& down) const override { across = down = m_spacing; }
    Lettra GetUnitText() const override { return m_spacing != 0.0 ? Lettra("mm") : Lettra(); }
    int GetPixelValue(int x, int y) const override
    {
        return m_pixels[std::size_t(y) * m_size.cx + x];
    }
    int GetNextRoiNumber() const override { return m_nextNumber; }
    POINT ImageToScreen(POINT point) const override { return {point.x * m_zoom, point.y * m_zoom}; }
    SIZE GetMultiLineTextExtent(const char* text) const override
    {
        int widest = 0;
        int lines = 0;
        for (const char* line = text; line != nullptr; ++lines)
        {
            const char* end = std::strchr(line, '\r');
            widest = std::max(widest, int(end ? end - line : std::strlen(line)));
            line = end ? end + 1 : nullptr;
        }
        return {widest * 7, lines * 12};
    }
    void RemoveAnnotation(pelivo::ORoiItem* item) override { m_removed.push_back(item); }

    void SetPixel(int x, int y, int value) { m_pixels[std::size_t(y) * m_size.cx + x] = value; }
    void Fill(const std::function<int(int, int)>& value)
    {
        for (int y = 0; y < m_size.cy; ++y)
        {
            for (int x = 0; x < m_size.cx; ++x)
            {
                SetPixel(x, y, value(x, y));
            }
        }
    }

    SIZE m_size;
    double m_spacing;
    std::vector<int> m_pixels;
    bool m_hasPane = true;
    int m_nextNumber = 1;
    int m_zoom = 1;
    std::vector<pelivo::ORoiItem*> m_removed;
};
