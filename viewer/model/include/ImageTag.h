// ImageTag: the label configuration of the panes, per modality the items
// shown in the four corners of an image. The process-wide configuration
// (ImageTag::Get) is loaded from "Config/Brevant.ImageTag.xml" or from the
// text a host pushes.
//
// The document (element names as written; attributes optional unless said):
//
//   <ImageShowConfig>                      the root path the caller names
//     <Modality name="CT">                 one item set; "Other" serves any
//                                          modality without a set of its own
//       <TopLeft>                          also TopRight, BottomLeft,
//                                          BottomRight; each holds the
//                                          items of its corner in order
//         <tag group="0010" element="0010" line="1"
//              prefix="" postfix="" type=""/>
//       </TopLeft>
//     </Modality>
//   </ImageShowConfig>
//
// An item (its element name is the one the caller names, "tag") shows the
// element group,element (four hex digits each, required unless the type
// says otherwise) as prefix + value + postfix on its line of the corner
// (1 for the first; lines below 1 count as 1). Items of one corner on the
// same line share it. The type "AGE" shows the patient's age instead (its
// group, element, prefix and postfix are not used). A set named twice
// keeps the first; an item without a readable tag is skipped with a
// warning.
#pragma once

#include "Array.h"
#include "Lettra.h"
#include "QuillonExport.h"

#include <cstdint>

class DMarkup;

class QUILLON_API ImageTag
{
public:
    enum enCorner
    {
        enTopLeft,
        enTopRight,
        enBottomLeft,
        enBottomRight
    };
    static constexpr int CornerCount = 4;

    struct TagMetaItem
    {
        std::uint16_t nGroup = 0;
        std::uint16_t nElement = 0;
        Lettra strPrefix;
        Lettra strPostfix;
        Lettra strType;
        // 1-based.
        int nLine = 1;
        enCorner nCorner = enTopLeft;
    };

    // The items of one modality, one list per corner.
    struct ModalityItems
    {
        Lettra strModality;
        Array<TagMetaItem> items[CornerCount];
    };

    ImageTag() = default;
    ~ImageTag();
    ImageTag(const ImageTag&) = delete;
    ImageTag& operator=(const ImageTag&) = delete;

    // Replace the configuration by the file's or the text's sets under the
    // root path, with items of the element name. False, keeping the
    // configuration as it was, when the document cannot be read or parsed
    // or lacks the root.
    bool LoadConfig(const char* path, const char* root, const char* element);
    bool LoadConfigXML(const char* xml, const char* root, const char* element);

    // The set of the modality (compared trimmed, case ignored), else the
    // "Other" set, else null.
    const ModalityItems* GetModalityItems(const char* modality) const;
    bool IsEmpty() const { return m_Sets.IsEmpty(); }
    void Clear();

    // The configuration of the process.
    static ImageTag& Get();

private:
    bool Parse(DMarkup& doc, const char* root, const char* element);
    const ModalityItems* Find(const char* modality) const;

    Array<ModalityItems*> m_Sets;
};
