// The base layer of the viewer (settings, and the services below the image
// model) is built into both viewer libraries. The grid viewer exports it at
// global scope; the single-view library compiles the same sources into its
// own namespace with hidden symbols, so that a process holding both never
// has one library call into the other. Each source writes through the log
// of the library it is built into.
#pragma once

#if defined(VIEWER_SINGLE_VIEW)
#include "PelivoLog.h"
#define VIEWER_API
#define VIEWER_NAMESPACE_BEGIN                                                                     \
    namespace pelivo                                                                               \
    {
#define VIEWER_NAMESPACE_END }
namespace viewer_log = pelivo;
#define VIEWER_LOG_NAMESPACE pelivo
#define VIEWER_LOG_GET GetPelivoLog
#define VIEWER_LOG_MODULE "PELIVO"
#else
#include "QuillonExport.h"
#include "QuillonLog.h"
#define VIEWER_API QUILLON_API
#define VIEWER_NAMESPACE_BEGIN
#define VIEWER_NAMESPACE_END
namespace viewer_log = quillon;
#define VIEWER_LOG_NAMESPACE quillon
#define VIEWER_LOG_GET GetQuillonLog
#define VIEWER_LOG_MODULE "WEB"
#endif
