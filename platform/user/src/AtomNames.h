// The names registered for window messages and clipboard formats: one
// number per name, from 0xC000 up, compared without regard to case.
#pragma once

#include "WinTypes.h"

#include <string>

// 0 for an empty name or when the numbers are used up.
UINT RegisterAtomName(LPCSTR lpszName);
// Null for a number no name has.
const std::string* FindAtomName(UINT nAtom);
