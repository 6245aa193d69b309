// One frame on its way into a DICOMImage: the buffer (owned until stored)
// and the geometry and syntax it is stored with.
#pragma once

#include "DICOMImage.h"
#include "UID.h"

#include <cstdint>
#include <memory>

struct DICOMImage::FrameRecord
{
    std::unique_ptr<std::uint8_t[]> buffer;
    unsigned length = 0;
    int frame = 0;
    unsigned columns = 0;
    unsigned rows = 0;
    unsigned short bitsAllocated = 0;
    unsigned short bitsStored = 0;
    unsigned short highBit = 0;
    UID syntax;
};
