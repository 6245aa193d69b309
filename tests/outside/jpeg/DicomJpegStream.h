// Test helper, standing in for the DICOM library: pulls the JPEG stream of a
// single-frame file out of its encapsulated pixel data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using ByteVector = std::vector<uint8_t>;

// The fragments of the last encapsulated (7FE0,0010) element, in explicit or
// implicit VR, joined (the offset table left out); empty when there is none.
ByteVector ReadJpegStreamOfFile(const std::string& path);

ByteVector ReadWholeFile(const std::string& path);
