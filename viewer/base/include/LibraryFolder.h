// The folder a library file lies in, as both viewer libraries record it at
// start to find their configuration beside them.
#pragma once

#include "Lettra.h"
#include "ViewerFlavour.h"

VIEWER_NAMESPACE_BEGIN

// Everything up to and including the last separator ("/" or "\"); empty
// for a bare file name.
VIEWER_API Lettra FolderOfPath(const char* path);

VIEWER_NAMESPACE_END
