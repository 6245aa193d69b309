#include "Dct12Encoder.h"

#include "DctTables.h"
#include "DctTransform.h"
#include "EntropyWriter.h"
#include "HuffmanTable.h"
#include "JpegMarkers.h"
#include "JpegSegmentWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorex
{

namespace
{
constexpr int kSampleCentre = 2048;
constexpr int kMaxEndOfBandRun = 0x7FFF;
// Correction bits held back for a run of bands before the run is sent anyway.
constexpr size_t kMaxPendingBits = 900;

// Quantised coefficients of every block, in zigzag order.
using ZigzagBlock = std::array<int32_t, 64>;

struct ScanSpec
{
    int nSs;
    int nSe;
    int nAh;
    int nAl;
};

int GetBitLength(uint32_t nValue)
{
    int nBits = 0;
    while (nValue != 0)
    {
        ++nBits;
        nValue >>= 1;
    }
    return nBits;
}

// The low nBits bits that code a value of that magnitude category.
uint32_t GetValueBits(int32_t nValue, int nBits)
{
    const int32_t nCoded = nValue < 0 ? nValue - 1 : nValue;
    return static_cast<uint32_t>(nCoded) & ((1u << nBits) - 1);
}

std::vector<ZigzagBlock> Quantise(const SampleImage& image, const std::array<uint16_t, 64>& quant)
{
    const size_t nBlockColumns = (size_t(image.nColumns) + 7) / 8;
    const size_t nBlockRows = (size_t(image.nRows) + 7) / 8;
    std::vector<ZigzagBlock> blocks(nBlockColumns * nBlockRows);
    std::array<double, 64> samples{};
    std::array<double, 64> coefficients{};
    for (size_t nBlock = 0; nBlock < blocks.size(); ++nBlock)
    {
        const size_t nTop = nBlock / nBlockColumns * 8;
        const size_t nLeft = nBlock % nBlockColumns * 8;
        // Blocks past the edge repeat the last row and column.
        for (size_t y = 0; y < 8; ++y)
        {
            const size_t nRow = std::min(nTop + y, size_t(image.nRows) - 1);
            for (size_t x = 0; x < 8; ++x)
            {
                const size_t nColumn = std::min(nLeft + x, size_t(image.nColumns) - 1);
                samples[y * 8 + x] =
                    image.samples[nRow * size_t(image.nColumns) + nColumn] - kSampleCentre;
            }
        }
        DoForwardDct(samples, coefficients);
        for (size_t k = 0; k < 64; ++k)
        {
            blocks[nBlock][k] =
                static_cast<int32_t>(std::lround(coefficients[kZigzagToNatural[k]] / quant[k]));
        }
    }
    return blocks;
}

// Sinks for the symbols and bits of a scan: one counts the symbols to build
// the optimal table, the other writes the coded data.
class SymbolCounter
{
public:
    explicit SymbolCounter(SymbolCounts& counts) : m_counts(counts) {}
    void PutSymbol(int nSymbol) { ++m_counts[static_cast<size_t>(nSymbol)]; }
    void PutBits(uint32_t, int) {}

private:
    SymbolCounts& m_counts;
};

class SymbolWriter
{
public:
    SymbolWriter(const HuffmanEncodeTable& table, EntropyWriter& writer)
        : m_table(table), m_writer(writer)
    {
    }
    void PutSymbol(int nSymbol)
    {
        const auto nIndex = static_cast<uint8_t>(nSymbol);
        m_writer.PutBits(m_table.GetCode(nIndex), m_table.GetLength(nIndex));
    }
    void PutBits(uint32_t nValue, int nBits) { m_writer.PutBits(nValue, nBits); }

private:
    const HuffmanEncodeTable& m_table;
    EntropyWriter& m_writer;
};

// Codes the blocks of one scan of a progressive frame, or their DC or AC
// part in the one scan of a sequential frame.
template <typename Sink> class ScanCoder
{
public:
    ScanCoder(Sink& sink, const ScanSpec& spec) : m_sink(sink), m_spec(spec) {}

    void DoCodeDcFirst(const ZigzagBlock& block)
    {
        const int32_t nValue = block[0] >> m_spec.nAl;
        const int32_t nDifference = nValue - m_nPrediction;
        m_nPrediction = nValue;
        const int nBits = GetBitLength(static_cast<uint32_t>(std::abs(nDifference)));
        m_sink.PutSymbol(nBits);
        m_sink.PutBits(GetValueBits(nDifference, nBits), nBits);
    }

    void DoCodeDcRefinement(const ZigzagBlock& block)
    {
        m_sink.PutBits(static_cast<uint32_t>(block[0] >> m_spec.nAl) & 1, 1);
    }

    void DoCodeAcFirst(const ZigzagBlock& block)
    {
        int nZeros = 0;
        for (int k = m_spec.nSs; k <= m_spec.nSe; ++k)
        {
            const int32_t nCoefficient = block[static_cast<size_t>(k)];
            const int32_t nMagnitude = std::abs(nCoefficient) >> m_spec.nAl;
            if (nMagnitude == 0)
            {
                ++nZeros;
                continue;
            }
            DoFlushBandRun();
            for (; nZeros > 15; nZeros -= 16)
            {
                m_sink.PutSymbol(0xF0);
            }
            const int nBits = GetBitLength(static_cast<uint32_t>(nMagnitude));
            m_sink.PutSymbol(nZeros << 4 | nBits);
            m_sink.PutBits(GetValueBits(nCoefficient < 0 ? -nMagnitude : nMagnitude, nBits), nBits);
            nZeros = 0;
        }
        if (nZeros > 0)
        {
            DoEndBand();
        }
    }

    // The sequential form: every band ends with its own end-of-block code.
    void DoCodeAcSequential(const ZigzagBlock& block)
    {
        DoCodeAcFirst(block);
        DoFlushBandRun();
    }

    void DoCodeAcRefinement(const ZigzagBlock& block)
    {
        std::array<int32_t, 64> magnitudes{};
        int nLastNew = 0;
        for (int k = m_spec.nSs; k <= m_spec.nSe; ++k)
        {
            magnitudes[k] = std::abs(block[static_cast<size_t>(k)]) >> m_spec.nAl;
            if (magnitudes[k] == 1)
            {
                nLastNew = k;
            }
        }
        int nZeros = 0;
        std::vector<uint8_t> corrections;
        for (int k = m_spec.nSs; k <= m_spec.nSe; ++k)
        {
            if (magnitudes[k] == 0)
            {
                ++nZeros;
                continue;
            }
            // Runs of 16 zeros before the last new coefficient need their own
            // code; later ones fold into the end of the band.
            while (nZeros > 15 && k <= nLastNew)
            {
                DoFlushBandRun();
                m_sink.PutSymbol(0xF0);
                nZeros -= 16;
                DoPutCorrections(corrections);
            }
            if (magnitudes[k] > 1)
            {
                corrections.push_back(static_cast<uint8_t>(magnitudes[k] & 1));
                continue;
            }
            DoFlushBandRun();
            m_sink.PutSymbol(nZeros << 4 | 1);
            m_sink.PutBits(block[static_cast<size_t>(k)] < 0 ? 0 : 1, 1);
            DoPutCorrections(corrections);
            nZeros = 0;
        }
        if (nZeros > 0 || !corrections.empty())
        {
            m_pendingBits.insert(m_pendingBits.end(), corrections.begin(), corrections.end());
            DoEndBand();
        }
    }

    // Sends the run of bands that ended early, with the correction bits held
    // back for them.
    void DoFlushBandRun()
    {
        if (m_nEndOfBandRun == 0)
        {
            return;
        }
        const int nBits = GetBitLength(static_cast<uint32_t>(m_nEndOfBandRun)) - 1;
        m_sink.PutSymbol(nBits << 4);
        m_sink.PutBits(static_cast<uint32_t>(m_nEndOfBandRun), nBits);
        m_nEndOfBandRun = 0;
        DoPutCorrections(m_pendingBits);
    }

private:
    void DoEndBand()
    {
        ++m_nEndOfBandRun;
        if (m_nEndOfBandRun == kMaxEndOfBandRun || m_pendingBits.size() > kMaxPendingBits)
        {
            DoFlushBandRun();
        }
    }

    void DoPutCorrections(std::vector<uint8_t>& bits)
    {
        for (const uint8_t nBit : bits)
        {
            m_sink.PutBits(nBit, 1);
        }
        bits.clear();
    }

    Sink& m_sink;
    ScanSpec m_spec;
    int32_t m_nPrediction = 0;
    int m_nEndOfBandRun = 0;
    std::vector<uint8_t> m_pendingBits;
};

// The scans of each process for one component: sequential; bands at full
// precision; bands first at reduced precision, then refined bit by bit.
std::vector<ScanSpec> GetScanScript(enLossyProcess enProcess)
{
    switch (enProcess)
    {
    case enLossyProcess::SpectralSelection:
        return {{0, 0, 0, 0}, {1, 5, 0, 0}, {6, 63, 0, 0}};
    case enLossyProcess::FullProgression:
        return {{0, 0, 0, 1},  {1, 5, 0, 2}, {6, 63, 0, 2},
                {1, 63, 2, 1}, {0, 0, 1, 0}, {1, 63, 1, 0}};
    case enLossyProcess::Baseline:
    case enLossyProcess::Extended:
        break;
    }
    return {{0, 63, 0, 0}};
}

// Runs one pass of a scan over every block with the given sink.
template <typename Sink>
void DoCodeScan(const std::vector<ZigzagBlock>& blocks, const ScanSpec& spec, bool bSequential,
                Sink& dcSink, Sink& acSink)
{
    ScanCoder<Sink> dcCoder(dcSink, spec);
    ScanCoder<Sink> acCoder(acSink, bSequential ? ScanSpec{1, 63, 0, 0} : spec);
    for (const ZigzagBlock& block : blocks)
    {
        if (bSequential)
        {
            dcCoder.DoCodeDcFirst(block);
            acCoder.DoCodeAcSequential(block);
        }
        else if (spec.nSs == 0)
        {
            spec.nAh == 0 ? dcCoder.DoCodeDcFirst(block) : dcCoder.DoCodeDcRefinement(block);
        }
        else
        {
            spec.nAh == 0 ? acCoder.DoCodeAcFirst(block) : acCoder.DoCodeAcRefinement(block);
        }
    }
    acCoder.DoFlushBandRun();
}

void DoWriteScan(JpegSegmentWriter& segments, std::vector<uint8_t>& stream,
                 const std::vector<ZigzagBlock>& blocks, const ScanSpec& spec, bool bSequential)
{
    SymbolCounts dcCounts{};
    SymbolCounts acCounts{};
    SymbolCounter dcCounter(dcCounts);
    SymbolCounter acCounter(acCounts);
    DoCodeScan(blocks, spec, bSequential, dcCounter, acCounter);

    const bool bCodesDc = bSequential || (spec.nSs == 0 && spec.nAh == 0);
    const bool bCodesAc = bSequential || spec.nSs > 0;
    const HuffmanSpec dcSpec = BuildOptimalSpec(dcCounts);
    const HuffmanSpec acSpec = BuildOptimalSpec(acCounts);
    if (bCodesDc)
    {
        segments.WriteHuffmanTable(0, 0, dcSpec);
    }
    if (bCodesAc)
    {
        segments.WriteHuffmanTable(1, 0, acSpec);
    }
    segments.WriteScanHeader({{1, 0, 0}}, spec.nSs, spec.nSe, spec.nAh, spec.nAl);

    EntropyWriter writer(stream);
    const HuffmanEncodeTable dcTable(dcSpec);
    const HuffmanEncodeTable acTable(acSpec);
    SymbolWriter dcWriter(dcTable, writer);
    SymbolWriter acWriter(acTable, writer);
    DoCodeScan(blocks, spec, bSequential, dcWriter, acWriter);
    writer.DoFlush();
}
} // namespace

std::vector<uint8_t> Dct12Encoder::DoEncode(const SampleImage& image, enLossyProcess enProcess,
                                            int nQuality)
{
    const std::array<uint16_t, 64> quant = MakeQuantTable(nQuality);
    const std::vector<ZigzagBlock> blocks = Quantise(image, quant);
    const std::vector<ScanSpec> script = GetScanScript(enProcess);
    const bool bSequential = script.size() == 1;

    std::vector<uint8_t> stream;
    JpegSegmentWriter segments(stream);
    segments.WriteMarker(marker::kSoi);
    segments.WriteQuantTable(0, quant);
    segments.WriteFrameHeader(bSequential ? marker::kSof1 : marker::kSof2, 12, image.nRows,
                              image.nColumns, {{1, 0}});
    for (const ScanSpec& spec : script)
    {
        DoWriteScan(segments, stream, blocks, spec, bSequential);
    }
    segments.WriteMarker(marker::kEoi);
    return stream;
}

} // namespace quorex
