// The pane-font table: pairs of a pane size and the font size the panes
// take for it, read by the panes when they choose their label font. It
// starts with the built-in pairs and zeros; the configuration overwrites it
// from its first entry on.
#pragma once

#include "QuillonExport.h"

#include <span>

class DMarkup;

struct ViewPortFont
{
    int nPaneSize;
    int nFontSize;
};

inline constexpr int MaxViewPortFonts = 64;

QUILLON_API std::span<const ViewPortFont, MaxViewPortFonts> GetViewPortFonts();

// Reads the configured pairs: the elements under
// "/AppSetting/Config/ViewPortFont", in order, up to the first whose name is
// not "ViewPort" in any case and at most 64; the first and the second
// attribute of each, whatever their names, as integers. They replace the
// table's entries from the first on; the rest stay. Returns how many were
// read.
QUILLON_API int ReadViewPortFonts(DMarkup& config);
