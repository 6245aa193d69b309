// OLE automation helpers: system strings (BSTR) and variant dates.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
// UTF-16 text preceded by its 32-bit byte length and followed by a NUL; a
// null BSTR is an empty string.
using BSTR = OLECHAR*;
// Days since 1899-12-30 00:00, the fraction giving the time of day.
using DATE = double;

extern "C"
{
    // Copies a NUL-terminated text; null gives null.
    PLATFORMBASE_API BSTR SysAllocString(LPCOLESTR text);
    // A string of `length` units copied from text, or zero-filled when text is
    // null. Returns null when the memory cannot be had.
    PLATFORMBASE_API BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
    // Replaces *string by a new string of `length` units from text (which may
    // point into the old string) and frees the old one. FALSE on failure, the
    // old string then stays.
    PLATFORMBASE_API INT SysReAllocStringLen(BSTR* string, LPCOLESTR text, UINT length);
    PLATFORMBASE_API void SysFreeString(BSTR string);
    // Length in units; 0 for null.
    PLATFORMBASE_API UINT SysStringLen(BSTR string);

    // Milliseconds are ignored; years 100 to 9999. FALSE for an invalid date.
    PLATFORMBASE_API INT SystemTimeToVariantTime(const SYSTEMTIME* systemTime, DATE* variantTime);
    // Rounds to the nearest second; FALSE outside years 100 to 9999.
    PLATFORMBASE_API INT VariantTimeToSystemTime(DATE variantTime, SYSTEMTIME* systemTime);
}
