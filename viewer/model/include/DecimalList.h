// The numbers of a multi-valued decimal string (values separated by "\",
// each trimmed of blanks; empty values are skipped).
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"

#include <vector>

QUILLON_API std::vector<double> ReadDecimalList(const Lettra& text);
