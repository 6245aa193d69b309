// The label configuration: items per modality and corner, the "Other" set,
// and documents that cannot serve.
#include "ImageTag.h"
#include "ImageShowConfig.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{

const char* const Tags = R"(<?xml version="1.0"?>
<ImageShowConfig>
  <Modality name="CT">
    <TopLeft>
      <tag group="0010" element="0010" line="1"/>
      <tag type="AGE" line="3"/>
      <tag group="0008" element="103e" line="0" prefix="S: " postfix="!"/>
    </TopLeft>
    <BottomRight>
      <tag group="0020" element="0013" line="2" prefix="Im: "/>
      <tag group="002G" element="0013"/>
      <tag group="00200" element="0013"/>
      <tag element="0013"/>
    </BottomRight>
  </Modality>
  <Modality name="CT"><TopLeft><tag group="0001" element="0001"/></TopLeft></Modality>
  <Modality name="Other">
    <TopRight><tag group="0008" element="0080"/></TopRight>
  </Modality>
</ImageShowConfig>)";

} // namespace

TEST(ImageTag, ReadsTheItemsOfEachModalityAndCorner)
{
    LogCapture log;
    ImageTag tags;
    ASSERT_TRUE(tags.LoadConfigXML(Tags, "/ImageShowConfig", "tag"));
    const ImageTag::ModalityItems* ct = tags.GetModalityItems(" ct ");
    ASSERT_NE(ct, nullptr);
    EXPECT_EQ(ct->strModality, Lettra("CT"));
    const Array<ImageTag::TagMetaItem>& topLeft = ct->items[ImageTag::enTopLeft];
    ASSERT_EQ(topLeft.GetCount(), 3) << "the first CT set is kept";
    EXPECT_EQ(topLeft.GetAt(0).nGroup, 0x0010);
    EXPECT_EQ(topLeft.GetAt(0).nElement, 0x0010);
    EXPECT_EQ(topLeft.GetAt(1).strType, Lettra("AGE"));
    EXPECT_EQ(topLeft.GetAt(1).nLine, 3);
    EXPECT_EQ(topLeft.GetAt(2).nGroup, 0x0008);
    EXPECT_EQ(topLeft.GetAt(2).nElement, 0x103E);
    EXPECT_EQ(topLeft.GetAt(2).nLine, 1);
    EXPECT_EQ(topLeft.GetAt(2).strPrefix, Lettra("S: "));
    EXPECT_EQ(topLeft.GetAt(2).strPostfix, Lettra("!"));
    EXPECT_EQ(ct->items[ImageTag::enTopRight].GetCount(), 0);
    const Array<ImageTag::TagMetaItem>& bottomRight = ct->items[ImageTag::enBottomRight];
    ASSERT_EQ(bottomRight.GetCount(), 1) << "items without a readable tag are skipped";
    EXPECT_EQ(bottomRight.GetAt(0).nCorner, ImageTag::enBottomRight);
    EXPECT_EQ(bottomRight.GetAt(0).nElement, 0x0013);
    EXPECT_EQ(bottomRight.GetAt(0).nLine, 2);
    EXPECT_TRUE(log.Contains("skipping an item without a tag <002G,0013>"));

    const ImageTag::ModalityItems* other = tags.GetModalityItems("MR");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->strModality, Lettra("Other"));
    EXPECT_EQ(other->items[ImageTag::enTopRight].GetAt(0).nElement, 0x0080);
}

TEST(ImageTag, ADocumentThatCannotServeKeepsTheConfiguration)
{
    LogCapture log;
    ImageTag tags;
    ASSERT_TRUE(tags.LoadConfigXML(Tags, "/ImageShowConfig", "tag"));
    for (const char* bad : {"", "<ImageShowConfig><Modality", "<Other/>"})
    {
        EXPECT_FALSE(tags.LoadConfigXML(bad, "/ImageShowConfig", "tag")) << bad;
    }
    EXPECT_FALSE(tags.LoadConfigXML(nullptr, "/ImageShowConfig", "tag"));
    EXPECT_TRUE(log.Contains("Enter ImageTag::LoadConfigXML, invalid string"));
    EXPECT_FALSE(tags.LoadConfig("/nonexistent/Brevant.ImageTag.xml", "/ImageShowConfig", "tag"));
    EXPECT_TRUE(log.Contains("Loading ImageTag ConfigFile : /nonexistent/Brevant.ImageTag.xml"));
    EXPECT_NE(tags.GetModalityItems("CT"), nullptr);

    ASSERT_TRUE(tags.LoadConfigXML(R"(<ImageShowConfig><Modality name="MR"/></ImageShowConfig>)",
                                   "/ImageShowConfig", "tag"));
    EXPECT_EQ(tags.GetModalityItems("CT"), nullptr) << "no Other set";
    EXPECT_NE(tags.GetModalityItems("MR"), nullptr);
}

// A file may hold NUL bytes where the text cannot: an item whose tag or
// type is a NUL is skipped with a warning, the items around it stay.
TEST(ImageTag, AFileWithNulBytesInItsValuesSkipsThoseItems)
{
    const char bytes[] = "<ImageShowConfig><Modality name=\"Other\"><BottomLeft>"
                         "<tag group=\"\0\"/><tag type=\"\0\" group=\"0010\" element=\"\0\"/>"
                         "<tag group=\"0010\" element=\"0020\"/>"
                         "</BottomLeft></Modality></ImageShowConfig>";
    const std::string text(bytes, sizeof bytes - 1);
    const std::string path = ::testing::TempDir() + "quillon_imagetag_nul.xml";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
    std::fclose(file);
    LogCapture log;
    ImageTag tags;
    ASSERT_TRUE(tags.LoadConfig(path.c_str(), "/ImageShowConfig", "tag"));
    const ImageTag::ModalityItems* items = tags.GetModalityItems("CT");
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->items[ImageTag::enBottomLeft].GetCount(), 1);
    EXPECT_EQ(items->items[ImageTag::enBottomLeft].GetAt(0).nElement, 0x0020);
    EXPECT_TRUE(log.Contains("skipping an item without a tag"));
}

TEST(ImageTag, TheShippedFileHasASetForEveryModality)
{
    std::string path = static_cast<const char*>(ImageShowConfig::GetDefaultPath());
    path = path.substr(0, path.rfind('/') + 1) + "Brevant.ImageTag.xml";
    ImageTag tags;
    ASSERT_TRUE(tags.LoadConfig(path.c_str(), "/ImageShowConfig", "tag"));
    for (const char* modality : {"CT", "MR", "XA"})
    {
        const ImageTag::ModalityItems* set = tags.GetModalityItems(modality);
        ASSERT_NE(set, nullptr) << modality;
        EXPECT_FALSE(set->items[ImageTag::enTopLeft].IsEmpty()) << modality;
    }
}
