// Feeds arbitrary bytes to the file reader as a memory image: the meta
// information detection, the whole read and the header-only read. A header
// read never stops beyond the image, and an image that reads whole in a
// syntax the library writes must write and read back (group 0002 goes to
// the header only, so a data set of nothing else is left aside).
#include "DICOMFile.h"
#include "MetaInfo.h"
#include "VeltaroLibrary.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int started = VeltaroInitialize();
    (void)started;
    const int length = static_cast<int>(size);

    DICOMFile header;
    const int stop = header.DeserializeTillTag(data, length, DICOMFile::PixelDataTag);
    if (stop < 0 || stop > length)
    {
        std::abort();
    }

    DICOMFile whole;
    if (whole.Deserialize(data, length) == 0 || whole.GetMetaInfo(nullptr) != 0)
    {
        return 0;
    }
    UID syntax;
    whole.GetTransferSyntax(syntax);
    const int row = MetaInfo::FindTransferSyntax(syntax);
    whole.RemoveMetaHead();
    if (row < 0 || row > 2 || whole.IsEmpty() != 0)
    {
        return 0;
    }
    const int needed = whole.Serialize(nullptr, 0);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(needed));
    if (needed <= 0 || whole.Serialize(image.data(), needed) != needed)
    {
        std::abort();
    }
    DICOMFile again;
    if (again.Deserialize(image.data(), needed) != needed)
    {
        std::abort();
    }
    return 0;
}
