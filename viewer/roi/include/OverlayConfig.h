// The overlay settings of the viewer, read once per process from
// "/AppSetting/Config/Overlay" of the configuration XML: the colours of
// overlay text and annotations (elements of "Color" with R, G and B
// attributes) and, as "value" attributes, the text background, the shadow
// switch and the font height of annotation labels. Every new annotation
// style copies them.
#pragma once

#include "QuillonExport.h"
#include "WinTypes.h"

class XmlSetting;

struct QUILLON_API OverlayConfig
{
    COLORREF crText = RGB(255, 255, 255);
    COLORREF crLabel = RGB(255, 255, 255);
    COLORREF crRoi = RGB(255, 165, 0);
    COLORREF crRoiText = RGB(255, 255, 255);
    COLORREF crRoiHilited = RGB(255, 255, 0);
    COLORREF crRoiShadow = RGB(0, 0, 0);
    bool bTextBackground = true;
    bool bShadow = false;
    // Below 1: labels use the pane's label font.
    int nFontHeight = -1;

    // Missing settings keep their values; false when the text cannot be
    // read.
    bool LoadXml(const char* text);
    void Read(XmlSetting& setting);

    // The process-wide settings, read on first use from the viewer's
    // configuration document.
    static OverlayConfig& Get();
};
