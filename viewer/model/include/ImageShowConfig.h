// The viewer settings an ImageShow follows, read once per process from
// "/AppSetting/Config" of the configuration XML: the text held for it
// (ConfigXmlText.h) when there is one, else "Config/Brevant.Config.xml"
// beside the viewer library.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"

class XmlSetting;

struct QUILLON_API ImageShowConfig
{
    // A Modality LUT Sequence becomes the VOI LUT Sequence instead of
    // being applied to the pixels.
    bool bModalityLUT2VOILUT = true;
    int nHideIfMemoryBelowMB = 100;
    int nShowPatientOrientationLabel = 1;
    // The larger side of a brief image.
    int nMaxSizeOfBriefImage = 512;

    // Reads the settings of a file or a text; missing settings keep their
    // defaults. False when the document cannot be read.
    bool Load(const char* path);
    bool LoadXml(const char* text);

    // The process-wide settings, read on first use from the held text or
    // the default file.
    static ImageShowConfig& Get();
    // "Config/Brevant.Config.xml" in the folder of the viewer library.
    static Lettra GetDefaultPath();
    // The process's configuration document: the held text, else the
    // default file. False when neither can be read.
    static bool LoadProcessSetting(XmlSetting& setting);
    // The settings of a document already loaded.
    void Read(XmlSetting& setting);
};
