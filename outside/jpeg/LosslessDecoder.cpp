#include "LosslessDecoder.h"

#include "JpegHeaderReader.h"
#include "LosslessPredictor.h"

#include <algorithm>

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

class ScanDecoder
{
public:
    ScanDecoder(const JpegHeaderReader& header, SampleImage& image)
        : m_header(header), m_scan(header.GetScan()), m_image(image),
          m_nStride(static_cast<size_t>(image.nComponents)),
          m_reader(header.GetStream(), header.GetPosition())
    {
        const JpegFrame& frame = header.GetFrame();
        if (m_scan.nSs < kFirstPredictor || m_scan.nSs > kLastPredictor ||
            m_scan.nAl >= frame.nPrecision)
        {
            throw JpegFormatError("bad predictor or point transform");
        }
        if (m_scan.members.size() > 1 &&
            (frame.components[0].nH != 1 || frame.components[0].nV != 1))
        {
            throw JpegFormatError("interleaved lossless MCUs of several samples not supported");
        }
        const int nInterval = header.GetRestartInterval();
        if (nInterval % image.nColumns != 0)
        {
            throw JpegFormatError("restart interval not a whole number of lines");
        }
        m_nRowsPerInterval = nInterval / image.nColumns;
        for (const JpegScan::Member& member : m_scan.members)
        {
            m_tables.push_back(&header.GetDcTable(member.nDcTable));
        }
    }

    // Decodes the scan and returns where its data ended.
    size_t DoDecode()
    {
        const int32_t nInitial = 1 << (m_header.GetFrame().nPrecision - m_scan.nAl - 1);
        int nRestart = 0;
        for (int32_t y = 0; y < m_image.nRows; ++y)
        {
            bool bFirstLine = y == 0;
            if (m_nRowsPerInterval > 0 && y > 0 && y % m_nRowsPerInterval == 0)
            {
                m_reader.DoRestart(nRestart++);
                bFirstLine = true;
            }
            DecodeLine(y, bFirstLine, nInitial);
        }
        DoApplyPointTransform();
        return m_reader.GetPosition();
    }

private:
    void DecodeLine(int32_t y, bool bFirstLine, int32_t nInitial)
    {
        const size_t nLine = size_t(m_image.nColumns) * m_nStride;
        uint16_t* pRow = m_image.samples.data() + size_t(y) * nLine;
        const uint16_t* pAbove = bFirstLine ? pRow : pRow - nLine;
        for (size_t m = 0; m < m_tables.size(); ++m)
        {
            const size_t c = static_cast<size_t>(m_scan.members[m].nComponent);
            const int32_t nPrediction = bFirstLine ? nInitial : pAbove[c];
            pRow[c] = static_cast<uint16_t>(nPrediction + DecodeDifference(m_reader, *m_tables[m]));
        }
        for (size_t x = m_nStride; x < nLine; x += m_nStride)
        {
            for (size_t m = 0; m < m_tables.size(); ++m)
            {
                const size_t i = x + static_cast<size_t>(m_scan.members[m].nComponent);
                const int32_t nPrediction = bFirstLine ? pRow[i - m_nStride]
                                                       : Predict(m_scan.nSs, pRow[i - m_nStride],
                                                                 pAbove[i], pAbove[i - m_nStride]);
                pRow[i] =
                    static_cast<uint16_t>(nPrediction + DecodeDifference(m_reader, *m_tables[m]));
            }
        }
    }

    // Samples were coded without their nAl lowest bits. Like the samples
    // themselves, the result is taken modulo 2^16; values beyond the precision
    // come only from damaged data and are left as they are.
    void DoApplyPointTransform()
    {
        if (m_scan.nAl == 0)
        {
            return;
        }
        for (const JpegScan::Member& member : m_scan.members)
        {
            for (size_t i = static_cast<size_t>(member.nComponent); i < m_image.samples.size();
                 i += m_nStride)
            {
                m_image.samples[i] = static_cast<uint16_t>(m_image.samples[i] << m_scan.nAl);
            }
        }
    }

    const JpegHeaderReader& m_header;
    const JpegScan& m_scan;
    SampleImage& m_image;
    size_t m_nStride;
    EntropyReader m_reader;
    int m_nRowsPerInterval = 0;
    std::vector<const HuffmanDecodeTable*> m_tables;
};
} // namespace

SampleImage LosslessDecoder::DoDecode(ByteSpan stream)
{
    JpegHeaderReader header(stream);
    SampleImage image;
    std::vector<bool> decoded;
    while (header.DoReadToScan())
    {
        const JpegFrame& frame = header.GetFrame();
        if (image.samples.empty())
        {
            CheckFrame(frame, stream.size());
            image.nRows = frame.nRows;
            image.nColumns = frame.nColumns;
            image.nComponents = static_cast<int32_t>(frame.components.size());
            image.nPrecision = frame.nPrecision;
            image.samples.resize(size_t(image.nRows) * size_t(image.nColumns) *
                                 size_t(image.nComponents));
            decoded.assign(frame.components.size(), false);
        }
        ScanDecoder scan(header, image);
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
    return image;
}

} // namespace quorex
