// System message texts for the error codes the suite sets or reports.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <cstdarg>

#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define LANG_USER_DEFAULT 0x0400

extern "C"
{
    // Only FORMAT_MESSAGE_FROM_SYSTEM (with or without IGNORE_INSERTS) is
    // offered; the language is accepted and ignored. Writes the text for `code`,
    // ending with CR LF, and returns its length; writes nothing and returns 0
    // for an unknown code (ERROR_MR_MID_NOT_FOUND) or when the text and its NUL
    // do not fit (ERROR_INSUFFICIENT_BUFFER).
    PLATFORMBASE_API DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD code, DWORD languageId,
                                          LPSTR buffer, DWORD size, va_list* arguments);
}
