// Files dropped on a window. A window that accepts files (DragAcceptFiles,
// WS_EX_ACCEPTFILES) gets WM_DROPFILES with an HDROP in wParam: a global
// block holding a DROPFILES header and the paths, each ending with a NUL
// and the list with one more. The receiver reads it with DragQueryFileA
// and frees it with DragFinish. Paths are this system's own (bytes of the
// file system, "/" between folders). Drops come from a drag in this process
// (data offering CF_HDROP), from another program through the display, or
// from a test through DropFilesAt.
#pragma once

#include "PlatformUIExport.h"
#include "WinUserDefs.h"

#include <string>
#include <vector>

#pragma pack(push, 1)
struct DROPFILES
{
    DWORD pFiles; // offset of the path list from the start of the block
    POINT pt;     // client point of the drop
    BOOL fNC;     // the point lies in the non-client area
    BOOL fWide;   // the paths are UTF-16 (never set by this layer)
};
#pragma pack(pop)
static_assert(sizeof(DROPFILES) == 20, "DROPFILES is laid out as the system has it");

extern "C"
{
    // iFile 0xFFFFFFFF: the number of files. A null buffer: the length of
    // path iFile without its NUL. Otherwise copies at most cch - 1 bytes
    // and a NUL, answering the bytes copied; 0 for a bad index or handle.
    PLATFORMUI_API UINT DragQueryFileA(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch);
    // The client point of the drop; TRUE when it lies in the client area.
    PLATFORMUI_API BOOL DragQueryPoint(HDROP hDrop, LPPOINT lppt);
    PLATFORMUI_API void DragFinish(HDROP hDrop);
    PLATFORMUI_API void DragAcceptFiles(HWND hWnd, BOOL fAccept);
}

inline UINT DragQueryFile(HDROP hDrop, UINT iFile, LPSTR lpszFile, UINT cch)
{
    return DragQueryFileA(hDrop, iFile, lpszFile, cch);
}

// A new block for the paths (freed by DragFinish or GlobalFree).
PLATFORMUI_API HDROP CreateDropFiles(const std::vector<std::string>& paths, POINT ptClient,
                                     BOOL fNC = FALSE);
// The paths a block holds, in order; empty for a bad block.
PLATFORMUI_API std::vector<std::string> GetDropFilesPaths(HDROP hDrop);

// The local files a text/uri-list names, in order: "file:" URIs on no host
// or "localhost", percent escapes decoded; comment lines, other schemes and
// other hosts are left out.
PLATFORMUI_API std::vector<std::string> PathsOfUriList(const std::string& uriList);
// The list naming the paths as "file://" URIs, each line ended by CR LF,
// every byte but unreserved ones and "/" escaped.
PLATFORMUI_API std::string UriListOfPaths(const std::vector<std::string>& paths);

// Drops the paths at a screen point as a drag arriving there would: the
// window under the point (or its first ancestor) registered for drops or
// accepting files gets them. Returns the effect its target answered
// (DROPEFFECT_NONE when no window took them). Files posted as WM_DROPFILES
// arrive when the queue is next read.
PLATFORMUI_API DWORD DropFilesAt(POINT ptScreen, const std::vector<std::string>& paths,
                                 DWORD grfKeyState = 0);
