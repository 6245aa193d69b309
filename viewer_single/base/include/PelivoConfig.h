// The single-view library's folder, recorded once at its start, and the
// settings it reads from "DICOMViewerConfig.xml" there. The file is always
// looked up in that folder: the host's current directory may be anywhere.
#pragma once

#include "Lettra.h"

namespace pelivo
{

inline constexpr const char* ViewerConfigFileName = "DICOMViewerConfig.xml";

// Records the folder of the library file at that path.
void SetPelivoFolder(const char* libraryPath);
// With its trailing separator; empty before the start.
const Lettra& GetPelivoFolder();

// "DrawByMemoryDC" under "/AppSetting/Config": on unless the file says
// otherwise (an element without a value turns it off).
bool ReadDrawByMemoryDC();

// The library-wide switch the panes are created with.
bool IsDrawByMemoryDC();
void SetDrawByMemoryDC(bool on);

} // namespace pelivo
