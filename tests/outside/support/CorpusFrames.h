// Test helpers for the corpus of real DICOM files: the compressed frames of an
// encapsulated pixel data element, and the checksum the reference tables keep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using ByteVector = std::vector<uint8_t>;

// Absolute path of a corpus file given relative to the corpus folder.
std::string GetCorpusPath(const std::string& relative);

// A test name for a corpus file: its name without the extension, every
// character that is not a letter or digit replaced by "_".
std::string GetCorpusTestName(const std::string& file);

// True when the corpus folder is present (it lives beside the checkout).
bool IsCorpusPresent();

// The frames of the encapsulated pixel data of an explicit little-endian file:
// one fragment per frame, or all fragments joined when nFrames is 1. Empty
// when the file cannot be read or its fragments do not match nFrames.
std::vector<ByteVector> ReadEncapsulatedFrames(const std::string& path, size_t nFrames);

// 64-bit FNV-1a of a buffer, the checksum of the reference tables.
uint64_t GetFnv1a64(const uint8_t* pData, size_t nLength);
