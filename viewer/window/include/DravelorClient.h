// DravelorClient: hands DICOM files to the separate film-composing program.
// That program's main window is found by its title; each file goes through
// a named shared block (MemMapFile) and is announced by one synchronous
// message, which the program handles while the block exists.
#pragma once

#include "QuillonExport.h"
#include "WinUserDefs.h"

class DICOMFile;

class QUILLON_API DravelorClient
{
public:
    static constexpr const char* FilmWindowTitle = "Dravelo.MainWindow";
    static constexpr const char* BlockName = "$$MemMapFile$$Dravelor";
    // Room for the growth of an implicit VR file recoded to explicit VR.
    static constexpr unsigned int BlockSpare = 10240;
    // lParam: the block's size.
    static constexpr UINT FilmMessage = WM_USER + 62;

    // Looks for the film window among every window, each top-level window
    // before its children; the first one found is kept for the process.
    // Returns the kept window (the earlier one when nothing was found).
    static HWND FindFilmWindow();
    // Looks again only when the kept window is gone.
    static void EnsureFilmWindow();
    // Writes the file (an implicit VR little-endian one recoded to explicit
    // VR little endian) into the block and announces it to the kept film
    // window; false, with a log line, when anything fails.
    static bool AddDicomFile(DICOMFile* file);
};
