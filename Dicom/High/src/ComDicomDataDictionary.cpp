#include "ComDicomDataDictionary.h"

#include "DICOMFile.h"
#include "DataDictionary.h"
#include "DictionaryWriter.h"
#include "VeltaroLog.h"

namespace
{

// Builds a dictionary of its own for one export and discards it afterwards;
// no failure or exception gets past it.
bool ExportDictionary(const char* path, const char* operation,
                      bool (DictionaryWriter::*write)(const char*) const)
{
    try
    {
        DataDictionary dictionary;
        dictionary.Build();
        dictionary.BuildCache();
        const bool written = (DictionaryWriter(dictionary).*write)(path);
        dictionary.Detach();
        return written;
    }
    catch (...)
    {
        _error("Exception in %s writing %s", operation, path != nullptr ? path : "");
        return false;
    }
}

} // namespace

bool ComDicomDataDictionary::SaveBinary(const char* path)
{
    return ExportDictionary(path, "ComDicomDataDictionary::SaveBinary",
                            &DictionaryWriter::WriteBinary);
}

bool ComDicomDataDictionary::SaveText(const char* path)
{
    return ExportDictionary(path, "ComDicomDataDictionary::SaveText", &DictionaryWriter::WriteText);
}

bool ComDicomDataDictionary::SaveTagDefineText(const char* path)
{
    return ExportDictionary(path, "ComDicomDataDictionary::SaveTagDefineText",
                            &DictionaryWriter::WriteTagDefineText);
}

bool ComDicomDataDictionary::SaveTagDefineTextCS(const char* path)
{
    return ExportDictionary(path, "ComDicomDataDictionary::SaveTagDefineTextCS",
                            &DictionaryWriter::WriteTagDefineTextCS);
}

bool ComDicomDataDictionary::SaveXML(const char* path)
{
    return ExportDictionary(path, "ComDicomDataDictionary::SaveXML", &DictionaryWriter::WriteXML);
}

bool ComDicomDataDictionary::SaveTagToDicomFile(const char* path)
{
    return ExportDictionary(path, "ComDicomDataDictionary::SaveTagToDicomFile",
                            &DictionaryWriter::WriteDicomFile);
}

int GetDicomTag(DICOMFile* file)
{
    const DataDictionary& dictionary = DataDictionary::GetLibraryDictionary();
    if (file == nullptr || dictionary.IsEmpty())
    {
        _error("GetDicomTag: %s", file == nullptr ? "no file given" : "the dictionary is empty");
        return 0;
    }
    DictionaryWriter(dictionary).FillDicomFile(*file);
    return 1;
}
