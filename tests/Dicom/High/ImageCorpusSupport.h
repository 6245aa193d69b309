// The frames peer toolkits decode from the image files of the sample
// corpus (made by tools/make_image_references.py), for the tests that
// decode or recode those files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct FrameReference
{
    const char* file;
    int frames;
    int frame;
    std::uint32_t length;
    std::uint64_t checksum;
};

inline const FrameReference CorpusFrameReferences[] = {
#include "ImageCorpusReferences.inc"
};

// The file's frames in the order the references list them.
inline std::vector<const FrameReference*> CorpusFramesOf(const std::string& file)
{
    std::vector<const FrameReference*> frames;
    for (const FrameReference& reference : CorpusFrameReferences)
    {
        if (file == reference.file)
        {
            frames.push_back(&reference);
        }
    }
    return frames;
}
