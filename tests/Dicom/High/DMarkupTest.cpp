// Parsing, reading, loading and saving of DMarkup documents.
#include "DMarkup.h"
#include "DMarkupTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace
{

std::string Str(const Lettra& text)
{
    return std::string(text.constBuffer(), text.GetLength());
}

int CountElements(const DMarkup& markup)
{
    const std::string tree = DumpTree(markup);
    return static_cast<int>(std::count(tree.begin(), tree.end(), '\n'));
}

TEST(DMarkupParse, RootWithOneEmptyChildGivesTwoElements)
{
    DMarkup markup("<a><b/></a>");
    ASSERT_TRUE(markup.IsWellFormed());
    EXPECT_EQ(CountElements(markup), 2);
    ASSERT_TRUE(markup.FindElem("a"));
    EXPECT_EQ(Str(markup.GetData()), "");
    ASSERT_TRUE(markup.FindChildElem("b"));
    EXPECT_EQ(Str(markup.GetChildTagName()), "b");
    int startOpen = 0, startClose = 0, endOpen = 0, endClose = 0;
    ASSERT_TRUE(markup.IntoElem());
    ASSERT_TRUE(markup.GetOffsets(startOpen, startClose, endOpen, endClose));
    EXPECT_EQ(startOpen, 3);
    EXPECT_EQ(startClose, 6);
    EXPECT_EQ(endOpen, 5); // the "/" of an empty element
    EXPECT_EQ(endClose, 6);
}

TEST(DMarkupParse, OffsetsOfAnElementWithContent)
{
    DMarkup markup("  <root>text</root >");
    ASSERT_TRUE(markup.FindElem());
    int startOpen = 0, startClose = 0, endOpen = 0, endClose = 0;
    ASSERT_TRUE(markup.GetOffsets(startOpen, startClose, endOpen, endClose));
    EXPECT_EQ(startOpen, 2);
    EXPECT_EQ(startClose, 7);
    EXPECT_EQ(endOpen, 12);
    EXPECT_EQ(endClose, 19);
    int start = 0, end = 0;
    ASSERT_TRUE(markup.GetOffsets(start, end));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 19);
    markup.ResetPos();
    EXPECT_FALSE(markup.GetOffsets(start, end));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);
}

struct DataCase
{
    const char* content;
    const char* data;
};

TEST(DMarkupParse, ElementTextIsDecoded)
{
    const DataCase cases[] = {DataCase{"x &amp; y", "x & y"},
                              DataCase{"&foo;", "&foo;"},
                              DataCase{"&lt;&gt;&amp;&apos;&quot;", "<>&'\""},
                              DataCase{"a & b", "a & b"},
                              DataCase{"&am", "&am"},
                              DataCase{"&lt", "&lt"},
                              DataCase{"tail&", "tail&"},
                              DataCase{"&#60;", "&#60;"},
                              DataCase{"&amp;lt;", "&lt;"},
                              DataCase{" \r\n keep blanks \t", " \r\n keep blanks \t"},
                              DataCase{"<![CDATA[<b>]]>", "<b>"},
                              DataCase{"  <![CDATA[&amp;]]>  ", "&amp;"},
                              DataCase{"<![CDATA[x]]>&amp;", "x"},
                              DataCase{"a<!-- c -->b", "a<!-- c -->b"},
                              DataCase{"", ""}};
    for (const DataCase& test : cases)
    {
        SCOPED_TRACE(test.content);
        const std::string doc = std::string("<e>") + test.content + "</e>";
        DMarkup markup(doc.c_str());
        ASSERT_TRUE(markup.FindElem("e")) << Str(markup.GetError());
        EXPECT_EQ(Str(markup.GetData()), test.data);
    }
}

TEST(DMarkupParse, ElementWithChildrenOrEmptyHasNoData)
{
    DMarkup markup("<a>text<b>inner</b></a>");
    ASSERT_TRUE(markup.FindElem("a"));
    EXPECT_EQ(Str(markup.GetData()), "");
    markup.SetDoc("<a/>");
    ASSERT_TRUE(markup.FindElem("a"));
    EXPECT_EQ(Str(markup.GetData()), "");
}

struct ErrorCase
{
    const char* doc;
    const char* error;
};

TEST(DMarkupParse, MalformedDocumentFailsWithItsError)
{
    const ErrorCase cases[] = {ErrorCase{"<a></b>", "End tag does not correspond to a"},
                               ErrorCase{"<a><b></a>", "End tag does not correspond to b"},
                               ErrorCase{"<a>", "End tag of a element not found"},
                               ErrorCase{"<a><b/>text", "End tag of a element not found"},
                               ErrorCase{"<\"a\">", "Tag starts with quote"},
                               ErrorCase{"no markup at all", "Element tag not found"},
                               ErrorCase{"", "Element tag not found"},
                               ErrorCase{"<?xml version=\"1.0\"?>", "Element tag not found"},
                               ErrorCase{"<a><", "Abrupt end within tag"},
                               ErrorCase{"<a", "End of tag not found"},
                               ErrorCase{"<a x=\"1>", "End of tag not found"},
                               ErrorCase{"<a><!-- open", "Invalid node"},
                               ErrorCase{"<?xml version", "Invalid node"},
                               ErrorCase{"<a><![CDATA[x</a>", "Invalid node"},
                               ErrorCase{"<!DOCTYPE a [<!ENTITY x \"y\">", "Invalid node"},
                               ErrorCase{"<a></a", "End tag not completed for element a"},
                               ErrorCase{"<a></", "End tag not completed for element a"},
                               ErrorCase{"</a>", "Unexpected end tag"},
                               ErrorCase{"<a><>x</></a>", "Invalid tag name"},
                               ErrorCase{"<a></=>", "End tag does not correspond to a"}};
    for (const ErrorCase& test : cases)
    {
        SCOPED_TRACE(test.doc);
        DMarkup markup;
        EXPECT_FALSE(markup.SetDoc(test.doc));
        EXPECT_EQ(Str(markup.GetError()), test.error);
        EXPECT_FALSE(markup.IsWellFormed());
        EXPECT_FALSE(markup.FindElem());
        EXPECT_FALSE(markup.FindChildElem());
        EXPECT_FALSE(markup.GotoPath("/a"));
        EXPECT_EQ(Str(markup.GetTagName()), "");
        EXPECT_EQ(Str(markup.GetDoc()), test.doc);
    }
}

TEST(DMarkupParse, SuccessfulParseClearsTheLastError)
{
    DMarkup markup("<a>");
    EXPECT_FALSE(markup.GetError().IsEmpty());
    EXPECT_TRUE(markup.SetDoc("<a/>"));
    EXPECT_TRUE(markup.GetError().IsEmpty());
}

TEST(DMarkupParse, EveryTruncationOfADocumentFails)
{
    const std::string doc = ReadConfigText();
    const size_t rootEnd = doc.rfind("</AppSetting>") + std::strlen("</AppSetting>");
    for (size_t length = 0; length < rootEnd; ++length)
    {
        DMarkup markup;
        const Lettra text(doc.data(), static_cast<int>(length));
        EXPECT_FALSE(markup.SetDoc(text)) << length;
        EXPECT_FALSE(markup.GetError().IsEmpty()) << length;
    }
    DMarkup whole(doc.substr(0, rootEnd).c_str());
    EXPECT_TRUE(whole.IsWellFormed());
}

std::string Nested(int depth, const char* leaf)
{
    std::string doc;
    for (int i = 0; i < depth; ++i)
        doc += "<n>";
    doc += leaf;
    for (int i = 0; i < depth; ++i)
        doc += "</n>";
    return doc;
}

TEST(DMarkupParse, NestingIsLimited)
{
    DMarkup markup;
    EXPECT_TRUE(markup.SetDoc(Nested(DMarkup::kMaxDepth, "x").c_str()));
    EXPECT_TRUE(markup.SetDoc(Nested(DMarkup::kMaxDepth - 1, "<e/>").c_str()));
    EXPECT_FALSE(markup.SetDoc(Nested(DMarkup::kMaxDepth, "<e/>").c_str()));
    EXPECT_EQ(Str(markup.GetError()), "Element nesting too deep at e");
    EXPECT_FALSE(markup.SetDoc(Nested(DMarkup::kMaxDepth + 1, "").c_str()));
    EXPECT_EQ(Str(markup.GetError()), "Element nesting too deep at n");
}

TEST(DMarkupParse, HostileNestingFailsWithoutExhaustingTheStack)
{
    std::string doc;
    for (int i = 0; i < 200000; ++i)
        doc += "<n>";
    DMarkup markup;
    EXPECT_FALSE(markup.SetDoc(doc.c_str()));
    EXPECT_EQ(Str(markup.GetError()), "Element nesting too deep at n");
}

TEST(DMarkupParse, DeclaredEncodingIsKeptButValuesStayUtf8)
{
    DMarkup markup("<?xml version=\"1.0\" ENCODING=\"ISO-8859-1\"?><a>caf\xC3\xA9</a>");
    ASSERT_TRUE(markup.IsWellFormed());
    EXPECT_EQ(Str(markup.GetDeclaredEncoding()), "ISO-8859-1");
    ASSERT_TRUE(markup.FindElem("a"));
    EXPECT_EQ(Str(markup.GetData()), "caf\xC3\xA9");
}

TEST(DMarkupParse, PrologNodesAndByteOrderMarkAreSkipped)
{
    DMarkup markup("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- note -->\r\n"
                   "<!DOCTYPE r [<!ELEMENT r ANY>]>\r\n<r><![CDATA[<x>]]><c/></r>");
    ASSERT_TRUE(markup.IsWellFormed()) << Str(markup.GetError());
    ASSERT_TRUE(markup.FindElem("r"));
    ASSERT_TRUE(markup.FindChildElem());
    EXPECT_EQ(Str(markup.GetChildTagName()), "c");
    EXPECT_FALSE(markup.FindChildElem());
}

TEST(DMarkupParse, OnlyTheFirstTopLevelElementIsKnown)
{
    DMarkup markup("<a/><b/>");
    ASSERT_TRUE(markup.IsWellFormed());
    EXPECT_TRUE(markup.FindElem("a"));
    EXPECT_FALSE(markup.FindElem("b"));
    markup.ResetPos();
    EXPECT_FALSE(markup.FindElem("b"));
}

TEST(DMarkupParse, GreaterThanInsideAQuotedValueDoesNotCloseTheTag)
{
    DMarkup markup("<a x=\"1>2\" y='/'/>");
    ASSERT_TRUE(markup.FindElem("a")) << Str(markup.GetError());
    EXPECT_EQ(Str(markup.GetAttrib("x")), "1>2");
    EXPECT_EQ(Str(markup.GetAttrib("y")), "/");
    EXPECT_FALSE(markup.HasChild());
}

struct AttribCase
{
    const char* tag;
    const char* name;
    const char* value;
};

TEST(DMarkupRead, AttributeLookUp)
{
    const AttribCase cases[] = {AttribCase{"<e a=\"1\" b='2'>", "b", "2"},
                                AttribCase{"<e a = \"1\">", "a", "1"},
                                AttribCase{"<e a=1>", "a", ""},
                                AttribCase{"<e a=\"x &amp; &lt;y&gt;\">", "a", "x & <y>"},
                                AttribCase{"<e a=\"1\">", "b", ""},
                                AttribCase{"<e ab=\"1\">", "a", ""},
                                AttribCase{"<e a=\"1\" b=\"2\">", "", "1"},
                                AttribCase{"<e a=\"1\" b=\"2\">", nullptr, "1"},
                                AttribCase{"<e \"a\"=\"1\" a=\"2\">", "a", "2"},
                                AttribCase{"<e a>", "a", ""},
                                AttribCase{"<e a=\"\">", "a", ""}};
    for (const AttribCase& test : cases)
    {
        SCOPED_TRACE(test.tag);
        const std::string doc = std::string(test.tag) + "</e>";
        DMarkup markup(doc.c_str());
        ASSERT_TRUE(markup.FindElem("e")) << Str(markup.GetError());
        EXPECT_EQ(Str(markup.GetAttrib(test.name)), test.value);
    }
}

TEST(DMarkupRead, AttributeNamesByIndex)
{
    DMarkup markup("<e first=\"1\" odd second='2' third=3 fourth=\"4\"/>");
    ASSERT_TRUE(markup.FindElem());
    EXPECT_EQ(Str(markup.GetAttribName(0)), "first");
    EXPECT_EQ(Str(markup.GetAttribName(1)), "second");
    EXPECT_EQ(Str(markup.GetAttribName(2)), "fourth");
    EXPECT_EQ(Str(markup.GetAttribName(3)), "");
    EXPECT_EQ(Str(markup.GetAttribName(-1)), "");
}

TEST(DMarkupRead, NothingIsReadWithoutAPosition)
{
    DMarkup markup("<a x=\"1\">t</a>");
    EXPECT_EQ(Str(markup.GetTagName()), "");
    EXPECT_EQ(Str(markup.GetData()), "");
    EXPECT_EQ(Str(markup.GetAttrib("x")), "");
    EXPECT_EQ(Str(markup.GetAttribName(0)), "");
    EXPECT_EQ(Str(markup.GetSubDoc()), "");
    EXPECT_EQ(Str(markup.GetDocOfElem()), "");
    EXPECT_EQ(Str(markup.GetChildTagName()), "");
    EXPECT_EQ(Str(markup.GetParentTagName()), "");
    EXPECT_EQ(Str(markup.GetChildAttrib("x")), "");
}

TEST(DMarkupRead, TagNamesOfMainChildAndParent)
{
    DMarkup markup("<a><b><c/></b></a>");
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.IntoElem());
    ASSERT_TRUE(markup.FindElem("b"));
    ASSERT_TRUE(markup.FindChildElem("c"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "a");
    EXPECT_EQ(Str(markup.GetTagName()), "b");
    EXPECT_EQ(Str(markup.GetChildTagName()), "c");
}

TEST(DMarkupRead, SubDocumentTakesTrailingWhiteSpaceOnlyBeforeMarkup)
{
    DMarkup markup("<r>\r\n <a x=\"1\"><b/></a>\r\n <c>t</c> tail\r\n</r>\r\n");
    ASSERT_TRUE(markup.FindElem("r"));
    EXPECT_EQ(Str(markup.GetSubDoc()), Str(markup.GetDoc()));
    const std::string doc = Str(markup.GetDoc());
    EXPECT_EQ(Str(markup.GetDocOfElem()), doc.substr(0, doc.size() - 2));
    ASSERT_TRUE(markup.FindChildElem("a"));
    EXPECT_EQ(Str(markup.GetChildSubDoc()), "<a x=\"1\"><b/></a>\r\n ");
    ASSERT_TRUE(markup.FindChildElem("c"));
    EXPECT_EQ(Str(markup.GetChildSubDoc()), "<c>t</c>");
    ASSERT_TRUE(markup.IntoElem());
    EXPECT_EQ(Str(markup.GetDocOfElem()), "<c>t</c>");
}

TEST(DMarkupCodePage, ValuesAreConvertedFromAndToTheDocumentPage)
{
    // The document in Windows-1252, values in the process page (UTF-8).
    DMarkup markup;
    markup.SetDoc("<r a=\"\xE9\">\xE9t\xE9</r>");
    EXPECT_EQ(markup.SetCodePage(1252), 65001u);
    ASSERT_TRUE(markup.FindElem("r"));
    EXPECT_EQ(Str(markup.GetData()), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Str(markup.GetAttrib("a")), "\xC3\xA9");
    ASSERT_TRUE(markup.SetAttrib("b", "\xC3\xBC"));
    ASSERT_TRUE(markup.SetData("\xC3\xA0"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r a=\"\xE9\" b=\"\xFC\">\xE0</r>");
    EXPECT_EQ(markup.SetCodePage(DMarkup::kNoConversion), 1252u);
    EXPECT_EQ(Str(markup.GetData()), "\xE0");
    // Setting a document goes back to UTF-8.
    markup.SetDoc("<r/>");
    EXPECT_EQ(markup.SetCodePage(65001), 65001u);
}

TEST(DMarkupCopy, AssignmentCopiesDocumentAndCursorOnly)
{
    DMarkup source;
    source.SetDoc("<a><b/></a>");
    source.SetCodePage(1252);
    ASSERT_TRUE(source.FindElem());
    ASSERT_TRUE(source.FindChildElem());
    DMarkup failed("<x>");
    failed = source;
    EXPECT_EQ(Str(failed.GetDoc()), "<a><b/></a>");
    EXPECT_EQ(Str(failed.GetChildTagName()), "b");
    EXPECT_EQ(Str(failed.GetError()), "End tag of x element not found");
    EXPECT_EQ(failed.SetCodePage(65001), 65001u);
    DMarkup copy(source);
    EXPECT_EQ(Str(copy.GetTagName()), "a");
    EXPECT_EQ(copy.SetCodePage(65001), 65001u);
    copy.AddChildElem("c");
    EXPECT_EQ(Str(source.GetDoc()), "<a><b/></a>");
}

TEST(DMarkupDocument, ClearAndRestart)
{
    DMarkup markup("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a><b/></a>");
    ASSERT_TRUE(markup.FindElem());
    markup.Clear();
    EXPECT_FALSE(markup.IsWellFormed());
    EXPECT_EQ(Str(markup.GetDoc()), "");
    EXPECT_EQ(Str(markup.GetDeclaredEncoding()), "");
    EXPECT_FALSE(markup.FindElem());
    EXPECT_FALSE(markup.Restart());
    markup.SetDoc("<a><b/></a>");
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.IntoElem());
    EXPECT_TRUE(markup.Restart());
    EXPECT_EQ(Str(markup.GetTagName()), "");
    EXPECT_EQ(Str(markup.GetParentTagName()), "");
}

class DMarkupFileTest : public ::testing::Test
{
protected:
    std::string Path(const char* name) const
    {
        return std::string(SUITE_OUTPUT_DIR) + "/DMarkupTest_" + name;
    }
};

TEST_F(DMarkupFileTest, SaveAndLoadKeepTheBytes)
{
    const std::string path = Path("saved.xml");
    DMarkup markup("<?xml version=\"1.0\"?>\r\n<a>\xC3\xA9</a>\r\n");
    ASSERT_TRUE(markup.Save(path.c_str()));
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_EQ(bytes.str(), Str(markup.GetDoc()));

    DMarkup loaded;
    ASSERT_TRUE(loaded.Load(path.c_str()));
    EXPECT_EQ(Str(loaded.GetDoc()), Str(markup.GetDoc()));
    EXPECT_EQ(Str(loaded.GetFileName()), path);
    ASSERT_TRUE(loaded.FindElem("a"));
    EXPECT_EQ(Str(loaded.GetData()), "\xC3\xA9");
    std::remove(path.c_str());
}

TEST_F(DMarkupFileTest, LoadOfAMissingFileKeepsTheDocument)
{
    DMarkup markup("<a/>");
    EXPECT_FALSE(markup.Load(Path("missing.xml").c_str()));
    EXPECT_EQ(Str(markup.GetDoc()), "<a/>");
    EXPECT_TRUE(markup.IsWellFormed());
    EXPECT_EQ(Str(markup.GetFileName()), Path("missing.xml"));
}

TEST_F(DMarkupFileTest, LoadOfABadFileFailsWithTheParseError)
{
    const std::string path = Path("bad.xml");
    {
        std::ofstream file(path, std::ios::binary);
        file << "<a><b></a>";
    }
    DMarkup markup;
    EXPECT_FALSE(markup.Load(path.c_str()));
    EXPECT_EQ(Str(markup.GetError()), "End tag does not correspond to b");
    std::remove(path.c_str());
}

TEST_F(DMarkupFileTest, SaveIntoAMissingFolderFails)
{
    DMarkup markup("<a/>");
    EXPECT_FALSE(markup.Save(Path("no/such/folder/x.xml").c_str()));
    EXPECT_FALSE(markup.Save(nullptr));
}

} // namespace
