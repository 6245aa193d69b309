// Entries of the JPEG codec library "Quoral.dll" (libQuoral.so). The DICOM
// library calls it for 16-bit lossless frames of 15-bit precision and for
// very short frames, "Quorex.dll" for the others; both share one decoder.
// Plain C entries; nothing else is exported.
#pragma once

#define QUORAL_ENTRY extern "C" __attribute__((visibility("default")))

// As the entry of the same name in "Quorex.dll": any lossless (or DCT) stream
// with one component, two bytes per pixel, little endian; null on damage.
QUORAL_ENTRY unsigned char* JPEGProc14_16BitDecode(const unsigned char* pData, int* pRows,
                                                   int* pColumns, int nLength);

// Releases a buffer returned by this library; null is ignored.
QUORAL_ENTRY void jpgdel(unsigned char* pBuffer);
