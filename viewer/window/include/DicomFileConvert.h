// A DICOM file's displayed image written as a bitmap or JPEG file, without
// a window: the image goes through the rendering chain as a pane would show
// it at its stored window. False for a file that cannot be loaded as a
// DICOM image or an output that cannot be written; an existing output file
// is then left as it was.
#pragma once

#include "QuillonExport.h"

extern "C"
{
    QUILLON_API bool DicomFile2BitmapFile(const char* dicomPath, const char* outputPath);
    QUILLON_API bool DicomFile2JPEGFile(const char* dicomPath, const char* outputPath);
}
