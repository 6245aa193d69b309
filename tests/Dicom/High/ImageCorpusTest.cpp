// Every frame of every image file of the sample corpus, decoded through
// FrameIterator (from memory and straight from the file) and through
// ImageProcess, against the frames peer toolkits decode (made by
// tools/make_image_references.py). Files the library cannot read or has
// no codec for fail cleanly, and so does every way into a broken file.
#include "DICOMImage.h"
#include "FrameIterator.h"
#include "ImageCorpusSupport.h"
#include "ImageProcess.h"
#include "ImageTestSupport.h"
#include "PeerToolSupport.h"
#include "PixelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

// The most a sample of ours may differ from the peer's after the
// conversion: ours cuts toward zero where the peers round.
constexpr int FullYbrTolerance = 1;

// What becomes of a file that peers decode but this library does not.
enum class enOutcome
{
    Decoded,    // every frame equals the peer's
    Refused,    // every way fails cleanly
    NoIterator, // ImageProcess decodes; FrameIterator refuses the photometric interpretation
    FullYbr,    // ImageProcess decodes to RGB; FrameIterator gives Y, Cb, Cr of every pixel
    Either      // a damaged codestream: decoded or refused, never a crash
};

const std::map<std::string, enOutcome> Exceptions = {
    // Deflated data sets and gzip files are not read.
    {"pydicom/test_files/image_dfl.dcm", enOutcome::Refused},
    {"pydicom/test_files/zipMR.gz", enOutcome::Refused},
    // JPEG-LS has no codec library.
    {"pydicom/test_files/MR_small_jpeg_ls_lossless.dcm", enOutcome::Refused},
    // Cut short inside the pixel data; its data set is coded otherwise than
    // its syntax says.
    {"pydicom/test_files/MR_truncated.dcm", enOutcome::Refused},
    {"pydicom/test_files/SC_rgb_jpeg.dcm", enOutcome::Refused},
    {"pydicom/test_files/JPEG2000-embedded-sequence-delimiter.dcm", enOutcome::Either},
};

// FrameIterator serves colour frames as RGB (or as the JPEG 2000 colour
// transforms, which its decoder undoes), YBR_FULL and YBR_FULL_422 frames
// as Y, Cb, Cr, and grey frames.
bool IsIterable(const Lettra& photometric)
{
    for (const char* text :
         {"RGB", "YBR_ICT", "YBR_RCT", "MONOCHROME1", "MONOCHROME2", "PALETTE COLOR"})
    {
        if (photometric == text)
        {
            return true;
        }
    }
    return false;
}

bool IsFullYbr(const Lettra& photometric)
{
    return photometric == "YBR_FULL" || photometric == "YBR_FULL_422";
}

std::vector<std::string> ManifestImages()
{
    std::vector<std::string> files;
    for (const std::vector<std::string>& fields : CorpusManifestRows())
    {
        if (fields.size() > 6 && !fields[4].empty() && !fields[6].empty())
        {
            files.push_back(fields[0]);
        }
    }
    return files;
}

// One decoded frame, or nothing.
struct Frame
{
    bool decoded = false;
    ImageBytes bytes;
};

using FrameList = std::vector<Frame>;

// Seek and Next for each frame, as the viewer does.
FrameList IterateBySeek(DICOMImage& image, int frames)
{
    FrameList result(static_cast<std::size_t>(frames));
    FrameIterator iterator(&image);
    for (int frame = 0; frame < frames; ++frame)
    {
        if (iterator.Seek(frame) && iterator.Next())
        {
            const std::uint32_t length = iterator.m_nFrameLength;
            result[frame] = {true, TakeBuffer(iterator.Detach(), length)};
        }
    }
    return result;
}

// Next after Next from the start.
FrameList IterateInOrder(DICOMImage& image, int frames)
{
    FrameList result(static_cast<std::size_t>(frames));
    FrameIterator iterator(&image);
    for (int frame = 0; frame < frames && iterator.Next(); ++frame)
    {
        const std::uint32_t length = iterator.m_nFrameLength;
        result[frame] = {true, TakeBuffer(iterator.Detach(), length)};
    }
    return result;
}

FrameList ProcessFrames(DICOMImage& image, int frames)
{
    FrameList result(static_cast<std::size_t>(frames));
    for (int frame = 0; frame < frames; ++frame)
    {
        ImageProcess process(image, frame);
        if (process.ConvertToRaw() != 0)
        {
            const std::uint32_t length = process.m_nRawPixelLength;
            result[frame] = {true, TakeBuffer(process.Detach(), length)};
        }
    }
    return result;
}

// Native frames may carry the padding of the pixel data after the samples.
void ExpectFrames(const FrameList& frames, const std::vector<const FrameReference*>& references,
                  const std::string& way)
{
    ASSERT_EQ(frames.size(), references.size()) << way;
    for (std::size_t index = 0; index < frames.size(); ++index)
    {
        const Frame& frame = frames[index];
        const FrameReference& reference = *references[index];
        ASSERT_TRUE(frame.decoded) << way << ", frame " << index;
        ASSERT_GE(frame.bytes.size(), reference.length) << way << ", frame " << index;
        EXPECT_EQ(Fnv1a64(frame.bytes.data(), reference.length), reference.checksum)
            << way << ", frame " << index;
    }
}

void ExpectNothingDecoded(const FrameList& frames, const std::string& way)
{
    for (std::size_t index = 0; index < frames.size(); ++index)
    {
        EXPECT_FALSE(frames[index].decoded) << way << ", frame " << index;
    }
}

// The frames of a YBR_FULL or YBR_FULL_422 image, each way of iterating
// alike, turned into RGB as the viewer does when it loads them, against the
// RGB a peer makes of the file. The peer converts with its own rounding.
void ExpectFullYbrFrames(const std::string& path, const std::vector<FrameList>& ways,
                         DICOMImage& image)
{
    const int width = image.GetUINT16(0x0028, 0x0011);
    const int height = image.GetUINT16(0x0028, 0x0010);
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    for (const FrameList& way : ways)
    {
        ASSERT_EQ(way.size(), 1u);
        ASSERT_TRUE(way[0].decoded);
        ASSERT_EQ(way[0].bytes.size(), pixels * 3);
        EXPECT_EQ(way[0].bytes, ways[0][0].bytes);
    }
    if (!HasPeerTool("dcmj2pnm"))
    {
        return;
    }
    const std::string ppm = ::testing::TempDir() + "full-ybr-" + std::to_string(getpid()) + ".ppm";
    ASSERT_TRUE(RunPeer("dcmj2pnm +op '" + path + "' '" + ppm + "'").succeeded);
    const GreyPicture peer = ReadPpm(ppm);
    std::remove(ppm.c_str());
    ASSERT_EQ(peer.width, width);
    ASSERT_EQ(peer.height, height);
    ASSERT_EQ(peer.levels.size(), pixels * 3);
    ImageBytes rgb = ways[0][0].bytes;
    ImageProcess::ConvertYbrFullToRgb(rgb.data(), pixels, false);
    int largest = 0;
    for (std::size_t i = 0; i < rgb.size(); ++i)
    {
        largest = std::max(largest, std::abs(int(rgb[i]) - int(peer.levels[i])));
    }
    EXPECT_LE(largest, FullYbrTolerance);
}

class ImageCorpusTest : public LibraryTest
{
};

TEST_F(ImageCorpusTest, EveryFrameDecodesAsPeersDecodeItOrFailsCleanly)
{
    if (!HasCorpus())
    {
        GTEST_SKIP() << "corpus folder not found: " << SUITE_CORPUS_DIR;
    }
    const std::vector<std::string> files = ManifestImages();
    ASSERT_GT(files.size(), 80u);
    int fullYbrFiles = 0;
    for (const std::string& file : files)
    {
        SCOPED_TRACE(file);
        const std::string path = CorpusPath(file);
        const std::vector<const FrameReference*> references = CorpusFramesOf(file);
        const auto exception = Exceptions.find(file);
        enOutcome outcome = exception != Exceptions.end() ? exception->second
                            : references.empty()          ? enOutcome::Refused
                                                          : enOutcome::Decoded;
        DICOMImage whole;
        const bool isRead = whole.ReadFile(path.c_str()) != 0;
        DICOMImage header;
        const bool isHeaderRead = header.ReadFileNoImage(path.c_str()) != 0;
        const Lettra photometric = whole.GetLettra(0x0028, 0x0004);
        if (outcome == enOutcome::Decoded && IsFullYbr(photometric))
        {
            outcome = enOutcome::FullYbr;
        }
        else if (outcome == enOutcome::Decoded && !IsIterable(photometric))
        {
            outcome = enOutcome::NoIterator;
        }
        const int frames = std::max<int>(static_cast<int>(references.size()), 1);
        const FrameList fromMemory = IterateBySeek(whole, frames);
        const FrameList inOrder = IterateInOrder(whole, frames);
        const FrameList fromFile = IterateBySeek(header, frames);
        const FrameList fileInOrder = IterateInOrder(header, frames);
        const FrameList processed = ProcessFrames(whole, frames);
        switch (outcome)
        {
        case enOutcome::Decoded:
            ASSERT_TRUE(isRead && isHeaderRead);
            ExpectFrames(fromMemory, references, "from memory");
            ExpectFrames(inOrder, references, "from memory in order");
            ExpectFrames(fromFile, references, "from the file");
            ExpectFrames(fileInOrder, references, "from the file in order");
            ExpectFrames(processed, references, "through ImageProcess");
            break;
        case enOutcome::FullYbr:
            ExpectFullYbrFrames(path, {fromMemory, inOrder, fromFile, fileInOrder}, whole);
            ExpectFrames(processed, references, "through ImageProcess");
            ++fullYbrFiles;
            break;
        case enOutcome::NoIterator:
            ExpectNothingDecoded(fromMemory, "from memory");
            ExpectNothingDecoded(fromFile, "from the file");
            ExpectFrames(processed, references, "through ImageProcess");
            break;
        case enOutcome::Refused:
            ExpectNothingDecoded(fromMemory, "from memory");
            ExpectNothingDecoded(inOrder, "from memory in order");
            ExpectNothingDecoded(fromFile, "from the file");
            ExpectNothingDecoded(processed, "through ImageProcess");
            break;
        case enOutcome::Either:
            break;
        }
    }
    // The corpus's eight colour images of these models.
    EXPECT_EQ(fullYbrFiles, 8);
}

} // namespace
