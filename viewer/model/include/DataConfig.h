// The viewer settings of the panes beyond the overlay's (OverlayConfig):
// the shutter's alpha and the image views' scroll-bar switch, read once per
// process from "/AppSetting/Config" of the configuration XML.
#pragma once

#include "QuillonExport.h"

class XmlSetting;

struct QUILLON_API DataConfig
{
    // 0..255 veils the image outside a shutter with grey of that opacity;
    // any other value clips the image to the shutter instead.
    int nAlphaOfShutter = -1;
    int nShowImageViewScrollBar = 1;

    // Missing settings keep their values; false when the text cannot be
    // read.
    bool LoadXml(const char* text);
    void Read(XmlSetting& setting);

    // The process-wide settings, read on first use from the viewer's
    // configuration document.
    static DataConfig& Get();
};
