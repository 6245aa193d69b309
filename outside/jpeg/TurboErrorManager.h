// Error handling for calls into libjpeg-turbo: its error exit, and the warnings
// that mean the data is damaged, jump back to the call instead of ending the
// process. Nothing is printed; the caller reports the failure.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace quorex
{

struct TurboErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jumpBuffer;
    // Set once the header is read and the image has a single scan: a missing
    // end then costs no pixels, since a lack of entropy data is caught when
    // the decoder actually needs the bits.
    bool bTolerateEndOfData;
};

// Fills the manager and returns the pointer to store in the codec's err field.
jpeg_error_mgr* InstallErrorManager(TurboErrorManager& manager);

} // namespace quorex
