// Text between the process ANSI code page and the UTF-8 of the display.
#pragma once

#include "WinTypes.h"

#include <string>

// Text from one code page to another; characters the target page cannot
// hold are left out, bytes that are no character of the source page become
// replacement characters.
std::string Recode(const std::string& text, UINT from, UINT to);
