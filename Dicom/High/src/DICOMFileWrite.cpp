// The writing half of DICOMFile: files, memory images and encoded sizes.
#include "DICOMFile.h"

#include "BigEndianEncoder.h"
#include "FileBuffer.h"
#include "FixEncoder.h"
#include "MemoryImage.h"
#include "MetaInfo.h"
#include "NativePath.h"
#include "OutBuffer.h"
#include "VeltaroLog.h"
#include "WinFile.h"
#include "WinProcessInfo.h"

#include <cstdio>
#include <string>

namespace
{

constexpr int ShareDenyAll = 0x10;
constexpr std::uint16_t MetaGroup = 0x0002;
constexpr std::uint16_t WorkingGroup = 0x0007;
constexpr std::uint16_t PixelGroup = 0x7FE0;
constexpr std::uint16_t PixelElement = 0x0010;

// Takes one group out of a set for the life of a scope and puts it back,
// whatever happened meanwhile.
class GroupSetAside
{
public:
    GroupSetAside(DICOMVRSet& set, std::uint16_t group, bool active) : m_set(set)
    {
        if (active && set.IsExist(group, 0) != 0)
        {
            const unsigned int first = static_cast<unsigned int>(group) << 16;
            set.CopyTo(m_aside, first, first | 0xFFFF);
            set.DeleteGroup(group);
        }
    }
    ~GroupSetAside() { m_set.AppendFrom(m_aside); }
    GroupSetAside(const GroupSetAside&) = delete;
    GroupSetAside& operator=(const GroupSetAside&) = delete;

private:
    DICOMVRSet& m_set;
    DICOMDataSet m_aside;
};

// A file of that name may be replaced unless a handle of this process or
// another one keeps others from writing it, or it cannot be written.
bool IsReplaceable(const char* path)
{
    HANDLE probe =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE)
    {
        CloseHandle(probe);
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Beside the target, so that the rename stays on one file system.
std::string GetTemporaryName(const char* path)
{
    return std::string(path) + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
}

} // namespace

int DICOMFile::WriteFile(const char* path, int withMeta)
{
    if (ValidateFileName(path) == 0)
    {
        return 0;
    }
    if (!IsReplaceable(m_fileName))
    {
        _error("DICOMFile::WriteFile, cannot open file: %s", m_fileName);
        return 0;
    }
    const std::string temporary = GetTemporaryName(m_fileName);
    if (WriteTemporary(temporary.c_str(), withMeta) == 0)
    {
        DeleteFileA(temporary.c_str());
        return 0;
    }
    if (std::rename(ResolveNativePath(temporary.c_str()).c_str(),
                    ResolveNativePath(m_fileName).c_str()) != 0)
    {
        _error("DICOMFile::WriteFile, cannot replace file: %s", m_fileName);
        DeleteFileA(temporary.c_str());
        return 0;
    }
    return 1;
}

int DICOMFile::WriteTemporary(const char* temporaryPath, int withMeta)
{
    DFB stream;
    if (stream.OpenForWrite(temporaryPath, ShareDenyAll) == 0)
    {
        _error("DICOMFile::WriteFile, cannot open file: %s", m_fileName);
        return 0;
    }
    const int written = withMeta == 0 ? Write(stream, 0) : WritePart10(stream);
    if (written == 0)
    {
        stream.Close();
        return 0;
    }
    const int flushed = stream.Flush();
    stream.Close();
    if (flushed == 0)
    {
        _error("DICOMFile::WriteFile, cannot write file: %s", m_fileName);
    }
    return flushed;
}

// Implicit VR files carry no working elements of group 0007: without a VR
// their values could not be read back as they were.
int DICOMFile::WritePart10(OutBuffer& stream)
{
    if (BuildMetaHead() == 0)
    {
        return 0;
    }
    const bool implicit =
        GetMeta().GetMetaTransferSyntax().TransferSyntaxName == UidTransferLittleEndian;
    GroupSetAside working(*this, WorkingGroup, implicit);
    GetMeta().WriteHeader(stream);
    return Write(stream, 1);
}

// The meta group is written by the header alone; a copy of it in the data
// set is left out.
int DICOMFile::Write(OutBuffer& stream, int withMeta)
{
    if (withMeta == 0)
    {
        FixEncoder encoder(stream);
        encoder.SetPixelVR(GetMeta().GetPixelVR());
        return encoder.EncodeImplicit(this);
    }
    if (BuildMetaHead() == 0)
    {
        return 0;
    }
    GroupSetAside meta(*this, MetaGroup, true);
    return EncodeBySyntax(stream);
}

int DICOMFile::EncodeBySyntax(OutBuffer& stream)
{
    const std::uint16_t pixelVR = GetMeta().GetPixelVR();
    switch (GetMeta().GetEndianType())
    {
    case enImplicitLittle:
    case enExplicitLittle:
    {
        FixEncoder encoder(stream);
        encoder.SetPixelVR(pixelVR);
        return GetMeta().GetEndianType() == enImplicitLittle ? encoder.EncodeImplicit(this)
                                                             : encoder.EncodeExplicit(this);
    }
    case enExplicitBig:
    {
        BigEndianEncoder encoder(stream);
        encoder.SetPixelVR(pixelVR);
        return encoder.Encode(this);
    }
    default:
        _fatal("Invalid EndianType of ImageTransferSyntax : = %d", GetMeta().GetEndianType());
        return 0;
    }
}

int DICOMFile::BuildMetaHead()
{
    const UID sopClass(GetLettra(0x0008, 0x0016));
    const UID sopInstance(GetLettra(0x0008, 0x0018));
    if (GetMeta().BuildMetaGroup(sopClass, sopInstance) == 0)
    {
        _error("DICOMFile::BuildMetaHead, invoke BuildMetaHead failed");
        return 0;
    }
    return 1;
}

unsigned int DICOMFile::GetEncodeSize(int withMeta)
{
    MemOutBuffer sizing;
    FixEncoder encoder(sizing);
    encoder.SetPixelVR(GetMeta().GetPixelVR());
    if (withMeta == 0)
    {
        return encoder.ImplicitSize(this);
    }
    if (BuildMetaHead() == 0)
    {
        return 0;
    }
    GroupSetAside meta(*this, MetaGroup, true);
    switch (GetMeta().GetEndianType())
    {
    case enImplicitLittle:
        return GetMeta().GetHeaderSize() + encoder.ImplicitSize(this);
    case enExplicitLittle:
    case enExplicitBig:
        return GetMeta().GetHeaderSize() + encoder.ExplicitSize(this);
    default:
        _fatal("Invalid EndianType of ImageTransferSyntax : = %d", GetMeta().GetEndianType());
        return 0;
    }
}

int DICOMFile::Serialize(unsigned char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
    {
        return static_cast<int>(GetEncodeSize(1));
    }
    MemOutBuffer stream;
    stream.Attach(buffer, static_cast<std::uint32_t>(size), false);
    if (BuildMetaHead() == 0)
    {
        return 0;
    }
    GetMeta().WriteHeader(stream);
    if (Write(stream, 1) == 0)
    {
        return 0;
    }
    return CopyOutMemoryImage(stream, buffer, size, "DICOMFile");
}
