// The display level tables of ImageProcess for code that may run before any
// ImageProcess was constructed.
#pragma once

// Builds ImageProcess::LUT256To244 and LUT244To256 unless they are built.
void EnsureDisplayLevels();
