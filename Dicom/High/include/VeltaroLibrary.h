// The DICOM library's start-up and shut-down and the library-wide element
// sets they fill and empty: the template image data set DCMHeader, the
// default file meta information every written header receives, and the
// filter of the elements an icon image keeps. The sets exist, empty, from
// the moment the library is loaded; a host calls VeltaroInitialize once
// before any other use and VeltaroUninitialize once at the end.
#pragma once

#include "DICOMDataSet.h"
#include "VeltaroExport.h"

// The library's own identification in the headers it writes.
inline constexpr const char* VeltaroImplementationClassUID = "1.2.840.84658685.1.0";
inline constexpr const char* VeltaroImplementationVersionName = "TQELM20001.0";
inline constexpr const char* VeltaroApplicationWord = "TAVUQELM";
inline constexpr const char* VeltaroVersion = "4.2.5.0";

extern "C"
{
    // Logs the banner, builds the data dictionary and its cache, and fills
    // the library-wide sets; returns 1. Running it again rebuilds them.
    VELTARO_API int VeltaroInitialize(void);
    // Detaches the dictionary, empties the sets, writes the closing lines to
    // the library log and switches the log off.
    VELTARO_API void VeltaroUninitialize(void);
}

// The template image data set; callers copy it and replace what they need.
extern VELTARO_API DICOMDataSet DCMHeader;
// A template the library makes and destroys but never fills.
extern VELTARO_API DICOMDataSet DCMDXTemplate;

// (0002,0001), (0002,0012), (0002,0013) and (0002,0016) as every written
// meta header carries them unless the file sets its own.
VELTARO_API DICOMVRSet& GetDefaultMetaElements();
// Empty elements whose tags name what an icon image keeps of its image.
VELTARO_API DICOMVRSet& GetIconElementFilter();
