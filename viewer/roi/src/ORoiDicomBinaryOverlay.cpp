#include "ORoiDicomBinaryOverlay.h"

#include "DICOMVRSet.h"
#include "ImageShow.h"
#include "MetaView.h"
#include "OverlayConfig.h"
#include "QuillonLog.h"
#include "VR.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

IMPLEMENT_DYNAMIC(ORoiDicomBinaryOverlay, ORoi)

namespace
{

constexpr unsigned short Group = 0x6000;

// The two 16-bit words of the overlay origin (row, column; from 1).
bool ReadOrigin(const DICOMVRSet& set, int& row, int& column)
{
    const VR* origin = set.GetVR(Group, 0x0050);
    if (origin == nullptr || origin->GetLength() < 4 || origin->GetData() == nullptr)
    {
        row = column = 1;
        return origin == nullptr;
    }
    std::int16_t words[2];
    std::memcpy(words, origin->GetData(), sizeof words);
    row = words[0];
    column = words[1];
    return true;
}

} // namespace

ORoiDicomBinaryOverlay::ORoiDicomBinaryOverlay(ImageShow* owner, const DICOMVRSet& set)
    : ORoi(TypeId, owner)
{
    const int rows = set.GetUINT16(Group, 0x0010);
    const int columns = set.GetUINT16(Group, 0x0011);
    const VR* data = set.GetVR(Group, 0x3000);
    int row = 1;
    int column = 1;
    const long long bytes = (static_cast<long long>(rows) * columns + 7) / 8;
    if (rows <= 0 || columns <= 0 || set.GetUINT16(Group, 0x0100) != 1 ||
        set.GetUINT16(Group, 0x0102) != 0 || data == nullptr || data->GetData() == nullptr ||
        data->GetLength() < bytes || !ReadOrigin(set, row, column))
    {
        quillon::_warning("Enter ORoiDicomBinaryOverlay, no usable overlay plane (%d x %d)", rows,
                          columns);
        return;
    }
    auto* bits = new char[static_cast<std::size_t>(bytes)];
    std::memcpy(bits, data->GetData(), static_cast<std::size_t>(bytes));
    m_Mask.Attach(bits, 1, 1, 0, rows, columns, 0, 1, 0, 1);
    m_Rect = {column - 1, row - 1, column - 1 + columns, row - 1 + rows};
}

ORoiDicomBinaryOverlay::ORoiDicomBinaryOverlay(ImageShow* owner) : ORoi(TypeId, owner) {}

const char* ORoiDicomBinaryOverlay::GetDisplayName() const
{
    return "Overlay";
}

ORoi* ORoiDicomBinaryOverlay::Clone(ImageShow* owner) const
{
    auto* overlay = new ORoiDicomBinaryOverlay(owner);
    m_Mask.CopyTo(overlay->m_Mask);
    CopyAttributes(*overlay);
    return overlay;
}

bool ORoiDicomBinaryOverlay::IsMeasurement() const
{
    return false;
}

void ORoiDicomBinaryOverlay::Draw(CDC* pDC)
{
    MetaView* view = m_pOwner != nullptr ? m_pOwner->GetView() : nullptr;
    if (pDC == nullptr || view == nullptr || !IsShown() || !IsValid())
    {
        return;
    }
    const COLORREF color = OverlayConfig::Get().crText;
    const auto* bits = reinterpret_cast<const std::uint8_t*>(m_Mask.GetPixelData());
    const int columns = m_Mask.GetWidth();
    const int rows = m_Mask.GetHeight();
    auto isSet = [&](long long index) { return (bits[index / 8] >> (index % 8) & 1) != 0; };
    for (int row = 0; row < rows; ++row)
    {
        const long long first = static_cast<long long>(row) * columns;
        for (int column = 0; column < columns;)
        {
            if (!isSet(first + column))
            {
                ++column;
                continue;
            }
            const int start = column;
            while (column < columns && isSet(first + column))
            {
                ++column;
            }
            const POINT topLeft = view->ImageToScreen(m_Rect.left + start, m_Rect.top + row);
            const POINT bottomRight =
                view->ImageToScreen(m_Rect.left + column, m_Rect.top + row + 1);
            // Below a zoom of one, a run still covers a pixel.
            pDC->FillSolidRect(topLeft.x, topLeft.y, std::max(1, int(bottomRight.x - topLeft.x)),
                               std::max(1, int(bottomRight.y - topLeft.y)), color);
        }
    }
}

void ORoiDicomBinaryOverlay::FlipVertical()
{
    ORoi::FlipVertical();
    m_Mask.FlipVertical();
}

void ORoiDicomBinaryOverlay::FlipHorizontal()
{
    ORoi::FlipHorizontal();
    m_Mask.FlipHorizontal();
}

void ORoiDicomBinaryOverlay::Rotate(int quarterTurns)
{
    ORoi::Rotate(quarterTurns);
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (turns != 0)
    {
        m_Mask.Rotate(static_cast<MetaMatrix::RotateAngle>(turns));
    }
}
