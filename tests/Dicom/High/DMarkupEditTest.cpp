// Cursor moves, paths and edits of DMarkup documents.
#include "DMarkup.h"
#include "DMarkupTestSupport.h"
#include "FileLog.h"
#include "VeltaroLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace
{

std::string Str(const Lettra& text)
{
    return std::string(text.constBuffer(), text.GetLength());
}

const char* const kSmall = "<AppSetting>\r\n"
                           "<Config>\r\n"
                           "<Item>1</Item>\r\n"
                           "<Other/>\r\n"
                           "</Config>\r\n"
                           "</AppSetting>\r\n";

// ---------------------------------------------------------------------------
// Cursor moves

TEST(DMarkupCursor, GotoPathEntersTheLastElementOfThePath)
{
    DMarkup markup(kSmall);
    ASSERT_TRUE(markup.GotoPath("/AppSetting/Config"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "Config");
    EXPECT_EQ(Str(markup.GetTagName()), "Item");
    EXPECT_TRUE(markup.Next());
    EXPECT_EQ(Str(markup.GetTagName()), "Other");
    EXPECT_FALSE(markup.Next());
    EXPECT_EQ(Str(markup.GetTagName()), "");
    // Past the end, Next starts over at the first element of the level.
    EXPECT_TRUE(markup.Next());
    EXPECT_EQ(Str(markup.GetTagName()), "Item");
}

TEST(DMarkupCursor, RelativePathWithDoubledSlashes)
{
    DMarkup markup(kSmall);
    markup.ResetPos();
    ASSERT_TRUE(markup.GotoPath("AppSetting//Config"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "Config");
    EXPECT_EQ(Str(markup.GetTagName()), "Item");
    // A trailing slash is only punctuation.
    ASSERT_TRUE(markup.GotoPath("/AppSetting/Config/"));
    EXPECT_EQ(Str(markup.GetTagName()), "Item");
}

TEST(DMarkupCursor, MissingPathStopsWhereTheWalkStopped)
{
    DMarkup markup(kSmall);
    EXPECT_FALSE(markup.GotoPath("/AppSetting/Missing"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "AppSetting");
    EXPECT_EQ(Str(markup.GetTagName()), "");
    EXPECT_FALSE(markup.GotoPath("/Other"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "");
}

TEST(DMarkupCursor, MissingPathIsLoggedWithTheFileName)
{
    const std::string xmlPath = std::string(SUITE_OUTPUT_DIR) + "/DMarkupTest_path.xml";
    const std::string logPath = std::string(SUITE_OUTPUT_DIR) + "/DMarkupTest_path.log";
    std::remove(logPath.c_str());
    ASSERT_TRUE(DMarkup(kSmall).Save(xmlPath.c_str()));
    DMarkup markup;
    ASSERT_TRUE(markup.Load(xmlPath.c_str()));
    VeltaroSetLogFileName(logPath.c_str());
    EXPECT_FALSE(markup.GotoPath("/AppSetting/Missing"));
    GetVeltaroLog().Off();
    std::ifstream file(logPath, std::ios::binary);
    std::stringstream log;
    log << file.rdbuf();
    const std::string line = "Cannot find path : AppSetting/Missing in file : " + xmlPath + "\r\n";
    EXPECT_NE(log.str().find(line), std::string::npos) << log.str();
    std::remove(xmlPath.c_str());
    std::remove(logPath.c_str());
}

TEST(DMarkupCursor, RelativePathSearchesAfterTheMainElement)
{
    DMarkup markup(kSmall);
    ASSERT_TRUE(markup.GotoPath("/AppSetting/Config"));
    EXPECT_FALSE(markup.GotoPath("Item"));
    ASSERT_TRUE(markup.GotoPath("/AppSetting/Config"));
    EXPECT_TRUE(markup.GotoPath("Other"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "Other");
    EXPECT_EQ(Str(markup.GetTagName()), "");
}

TEST(DMarkupCursor, GotoPathOfTheRootOnlyAndOfNothing)
{
    DMarkup markup(kSmall);
    ASSERT_TRUE(markup.GotoPath("/"));
    EXPECT_EQ(Str(markup.GetTagName()), "AppSetting");
    EXPECT_FALSE(markup.GotoPath(nullptr));
}

TEST(DMarkupCursor, GetPathNamesEveryLevel)
{
    DMarkup markup(kSmall);
    ASSERT_TRUE(markup.GotoPath("/AppSetting/Config"));
    EXPECT_EQ(Str(markup.GetPath()), "/AppSetting/Config/Item/");
    markup.ResetMainPos();
    EXPECT_EQ(Str(markup.GetPath()), "/AppSetting/Config/");
    EXPECT_EQ(Str(markup.GetTagName()), "");
    markup.ResetPos();
    EXPECT_EQ(Str(markup.GetPath()), "/");
}

TEST(DMarkupCursor, FindElemSearchesAfterTheMainElement)
{
    DMarkup markup("<r><a n=\"1\"/><b/><a n=\"2\"/></r>");
    ASSERT_TRUE(markup.FindElem("r"));
    ASSERT_TRUE(markup.IntoElem());
    ASSERT_TRUE(markup.FindElem("a"));
    EXPECT_EQ(Str(markup.GetAttrib("n")), "1");
    ASSERT_TRUE(markup.FindElem("a"));
    EXPECT_EQ(Str(markup.GetAttrib("n")), "2");
    EXPECT_FALSE(markup.FindElem("a"));
    EXPECT_EQ(Str(markup.GetAttrib("n")), "2");
    markup.ResetMainPos();
    ASSERT_TRUE(markup.FindElem());
    EXPECT_EQ(Str(markup.GetAttrib("n")), "1");
    // A given name that goes on with "/" or "[" matches its first part.
    markup.ResetMainPos();
    EXPECT_TRUE(markup.FindElem("b/c"));
    markup.ResetMainPos();
    EXPECT_TRUE(markup.FindElem("b[2]"));
    markup.ResetMainPos();
    EXPECT_FALSE(markup.FindElem("bc"));
}

TEST(DMarkupCursor, FindChildElemWalksTheChildrenOfTheMainElement)
{
    DMarkup markup("<r><a><x/><y/><x/></a><b/></r>");
    ASSERT_TRUE(markup.FindChildElem("a"));
    EXPECT_EQ(Str(markup.GetTagName()), "r");
    ASSERT_TRUE(markup.IntoElem());
    EXPECT_EQ(Str(markup.GetTagName()), "a");
    ASSERT_TRUE(markup.FindChildElem("x"));
    ASSERT_TRUE(markup.FindChildElem("x"));
    EXPECT_FALSE(markup.FindChildElem("x"));
    markup.ResetChildPos();
    ASSERT_TRUE(markup.FindChildElem());
    EXPECT_EQ(Str(markup.GetChildTagName()), "x");
    ASSERT_TRUE(markup.FindChildElem());
    EXPECT_EQ(Str(markup.GetChildTagName()), "y");
}

TEST(DMarkupCursor, IntoAndOutOfElements)
{
    DMarkup markup("<r><a><x/></a><b/></r>");
    EXPECT_FALSE(markup.IntoElem());
    EXPECT_FALSE(markup.OutOfElem());
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.FindChildElem("b"));
    ASSERT_TRUE(markup.IntoElem());
    EXPECT_EQ(Str(markup.GetTagName()), "b");
    EXPECT_EQ(Str(markup.GetParentTagName()), "r");
    ASSERT_TRUE(markup.OutOfElem());
    EXPECT_EQ(Str(markup.GetTagName()), "r");
    EXPECT_EQ(Str(markup.GetChildTagName()), "b");
    ASSERT_TRUE(markup.IntoElem());
    EXPECT_EQ(Str(markup.GetTagName()), "b");
    // IntoElem with a name enters that element and moves to its first child.
    ASSERT_TRUE(markup.OutOfElem());
    ASSERT_TRUE(markup.IntoElem());
    EXPECT_TRUE(markup.IntoElem("a"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "a");
    EXPECT_EQ(Str(markup.GetTagName()), "x");
    EXPECT_FALSE(markup.IntoElem("missing"));
}

TEST(DMarkupCursor, SiblingMovesAndChildren)
{
    DMarkup markup("<r><a><x/></a><b/><c/></r>");
    ASSERT_TRUE(markup.GotoPath("/r"));
    EXPECT_EQ(Str(markup.GetTagName()), "a");
    EXPECT_TRUE(markup.HasChild());
    EXPECT_TRUE(markup.NextSib());
    EXPECT_EQ(Str(markup.GetTagName()), "b");
    EXPECT_FALSE(markup.HasChild());
    EXPECT_TRUE(markup.NextSib());
    EXPECT_FALSE(markup.NextSib());
    EXPECT_FALSE(markup.NextSib());
    EXPECT_TRUE(markup.FirstSib());
    EXPECT_EQ(Str(markup.GetTagName()), "a");
    // NextChild steps through records in document order.
    markup.ResetChildPos();
    markup.NextChild();
    markup.NextChild();
    markup.NextChild();
    EXPECT_EQ(Str(markup.GetChildTagName()), "x");
    markup.NextChild();
    EXPECT_EQ(Str(markup.GetChildTagName()), "b");
    for (int i = 0; i < 10; ++i)
        markup.NextChild();
    EXPECT_EQ(Str(markup.GetChildTagName()), "");
    // A child position that is no child of the main element places nothing.
    ASSERT_TRUE(markup.AddChildElem("z"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r><a><x/><z/>\r\n</a><b/><c/></r>");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupCursor, SavedPositionComesBack)
{
    DMarkup markup(kSmall);
    ASSERT_TRUE(markup.GotoPath("/AppSetting/Config"));
    markup.Next();
    DMarkup::SavedPos saved{};
    markup.GetPos(&saved);
    markup.ResetPos();
    markup.SetPos(&saved);
    EXPECT_EQ(Str(markup.GetTagName()), "Other");
    EXPECT_EQ(Str(markup.GetParentTagName()), "Config");
}

TEST(DMarkupCursor, ValuesByName)
{
    DMarkup markup(kSmall);
    ASSERT_TRUE(markup.GotoPath("/AppSetting/Config"));
    markup.Next();
    EXPECT_EQ(Str(markup.GetData("Item")), "1");
    EXPECT_EQ(Str(markup.GetTagName()), "Item");
    EXPECT_EQ(Str(markup.GetData("Missing")), "");
    EXPECT_EQ(Str(markup.GetData("Missing", "fallback")), "fallback");
    EXPECT_EQ(Str(markup.GetData("Missing", -12)), "-12");
    EXPECT_EQ(Str(markup.GetData("Item", -12)), "1");
    EXPECT_EQ(Str(markup.GetData("Other", "fallback")), "");
}

TEST(DMarkupCursor, ForEachNodeVisitsTheElementsBelowInDocumentOrder)
{
    DMarkup markup("<r><a><x/><y><z/></y></a><b/></r>");
    std::string visited;
    auto visit = [](DMarkup* m, unsigned long data) -> int
    {
        *reinterpret_cast<std::string*>(data) += m->GetTagName().constBuffer();
        *reinterpret_cast<std::string*>(data) += m->GetParentTagName().constBuffer();
        return 0;
    };
    DMarkup::ForEachNode(&markup, visit, reinterpret_cast<unsigned long>(&visited));
    EXPECT_EQ(visited, "arxayazybr");
    EXPECT_EQ(Str(markup.GetTagName()), "r");

    visited.clear();
    ASSERT_TRUE(markup.GotoPath("/r"));
    DMarkup::ForEachNode(&markup, visit, reinterpret_cast<unsigned long>(&visited));
    EXPECT_EQ(visited, "xayazy");

    DMarkup empty("<r/>");
    visited.clear();
    DMarkup::ForEachNode(&empty, visit, reinterpret_cast<unsigned long>(&visited));
    EXPECT_EQ(visited, "");
    DMarkup::ForEachNode(&markup, nullptr, 0);
}

// ---------------------------------------------------------------------------
// Edits

TEST(DMarkupEdit, CreatePathAddsTheMissingElements)
{
    DMarkup markup(kSmall);
    ASSERT_TRUE(markup.CreatePath("/AppSetting/N/L"));
    EXPECT_EQ(Str(markup.GetParentTagName()), "L");
    EXPECT_EQ(Str(markup.GetTagName()), "");
    EXPECT_TRUE(IsConsistent(markup));
    ASSERT_TRUE(markup.GotoPath("/AppSetting/N/L"));
    ASSERT_TRUE(markup.GotoPath("/AppSetting"));
    markup.Next();
    EXPECT_EQ(Str(markup.GetTagName()), "N");
    EXPECT_NE(Str(markup.GetDoc()).find("<N>\r\n<L/>\r\n</N>"), std::string::npos);
    // An existing path is only walked.
    const std::string before = Str(markup.GetDoc());
    ASSERT_TRUE(markup.CreatePath("/AppSetting/Config"));
    EXPECT_EQ(Str(markup.GetDoc()), before);
    EXPECT_EQ(Str(markup.GetParentTagName()), "Config");
    // A second root cannot be made.
    EXPECT_FALSE(markup.CreatePath("/Second"));
}

TEST(DMarkupEdit, AddElemAtTheDocumentLevelNeedsNoRoot)
{
    DMarkup markup(kSmall);
    EXPECT_FALSE(markup.AddElem("Second"));
    EXPECT_FALSE(markup.InsertElem("Second"));
    EXPECT_EQ(Str(markup.GetDoc()), kSmall);

    DMarkup built;
    EXPECT_FALSE(built.SetDoc("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"));
    ASSERT_TRUE(built.AddElem("DataSet"));
    EXPECT_TRUE(built.IsWellFormed());
    ASSERT_TRUE(built.IntoElem());
    ASSERT_TRUE(built.AddElem("Veltaro"));
    ASSERT_TRUE(built.AddChildElem("Group", "0x0010"));
    ASSERT_TRUE(built.AddChildElem("Value", "A<B"));
    ASSERT_TRUE(built.AddElem("Veltaro"));
    EXPECT_EQ(Str(built.GetDoc()), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                                   "<DataSet>\r\n"
                                   "<Veltaro>\r\n"
                                   "<Group>0x0010</Group>\r\n"
                                   "<Value>A&lt;B</Value>\r\n"
                                   "</Veltaro>\r\n"
                                   "<Veltaro/>\r\n"
                                   "</DataSet>\r\n");
    EXPECT_TRUE(IsConsistent(built));
}

TEST(DMarkupEdit, NoRootIsAddedAfterMarkupThatFailedToParse)
{
    DMarkup markup("<a");
    EXPECT_FALSE(markup.AddElem("b"));
    EXPECT_EQ(Str(markup.GetDoc()), "<a");
    DMarkup text("plain text");
    EXPECT_TRUE(text.AddElem("b"));
    EXPECT_TRUE(IsConsistent(text));
}

TEST(DMarkupEdit, ChildDataIsEscapedAndReadBack)
{
    DMarkup markup("<r/>");
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.AddChildElem("c", "a<b"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n<c>a&lt;b</c>\r\n</r>");
    EXPECT_EQ(Str(markup.GetChildData()), "a<b");
    EXPECT_EQ(Str(markup.GetTagName()), "r");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, PlacementOfNewElements)
{
    DMarkup markup("<r>\r\n<a/>\r\n<c/>\r\n</r>");
    ASSERT_TRUE(markup.GotoPath("/r"));
    // Main element a: Add goes after it, Insert before it.
    ASSERT_TRUE(markup.AddElem("b"));
    ASSERT_TRUE(markup.InsertElem("b0"));
    markup.ResetMainPos();
    ASSERT_TRUE(markup.AddElem("z"));
    markup.ResetMainPos();
    ASSERT_TRUE(markup.InsertElem("first"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n<first/>\r\n<a/>\r\n<b0/>\r\n<b/>\r\n<c/>\r\n"
                                    "<z/>\r\n</r>");
    EXPECT_TRUE(IsConsistent(markup));
    // Child forms: next to the child position, or at either end.
    markup.ResetPos();
    ASSERT_TRUE(markup.FindElem("r"));
    ASSERT_TRUE(markup.InsertChildElem("c0"));
    ASSERT_TRUE(markup.AddChildElem("c1"));
    EXPECT_EQ(Str(markup.GetChildTagName()), "c1");
    markup.ResetChildPos();
    ASSERT_TRUE(markup.AddChildElem("last"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n<c0/>\r\n<c1/>\r\n<first/>\r\n<a/>\r\n<b0/>\r\n<b/>\r\n"
                                    "<c/>\r\n<z/>\r\n<last/>\r\n</r>");
    EXPECT_TRUE(IsConsistent(markup));
    markup.ResetPos();
    EXPECT_FALSE(markup.AddChildElem("x"));
}

TEST(DMarkupEdit, InvalidNamesAreRefused)
{
    DMarkup markup("<r/>");
    ASSERT_TRUE(markup.FindElem());
    for (const char* name : {"", "a b", "a>", "<a", "a/", "a=b", "a\"", "'a", "a&b", "a\tb"})
    {
        EXPECT_FALSE(markup.AddChildElem(name)) << name;
        EXPECT_FALSE(markup.SetAttrib(name, "1")) << name;
    }
    EXPECT_FALSE(markup.AddChildElem(nullptr));
    EXPECT_EQ(Str(markup.GetDoc()), "<r/>");
}

TEST(DMarkupEdit, SetDataOnAnElementWithChildrenChangesNothing)
{
    DMarkup markup("<r><a/></r>");
    ASSERT_TRUE(markup.FindElem());
    EXPECT_FALSE(markup.SetData("x"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r><a/></r>");
    markup.ResetPos();
    EXPECT_FALSE(markup.SetData("x"));
    EXPECT_FALSE(markup.SetChildData("x"));
}

TEST(DMarkupEdit, SetDataReplacesOrOpensTheContent)
{
    DMarkup markup("<r><a/><b>old</b><c>x</c></r>");
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.FindChildElem("a"));
    ASSERT_TRUE(markup.SetChildData("1 & 2"));
    ASSERT_TRUE(markup.FindChildElem("b"));
    ASSERT_TRUE(markup.SetChildData("<new>", 1));
    ASSERT_TRUE(markup.FindChildElem("c"));
    ASSERT_TRUE(markup.SetChildData("a]]>b", 1));
    EXPECT_EQ(Str(markup.GetDoc()), "<r><a>1 &amp; 2</a><b><![CDATA[<new>]]></b>"
                                    "<c>a]]&gt;b</c></r>");
    EXPECT_TRUE(IsConsistent(markup));
    EXPECT_EQ(Str(markup.GetChildData()), "a]]>b");
    ASSERT_TRUE(markup.IntoElem());
    ASSERT_TRUE(markup.SetData(""));
    EXPECT_EQ(Str(markup.GetData()), "");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, AttributesAreAddedAndReplaced)
{
    DMarkup markup("<r><e/><f a='old' b=\"2\">t</f></r>");
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.FindChildElem("e"));
    ASSERT_TRUE(markup.SetChildAttrib("x", "\"q\" & 'a'"));
    ASSERT_TRUE(markup.FindChildElem("f"));
    ASSERT_TRUE(markup.SetChildAttrib("a", 42));
    ASSERT_TRUE(markup.AddChildAttrib("c", "<"));
    EXPECT_EQ(
        Str(markup.GetDoc()),
        "<r><e x=\"&quot;q&quot; &amp; &apos;a&apos;\"/><f a='42' b=\"2\" c=\"&lt;\">t</f></r>");
    EXPECT_TRUE(IsConsistent(markup));
    EXPECT_EQ(Str(markup.GetChildAttrib("a")), "42");
    ASSERT_TRUE(markup.IntoElem());
    EXPECT_EQ(Str(markup.GetAttrib("c")), "<");
    EXPECT_EQ(Str(markup.GetData()), "t");
    markup.ResetPos();
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.IntoElem());
    ASSERT_TRUE(markup.FindElem("e"));
    EXPECT_EQ(Str(markup.GetAttrib("x")), "\"q\" & 'a'");
    EXPECT_FALSE(markup.HasChild());
    ASSERT_TRUE(markup.AddAttrib("n", -3));
    EXPECT_EQ(Str(markup.GetAttrib("n")), "-3");
    markup.ResetMainPos();
    EXPECT_FALSE(markup.SetAttrib("y", "1"));
}

TEST(DMarkupEdit, AttributeOfAnEmptyElementGoesBeforeItsSlash)
{
    DMarkup markup("<r/>");
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.SetAttrib("a", "1"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r a=\"1\"/>");
    EXPECT_EQ(Str(markup.GetData()), "");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, RemovingElements)
{
    DMarkup markup("<r>\r\n<a/>\r\n<b><x/></b>\r\n<c/> tail\r\n</r>");
    ASSERT_TRUE(markup.GotoPath("/r"));
    ASSERT_TRUE(markup.FindElem("b"));
    ASSERT_TRUE(markup.RemoveElem());
    EXPECT_EQ(Str(markup.GetTagName()), "a");
    EXPECT_TRUE(IsConsistent(markup));
    ASSERT_TRUE(markup.FindElem("c"));
    ASSERT_TRUE(markup.RemoveElem());
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n<a/>\r\n tail\r\n</r>");
    EXPECT_TRUE(IsConsistent(markup));
    // Text follows: only the element goes.
    ASSERT_TRUE(markup.FirstSib());
    ASSERT_TRUE(markup.RemoveElem());
    EXPECT_EQ(Str(markup.GetTagName()), "");
    EXPECT_FALSE(markup.RemoveElem());
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n\r\n tail\r\n</r>");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, RemoveChildElemMovesToThePreviousChild)
{
    DMarkup markup("<r><a/><b/><c/></r>");
    ASSERT_TRUE(markup.FindElem());
    EXPECT_FALSE(markup.RemoveChildElem());
    ASSERT_TRUE(markup.FindChildElem("b"));
    ASSERT_TRUE(markup.RemoveChildElem());
    EXPECT_EQ(Str(markup.GetChildTagName()), "a");
    ASSERT_TRUE(markup.RemoveChildElem());
    EXPECT_EQ(Str(markup.GetChildTagName()), "");
    EXPECT_EQ(Str(markup.GetDoc()), "<r><c/></r>");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, RemoveElemByNameRemovesEveryMatchAfterTheMainElement)
{
    DMarkup markup("<r><k/><a/><k/><b/><k/></r>");
    ASSERT_TRUE(markup.GotoPath("/r"));
    ASSERT_TRUE(markup.RemoveElem("k"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r><k/><a/><b/></r>");
    EXPECT_EQ(Str(markup.GetTagName()), "b");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, SetItemDataReplacesTheElement)
{
    DMarkup markup("<r>\r\n<k>1</k>\r\n<a/>\r\n</r>");
    ASSERT_TRUE(markup.GotoPath("/r"));
    markup.ResetMainPos();
    ASSERT_TRUE(markup.SetItemData("k", "2"));
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n<a/>\r\n<k>2</k>\r\n</r>");
    EXPECT_EQ(Str(markup.GetData("k")), "2");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, RemoveAllChildKeepsElementsWithChildren)
{
    DMarkup markup("<r><leaf/><parent><x/></parent><leaf2>t</leaf2></r>");
    ASSERT_TRUE(markup.GotoPath("/r"));
    ASSERT_TRUE(markup.RemoveAllChild());
    EXPECT_EQ(Str(markup.GetDoc()), "<r><parent><x/></parent></r>");
    EXPECT_TRUE(IsConsistent(markup));
    ASSERT_TRUE(markup.RemoveDescendant());
    EXPECT_EQ(Str(markup.GetDoc()), "<r></r>");
    EXPECT_TRUE(IsConsistent(markup));
    markup.ResetPos();
    ASSERT_TRUE(markup.RemoveDescendant());
    EXPECT_EQ(Str(markup.GetDoc()), "");
    EXPECT_FALSE(markup.IsWellFormed());
}

TEST(DMarkupEdit, SubDocumentsAreInsertedAndParsedInPlace)
{
    DMarkup markup("<r>\r\n<a/>\r\n</r>");
    ASSERT_TRUE(markup.FindElem());
    ASSERT_TRUE(markup.AddChildSubDoc("<?xml version=\"1.0\"?>\r\n<!-- c -->\r\n"
                                      "<s k=\"v\"><t>1</t><u/></s>\r\n"));
    EXPECT_EQ(Str(markup.GetChildTagName()), "s");
    EXPECT_EQ(Str(markup.GetChildAttrib("k")), "v");
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n<a/>\r\n<s k=\"v\"><t>1</t><u/></s>\r\n</r>");
    EXPECT_TRUE(IsConsistent(markup));
    ASSERT_TRUE(markup.IntoElem());
    ASSERT_TRUE(markup.InsertSubDoc("<p><q/></p>"));
    EXPECT_EQ(Str(markup.GetTagName()), "p");
    ASSERT_TRUE(markup.IntoElem());
    ASSERT_TRUE(markup.AddSubDoc("<n/>"));
    EXPECT_EQ(Str(markup.GetTagName()), "n");
    EXPECT_EQ(Str(markup.GetDoc()),
              "<r>\r\n<a/>\r\n<p><q/><n/></p><s k=\"v\"><t>1</t><u/></s>\r\n</r>");
    EXPECT_TRUE(IsConsistent(markup));
    ASSERT_TRUE(markup.AddChildSubDoc("<in/>"));
    EXPECT_TRUE(IsConsistent(markup));
    ASSERT_TRUE(markup.InsertChildSubDoc("<in0>x</in0>\r\n<ignored/>"));
    EXPECT_EQ(Str(markup.GetChildTagName()), "in0");
    EXPECT_EQ(Str(markup.GetDoc()), "<r>\r\n<a/>\r\n<p><q/><n>\r\n<in0>x</in0>\r\n<in/></n></p>"
                                    "<s k=\"v\"><t>1</t><u/></s>\r\n</r>");
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, SubDocumentThatDoesNotParseChangesNothing)
{
    DMarkup markup("<r><a/></r>");
    ASSERT_TRUE(markup.FindElem());
    for (const char* xml : {"<s>", "<s></t>", "no markup", "", "<s><t></s>"})
    {
        EXPECT_FALSE(markup.AddChildSubDoc(xml)) << xml;
        EXPECT_EQ(Str(markup.GetDoc()), "<r><a/></r>");
        EXPECT_FALSE(markup.GetError().IsEmpty());
    }
    EXPECT_FALSE(markup.AddChildSubDoc(nullptr));
    markup.ResetPos();
    EXPECT_FALSE(markup.AddSubDoc("<s/>"));
    EXPECT_TRUE(IsConsistent(markup));
}

TEST(DMarkupEdit, EditsStopAtTheNestingLimit)
{
    DMarkup markup("<n/>");
    ASSERT_TRUE(markup.FindElem());
    for (int depth = 1; depth < DMarkup::kMaxDepth; ++depth)
    {
        ASSERT_TRUE(markup.AddChildElem("n")) << depth;
        ASSERT_TRUE(markup.IntoElem());
    }
    EXPECT_FALSE(markup.AddChildElem("n"));
    ASSERT_TRUE(markup.OutOfElem());
    EXPECT_FALSE(markup.AddChildSubDoc("<a><b/></a>"));
    EXPECT_TRUE(markup.AddChildSubDoc("<a/>"));
    EXPECT_TRUE(IsConsistent(markup));
}

// Random edits on the configuration document: after each one the records must
// match a fresh parse of the text.
TEST(DMarkupEdit, RandomEditsKeepTheRecordsRight)
{
    DMarkup markup(ReadConfigText().c_str());
    ASSERT_TRUE(markup.IsWellFormed());
    std::mt19937 random(20240611);
    const std::vector<const char*> names = {"A", "Config", "Item", "n", "VIEWPORT"};
    const std::vector<const char*> texts = {nullptr, "", "x", "a<b&c>", "\r\n  ", "]]>"};
    for (int step = 0; step < 2000; ++step)
    {
        const int action = static_cast<int>(random() % 24);
        const char* name = names[random() % names.size()];
        const char* text = texts[random() % texts.size()];
        switch (action)
        {
        case 0:
            markup.AddElem(name, text);
            break;
        case 1:
            markup.InsertElem(name, text);
            break;
        case 2:
            markup.AddChildElem(name, text);
            break;
        case 3:
            markup.InsertChildElem(name, text);
            break;
        case 4:
            markup.SetAttrib(name, text);
            break;
        case 5:
            markup.SetChildAttrib(name, static_cast<int>(random() % 1000));
            break;
        case 6:
            markup.SetData(text, static_cast<int>(random() % 2));
            break;
        case 7:
            markup.SetChildData(text, static_cast<int>(random() % 2));
            break;
        case 8:
            markup.RemoveElem();
            break;
        case 9:
            markup.RemoveChildElem();
            break;
        case 10:
            markup.AddChildSubDoc("<s a=\"1\">\r\n<t>x</t>\r\n<u/>\r\n</s>\r\n");
            break;
        case 11:
            markup.InsertSubDoc("<p><q/></p>");
            break;
        case 12:
            markup.IntoElem();
            break;
        case 13:
            markup.OutOfElem();
            break;
        case 14:
            markup.Next();
            break;
        case 15:
            markup.FindChildElem();
            break;
        case 16:
            markup.FindElem(name);
            break;
        case 17:
            markup.ResetMainPos();
            break;
        case 18:
            markup.SetItemData(name, text);
            break;
        case 19:
            markup.CreatePath("/AppSetting/Config/New/Deeper");
            break;
        case 20:
            markup.GotoPath("/AppSetting/Config/Overlay");
            break;
        case 21:
            markup.NextChild();
            break;
        case 22:
            markup.RemoveAllChild();
            break;
        default:
            markup.FirstSib();
            break;
        }
        ASSERT_TRUE(IsConsistent(markup)) << "step " << step << " action " << action;
        if (!markup.IsWellFormed())
            markup.SetDoc(ReadConfigText().c_str());
    }
}

} // namespace
