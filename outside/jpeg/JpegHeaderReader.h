// Reads the header segments of a stream for our own decoders: the frame, the
// quantisation and Huffman tables, the restart interval and each scan header,
// validating every field before a decoder relies on it.
#pragma once

#include "HuffmanTable.h"
#include "JpegMarkers.h"

#include <array>
#include <vector>

namespace quorex
{

struct JpegComponent
{
    uint8_t nId = 0;
    int nH = 1;
    int nV = 1;
    int nQuantTable = 0;
};

struct JpegFrame
{
    uint8_t nMarker = 0;
    int nPrecision = 0;
    int nRows = 0;
    int nColumns = 0;
    std::vector<JpegComponent> components;
};

struct JpegScan
{
    // Frame component index, DC (or lossless) table and AC table of each
    // component of the scan.
    struct Member
    {
        int nComponent;
        int nDcTable;
        int nAcTable;
    };
    std::vector<Member> members;
    int nSs = 0;
    int nSe = 0;
    int nAh = 0;
    int nAl = 0;
};

class JpegHeaderReader
{
public:
    static constexpr int kTableSlots = 4;

    explicit JpegHeaderReader(ByteSpan stream) : m_reader(stream.data(), stream.size()) {}

    // Reads segments up to the next scan header: true with that scan read,
    // false at the end of the image. Throws on malformed segments, on a scan
    // before the frame header and on what the decoders do not support
    // (hierarchical frames, arithmetic coding, a line count given later).
    bool DoReadToScan();

    // Whether the end-of-image marker has been read (rather than the data
    // simply running out).
    bool IsAtEndOfImage() const { return m_bAtEndOfImage; }

    const JpegFrame& GetFrame() const { return m_frame; }
    const JpegScan& GetScan() const { return m_scan; }
    int GetRestartInterval() const { return m_nRestartInterval; }

    // Throw when the table was never defined.
    const HuffmanDecodeTable& GetDcTable(int nIndex) const;
    const HuffmanDecodeTable& GetAcTable(int nIndex) const;
    // Values in zigzag order.
    const std::array<uint16_t, 64>& GetQuantTable(int nIndex) const;

    // Where the entropy-coded data of the scan starts; the decoder then sets
    // where its data ended.
    size_t GetPosition() const { return m_reader.GetPosition(); }
    void SetPosition(size_t nPosition) { m_reader.SetPosition(nPosition); }
    ByteSpan GetStream() const { return m_reader.GetData(); }

private:
    void ReadFrame(uint8_t nMarker, ByteSpan payload);
    void ReadScan(ByteSpan payload);
    void ReadHuffmanTables(ByteSpan payload);
    void ReadQuantTables(ByteSpan payload);
    void ReadRestartInterval(ByteSpan payload);

    JpegMarkerReader m_reader;
    bool m_bStarted = false;
    bool m_bHasFrame = false;
    bool m_bAtEndOfImage = false;
    JpegFrame m_frame;
    JpegScan m_scan;
    int m_nRestartInterval = 0;
    std::array<HuffmanDecodeTable, kTableSlots> m_dcTables;
    std::array<HuffmanDecodeTable, kTableSlots> m_acTables;
    std::array<std::array<uint16_t, 64>, kTableSlots> m_quantTables{};
    std::array<bool, kTableSlots> m_quantDefined{};
};

} // namespace quorex
