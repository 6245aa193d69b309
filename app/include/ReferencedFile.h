// The file a DICOMDIR's Referenced File ID names below its folder. The ID's
// components (stored with "\" between them) are joined with "/"; a
// component that does not exist as written is matched without regard to
// case and to a ";1" version suffix, as CD media often show them.
#pragma once

#include <string>

std::string ResolveReferencedFile(const std::string& folder, const std::string& fileID);
