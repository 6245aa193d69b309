// The look-up interface of the library's data dictionary for the viewer
// libraries. Before the library's start-up builds the dictionary every
// look-up finds nothing.
#pragma once

#include "Lettra.h"
#include "VeltaroExport.h"

class VELTARO_API DicomDictionary
{
public:
    // The VR code of the tag (first letter in the high byte), 0 when unknown.
    static unsigned short Lookup(unsigned short group, unsigned short element);
    // The same, copying the keyword into the buffer of size bytes (emptied
    // first, always terminated).
    static unsigned short Lookup(unsigned short group, unsigned short element, char* keyword,
                                 int size);
    // The tag (group << 16 | element) of the first keyword, in tag order,
    // that begins with the text, ignoring case; 0xFFFFFFFF when none does,
    // 0 for a null text.
    static unsigned int Lookup(const char* keyword);
    // The keyword of the tag, empty when unknown.
    static Lettra GetDescription(unsigned short group, unsigned short element);
};
