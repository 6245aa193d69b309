// Headerless pixel files of every matrix class: round trips, offsets and the
// failures a short, missing or unwritable file must report.
#include "MatrixTestSupport.h"

#include <fstream>
#include <memory>

using namespace matrixtest;

namespace
{

std::vector<char> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

struct RawCase
{
    const char* name;
    std::function<std::unique_ptr<MetaMatrix>()> make;
    int fileBytes; // for the 5 x 3 matrix below
};

void PrintTo(const RawCase& c, std::ostream* out)
{
    *out << c.name;
}

std::unique_ptr<MetaMatrix> Filled(std::unique_ptr<MetaMatrix> matrix)
{
    Fill(*matrix, [](int x, int y) { return (x + 3 * y) % 2 == 0 ? 1 : 120 + x; });
    return matrix;
}

class MatrixRawFile : public ::testing::TestWithParam<RawCase>
{
};

TEST_P(MatrixRawFile, RoundTripKeepsPixelsAndGivesTheFileDescription)
{
    CTempFolder folder;
    const std::string path = folder.File("pixels.raw");
    const std::unique_ptr<MetaMatrix> source = GetParam().make();
    ASSERT_TRUE(source->SaveAsRaw(path.c_str()));
    EXPECT_EQ(ReadFileBytes(path).size(), std::size_t(GetParam().fileBytes));
    std::unique_ptr<MetaMatrix> loaded(source->Clone());
    loaded->Empty();
    ASSERT_TRUE(loaded->LoadAsRaw(path.c_str(), 0, 5, 3));
    EXPECT_EQ(loaded->GetWidth(), 5);
    EXPECT_EQ(loaded->GetHeight(), 3);
    EXPECT_EQ(loaded->GetData()->nSigned, 0);
    EXPECT_EQ(ReadAll(*loaded), ReadAll(*source));
}

TEST_P(MatrixRawFile, ShortFileIsRefusedAndTheMatrixKept)
{
    CTempFolder folder;
    const std::string path = folder.File("short.raw");
    WriteFileBytes(path, std::vector<char>(std::size_t(GetParam().fileBytes - 1), 0));
    const std::unique_ptr<MetaMatrix> matrix = GetParam().make();
    const std::vector<int> before = ReadAll(*matrix);
    EXPECT_FALSE(matrix->LoadAsRaw(path.c_str(), 0, 5, 3));
    EXPECT_FALSE(matrix->LoadAsRaw(folder.File("missing.raw").c_str(), 0, 5, 3));
    EXPECT_FALSE(matrix->LoadAsRaw(path.c_str(), -1, 5, 3));
    EXPECT_FALSE(matrix->LoadAsRaw(path.c_str(), 0, -5, 3));
    EXPECT_EQ(ReadAll(*matrix), before);
}

INSTANTIATE_TEST_SUITE_P(
    AllClasses, MatrixRawFile,
    ::testing::Values(
        RawCase{"Matrix8",
                [] { return Filled(std::make_unique<MetaMatrix8>(8, 8, 7, 3, 5, 0, 255, 0, 1)); },
                15},
        RawCase{
            "Matrix16",
            [] { return Filled(std::make_unique<MetaMatrix16>(16, 16, 15, 3, 5, 0, 65535, 0, 1)); },
            30},
        RawCase{"MatrixRGB",
                [] { return Filled(std::make_unique<MetaMatrixRGB>(8, 8, 7, 3, 5, 0, 255, 0, 3)); },
                45},
        RawCase{"MatrixBinary",
                []
                {
                    MetaMatrix8 zeros = Make8(3, 5, std::vector<std::uint8_t>(15, 0));
                    auto binary = std::make_unique<MetaMatrixBinary>();
                    binary->FromMetaMatrix8(&zeros);
                    return Filled(std::move(binary));
                },
                2}),
    [](const ::testing::TestParamInfo<RawCase>& info) { return info.param.name; });

TEST(MatrixRawFileOffset, ReadsFromTheOffset)
{
    CTempFolder folder;
    const std::string path = folder.File("header.raw");
    WriteFileBytes(path, {'h', 'e', 'a', 'd', 1, 0, 2, 0});
    MetaMatrix16 matrix;
    ASSERT_TRUE(matrix.LoadAsRaw(path.c_str(), 4, 2, 1));
    EXPECT_EQ(ReadAll(matrix), (std::vector<int>{1, 2}));
    EXPECT_EQ(matrix.GetData()->nMax, 65535);
    EXPECT_FALSE(matrix.LoadAsRaw(path.c_str(), 6, 2, 1));
}

TEST(MatrixRawFileSave, EmptyMatrixOrUnwritablePathFails)
{
    CTempFolder folder;
    const std::string path = folder.File("empty.raw");
    EXPECT_FALSE(MetaMatrix8().SaveAsRaw(path.c_str()));
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0U);
    const MetaMatrix8 matrix = Make8(1, 1, {1});
    EXPECT_FALSE(matrix.SaveAsRaw(folder.File("no/such/folder/x.raw").c_str()));
}

} // namespace
