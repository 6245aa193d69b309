// DictionaryWriter: writes a built data dictionary out in the library's five
// export forms (a binary dictionary file, a C table, C preprocessor
// definitions, a C# fragment and an XML document) and fills a DICOM file with
// one empty element per record. The dictionary must stay alive and unchanged
// while the writer uses it.
#pragma once

#include "VeltaroExport.h"

class DataDictionary;
class DICOMFile;

class VELTARO_API DictionaryWriter
{
public:
    explicit DictionaryWriter(const DataDictionary& dictionary) : m_dictionary(dictionary) {}

    // Each returns true when the whole file was written; false (with a log
    // line) when the path cannot be opened, in which case no file is made.
    bool WriteBinary(const char* path) const;
    bool WriteText(const char* path) const;
    bool WriteTagDefineText(const char* path) const;
    bool WriteTagDefineTextCS(const char* path) const;
    bool WriteXML(const char* path) const;
    // A DICOM file of one empty element per record (see FillDicomFile).
    bool WriteDicomFile(const char* path) const;

    // Pushes one empty element (length 0, no value) per record into the
    // file's element set, in key order, each with its record's VR code, and
    // sets the transfer syntax to explicit VR little endian. The item and
    // delimitation tags of group FFFE are left out: they cannot stand as
    // elements of a data set.
    void FillDicomFile(DICOMFile& file) const;

private:
    const DataDictionary& m_dictionary;
};
