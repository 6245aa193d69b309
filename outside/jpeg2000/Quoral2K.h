// Entries of the JPEG 2000 codec library "Quoral2K.dll" (libQuoral2K.so), which
// the DICOM library loads by file name. Plain C entries; nothing else is exported.
//
// "JP2_" entries code reversibly (lossless: 5/3 wavelet, reversible colour
// transform); "JPC_" entries code irreversibly (9/7 wavelet, irreversible colour
// transform) at a compression ratio of 10:1, which keeps grey and colour
// images at display quality. Encoders write a bare JPEG 2000 codestream, as
// DICOM stores it; decoders take a bare codestream or a JP2 file, whichever
// they are given, and refuse truncated or damaged streams.
//
// Pixel layouts, rows x columns pixels, row after row:
//   8Bit  1 byte per pixel (two's complement when signed);
//   16Bit 2 bytes per pixel, little endian (two's complement when signed);
//   RGB   3 bytes per pixel, R, G, B interleaved.
// Encoders code 8Bit and RGB samples at 8 bits and 16Bit samples at 16 bits.
// Decoders return the codestream's samples at its own precision (at most 8
// bits for 8Bit and RGB, at most 16 for 16Bit; a stream of another precision
// or component count for the entry is refused), clamped to that precision's
// range where irreversible coding overshoots it.
#pragma once

#define QUORAL2K_ENTRY extern "C" __attribute__((visibility("default")))

// Encoders: (raw pixels, rows, columns, receives the output length, 1 when the
// samples are signed) -> codestream of *pOutLength bytes, freed with JPGDEL, or null.
QUORAL2K_ENTRY unsigned char* JP2_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                             int* pOutLength, int nSigned);
QUORAL2K_ENTRY unsigned char* JP2_16BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                              int* pOutLength, int nSigned);
QUORAL2K_ENTRY unsigned char* JP2_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                            int* pOutLength, int nSigned);
QUORAL2K_ENTRY unsigned char* JPC_8BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                             int* pOutLength, int nSigned);
QUORAL2K_ENTRY unsigned char* JPC_16BitEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                              int* pOutLength, int nSigned);
QUORAL2K_ENTRY unsigned char* JPC_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                            int* pOutLength, int nSigned);

// Decoders: (compressed data, receives rows, receives columns, compressed
// length) -> pixels (rows x columns x 1, 2 or 3 bytes), freed with JPGDEL, or
// null with rows and columns 0.
QUORAL2K_ENTRY unsigned char* JP2_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                             int nLength);
QUORAL2K_ENTRY unsigned char* JP2_16BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                              int nLength);
QUORAL2K_ENTRY unsigned char* JP2_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                            int nLength);
QUORAL2K_ENTRY unsigned char* JPC_8BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                             int nLength);
QUORAL2K_ENTRY unsigned char* JPC_16BitDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                              int nLength);
QUORAL2K_ENTRY unsigned char* JPC_RGBDecode(const unsigned char* pData, int* pRows, int* pColumns,
                                            int nLength);

// Releases a buffer returned by any entry above; null is ignored.
QUORAL2K_ENTRY void JPGDEL(unsigned char* pBuffer);

using PFN_J2kEncode = unsigned char* (*)(const unsigned char*, int, int, int*, int);
using PFN_J2kDecode = unsigned char* (*)(const unsigned char*, int*, int*, int);
using PFN_JPGDEL = void (*)(unsigned char*);
