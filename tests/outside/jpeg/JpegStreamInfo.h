// Test helper: what a JPEG stream's headers say, read independently of the
// codec under test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct JpegScanInfo
{
    int nComponents = 0;
    int nSs = 0;
    int nSe = 0;
    int nAh = 0;
    int nAl = 0;
};

struct JpegStreamInfo
{
    int nFrameMarker = 0; // 0xC0.. of the frame header, 0 when none
    int nPrecision = 0;
    int nRows = 0;
    int nColumns = 0;
    std::vector<int> componentIds;
    bool bAdobe = false;
    bool bJfif = false;
    std::vector<JpegScanInfo> scans;
    bool bEndsWithEoi = false;
};

// Walks the segments of a well-formed stream, skipping the entropy-coded data.
JpegStreamInfo ReadJpegStreamInfo(const uint8_t* pData, size_t nLength);
