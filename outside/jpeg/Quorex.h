// Entries of the JPEG codec library "Quorex.dll" (libQuorex.so), which the DICOM
// library loads by file name. Plain C entries; nothing else is exported.
//
// Entry names: <process>_<layout>Encode and <process>_<layout>Decode.
// Layouts: "8Bit" one byte per pixel; "12Bit" and "16Bit" two bytes per pixel,
// little endian; "RGB" three bytes per pixel, R, G, B interleaved; "YBR" (decode
// only, lossy processes) three bytes per pixel, the three components
// interleaved as the stream codes them: Y, Cb, Cr for a YCbCr stream, brought
// to full size when subsampled but never colour-transformed.
//
// Decode entries: (stream, &rows, &columns, stream length). Every decode entry
// reads any stream the library supports (8- and 12-bit DCT in any of the four
// processes, lossless of 2 to 16 bits with any predictor) and differs from the
// others only in the layout it delivers: a stream whose components or precision
// do not fit that layout gives null. "RGB" entries deliver colour streams as RGB,
// converted from YCbCr when the stream's JFIF or Adobe marker, or its JFIF
// component numbering, says it is coded that way. The result holds
// rows x columns pixels and *rows, *columns are set; on failure the result is
// null and both are 0. Damaged or truncated streams give null.
//
// Encode entries: (pixels, rows, columns[, quality], &length) -> stream of
// *length bytes, or null with *length 0. Quality runs from 1 to 100. "12Bit"
// encoders take samples of 0..4095; larger ones are clipped to 4095. "RGB"
// encoders keep the R, G, B components (marked so by an Adobe segment), with
// neither a YCbCr transform nor subsampling, so that the image keeps its RGB
// photometric interpretation.
//
// Every returned buffer is released with jpgdel.
#pragma once

#define QUOREX_ENTRY extern "C" __attribute__((visibility("default")))

// Baseline sequential DCT (process 1), Huffman tables of the standard.
QUOREX_ENTRY unsigned char* JPEGBaseline_8BitEncode(const unsigned char* pRaw, int nRows,
                                                    int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGBaseline_8BitDecode(const unsigned char* pData, int* pRows,
                                                    int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGBaseline_RGBEncode(const unsigned char* pRaw, int nRows,
                                                   int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGBaseline_RGBDecode(const unsigned char* pData, int* pRows,
                                                   int* pColumns, int nLength);

// Extended sequential DCT (processes 2 and 4), optimised Huffman tables.
QUOREX_ENTRY unsigned char* JPEGExtendedProc_8BitEncode(const unsigned char* pRaw, int nRows,
                                                        int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGExtendedProc_8BitDecode(const unsigned char* pData, int* pRows,
                                                        int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGExtendedProc_12BitEncode(const unsigned char* pRaw, int nRows,
                                                         int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGExtendedProc_12BitDecode(const unsigned char* pData, int* pRows,
                                                         int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGExtendedProc_RGBEncode(const unsigned char* pRaw, int nRows,
                                                       int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGExtendedProc_RGBDecode(const unsigned char* pData, int* pRows,
                                                       int* pColumns, int nLength);

// Progressive DCT by spectral selection only (processes 6 and 8).
QUOREX_ENTRY unsigned char* JPEGSpectralProc_8BitEncode(const unsigned char* pRaw, int nRows,
                                                        int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGSpectralProc_8BitDecode(const unsigned char* pData, int* pRows,
                                                        int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGSpectralProc_12BitEncode(const unsigned char* pRaw, int nRows,
                                                         int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGSpectralProc_12BitDecode(const unsigned char* pData, int* pRows,
                                                         int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGSpectralProc_RGBEncode(const unsigned char* pRaw, int nRows,
                                                       int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGSpectralProc_RGBDecode(const unsigned char* pData, int* pRows,
                                                       int* pColumns, int nLength);

// Full progression: spectral selection and successive approximation
// (processes 10 and 12).
QUOREX_ENTRY unsigned char* JPEGFullProgress_8BitEncode(const unsigned char* pRaw, int nRows,
                                                        int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGFullProgress_8BitDecode(const unsigned char* pData, int* pRows,
                                                        int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGFullProgress_12BitEncode(const unsigned char* pRaw, int nRows,
                                                         int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGFullProgress_12BitDecode(const unsigned char* pData, int* pRows,
                                                         int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGFullProgress_RGBEncode(const unsigned char* pRaw, int nRows,
                                                       int nColumns, int nQuality, int* pLength);
QUOREX_ENTRY unsigned char* JPEGFullProgress_RGBDecode(const unsigned char* pData, int* pRows,
                                                       int* pColumns, int nLength);

// The components as coded, for images whose photometric interpretation names
// the colour space of the stream ("YBR_FULL", "YBR_FULL_422").
QUOREX_ENTRY unsigned char* JPEGBaseline_YBRDecode(const unsigned char* pData, int* pRows,
                                                   int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGExtendedProc_YBRDecode(const unsigned char* pData, int* pRows,
                                                       int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGSpectralProc_YBRDecode(const unsigned char* pData, int* pRows,
                                                       int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGFullProgress_YBRDecode(const unsigned char* pData, int* pRows,
                                                       int* pColumns, int nLength);

// Decode-into entries of the 8-bit lossy layouts: (stream, stream length,
// buffer, buffer length, &rows, &columns) -> 1 when an 8-bit DCT stream
// decoded into the caller's buffer, which must hold exactly rows x columns
// pixels of the layout; 0 for any other stream, a buffer of another size, or
// damage (the buffer may then be partly written; *rows and *columns are 0).
// Nothing is allocated for the caller and nothing is released.
QUOREX_ENTRY int JPEGBaseline_8BitDecodeInto(const unsigned char* pData, int nLength,
                                             unsigned char* pOut, int nOutLength, int* pRows,
                                             int* pColumns);
QUOREX_ENTRY int JPEGBaseline_RGBDecodeInto(const unsigned char* pData, int nLength,
                                            unsigned char* pOut, int nOutLength, int* pRows,
                                            int* pColumns);
QUOREX_ENTRY int JPEGBaseline_YBRDecodeInto(const unsigned char* pData, int nLength,
                                            unsigned char* pOut, int nOutLength, int* pRows,
                                            int* pColumns);
QUOREX_ENTRY int JPEGExtendedProc_8BitDecodeInto(const unsigned char* pData, int nLength,
                                                 unsigned char* pOut, int nOutLength, int* pRows,
                                                 int* pColumns);
QUOREX_ENTRY int JPEGExtendedProc_RGBDecodeInto(const unsigned char* pData, int nLength,
                                                unsigned char* pOut, int nOutLength, int* pRows,
                                                int* pColumns);
QUOREX_ENTRY int JPEGExtendedProc_YBRDecodeInto(const unsigned char* pData, int nLength,
                                                unsigned char* pOut, int nOutLength, int* pRows,
                                                int* pColumns);
QUOREX_ENTRY int JPEGSpectralProc_8BitDecodeInto(const unsigned char* pData, int nLength,
                                                 unsigned char* pOut, int nOutLength, int* pRows,
                                                 int* pColumns);
QUOREX_ENTRY int JPEGSpectralProc_RGBDecodeInto(const unsigned char* pData, int nLength,
                                                unsigned char* pOut, int nOutLength, int* pRows,
                                                int* pColumns);
QUOREX_ENTRY int JPEGSpectralProc_YBRDecodeInto(const unsigned char* pData, int nLength,
                                                unsigned char* pOut, int nOutLength, int* pRows,
                                                int* pColumns);
QUOREX_ENTRY int JPEGFullProgress_8BitDecodeInto(const unsigned char* pData, int nLength,
                                                 unsigned char* pOut, int nOutLength, int* pRows,
                                                 int* pColumns);
QUOREX_ENTRY int JPEGFullProgress_RGBDecodeInto(const unsigned char* pData, int nLength,
                                                unsigned char* pOut, int nOutLength, int* pRows,
                                                int* pColumns);
QUOREX_ENTRY int JPEGFullProgress_YBRDecodeInto(const unsigned char* pData, int nLength,
                                                unsigned char* pOut, int nOutLength, int* pRows,
                                                int* pColumns);

// Lossless (process 14). "JPEGProc14" encodes with whichever of the seven
// predictors codes the image smallest, "JPEGProc14SV1" with predictor 1.
// "8Bit" and "RGB" streams have 8-bit precision; "16Bit" streams the fewest
// bits (2 to 16) that hold the largest sample, so signed samples, whose bit
// patterns are kept, take 16.
QUOREX_ENTRY unsigned char* JPEGProc14_8BitEncode(const unsigned char* pRaw, int nRows,
                                                  int nColumns, int* pLength);
QUOREX_ENTRY unsigned char* JPEGProc14_8BitDecode(const unsigned char* pData, int* pRows,
                                                  int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGProc14_16BitEncode(const unsigned char* pRaw, int nRows,
                                                   int nColumns, int* pLength);
QUOREX_ENTRY unsigned char* JPEGProc14_16BitDecode(const unsigned char* pData, int* pRows,
                                                   int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGProc14_RGBEncode(const unsigned char* pRaw, int nRows, int nColumns,
                                                 int* pLength);
QUOREX_ENTRY unsigned char* JPEGProc14_RGBDecode(const unsigned char* pData, int* pRows,
                                                 int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGProc14SV1_8BitEncode(const unsigned char* pRaw, int nRows,
                                                     int nColumns, int* pLength);
QUOREX_ENTRY unsigned char* JPEGProc14SV1_8BitDecode(const unsigned char* pData, int* pRows,
                                                     int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGProc14SV1_16BitEncode(const unsigned char* pRaw, int nRows,
                                                      int nColumns, int* pLength);
QUOREX_ENTRY unsigned char* JPEGProc14SV1_16BitDecode(const unsigned char* pData, int* pRows,
                                                      int* pColumns, int nLength);
QUOREX_ENTRY unsigned char* JPEGProc14SV1_RGBEncode(const unsigned char* pRaw, int nRows,
                                                    int nColumns, int* pLength);
QUOREX_ENTRY unsigned char* JPEGProc14SV1_RGBDecode(const unsigned char* pData, int* pRows,
                                                    int* pColumns, int nLength);

// Releases a buffer returned by any entry of this library; null is ignored.
QUOREX_ENTRY void jpgdel(unsigned char* pBuffer);

using PFN_JpegLossyEncode = unsigned char* (*)(const unsigned char*, int, int, int, int*);
using PFN_JpegLosslessEncode = unsigned char* (*)(const unsigned char*, int, int, int*);
using PFN_JpegDecode = unsigned char* (*)(const unsigned char*, int*, int*, int);
using PFN_JpegDecodeInto = int (*)(const unsigned char*, int, unsigned char*, int, int*, int*);
using PFN_jpgdel = void (*)(unsigned char*);
