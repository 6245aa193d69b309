#include "LosslessEncoder.h"

#include "EntropyWriter.h"
#include "HuffmanTable.h"
#include "JpegMarkers.h"
#include "JpegSegmentWriter.h"
#include "LosslessPredictor.h"

namespace quorex
{

namespace
{
// Calls visit(difference) for every sample in coding order: pixel by pixel,
// the components of a pixel interleaved, with the first-line and
// first-column rules of the standard (no restart intervals).
template <typename Visitor>
void ForEachDifference(const SampleImage& image, int nPredictor, Visitor visit)
{
    const size_t nStride = static_cast<size_t>(image.nComponents);
    const size_t nLine = size_t(image.nColumns) * nStride;
    const int32_t nInitial = 1 << (image.nPrecision - 1);
    for (size_t y = 0; y < size_t(image.nRows); ++y)
    {
        const uint16_t* pRow = image.samples.data() + y * nLine;
        const uint16_t* pAbove = y == 0 ? pRow : pRow - nLine;
        for (size_t c = 0; c < nStride; ++c)
        {
            visit(pRow[c] - (y == 0 ? nInitial : int32_t{pAbove[c]}));
        }
        for (size_t i = nStride; i < nLine; ++i)
        {
            const int32_t nPrediction =
                y == 0 ? pRow[i - nStride]
                       : Predict(nPredictor, pRow[i - nStride], pAbove[i], pAbove[i - nStride]);
            visit(pRow[i] - nPrediction);
        }
    }
}

SymbolCounts CountCategories(const SampleImage& image, int nPredictor)
{
    SymbolCounts counts{};
    ForEachDifference(image, nPredictor,
                      [&counts](int32_t nDifference)
                      { ++counts[ClassifyDifference(nDifference).nCategory]; });
    return counts;
}

// Bits the entropy-coded data takes with the optimal table for the counts.
uint64_t GetCodedBits(const SymbolCounts& counts)
{
    const HuffmanEncodeTable table(BuildOptimalSpec(counts));
    uint64_t nBits = 0;
    for (int nCategory = 0; nCategory <= 16; ++nCategory)
    {
        const int nExtra = nCategory == 16 ? 0 : nCategory;
        nBits += uint64_t{counts[nCategory]} *
                 (table.GetLength(static_cast<uint8_t>(nCategory)) + nExtra);
    }
    return nBits;
}

int ChoosePredictor(const SampleImage& image)
{
    int nBest = kFirstPredictor;
    uint64_t nBestBits = UINT64_MAX;
    for (int nPredictor = kFirstPredictor; nPredictor <= kLastPredictor; ++nPredictor)
    {
        const uint64_t nBits = GetCodedBits(CountCategories(image, nPredictor));
        if (nBits < nBestBits)
        {
            nBest = nPredictor;
            nBestBits = nBits;
        }
    }
    return nBest;
}

std::vector<FrameComponent> GetFrameComponents(int nComponents)
{
    if (nComponents == 3)
    {
        return {{'R', 0}, {'G', 0}, {'B', 0}};
    }
    return {{1, 0}};
}
} // namespace

std::vector<uint8_t> LosslessEncoder::DoEncode(const SampleImage& image, int nPredictor)
{
    if (nPredictor == 0)
    {
        nPredictor = ChoosePredictor(image);
    }
    const SymbolCounts counts = CountCategories(image, nPredictor);
    const HuffmanSpec spec = BuildOptimalSpec(counts);
    const HuffmanEncodeTable table(spec);

    std::vector<uint8_t> stream;
    JpegSegmentWriter segments(stream);
    segments.WriteMarker(marker::kSoi);
    if (image.nComponents == 3)
    {
        segments.WriteAdobeRgb();
    }
    const std::vector<FrameComponent> components = GetFrameComponents(image.nComponents);
    segments.WriteFrameHeader(marker::kSof3, image.nPrecision, image.nRows, image.nColumns,
                              components);
    segments.WriteHuffmanTable(0, 0, spec);
    std::vector<ScanComponent> members;
    for (const FrameComponent& component : components)
    {
        members.push_back({component.nId, 0, 0});
    }
    segments.WriteScanHeader(members, nPredictor, 0, 0, 0);

    EntropyWriter writer(stream);
    ForEachDifference(image, nPredictor,
                      [&writer, &table](int32_t nDifference)
                      {
                          const LosslessDifference difference = ClassifyDifference(nDifference);
                          writer.PutBits(table.GetCode(difference.nCategory),
                                         table.GetLength(difference.nCategory));
                          if (difference.nCategory != 16)
                          {
                              writer.PutBits(difference.nBits, difference.nCategory);
                          }
                      });
    writer.DoFlush();
    segments.WriteMarker(marker::kEoi);
    return stream;
}

} // namespace quorex
