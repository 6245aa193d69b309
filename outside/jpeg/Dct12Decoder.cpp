#include "Dct12Decoder.h"

#include "DctTables.h"
#include "DctTransform.h"
#include "JpegHeaderReader.h"

#include <algorithm>
#include <vector>

namespace quorex
{

namespace
{
constexpr int kMaxApproximationBit = 13;

// The coefficients of every block of the one component, kept until all scans
// are read.
struct CoefficientPlane
{
    size_t nBlockColumns = 0;
    size_t nBlockRows = 0;
    std::vector<CoefficientBlock> blocks;
};

CoefficientPlane MakePlane(const JpegFrame& frame, size_t nStreamLength)
{
    if (frame.nPrecision != 12 || frame.components.size() != 1)
    {
        throw JpegFormatError("only one-component 12-bit DCT frames are decoded here");
    }
    const size_t nPixels = size_t(frame.nRows) * size_t(frame.nColumns);
    if (nPixels / kMaxPixelsPerDctByte > nStreamLength || nPixels * 2 > kMaxOutputBytes)
    {
        throw JpegFormatError("frame too large for its stream");
    }
    CoefficientPlane plane;
    plane.nBlockColumns = (size_t(frame.nColumns) + 7) / 8;
    plane.nBlockRows = (size_t(frame.nRows) + 7) / 8;
    plane.blocks.resize(plane.nBlockColumns * plane.nBlockRows, CoefficientBlock{});
    return plane;
}

// Stores a coefficient; values out of range come only from damaged data and
// wrap as they do in the customary 16-bit coefficient buffers.
void SetCoefficient(CoefficientBlock& block, int nZigzag, int32_t nValue)
{
    block[kZigzagToNatural[static_cast<size_t>(nZigzag)]] = static_cast<int16_t>(nValue);
}

// Decodes one scan into the plane: which coefficients (Ss..Se) and which bit
// (Ah, Al) it carries decides how each block is read.
class ScanDecoder
{
public:
    ScanDecoder(const JpegHeaderReader& header, CoefficientPlane& plane)
        : m_scan(header.GetScan()), m_plane(plane),
          m_reader(header.GetStream(), header.GetPosition()),
          m_bProgressive(header.GetFrame().nMarker == marker::kSof2),
          m_nRestartInterval(header.GetRestartInterval())
    {
        if (m_bProgressive)
        {
            const bool bDc = m_scan.nSs == 0;
            if (m_scan.nSs > m_scan.nSe || m_scan.nSe > 63 || (bDc && m_scan.nSe != 0) ||
                m_scan.nAh > kMaxApproximationBit || m_scan.nAl > kMaxApproximationBit)
            {
                throw JpegFormatError("bad progressive scan parameters");
            }
        }
        const JpegScan::Member& member = m_scan.members.front();
        const bool bNeedsDc = !m_bProgressive || (m_scan.nSs == 0 && m_scan.nAh == 0);
        const bool bNeedsAc = !m_bProgressive || m_scan.nSs > 0;
        m_pDcTable = bNeedsDc ? &header.GetDcTable(member.nDcTable) : nullptr;
        m_pAcTable = bNeedsAc ? &header.GetAcTable(member.nAcTable) : nullptr;
    }

    // Decodes the scan and returns where its data ended.
    size_t DoDecode()
    {
        int nRestart = 0;
        for (size_t nBlock = 0; nBlock < m_plane.blocks.size(); ++nBlock)
        {
            if (m_nRestartInterval > 0 && nBlock > 0 && nBlock % m_nRestartInterval == 0)
            {
                m_reader.DoRestart(nRestart++);
                m_nPrediction = 0;
                m_nEndOfBandRun = 0;
            }
            DecodeBlock(m_plane.blocks[nBlock]);
        }
        return m_reader.GetPosition();
    }

private:
    void DecodeBlock(CoefficientBlock& block)
    {
        if (!m_bProgressive)
        {
            DecodeDcFirst(block, 0);
            DecodeAcFirst(block, 1, 63, 0);
        }
        else if (m_scan.nSs == 0)
        {
            if (m_scan.nAh == 0)
            {
                DecodeDcFirst(block, m_scan.nAl);
            }
            else
            {
                DecodeDcRefinement(block);
            }
        }
        else if (m_scan.nAh == 0)
        {
            DecodeAcFirst(block, m_scan.nSs, m_scan.nSe, m_scan.nAl);
        }
        else
        {
            DecodeAcRefinement(block);
        }
    }

    void DecodeDcFirst(CoefficientBlock& block, int nAl)
    {
        const int nCategory = m_pDcTable->DecodeSymbol(m_reader);
        if (nCategory > 15)
        {
            throw JpegFormatError("bad DC difference category");
        }
        // Only the low bits of the prediction reach a coefficient, so it
        // may wrap.
        m_nPrediction += static_cast<uint32_t>(m_reader.GetSignedBits(nCategory));
        SetCoefficient(block, 0, static_cast<int32_t>(m_nPrediction << nAl));
    }

    void DecodeDcRefinement(CoefficientBlock& block)
    {
        if (m_reader.GetBits(1) != 0)
        {
            block[0] = static_cast<int16_t>(block[0] | (1 << m_scan.nAl));
        }
    }

    void DecodeAcFirst(CoefficientBlock& block, int nSs, int nSe, int nAl)
    {
        if (m_nEndOfBandRun > 0)
        {
            --m_nEndOfBandRun;
            return;
        }
        for (int k = nSs; k <= nSe; ++k)
        {
            const int nSymbol = m_pAcTable->DecodeSymbol(m_reader);
            const int nRun = nSymbol >> 4;
            const int nSize = nSymbol & 15;
            if (nSize == 0)
            {
                if (nRun == 15)
                {
                    k += 15;
                    continue;
                }
                if (!m_bProgressive)
                {
                    return; // end of block; sequential scans have no runs of bands
                }
                m_nEndOfBandRun = (1 << nRun) - 1 + static_cast<int>(m_reader.GetBits(nRun));
                return;
            }
            k += nRun;
            if (k > nSe)
            {
                throw JpegFormatError("coefficient beyond the band");
            }
            SetCoefficient(block, k, m_reader.GetSignedBits(nSize) * (1 << nAl));
        }
    }

    // Adds one bit of precision to the coefficients that are already non-zero
    // and places the coefficients that become non-zero at this bit.
    void DecodeAcRefinement(CoefficientBlock& block)
    {
        const int nBit = 1 << m_scan.nAl;
        int k = m_scan.nSs;
        if (m_nEndOfBandRun == 0)
        {
            for (; k <= m_scan.nSe; ++k)
            {
                const int nSymbol = m_pAcTable->DecodeSymbol(m_reader);
                int nZeros = nSymbol >> 4;
                const int nSize = nSymbol & 15;
                int nNewValue = 0;
                if (nSize != 0)
                {
                    if (nSize != 1)
                    {
                        throw JpegFormatError("bad refinement size");
                    }
                    nNewValue = m_reader.GetBits(1) != 0 ? nBit : -nBit;
                }
                else if (nZeros != 15)
                {
                    m_nEndOfBandRun = (1 << nZeros) + static_cast<int>(m_reader.GetBits(nZeros));
                    break;
                }
                // Skip nZeros coefficients that are still zero, refining the
                // non-zero ones passed on the way.
                for (; k <= m_scan.nSe; ++k)
                {
                    const size_t nNatural = kZigzagToNatural[static_cast<size_t>(k)];
                    if (block[nNatural] != 0)
                    {
                        DoRefine(block[nNatural], nBit);
                    }
                    else if (nZeros-- == 0)
                    {
                        break;
                    }
                }
                if (nNewValue != 0)
                {
                    if (k > m_scan.nSe)
                    {
                        throw JpegFormatError("coefficient beyond the band");
                    }
                    SetCoefficient(block, k, nNewValue);
                }
            }
        }
        if (m_nEndOfBandRun > 0)
        {
            for (; k <= m_scan.nSe; ++k)
            {
                const size_t nNatural = kZigzagToNatural[static_cast<size_t>(k)];
                if (block[nNatural] != 0)
                {
                    DoRefine(block[nNatural], nBit);
                }
            }
            --m_nEndOfBandRun;
        }
    }

    void DoRefine(int16_t& nCoefficient, int nBit)
    {
        if (m_reader.GetBits(1) != 0 && (nCoefficient & nBit) == 0)
        {
            nCoefficient =
                static_cast<int16_t>(nCoefficient >= 0 ? nCoefficient + nBit : nCoefficient - nBit);
        }
    }

    const JpegScan& m_scan;
    CoefficientPlane& m_plane;
    EntropyReader m_reader;
    bool m_bProgressive;
    size_t m_nRestartInterval;
    const HuffmanDecodeTable* m_pDcTable;
    const HuffmanDecodeTable* m_pAcTable;
    uint32_t m_nPrediction = 0;
    int m_nEndOfBandRun = 0;
};

SampleImage DoTransform(const JpegFrame& frame, const CoefficientPlane& plane,
                        const std::array<uint16_t, 64>& zigzagQuant)
{
    std::array<uint16_t, 64> quant{};
    for (size_t k = 0; k < 64; ++k)
    {
        quant[kZigzagToNatural[k]] = zigzagQuant[k];
    }
    SampleImage image;
    image.nRows = frame.nRows;
    image.nColumns = frame.nColumns;
    image.nComponents = 1;
    image.nPrecision = 12;
    image.samples.resize(size_t(frame.nRows) * size_t(frame.nColumns));
    std::array<uint16_t, 64> block{};
    for (size_t nBlockRow = 0; nBlockRow < plane.nBlockRows; ++nBlockRow)
    {
        for (size_t nBlockColumn = 0; nBlockColumn < plane.nBlockColumns; ++nBlockColumn)
        {
            DoInverseDct12(plane.blocks[nBlockRow * plane.nBlockColumns + nBlockColumn], quant,
                           block.data(), 8);
            // Copy the part of the block inside the image.
            const size_t nTop = nBlockRow * 8;
            const size_t nLeft = nBlockColumn * 8;
            const size_t nHeight = std::min<size_t>(8, size_t(frame.nRows) - nTop);
            const size_t nWidth = std::min<size_t>(8, size_t(frame.nColumns) - nLeft);
            for (size_t y = 0; y < nHeight; ++y)
            {
                std::copy_n(
                    block.begin() + static_cast<ptrdiff_t>(y * 8), nWidth,
                    image.samples.begin() +
                        static_cast<ptrdiff_t>((nTop + y) * size_t(frame.nColumns) + nLeft));
            }
        }
    }
    return image;
}
} // namespace

SampleImage Dct12Decoder::DoDecode(ByteSpan stream)
{
    JpegHeaderReader header(stream);
    CoefficientPlane plane;
    while (header.DoReadToScan())
    {
        if (plane.blocks.empty())
        {
            plane = MakePlane(header.GetFrame(), stream.size());
        }
        ScanDecoder scan(header, plane);
        header.SetPosition(scan.DoDecode());
    }
    if (plane.blocks.empty())
    {
        throw JpegFormatError("no scan");
    }
    const JpegFrame& frame = header.GetFrame();
    // A progressive stream that stops between scans has lost precision or
    // whole bands; only its end-of-image marker shows it is complete.
    if (frame.nMarker == marker::kSof2 && !header.IsAtEndOfImage())
    {
        throw JpegFormatError("progressive stream ends before its last scan");
    }
    return DoTransform(frame, plane, header.GetQuantTable(frame.components.front().nQuantTable));
}

} // namespace quorex
