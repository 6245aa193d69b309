// DICOMImage::FormatTo(RealImage*): a real-valued image written back into
// an image as native samples, as the icons are made.
#include "DICOMImage.h"

#include "DICOMImageFrameRecord.h"
#include "RealImage.h"
#include "VRCode.h"
#include "VeltaroLog.h"

#include <cstring>
#include <new>
#include <string>
#include <strings.h>

namespace
{

constexpr int PaletteEntries = 256;

// A palette colour as a table of 16-bit entries: the byte repeated in both
// halves, so that readers taking the high byte and readers taking the whole
// entry both find the colour. Entries of 8 bits would have to be packed
// two to a word, which readers of the low byte of each word misread.
void AddPaletteTable(DICOMVRSet& set, std::uint16_t element, const RGBQUAD* palette,
                     BYTE RGBQUAD::*colour)
{
    unsigned short table[PaletteEntries];
    for (int index = 0; index < PaletteEntries; ++index)
    {
        table[index] = static_cast<unsigned short>(palette[index].*colour * 0x0101);
    }
    set.Add(0x0028, element, table, PaletteEntries);
    set.GetVR(0x0028, element)->SetTypeCode(VRCode::OW);
}

void AddPalette(DICOMVRSet& set, const RGBQUAD* palette)
{
    const unsigned short descriptor[3] = {PaletteEntries, 0, 16};
    set.Add(0x0028, 0x1101, descriptor, 3);
    set.Add(0x0028, 0x1102, descriptor, 3);
    set.Add(0x0028, 0x1103, descriptor, 3);
    AddPaletteTable(set, 0x1201, palette, &RGBQUAD::rgbRed);
    AddPaletteTable(set, 0x1202, palette, &RGBQUAD::rgbGreen);
    AddPaletteTable(set, 0x1203, palette, &RGBQUAD::rgbBlue);
}

} // namespace

int DICOMImage::FormatTo(RealImage* image)
{
    if (image == nullptr)
    {
        return 0;
    }
    FrameRecord record;
    record.syntax = UidTransferLittleEndianExplicit;
    record.frame = image->GetFrameIndex();
    record.columns = static_cast<unsigned>(image->GetWidth());
    record.rows = static_cast<unsigned>(image->GetHeight());
    record.length = image->GetImageLength();
    const int depth = image->GetDepth();
    record.bitsAllocated = depth > 8 ? 16 : 8;
    record.bitsStored = static_cast<unsigned short>(depth > 8 ? depth : 8);
    record.highBit = static_cast<unsigned short>(record.bitsStored - 1);
    const void* pixels = image->GetImage();
    if (pixels != nullptr)
    {
        record.buffer.reset(new (std::nothrow) std::uint8_t[record.length > 0 ? record.length : 1]);
    }
    if (record.buffer == nullptr)
    {
        _error("Enter DICOMImage::FormatTo, the real-valued image holds no pixels");
        return 0;
    }
    std::memcpy(record.buffer.get(), pixels, record.length);

    DICOMVRSet attributes;
    const char* photometric = image->GetPhotometric();
    attributes.Add(0x0028, 0x0004, photometric);
    const bool isRGB = std::strcmp(photometric, "RGB") == 0;
    attributes.Add(0x0028, 0x0002, static_cast<unsigned short>(isRGB ? 3 : 1));
    const LookupTable& window = image->GetLookupTable();
    // Bounds near the ends of an int (a huge rescale slope) add up beyond one.
    const long long low = window.GetMinForkCalib();
    const long long high = window.GetMaxForkCalib();
    attributes.Add(0x0028, 0x1050, std::to_string((low + high) / 2).c_str());
    attributes.Add(0x0028, 0x1051, std::to_string(high - low).c_str());
    if (std::strcmp(photometric, "PALETTE COLOR") == 0)
    {
        AddPalette(attributes, image->GetPalette());
    }
    if (isRGB)
    {
        attributes.Add(0x0028, 0x0006, static_cast<unsigned short>(0));
    }
    if (StoreFrame(record, attributes, image->GetNumberOfFrames() <= 1) == 0)
    {
        return 0;
    }
    // A real image's samples are interleaved; a planar configuration is
    // given for colour samples only.
    if (!isRGB)
    {
        Delete(0x0028, 0x0006);
    }
    return 1;
}
