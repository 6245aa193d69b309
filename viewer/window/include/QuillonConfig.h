// The file side of the viewer's configuration: reading the resource and
// configuration XML files when a viewer window starts, and keeping the
// texts a host pushes in files of the library's folder.
//
// The viewer window's SystemInit runs LoadConfiguration on the library's
// paths; its SetConfigXML runs TakePushedConfigXml.
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

// The root path and the item element name of the label configuration.
inline constexpr const char* ImageTagRoot = "/ImageShowConfig";
inline constexpr const char* ImageTagElement = "tag";

// Reads the pane and overlay settings of the configuration file into the
// process-wide DataConfig and OverlayConfig; settings the file lacks keep
// their values. 1 when the file was read, 0 for a null path or a file
// that cannot be read or parsed (nothing changes then).
QUILLON_API int Data_LoadConfig(const char* path);

// SystemInit's configuration: the files as ReadConfigurationFiles reads
// them, the texts handed to their holders (an unreadable file leaves its
// holder as it was), the viewer settings from the configuration file
// (Data_LoadConfig) and the label configuration from the image-tag file.
QUILLON_API void LoadConfiguration(const char* resourcePath, const char* configPath,
                                   const char* imageTagPath);
// SetConfigXML's work: the text kept in the folder under its type's name,
// then taken: type 1 loads the label configuration from it (the result is
// that load's), 10 and 20 go to the resource-XML and configuration-XML
// holders (true; the settings read at start stay as they are). False,
// keeping nothing, for any other type or a null text.
QUILLON_API bool TakePushedConfigXml(const char* folder, short type, const char* xml);
