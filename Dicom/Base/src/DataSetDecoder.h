// The element loop behind FixDecoder and BigEndianDecoder: reads elements of
// one coding from a stream into a set, items and sequences included, and
// stops with a failure and a log line on data it cannot trust: a length
// running past the end, a value too long, items or sequences that never
// end or nest too deep.
#pragma once

#include "DataSetCoding.h"

#include <cstdint>
#include <memory>
#include <optional>

class DataSetArena;
class DICOMVRSet;
class InBuffer;
class VR;

class DataSetDecoder
{
public:
    // The returns of the till-tag loop beside a stop tag.
    static constexpr std::uint32_t TillTagEnded = 0;
    static constexpr std::uint32_t TillTagDelimiter = 0xFFFEE000;
    static constexpr std::uint32_t TillTagFailed = 0xFFFFFFFF;

    // An outermost decoder (without an arena) takes the elements of each
    // call from an arena of its own; the decoders of items and sequences
    // share it.
    DataSetDecoder(InBuffer& stream, enCoding coding, int depth = 0, DataSetArena* arena = nullptr);

    // The full loop: 1 when the stream ends or a delimiter closes the level,
    // 0 on failure. A level that must be closed by a delimiter fails when
    // the stream ends first.
    int Decode(DICOMVRSet* set, bool closedByDelimiter = false);
    // Reads up to the first element whose tag is above stopTag, leaves the
    // stream standing on it and returns its tag; otherwise one of the
    // TillTag values.
    std::uint32_t DecodeTillTag(DICOMVRSet* set, std::uint32_t stopTag);
    // The fragments of encapsulated pixel data, each attached to the
    // element pushed last as an item holding one (FFFE,E000) element.
    int DecodeFragments(DICOMVRSet* set);

private:
    enum enStep
    {
        enStepNext,
        enStepClosed,
        enStepFailed
    };
    enum enLoop
    {
        enFullLoop,
        enTillTagLoop
    };
    struct Header
    {
        std::uint8_t tagBytes[4];
        std::uint16_t group;
        std::uint16_t element;
        std::uint16_t typeCode;
        std::uint32_t length;
        bool typeFromDictionary;
    };
    // The bytes of a body of defined length: in place in the stream (which
    // skips them when they are released) or in a block of their own.
    struct BodyBytes
    {
        const std::uint8_t* data = nullptr;
        const std::uint8_t* inPlace = nullptr;
        std::uint32_t size = 0;
        std::uint32_t length = 0;
        std::unique_ptr<std::uint8_t[]> owned;
    };

    bool IsBigEndian() const { return m_coding == enCoding::ExplicitBig; }
    bool HasHeadBytes();
    bool ReadTag(Header& header);
    bool Read16(std::uint16_t& value);
    bool Read32(std::uint32_t& value);
    bool ReadTypeAndLength(Header& header, enLoop loop);
    enStep DecodeElement(DICOMVRSet* set, const Header& header, enLoop loop);
    enStep DecodeItemTag(DICOMVRSet* set, const Header& header, enLoop loop);
    enStep DecodeUndefinedLength(DICOMVRSet* set, const Header& header);
    enStep DecodeSequenceBody(DICOMVRSet* set, const Header& header);
    enStep DecodeGuessedSequence(DICOMVRSet* set, const Header& header, enCoding coding);
    bool IsSequenceCodedAsUN(const Header& header) const;
    bool TakeBody(std::uint32_t length, bool padToEven, BodyBytes& body);
    void ReleaseBody(BodyBytes& body);
    enStep DecodeValue(DICOMVRSet* set, const Header& header);
    int DecodeBody(DICOMVRSet* set, std::uint32_t length);
    bool AttachItem(DICOMVRSet* set, DICOMVRSet* item);
    bool CheckLength(const DICOMVRSet& set, const Header& header);
    bool CheckRemaining(const Header& header);
    std::optional<std::uint32_t> GetItemBodyLength(const Header& header);
    bool CheckDepth() const;

    // Opens the arena for one call of an outermost decoder, and closes it.
    class ArenaOpening
    {
    public:
        explicit ArenaOpening(DataSetArena*& arena);
        ArenaOpening(const ArenaOpening&) = delete;
        ArenaOpening& operator=(const ArenaOpening&) = delete;
        ~ArenaOpening();

    private:
        DataSetArena*& m_arena;
        bool m_opened;
    };

    VR* NewElement(std::uint16_t group, std::uint16_t element);

    InBuffer& m_stream;
    enCoding m_coding;
    int m_depth;
    DataSetArena* m_arena;
};
