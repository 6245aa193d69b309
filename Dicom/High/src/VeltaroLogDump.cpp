// The dump functions: an object's text form written into the library log.
#include "DICOMFile.h"
#include "DICOMVRSet.h"
#include "VeltaroLog.h"

#include <cstdint>

namespace
{

// The text forms are built by virtual operations that are not const, though
// they change nothing; the dumps take their objects as const.
template <typename T> T& Unconst(const T* object)
{
    return *const_cast<T*>(object);
}

} // namespace

void DumpVRSet(const DICOMVRSet* set)
{
    if (set == nullptr)
        return;
    try
    {
        _fdebug(Unconst(set).ToString());
    }
    catch (...)
    {
        _error("exception catched for DumpVRSet");
    }
}

void DumpDicomFile(const DICOMFile* file)
{
    if (file == nullptr)
        return;
    try
    {
        // The address as a 32-bit number: the banner's format shows no more.
        const auto address = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(file));
        _debug("\n--------------- DICOM File Information (0x%0x)---------------", address);
        _debug("File Location: %s", file->GetFileName());
        _fdebug(Unconst(file).ToString());
    }
    catch (...)
    {
        _error("exception catched for DumpDicomFile");
    }
}
