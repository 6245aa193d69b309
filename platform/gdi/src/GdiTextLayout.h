// Text layout for DrawText: "&" prefixes, line breaks, word wrapping,
// ellipses and alignment, measured in a realised font.
#pragma once

#include "FontEngine.h"

#include <string>
#include <vector>

struct TextRun
{
    std::u32string text;
    int underlineIndex = -1; // the prefix-underlined character
};

// Removes "&" prefixes: "&&" is a literal "&", "&x" underlines x.
TextRun StripPrefix(const std::u32string& text, bool keepPrefix);
// The lines of a text (one line, line breaks removed, when singleLine).
std::vector<std::u32string> SplitLines(const std::u32string& text, bool singleLine);
// Breaks a line at spaces so that each piece fits the width; a single word
// wider than the width stays whole.
std::vector<std::u32string> WrapLine(RealFont& font, const std::u32string& line, int width,
                                     bool keepPrefix);
// The text cut to the width with "..." at its end.
std::u32string EndEllipsis(RealFont& font, std::u32string text, int width);
// The text cut to the width with "..." before its last path component.
std::u32string PathEllipsis(RealFont& font, const std::u32string& text, int width);

// The lines of a text laid out in a device rectangle by DrawText's format
// flags: each run with the top-left corner of its cell, the widest line's
// width and the height of all lines.
struct TextBlock
{
    std::vector<TextRun> runs;
    std::vector<POINT> origins;
    int nWidth = 0;
    int nHeight = 0;
};
TextBlock LayoutTextBlock(RealFont& font, const std::u32string& text, const RECT& device,
                          UINT format);
