// ComDicomDataDictionary: writes the library's data dictionary to files for
// other programs and for developers. Every member builds a dictionary of its
// own from the library's tables, writes one file and discards the dictionary,
// so it works before the library's start-up as well; any failure, exceptions
// included, gives false.
#pragma once

#include "VeltaroExport.h"

class DICOMFile;

class VELTARO_API ComDicomDataDictionary
{
public:
    // The binary dictionary file: fixed header, then one entry per record.
    bool SaveBinary(const char* path);
    // The records as lines of a C table, public first, then private.
    bool SaveText(const char* path);
    // "#define  DC3<keyword>_GROUP" and "_ELEMENT" lines of the public records.
    bool SaveTagDefineText(const char* path);
    // A C# fragment: the table entries and the TAGS, GROUPS and ELEMENTS enums.
    bool SaveTagDefineTextCS(const char* path);
    // An XML document of the public and private records by group.
    bool SaveXML(const char* path);
    // A DICOM file (with file meta information) of one empty element per
    // record, as GetDicomTag fills it; the result is that of the write.
    bool SaveTagToDicomFile(const char* path);
};

// Fills the file with one empty element per record of the library's
// dictionary (but the item and delimitation tags) and sets its transfer
// syntax to explicit VR little endian. Returns 1; 0 for a null file or
// before the library's start-up has built the dictionary.
VELTARO_API int GetDicomTag(DICOMFile* file);
