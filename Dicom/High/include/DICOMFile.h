// DICOMFile: a data set that knows its file. It reads a DICOM file whole,
// up to a tag or only its meta information, writes it back as a Part 10
// file (or as a bare implicit VR little-endian data set), turns it into a
// memory image and back, and keeps its file meta information in a MetaInfo
// of its own. Every read and write opens and closes its own stream.
//
// A partial read adds the working element (0007,0605), the stop offset: the
// number of bytes consumed when reading stopped, which is the offset of the
// first element not read (normally the pixel data).
//
// A file is written under a temporary name beside its target and renamed
// over it only once every byte has been written, so a failed write leaves
// a good file of that name as it was.
#pragma once

#include "DICOMDataSet.h"
#include "Lettra.h"
#include "UID.h"
#include "VeltaroExport.h"

#include <cstdint>

class DFB;
class InBuffer;
class MetaInfo;
class OutBuffer;

class VELTARO_API DICOMFile : public DICOMDataSet
{
public:
    static constexpr int FileNameSize = 260;
    static constexpr std::uint16_t StopOffsetGroup = 0x0007;
    static constexpr std::uint16_t StopOffsetElement = 0x0605;
    static constexpr unsigned int PixelDataTag = 0x7FE00010;

    DICOMFile();
    // Names the file; nothing is read.
    explicit DICOMFile(const char* path);
    // A copy of the elements, explicit VR little endian, no file name.
    explicit DICOMFile(const DICOMVRSet& set);
    // A copy of the elements, the transfer syntax and the file name; the
    // other meta elements are not copied.
    DICOMFile(const DICOMFile& other);
    DICOMFile& operator=(const DICOMFile& other);
    ~DICOMFile() override;

    // Copy (or move) the elements into the target, replacing equal tags,
    // with the transfer syntax and the file name; return 1.
    int CopyTo(DICOMFile& target) const;
    int TransferTo(DICOMFile& target);
    // The elements only.
    using DICOMVRSet::CopyTo;
    // Moves the elements into the target, replacing equal tags; returns 1.
    int TransferTo(DICOMVRSet& target);

    // Empties the meta elements and the data set; the file name and the
    // transfer syntax stay.
    void Reset() override;

    // 0 (and a log line) for an empty name; at most 259 characters kept.
    int ValidateFileName(const char* path);
    const char* GetFileName() const { return m_fileName; }
    // The size of the named file, 0 when it cannot be opened.
    unsigned int GetFileSize() const;

    // The whole file; the result of the data-set read, 0 on failure.
    virtual int ReadFile(const char* path);
    // The meta information only; the data set is left as it was.
    virtual int ReadMetaHead(const char* path);
    // Every element before the tag; returns the stop offset (also added
    // as (0007,0605)), 0 on failure.
    virtual int ReadFileTillTag(const char* path, unsigned int tag);
    // Everything but the pixel data.
    virtual int ReadFileNoImage(const char* path);
    // The rest of the stream, after LoadMetaInfo; 0 on failure or when the
    // stream holds no element.
    virtual int Load(InBuffer& stream);
    // The partial readers behind ReadFileTillTag: the bytes consumed when
    // the first element at or after the tag was met, 0 on failure.
    virtual int LoadTillTag(InBuffer& stream, unsigned int tag, int implicit);
    virtual int BigEndianLoadTillTag(InBuffer& stream, unsigned int tag);
    int LoadMetaInfo(InBuffer& stream);

    // withMeta 0: the bare data set in implicit VR little endian; else a
    // Part 10 file in the file's transfer syntax. Nonzero on success.
    virtual int WriteFile(const char* path, int withMeta);
    // Encodes the data set only (withMeta 0: implicit VR little endian).
    virtual int Write(OutBuffer& stream, int withMeta);
    // Rebuilds the meta group from (0008,0016) and (0008,0018).
    virtual int BuildMetaHead();
    // The bytes the memory image (withMeta 1) or the bare data set takes.
    unsigned int GetEncodeSize(int withMeta);
    // The memory image, the same bytes WriteFile writes: its size when it
    // fits, the size needed (and a log line) when the buffer is too small;
    // the size needed for a null buffer or size 0; 0 on failure.
    int Serialize(unsigned char* buffer, int size) override;
    // Reads a memory image; the bytes used, 0 on failure.
    int Deserialize(const unsigned char* data, int size) override;
    // As ReadFileTillTag over a memory image.
    virtual int DeserializeTillTag(const unsigned char* data, int size, unsigned int tag);

    // "(File Name) , " and the name, then the dumps of the meta elements
    // and of the data set, each line ended by CR LF.
    using DICOMDataSet::ToString;
    Lettra ToString() override;
    // Another transfer syntax for the data set. Without pixel data the
    // data set is labelled explicit VR little endian; otherwise the pixel
    // data is relabelled or recoded as DICOMImage does it. A failure leaves
    // the data set as it was.
    virtual int ConvertTo(const UID& uid);
    virtual int IsValid() { return 1; }
    virtual int FixMe() { return 1; }

    // Copies the meta elements into the set; 0 for a null pointer.
    int GetMetaInfo(DICOMDataSet* out) const;
    void GetTransferSyntax(UID& out) const;
    void SetTransferSyntax(const UID& uid);
    int SetSourceApplicationAE(const char* text);
    int SetImplementationClassUID(const char* text);
    int SetImplementationVersionName(const char* text);
    // Deletes group 0002 from the data set; 1 when it was there.
    int RemoveMetaHead();

protected:
    MetaInfo& GetMeta() { return *m_meta; }
    const MetaInfo& GetMeta() const { return *m_meta; }
    // Empties the elements of the data set only.
    void ClearDataSet() { DICOMDataSet::Reset(); }

private:
    // Opens the named file for a whole read and reads its meta information.
    int OpenWithMetaInfo(DFB& stream);
    int LoadFromFile();
    int LoadTillTagBySyntax(InBuffer& stream, unsigned int tag);
    int WriteTemporary(const char* temporaryPath, int withMeta);
    int WritePart10(OutBuffer& stream);
    int EncodeBySyntax(OutBuffer& stream);

    MetaInfo* m_meta;
    char m_fileName[FileNameSize] = {};
};
