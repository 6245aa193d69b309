// Text drawing keeps the glyphs it renders, per font, character and subpixel
// pen offset, so that text painted again at the same places is not
// rasterised again. These calls let tests and benchmarks watch and compare.
#pragma once

#include "PlatformGDIExport.h"

#include <cstdint>

// How many glyphs text drawing has rasterised in this process.
PLATFORMGDI_API std::uint64_t GdiGetRasterizedGlyphCount();
// Off: every glyph drawn is rasterised anew (the cache is kept).
PLATFORMGDI_API void GdiSetGlyphCacheEnabled(bool bEnabled);
