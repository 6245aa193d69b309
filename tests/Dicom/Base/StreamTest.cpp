#include "FileBuffer.h"
#include "InBuffer.h"
#include "OutBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Counting(std::size_t size)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    }
    return bytes;
}

Bytes ReadWhole(InBuffer& stream)
{
    Bytes bytes(stream.GetAvailable());
    stream.ReadAll(bytes.data());
    return bytes;
}

// Files of one test in a folder of their own.
class FileStreams : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() /
                   ("veltaro-streams-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string PathOf(const char* name) const { return (m_folder / name).string(); }
    std::string WriteFile(const char* name, const Bytes& bytes) const
    {
        const std::string path = PathOf(name);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static Bytes ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path m_folder;
};

TEST(MemInBuffer, ReadsValuesInHostOrder)
{
    const std::uint8_t block[] = {1, 2, 3, 4, 5, 6, 7};
    MemInBuffer stream(block, sizeof(block));
    std::uint32_t four = 0;
    std::uint16_t two = 0;
    std::uint8_t one = 0;
    EXPECT_EQ(stream.Get4(four), 1);
    EXPECT_EQ(stream.Get2(two), 1);
    EXPECT_EQ(four, 0x04030201u);
    EXPECT_EQ(two, 0x0605);
    EXPECT_EQ(stream.GetConsumed(), 6u);
    EXPECT_EQ(stream.Get2(two), 0); // one byte left: nothing consumed
    EXPECT_EQ(two, 0x0605);
    EXPECT_EQ(stream.GetAvailable(), 1u);
    EXPECT_EQ(stream.Get1(one), 1);
    EXPECT_EQ(one, 7);
    EXPECT_EQ(stream.IsEnd(), 1);
    EXPECT_EQ(stream.Get1(one), 0);
}

TEST(MemInBuffer, ValuesSpanningTwoChunksAreJoined)
{
    const std::uint8_t first[] = {1, 2, 3};
    const std::uint8_t second[] = {4, 5};
    MemInBuffer stream(first, sizeof(first));
    stream.Attach(second, sizeof(second));
    std::uint32_t four = 0;
    EXPECT_EQ(stream.Get4(four), 1);
    EXPECT_EQ(four, 0x04030201u);
    EXPECT_EQ(stream.GetAvailable(), 1u);
}

TEST(MemInBuffer, PutBackMovesTheOwnChunkBack)
{
    auto* block = new std::uint8_t[8]{1, 2, 3, 4, 5, 6, 7, 8};
    MemInBuffer stream;
    stream.Attach(block, 8, true);
    std::uint32_t tag = 0;
    stream.Get4(tag);
    EXPECT_EQ(stream.PutBack(&tag, 4), 1);
    EXPECT_EQ(stream.GetChunkCount(), 1);
    EXPECT_EQ(stream.GetAvailable(), 8u);
    EXPECT_EQ(stream.GetConsumed(), 0u);
    EXPECT_EQ(ReadWhole(stream), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(MemInBuffer, PutBackNeverWritesIntoACallersBlock)
{
    const Bytes original = {1, 2, 3, 4, 5, 6, 7, 8};
    Bytes block = original;
    MemInBuffer stream(block.data(), static_cast<std::uint32_t>(block.size()));
    std::uint32_t tag = 0;
    stream.Get4(tag);
    stream.PutBack(&tag, 4); // the same bytes: the position moves back
    EXPECT_EQ(stream.GetChunkCount(), 1);
    stream.Get4(tag);
    const std::uint8_t other[] = {9, 9};
    stream.PutBack(other, 2); // other bytes: a chunk of their own
    EXPECT_EQ(stream.GetChunkCount(), 2);
    EXPECT_EQ(block, original);
    EXPECT_EQ(ReadWhole(stream), (Bytes{9, 9, 5, 6, 7, 8}));
    stream.PutBack(other, 2); // an empty stream
    EXPECT_EQ(ReadWhole(stream), (Bytes{9, 9}));
}

TEST(MemInBuffer, ReadSkipPeekAndEnsure)
{
    const Bytes bytes = Counting(100);
    MemInBuffer stream(bytes.data(), 100);
    Bytes peeked(10);
    EXPECT_EQ(stream.Peek(peeked.data(), 10), 10u);
    EXPECT_EQ(stream.GetConsumed(), 0u);
    EXPECT_EQ(stream.Skip(10), 10u);
    Bytes read(10);
    EXPECT_EQ(stream.Read(read.data(), 10), 10u);
    EXPECT_EQ(peeked, Bytes(bytes.begin(), bytes.begin() + 10));
    EXPECT_EQ(read, Bytes(bytes.begin() + 10, bytes.begin() + 20));
    EXPECT_EQ(stream.Ensure(1000), 80u);
    EXPECT_EQ(stream.Skip(1000), 80u);
    EXPECT_EQ(stream.Ensure(4), 0u);
    EXPECT_EQ(stream.Peek(read.data(), 4), 0u);
    EXPECT_EQ(stream.FillAtLeast(0xFFFFFFF0u), 0);
}

TEST(MemInBuffer, GetContiguousPointsIntoTheFirstChunk)
{
    const std::uint8_t first[] = {1, 2, 3};
    const std::uint8_t second[] = {4, 5};
    MemInBuffer stream(first, sizeof(first));
    stream.Attach(second, sizeof(second));
    EXPECT_EQ(stream.GetContiguous(3), first);
    EXPECT_EQ(stream.GetContiguous(4), nullptr);
    stream.Skip(3);
    EXPECT_EQ(stream.GetContiguous(2), second);
}

TEST(MemInBuffer, TransferAndCopyBetweenInputStreams)
{
    const Bytes a = {1, 2, 3};
    const Bytes b = {4, 5};
    MemInBuffer source(a.data(), 3);
    MemInBuffer target(b.data(), 2);
    MemInBuffer copy;
    EXPECT_EQ(source.CopyTo(copy), 1);
    EXPECT_EQ(source.TransferTo(target), 1);
    EXPECT_EQ(source.GetAvailable(), 0u);
    EXPECT_EQ(target.GetAvailable(), 5u);
    EXPECT_EQ(source.TransferTo(target), 0);
    EXPECT_EQ(ReadWhole(target), (Bytes{4, 5, 1, 2, 3}));
    EXPECT_EQ(ReadWhole(copy), a);
}

TEST(MemInBuffer, TransferToAnOutputStreamKeepsOnlyUnreadBytes)
{
    const Bytes a = {1, 2, 3, 4};
    const Bytes b = {5, 6};
    MemInBuffer source(a.data(), 4);
    source.Attach(b.data(), 2);
    source.Skip(1);
    MemOutBuffer out;
    out.Write("x", 1);
    EXPECT_EQ(source.TransferTo(out), 1);
    EXPECT_EQ(source.GetAvailable(), 0u);
    EXPECT_EQ(out.GetTotal(), 6u);
    Bytes all(6);
    out.CopyOut(all.data());
    EXPECT_EQ(all, (Bytes{'x', 2, 3, 4, 5, 6}));
}

TEST(MemOutBuffer, LargeWritesGetAChunkOfTheirOwn)
{
    const Bytes bytes = Counting(100000);
    MemOutBuffer out;
    EXPECT_EQ(out.Write(bytes.data(), 100000), 100000u);
    EXPECT_EQ(out.GetTotal(), 100000u);
    ASSERT_EQ(out.GetChunkCount(), 2);
    EXPECT_EQ(out.GetChunkCapacity(0), 0x8000u);
    EXPECT_EQ(out.GetChunkCapacity(1), 100000u);
    Bytes copied(100000);
    out.CopyOut(copied.data());
    EXPECT_EQ(copied, bytes);
    EXPECT_EQ(out.GetTotal(), 0u);
}

TEST(MemOutBuffer, ValuesSplitAcrossAFullChunk)
{
    std::uint8_t block[3] = {};
    MemOutBuffer out;
    out.Attach(block, sizeof(block), false);
    out.Put2(0x0201).Put4(0x06050403).Put1(7);
    EXPECT_EQ(out.GetTotal(), 7u);
    EXPECT_EQ(Bytes(block, block + 3), (Bytes{1, 2, 3}));
    MemInBuffer in;
    out.TransferTo(in);
    EXPECT_EQ(out.GetTotal(), 0u);
    EXPECT_EQ(ReadWhole(in), (Bytes{1, 2, 3, 4, 5, 6, 7}));
}

TEST(MemOutBuffer, CopyOutIntoTheAttachedBlockItself)
{
    std::uint8_t block[16] = {};
    MemOutBuffer out;
    out.Attach(block, 4, false);
    out.Write("abcdefgh", 8);
    out.CopyOut(block);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 8), "abcdefgh");
}

TEST(MemOutBuffer, FlushDropsTheContent)
{
    MemOutBuffer out;
    out.Put4(1);
    EXPECT_EQ(out.Flush(), 0);
    EXPECT_EQ(out.GetTotal(), 0u);
}

TEST(MemOutBuffer, TransferAndCopyBetweenOutputStreams)
{
    MemOutBuffer a;
    a.Write("ab", 2);
    MemOutBuffer b;
    b.Write("c", 1);
    MemOutBuffer copy;
    EXPECT_EQ(a.CopyTo(copy), 1);
    EXPECT_EQ(a.TransferTo(b), 1);
    EXPECT_EQ(b.GetTotal(), 3u);
    EXPECT_EQ(a.GetTotal(), 0u);
    char text[4] = {};
    b.CopyOut(text);
    EXPECT_STREQ(text, "cab");
    char again[3] = {};
    copy.CopyOut(again);
    EXPECT_STREQ(again, "ab");
}

TEST_F(FileStreams, AnEmptyFileEndsAtTheFirstPull)
{
    IFB stream;
    ASSERT_EQ(stream.Open(WriteFile("empty", {}).c_str(), 0x40), 1);
    EXPECT_EQ(stream.IsEnd(), 0);
    EXPECT_EQ(stream.Ensure(4), 0u);
    EXPECT_EQ(stream.IsEnd(), 1);
    EXPECT_EQ(stream.GetAvailable(), 0u);
    EXPECT_EQ(stream.Open(PathOf("missing").c_str(), 0x40), 0);
}

TEST_F(FileStreams, WrittenFilesReadBack)
{
    const Bytes bytes = Counting(200000);
    const std::string path = PathOf("written");
    {
        OFB out;
        ASSERT_EQ(out.OpenForWrite(path.c_str(), 0x10), 1);
        out.Put4(0x44434241);
        out.Write(bytes.data(), 200000);
    } // flushed and closed
    Bytes expected = {'A', 'B', 'C', 'D'};
    expected.insert(expected.end(), bytes.begin(), bytes.end());
    EXPECT_EQ(ReadFile(path), expected);

    IFB in;
    ASSERT_EQ(in.Open(path.c_str(), 0x20), 1);
    EXPECT_EQ(in.GetFileSize(), 200004u);
    EXPECT_EQ(in.GetRemaining(), 200004u);
    std::uint32_t head = 0;
    EXPECT_EQ(in.Get4(head), 1);
    EXPECT_EQ(head, 0x44434241u);
    EXPECT_EQ(in.GetRemaining(), 200000u);
    Bytes rest(200000);
    EXPECT_EQ(in.Read(rest.data(), 200000), 200000u);
    EXPECT_EQ(rest, bytes);
    EXPECT_EQ(in.GetConsumed(), 200004u);
    EXPECT_EQ(in.Read(rest.data(), 1), 0u);
    EXPECT_EQ(in.IsEnd(), 1);
}

TEST_F(FileStreams, AWholeFilePassesIntoAnOutputStream)
{
    const Bytes bytes = Counting(70000);
    IFB in;
    ASSERT_EQ(in.Open(WriteFile("whole", bytes).c_str(), 0x40), 1);
    in.Skip(5);
    MemOutBuffer out;
    in.TransferTo(out);
    EXPECT_EQ(out.GetTotal(), 69995u);
    Bytes copied(69995);
    out.CopyOut(copied.data());
    EXPECT_EQ(copied, Bytes(bytes.begin() + 5, bytes.end()));
}

TEST_F(FileStreams, AHugeFillNeverAsksForMoreThanTheFileHolds)
{
    IFB in;
    ASSERT_EQ(in.Open(WriteFile("small", Counting(100)).c_str(), 0x40), 1);
    EXPECT_EQ(in.FillAtLeast(0xF0000000u), 0);
    EXPECT_EQ(in.GetAvailable(), 100u);
}

TEST_F(FileStreams, APullSizeReadsAheadAndKeepsTheCountOfWhatIsLeft)
{
    IFB in;
    ASSERT_EQ(in.Open(WriteFile("ahead", Counting(100)).c_str(), 0x40), 1);
    in.SetPullSize(64);
    EXPECT_EQ(in.Ensure(4), 4u);
    EXPECT_EQ(in.GetAvailable(), 64u);
    EXPECT_EQ(in.GetRemaining(), 100u);
    Bytes head(70);
    ASSERT_EQ(in.Read(head.data(), 70), 70u);
    EXPECT_EQ(in.GetRemaining(), 30u);
    const Bytes all = Counting(100);
    EXPECT_EQ(ReadWhole(in), Bytes(all.begin() + 70, all.end()));
    EXPECT_EQ(in.GetRemaining(), 0u);
    EXPECT_EQ(in.FillAtLeast(1), 0);
}

TEST_F(FileStreams, TheHandleMovesWithTheStream)
{
    IFB first;
    ASSERT_EQ(first.Open(WriteFile("moved", Counting(10)).c_str(), 0x40), 1);
    first.Ensure(4);
    IFB second;
    first.TransferTo(second);
    EXPECT_FALSE(first.IsOpen());
    EXPECT_EQ(first.IsEnd(), 1);
    EXPECT_TRUE(second.IsOpen());
    EXPECT_EQ(second.GetAvailable(), 4u);
    EXPECT_EQ(second.Ensure(10), 10u);
    EXPECT_EQ(ReadWhole(second), Counting(10));
}

TEST_F(FileStreams, DoubleStreamReadsAndWrites)
{
    const std::string path = PathOf("double");
    {
        DFB file;
        EXPECT_EQ(file.IsEnd(), 1);
        ASSERT_EQ(file.OpenForWrite(path.c_str(), 0x10), 1);
        static_cast<OutBuffer&>(file).Write("0123456789", 10);
        EXPECT_EQ(static_cast<OutBuffer&>(file).Flush(), 1);
    }
    DFB file;
    ASSERT_EQ(file.OpenForRead(path.c_str(), 0x20), 1);
    EXPECT_EQ(file.GetRemaining(), 10u);
    InBuffer& in = file;
    char text[11] = {};
    EXPECT_EQ(in.Read(text, 10), 10u);
    EXPECT_STREQ(text, "0123456789");
    EXPECT_EQ(file.OpenForRead(PathOf("missing").c_str(), 0x20), 0);
    EXPECT_EQ(file.Open(path.c_str(), 0x20), 0);
}

TEST_F(FileStreams, SharingFollowsTheShareCodes)
{
    const std::string path = WriteFile("shared", Counting(10));
    IFB reader;
    ASSERT_EQ(reader.Open(path.c_str(), 0x20), 1); // others may read, not write
    IFB secondReader;
    EXPECT_EQ(secondReader.Open(path.c_str(), 0x40), 1);
    OFB writer;
    EXPECT_EQ(writer.OpenForWrite(path.c_str(), 0x40), 0);
}

TEST_F(FileStreams, SeekTellAndRawReads)
{
    RawFileReader raw;
    ASSERT_EQ(raw.Open(WriteFile("raw", Counting(50)).c_str(), 0x40), 1);
    EXPECT_EQ(raw.Seek(10, 0), 10u);
    EXPECT_EQ(raw.Seek(5, 1), 15u);
    EXPECT_EQ(raw.Tell(), 15u);
    EXPECT_EQ(raw.Seek(0, 7), 0u);
    std::uint8_t byte = 0;
    EXPECT_EQ(raw.Read(&byte, 1), 1u);
    EXPECT_EQ(byte, Counting(50)[15]);
    EXPECT_EQ(raw.Seek(-1, 2), 49u);
    EXPECT_EQ(raw.GetFileSize(), 50u);
    raw.Seek(0, 2);
    EXPECT_EQ(raw.Read(&byte, 1), 0u);
    EXPECT_EQ(raw.IsEnd(), 1);
}

} // namespace
