#include "ImageTag.h"

#include "DMarkup.h"
#include "QuillonLog.h"

#include <cctype>
#include <memory>

namespace
{

using SetNode = Array<ImageTag::ModalityItems*>::Node;

constexpr const char* CornerNames[ImageTag::CornerCount] = {"TopLeft", "TopRight", "BottomLeft",
                                                            "BottomRight"};
constexpr const char* OtherModality = "Other";

// One to four hex digits; false for anything else.
bool ReadHexWord(const Lettra& text, std::uint16_t& value)
{
    const Lettra digits = text.Trim();
    if (digits.IsEmpty() || digits.GetLength() > 4)
    {
        return false;
    }
    unsigned word = 0;
    for (int i = 0; i < digits.GetLength(); ++i)
    {
        const auto c = static_cast<unsigned char>(digits[i]);
        if (!std::isxdigit(c))
        {
            return false;
        }
        word = word * 16 +
               static_cast<unsigned>(std::isdigit(c) ? c - '0' : std::toupper(c) - 'A' + 10);
    }
    value = static_cast<std::uint16_t>(word);
    return true;
}

// The item at the document's position; false when its tag cannot be read.
bool ReadItem(const DMarkup& doc, ImageTag::enCorner corner, ImageTag::TagMetaItem& item)
{
    item.strType = doc.GetAttrib("type").Trim();
    item.strPrefix = doc.GetAttrib("prefix");
    item.strPostfix = doc.GetAttrib("postfix");
    item.nLine = doc.GetAttrib("line").IsEmpty() ? 1 : doc.GetAttrib("line").Int();
    item.nLine = item.nLine < 1 ? 1 : item.nLine;
    item.nCorner = corner;
    if (item.strType.CompareNoCase("AGE") == 0)
    {
        return true;
    }
    return ReadHexWord(doc.GetAttrib("group"), item.nGroup) &&
           ReadHexWord(doc.GetAttrib("element"), item.nElement);
}

// The items of one corner element, at the document's position.
void ReadCorner(DMarkup& doc, const char* element, ImageTag::enCorner corner,
                Array<ImageTag::TagMetaItem>& items)
{
    doc.IntoElem();
    while (doc.FindElem(element))
    {
        ImageTag::TagMetaItem item;
        if (ReadItem(doc, corner, item))
        {
            items.AddTail(item);
        }
        else
        {
            quillon::_warning("Enter ImageTag::LoadConfig, skipping an item without a tag <%s,%s>",
                              doc.GetAttrib("group").constBuffer(),
                              doc.GetAttrib("element").constBuffer());
        }
    }
    doc.OutOfElem();
}

} // namespace

ImageTag::~ImageTag()
{
    Clear();
}

void ImageTag::Clear()
{
    m_Sets.DeleteAll();
}

ImageTag& ImageTag::Get()
{
    static ImageTag tags;
    return tags;
}

bool ImageTag::LoadConfig(const char* path, const char* root, const char* element)
{
    quillon::_debug("Loading ImageTag ConfigFile : %s", path != nullptr ? path : "");
    DMarkup doc;
    if (path == nullptr || !doc.Load(path))
    {
        quillon::_error("Enter ImageTag::LoadConfig, cannot read %s", path != nullptr ? path : "");
        return false;
    }
    return Parse(doc, root, element);
}

bool ImageTag::LoadConfigXML(const char* xml, const char* root, const char* element)
{
    DMarkup doc;
    if (xml == nullptr || xml[0] == 0 || !doc.SetDoc(xml))
    {
        quillon::_error("Enter ImageTag::LoadConfigXML, invalid string");
        return false;
    }
    return Parse(doc, root, element);
}

bool ImageTag::Parse(DMarkup& doc, const char* root, const char* element)
{
    if (root == nullptr || element == nullptr || !doc.GotoPath(root))
    {
        quillon::_error("Enter ImageTag::LoadConfig, cannot find %s", root != nullptr ? root : "");
        return false;
    }
    Array<ModalityItems*> sets;
    doc.ResetMainPos();
    while (doc.FindElem("Modality"))
    {
        auto set = std::make_unique<ModalityItems>();
        set->strModality = doc.GetAttrib("name").Trim();
        doc.IntoElem();
        for (int corner = 0; corner < CornerCount; ++corner)
        {
            doc.ResetMainPos();
            if (doc.FindElem(CornerNames[corner]))
            {
                ReadCorner(doc, element, static_cast<enCorner>(corner), set->items[corner]);
            }
        }
        doc.OutOfElem();
        sets.AddTail(set.release());
    }
    Clear();
    sets.MoveAllTo(m_Sets);
    return true;
}

const ImageTag::ModalityItems* ImageTag::Find(const char* modality) const
{
    const Lettra name = Lettra(modality != nullptr ? modality : "").Trim();
    for (SetNode* node = m_Sets.GetHead(); node != nullptr; node = node->next)
    {
        if (node->item->strModality.CompareNoCase(name) == 0)
        {
            return node->item;
        }
    }
    return nullptr;
}

const ImageTag::ModalityItems* ImageTag::GetModalityItems(const char* modality) const
{
    const ModalityItems* set = Find(modality);
    return set != nullptr ? set : Find(OtherModality);
}
