// The rendering chain on the sample corpus: for every image file the peer
// renders (tools/make_viewer_chain_references.py), the full-view DIB an
// ImageShow builds at 1:1 equals the peer's rendering within one level, or
// the file is one the viewer refuses, for the reason named below. Grey,
// MONOCHROME1, signed, rescaled, palette, RGB, YBR and JPEG-coded images are
// among them.
#include "ImageShowTestSupport.h"
#include "ReferenceImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace
{

struct ChainReference
{
    const char* file;
    const char* reference;
};

const ChainReference ChainReferences[] = {
#include "ChainCorpusReferences.inc"
};

// Files the viewer does not show, and why.
const std::map<std::string, std::string> Refused = {
    {"pydicom/test_files/image_dfl.dcm", "deflated data set"},
};

std::string CorpusPath(const std::string& name)
{
    return std::string(SUITE_CORPUS_DIR) + "/" + name;
}

} // namespace

class ImageShowCorpusTest : public ImageShowTest,
                            public ::testing::WithParamInterface<ChainReference>
{
};

TEST_P(ImageShowCorpusTest, RendersAsThePeerDoes)
{
    const ChainReference& entry = GetParam();
    if (!std::filesystem::is_directory(CorpusPath("pydicom")))
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    Corvane holder;
    holder.LoadDicomFile(CorpusPath(entry.file).c_str());
    ImageShow show;
    show.AttachCorvane(holder, 0);
    show.BuildFullViewDIB();
    const auto refused = Refused.find(entry.file);
    if (refused != Refused.end())
    {
        EXPECT_TRUE(show.GetDIB().IsEmpty()) << "shown after all: " << refused->second;
        return;
    }
    const ReferenceImage expected =
        ReadReferenceImage(std::string(SUITE_TEST_DATA_DIR) + "/viewer_chain/" + entry.reference);
    ASSERT_FALSE(expected.IsEmpty()) << entry.reference;
    const bool palette = show.GetMetaImage()->GetColorLUT() != nullptr;
    const DIBPixels rendered = ReadDIB(show.GetDIB(), palette);
    ASSERT_EQ(rendered.width, expected.width);
    ASSERT_EQ(rendered.height, expected.height);
    ASSERT_EQ(rendered.channels, expected.channels);
    EXPECT_EQ(CompareWithReference(expected, rendered.samples), "");
}

// Test names from the corpus path: letters and digits only.
std::string ReferenceName(const ::testing::TestParamInfo<ChainReference>& info)
{
    std::string name;
    for (const char* c = info.param.file; *c != 0; ++c)
    {
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, ImageShowCorpusTest, ::testing::ValuesIn(ChainReferences),
                         ReferenceName);

namespace
{

// Whether the rendered pixel's colour is the peer's colour of one of the
// source pixels its place falls between.
bool MatchesANeighbour(const ReferenceImage& peer, const DIBPixels& shown, int x, int y,
                       double zoom)
{
    const int sourceX = int(x / zoom);
    const int sourceY = int(y / zoom);
    for (int v = std::max(0, sourceY - 1); v <= std::min(peer.height - 1, sourceY + 1); ++v)
    {
        for (int u = std::max(0, sourceX - 1); u <= std::min(peer.width - 1, sourceX + 1); ++u)
        {
            bool same = true;
            for (int channel = 0; channel < 3; ++channel)
            {
                same = same && std::abs(peer.At(u, v, channel) - shown.At(x, y, channel)) <= 1;
            }
            if (same)
            {
                return true;
            }
        }
    }
    return false;
}

void DumpRendering(const DIBPixels& shown, const std::string& name)
{
    if (const char* folder = std::getenv("SUITE_PICTURE_DIR"))
    {
        std::ofstream file(std::string(folder) + "/" + name + ".ppm", std::ios::binary);
        file << "P6\n" << shown.width << " " << shown.height << "\n255\n";
        file.write(reinterpret_cast<const char*>(shown.samples.data()),
                   std::streamsize(shown.samples.size()));
    }
}

} // namespace

// A palette image scaled to fit a pane, smaller and larger: every pixel
// shows a colour the peer gives one of the pixels it stands for, never a
// colour of an index between theirs.
TEST_F(ImageShowTest, APaletteImageScaledShowsOnlyTheColoursOfItsPixels)
{
    const std::string file = "octave-dicom/US-PAL-8-10x-echo.dcm";
    if (!std::filesystem::exists(CorpusPath(file)))
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const ReferenceImage peer =
        ReadReferenceImage(std::string(SUITE_TEST_DATA_DIR) +
                           "/viewer_chain/octave-dicom_US-PAL-8-10x-echo.dcm.ppm.gz");
    ASSERT_FALSE(peer.IsEmpty());
    for (const int fit : {300, 1000})
    {
        SCOPED_TRACE(fit);
        Corvane holder;
        holder.LoadDicomFile(CorpusPath(file).c_str());
        ImageShow show;
        show.AttachCorvane(holder, 0);
        const double zoom = std::min(double(fit) / peer.width, double(fit) / peer.height);
        show.SetFOVMode(true);
        show.SetZoom(zoom);
        show.SetViewRect(CRect(0, 0, peer.width, peer.height),
                         SIZE{int(peer.width * zoom), int(peer.height * zoom)});
        show.BuildChain();
        show.InvokeChain();
        const DIBPixels shown = ReadDIB(show.GetDIB(), true);
        ASSERT_EQ(shown.channels, 3);
        DumpRendering(shown, "PaletteAtFit" + std::to_string(fit));
        int off = 0;
        for (int y = 0; y < shown.height; ++y)
        {
            for (int x = 0; x < shown.width; ++x)
            {
                off += MatchesANeighbour(peer, shown, x, y, zoom) ? 0 : 1;
            }
        }
        EXPECT_EQ(off, 0) << "of " << shown.width << " x " << shown.height;
    }
}
