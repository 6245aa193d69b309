#include "GdiTextLayout.h"

#include "GdiGlyphRun.h"

#include <algorithm>

TextRun StripPrefix(const std::u32string& text, bool keepPrefix)
{
    TextRun run;
    if (keepPrefix)
    {
        run.text = text;
        return run;
    }
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == U'&' && i + 1 < text.size())
        {
            ++i;
            if (text[i] != U'&')
                run.underlineIndex = int(run.text.size());
        }
        else if (text[i] == U'&')
        {
            continue;
        }
        run.text.push_back(text[i]);
    }
    return run;
}

std::vector<std::u32string> SplitLines(const std::u32string& text, bool singleLine)
{
    std::vector<std::u32string> lines;
    if (singleLine)
    {
        std::u32string line;
        for (char32_t c : text)
            if (c != U'\r' && c != U'\n')
                line.push_back(c);
        lines.push_back(line);
        return lines;
    }
    std::u32string current;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == U'\r' || text[i] == U'\n')
        {
            if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n')
                ++i;
            lines.push_back(current);
            current.clear();
            continue;
        }
        current.push_back(text[i]);
    }
    lines.push_back(current);
    return lines;
}

std::vector<std::u32string> WrapLine(RealFont& font, const std::u32string& line, int width,
                                     bool keepPrefix)
{
    std::vector<std::u32string> out;
    std::u32string current;
    std::size_t i = 0;
    while (i <= line.size())
    {
        std::size_t j = line.find(U' ', i);
        if (j == std::u32string::npos)
            j = line.size();
        const std::u32string word = line.substr(i, j - i);
        const std::u32string candidate = current.empty() ? word : current + U" " + word;
        if (!current.empty() && GetTextWidth(font, StripPrefix(candidate, keepPrefix).text) > width)
        {
            out.push_back(current);
            current = word;
        }
        else
        {
            current = candidate;
        }
        i = j + 1;
    }
    out.push_back(current);
    return out;
}

std::u32string EndEllipsis(RealFont& font, std::u32string text, int width)
{
    if (GetTextWidth(font, text) <= width)
        return text;
    while (!text.empty() && GetTextWidth(font, text + U"...") > width)
        text.pop_back();
    return text + U"...";
}

std::u32string PathEllipsis(RealFont& font, const std::u32string& text, int width)
{
    if (GetTextWidth(font, text) <= width)
        return text;
    const std::size_t slash = text.find_last_of(U"\\/");
    if (slash == std::u32string::npos)
        return EndEllipsis(font, text, width);
    std::u32string head = text.substr(0, slash);
    const std::u32string tail = text.substr(slash);
    while (!head.empty() && GetTextWidth(font, head + U"..." + tail) > width)
        head.pop_back();
    return head + U"..." + tail;
}

TextBlock LayoutTextBlock(RealFont& font, const std::u32string& text, const RECT& device,
                          UINT format)
{
    const bool singleLine = format & DT_SINGLELINE;
    const bool noPrefix = format & DT_NOPREFIX;
    const int width = device.right - device.left;
    std::vector<std::u32string> lines;
    for (const std::u32string& line : SplitLines(text, singleLine))
    {
        if ((format & DT_WORDBREAK) && !singleLine)
        {
            for (std::u32string& piece : WrapLine(font, line, width, noPrefix))
                lines.push_back(std::move(piece));
        }
        else
        {
            lines.push_back(line);
        }
    }
    TextBlock block;
    for (const std::u32string& line : lines)
    {
        TextRun run = StripPrefix(line, noPrefix);
        if (format & DT_PATH_ELLIPSIS)
            run.text = PathEllipsis(font, run.text, width);
        else if (format & DT_END_ELLIPSIS)
            run.text = EndEllipsis(font, run.text, width);
        block.nWidth = std::max(block.nWidth, GetTextWidth(font, run.text));
        block.runs.push_back(std::move(run));
    }
    const TEXTMETRICA& tm = font.m_metrics;
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    block.nHeight = lineHeight * int(block.runs.size());
    int y = device.top;
    if (singleLine && (format & DT_VCENTER))
        y = device.top + (device.bottom - device.top - block.nHeight) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        y = device.bottom - block.nHeight;
    for (const TextRun& run : block.runs)
    {
        const int w = GetTextWidth(font, run.text);
        int x = device.left;
        if (format & DT_CENTER)
            x = device.left + (width - w) / 2;
        else if (format & DT_RIGHT)
            x = device.right - w;
        block.origins.push_back(POINT{x, y});
        y += lineHeight;
    }
    return block;
}
