// Loading the measurements stored with an image: the private group 6001
// (creator "TAVUQELM") holds the sequence (6001,10C0), one item per
// measurement with its overlay type (6001,1040, "XML"), class tag
// (6001,10B0) and document (6001,10A2). The factory turns one item into an
// annotation of the class its tag names; an unknown tag gives a
// RoiXMLUnknown that keeps the document.
#pragma once

#include "QuillonExport.h"

class DICOMVRSet;
class ImageShow;
class ORoi;
class VR;

namespace RoiFactory
{

inline constexpr unsigned short Group = 0x6001;
inline constexpr unsigned short OverlaySequence = 0x10C0;
inline constexpr unsigned short OverlayType = 0x1040;
inline constexpr unsigned short ROIType = 0x10B0;
inline constexpr unsigned short PostItText = 0x10A2;

} // namespace RoiFactory

// A new annotation for the owner from one item, its label placed; null,
// with the reason logged, when its document cannot be read.
QUILLON_API ORoi* CreateRoiByClassTag(ImageShow* owner, const DICOMVRSet& item);
// Adds an annotation to the owner for every item of the sequence whose
// overlay type is "XML" and whose document reads, and brings its
// measurement up to date; the number added.
QUILLON_API int TryLoadOverlays(ImageShow* owner, const VR& sequence);
// The stored measurements of the data set given to the owner; false
// without either, true otherwise (also when the set holds none). Loading
// leaves the owner's modified bit as it was.
QUILLON_API bool LoadStoredMeasurements(ImageShow* owner, const DICOMVRSet* set);
