#include "PelivoExport.h"

// Hosts probe for the library by this entry; it does nothing.
extern "C" PELIVO_API void ViewerTest() {}
