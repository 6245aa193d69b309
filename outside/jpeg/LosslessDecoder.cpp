#include "LosslessDecoder.h"

#include "JpegHeaderReader.h"
#include "LosslessPredictor.h"

#include <algorithm>
#include <array>
#include <memory>
#include <type_traits>

namespace quorex
{

namespace
{
void CheckFrame(const JpegFrame& frame, size_t nStreamLength)
{
    if (frame.nMarker != marker::kSof3 || frame.nPrecision < 2 || frame.nPrecision > 16)
    {
        throw JpegFormatError("not a lossless frame of 2 to 16 bits");
    }
    const JpegComponent& first = frame.components.front();
    for (const JpegComponent& component : frame.components)
    {
        if (component.nH != first.nH || component.nV != first.nV)
        {
            throw JpegFormatError("subsampled lossless components not supported");
        }
    }
    const size_t nSamples = size_t(frame.nRows) * size_t(frame.nColumns) * frame.components.size();
    if (nSamples / kMaxSamplesPerLosslessByte > nStreamLength || nSamples * 2 > kMaxOutputBytes)
    {
        throw JpegFormatError("frame too large for its stream");
    }
}

int32_t DecodeDifference(EntropyReader& reader, const HuffmanDecodeTable& table)
{
    const int nCategory = table.DecodeSymbol(reader);
    if (nCategory == 16)
    {
        return 32768;
    }
    if (nCategory > 16)
    {
        throw JpegFormatError("bad difference category");
    }
    return reader.GetSignedBits(nCategory);
}

// Code and difference in one look-up of the next kFastBits bits: each entry
// is the difference times 256 plus the bits the code and its extra bits
// take, 0 where they take more (those go the long way).
class DifferenceTable
{
public:
    // Every run of entries that share their code and extra bits is filled
    // at once.
    explicit DifferenceTable(const HuffmanDecodeTable& table) : m_table(table)
    {
        for (uint32_t nPeek = 0; nPeek < m_entries.size();)
        {
            int nLength = 0;
            const int nCategory = table.Resolve(nPeek << (16 - kFastBits), nLength);
            if (nCategory < 0 || nLength > kFastBits)
            {
                ++nPeek;
                continue;
            }
            if (nCategory > 15 || nLength + nCategory > kFastBits)
            {
                nPeek += 1u << (kFastBits - nLength);
                continue;
            }
            const int nUsed = nLength + nCategory;
            const uint32_t nExtra = (nPeek >> (kFastBits - nUsed)) & ((1u << nCategory) - 1);
            const int32_t nDifference = nCategory == 0 || nExtra >= (1u << (nCategory - 1))
                                            ? static_cast<int32_t>(nExtra)
                                            : static_cast<int32_t>(nExtra) - (1 << nCategory) + 1;
            const uint32_t nRun = 1u << (kFastBits - nUsed);
            std::fill_n(m_entries.begin() + nPeek, nRun, nDifference * 256 + nUsed);
            nPeek += nRun;
        }
    }

    int32_t Decode(EntropyReader& reader) const
    {
        const int32_t nEntry = m_entries[reader.PeekBits(16) >> (16 - kFastBits)];
        if (nEntry != 0)
        {
            reader.SkipBits(nEntry & 0xFF);
            return nEntry >> 8;
        }
        return DecodeDifference(reader, m_table);
    }

private:
    static constexpr int kFastBits = 11;

    const HuffmanDecodeTable& m_table;
    std::array<int32_t, 1 << kFastBits> m_entries{};
};

template <int kSelection> int32_t PredictBy(int32_t nRa, int32_t nRb, int32_t nRc)
{
    return Predict(kSelection, nRa, nRb, nRc);
}

// Where decoded lines go: samples of up to 16 bits, or the entries' layout.
class LineSink
{
public:
    virtual ~LineSink() = default;
    // The frame's geometry, once, before the first line.
    virtual void DoStart(const JpegFrame& frame) = 0;
    // Line y of the listed components, samples nStride apart, before the
    // point transform nAl.
    virtual void DoPut(int32_t y, const uint16_t* pLine, const std::vector<size_t>& components,
                       size_t nStride, int nAl) = 0;
};

class ScanDecoder
{
public:
    ScanDecoder(const JpegHeaderReader& header, LineSink& sink)
        : m_header(header), m_scan(header.GetScan()), m_frame(header.GetFrame()), m_sink(sink),
          m_nStride(m_frame.components.size()), m_nColumns(m_frame.nColumns),
          m_reader(header.GetStream(), header.GetPosition())
    {
        if (m_scan.nSs < kFirstPredictor || m_scan.nSs > kLastPredictor ||
            m_scan.nAl >= m_frame.nPrecision)
        {
            throw JpegFormatError("bad predictor or point transform");
        }
        if (m_scan.members.size() > 1 &&
            (m_frame.components[0].nH != 1 || m_frame.components[0].nV != 1))
        {
            throw JpegFormatError("interleaved lossless MCUs of several samples not supported");
        }
        const int nInterval = header.GetRestartInterval();
        if (nInterval % m_nColumns != 0)
        {
            throw JpegFormatError("restart interval not a whole number of lines");
        }
        m_nRowsPerInterval = nInterval / m_nColumns;
        // Components coded with the same table share its look-up.
        std::vector<const HuffmanDecodeTable*> sources;
        for (const JpegScan::Member& member : m_scan.members)
        {
            m_components.push_back(static_cast<size_t>(member.nComponent));
            const HuffmanDecodeTable* pTable = &header.GetDcTable(member.nDcTable);
            auto found = std::find(sources.begin(), sources.end(), pTable);
            if (found == sources.end())
            {
                m_owned.push_back(std::make_unique<DifferenceTable>(*pTable));
                found = sources.insert(sources.end(), pTable);
            }
            m_tables.push_back(m_owned[static_cast<size_t>(found - sources.begin())].get());
        }
    }

    // Decodes the scan and returns where its data ended.
    size_t DoDecode()
    {
        const int32_t nInitial = 1 << (m_frame.nPrecision - m_scan.nAl - 1);
        std::vector<uint16_t> line(size_t(m_nColumns) * m_nStride);
        std::vector<uint16_t> above(line.size());
        int nRestart = 0;
        for (int32_t y = 0; y < m_frame.nRows; ++y)
        {
            bool bFirstLine = y == 0;
            if (m_nRowsPerInterval > 0 && y > 0 && y % m_nRowsPerInterval == 0)
            {
                m_reader.DoRestart(nRestart++);
                bFirstLine = true;
            }
            DecodeLine(line.data(), above.data(), bFirstLine, nInitial);
            m_sink.DoPut(y, line.data(), m_components, m_nStride, m_scan.nAl);
            line.swap(above);
        }
        return m_reader.GetPosition();
    }

private:
    void DecodeLine(uint16_t* pLine, const uint16_t* pAbove, bool bFirstLine, int32_t nInitial)
    {
        for (size_t m = 0; m < m_components.size(); ++m)
        {
            const size_t c = m_components[m];
            const int32_t nPrediction = bFirstLine ? nInitial : pAbove[c];
            pLine[c] = static_cast<uint16_t>(nPrediction + m_tables[m]->Decode(m_reader));
        }
        // The first line of an interval predicts from the left only.
        switch (bFirstLine ? 1 : m_scan.nSs)
        {
        case 1:
            return DecodeRest<1>(pLine, pAbove);
        case 2:
            return DecodeRest<2>(pLine, pAbove);
        case 3:
            return DecodeRest<3>(pLine, pAbove);
        case 4:
            return DecodeRest<4>(pLine, pAbove);
        case 5:
            return DecodeRest<5>(pLine, pAbove);
        case 6:
            return DecodeRest<6>(pLine, pAbove);
        default:
            return DecodeRest<7>(pLine, pAbove);
        }
    }

    template <int kSelection> void DecodeRest(uint16_t* pLine, const uint16_t* pAbove)
    {
        if (m_components.size() == 1 && m_nStride == 1)
        {
            return DecodeSamples<kSelection, 1>(pLine, pAbove, m_components.data());
        }
        if (m_components.size() == 3 && m_nStride == 3 && m_components[0] == 0 &&
            m_components[1] == 1 && m_components[2] == 2)
        {
            return DecodeSamples<kSelection, 3>(pLine, pAbove, m_components.data());
        }
        return DecodeSamples<kSelection, 0>(pLine, pAbove, m_components.data());
    }

    // kMembers components a scan interleaves, 0 for any number; samples of a
    // pixel kMembers apart (m_nStride when any).
    template <int kSelection, int kMembers>
    void DecodeSamples(uint16_t* pLine, const uint16_t* pAbove, const size_t* pComponents)
    {
        const size_t nMembers = kMembers != 0 ? kMembers : m_components.size();
        const size_t nStride = kMembers != 0 ? kMembers : m_nStride;
        const size_t nLine = size_t(m_nColumns) * nStride;
        for (size_t x = nStride; x < nLine; x += nStride)
        {
            for (size_t m = 0; m < nMembers; ++m)
            {
                const size_t i = x + (kMembers != 0 ? m : pComponents[m]);
                const int32_t nPrediction =
                    PredictBy<kSelection>(pLine[i - nStride], pAbove[i], pAbove[i - nStride]);
                pLine[i] = static_cast<uint16_t>(nPrediction + m_tables[m]->Decode(m_reader));
            }
        }
    }

    const JpegHeaderReader& m_header;
    const JpegScan& m_scan;
    const JpegFrame& m_frame;
    LineSink& m_sink;
    size_t m_nStride;
    int32_t m_nColumns;
    EntropyReader m_reader;
    int m_nRowsPerInterval = 0;
    std::vector<size_t> m_components;
    std::vector<std::unique_ptr<DifferenceTable>> m_owned;
    std::vector<const DifferenceTable*> m_tables;
};

// Samples were coded without their nAl lowest bits. Like the samples
// themselves, the result is taken modulo 2^16; values beyond the precision
// come only from damaged data and are left as they are.
uint16_t Restore(uint16_t nSample, int nAl)
{
    return static_cast<uint16_t>(nSample << nAl);
}

class SampleImageSink : public LineSink
{
public:
    explicit SampleImageSink(SampleImage& image) : m_image(image) {}

    void DoStart(const JpegFrame& frame) override
    {
        m_image.nRows = frame.nRows;
        m_image.nColumns = frame.nColumns;
        m_image.nComponents = static_cast<int32_t>(frame.components.size());
        m_image.nPrecision = frame.nPrecision;
        m_image.samples.resize(size_t(m_image.nRows) * size_t(m_image.nColumns) *
                               size_t(m_image.nComponents));
    }

    void DoPut(int32_t y, const uint16_t* pLine, const std::vector<size_t>& components,
               size_t nStride, int nAl) override
    {
        uint16_t* pOut = m_image.samples.data() + size_t(y) * size_t(m_image.nColumns) * nStride;
        for (const size_t c : components)
        {
            for (size_t i = c; i < size_t(m_image.nColumns) * nStride; i += nStride)
            {
                pOut[i] = Restore(pLine[i], nAl);
            }
        }
    }

private:
    SampleImage& m_image;
};

// One or two bytes a sample, low byte first, as the entries hand them out.
class LayoutSink : public LineSink
{
public:
    explicit LayoutSink(enSampleLayout enLayout)
        : m_nComponents(GetComponentCount(enLayout)),
          m_nBytes(GetBytesPerSample(enLayout) / m_nComponents)
    {
    }

    void DoStart(const JpegFrame& frame) override
    {
        if (frame.components.size() != m_nComponents || (m_nBytes == 1 && frame.nPrecision > 8))
        {
            return;
        }
        m_image.pixels =
            AllocateResult(size_t(frame.nRows) * size_t(frame.nColumns) * m_nComponents * m_nBytes);
        m_image.nRows = frame.nRows;
        m_image.nColumns = frame.nColumns;
    }

    void DoPut(int32_t y, const uint16_t* pLine, const std::vector<size_t>& components,
               size_t nStride, int nAl) override
    {
        const size_t nLine = size_t(m_image.nColumns) * nStride;
        uint8_t* pOut = m_image.pixels.get() + size_t(y) * nLine * m_nBytes;
        for (const size_t c : components)
        {
            for (size_t i = c; i < nLine; i += nStride)
            {
                const uint16_t nSample = Restore(pLine[i], nAl);
                if (m_nBytes == 1)
                {
                    pOut[i] = static_cast<uint8_t>(nSample);
                }
                else
                {
                    pOut[2 * i] = static_cast<uint8_t>(nSample);
                    pOut[2 * i + 1] = static_cast<uint8_t>(nSample >> 8);
                }
            }
        }
    }

    bool IsReady() const { return m_image.IsValid(); }
    DecodedImage TakeImage() { return std::move(m_image); }

private:
    size_t m_nComponents;
    // Bytes of one sample of one component.
    size_t m_nBytes;
    DecodedImage m_image;
};

// Every scan of the stream into the sink; false when the sink could not
// take the frame.
template <class TSink> bool DoDecodeScans(ByteSpan stream, TSink& sink)
{
    JpegHeaderReader header(stream);
    std::vector<bool> decoded;
    while (header.DoReadToScan())
    {
        if (decoded.empty())
        {
            const JpegFrame& frame = header.GetFrame();
            CheckFrame(frame, stream.size());
            sink.DoStart(frame);
            if constexpr (std::is_same_v<TSink, LayoutSink>)
            {
                if (!sink.IsReady())
                {
                    return false;
                }
            }
            decoded.assign(frame.components.size(), false);
        }
        ScanDecoder scan(header, sink);
        header.SetPosition(scan.DoDecode());
        for (const JpegScan::Member& member : header.GetScan().members)
        {
            decoded[static_cast<size_t>(member.nComponent)] = true;
        }
    }
    if (decoded.empty() || std::find(decoded.begin(), decoded.end(), false) != decoded.end())
    {
        throw JpegFormatError("a component has no scan");
    }
    return true;
}
} // namespace

SampleImage LosslessDecoder::DoDecode(ByteSpan stream)
{
    SampleImage image;
    SampleImageSink sink(image);
    DoDecodeScans(stream, sink);
    return image;
}

DecodedImage LosslessDecoder::DoDecode(ByteSpan stream, enSampleLayout enLayout)
{
    LayoutSink sink(enLayout);
    return DoDecodeScans(stream, sink) ? sink.TakeImage() : DecodedImage{};
}

} // namespace quorex
