// What every exported entry of the codec libraries does around its codec.
// The callers are plain C: arguments are checked, the results a caller reads
// are zeroed before anything can fail, and no exception leaves an entry.
#pragma once

namespace shim
{

// Entries that decode a stream: *pRows and *pColumns receive the image size
// (0 on failure); decode() returns the pixels or null and sets both.
template <typename Decode>
unsigned char* GuardDecode(const unsigned char* pData, int nLength, int* pRows, int* pColumns,
                           Decode decode)
{
    if (pRows == nullptr || pColumns == nullptr)
        return nullptr;
    *pRows = 0;
    *pColumns = 0;
    if (pData == nullptr || nLength <= 0)
        return nullptr;
    try
    {
        return decode();
    }
    catch (...)
    {
        return nullptr;
    }
}

// Entries that return a buffer with its length: *pLength is 0 on failure;
// produce() returns the buffer or null and sets the length.
template <typename Produce> unsigned char* GuardLength(int* pLength, Produce produce)
{
    if (pLength == nullptr)
        return nullptr;
    *pLength = 0;
    try
    {
        return produce();
    }
    catch (...)
    {
        return nullptr;
    }
}

} // namespace shim
