#include "SimpleFile.h"
#include "../../platform/base/TempFolder.h"

#include <gtest/gtest.h>

namespace
{

class SimpleFileTest : public testing::Test
{
protected:
    CTempFolder m_folder;
    std::string m_path = m_folder.GetPath("file.bin");
};

TEST_F(SimpleFileTest, WritesSeeksAndMeasures)
{
    SimpleFile file;
    ASSERT_TRUE(file.OpenForWrite(m_path.c_str()));
    EXPECT_EQ(file.Write("hello", 5), 5);
    EXPECT_EQ(file.GetPosition(), 5);
    EXPECT_EQ(file.GetLength(), 5);
    struct Case
    {
        long offset;
        int origin;
        long expected;
    };
    const Case cases[] = {{1, 0, 1}, {2, 1, 3}, {-1, 2, 4}, {0, 3, 0}, {0, -1, 0}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(file.Seek(c.offset, c.origin), c.expected) << c.offset << " from " << c.origin;
    }
    EXPECT_EQ(file.Seek(-10, 0), 0) << "before the start";
    EXPECT_EQ(file.HasError(), 0);
    EXPECT_EQ(file.Close(), 1);
    EXPECT_EQ(m_folder.ReadFile("file.bin"), "hello");
}

TEST_F(SimpleFileTest, NothingWrittenSetsTheErrorUntilTheNextOpening)
{
    SimpleFile file;
    ASSERT_TRUE(file.OpenForWrite(m_path.c_str()));
    EXPECT_EQ(file.Write("x", 0), 0);
    EXPECT_EQ(file.HasError(), 1);
    ASSERT_TRUE(file.OpenForWrite(m_path.c_str()));
    EXPECT_EQ(file.HasError(), 0);
    file.Close();
    EXPECT_EQ(file.Write("x", 1), 0) << "a closed file";
    EXPECT_EQ(file.HasError(), 1);
    EXPECT_EQ(file.GetLength(), 0);
    EXPECT_EQ(file.GetPosition(), 0);
}

TEST_F(SimpleFileTest, WritingCreatesAnewAndLetsOthersReadOnly)
{
    m_folder.WriteFile("file.bin", "a longer old content");
    SimpleFile writer;
    ASSERT_TRUE(writer.OpenForWrite(m_path.c_str()));
    writer.Write("new", 3);
    SimpleFile reader;
    ASSERT_TRUE(reader.OpenForRead(m_path.c_str()));
    char buffer[32] = {};
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "new");
    EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0) << "at the end";
    EXPECT_EQ(reader.HasError(), 0);
    SimpleFile secondWriter;
    EXPECT_FALSE(secondWriter.OpenForWrite(m_path.c_str()));
}

TEST_F(SimpleFileTest, MissingFilesAndFoldersDoNotOpen)
{
    SimpleFile file;
    EXPECT_FALSE(file.OpenForRead(m_path.c_str()));
    EXPECT_FALSE(file.OpenForWrite(m_folder.GetPath("missing/file.bin").c_str()));
    char buffer[4];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0);
    EXPECT_EQ(file.HasError(), 1);
}
} // namespace
