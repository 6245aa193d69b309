// The file side of the viewer's configuration: reading the resource and
// configuration XML files when a viewer window starts, and keeping the
// texts a host pushes in files of the library's folder.
//
// The viewer window's SystemInit runs ReadConfigurationFiles on the
// library's paths (which also places new measurement labels 100 pixels
// from their anchor), then hands the two texts to the resource-XML and
// configuration-XML holders and loads the viewer settings and the label
// configuration from the files. Its SetConfigXML runs SavePushedConfigXml,
// then hands the text to the holder or the label configuration of its type.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"

// The whole text of a file; false, with the text left alone, when the file
// cannot be opened or read or is empty.
QUILLON_API bool ReadWholeFile(const char* path, Lettra& text);

struct ConfigurationTexts
{
    // Empty when the file could not be read.
    Lettra resourceXml;
    Lettra configXml;
};

// Where the labels of new measurements are placed: this many image pixels
// from their anchor.
inline constexpr int MeasurementLabelOffset = 100;

// Logs the start ("Enter CWebWindow::SystemInit", an empty line and the
// current directory), reads both files whole and the pane-font table from
// the configuration file, and places the labels of new measurements
// MeasurementLabelOffset from their anchor.
QUILLON_API ConfigurationTexts ReadConfigurationFiles(const char* resourcePath,
                                                      const char* configPath);

// The name a pushed text of that type is kept under: "__ImageTag.save.xml"
// (1, the label configuration), "__Resource.save.xml" (10, the resource
// XML), "__Config.save.xml" (20, the configuration XML); null for any other
// type.
QUILLON_API const char* GetPushedConfigFileName(short type);
// Writes the text whole into that file of the folder (ending in a
// separator), created anew. A file that cannot be written only costs a log
// line: the text is taken all the same. False, writing nothing, for a type
// without a file or a null text.
QUILLON_API bool SavePushedConfigXml(const char* folder, short type, const char* xml);
