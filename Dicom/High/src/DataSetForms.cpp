// The text and XML forms of element sets.
#include "DataSetForms.h"

#include "DDateTime.h"
#include "DICOMDataSet.h"
#include "DICOMVRSet.h"
#include "DMarkup.h"
#include "DicomCharacterSet.h"
#include "DicomDictionary.h"
#include "FixDecoder.h"
#include "FixEncoder.h"
#include "InBuffer.h"
#include "MemoryImage.h"
#include "OutBuffer.h"
#include "VR.h"
#include "VRCode.h"
#include "VeltaroLog.h"
#include "WinCodePage.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

constexpr unsigned int kUtf8 = 65001;
constexpr unsigned int kNoConversion = 0xFFFFFFFF;
constexpr int kMaxTabs = 40;
// Numbers shown per element, as in the element's own value text.
constexpr unsigned int kMaxNumbers = 11;

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                 "<!-- <?xml:stylesheet type=\"text/xsl\" "
                                 "href=\"DICOMDataSet.xsl\" ?> -->\r\n";

Lettra Now()
{
    return DDateTime::GetTickCount().Format("%Y%m%d %H%M%S");
}

Lettra Hex4(unsigned int value)
{
    Lettra text;
    text.Format("0x%04x", value);
    return text;
}

bool IsTextCode(std::uint16_t code)
{
    switch (code)
    {
    case VRCode::AE:
    case VRCode::AS:
    case VRCode::CS:
    case VRCode::DA:
    case VRCode::DS:
    case VRCode::DT:
    case VRCode::IS:
    case VRCode::LO:
    case VRCode::LT:
    case VRCode::PN:
    case VRCode::SH:
    case VRCode::ST:
    case VRCode::TM:
    case VRCode::UI:
    case VRCode::UC:
    case VRCode::UR:
        return true;
    default:
        return false;
    }
}

// The numbers of a binary value, each "%4d"-style as the element's value text
// writes them, with a blank put between two numbers whose texts would
// otherwise run together (so that "1024" and "2048" read back as two).
template <typename T> Lettra NumberText(const VR& element, const char* format)
{
    const unsigned int count = std::min<unsigned int>(element.GetLength() / sizeof(T), kMaxNumbers);
    const auto* data = static_cast<const std::uint8_t*>(element.GetData());
    Lettra text;
    for (unsigned int i = 0; i < count; ++i)
    {
        T value;
        std::memcpy(&value, data + i * sizeof(T), sizeof(T));
        Lettra number;
        number.Format(format, value);
        if (!text.IsEmpty() && number.Char() != ' ')
            text += ' ';
        text += number;
    }
    return text;
}

// The whole text of a text value, up to its first NUL byte.
Lettra WholeText(const VR& element)
{
    const auto* data = static_cast<const char*>(element.GetData());
    const void* nul = std::memchr(data, '\0', element.GetLength());
    const int length = nul ? static_cast<int>(static_cast<const char*>(nul) - data)
                           : static_cast<int>(element.GetLength());
    return Lettra(data, length);
}

// The Value text of an element: its display text, except that texts are
// written whole and numbers always apart, so that they read back unchanged.
Lettra ValueText(const VR& element)
{
    const std::uint16_t code = element.GetTypeCode();
    if (IsTextCode(code) && code != VRCode::UI)
        return WholeText(element);
    switch (code)
    {
    case VRCode::US:
        return NumberText<std::uint16_t>(element, "%4u");
    case VRCode::SS:
        return NumberText<std::int16_t>(element, "%4d");
    case VRCode::UL:
        return NumberText<std::uint32_t>(element, "%4u");
    case VRCode::SL:
        return NumberText<std::int32_t>(element, "%4d");
    default:
        return element.ToStringOfData();
    }
}

// The integers of a value text: runs of letters, digits and "_", each read
// as decimal, and when that gives 0 as hexadecimal (as Lettra::Int reads, but
// 64 bits wide); a run right after a "-" is negative. Blanks and other punctuation separate the
// numbers.
std::vector<long long> ReadNumbers(const Lettra& text)
{
    std::vector<long long> numbers;
    const char* p = text.constBuffer();
    const int length = text.GetLength();
    for (int i = 0; i < length;)
    {
        const unsigned char ch = static_cast<unsigned char>(p[i]);
        if (!std::isalnum(ch) && ch != '_')
        {
            ++i;
            continue;
        }
        const int start = i;
        while (i < length && (std::isalnum(static_cast<unsigned char>(p[i])) || p[i] == '_'))
            ++i;
        const Lettra word(p + start, i - start);
        long long value = std::strtoll(word, nullptr, 10);
        if (value == 0)
            value = std::strtoll(word, nullptr, 16);
        numbers.push_back(start > 0 && p[start - 1] == '-' ? -value : value);
    }
    return numbers;
}

template <typename T> void SetNumbers(VR& element, const std::vector<long long>& numbers)
{
    if (numbers.empty())
        return;
    auto* data = static_cast<std::uint8_t*>(
        element.GetDataSetLength(static_cast<unsigned int>(numbers.size() * sizeof(T))));
    if (!data)
        return;
    for (size_t i = 0; i < numbers.size(); ++i)
    {
        const T value = static_cast<T>(numbers[i]);
        std::memcpy(data + i * sizeof(T), &value, sizeof(T));
    }
}

// Sets the value read from the XML by the element's VR code; codes whose
// values the XML form does not carry stay empty.
void SetValue(VR& element, const Lettra& value)
{
    const std::uint16_t code = element.GetTypeCode();
    if (code == VRCode::UN)
    {
        if (value.GetLength() == 2)
            element = static_cast<unsigned short>(value.Int());
        else if (value.GetLength() == 4)
            element = static_cast<unsigned int>(value.Int());
        else
            element = value;
    }
    else if (IsTextCode(code))
    {
        element = value;
    }
    else if (code == VRCode::US || code == VRCode::SS)
    {
        SetNumbers<std::uint16_t>(element, ReadNumbers(value));
    }
    else if (code == VRCode::UL || code == VRCode::SL)
    {
        SetNumbers<std::uint32_t>(element, ReadNumbers(value));
    }
    else if (code == VRCode::SV || code == VRCode::UV)
    {
        SetNumbers<std::uint64_t>(element, ReadNumbers(value));
    }
}

// The inner text of a one-set document: from the third character after
// "<DataSet>" to the last character that is not white space before the last
// "<" of the document.
Lettra InnerText(const Lettra& doc)
{
    const int open = doc.Find("<DataSet>");
    const int last = doc.ReverseFind('<');
    if (open < 0 || last < 0)
        return Lettra();
    const int start = open + 11;
    int end = last - 1;
    while (end >= start && std::isspace(static_cast<unsigned char>(doc[end])))
        --end;
    return end >= start ? doc.Mid(start, end - start + 1) : Lettra();
}

Lettra Tabs(int depth)
{
    return Lettra('\t', depth);
}

// While it lives, element texts go in and out of the markup as they stand in
// the document (UTF-8), without the process code page in between.
class RawMarkupText
{
public:
    explicit RawMarkupText(DMarkup* markup)
        : m_markup(markup), m_previous(markup->SetCodePage(kNoConversion))
    {
    }
    ~RawMarkupText() { m_markup->SetCodePage(m_previous); }
    RawMarkupText(const RawMarkupText&) = delete;
    RawMarkupText& operator=(const RawMarkupText&) = delete;

private:
    DMarkup* m_markup;
    unsigned int m_previous;
};

// Whether a text value goes through the set's character repertoire rather
// than through the process code page.
bool IsConvertedText(std::uint16_t code, const DicomCharacterSet& charset)
{
    return charset.IsConverted() && IsTextCode(code) && DicomCharacterSet::IsAffected(code);
}

// A repertoire a set declares but that cannot be converted is reported once,
// where it is declared; the items that inherit it say nothing more.
DicomCharacterSet Reported(const DicomCharacterSet& charset, const DicomCharacterSet& inherited)
{
    if (charset.GetRepertoire() == DicomCharacterSet::enRepertoire::Unsupported &&
        charset.GetTerm() != inherited.GetTerm())
    {
        _warning("DataSetForms: Specific Character Set '%s' is not converted, its texts pass "
                 "through the process code page",
                 charset.GetTerm().constBuffer());
    }
    return charset;
}

void WarnValueOutsideRepertoire(unsigned short group, unsigned short number,
                                const DicomCharacterSet& charset)
{
    _warning("DataSetForms: the value of (%04x,%04x) does not fit '%s', it passes through the "
             "process code page",
             group, number, charset.GetTerm().constBuffer());
}

void WarnValueOutsideCodePage(unsigned short group, unsigned short number,
                              const DicomCharacterSet& charset)
{
    _warning("DataSetForms: the value of (%04x,%04x) in '%s' does not fit the process code page, "
             "it passes through it unconverted",
             group, number, charset.GetTerm().constBuffer());
}

// Whether a UTF-8 text survives the document's conversion into the process
// code page in which it is handed back.
bool CodePageHolds(const Lettra& utf8)
{
    if (GetACP() == CP_UTF8)
        return true;
    Lettra copy = utf8;
    copy.FromCharacterSet(kUtf8);
    copy.ToCharacterSet(kUtf8);
    return copy == utf8;
}

// Adds the Value child: texts of the set's repertoire as UTF-8, so that they
// come back byte for byte. Everything else goes through the process code page,
// and so do texts that code page cannot hold (the document is handed back in
// it): they keep the bytes it holds, as before.
void AddValue(DMarkup* markup, const VR& element, const DicomCharacterSet& charset)
{
    if (IsConvertedText(element.GetTypeCode(), charset))
    {
        const Lettra text = WholeText(element);
        Lettra utf8;
        if (!charset.ToUtf8(text.constBuffer(), text.GetLength(), utf8))
        {
            WarnValueOutsideRepertoire(element.GetGroup(), element.GetElement(), charset);
        }
        else if (!CodePageHolds(utf8))
        {
            WarnValueOutsideCodePage(element.GetGroup(), element.GetElement(), charset);
        }
        else
        {
            RawMarkupText raw(markup);
            markup->AddElem("Value", utf8);
            return;
        }
    }
    markup->AddElem("Value", ValueText(element));
}

bool IsXmlBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

// The UTF-8 text without the XML white space around it.
Lettra TrimmedUtf8(const Lettra& text)
{
    const char* p = text.constBuffer();
    int first = 0;
    int last = text.GetLength();
    while (first < last && IsXmlBlank(p[first]))
        ++first;
    while (last > first && IsXmlBlank(p[last - 1]))
        --last;
    return Lettra(p + first, last - first);
}

// The Value child of the element record the markup is in, in the set's
// repertoire for its texts, else in the process code page; trimmed.
Lettra ReadValue(DMarkup* markup, unsigned short group, unsigned short number, std::uint16_t code,
                 const DicomCharacterSet& charset)
{
    if (IsConvertedText(code, charset))
    {
        Lettra utf8;
        {
            RawMarkupText raw(markup);
            utf8 = TrimmedUtf8(markup->GetData("Value"));
        }
        Lettra text;
        if (charset.FromUtf8(utf8, text))
            return text;
        WarnValueOutsideRepertoire(group, number, charset);
    }
    return markup->GetData("Value").Trim();
}

unsigned short ReadTagNumber(DMarkup* markup, const char* name)
{
    return static_cast<unsigned short>(markup->GetData(name).Int());
}

// The Specific Character Set value of the element records from the one the
// markup stands on; false when none of them holds it. The cursor is left
// where it was.
bool FindDeclaredTerm(DMarkup* markup, Lettra& term)
{
    DMarkup::SavedPos saved;
    markup->GetPos(&saved);
    bool found = false;
    do
    {
        markup->IntoElem();
        found =
            ReadTagNumber(markup, "Group") == 0x0008 && ReadTagNumber(markup, "Element") == 0x0005;
        if (found)
            term = markup->GetData("Value");
        markup->OutOfElem();
    } while (!found && markup->Next());
    markup->SetPos(&saved);
    return found;
}

} // namespace

// ---------------------------------------------------------------------------
// Memory image

int DataSetForms::Serialize(DICOMVRSet& set, unsigned char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
    {
        MemOutBuffer unused;
        return static_cast<int>(FixEncoder(unused).ExplicitSize(&set));
    }
    // The caller's block is the stream's first chunk, so an image that fits
    // is coded in place and a longer one leaves its start there.
    MemOutBuffer stream;
    stream.Attach(buffer, static_cast<std::uint32_t>(size), false);
    FixEncoder(stream).EncodeExplicit(&set);
    return CopyOutMemoryImage(stream, buffer, size, "DICOMVRSet");
}

int DataSetForms::Deserialize(DICOMVRSet& set, const unsigned char* data, int size)
{
    if (data == nullptr || size <= 0)
    {
        return 0;
    }
    MemInBuffer stream(data, static_cast<std::uint32_t>(size));
    if (FixDecoder(stream).DecodeExplicit(&set) == 0)
    {
        _error("DICOMVRSet::Deserialize, the memory image of %d bytes cannot be decoded", size);
        return 0;
    }
    return size - static_cast<int>(stream.GetAvailable());
}

// ---------------------------------------------------------------------------
// One set

Lettra DataSetForms::XmlSerialize(const DICOMVRSet& set)
{
    DMarkup markup;
    markup.SetDoc(Lettra(kDeclaration) + "<!-- Date:" + Now() +
                  " -->\r\n<!-- Version: 1.0 -->\r\n");
    markup.AddElem("DataSet");
    markup.IntoElem();
    XmlSerialize(set, &markup);
    Lettra doc = markup.GetDoc();
    doc.FromCharacterSet(kUtf8);
    return doc;
}

int DataSetForms::XmlSerialize(const DICOMVRSet& set, DMarkup* markup)
{
    return XmlSerialize(set, markup, DicomCharacterSet());
}

int DataSetForms::XmlSerialize(const DICOMVRSet& set, DMarkup* markup,
                               const DicomCharacterSet& inherited)
{
    const DicomCharacterSet charset = Reported(DicomCharacterSet::Of(set, inherited), inherited);
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        VR* element = *it;
        if (element->GetElement() == 0)
            continue;
        const unsigned short group = element->GetGroup();
        const unsigned short number = element->GetElement();
        markup->AddElem("Veltaro");
        markup->IntoElem();
        markup->AddElem("Group", Hex4(group));
        markup->AddElem("Element", Hex4(number));
        Lettra length;
        length.Format("%4d", static_cast<int>(element->GetLength()));
        markup->AddElem("Length", length);
        const std::uint16_t code = element->GetTypeCode();
        if (code == VRCode::Unknown)
        {
            element->SetTypeCode(DicomDictionary::Lookup(group, number));
            markup->AddElem("VR", "UN");
            markup->AddElem("Description", "?");
        }
        else
        {
            Lettra letters;
            letters.Format("%c%c", VRCode::FirstLetter(code), VRCode::SecondLetter(code));
            markup->AddElem("VR", letters);
            markup->AddElem("Description", DicomDictionary::GetDescription(group, number));
        }
        AddValue(markup, *element, charset);
        if (element->GetItemCount() > 0)
        {
            for (auto* node = element->GetSQArray()->GetHead(); node; node = node->next)
            {
                markup->AddElem("Sequence");
                markup->IntoElem();
                XmlSerialize(*node->item, markup, charset);
                markup->OutOfElem();
            }
        }
        markup->OutOfElem();
    }
    return 1;
}

int DataSetForms::XmlDeserialize(DICOMVRSet& set, const char* text)
{
    return XmlDeserialize(set, Lettra(text));
}

int DataSetForms::XmlDeserialize(DICOMVRSet& set, const Lettra& text)
{
    Lettra utf8 = text;
    utf8.ToCharacterSet(kUtf8);
    DMarkup markup(utf8);
    markup.Next();
    markup.IntoElem();
    return XmlDeserialize(set, &markup);
}

int DataSetForms::XmlDeserialize(DICOMVRSet& set, DMarkup* markup)
{
    return XmlDeserialize(set, markup, DicomCharacterSet::Of(set, DicomCharacterSet()));
}

// The records' own Specific Character Set decides how their texts are read;
// without one they are in the repertoire of the set that holds them.
int DataSetForms::XmlDeserialize(DICOMVRSet& set, DMarkup* markup,
                                 const DicomCharacterSet& inherited)
{
    if (!markup->FindElem("Veltaro"))
        return 0;
    Lettra term;
    const DicomCharacterSet charset =
        Reported(FindDeclaredTerm(markup, term) ? DicomCharacterSet(term) : inherited, inherited);
    do
    {
        XmlDeserializeElement(set, markup, charset);
    } while (markup->Next());
    return 1;
}

// Reads the element record the markup's main position stands on.
int DataSetForms::XmlDeserializeElement(DICOMVRSet& set, DMarkup* markup,
                                        const DicomCharacterSet& charset)
{
    markup->IntoElem();
    const unsigned short group = ReadTagNumber(markup, "Group");
    const unsigned short number = ReadTagNumber(markup, "Element");
    std::uint16_t code = DicomDictionary::Lookup(group, number);
    if (code == VRCode::Unknown)
        code = VRCode::UN;
    VR* element = new VR(group, number);
    element->SetTypeCode(code);
    SetValue(*element, ReadValue(markup, group, number, code, charset));
    set.Push(element);
    markup->ResetMainPos();
    if ((code == VRCode::SQ || code == VRCode::UN) && markup->FindElem("Sequence"))
    {
        do
        {
            markup->IntoElem();
            auto* item = new DICOMDataSet;
            XmlDeserialize(*item, markup, charset);
            set.Push(group, number, item);
            markup->OutOfElem();
        } while (markup->Next());
    }
    markup->OutOfElem();
    return 1;
}

// ---------------------------------------------------------------------------
// Arrays of sets

template <typename SetArray>
int DataSetForms::SetsToXml(const SetArray* sets, Lettra* out, bool bAlwaysLog)
{
    if (!sets || !out)
        return 1;
    if (bAlwaysLog || sets->GetCount() > 10)
        _debug("Enter VRSetArrayToXML, Total %d Item", sets->GetCount());
    std::vector<Lettra> inner;
    int reserve = 2048;
    for (auto* node = sets->GetHead(); node; node = node->next)
    {
        inner.push_back(node->item ? InnerText(XmlSerialize(*node->item)) : Lettra());
        reserve += inner.back().GetLength() + 32;
    }
    out->GetBuffer(out->GetLength() + reserve);
    *out += kDeclaration;
    *out += "<!--Date:" + Now() + "-->\r\n<DataSet>\n";
    for (const Lettra& text : inner)
    {
        *out += "<Array>\n";
        *out += text;
        *out += "\n</Array>\n";
    }
    *out += "</DataSet>\n";
    return 1;
}

int DataSetForms::VRSetArrayToXML(const Array<const DICOMVRSet*>* sets, Lettra* out)
{
    return SetsToXml(sets, out, false);
}

int DataSetForms::ADDSToXML(const Array<const DICOMDataSet*>* sets, Lettra* out)
{
    return SetsToXml(sets, out, true);
}

int DataSetForms::ADDSToXML(const Array<DICOMDataSet*>* sets, Lettra* out)
{
    return SetsToXml(sets, out, true);
}

template <typename Set> int DataSetForms::XmlToSets(const Lettra* xml, Array<Set*>* sets)
{
    if (!xml || !sets)
        return 1;
    DMarkup markup(*xml);
    markup.Next();
    markup.IntoElem();
    if (!markup.FindElem("Array"))
        return 1;
    _debug("Enter XMLToVRSetArray");
    for (int index = 0;; ++index)
    {
        markup.IntoElem();
        Set* set = new Set;
        if (XmlDeserialize(*set, &markup) == 1)
            sets->AddTail(set);
        else
            delete set;
        markup.OutOfElem();
        if (!markup.Next())
            break;
        _info("XMLToVRSetArray, Writing %d", index);
    }
    _debug("Enter XMLToVRSetArray, got %d Items", sets->GetCount());
    return 1;
}

int DataSetForms::XMLToVRSetArray(const Lettra* xml, Array<DICOMVRSet*>* sets)
{
    return XmlToSets(xml, sets);
}

int DataSetForms::XMLToADDS(const Lettra* xml, Array<DICOMDataSet*>* sets)
{
    return XmlToSets(xml, sets);
}

// ---------------------------------------------------------------------------
// Dump

Lettra DataSetForms::ToStringOfTabStop(const DICOMVRSet& set, int depth, int minLength)
{
    Lettra text;
    text.GetBuffer(16384);
    if (depth <= 0)
    {
        text = "\r\n";
        depth = 0;
    }
    const Lettra tabs = Tabs(depth > kMaxTabs ? kMaxTabs : depth);
    for (DICOMVRSet::Iterator it(set); it; ++it)
    {
        const VR* element = *it;
        const int items = element->GetItemCount();
        if (element->GetElement() == 0 ||
            (items == 0 && static_cast<long long>(element->GetLength()) < minLength))
            continue;
        text += tabs + element->ToString() + "\r\n";
        if (items == 0)
            continue;
        int k = 0;
        for (auto* node = element->GetSQArray()->GetHead(); node; node = node->next)
        {
            Lettra head;
            head.Format("SQ <<< %d of %d Items\r\n", ++k, items);
            text += tabs + head;
            text += ToStringOfTabStop(*node->item, depth + 1, minLength);
            text += tabs + "SQ >>>\r\n";
        }
    }
    return text;
}
