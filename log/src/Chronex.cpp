#include "Chronex.h"

#include "LogTime.h"

#include <cstring>

int CChronex::bLogOn = 0;
int CChronex::LineOfDelayFlush = 16;
Lettra CChronex::Host = "127.0.0.1";

namespace
{
Lettra FormatDateTime()
{
    const SLogTime now = GetLogTime();
    Lettra text;
    text.Format("%04d-%02d-%02d,%02d:%02d:%02d", now.year, now.month, now.day, now.hour, now.minute,
                now.second);
    return text;
}
} // namespace

CChronex::CChronex() = default;

CChronex::CChronex(const CChronex& target) : m_target(const_cast<CChronex*>(&target)) {}

CChronex::CChronex(const CChronex& target, const char* name1)
    : m_module(name1), m_target(const_cast<CChronex*>(&target))
{
}

CChronex::CChronex(const CChronex& target, const Lettra& name1)
    : m_module(name1), m_target(const_cast<CChronex*>(&target))
{
}

CChronex::CChronex(const CChronex& target, const char* name1, const char* name2)
    : m_module(name1), m_levelWord(name2), m_target(const_cast<CChronex*>(&target))
{
}

CChronex::CChronex(const CChronex& target, const char* name1, const Lettra& name2)
    : m_module(name1), m_levelWord(name2), m_target(const_cast<CChronex*>(&target))
{
}

CChronex::CChronex(const CChronex& target, const Lettra& name1, const char* name2)
    : m_module(name1), m_levelWord(name2), m_target(const_cast<CChronex*>(&target))
{
}

CChronex::CChronex(const CChronex& target, const Lettra& name1, const Lettra& name2)
    : m_module(name1), m_levelWord(name2), m_target(const_cast<CChronex*>(&target))
{
}

CChronex::~CChronex()
{
    if (m_target != nullptr)
    {
        m_target->Flush();
    }
}

CChronex& CChronex::operator=(const CChronex& other)
{
    if (this != &other)
    {
        m_module = other.m_module;
        m_severity = other.m_severity;
        m_lineNumber = other.m_lineNumber;
        m_levelWord = other.m_levelWord;
        m_text = other.m_text;
        m_spare = other.m_spare;
        m_target = other.m_target;
    }
    return *this;
}

void CChronex::Attach(const CChronex& log)
{
    m_target = const_cast<CChronex*>(&log);
}

void CChronex::Detach()
{
    m_target = nullptr;
}

void CChronex::Flush(const char* text, int length)
{
    if (m_target != nullptr)
    {
        m_target->Flush(text, length);
    }
}

void CChronex::Flush()
{
    if (m_target != nullptr)
    {
        m_target->Flush();
    }
}

CChronex& CChronex::Banner(const char* text)
{
    if (bLogOn && text != nullptr)
    {
        Flush(text, static_cast<int>(std::strlen(text)) + 1);
        Flush("\r\n", 2);
    }
    return *this;
}

CChronex& CChronex::Append(Severity severity, unsigned line, const char* name, const char* text)
{
    if (bLogOn)
    {
        m_severity = severity;
        m_lineNumber.Format("%4d", static_cast<int>(line));
        m_levelWord = name;
        m_text += text;
    }
    return *this;
}

void CChronex::EndLine()
{
    if (!bLogOn)
    {
        return;
    }
    if (m_text.IsEmpty())
    {
        Flush("\r\n", 2);
    }
    else
    {
        const SLogTime now = GetLogTime();
        Lettra entry;
        entry.Format("%02d:%02d:%02d  ", now.hour, now.minute, now.second);
        entry += m_text;
        Flush(entry, entry.GetLength());
    }
    m_levelWord.Empty();
    m_text.Empty();
}

CChronex& CChronex::AppendFormatV(const char* format, va_list args)
{
    Lettra formatted;
    formatted.FormatV(format, args);
    m_text += formatted;
    return *this;
}

CChronex& CChronex::AppendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
    return *this;
}

int CChronex::Printf(const char* format, va_list args)
{
    if (!bLogOn)
    {
        return 0;
    }
    try
    {
        AppendFormatV(format, args);
        return 1;
    }
    catch (...)
    {
        return -1;
    }
}

int CChronex::Printf(const char* format, ...)
{
    if (!bLogOn)
    {
        return 0;
    }
    va_list args;
    va_start(args, format);
    const int result = Printf(format, args);
    va_end(args);
    return result;
}

int CChronex::Puts(const char* text)
{
    if (!bLogOn)
    {
        return 0;
    }
    m_text += text;
    return 1;
}

CChronex& CChronex::operator<<(const char* text)
{
    m_text += " ";
    m_text += text;
    return *this;
}

CChronex& CChronex::operator<<(const Lettra& text)
{
    m_text += " ";
    m_text += text;
    return *this;
}

CChronex& CChronex::operator<<(int number)
{
    m_text.AppendFormat("%d", number);
    return *this;
}

int CChronex::On()
{
    bLogOn = 1;
    Lettra stars;
    stars = "\r\n\r\n";
    stars += Lettra('*', 51);
    stars += "3.0.0.3";
    stars += Lettra('*', 6);
    stars += "\r\n";
    Banner(stars);
    Banner(FormatDateTime());
    Banner("\r\n\r\n");
    return 1;
}

void CChronex::Off()
{
    Banner("\r\n");
    Banner(FormatDateTime());
    Banner("\r\n\r\n");
    Lettra rule;
    rule = "\r\n";
    rule += Lettra('-', 64);
    rule += "\r\n\r\n";
    Banner(rule);
}
