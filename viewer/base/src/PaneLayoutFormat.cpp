#include "PaneLayoutFormat.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

VIEWER_NAMESPACE_BEGIN

namespace
{

constexpr int Span = 1000;
constexpr int MaxBandItems = 7;

// Bands of weighted size are the grid viewer's only.
#if defined(VIEWER_SINGLE_VIEW)
constexpr bool HasWeightedBands = false;
#else
constexpr bool HasWeightedBands = true;
#endif

constexpr PaneRect Custom101[] = {
    {0, 0, 1000, 500},   {0, 500, 333, 750},    {333, 500, 666, 750},   {666, 500, 1000, 750},
    {0, 750, 333, 1000}, {333, 750, 666, 1000}, {666, 750, 1000, 1000},
};

// The two top panes end at 332 while the next row starts at 333.
constexpr PaneRect Custom102[] = {
    {0, 0, 500, 332},      {500, 0, 1000, 332},   {0, 333, 333, 570},     {333, 333, 666, 570},
    {666, 333, 1000, 570}, {0, 570, 333, 790},    {333, 570, 666, 790},   {666, 570, 1000, 790},
    {0, 790, 333, 1000},   {333, 790, 666, 1000}, {666, 790, 1000, 1000},
};

// A number read like atoi (blanks, a sign, leading digits; 0 without any),
// held at the limits of int instead of overflowing.
int ReadInt(const char* text)
{
    while (std::isspace(static_cast<unsigned char>(*text)))
    {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
    {
        ++text;
    }
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)) && value <= INT_MAX; ++text)
    {
        value = value * 10 + (*text - '0');
    }
    value = negative ? -value : value;
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
}

// The weight of the item that starts at text: the number after the first
// colon from there on, so an item without a colon takes the weight of the
// next one that has one; 0 when no colon follows.
double ReadWeight(const char* text)
{
    const char* colon = std::strchr(text, ':');
    return colon != nullptr ? std::strtod(colon + 1, nullptr) : 0.0;
}

} // namespace

PaneLayoutFormat::enParse PaneLayoutFormat::Parse(const char* format)
{
    Clear();
    const char* slash = format != nullptr ? std::strchr(format, '\\') : nullptr;
    if (slash == nullptr || slash[1] == '\0')
    {
        return Rejected;
    }
    const std::string kind(format, slash);
    const char* parameters = slash + 1;
    enParse result = Rejected;
    if (kind == "STANDARD")
        result = ParseStandard(parameters);
    else if (kind == "ROW" || (HasWeightedBands && kind == "ROWEX"))
        result = ParseBands(parameters, true, kind == "ROWEX");
    else if (kind == "COL" || (HasWeightedBands && kind == "COLEX"))
        result = ParseBands(parameters, false, kind == "COLEX");
    else if (kind == "CUSTOM")
        result = ParseCustom(parameters);
    if (result != Accepted)
    {
        Clear();
    }
    return result;
}

bool PaneLayoutFormat::IsAcceptable(const char* format)
{
    return PaneLayoutFormat().Parse(format) == Accepted;
}

void PaneLayoutFormat::Clear()
{
    m_rects.clear();
    m_nBands = 0;
}

PaneLayoutFormat::enParse PaneLayoutFormat::ParseStandard(const char* parameters)
{
    const char* comma = std::strchr(parameters, ',');
    if (comma == nullptr)
    {
        return Rejected;
    }
    const int columns = ReadInt(parameters);
    const int rows = ReadInt(comma + 1);
    if (columns <= 0 || rows <= 0)
    {
        return Rejected;
    }
    if (static_cast<long long>(columns) * rows > MaxPanes)
    {
        return TooManyPanes;
    }
    for (int row = 0; row < rows; ++row)
    {
        for (int column = 0; column < columns; ++column)
        {
            const int left = column * Span / columns;
            const int top = row * Span / rows;
            m_rects.push_back({left, top, left + Span / columns, top + Span / rows});
        }
    }
    m_nBands = columns;
    return Accepted;
}

PaneLayoutFormat::enParse PaneLayoutFormat::ParseBands(const char* parameters, bool rows,
                                                       bool weighted)
{
    // Up to seven items; an empty one ends the list.
    const char* starts[MaxBandItems] = {};
    int items = 0;
    for (const char* item = parameters; items < MaxBandItems && *item != '\0' && *item != ',';)
    {
        starts[items++] = item;
        const char* comma = std::strchr(item, ',');
        if (comma == nullptr)
        {
            break;
        }
        item = comma + 1;
    }
    if (items < 2 || ReadInt(starts[0]) <= 0 || ReadInt(starts[1]) <= 0)
    {
        return Rejected;
    }
    // From the third item on, the first zero ends the bands.
    int bands = 2;
    for (; bands < items; ++bands)
    {
        const int panes = ReadInt(starts[bands]);
        if (panes < 0)
        {
            return Rejected;
        }
        if (panes == 0)
        {
            break;
        }
    }
    long long total = 0;
    for (int band = 0; band < bands; ++band)
    {
        total += ReadInt(starts[band]);
    }
    if (total > MaxPanes)
    {
        return TooManyPanes;
    }

    // The weights are taken as they stand, without normalising, and the
    // last band takes what is left; weights that put a band outside the
    // layout describe no layout.
    int edges[MaxBandItems + 1] = {};
    for (int band = 1; band < bands; ++band)
    {
        if (weighted)
        {
            const double weight = ReadWeight(starts[band - 1]);
            if (!(weight >= 0.0 && weight <= 1.0))
            {
                return Rejected;
            }
            edges[band] = edges[band - 1] + static_cast<int>(std::trunc(weight * Span));
        }
        else
        {
            edges[band] = band * Span / bands;
        }
    }
    edges[bands] = Span;
    if (edges[bands - 1] > Span)
    {
        return Rejected;
    }
    for (int band = 0; band < bands; ++band)
    {
        AddBand(ReadInt(starts[band]), edges[band], edges[band + 1], rows);
    }
    m_nBands = bands;
    return Accepted;
}

PaneLayoutFormat::enParse PaneLayoutFormat::ParseCustom(const char* parameters)
{
    switch (ReadInt(parameters))
    {
    case 101:
        m_rects.assign(std::begin(Custom101), std::end(Custom101));
        break;
    case 102:
        m_rects.assign(std::begin(Custom102), std::end(Custom102));
        break;
    default:
        return Rejected;
    }
    m_nBands = 2;
    return Accepted;
}

void PaneLayoutFormat::AddBand(int panes, int from, int to, bool rows)
{
    for (int pane = 0; pane < panes; ++pane)
    {
        const int start = pane * Span / panes;
        const int end = (pane + 1) * Span / panes;
        m_rects.push_back(rows ? PaneRect{start, from, end, to} : PaneRect{from, start, to, end});
    }
}

bool PaneLayoutFormat::GetPaneRect(int index, const RECT& layout, RECT* out) const
{
    if (out == nullptr || index < 0 || index >= GetCount())
    {
        return false;
    }
    const PaneRect& rect = m_rects[static_cast<std::size_t>(index)];
    const long long width = layout.right - layout.left;
    const long long height = layout.bottom - layout.top;
    out->left = static_cast<LONG>(layout.left + rect.left * width / Span + 1);
    out->top = static_cast<LONG>(layout.top + rect.top * height / Span + 1);
    out->right = static_cast<LONG>(layout.left + rect.right * width / Span - 1);
    out->bottom = static_cast<LONG>(layout.top + rect.bottom * height / Span - 1);
    return true;
}

VIEWER_NAMESPACE_END
