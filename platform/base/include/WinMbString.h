// Multibyte string functions over the process ANSI code page. They step over
// whole characters of the page (UTF-8: 1 to 4 bytes; single-byte pages: 1;
// double-byte pages: a lead byte and its trail); bytes that start no valid
// character count as single characters. Character codes passed as unsigned
// int hold a character's bytes, first byte highest (0x8140 for a two-byte
// character 81 40).
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <cstddef>

extern "C"
{
    PLATFORMBASE_API int _mbscmp(const unsigned char* a, const unsigned char* b);
    // Case-insensitive: ASCII letters, and the letters of a single-byte page.
    PLATFORMBASE_API int _mbsicmp(const unsigned char* a, const unsigned char* b);
    // Collation of the process locale (LC_COLLATE).
    PLATFORMBASE_API int _mbscoll(const unsigned char* a, const unsigned char* b);
    PLATFORMBASE_API int _mbsicoll(const unsigned char* a, const unsigned char* b);

    PLATFORMBASE_API unsigned char* _mbschr(const unsigned char* text, unsigned int ch);
    PLATFORMBASE_API unsigned char* _mbsrchr(const unsigned char* text, unsigned int ch);
    PLATFORMBASE_API unsigned char* _mbsstr(const unsigned char* text,
                                            const unsigned char* pattern);
    PLATFORMBASE_API unsigned char* _mbspbrk(const unsigned char* text, const unsigned char* set);
    PLATFORMBASE_API std::size_t _mbsspn(const unsigned char* text, const unsigned char* set);
    PLATFORMBASE_API std::size_t _mbscspn(const unsigned char* text, const unsigned char* set);

    // In place; return their argument.
    PLATFORMBASE_API unsigned char* _mbsupr(unsigned char* text);
    PLATFORMBASE_API unsigned char* _mbslwr(unsigned char* text);
    // Reverses the order of the characters; each keeps its byte order.
    PLATFORMBASE_API unsigned char* _mbsrev(unsigned char* text);

    PLATFORMBASE_API unsigned char* _mbsinc(const unsigned char* position);
    PLATFORMBASE_API std::size_t _mbclen(const unsigned char* position);
    PLATFORMBASE_API int _ismbcspace(unsigned int ch);
    PLATFORMBASE_API int _ismbblead(unsigned int ch);
}
