// Helpers of the image tests: checksums of decoded frames, small images
// built in memory (native or encapsulated, one fragment per frame) and RLE
// frames; the files a test writes go to the folder of FileFolderTest.
#pragma once

#include "DICOMImage.h"
#include "FileTestSupport.h"
#include "LibraryTestSupport.h"
#include "UID.h"
#include "VR.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using ImageBytes = Bytes;

inline std::uint64_t Fnv1a64(const std::uint8_t* data, std::size_t length)
{
    std::uint64_t value = 0xCBF29CE484222325ull;
    for (std::size_t index = 0; index < length; ++index)
    {
        value = (value ^ data[index]) * 0x100000001B3ull;
    }
    return value;
}

inline std::string CorpusPath(const std::string& name)
{
    return std::string(SUITE_CORPUS_DIR) + "/" + name;
}

inline bool HasCorpus()
{
    return std::filesystem::is_directory(std::string(SUITE_CORPUS_DIR) + "/pydicom");
}

// The rows of the corpus manifest below its heading, split at tabs: the
// file first, the photometric interpretation fifth, the frames seventh.
inline std::vector<std::vector<std::string>> CorpusManifestRows()
{
    std::vector<std::vector<std::string>> rows;
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
        rows.push_back(fields);
    }
    return rows;
}

// The attributes an image needs, and the geometry given.
inline void FillImageAttributes(DICOMVRSet& set, int rows, int columns, int bitsAllocated,
                                int samplesPerPixel, const char* photometric, int frames)
{
    set.Add(0x0008, 0x0016, UID("1.2.840.10008.5.1.4.1.1.7"));
    set.Add(0x0008, 0x0018, UID("1.2.840.84658685.10.1"));
    set.Add(0x0008, 0x0060, "OT");
    set.Add(0x0028, 0x0002, static_cast<unsigned short>(samplesPerPixel));
    set.Add(0x0028, 0x0004, photometric);
    if (frames > 1)
    {
        set.Add(0x0028, 0x0008, std::to_string(frames).c_str());
    }
    set.Add(0x0028, 0x0010, static_cast<unsigned short>(rows));
    set.Add(0x0028, 0x0011, static_cast<unsigned short>(columns));
    set.Add(0x0028, 0x0100, static_cast<unsigned short>(bitsAllocated));
    set.Add(0x0028, 0x0101, static_cast<unsigned short>(bitsAllocated));
    set.Add(0x0028, 0x0102, static_cast<unsigned short>(bitsAllocated - 1));
    set.Add(0x0028, 0x0103, static_cast<unsigned short>(0));
}

// A value of bytes for the element, copied.
inline void SetValue(VR& element, const ImageBytes& bytes)
{
    auto* buffer = new std::uint8_t[bytes.size() > 0 ? bytes.size() : 1];
    std::memcpy(buffer, bytes.data(), bytes.size());
    element.Attach(buffer, static_cast<unsigned>(bytes.size()));
}

// Native pixel data holding the bytes.
inline void SetNativePixels(DICOMImage& image, const ImageBytes& bytes)
{
    image.Delete(0x7FE0, 0x0010);
    image.Add(0x7FE0, 0x0010);
    SetValue(*image.GetVR(0x7FE0, 0x0010), bytes);
}

// Encapsulated pixel data: an empty offset table, then one fragment per frame.
inline void SetEncapsulatedPixels(DICOMImage& image, const std::vector<ImageBytes>& frames)
{
    image.Delete(0x7FE0, 0x0010);
    for (std::size_t index = 0; index <= frames.size(); ++index)
    {
        auto* item = new DICOMDataSet;
        auto* fragment = new VR(0xFFFE, 0xE000);
        if (index > 0)
        {
            SetValue(*fragment, frames[index - 1]);
        }
        item->Push(fragment);
        image.Push(0x7FE0, 0x0010, item);
    }
}

// Compressed frames under the syntax.
inline void SetCompressedFrames(DICOMImage& image, const UID& syntax,
                                const std::vector<ImageBytes>& frames)
{
    image.SetTransferSyntax(syntax);
    SetEncapsulatedPixels(image, frames);
}

// Samples 0, 1, 2, ... of the given width, little endian.
inline ImageBytes MakeRamp(std::size_t samples, int bytesPerSample, std::uint32_t start = 0,
                           std::uint32_t step = 1)
{
    ImageBytes bytes;
    for (std::size_t index = 0; index < samples; ++index)
    {
        const std::uint32_t value = start + static_cast<std::uint32_t>(index) * step;
        for (int byte = 0; byte < bytesPerSample; ++byte)
        {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * byte)));
        }
    }
    return bytes;
}

// One RLE frame of native little-endian samples: a segment per byte of
// each sample, most significant byte first and sample by sample, each
// coded as literal runs.
inline ImageBytes MakeRleFrame(const ImageBytes& raw, int bytesPerSample, int samplesPerPixel)
{
    const int segments = bytesPerSample * samplesPerPixel;
    const std::size_t pixels = raw.size() / static_cast<std::size_t>(segments);
    ImageBytes frame(64, 0);
    frame[0] = static_cast<std::uint8_t>(segments);
    for (int segment = 0; segment < segments; ++segment)
    {
        const std::uint32_t offset = static_cast<std::uint32_t>(frame.size());
        std::memcpy(frame.data() + 4 + 4 * segment, &offset, sizeof offset);
        const int sample = segment / bytesPerSample;
        const int byte = bytesPerSample - 1 - segment % bytesPerSample;
        for (std::size_t first = 0; first < pixels; first += 128)
        {
            const std::size_t run = std::min<std::size_t>(128, pixels - first);
            frame.push_back(static_cast<std::uint8_t>(run - 1));
            for (std::size_t pixel = first; pixel < first + run; ++pixel)
            {
                frame.push_back(raw[(pixel * samplesPerPixel + sample) * bytesPerSample + byte]);
            }
        }
        if (frame.size() % 2 != 0)
        {
            frame.push_back(0x80); // a no-op run keeps segments even
        }
    }
    return frame;
}

// The stored bytes of a frame, empty where the image has none.
inline ImageBytes FrameBytes(const DICOMImage& image, int frame)
{
    const std::uint8_t* address = image.GetPixelAddress(frame);
    return address != nullptr ? ImageBytes(address, address + image.GetPixelLength(frame))
                              : ImageBytes{};
}

// The element's value as 16-bit words, empty where the set lacks it.
inline std::vector<unsigned short> ReadWords(const DICOMVRSet& set, std::uint16_t group,
                                             std::uint16_t element)
{
    const VR* vr = set.GetVR(group, element);
    if (vr == nullptr)
    {
        return {};
    }
    std::vector<unsigned short> words(vr->GetLength() / 2);
    std::memcpy(words.data(), vr->GetData(), words.size() * 2);
    return words;
}

// A buffer the library takes over, holding the bytes.
inline std::uint8_t* NewBuffer(const ImageBytes& bytes)
{
    auto* buffer = new std::uint8_t[bytes.size() > 0 ? bytes.size() : 1];
    std::memcpy(buffer, bytes.data(), bytes.size());
    return buffer;
}

inline ImageBytes TakeBuffer(void* buffer, std::size_t length)
{
    std::unique_ptr<std::uint8_t[]> owned(static_cast<std::uint8_t*>(buffer));
    return owned != nullptr ? ImageBytes(owned.get(), owned.get() + length) : ImageBytes{};
}
