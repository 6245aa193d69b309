// Headerless pixel files: reads and writes that report a short transfer.
#pragma once

#include <cstdint>

namespace matrix
{

// Reads length bytes at offset into buffer; false when the file cannot be
// opened, holds fewer bytes after offset, or a read fails.
bool ReadRawFile(const char* path, int offset, char* buffer, std::int64_t length);
// Creates or truncates the file, then writes length bytes of data; false when
// the file cannot be created, data is null or a write falls short.
bool WriteRawFile(const char* path, const char* data, std::int64_t length);

} // namespace matrix
