// Character formats by position.
#include "RichTextFormats.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr DWORD kEffectBits = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED;
constexpr DWORD kAllFields = kEffectBits | CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET;
} // namespace

void RichCharFormat::Apply(const CHARFORMATA& change)
{
    const DWORD effects = change.dwMask & kEffectBits;
    dwEffects = (dwEffects & ~effects) | (change.dwEffects & effects);
    if (change.dwMask & CFM_COLOR)
    {
        dwEffects = (dwEffects & ~DWORD(CFE_AUTOCOLOR)) | (change.dwEffects & CFE_AUTOCOLOR);
        crTextColor = change.crTextColor;
    }
    if ((change.dwMask & CFM_SIZE) && change.yHeight > 0)
        yHeight = change.yHeight;
    if (change.dwMask & CFM_CHARSET)
        bCharSet = change.bCharSet;
    if (change.dwMask & CFM_FACE)
    {
        face.assign(change.szFaceName, strnlen(change.szFaceName, sizeof(change.szFaceName)));
        bPitchAndFamily = change.bPitchAndFamily;
    }
}

CHARFORMATA DescribeFormat(const RichCharFormat& format)
{
    CHARFORMATA record{};
    record.cbSize = sizeof(record);
    record.dwMask = kAllFields;
    record.dwEffects = format.dwEffects;
    record.yHeight = format.yHeight;
    record.crTextColor = format.crTextColor;
    record.bCharSet = format.bCharSet;
    record.bPitchAndFamily = format.bPitchAndFamily;
    std::strncpy(record.szFaceName, format.face.c_str(), sizeof(record.szFaceName) - 1);
    return record;
}

std::uint32_t RichTextFormats::Intern(const RichCharFormat& format)
{
    const auto found = std::find(m_table.begin(), m_table.end(), format);
    if (found != m_table.end())
        return static_cast<std::uint32_t>(found - m_table.begin());
    m_table.push_back(format);
    return static_cast<std::uint32_t>(m_table.size() - 1);
}

void RichTextFormats::Reset(int nLength, const RichCharFormat& format)
{
    m_table.clear();
    m_index.assign(static_cast<std::size_t>(std::max(nLength, 0)), Intern(format));
}

void RichTextFormats::Insert(int nPos, int nCount, const RichCharFormat& format)
{
    const std::uint32_t index = Intern(format);
    m_index.insert(m_index.begin() + std::clamp(nPos, 0, GetLength()),
                   static_cast<std::size_t>(std::max(nCount, 0)), index);
}

void RichTextFormats::Erase(int nPos, int nCount)
{
    const int nFrom = std::clamp(nPos, 0, GetLength());
    const int nTo = std::clamp(nPos + nCount, nFrom, GetLength());
    m_index.erase(m_index.begin() + nFrom, m_index.begin() + nTo);
}

void RichTextFormats::Apply(int nFrom, int nTo, const CHARFORMATA& change)
{
    nFrom = std::clamp(nFrom, 0, GetLength());
    nTo = std::clamp(nTo, nFrom, GetLength());
    // Each distinct format of the range changes once.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> changed;
    for (int i = nFrom; i < nTo; ++i)
    {
        std::uint32_t& index = m_index[static_cast<std::size_t>(i)];
        const auto known = std::find_if(changed.begin(), changed.end(),
                                        [&](const auto& pair) { return pair.first == index; });
        if (known != changed.end())
        {
            index = known->second;
            continue;
        }
        RichCharFormat format = m_table[index];
        format.Apply(change);
        const std::uint32_t to = Intern(format);
        changed.emplace_back(index, to);
        index = to;
    }
}

bool RichTextFormats::AnyProtected(int nFrom, int nTo) const
{
    for (int i = std::max(nFrom, 0); i < std::min(nTo, GetLength()); ++i)
    {
        if (At(i).IsProtected())
            return true;
    }
    return false;
}

CHARFORMATA RichTextFormats::Describe(int nFrom, int nTo, const RichCharFormat& empty) const
{
    nFrom = std::clamp(nFrom, 0, GetLength());
    nTo = std::clamp(nTo, nFrom, GetLength());
    if (nFrom == nTo)
        return DescribeFormat(empty);
    const RichCharFormat& first = At(nFrom);
    CHARFORMATA record = DescribeFormat(first);
    for (int i = nFrom + 1; i < nTo; ++i)
    {
        const RichCharFormat& other = At(i);
        record.dwMask &= ~((first.dwEffects ^ other.dwEffects) & kEffectBits);
        if (first.yHeight != other.yHeight)
            record.dwMask &= ~DWORD(CFM_SIZE);
        if (first.crTextColor != other.crTextColor ||
            ((first.dwEffects ^ other.dwEffects) & CFE_AUTOCOLOR))
            record.dwMask &= ~DWORD(CFM_COLOR);
        if (first.bCharSet != other.bCharSet)
            record.dwMask &= ~DWORD(CFM_CHARSET);
        if (first.face != other.face)
            record.dwMask &= ~DWORD(CFM_FACE);
    }
    return record;
}
