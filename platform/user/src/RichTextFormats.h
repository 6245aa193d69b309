// The character formats of a rich edit's text: one format per byte of the
// text, kept as indexes into a table of the distinct formats in use, so
// that inserting, removing and re-formatting stay exact at every position.
#pragma once

#include "WinRichEdit.h"

#include <cstdint>
#include <string>
#include <vector>

struct RichCharFormat
{
    DWORD dwEffects = 0;
    LONG yHeight = 200; // twips
    COLORREF crTextColor = 0;
    BYTE bCharSet = 0;
    BYTE bPitchAndFamily = 0;
    std::string face = "Arial";

    bool IsProtected() const { return (dwEffects & CFE_PROTECTED) != 0; }
    bool operator==(const RichCharFormat& other) const = default;
    // The fields the record's mask names, taken from it.
    void Apply(const CHARFORMATA& change);
};

class RichTextFormats
{
public:
    int GetLength() const { return static_cast<int>(m_index.size()); }
    // Every position takes one format.
    void Reset(int nLength, const RichCharFormat& format);
    void Insert(int nPos, int nCount, const RichCharFormat& format);
    void Erase(int nPos, int nCount);
    // Changes the masked fields of [nFrom, nTo).
    void Apply(int nFrom, int nTo, const CHARFORMATA& change);
    const RichCharFormat& At(int nPos) const { return m_table[IndexAt(nPos)]; }
    // A number for the format at a position, equal for equal formats.
    std::size_t IndexAt(int nPos) const { return m_index[static_cast<std::size_t>(nPos)]; }
    const RichCharFormat& FormatOfIndex(std::size_t nIndex) const { return m_table[nIndex]; }
    std::size_t GetFormatCount() const { return m_table.size(); }
    bool AnyProtected(int nFrom, int nTo) const;
    // The format of [nFrom, nTo) with dwMask naming the fields that are the
    // same all through it (everything for an empty range: the format of the
    // range's start, or the given one).
    CHARFORMATA Describe(int nFrom, int nTo, const RichCharFormat& empty) const;

private:
    std::uint32_t Intern(const RichCharFormat& format);

    std::vector<std::uint32_t> m_index;
    std::vector<RichCharFormat> m_table;
};

// The whole of a format as a record, every field named in the mask.
CHARFORMATA DescribeFormat(const RichCharFormat& format);
