#include "DibFormat.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr int kMaxDimension = 1 << 20;
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 28;

struct MaskChannel
{
    DWORD mask;
    int shift;
    std::uint32_t max;
};

MaskChannel MakeChannel(DWORD mask)
{
    MaskChannel c{mask, 0, 0};
    if (mask == 0)
        return c;
    while (((mask >> c.shift) & 1) == 0)
        ++c.shift;
    c.max = mask >> c.shift;
    return c;
}

std::uint32_t Expand(std::uint32_t value, const MaskChannel& c)
{
    if (c.max == 0)
        return 0;
    const std::uint32_t v = (value & c.mask) >> c.shift;
    return static_cast<std::uint32_t>((std::uint64_t(v) * 255 + c.max / 2) / c.max);
}

std::uint32_t Shrink(std::uint32_t channel8, DWORD mask)
{
    const MaskChannel c = MakeChannel(mask);
    if (c.max == 0)
        return 0;
    const std::uint32_t v =
        static_cast<std::uint32_t>((std::uint64_t(channel8) * c.max + 127) / 255);
    return (v << c.shift) & mask;
}

std::uint32_t DecodeMasked(std::uint32_t value, const DWORD masks[3])
{
    return (Expand(value, MakeChannel(masks[0])) << 16) |
           (Expand(value, MakeChannel(masks[1])) << 8) | Expand(value, MakeChannel(masks[2]));
}

std::uint32_t EncodeMasked(std::uint32_t pixel, const DWORD masks[3])
{
    return Shrink((pixel >> 16) & 0xFF, masks[0]) | Shrink((pixel >> 8) & 0xFF, masks[1]) |
           Shrink(pixel & 0xFF, masks[2]);
}

constexpr DWORD kMasks555[3] = {0x7C00, 0x03E0, 0x001F};
constexpr DWORD kMasks888[3] = {0xFF0000, 0x00FF00, 0x0000FF};

std::vector<std::uint32_t> MakeFixedTable(unsigned bitCount)
{
    static const std::uint32_t kStandard16[16] = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    if (bitCount == 1)
        return {0x000000, 0xFFFFFF};
    std::vector<std::uint32_t> table(kStandard16, kStandard16 + 16);
    if (bitCount == 4)
        return table;
    // 8 bits: the 16 standard colours, a 6x6x6 colour cube and 24 greys.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                table.push_back(std::uint32_t(r * 51) << 16 | std::uint32_t(g * 51) << 8 |
                                std::uint32_t(b * 51));
    for (int i = 1; i <= 24; ++i)
    {
        const std::uint32_t v = static_cast<std::uint32_t>(i * 255 / 25);
        table.push_back(v << 16 | v << 8 | v);
    }
    return table;
}
} // namespace

const std::vector<std::uint32_t>& FixedColorTable(unsigned bitCount)
{
    static const std::vector<std::uint32_t> t1 = MakeFixedTable(1);
    static const std::vector<std::uint32_t> t4 = MakeFixedTable(4);
    static const std::vector<std::uint32_t> t8 = MakeFixedTable(8);
    return bitCount == 1 ? t1 : bitCount == 4 ? t4 : t8;
}

bool ParseDibLayout(const BITMAPINFO* info, UINT usage, DibLayout& layout)
{
    PackedDibLayout packed;
    if (info == nullptr || usage != DIB_RGB_COLORS ||
        !ParsePackedDib(info, kDibBlockSizeUnknown, packed))
        return false;
    if (packed.nWidth > kMaxDimension || packed.nHeight > kMaxDimension ||
        std::uint64_t(packed.nWidth) * std::uint64_t(packed.nHeight) > kMaxPixels)
        return false;
    layout = DibLayout{};
    static_cast<PackedDibLayout&>(layout) = packed;
    const auto* base = reinterpret_cast<const std::uint8_t*>(info);
    if (packed.nCompression == BI_BITFIELDS)
        std::memcpy(layout.masks, base + sizeof(BITMAPINFOHEADER), sizeof(layout.masks));
    else if (layout.nBitCount == 16)
        std::memcpy(layout.masks, kMasks555, sizeof(layout.masks));
    else if (layout.nBitCount >= 24)
        std::memcpy(layout.masks, kMasks888, sizeof(layout.masks));
    if (layout.nBitCount > 8)
        return true;
    // A table longer than the bit count can index is read as far as it can.
    layout.nColorCount = std::min<std::uint32_t>(packed.nColors, 1u << layout.nBitCount);
    const std::uint8_t* table = base + packed.nTableOffset;
    for (std::uint32_t i = 0; i < layout.nColorCount; ++i)
    {
        const std::uint8_t* e = table + i * packed.nColorBytes;
        layout.colors.push_back(std::uint32_t(e[2]) << 16 | std::uint32_t(e[1]) << 8 | e[0]);
    }
    layout.colors.resize(std::size_t(1) << layout.nBitCount, 0);
    return true;
}

void DecodeDibSpan(const DibLayout& layout, const std::uint8_t* src, int x0, int x1,
                   std::uint32_t* dst)
{
    const std::uint32_t* colors = layout.colors.data();
    switch (layout.nBitCount)
    {
    case 1:
        for (int x = x0; x < x1; ++x)
            *dst++ = colors[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    case 4:
        for (int x = x0; x < x1; ++x)
            *dst++ = colors[(x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4)];
        break;
    case 8:
        for (int x = x0; x < x1; ++x)
            *dst++ = colors[src[x]];
        break;
    case 16:
        for (int x = x0; x < x1; ++x)
            *dst++ = DecodeMasked(std::uint32_t(src[2 * x]) | std::uint32_t(src[2 * x + 1]) << 8,
                                  layout.masks);
        break;
    case 24:
        for (int x = x0; x < x1; ++x)
            *dst++ = std::uint32_t(src[3 * x + 2]) << 16 | std::uint32_t(src[3 * x + 1]) << 8 |
                     src[3 * x];
        break;
    default:
        for (int x = x0; x < x1; ++x)
        {
            std::uint32_t v;
            std::memcpy(&v, src + 4 * x, 4);
            *dst++ =
                layout.nCompression == BI_BITFIELDS ? DecodeMasked(v, layout.masks) : v & 0xFFFFFF;
        }
        break;
    }
}

DibReader::DibReader(const DibLayout& layout, const void* bits)
    : m_layout(layout), m_pBits(static_cast<const std::uint8_t*>(bits)),
      m_row(static_cast<std::size_t>(layout.nWidth))
{
    if (layout.nCompression == BI_RLE8 || layout.nCompression == BI_RLE4)
        DecodeRle();
}

const std::uint32_t* DibReader::GetRow(int rowFromTop)
{
    if (rowFromTop < 0 || rowFromTop >= m_layout.nHeight)
        return nullptr;
    if (!m_rle.empty())
        return m_rle.data() + std::size_t(rowFromTop) * std::size_t(m_layout.nWidth);
    if (rowFromTop != m_nCachedRow)
    {
        const std::uint8_t* src =
            m_pBits + std::uint64_t(m_layout.StoredRow(rowFromTop)) * m_layout.nStride;
        DecodeRow(src, m_row.data());
        m_nCachedRow = rowFromTop;
    }
    return m_row.data();
}

void DibReader::DecodeRow(const std::uint8_t* src, std::uint32_t* dst) const
{
    DecodeDibSpan(m_layout, src, 0, m_layout.nWidth, dst);
}

void DibReader::DecodeRle()
{
    const int width = m_layout.nWidth;
    const int height = m_layout.nHeight;
    const bool rle4 = m_layout.nCompression == BI_RLE4;
    m_rle.assign(std::size_t(width) * std::size_t(height), 0);
    const std::uint32_t* colors = m_layout.colors.data();
    const std::uint8_t* p = m_pBits;
    const std::uint8_t* end = m_pBits + m_layout.nImageSize;
    int x = 0;
    int y = 0; // counted from the bottom
    auto put = [&](unsigned index)
    {
        if (x < width && y < height)
            m_rle[std::size_t(height - 1 - y) * std::size_t(width) + std::size_t(x)] =
                colors[index];
        ++x;
    };
    while (end - p >= 2 && y < height)
    {
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0)
        {
            for (unsigned i = 0; i < count; ++i)
                put(rle4 ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0)
        {
            x = 0;
            ++y;
        }
        else if (value == 1)
        {
            break;
        }
        else if (value == 2)
        {
            if (end - p < 2)
                break;
            x += p[0];
            y += p[1];
            p += 2;
        }
        else
        {
            const std::size_t bytes = rle4 ? (value + 1) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (std::size_t(end - p) < bytes)
                break;
            for (unsigned i = 0; i < value; ++i)
                put(rle4 ? ((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)) : p[i]);
            p += std::min<std::size_t>(padded, std::size_t(end - p));
        }
    }
}

NearestColor::NearestColor(std::vector<std::uint32_t> table)
    : m_table(std::move(table)), m_cache(std::size_t(1) << kCacheBits)
{
}

unsigned NearestColor::Find(std::uint32_t pixel)
{
    pixel &= 0xFFFFFF;
    Entry& entry = m_cache[(pixel * 0x9E3779B1u) >> (32 - kCacheBits)];
    if (entry.key != (pixel | kValid))
    {
        entry.key = pixel | kValid;
        entry.index = static_cast<std::uint8_t>(Search(pixel));
    }
    return entry.index;
}

unsigned NearestColor::Search(std::uint32_t pixel) const
{
    unsigned best = 0;
    std::uint32_t bestDistance = 0xFFFFFFFF;
    for (unsigned i = 0; i < m_table.size(); ++i)
    {
        const int dr = int((pixel >> 16) & 0xFF) - int((m_table[i] >> 16) & 0xFF);
        const int dg = int((pixel >> 8) & 0xFF) - int((m_table[i] >> 8) & 0xFF);
        const int db = int(pixel & 0xFF) - int(m_table[i] & 0xFF);
        const std::uint32_t d = std::uint32_t(dr * dr + dg * dg + db * db);
        if (d < bestDistance)
        {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

void EncodeDibRow(const DibLayout& layout, const std::uint32_t* src, std::uint8_t* dst,
                  NearestColor* nearest)
{
    std::memset(dst, 0, layout.nStride);
    EncodeDibSpan(layout, src, 0, layout.nWidth, dst, nearest);
}

void EncodeDibSpan(const DibLayout& layout, const std::uint32_t* src, int x0, int x1,
                   std::uint8_t* dst, NearestColor* nearest)
{
    switch (layout.nBitCount)
    {
    case 1:
        for (int x = x0; x < x1; ++x)
        {
            const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
            dst[x >> 3] =
                std::uint8_t((dst[x >> 3] & ~bit) | ((nearest->Find(*src++) & 1) ? bit : 0));
        }
        break;
    case 4:
        for (int x = x0; x < x1; ++x)
        {
            const unsigned shift = (x & 1) ? 0 : 4;
            dst[x >> 1] = std::uint8_t((dst[x >> 1] & ~(0x0F << shift)) |
                                       ((nearest->Find(*src++) & 0x0F) << shift));
        }
        break;
    case 8:
        for (int x = x0; x < x1; ++x)
            dst[x] = std::uint8_t(nearest->Find(*src++));
        break;
    case 16:
        for (int x = x0; x < x1; ++x)
        {
            const std::uint32_t v = EncodeMasked(*src++, layout.masks);
            dst[2 * x] = std::uint8_t(v & 0xFF);
            dst[2 * x + 1] = std::uint8_t(v >> 8);
        }
        break;
    case 24:
        for (int x = x0; x < x1; ++x, ++src)
        {
            dst[3 * x] = std::uint8_t(*src & 0xFF);
            dst[3 * x + 1] = std::uint8_t((*src >> 8) & 0xFF);
            dst[3 * x + 2] = std::uint8_t((*src >> 16) & 0xFF);
        }
        break;
    default:
        for (int x = x0; x < x1; ++x, ++src)
        {
            const std::uint32_t v = layout.nCompression == BI_BITFIELDS
                                        ? EncodeMasked(*src, layout.masks)
                                        : (*src & 0xFFFFFF);
            std::memcpy(dst + 4 * x, &v, 4);
        }
        break;
    }
}

namespace
{
void EncodeRleRow(const std::vector<std::uint8_t>& row, bool rle4, std::vector<std::uint8_t>& out)
{
    const std::size_t n = row.size();
    std::size_t i = 0;
    while (i < n)
    {
        std::size_t run = 1;
        while (i + run < n && run < 255 && row[i + run] == row[i])
            ++run;
        if (run >= 2 || n - i < 3)
        {
            const std::uint8_t v = row[i];
            out.push_back(std::uint8_t(run));
            out.push_back(rle4 ? std::uint8_t(v << 4 | v) : v);
            i += run;
            continue;
        }
        // Literal pixels until a run of three begins.
        std::size_t lit = 1;
        while (i + lit < n && lit < 255)
        {
            if (i + lit + 2 < n && row[i + lit] == row[i + lit + 1] &&
                row[i + lit] == row[i + lit + 2])
                break;
            ++lit;
        }
        if (lit < 3)
        {
            for (std::size_t k = 0; k < lit; ++k)
            {
                out.push_back(1);
                out.push_back(rle4 ? std::uint8_t(row[i + k] << 4) : row[i + k]);
            }
            i += lit;
            continue;
        }
        out.push_back(0);
        out.push_back(std::uint8_t(lit));
        std::size_t bytes = 0;
        if (rle4)
        {
            for (std::size_t k = 0; k < lit; k += 2)
            {
                const std::uint8_t hi = row[i + k];
                const std::uint8_t lo = k + 1 < lit ? row[i + k + 1] : 0;
                out.push_back(std::uint8_t(hi << 4 | lo));
                ++bytes;
            }
        }
        else
        {
            out.insert(out.end(), row.begin() + std::ptrdiff_t(i),
                       row.begin() + std::ptrdiff_t(i + lit));
            bytes = lit;
        }
        if (bytes & 1)
            out.push_back(0);
        i += lit;
    }
}
} // namespace

void EncodeRle(const DibLayout& layout, const std::vector<std::vector<std::uint8_t>>& indexRows,
               std::vector<std::uint8_t>& out)
{
    const bool rle4 = layout.nCompression == BI_RLE4;
    for (std::size_t k = indexRows.size(); k-- > 0;)
    {
        EncodeRleRow(indexRows[k], rle4, out);
        out.push_back(0);
        out.push_back(k == 0 ? 1 : 0);
    }
    if (indexRows.empty())
    {
        out.push_back(0);
        out.push_back(1);
    }
}
