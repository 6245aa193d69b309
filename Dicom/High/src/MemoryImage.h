// What DICOMFile and DICOMVRSet share to hand a memory image, coded into a
// stream whose first chunk is the caller's block, back to the caller.
#pragma once

class MemOutBuffer;

// Copies the coded image into the caller's block of size bytes when it fits
// there; otherwise logs, as "<owner>::Serialize", that the block is too small.
// Returns the bytes the image needs either way.
int CopyOutMemoryImage(MemOutBuffer& stream, unsigned char* buffer, int size, const char* owner);
