// Applying a VOI lookup table to a real-valued image.
#include "VOILookupTable.h"

#include "RealImage.h"
#include "VeltaroLog.h"

#include <cstring>
#include <new>

RealImage8* VOILookupTable::Apply(RealImage& image) const
{
    std::uint8_t* table = CreateDisplayTable(image.GetIntercept(), image.GetSlope());
    if (table == nullptr)
    {
        return nullptr;
    }
    std::uint8_t* pixels = image.GetPixmapEx(table + DisplayTableOffset);
    delete[] table;
    if (pixels == nullptr)
    {
        return nullptr;
    }
    auto* result = new (std::nothrow)
        RealImage8(pixels, image.GetWidth(), image.GetHeight(), 8, 0, 255, 0, 255, 0.0f, 1.0f);
    if (result == nullptr)
    {
        delete[] pixels;
        _error("VOILookupTable::Apply, cannot allocate the image");
        return nullptr;
    }
    result->GetLookupTable().Init(0, 255, 0.0f, 1.0f, 255, 127);
    std::memcpy(result->GetPalette(), image.GetPalette(), sizeof(RGBQUAD) * RealImage::PaletteSize);
    result->SetPhotometric(image.GetPhotometric());
    result->SetFlag(image.GetFlag());
    return result;
}
