// Where the names of mutexes and file mappings live. Windows gives every
// login session a namespace of its own and keeps "Global\" names
// machine-wide; here the session is the display the process shows its
// windows on, so a program that lets one instance run does so per display.
#pragma once

#include <string>

namespace platform
{
// The object's name as one file-name component: a "Global\" prefix dropped,
// any other name (a "Local\" prefix dropped) marked with the session when
// there is one, and separators replaced by '_'. Empty for an empty name.
std::string GetObjectFileName(const char* name);
} // namespace platform
