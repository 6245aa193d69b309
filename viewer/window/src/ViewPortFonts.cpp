#include "ViewPortFonts.h"

#include "DMarkup.h"

#include <array>

namespace
{

std::array<ViewPortFont, MaxViewPortFonts>& Table()
{
    static std::array<ViewPortFont, MaxViewPortFonts> table = {{
        {32, 1},    {48, 2},    {64, 3},    {80, 4},    {128, 5},   {160, 6},   {192, 7},
        {256, 8},   {320, 9},   {384, 10},  {480, 11},  {640, 12},  {800, 13},  {1024, 14},
        {1600, 16}, {2560, 24}, {3072, 28}, {3200, 32}, {3600, 36}, {4000, 40}, {4800, 48},
    }};
    return table;
}

bool IsViewPortElement(const DMarkup& config)
{
    Lettra name = config.GetTagName();
    name.MakeUpper();
    return name == "VIEWPORT";
}

// The value of the attribute at that position, as an integer; 0 when the
// element has no such attribute.
int GetAttribAt(const DMarkup& config, int index)
{
    const Lettra name = config.GetAttribName(index);
    return name.IsEmpty() ? 0 : config.GetAttrib(name).Int();
}

} // namespace

std::span<const ViewPortFont, MaxViewPortFonts> GetViewPortFonts()
{
    return Table();
}

int ReadViewPortFonts(DMarkup& config)
{
    if (!config.GotoPath("/AppSetting/Config/ViewPortFont"))
    {
        return 0;
    }
    int count = 0;
    while (count < MaxViewPortFonts && IsViewPortElement(config))
    {
        Table()[count++] = {GetAttribAt(config, 0), GetAttribAt(config, 1)};
        config.Next();
    }
    return count;
}
