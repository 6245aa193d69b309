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

private:
    const DataDictionary& m_dictionary;
};
