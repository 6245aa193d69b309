// The X cursors of the backend: the system cursors from the bitmaps authored
// in resources/cursors (found in the cursors folder beside the library),
// module cursors from their images (black where dark, white where light,
// shown where opaque), an invisible cursor for ShowCursor, and the arrow for
// anything else.
#pragma once

#include "WinCursor.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <map>
#include <string>

class CX11Cursors
{
public:
    explicit CX11Cursors(Display* pDisplay);
    ~CX11Cursors();
    CX11Cursors(const CX11Cursors&) = delete;
    CX11Cursors& operator=(const CX11Cursors&) = delete;

    // The X cursor of a cursor handle (the arrow when it has no image),
    // or the invisible one when hidden.
    Cursor Get(HCURSOR hCursor, bool bShown);
    // The folder the bitmaps come from.
    static std::string GetFolder();

private:
    Cursor LoadNamed(const char* pszName);
    Cursor FromImage(HCURSOR hCursor, const CursorImageInfo& info);

    Display* m_pDisplay;
    std::map<std::string, Cursor> m_loaded;
    std::map<HCURSOR, Cursor> m_images;
    Cursor m_invisible = 0;
};
