// DicomLookupTable: the abstract lookup table of the viewer, which turns
// stored pixel values into display values. Its subclasses are the sigmoid
// VOI function (SigmoidVOILookupTable), the linear window with rescale
// (TDWLookupTable), an explicit VOI LUT of the data set (VOILookupTable)
// and the 256-entry palette of PALETTE COLOR images (ColorLookupTable).
//
// The 8-bit display table is one block of TableSize bytes indexed from its
// middle, so that the signed and the unsigned 16-bit input ranges both fit:
// BuildTable and InvertTable return the middle pointer, valid for indices
// -65536 .. 65535. A table is built once and kept until the window or the
// data behind it changes, so repeated paints cost no table work.
// Conversions from floating point to integer truncate toward zero.
#pragma once

#include "AfxObject.h"
#include "Lettra.h"
#include "QuillonExport.h"

#include <cstdint>

class DICOMVRSet;
class MetaMatrix;
class MetaMatrix16;

class QUILLON_API DicomLookupTable : public CObject
{
    DECLARE_DYNAMIC(DicomLookupTable)

public:
    static constexpr int TableOffset = 0x10000;
    static constexpr int TableSize = 2 * TableOffset;

    // Kind and ability bits of the type flags.
    enum enType : std::uint32_t
    {
        enCloneable = 0x0001,   // may be cloned into a new window table
        enAdjustable = 0x0002,  // follows window and level
        enWindowTable = 0x0008, // an existing window table to reuse
        enAutoWindow = 0x0010,  // the automatic window of the samples
        enOwnerMark = 0x0020,   // set by the owner, carried into clones
        enSigmoidKind = 0x0200,
        enTDWKind = 0x0400,
        enColorKind = 0x0800,
        enVOIDerived = 0x8000,
        enWindowKind = enSigmoidKind | enAdjustable // 514
    };

    ~DicomLookupTable() override;

    virtual bool InitFromDataSet(const DICOMVRSet& set) = 0;
    virtual bool ToDicomDataSet(DICOMVRSet& set) = 0;
    // The 8-bit display table (middle pointer); null when the table cannot
    // be built.
    std::uint8_t* BuildTable();
    // The same with every entry v turned into 255 - v.
    std::uint8_t* InvertTable();
    void FreeTable();
    // A clone of the matrix mapped by Apply (caller owns); null when the
    // matrix is missing or empty or the table is not valid.
    virtual MetaMatrix* ApplyToCopy(const MetaMatrix* matrix);
    // Maps every sample of the 16-bit matrix in place to 0 .. 4095 (the
    // VOI LUT: to its own entries) and records the new minimum and maximum.
    virtual void Apply(MetaMatrix16* matrix) = 0;
    virtual void SetWindowLevel(int width, int center);
    virtual double RawToValue(double raw) const;
    virtual double ValueToRaw(double value) const;
    virtual bool IsValid() const;
    virtual int GetWindowWidth() const;
    virtual int GetWindowCenter() const;
    virtual DicomLookupTable* Clone() const = 0;
    virtual bool IsEqual(const DicomLookupTable* other) const = 0;
    // Takes the state of a table of the same class; false for another class.
    virtual bool CopyFrom(const DicomLookupTable& source) = 0;

    const Lettra& GetDescription() const { return m_strDescription; }
    void SetDescription(const char* text) { m_strDescription = text; }
    std::uint32_t GetType() const { return m_nType; }
    void SetType(std::uint32_t type) { m_nType = type; }
    void AddType(std::uint32_t bits) { m_nType |= bits; }
    bool HasType(std::uint32_t mask) const { return (m_nType & mask) == mask; }
    int GetInstanceNo() const { return m_nInstanceNo; }
    // The middle pointer of the built table, or null.
    std::uint8_t* GetTable() const
    {
        return m_pTable != nullptr ? m_pTable + TableOffset : nullptr;
    }

protected:
    explicit DicomLookupTable(std::uint32_t type);
    // A new block of TableSize display levels (new[]), or null when the
    // table cannot be built.
    virtual std::uint8_t* CreateTable() = 0;
    bool IsSameClass(const DicomLookupTable* other) const;
    // The base fields of the source, the built table excepted.
    void CopyBaseFrom(const DicomLookupTable& source);

    std::uint8_t* m_pTable = nullptr;
    bool m_bTableInverted = false;
    Lettra m_strDescription;
    std::uint32_t m_nType;
    int m_nInstanceNo;
};

// Truncates toward zero into the int range; not-a-number gives 0, the
// infinities and values beyond the range the nearest end.
QUILLON_API int TruncateToInt(double value);
