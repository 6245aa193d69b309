// The start and stop of the viewer library. Nothing runs when the library
// is loaded: a host starts it with QuillonInitialize, or the first use of
// what the start provides (the library's folder, configuration paths,
// cursors and icons, the viewer window) starts it. The first start arranges
// the stop at process exit; QuillonUninitialize stops it earlier.
//
// Starting makes the library's folder the current directory, points the
// DICOM library's log and the library's own log at the "LOG" folder beside
// the library and starts the DICOM library.
#pragma once

#include "AfxWinApp.h"
#include "QuillonExport.h"

// The library's application object. The start makes it under the library's
// own module state, runs InitInstance and keeps it until the stop.
class QUILLON_API CQuillonApp : public CWinApp
{
public:
    CQuillonApp();

    // Loads the cursors and icons, fixes the folder and the configuration
    // paths, opens the logs and starts the DICOM library.
    BOOL InitInstance() override;
    // Stops the DICOM library.
    int ExitInstance() override;
};

extern "C"
{
    // Starts the library unless it has started; 1 when it stands started.
    QUILLON_API int QuillonInitialize(void);
    // Stops a started library: ExitInstance, then the library log writes
    // its closing lines and closes. Nothing when it has not started.
    QUILLON_API void QuillonUninitialize(void);
    QUILLON_API int IsQuillonStarted(void);
}

// The library's banner in its log: an empty line, a line of asterisks, the
// banner text line by line, its version and an empty line. The viewer
// window logs it when it is made.
QUILLON_API void LogModuleBanner();
// Logs a banner text line by line: split at carriage returns, or at line
// feeds when it has none, without either character, up to the first empty
// line.
QUILLON_API void LogBannerText(const char* text);

// The lazy start: what needs the started library calls this first.
void EnsureQuillonStarted();
