// Feeds arbitrary text to the XML form of data sets: the text is read into a
// set (the character repertoires its records declare included), and what was
// read is written out and read back. Nothing may crash, leak or read out of
// bounds; the readers report only 0 or 1.
#include "DICOMDataSet.h"
#include "VeltaroLibrary.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int started = VeltaroInitialize();
    (void)started;
    const std::string text(reinterpret_cast<const char*>(data), size);

    DICOMDataSet set;
    const int read = set.XmlDeserialize(text.c_str());
    if (read != 0 && read != 1)
    {
        std::abort();
    }
    DICOMDataSet back;
    if (back.XmlDeserialize(set.XmlSerialize()) != (set.IsEmpty() != 0 ? 0 : 1))
    {
        std::abort();
    }
    return 0;
}
