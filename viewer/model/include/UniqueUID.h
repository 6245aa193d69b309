// New UIDs of the viewer library and the temporary DICOM files named after
// them. The library keeps its own generator beside the DICOM library's: the
// same machine part (GetUidMachinePart), but its own counter and its own
// rule for long roots.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"

namespace quillon
{

// A new UID: the root, the machine part ("1" and the six address bytes of
// the first network adapter that is not the loopback, in decimal; "1000000"
// without one), "." and a process-wide counter, "." and the time in seconds.
// A root whose last component is "0" gets a "." before the machine part,
// since "0" followed by digits is no valid component. A text longer than 62
// characters is made again from the root cut to 60 characters less the
// length of what follows it; a leading "." becomes "1". The text lives in
// one process-wide buffer that the next call overwrites.
QUILLON_API const char* GenUniqueUID(const char* root);

} // namespace quillon

// The temporary folder, a new UID and ".dcm".
QUILLON_API void MakeTempDicomFileName(Lettra& out);
