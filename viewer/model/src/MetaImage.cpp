#include "MetaImage.h"

#include "MetaMatrixRGB.h"
#include "QuillonLog.h"

#include <algorithm>
#include <cstddef>

namespace
{

// A deep copy of the RGB pixels with every level v turned into 255 - v.
MetaMatrix* InvertedCopy(const MetaMatrix& matrix)
{
    MetaMatrix* copy = matrix.Clone();
    auto* levels = reinterpret_cast<unsigned char*>(copy->GetPixelData());
    const std::size_t count = static_cast<std::size_t>(copy->GetData()->nDataLength);
    for (std::size_t i = 0; i < count; ++i)
    {
        levels[i] = static_cast<unsigned char>(255 - levels[i]);
    }
    return copy;
}

} // namespace

MetaImage::~MetaImage()
{
    delete m_pMatrix;
    delete m_pColorLUT;
}

bool MetaImage::HasPixels() const
{
    return m_pMatrix != nullptr && !m_pMatrix->IsEmpty() && m_pMatrix->GetPixelData() != nullptr;
}

void MetaImage::SetMatrix(MetaMatrix* matrix)
{
    if (matrix != m_pMatrix)
    {
        delete m_pMatrix;
        m_pMatrix = matrix;
    }
}

void MetaImage::DeleteMatrix()
{
    SetMatrix(nullptr);
}

void MetaImage::ReleasePixelData()
{
    if (m_pMatrix != nullptr)
    {
        m_pMatrix->Empty();
    }
}

void MetaImage::SetColorLUT(ColorLookupTable* palette)
{
    if (palette != m_pColorLUT)
    {
        delete m_pColorLUT;
        m_pColorLUT = palette;
    }
}

void MetaImage::CopyLUTsFrom(const MetaImage& other)
{
    if (&other == this)
    {
        return;
    }
    m_LUTs.CopyFrom(other.m_LUTs);
    SetColorLUT(other.m_pColorLUT != nullptr
                    ? static_cast<ColorLookupTable*>(other.m_pColorLUT->Clone())
                    : nullptr);
}

void MetaImage::FlipVertical()
{
    if (m_pMatrix != nullptr)
    {
        m_pMatrix->FlipVertical();
    }
}

void MetaImage::FlipHorizontal()
{
    if (m_pMatrix != nullptr)
    {
        m_pMatrix->FlipHorizontal();
    }
}

void MetaImage::Rotate(int quarterTurns)
{
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (m_pMatrix != nullptr && turns != 0)
    {
        m_pMatrix->Rotate(static_cast<MetaMatrix::RotateAngle>(turns));
    }
}

MetaMatrix* MetaImage::MapThrough(DicomLookupTable* table, bool inverted) const
{
    if (!HasPixels())
    {
        return nullptr;
    }
    const MetaMatrix::enMatrixType type = m_pMatrix->GetMatrixType();
    if (type == MetaMatrix::enMatrixRGB)
    {
        return inverted ? InvertedCopy(*m_pMatrix) : m_pMatrix->Shadow();
    }
    // Palette indices stay indices: the palette is the DIB's colour table.
    if (type == MetaMatrix::enMatrix8 && m_pColorLUT != nullptr && m_pColorLUT->IsValid())
    {
        return m_pMatrix->Shadow();
    }
    if (table == nullptr)
    {
        return nullptr;
    }
    std::uint8_t* levels = inverted ? table->InvertTable() : table->BuildTable();
    return levels != nullptr ? m_pMatrix->GetPixmap(levels) : nullptr;
}

int MetaImage::GetWindowWidth() const
{
    return GetCurrentLUT() != nullptr ? GetCurrentLUT()->GetWindowWidth() : 0;
}

int MetaImage::GetWindowCenter() const
{
    return GetCurrentLUT() != nullptr ? GetCurrentLUT()->GetWindowCenter() : 0;
}

double MetaImage::ScaleFieldOfViewUnder(int width, int height)
{
    if (m_pMatrix == nullptr)
    {
        quillon::_debug("Enter MetaImage::ScaleFieldOfViewUnder, Matrix == NULL");
        return 1.0;
    }
    const int columns = m_pMatrix->GetWidth();
    const int rows = m_pMatrix->GetHeight();
    if (columns <= 0 || rows <= 0 || width <= 0 || height <= 0)
    {
        return 1.0;
    }
    const double factor = std::min({1.0, double(width) / columns, double(height) / rows});
    if (factor < 1.0)
    {
        m_pMatrix->ScaleOptimize(static_cast<unsigned>(std::max(1.0, columns * factor)),
                                 static_cast<unsigned>(std::max(1.0, rows * factor)));
    }
    return factor;
}
