// One frame of a DICOM file as a packed DIB, the way the viewer's chain
// makes it: the file read into a DICOMImage, a grey frame's display rendering
// made by ImageProcess (window, VOI LUT, MONOCHROME1 inversion) and a colour
// frame's RGB samples or palette colours taken from its real-valued image,
// handed to a pixel matrix, and the matrix's DIB.
#pragma once

#include "DibApi.h"

#include <string>

// The DIB (8-bit grey, or 24-bit for colour images) for the caller to free
// with GlobalFree; null with a message saying why.
HDIB MakeDicomPicture(const char* pszPath, std::string& error);
