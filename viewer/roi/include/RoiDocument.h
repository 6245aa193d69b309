// RoiDocument: the pieces of the measurement document every annotation
// class writes and reads. A document is one "<Measurement>" element of
// lines ended by CR LF: the document attributes, the class's "<Private>"
// geometry, its "<Internal>" drawing primitives (for readers without a
// class of that kind) and the "<Context>" style block.
#pragma once

#include "Lettra.h"
#include "QuillonExport.h"
#include "WinGeometry.h"

class DMarkup;

namespace RoiDocument
{

// "<Measurement value=\"...\">".
QUILLON_API Lettra Begin(const char* value);
// The document attribute block with the current date and time.
QUILLON_API Lettra DocAttribute();
// "<Point name=\"P1\" X=\"%d\" Y=\"%d\" />".
QUILLON_API Lettra Point(const char* name, POINT point);
// A "<Line>" with its "<Begin>" and "<End>" points.
QUILLON_API Lettra Line(POINT begin, POINT end);
// A "<TextLabel>": where a label's text starts and the text.
QUILLON_API Lettra TextLabel(POINT position, const char* text);
// "<Context>", the style block, "</Context>".
QUILLON_API Lettra Context(const Lettra& style);
QUILLON_API Lettra End();

// Text fit for a quoted attribute value.
QUILLON_API Lettra EscapeAttribute(const char* text);
// A decimal integer, blanks around it allowed; false for anything else.
QUILLON_API bool ParseInt(const char* text, int& value);
// How far a stored point may lie from the image's origin: far beyond any
// image (65535 pixels a side at most), near enough that label offsets, zooms
// and the differences of the measurements never overflow.
inline constexpr int MaxCoordinate = 1 << 20;
// The "X" and "Y" attributes of the element the document stands on; false
// unless both are integers within MaxCoordinate of the origin.
QUILLON_API bool ReadPoint(const DMarkup& document, POINT& point);
// Parses the document and goes to "/Measurement/Private"; false, with the
// reason logged in the class's name, when the text is no document or has
// no such element.
QUILLON_API bool OpenPrivate(DMarkup& document, const char* xml, const char* className);
// Reads `count` consecutive elements after "<Private>" as points; false,
// logged, when one is missing or has no integer X and Y within reach.
QUILLON_API bool ReadPoints(DMarkup& document, POINT* points, int count, const char* className);
// The sub-document of "/Measurement/Context", empty when there is none.
QUILLON_API Lettra GetContext(DMarkup& document);

} // namespace RoiDocument
