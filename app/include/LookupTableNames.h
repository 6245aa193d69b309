// The names of an image's lookup tables joined by "|", as the WW/WL menu
// lists them; empty without an image.
#pragma once

#include "AfxString.h"

class ImageShow;

CString DescribeLookupTables(const ImageShow* pShow);
