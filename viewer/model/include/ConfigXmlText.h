// The texts of the resource XML (menus and popup menus) and of the
// configuration XML, as the viewer window read them from their files or a
// host pushed them. Readers take copies.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"

QUILLON_API void SetResourceXml(const char* text);
QUILLON_API Lettra GetResourceXml();
QUILLON_API void SetConfigXmlText(const char* text);
QUILLON_API Lettra GetConfigXmlText();
