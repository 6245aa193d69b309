#include "Lettra.h"

#include "WinMbString.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace
{

// Bytes 0x80 to 0xFE are neither white space nor punctuation.
bool IsSpaceByte(unsigned char ch)
{
    return ch < 0x80 && std::isspace(ch) != 0;
}

bool IsPunctuationByte(unsigned char ch)
{
    return ch < 0x80 && std::ispunct(ch) != 0;
}

bool IsHighByte(unsigned char ch)
{
    return ch >= 0x80 && ch <= 0xFE;
}

bool IsQuote(unsigned char ch)
{
    return ch == '"' || ch == '\'';
}

} // namespace

Lettra::Token::Token(const Lettra& source, bool skipPunctuation)
    : m_source(&source), m_text(source.constBuffer()), m_start(0), m_end(-1), m_next(0),
      m_more(true), m_length(static_cast<int>(std::strlen(m_text))),
      m_skipPunctuation(skipPunctuation)
{
    Next();
}

bool Lettra::Token::IsWordByte(unsigned char ch, int separator) const
{
    if (ch == 0 || IsHighByte(ch) || IsSpaceByte(ch))
        return false;
    if (separator >= 0)
        return ch != static_cast<unsigned char>(separator);
    return ch == '_' || !IsPunctuationByte(ch);
}

bool Lettra::Token::Scan(int separator)
{
    for (;;)
    {
        const int position = (m_next >= 0 && m_next <= m_length) ? FindWhitespace(m_next) : -1;
        if (position < 0)
        {
            m_start = m_end = m_next = -1;
            m_more = false;
            return false;
        }
        const auto ch = static_cast<unsigned char>(m_text[position]);
        if (IsQuote(ch))
        {
            m_start = position + 1;
            const int close = FindChar(position + 1, static_cast<char>(ch));
            m_end = close >= 0 ? close - 1 : m_start - 1;
            // Without a closing quote the token is empty and the scan ends with the next call.
            m_next = close >= 0 ? close + 2 : m_length + 1;
        }
        else
        {
            m_start = position;
            int p = position;
            while (p < m_length && IsWordByte(static_cast<unsigned char>(m_text[p]), separator))
                p = std::min(p + static_cast<int>(
                                     _mbclen(reinterpret_cast<const unsigned char*>(m_text + p))),
                             m_length);
            if (p > position)
            {
                m_end = p - 1;
                // The delimiter after a word is consumed with it.
                m_next = p < m_length ? p + 1 : p;
            }
            else
            {
                m_end = m_start;
                m_next = m_start + 2;
            }
        }
        const auto first = static_cast<unsigned char>(m_text[m_start]);
        if (separator < 0 && m_skipPunctuation && IsPunctuationByte(first) && first != '_')
            continue;
        return true;
    }
}

bool Lettra::Token::Next()
{
    return Scan(-1);
}

bool Lettra::Token::Next(char separator)
{
    return Scan(static_cast<unsigned char>(separator));
}

bool Lettra::Token::NextLine()
{
    if (!m_more)
        return false;
    int position = std::clamp(m_next, 0, m_length);
    while (position < m_length && (m_text[position] == '\r' || m_text[position] == '\n'))
        m_start = ++position;
    int end = position;
    while (end < m_length && m_text[end] != '\r' && m_text[end] != '\n')
        ++end;
    m_start = std::max(m_start, 0);
    m_end = end - 1;
    m_next = end;
    if (end >= m_length)
        m_more = false;
    return true;
}

Lettra Lettra::Token::Current() const
{
    if (!IsValid() || m_end >= m_length)
        return Lettra();
    return Lettra(m_text + m_start, m_end - m_start + 1);
}

void Lettra::Token::Clear()
{
    m_start = 0;
    m_end = -1;
    m_next = 0;
    m_more = true;
}

void Lettra::Token::Restart()
{
    m_text = m_source->constBuffer();
    m_length = static_cast<int>(std::strlen(m_text));
    Clear();
    Next();
}

bool Lettra::Token::SkipPunctuation(bool on)
{
    const bool previous = m_skipPunctuation;
    m_skipPunctuation = on;
    return previous;
}

int Lettra::Token::FindWhitespace(int position) const
{
    for (; position < m_length; ++position)
    {
        if (!IsSpaceByte(static_cast<unsigned char>(m_text[position])))
            return position;
    }
    return -1;
}

int Lettra::Token::FindChar(int position, char ch) const
{
    for (; position < m_length; ++position)
    {
        if (m_text[position] == ch)
            return position;
    }
    return -1;
}
