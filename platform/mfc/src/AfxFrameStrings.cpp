// The framework's own texts: the status bar's idle prompt, the names of the
// lock-key indicators and the titles and filter of the file dialogs. A program's strings of the
// same ids come first.
#include "AfxRes.h"
#include "ResourceRegistry.h"

namespace
{
const ResourceStringEntry kFrameStrings[] = {
    {AFX_IDS_IDLEMESSAGE, "Ready"}, {ID_INDICATOR_EXT, "EXT"},
    {ID_INDICATOR_CAPS, "CAP"},     {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},    {AFX_IDS_OPENFILE, "Open"},
    {AFX_IDS_SAVEFILE, "Save As"},  {AFX_IDS_ALLFILTER, "All Files (*.*)"},
    {AFX_IDS_UNTITLED, "Untitled"}, {AFX_IDS_SAVEFILECOPY, "Save As"},
};
const ResourceRegistrar kFrameRegistrar({.strings = kFrameStrings});
} // namespace
