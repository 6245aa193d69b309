// The character repertoire a data set's texts are coded in, as its Specific
// Character Set (0008,0005) names it, and the conversion of those texts to
// and from UTF-8.
//
// Converted: the single-byte ISO 8859 repertoires (ISO_IR 100, 101, 109,
// 110, 144, 127, 126, 138, 148) and UTF-8 (ISO_IR 192). No value, or
// ISO_IR 6, is the default repertoire, which the process code page covers.
// Anything else (code extensions, several values, other terms) cannot be
// converted here; its texts keep passing through the process code page.
#pragma once

#include "Lettra.h"

#include <cstdint>

class DICOMVRSet;

class DicomCharacterSet
{
public:
    enum class enRepertoire
    {
        Default,
        Converted,
        Unsupported
    };

    // The default repertoire.
    DicomCharacterSet() = default;
    // From the value of (0008,0005), blanks around it ignored.
    explicit DicomCharacterSet(const Lettra& term);

    // The repertoire a set's texts are in: its own (0008,0005), or the one
    // it inherits (from the set holding it as an item) when it has none.
    static DicomCharacterSet Of(const DICOMVRSet& set, const DicomCharacterSet& inherited);
    // The value representations whose texts follow the repertoire.
    static bool IsAffected(std::uint16_t code);

    enRepertoire GetRepertoire() const { return m_repertoire; }
    bool IsConverted() const { return m_repertoire == enRepertoire::Converted; }
    const Lettra& GetTerm() const { return m_term; }

    // The bytes of a text in this repertoire as UTF-8; false when they are
    // not valid in it (or it is not converted).
    bool ToUtf8(const char* text, int length, Lettra& utf8) const;
    // A UTF-8 text in this repertoire; false when a character has no place
    // in it.
    bool FromUtf8(const Lettra& utf8, Lettra& text) const;

private:
    Lettra m_term;
    enRepertoire m_repertoire = enRepertoire::Default;
    const char* m_iconvName = nullptr;
};
