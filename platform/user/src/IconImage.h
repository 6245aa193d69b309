// Icon and cursor images as pixels: the first image of an icon or cursor
// file read into colours and a transparency mask, the pictures of the
// system icons, and an icon file made from an image.
#pragma once

#include "WinUserDefs.h"

#include <cstdint>
#include <span>
#include <vector>

struct IconImage
{
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::uint32_t> colors; // 0x00RRGGBB, top row first
    std::vector<bool> transparent;     // per pixel, top row first
};

// False for an unreadable file or a PNG image.
bool DecodeIconFile(std::span<const BYTE> bytes, IconImage& image);
// The picture of IDI_APPLICATION, IDI_ERROR, IDI_QUESTION, IDI_WARNING or
// IDI_INFORMATION (32 x 32).
bool MakeSystemIcon(WORD nSystemId, IconImage& image);
// An icon file (type 1) or cursor file (type 2) of one 32-bit image.
std::vector<BYTE> EncodeIconFile(const IconImage& image, bool bCursor, POINT hotSpot);
// The image of any icon or cursor handle.
bool GetIconImage(HICON hIcon, IconImage& image);
// Registers an icon made by the program; DestroyIcon frees it.
HICON CreateIconFromFile(std::vector<BYTE> fileBytes, bool bCursor);
