// The process-wide values the library's start fills: its folder, the paths
// of its three configuration files, and the cursors and icons of the mouse
// tasks and panes. Each accessor starts the library first when nothing has.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"
#include "WinTypes.h"

// The folder of the library file, with its trailing separator.
QUILLON_API const Lettra& GetQuillonFolder();
// "Config/Brevant.Resource.xml", "Config/Brevant.Config.xml" and
// "Config/Brevant.ImageTag.xml" in that folder.
QUILLON_API const Lettra& GetResourceXmlPath();
QUILLON_API const Lettra& GetConfigXmlPath();
QUILLON_API const Lettra& GetImageTagXmlPath();

// The loaded cursor of a cursor group of the library (138 to 175), or the
// standard arrow for IDC_ARROW's number 32512; null for any other number.
QUILLON_API HCURSOR GetQuillonCursor(UINT group);
// The loaded icon of icon group 148 or 149; null for any other number.
QUILLON_API HICON GetQuillonIcon(UINT group);

// What the start does with these values; the library's start calls them.
void LoadQuillonCursors(HINSTANCE hResources);
void SetQuillonFolder(const char* libraryPath);
