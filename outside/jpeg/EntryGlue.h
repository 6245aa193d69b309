// What every exported entry does around the codec: checks the arguments,
// keeps exceptions inside the library and hands the result buffer over.
#pragma once

#include "JpegTypes.h"

namespace quorex
{

// Decode entries: *pRows and *pColumns receive the image size (0 on failure);
// the result holds rows x columns samples in enLayout, or is null.
unsigned char* DoDecodeEntry(const unsigned char* pData, int* pRows, int* pColumns, int nLength,
                             enSampleLayout enLayout);

// Decode-into entries: the pixels go into the caller's buffer of
// nOutLength bytes, which must hold exactly rows x columns samples in
// enLayout; 1 on success, else 0 with *pRows and *pColumns 0.
int DoDecodeIntoEntry(const unsigned char* pData, int nLength, unsigned char* pOut, int nOutLength,
                      int* pRows, int* pColumns, enSampleLayout enLayout);

// Encode entries: *pLength receives the stream length (0 on failure).
unsigned char* DoEncodeLossyEntry(const unsigned char* pRaw, int nRows, int nColumns, int nQuality,
                                  int* pLength, enSampleLayout enLayout, enLossyProcess enProcess);

// Lossless encode entries; nPredictor 1..7, or 0 to choose.
unsigned char* DoEncodeLosslessEntry(const unsigned char* pRaw, int nRows, int nColumns,
                                     int* pLength, enSampleLayout enLayout, int nPredictor);

// Releases a buffer an entry returned; null is ignored.
void DoReleaseResult(unsigned char* pBuffer);

} // namespace quorex
