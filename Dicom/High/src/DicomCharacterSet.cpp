#include "DicomCharacterSet.h"

#include "DICOMVRSet.h"
#include "VR.h"
#include "VRCode.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>

namespace
{

struct TermName
{
    const char* term;
    const char* iconvName;
};

constexpr TermName ConvertedTerms[] = {
    {"ISO_IR 100", "ISO-8859-1"}, {"ISO_IR 101", "ISO-8859-2"}, {"ISO_IR 109", "ISO-8859-3"},
    {"ISO_IR 110", "ISO-8859-4"}, {"ISO_IR 144", "ISO-8859-5"}, {"ISO_IR 127", "ISO-8859-6"},
    {"ISO_IR 126", "ISO-8859-7"}, {"ISO_IR 138", "ISO-8859-8"}, {"ISO_IR 148", "ISO-8859-9"},
    {"ISO_IR 192", "UTF-8"},
};

constexpr std::uint16_t SpecificCharacterSetGroup = 0x0008;
constexpr std::uint16_t SpecificCharacterSetElement = 0x0005;

bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\0';
}

// The term without the blanks (and NUL padding) around it.
std::string Stripped(const char* text, int length)
{
    int first = 0;
    while (first < length && IsBlank(text[first]))
        ++first;
    while (length > first && IsBlank(text[length - 1]))
        --length;
    return std::string(text + first, static_cast<std::size_t>(length - first));
}

// Converts the whole text or nothing: an invalid or unconvertible byte
// sequence fails the conversion instead of being replaced.
bool Convert(const char* to, const char* from, const char* text, int length, Lettra& out)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    // Every repertoire here takes at most 4 bytes a character in UTF-8 and
    // at most as many bytes as UTF-8 does the other way.
    std::string buffer(static_cast<std::size_t>(length) * 4 + 4, '\0');
    char* in = const_cast<char*>(text);
    std::size_t inLeft = static_cast<std::size_t>(length);
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    const bool converted =
        iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0 &&
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!converted)
        return false;
    out = Lettra(buffer.data(), static_cast<int>(outPtr - buffer.data()));
    return true;
}

} // namespace

DicomCharacterSet::DicomCharacterSet(const Lettra& term)
    : m_term(Stripped(term.constBuffer(), term.GetLength()).c_str())
{
    if (m_term.IsEmpty() || std::strcmp(m_term, "ISO_IR 6") == 0)
        return;
    m_repertoire = enRepertoire::Unsupported;
    for (const TermName& entry : ConvertedTerms)
    {
        if (std::strcmp(m_term, entry.term) == 0)
        {
            m_repertoire = enRepertoire::Converted;
            m_iconvName = entry.iconvName;
            return;
        }
    }
}

DicomCharacterSet DicomCharacterSet::Of(const DICOMVRSet& set, const DicomCharacterSet& inherited)
{
    const VR* element = set.GetVR(SpecificCharacterSetGroup, SpecificCharacterSetElement);
    if (element == nullptr)
        return inherited;
    return DicomCharacterSet(Lettra(static_cast<const char*>(element->GetData()),
                                    static_cast<int>(element->GetLength())));
}

bool DicomCharacterSet::IsAffected(std::uint16_t code)
{
    switch (code)
    {
    case VRCode::SH:
    case VRCode::LO:
    case VRCode::ST:
    case VRCode::LT:
    case VRCode::PN:
    case VRCode::UC:
    case VRCode::UT:
        return true;
    default:
        return false;
    }
}

bool DicomCharacterSet::ToUtf8(const char* text, int length, Lettra& utf8) const
{
    return IsConverted() && Convert("UTF-8", m_iconvName, text, length, utf8);
}

bool DicomCharacterSet::FromUtf8(const Lettra& utf8, Lettra& text) const
{
    return IsConverted() &&
           Convert(m_iconvName, "UTF-8", utf8.constBuffer(), utf8.GetLength(), text);
}
