// CChronex builds one log entry at a time and hands the finished text to the
// log it is attached to. It lives on the stack, one per entry; destroying it
// flushes its target, so each entry reaches the disk when the builder goes.
// One process-wide switch, bLogOn, gates every banner and entry: it is set
// by the first On() and never cleared.
#pragma once

#include "ChronexExport.h"
#include "Lettra.h"

#include <cstdarg>
#include <cstdint>

class CHRONEX_API CChronex
{
public:
    enum Severity : std::int32_t
    {
        Fatal = 2,
        Error = 3,
        Warning = 4,
        Information = 6,
        Debug = 7
    };

    CChronex();
    // These attach the new builder to target rather than copy it; name1 is
    // the module tag, name2 the level word.
    CChronex(const CChronex& target);
    CChronex(const CChronex& target, const char* name1);
    CChronex(const CChronex& target, const Lettra& name1);
    CChronex(const CChronex& target, const char* name1, const char* name2);
    CChronex(const CChronex& target, const char* name1, const Lettra& name2);
    CChronex(const CChronex& target, const Lettra& name1, const char* name2);
    CChronex(const CChronex& target, const Lettra& name1, const Lettra& name2);
    // Flushes the attached target.
    virtual ~CChronex();

    // Copies every field, the target included.
    CChronex& operator=(const CChronex& other);

    void Attach(const CChronex& log);
    void Detach();

    // Hand text on to the target; nothing without one.
    virtual void Flush(const char* text, int length);
    virtual void Flush();
    // While logging is on: the text with its NUL, then CR LF.
    virtual CChronex& Banner(const char* text);
    // While logging is on: sets severity, line number ("%4d") and level
    // word, and appends the text.
    virtual CChronex& Append(Severity severity, unsigned line, const char* name, const char* text);
    // While logging is on: writes "hh:mm:ss  " and the text (no line end),
    // or CR LF alone for an empty text, then clears text and level word.
    virtual void EndLine();

    // Append formatted text whether logging is on or not.
    CChronex& AppendFormatV(const char* format, va_list args);
    CChronex& AppendFormat(const char* format, ...);
    // 0 while logging is off, else 1 after appending; -1 when formatting fails.
    int Printf(const char* format, va_list args);
    int Printf(const char* format, ...);
    int Puts(const char* text);

    // " " and the text; a number is appended as "%d" with no blank.
    CChronex& operator<<(const char* text);
    CChronex& operator<<(const Lettra& text);
    CChronex& operator<<(int number);

    // Switches logging on and writes the banner; returns 1.
    int On();
    // Writes the footer; the switch stays as it is.
    void Off();

    const Lettra& GetModule() const { return m_module; }
    void SetModule(const Lettra& module) { m_module = module; }
    Severity GetSeverity() const { return m_severity; }
    void SetSeverity(Severity severity) { m_severity = severity; }
    const Lettra& GetLineNumber() const { return m_lineNumber; }
    void SetLineNumber(const Lettra& lineNumber) { m_lineNumber = lineNumber; }
    const Lettra& GetLevelWord() const { return m_levelWord; }
    void SetLevelWord(const Lettra& levelWord) { m_levelWord = levelWord; }
    const Lettra& GetText() const { return m_text; }
    CChronex* GetTarget() const { return m_target; }

    static int bLogOn;
    static int LineOfDelayFlush;
    static Lettra Host;

private:
    Lettra m_module;
    Severity m_severity = Information;
    Lettra m_lineNumber;
    Lettra m_levelWord;
    Lettra m_text;
    std::int32_t m_spare = 0;
    CChronex* m_target = nullptr;
};
