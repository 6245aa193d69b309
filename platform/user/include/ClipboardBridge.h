// What a display backend uses to share the clipboard with other programs:
// it hears when this process puts new contents on the clipboard and hands
// them out as text and images, and while another program holds the
// clipboard it supplies that program's text and images on request.
#pragma once

#include "PlatformUIExport.h"
#include "WinTypes.h"

#include <vector>

class PLATFORMUI_API CClipboardBridge
{
public:
    virtual ~CClipboardBridge();

    // This process closed the clipboard after changing its contents.
    virtual void OnContentsChanged() = 0;
    // The formats (CF_TEXT, CF_DIB) another program offers while it holds
    // the clipboard; empty while this process holds it.
    virtual std::vector<UINT> GetForeignFormats() = 0;
    // That program's data as CF_TEXT (ANSI text ending with a NUL) or CF_DIB
    // (a packed DIB); empty when it cannot be had.
    virtual std::vector<BYTE> FetchForeign(UINT nFormat) = 0;
};

// Installs the bridge (null: none); the caller keeps it alive meanwhile.
PLATFORMUI_API void SetClipboardBridge(CClipboardBridge* pBridge);
// A copy of this process's CF_TEXT or CF_DIB contents (CF_DIB also made
// from a CF_BITMAP), whether or not the clipboard is open; empty if absent.
PLATFORMUI_API std::vector<BYTE> GetClipboardBytes(UINT nFormat);
// Another program took the clipboard: this process's contents go.
PLATFORMUI_API void ReleaseClipboardContents();
