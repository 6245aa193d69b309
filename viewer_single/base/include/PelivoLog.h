// The single-view library's log: its own file log and front ends, in the
// library's namespace so that a process holding the DICOM library and the
// grid viewer library too never writes one library's lines into another's
// log.
#pragma once

#include "PelivoExport.h"

class CFileLog;

namespace pelivo
{

PELIVO_API void _debug(const char* format, ...);
PELIVO_API void _info(const char* format, ...);
PELIVO_API void _warning(const char* format, ...);
PELIVO_API void _error(const char* format, ...);
PELIVO_API void _fatal(const char* format, ...);
PELIVO_API void _tinfo(const char* format, ...);
// The text as it stands: nothing in it is a format.
PELIVO_API void _fdebug(const char* text);

CFileLog& GetPelivoLog();

} // namespace pelivo
