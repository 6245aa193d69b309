#include "ORoiBitmap.h"

#include "DICOMVRSet.h"
#include "PelivoLog.h"
#include "VR.h"
#include "WinGeometry.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace pelivo
{

namespace
{

constexpr unsigned short FirstOverlayGroup = 0x6000;
constexpr unsigned short LastOverlayGroup = 0x6FFE;
constexpr unsigned short OverlayData = 0x3000;
constexpr std::uint8_t SetPixel = 255;

// Bits in order, each byte from its least significant bit up.
std::unique_ptr<std::uint8_t[]> UnpackBits(const std::uint8_t* bits, std::size_t pixels)
{
    auto samples = std::make_unique<std::uint8_t[]>(pixels);
    for (std::size_t index = 0; index < pixels; ++index)
    {
        samples[index] = (bits[index / 8] >> (index % 8) & 1) != 0 ? SetPixel : 0;
    }
    return samples;
}

} // namespace

ORoiBitmap::ORoiBitmap(RoiOwner* owner, const DICOMVRSet& set) : ORoiMeasure(owner, enRoiBitmap)
{
    m_editable = m_attached = m_movable = 0;
    if (!set.IsExist(FirstOverlayGroup, OverlayData))
    {
        return;
    }
    for (unsigned group = FirstOverlayGroup; group <= LastOverlayGroup; group += 2)
    {
        if (set.IsExist(static_cast<unsigned short>(group), OverlayData))
        {
            _info("Enter ORoiBitmap::ORoiBitmap, OverlayData found, loading ......");
            LoadGroup(set, static_cast<unsigned short>(group));
        }
    }
    if (!m_mask.IsEmpty())
    {
        CutToSetPixels();
    }
}

ORoiBitmap::ORoiBitmap(RoiOwner* owner, int left, int top, int right, int bottom)
    : ORoiMeasure(owner, enRoiBitmap)
{
    m_bounds = {left, top, right, bottom};
}

ORoiItem* ORoiBitmap::Clone(RoiOwner* owner) const
{
    auto* copy =
        new ORoiBitmap(owner, m_bounds.left, m_bounds.top, m_bounds.right, m_bounds.bottom);
    m_mask.CopyTo(copy->m_mask);
    copy->m_drawMode = m_drawMode;
    copy->m_editable = m_editable;
    copy->m_attached = m_attached;
    copy->m_movable = m_movable;
    return copy;
}

int ORoiBitmap::HitTest(int x, int y, int tolerance) const
{
    if (!m_attached || !m_enabled)
    {
        return enRoiHitNone;
    }
    const int hit = ORoiItem::HitTest(x, y, tolerance);
    return hit == enRoiHitHandle ? enRoiHitNone : hit;
}

bool ORoiBitmap::LoadGroup(const DICOMVRSet& set, unsigned short group)
{
    const int rows = set.GetUINT16(0x0028, 0x0010);
    const int columns = set.GetUINT16(0x0028, 0x0011);
    const int overlayRows = set.GetUINT16(group, 0x0010);
    const int overlayColumns = set.GetUINT16(group, 0x0011);
    const int bitsAllocated = set.GetUINT16(group, 0x0100);
    if (overlayColumns != columns || overlayRows != rows)
    {
        _error("Overlay data found, but OverlayWidth != width (%d,%d) || OverlayHeight != height "
               "(%d,%d)",
               overlayColumns, columns, overlayRows, rows);
        return false;
    }
    if (bitsAllocated != 1)
    {
        _error("Overlay data found, but OverlayBitsAllocated != 1 (=%d)", bitsAllocated);
        return false;
    }
    // Every pixel needs its bit: a last partial byte must be there too.
    const std::size_t pixels = std::size_t(rows) * std::size_t(columns);
    const VR* data = set.GetVR(group, OverlayData);
    if (pixels == 0 || data == nullptr || data->GetData() == nullptr ||
        data->GetLength() < (pixels + 7) / 8)
    {
        return false;
    }
    auto samples = UnpackBits(static_cast<const std::uint8_t*>(data->GetData()), pixels);
    m_mask.Attach(samples.release(), 8, 8, 7, rows, columns, 0, SetPixel, 0, 1);
    return true;
}

void ORoiBitmap::CutToSetPixels()
{
    const int columns = m_mask.GetWidth();
    const int rows = m_mask.GetHeight();
    const auto* samples = reinterpret_cast<const std::uint8_t*>(m_mask.GetPixelData());
    int minX = columns;
    int minY = rows;
    int maxX = -1;
    int maxY = -1;
    for (int y = 0; y < rows; ++y)
    {
        for (int x = 0; x < columns; ++x)
        {
            if (samples[std::size_t(y) * std::size_t(columns) + std::size_t(x)] != 0)
            {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    m_bounds = {0, 0, columns, rows};
    if (maxX < 0 || minX >= maxX || minY >= maxY)
    {
        return;
    }
    // One pixel of margin where the matrix has it; the cut never starts
    // outside the matrix, and the bounds sit where the cut starts.
    const CRect cut(std::max(minX - 1, 0), std::max(minY - 1, 0), std::min(maxX + 1, columns),
                    std::min(maxY + 1, rows));
    std::unique_ptr<MetaMatrix> part(m_mask.GetImagePart(&cut));
    if (!part)
    {
        return;
    }
    part->CopyTo(m_mask);
    m_bounds = cut;
}

} // namespace pelivo
