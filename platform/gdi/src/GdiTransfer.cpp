#include "GdiTransfer.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace
{
// The source rows of a transfer as 32-bit pixels, columns [xlo, xhi] of
// the source's device coordinates, indexed from xlo.
class SourceRows
{
public:
    SourceRows(const BlockTransfer& t, int xlo, int xhi, bool snapshot)
        : m_source(*t.pSource), m_origin(t.srcOrigin), m_xlo(xlo), m_width(xhi - xlo + 1)
    {
        if (!snapshot)
            return;
        // Within one surface the rows are copied first, so overlapping
        // transfers read the pixels as they were before the call.
        int lo = INT32_MAX;
        int hi = INT32_MIN;
        for (int sy : t.ymap)
        {
            if (sy >= 0)
            {
                lo = std::min(lo, sy);
                hi = std::max(hi, sy);
            }
        }
        if (lo > hi)
            return;
        m_snapshotTop = lo;
        m_snapshot.resize(std::size_t(hi - lo + 1) * std::size_t(m_width));
        for (int y = lo; y <= hi; ++y)
            Decode(y, &m_snapshot[std::size_t(y - lo) * std::size_t(m_width)]);
        m_bSnapshot = true;
    }

    const std::uint32_t* Get(int sy)
    {
        if (m_bSnapshot)
            return &m_snapshot[std::size_t(sy - m_snapshotTop) * std::size_t(m_width)];
        if (m_source.IsDirect())
            return m_source.Row(sy + m_origin.y) + m_origin.x + m_xlo;
        if (sy != m_cachedRow)
        {
            m_row.resize(std::size_t(m_width));
            Decode(sy, m_row.data());
            m_cachedRow = sy;
        }
        return m_row.data();
    }

private:
    void Decode(int sy, std::uint32_t* out) const
    {
        m_source.Read(sy + m_origin.y, m_xlo + m_origin.x, m_xlo + m_origin.x + m_width, out);
    }

    const PixelSurface& m_source;
    POINT m_origin;
    int m_xlo;
    int m_width;
    bool m_bSnapshot = false;
    int m_snapshotTop = 0;
    std::vector<std::uint32_t> m_snapshot;
    std::vector<std::uint32_t> m_row;
    int m_cachedRow = -1;
};

std::uint32_t Blend(std::uint32_t s, std::uint32_t d, std::uint32_t alpha)
{
    std::uint32_t r = 0;
    for (int shift = 0; shift < 24; shift += 8)
    {
        const std::uint32_t cs = (s >> shift) & 0xFF;
        const std::uint32_t cd = (d >> shift) & 0xFF;
        r |= ((cs * alpha + cd * (255u - alpha) + 127u) / 255u) << shift;
    }
    return r;
}
} // namespace

std::vector<int> MapAxis(const TransferAxis& axis, int from, int to, int srcLimit)
{
    const std::int64_t de = std::abs(std::int64_t(axis.dstExtent));
    const std::int64_t se = std::abs(std::int64_t(axis.srcExtent));
    const bool mirror = (axis.dstExtent < 0) != (axis.srcExtent < 0);
    const std::int64_t srcLow =
        axis.srcExtent < 0 ? std::int64_t(axis.srcStart) + axis.srcExtent : axis.srcStart;
    std::vector<int> map(std::size_t(to - from), -1);
    for (std::int64_t i = from; i < to; ++i)
    {
        std::int64_t s = i * se / de;
        if (mirror)
            s = se - 1 - s;
        const std::int64_t coordinate = srcLow + s;
        if (coordinate >= 0 && coordinate < srcLimit)
            map[std::size_t(i - from)] = int(coordinate);
    }
    return map;
}

RECT TransferRect(const TransferAxis& h, const TransferAxis& v)
{
    return RECT{h.GetDstLow(), v.GetDstLow(), h.GetDstLow() + std::abs(h.dstExtent),
                v.GetDstLow() + std::abs(v.dstExtent)};
}

bool Rop3NeedsSource(std::uint8_t code)
{
    return (((code >> 2) ^ code) & 0x33) != 0;
}

bool Rop3NeedsPattern(std::uint8_t code)
{
    return (((code >> 4) ^ code) & 0x0F) != 0;
}

void Painter::TransferBlock(const BlockTransfer& t)
{
    const RECT& dst = t.dst;
    if (t.pSource == nullptr)
    {
        for (int y = dst.top; y < dst.bottom; ++y)
        {
            EditSpan(y, dst.left, dst.right,
                     [&](std::uint32_t* out, int a, int b)
                     {
                         for (int x = a; x < b; ++x, ++out)
                         {
                             std::uint32_t p = 0;
                             if (t.pattern.PixelAt(x, y, p))
                                 *out = ApplyRop3(t.code, p, 0, *out) & 0xFFFFFF;
                         }
                     });
        }
        return;
    }
    int xlo = INT32_MAX;
    int xhi = INT32_MIN;
    for (int sx : t.xmap)
    {
        if (sx >= 0)
        {
            xlo = std::min(xlo, sx);
            xhi = std::max(xhi, sx);
        }
    }
    if (xlo > xhi)
        return;
    const bool sameSurface = t.pSource->SharesPixelsWith(m_surface);
    const bool plainCopy = t.code == 0xCC && t.convert.mode == ColorConversion::enMode::None &&
                           !m_surface.IsMonochrome() && !t.bBlend;
    if (plainCopy && !sameSurface && t.pSource->IsIndexed8() &&
        (m_surface.IsIndexed8() || m_surface.IsDirect()))
    {
        TransferIndexed(t);
        return;
    }
    SourceRows rows(t, xlo, xhi, sameSurface);
    // Columns of the source rows, which start at xlo.
    std::vector<int> columns(t.xmap);
    for (int& sx : columns)
        sx = sx >= 0 ? sx - xlo : -1;
    // A one-to-one copy of a run of source pixels moves whole spans.
    bool contiguous = plainCopy && m_surface.IsDirect() && columns.front() >= 0;
    for (std::size_t i = 1; contiguous && i < columns.size(); ++i)
        contiguous = columns[i] == columns[i - 1] + 1;
    for (int y = dst.top; y < dst.bottom; ++y)
    {
        const int sy = t.ymap[std::size_t(y - dst.top)];
        if (sy < 0)
            continue;
        const std::uint32_t* row = rows.Get(sy);
        EditSpan(y, dst.left, dst.right,
                 [&](std::uint32_t* out, int a, int b)
                 {
                     const int* sx = columns.data() + (a - dst.left);
                     if (contiguous)
                     {
                         std::memcpy(out, row + *sx, std::size_t(b - a) * sizeof(std::uint32_t));
                         return;
                     }
                     for (int x = a; x < b; ++x, ++out, ++sx)
                     {
                         if (*sx < 0)
                             continue;
                         if (plainCopy)
                         {
                             *out = row[*sx] & 0xFFFFFF;
                             continue;
                         }
                         const std::uint32_t s = t.convert(row[*sx]);
                         if (t.bBlend)
                         {
                             *out = Blend(s, *out, t.alpha);
                             continue;
                         }
                         std::uint32_t p = 0;
                         if (t.pattern.PixelAt(x, y, p))
                             *out = ApplyRop3(t.code, p, s, *out) & 0xFFFFFF;
                     }
                 });
    }
}

void Painter::TransferIndexed(const BlockTransfer& t)
{
    // Each source entry once to what the destination stores for it.
    const PixelSurface& source = *t.pSource;
    const std::vector<std::uint32_t>& colors = source.GetLayout()->colors;
    std::array<std::uint32_t, 256> lut{};
    for (std::size_t i = 0; i < lut.size(); ++i)
        lut[i] =
            m_surface.IsDirect() ? colors[i] & 0xFFFFFF : m_surface.GetNearest()->Find(colors[i]);
    const RECT& dst = t.dst;
    for (int y = dst.top; y < dst.bottom; ++y)
    {
        const int sy = t.ymap[std::size_t(y - dst.top)];
        if (sy < 0)
            continue;
        const std::uint8_t* row = source.DibRow(sy + t.srcOrigin.y) + t.srcOrigin.x;
        ForEachClippedSpan(y, dst.left, dst.right,
                           [&](int a, int b)
                           {
                               const int* sx = t.xmap.data() + (a - dst.left);
                               const int sy0 = y + m_origin.y;
                               if (m_surface.IsDirect())
                               {
                                   std::uint32_t* out = m_surface.Row(sy0) + a + m_origin.x;
                                   for (int x = a; x < b; ++x, ++out, ++sx)
                                   {
                                       if (*sx >= 0)
                                           *out = lut[row[*sx]];
                                   }
                                   return;
                               }
                               std::uint8_t* out = m_surface.DibRow(sy0) + a + m_origin.x;
                               for (int x = a; x < b; ++x, ++out, ++sx)
                               {
                                   if (*sx >= 0)
                                       *out = std::uint8_t(lut[row[*sx]]);
                               }
                           });
    }
}
