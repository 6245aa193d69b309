#include "DICOMFile.h"

#include "BigEndianDecoder.h"
#include "DataSetForms.h"
#include "FileBuffer.h"
#include "FixDecoder.h"
#include "InBuffer.h"
#include "MetaInfo.h"
#include "VeltaroLog.h"
#include "WinFile.h"

#include <cstdio>
#include <cstring>

namespace
{

constexpr int ShareDenyWrite = 0x20;
constexpr int ShareDenyNone = 0x40;
// Whole-file reads buffer the file in steps of this size, up to the limit,
// before decoding.
constexpr std::uint32_t PreReadStep = 0x200000;
constexpr std::uint32_t PreReadLimit = 0x8000000;
// A partial read hands the decoder at least this much at each pass.
constexpr std::uint32_t TillTagReadAhead = 1024;
// A header read takes the file in blocks of this size: most headers in one.
constexpr std::uint32_t HeaderPullSize = 0x4000;
constexpr int TillTagPasses = 100000;
constexpr std::uint32_t TillTagFailed = 0xFFFFFFFF;
constexpr std::uint32_t TagSize = 4;

// A deflated data set would need inflating before any element can be read.
bool IsReadableSyntax(const UID& syntax)
{
    if (syntax == UidTransferDeflatedLittleEndianExplicit)
    {
        _error("Enter DICOMFile::Load, a deflated data set cannot be read");
        return false;
    }
    return true;
}

void PreRead(InBuffer& stream)
{
    for (std::uint32_t requested = 0;
         requested < PreReadLimit && stream.FillAtLeast(PreReadStep) != 0; requested += PreReadStep)
    {
    }
}

// Runs the stop-before-tag decoder pass after pass until it meets the tag
// or the stream ends; returns the bytes consumed then, 0 on failure.
template <typename Decode>
int RunTillTag(DICOMFile& file, InBuffer& stream, unsigned int tag, Decode decode)
{
    for (int pass = 0; pass < TillTagPasses; ++pass)
    {
        stream.FillAtLeast(TillTagReadAhead);
        if (stream.GetAvailable() == 0)
        {
            return file.IsEmpty() ? 0 : static_cast<int>(stream.GetConsumed());
        }
        const std::uint32_t result = decode(tag - 1);
        if (result == TillTagFailed)
        {
            return 0;
        }
        if (result != 0 && result >= tag)
        {
            return static_cast<int>(stream.GetConsumed());
        }
        if (result == 0 && stream.GetRemaining() < TagSize)
        {
            // Fewer bytes than a tag are left: the data set ends, as a
            // whole-file read ends there.
            return file.IsEmpty() ? 0 : static_cast<int>(stream.GetConsumed());
        }
    }
    _error("Invalid DICOM file!!!");
    _fdebug(file.ToString());
    return 0;
}

} // namespace

DICOMFile::DICOMFile() : m_meta(new MetaInfo) {}

DICOMFile::DICOMFile(const char* path) : DICOMFile()
{
    ValidateFileName(path);
}

DICOMFile::DICOMFile(const DICOMVRSet& set) : DICOMDataSet(set), m_meta(new MetaInfo)
{
    m_meta->SetTransferSyntax(UidTransferLittleEndianExplicit);
}

DICOMFile::DICOMFile(const DICOMFile& other) : DICOMDataSet(other), m_meta(new MetaInfo)
{
    std::memcpy(m_fileName, other.m_fileName, FileNameSize);
    UID syntax;
    other.GetTransferSyntax(syntax);
    if (!syntax.IsEmpty())
    {
        m_meta->SetTransferSyntax(syntax);
    }
}

DICOMFile& DICOMFile::operator=(const DICOMFile& other)
{
    if (this != &other)
    {
        ClearDataSet();
        other.CopyTo(*this);
    }
    return *this;
}

DICOMFile::~DICOMFile()
{
    m_meta->Reset();
    ClearDataSet();
    delete m_meta;
}

int DICOMFile::CopyTo(DICOMFile& target) const
{
    DICOMVRSet::CopyTo(static_cast<DICOMVRSet&>(target));
    target.SetTransferSyntax(m_meta->GetMetaTransferSyntax().TransferSyntaxName);
    std::memcpy(target.m_fileName, m_fileName, FileNameSize);
    return 1;
}

int DICOMFile::TransferTo(DICOMFile& target)
{
    if (&target != this)
    {
        target.AppendFrom(*this);
    }
    target.SetTransferSyntax(m_meta->GetMetaTransferSyntax().TransferSyntaxName);
    std::memmove(target.m_fileName, m_fileName, FileNameSize);
    return 1;
}

int DICOMFile::TransferTo(DICOMVRSet& target)
{
    if (&target != this)
    {
        target.AppendFrom(*this);
    }
    return 1;
}

void DICOMFile::Reset()
{
    m_meta->Reset();
    ClearDataSet();
}

int DICOMFile::ValidateFileName(const char* path)
{
    if (path == nullptr || path[0] == '\0')
    {
        _error("Error at DICOMFile::ValidateFileName, filename is empty");
        return 0;
    }
    if (path != m_fileName)
    {
        std::strncpy(m_fileName, path, FileNameSize - 1);
        m_fileName[FileNameSize - 1] = '\0';
    }
    return 1;
}

unsigned int DICOMFile::GetFileSize() const
{
    FILE* file = _fsopen(m_fileName, "rb", ShareDenyNone);
    if (file == nullptr)
    {
        return 0;
    }
    const long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : 0;
    std::fclose(file);
    return size > 0 ? static_cast<unsigned int>(size) : 0;
}

int DICOMFile::LoadMetaInfo(InBuffer& stream)
{
    return m_meta->LoadMetaInfo(stream);
}

int DICOMFile::ReadFile(const char* path)
{
    ClearDataSet();
    if (ValidateFileName(path) == 0)
    {
        return 0;
    }
    return LoadFromFile();
}

int DICOMFile::OpenWithMetaInfo(DFB& stream)
{
    if (stream.OpenForRead(m_fileName, ShareDenyWrite) == 0)
    {
        _error("Enter DICOMFile::Load, Cannot open file: %s", m_fileName);
        return 0;
    }
    if (LoadMetaInfo(stream) == 0)
    {
        _error("Cannot LoadMetaInfo");
        _error("Enter DICOMFile::Load, Cannot read file: %s", m_fileName);
        return 0;
    }
    return 1;
}

int DICOMFile::LoadFromFile()
{
    DFB stream;
    if (OpenWithMetaInfo(stream) == 0)
    {
        return 0;
    }
    const int result = Load(stream);
    if (result == 0)
    {
        _error("Enter DICOMFile::Load, Cannot read file: %s", m_fileName);
    }
    return result;
}

int DICOMFile::ReadMetaHead(const char* path)
{
    if (ValidateFileName(path) == 0)
    {
        return 0;
    }
    DFB stream;
    return OpenWithMetaInfo(stream);
}

// A big-endian data set holds host-order values once read, so the file
// counts as explicit VR little endian from then on.
int DICOMFile::Load(InBuffer& stream)
{
    ClearDataSet();
    if (!IsReadableSyntax(m_meta->GetMetaTransferSyntax().TransferSyntaxName))
    {
        return 0;
    }
    PreRead(stream);
    int result = 0;
    switch (m_meta->GetEndianType())
    {
    case enImplicitLittle:
        result = FixDecoder(stream).DecodeImplicit(this);
        break;
    case enExplicitBig:
        result = BigEndianDecoder(stream).Decode(this);
        SetTransferSyntax(UidTransferLittleEndianExplicit);
        break;
    default:
        result = FixDecoder(stream).DecodeExplicit(this);
        break;
    }
    if (result != 0 && IsEmpty() != 0)
    {
        _error("Enter DICOMFile::Load, no data set follows the file meta information");
        return 0;
    }
    return result;
}

int DICOMFile::LoadTillTag(InBuffer& stream, unsigned int tag, int implicit)
{
    FixDecoder decoder(stream);
    return RunTillTag(*this, stream, tag,
                      [&](std::uint32_t stopTag)
                      { return decoder.DecodeTillTag(this, stopTag, implicit); });
}

int DICOMFile::BigEndianLoadTillTag(InBuffer& stream, unsigned int tag)
{
    BigEndianDecoder decoder(stream);
    return RunTillTag(*this, stream, tag,
                      [&](std::uint32_t stopTag) { return decoder.DecodeTillTag(this, stopTag); });
}

int DICOMFile::LoadTillTagBySyntax(InBuffer& stream, unsigned int tag)
{
    ClearDataSet();
    int result = 0;
    switch (IsReadableSyntax(m_meta->GetMetaTransferSyntax().TransferSyntaxName)
                ? m_meta->GetEndianType()
                : -1)
    {
    case enImplicitLittle:
        result = LoadTillTag(stream, tag, 1);
        break;
    case enExplicitBig:
        result = BigEndianLoadTillTag(stream, tag);
        break;
    case -1:
        break;
    default:
        result = LoadTillTag(stream, tag, 0);
        break;
    }
    Add(StopOffsetGroup, StopOffsetElement, static_cast<unsigned int>(result));
    return result;
}

int DICOMFile::ReadFileTillTag(const char* path, unsigned int tag)
{
    ClearDataSet();
    if (ValidateFileName(path) == 0)
    {
        return 0;
    }
    IFB stream;
    if (stream.Open(m_fileName, ShareDenyNone) == 0)
    {
        _error("DICOMFile::ReadFileTillTag, cannot open file: %s", m_fileName);
        return 0;
    }
    stream.SetPullSize(HeaderPullSize);
    if (LoadMetaInfo(stream) == 0)
    {
        _error("DICOMFile::ReadFileTillTag, Parse file failed: %s", m_fileName);
        return 0;
    }
    const int result = LoadTillTagBySyntax(stream, tag);
    if (result == 0)
    {
        _error("DICOMFile::ReadFileTillTag, Parse file failed: %s", m_fileName);
    }
    return result;
}

int DICOMFile::ReadFileNoImage(const char* path)
{
    return ReadFileTillTag(path, PixelDataTag);
}

int DICOMFile::DeserializeTillTag(const unsigned char* data, int size, unsigned int tag)
{
    if (data == nullptr || size <= 0)
    {
        return 0;
    }
    ClearDataSet();
    MemInBuffer stream(data, static_cast<std::uint32_t>(size));
    if (LoadMetaInfo(stream) == 0)
    {
        _error("Cannot LoadMetaInfo in DICOMFile::Deserialize");
        return 0;
    }
    return LoadTillTagBySyntax(stream, tag);
}

int DICOMFile::Deserialize(const unsigned char* data, int size)
{
    if (data == nullptr || size <= 0)
    {
        return 0;
    }
    MemInBuffer stream(data, static_cast<std::uint32_t>(size));
    if (LoadMetaInfo(stream) == 0)
    {
        _error("Cannot LoadMetaInfo in DICOMFile::Deserialize");
        return 0;
    }
    if (Load(stream) == 0)
    {
        return 0;
    }
    return size - static_cast<int>(stream.GetAvailable());
}

Lettra DICOMFile::ToString()
{
    Lettra text = "(File Name)";
    text += " , ";
    text += m_fileName;
    text += "\r\n";
    text += DataSetForms::ToStringOfTabStop(*m_meta, 0, 0);
    text += "\r\n";
    text += DataSetForms::ToStringOfTabStop(*this, 0, 0);
    return text;
}

int DICOMFile::GetMetaInfo(DICOMDataSet* out) const
{
    if (out == nullptr)
    {
        return 0;
    }
    m_meta->CopyTo(*out);
    return 1;
}

void DICOMFile::GetTransferSyntax(UID& out) const
{
    m_meta->GetTransferSyntax(out);
}

void DICOMFile::SetTransferSyntax(const UID& uid)
{
    m_meta->SetTransferSyntax(uid);
}

int DICOMFile::SetSourceApplicationAE(const char* text)
{
    return m_meta->SetSourceApplicationAE(text);
}

int DICOMFile::SetImplementationClassUID(const char* text)
{
    return m_meta->SetImplementationClassUID(text);
}

int DICOMFile::SetImplementationVersionName(const char* text)
{
    return m_meta->SetImplementationVersionName(text);
}

int DICOMFile::RemoveMetaHead()
{
    return DeleteGroup(0x0002);
}
