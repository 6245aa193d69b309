// The viewer settings the panes and annotations draw with: the configured
// overlay colours, the text background, shadow and font-height switches of
// the overlay, the alpha of the shutter veil and the scroll-bar switch of
// the image views. They are process-wide values that the configuration
// reader fills when the viewer reads its settings; until then, and for a
// setting the configuration does not name, the defaults below hold. Views
// and labels copy the colours when they are made.
#pragma once

#include "QuillonExport.h"
#include "WinGdi.h"

struct QUILLON_API ViewerSettings
{
    // TextColor: the text of the pane labels and read-outs.
    COLORREF crText = RGB(255, 255, 255);
    // LabelColor: the labels of measurements.
    COLORREF crLabel = RGB(255, 255, 255);
    // ROIColor: annotations, and the drawing pen of the panes.
    COLORREF crROI = RGB(255, 165, 0);
    // ROITextColor, ROIHilitedColor, ROIShadowColor.
    COLORREF crROIText = RGB(255, 165, 0);
    COLORREF crROIHilited = RGB(255, 255, 0);
    COLORREF crROIShadow = RGB(0, 0, 0);
    // Overlay TextBackground, Shadow and FontHeight.
    bool bTextBackground = true;
    bool bShadow = false;
    int nFontHeight = -1;
    // AlphaOfShutter: 0..255 veils the image outside a shutter with grey of
    // that opacity; any other value clips the image to the shutter instead.
    int nAlphaOfShutter = -1;
    // ShowImageViewScrollBar.
    bool bShowImageViewScrollBar = true;

    static ViewerSettings& Get();
};
