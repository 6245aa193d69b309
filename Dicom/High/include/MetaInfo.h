// MetaInfo: the file meta information of a DICOM file: the group 0002
// elements (held as the set itself), the transfer syntax that governs the
// rest of the file, and the 128-byte preamble. It reads them from the start
// of a stream, telling Part 10 files from meta groups without preamble and
// from raw data sets, rebuilds group 0002 before writing and writes the
// header: preamble, "DICM" and group 0002 in explicit VR little endian led
// by its group length (0002,0000), which holds the exact byte count of the
// rest of the group.
#pragma once

#include "DICOMDataSet.h"
#include "Lettra.h"
#include "UID.h"
#include "VeltaroExport.h"

#include <cstdint>

class InBuffer;
class OutBuffer;

// The coding class of a transfer syntax; every compressed syntax is coded
// as explicit VR little endian around its encapsulated pixel data.
enum enEndianType
{
    enEndianUnknown = 0,
    enImplicitLittle = 100,
    enExplicitLittle = 101,
    enExplicitBig = 102
};

struct MetaTransferSyntax
{
    int Index = -1; // row of the transfer-syntax table, -1 when not in it
    UID TransferSyntaxName;
    int EndianType = enEndianUnknown;
    std::uint16_t PixelVR = 0; // written for the pixel data: OW or OB, 0 when unknown
};

// One row of the table of known transfer syntaxes.
struct TransferSyntaxRow
{
    const char* Uid;
    std::uint16_t PixelVR;
    int EndianType;
};

class VELTARO_API MetaInfo : public DICOMDataSet
{
public:
    static constexpr std::uint32_t PreambleSize = 128;
    // Preamble and "DICM".
    static constexpr std::uint32_t PrefixSize = 132;

    MetaInfo();

    // The row of the table whose UID equals the text, -1 when none does.
    static int FindTransferSyntax(const char* uid);
    static int GetTransferSyntaxCount();
    static const TransferSyntaxRow& GetTransferSyntaxRow(int index);

    // Stores the UID with its table record and puts it into (0002,0010).
    void SetTransferSyntax(const UID& uid);
    void GetTransferSyntax(UID& out) const;
    const MetaTransferSyntax& GetMetaTransferSyntax() const { return m_syntax; }
    int GetEndianType() const { return m_syntax.EndianType; }
    std::uint16_t GetPixelVR() const { return m_syntax.PixelVR; }
    const std::uint8_t* GetPreamble() const { return m_preamble; }

    // Reads what comes before the data set and settles the transfer
    // syntax, leaving the stream at the first element of the data set.
    // 0 when the stream is empty, when its meta group cannot be decoded,
    // or when it holds neither a meta group nor the start of a data set.
    int LoadMetaInfo(InBuffer& stream);
    // Reads group 0002 and takes the transfer syntax from (0002,0010); 1
    // when the syntax is a known one, 0 otherwise (a missing (0002,0010)
    // is logged and leaves implicit VR little endian).
    int ParseMetaGroup(InBuffer& stream);
    // Rebuilds group 0002 for writing: SOP class and instance, transfer
    // syntax, the library's default elements and the file's own texts;
    // the preamble becomes the library's template. Returns 1.
    int BuildMetaGroup(const UID& sopClass, const UID& sopInstance);
    // Preamble, "DICM" and the meta group; returns 1.
    int WriteHeader(OutBuffer& out);
    // The bytes WriteHeader writes.
    std::uint32_t GetHeaderSize();

    // Texts that replace the library's defaults in the next header built;
    // 0 for a null pointer.
    int SetSourceApplicationAE(const char* text);
    int SetImplementationClassUID(const char* text);
    int SetImplementationVersionName(const char* text);

private:
    void SetSyntaxRecord(const UID& uid);
    int SettleTransferSyntax();
    int ReadMetaGroup(InBuffer& stream);
    int DetectWithoutPreamble(InBuffer& stream);
    bool IsMetaGroupWithoutPreamble(InBuffer& stream);

    MetaTransferSyntax m_syntax;
    std::uint8_t m_preamble[PreambleSize] = {};
    Lettra m_sourceApplicationAE;
    Lettra m_implementationClassUID;
    Lettra m_implementationVersionName;
};
