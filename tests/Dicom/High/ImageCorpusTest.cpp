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

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

// What becomes of a file that peers decode but this library does not.
enum class enOutcome
{
    Decoded,    // every frame equals the peer's
    Refused,    // every way fails cleanly
    NoIterator, // ImageProcess decodes; FrameIterator refuses the photometric interpretation
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
// transforms, which its decoder undoes) and grey frames only.
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

std::vector<std::string> ManifestImages()
{
    std::vector<std::string> files;
    std::ifstream manifest(CorpusPath("manifest.tsv"));
    std::string line;
    std::getline(manifest, line);
    while (std::getline(manifest, line))
    {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, '\t'))
        {
            fields.push_back(field);
        }
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
        if (outcome == enOutcome::Decoded && !IsIterable(whole.GetLettra(0x0028, 0x0004)))
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
}

} // namespace
