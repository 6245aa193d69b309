#include "DicomDictionary.h"

#include "DataDictionary.h"

unsigned short DicomDictionary::Lookup(unsigned short group, unsigned short element)
{
    return DataDictionary::GetLibraryDictionary().Lookup(group, element);
}

unsigned short DicomDictionary::Lookup(unsigned short group, unsigned short element, char* keyword,
                                       int size)
{
    return DataDictionary::GetLibraryDictionary().Lookup(group, element, keyword, size);
}

unsigned int DicomDictionary::Lookup(const char* keyword)
{
    return DataDictionary::GetLibraryDictionary().Lookup(keyword);
}

Lettra DicomDictionary::GetDescription(unsigned short group, unsigned short element)
{
    char keyword[1024];
    DataDictionary::GetLibraryDictionary().Lookup(group, element, keyword, sizeof(keyword));
    return Lettra(keyword);
}
