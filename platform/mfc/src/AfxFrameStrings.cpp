// The framework's own texts: the status bar's idle prompt and the names of
// the lock-key indicators. A program's strings of the same ids come first.
#include "AfxRes.h"
#include "ResourceRegistry.h"

namespace
{
const ResourceStringEntry kFrameStrings[] = {
    {AFX_IDS_IDLEMESSAGE, "Ready"}, {ID_INDICATOR_EXT, "EXT"},   {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},      {ID_INDICATOR_SCRL, "SCRL"},
};
const ResourceRegistrar kFrameRegistrar({.strings = kFrameStrings});
} // namespace
