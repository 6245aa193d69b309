// Helpers of the coder tests: a writer of coded elements made by hand (so
// that decoding is checked against bytes the library did not produce), and
// one entry for decoding and encoding each native syntax.
#pragma once

#include "BigEndianDecoder.h"
#include "BigEndianEncoder.h"
#include "DICOMDataSet.h"
#include "FixDecoder.h"
#include "FixEncoder.h"
#include "InBuffer.h"
#include "OutBuffer.h"
#include "VRCode.h"

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

enum class enSyntax
{
    ImplicitLittle,
    ExplicitLittle,
    ExplicitBig
};

inline const char* NameOf(enSyntax syntax)
{
    switch (syntax)
    {
    case enSyntax::ImplicitLittle:
        return "ImplicitLittle";
    case enSyntax::ExplicitLittle:
        return "ExplicitLittle";
    default:
        return "ExplicitBig";
    }
}

// Writes elements in one syntax, byte by byte.
class StreamBuilder
{
public:
    explicit StreamBuilder(enSyntax syntax) : m_syntax(syntax) {}

    StreamBuilder& U16(std::uint16_t value)
    {
        const bool big = m_syntax == enSyntax::ExplicitBig;
        m_bytes.push_back(static_cast<std::uint8_t>(big ? value >> 8 : value));
        m_bytes.push_back(static_cast<std::uint8_t>(big ? value : value >> 8));
        return *this;
    }
    StreamBuilder& U32(std::uint32_t value)
    {
        return m_syntax == enSyntax::ExplicitBig
                   ? U16(static_cast<std::uint16_t>(value >> 16))
                         .U16(static_cast<std::uint16_t>(value))
                   : U16(static_cast<std::uint16_t>(value))
                         .U16(static_cast<std::uint16_t>(value >> 16));
    }
    StreamBuilder& Raw(const Bytes& bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    StreamBuilder& Text(const std::string& text) { return Raw(Bytes(text.begin(), text.end())); }

    // Tag, VR (explicit syntaxes) and length, in the syntax's form.
    StreamBuilder& Header(std::uint16_t group, std::uint16_t element, const char* vr,
                          std::uint32_t length)
    {
        U16(group).U16(element);
        if (m_syntax == enSyntax::ImplicitLittle)
        {
            return U32(length);
        }
        const std::uint16_t code = VRCode::Make(vr[0], vr[1]);
        m_bytes.push_back(static_cast<std::uint8_t>(vr[0]));
        m_bytes.push_back(static_cast<std::uint8_t>(vr[1]));
        if (VRCode::IsLongForm(code))
        {
            return U16(0).U32(length);
        }
        return U16(static_cast<std::uint16_t>(length));
    }
    StreamBuilder& Element(std::uint16_t group, std::uint16_t element, const char* vr,
                           const Bytes& value)
    {
        return Header(group, element, vr, static_cast<std::uint32_t>(value.size())).Raw(value);
    }
    StreamBuilder& TextElement(std::uint16_t group, std::uint16_t element, const char* vr,
                               const std::string& text)
    {
        return Element(group, element, vr, Bytes(text.begin(), text.end()));
    }
    // Item, item delimiter and sequence delimiter tags.
    StreamBuilder& Item(std::uint32_t length = 0xFFFFFFFF)
    {
        return U16(0xFFFE).U16(0xE000).U32(length);
    }
    StreamBuilder& ItemEnd() { return U16(0xFFFE).U16(0xE00D).U32(0); }
    StreamBuilder& SequenceEnd() { return U16(0xFFFE).U16(0xE0DD).U32(0); }

    const Bytes& GetBytes() const { return m_bytes; }
    std::size_t GetSize() const { return m_bytes.size(); }

private:
    enSyntax m_syntax;
    Bytes m_bytes;
};

// The elements of one group as the explicit encoders write them: the group
// length element first.
inline Bytes WithGroupLength(enSyntax syntax, std::uint16_t group, const Bytes& elements)
{
    StreamBuilder stream(syntax);
    stream.Header(group, 0x0000, "UL", 4).U32(static_cast<std::uint32_t>(elements.size()));
    return stream.Raw(elements).GetBytes();
}

inline int DecodeBytes(const Bytes& bytes, enSyntax syntax, DICOMVRSet* set)
{
    MemInBuffer stream(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    switch (syntax)
    {
    case enSyntax::ImplicitLittle:
        return FixDecoder(stream).DecodeImplicit(set);
    case enSyntax::ExplicitLittle:
        return FixDecoder(stream).DecodeExplicit(set);
    default:
        return BigEndianDecoder(stream).Decode(set);
    }
}

inline Bytes EncodeSet(DICOMVRSet& set, enSyntax syntax)
{
    MemOutBuffer out;
    switch (syntax)
    {
    case enSyntax::ImplicitLittle:
        FixEncoder(out).EncodeImplicit(&set);
        break;
    case enSyntax::ExplicitLittle:
        FixEncoder(out).EncodeExplicit(&set);
        break;
    default:
        BigEndianEncoder(out).Encode(&set);
        break;
    }
    Bytes bytes(out.GetTotal());
    out.CopyOut(bytes.data());
    return bytes;
}

// Where a file's data set starts and how it is coded: after the preamble,
// "DICM" and the group 0002 elements (read here by hand), in the syntax the
// meta information names; a file without them, or without a transfer
// syntax, is judged by its first element.
struct DataSetPlace
{
    std::size_t offset = 0;
    enSyntax syntax = enSyntax::ExplicitLittle;
    bool native = true; // false for the compressed and deflated syntaxes
};

inline DataSetPlace LocateDataSet(const Bytes& file)
{
    DataSetPlace place;
    std::string syntax;
    if (file.size() >= 132 && std::string(file.begin() + 128, file.begin() + 132) == "DICM")
    {
        std::size_t position = 132;
        while (position + 8 <= file.size() && file[position] == 2 && file[position + 1] == 0)
        {
            const std::uint16_t element =
                static_cast<std::uint16_t>(file[position + 2] | file[position + 3] << 8);
            const std::uint16_t code = VRCode::Make(static_cast<char>(file[position + 4]),
                                                    static_cast<char>(file[position + 5]));
            std::size_t header = 8;
            std::size_t length = file[position + 6] | file[position + 7] << 8;
            if (VRCode::IsLongForm(code) && position + 12 <= file.size())
            {
                header = 12;
                length = file[position + 8] | file[position + 9] << 8 | file[position + 10] << 16 |
                         static_cast<std::size_t>(file[position + 11]) << 24;
            }
            if (position + header + length > file.size())
            {
                break;
            }
            if (element == 0x0010)
            {
                syntax.assign(file.begin() + position + header,
                              file.begin() + position + header + length);
                syntax.erase(syntax.find_last_not_of(std::string(" \0", 2)) + 1);
            }
            position += header + length;
        }
        place.offset = position;
    }
    if (syntax == "1.2.840.10008.1.2")
    {
        place.syntax = enSyntax::ImplicitLittle;
    }
    else if (syntax == "1.2.840.10008.1.2.2")
    {
        place.syntax = enSyntax::ExplicitBig;
    }
    else if (!syntax.empty())
    {
        place.native = syntax == "1.2.840.10008.1.2.1";
    }
    else if (place.offset + 6 <= file.size())
    {
        const std::uint8_t* first = file.data() + place.offset;
        const bool explicitVR =
            first[4] >= 'A' && first[4] <= 'Z' && first[5] >= 'A' && first[5] <= 'Z';
        place.syntax = !explicitVR                      ? enSyntax::ImplicitLittle
                       : first[0] == 0 && first[1] != 0 ? enSyntax::ExplicitBig
                                                        : enSyntax::ExplicitLittle;
    }
    return place;
}
