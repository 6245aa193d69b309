// FrameIterator: the pixel bytes of a DICOMImage one frame at a time,
// decoded to native little-endian samples. It reads from memory when the
// image holds its pixel data, and straight from the file when the image was
// read without it and knows (in (0007,0605)) where the pixel data begins;
// from the file only the frame asked for is read.
//
// The viewer constructs it on the image, calls Seek(n) and Next(), then
// takes m_pFrameBuffer (Detach, or reading the pointer and setting it to
// null) with its length m_nFrameLength. A buffer taken over is freed with
// delete[].
//
// Colour frames come as three samples a pixel: R, G, B for RGB and the
// JPEG 2000 colour transforms, and Y, Cb, Cr of every pixel for YBR_FULL and
// YBR_FULL_422 (4:2:2 data brought to full size, JPEG frames not turned into
// RGB), for the caller to convert (ImageProcess::ConvertYbrFullToRgb); the
// image's photometric interpretation stays as the file has it.
#pragma once

#include "CodecCall.h"
#include "UID.h"
#include "VeltaroExport.h"

#include <cstdint>
#include <memory>

class DICOMImage;
class IFB;
struct FrameSyntax;

class VELTARO_API FrameIterator
{
public:
    // Read directly by callers after Next.
    std::uint32_t m_nFrameLength = 0;
    // Rows x columns x samples per pixel samples of whole bytes.
    std::uint32_t m_nFrameSize = 0;
    std::uint8_t* m_pFrameBuffer = nullptr;

    // The kind of samples: decides the decoder entries.
    enum enPixelKind : int
    {
        enPixelUnknown = 0,
        enPixelGrey8 = 1,
        enPixelGrey16 = 2,
        enPixelColour = 3
    };
    // How the pixel data is coded, by transfer syntax.
    enum enCoding : int
    {
        enCodingImplicitLittle = 1,
        enCodingExplicitLittle = 2,
        enCodingExplicitBig = 3,
        enCodingEncapsulated = 4
    };

    FrameIterator();
    explicit FrameIterator(DICOMImage* image);
    FrameIterator(const FrameIterator&) = delete;
    FrameIterator& operator=(const FrameIterator&) = delete;
    ~FrameIterator();

    // Starts over on the image, releasing what the iterator held; false
    // only when an exception escaped the initialisation (the iterator may
    // still be not ready after true).
    bool SetDicomImage(DICOMImage* image);
    // Positions at a frame; from memory the frame is also decoded, and the
    // Next that follows delivers it without decoding it again.
    bool Seek(int frame);
    // Delivers the frame at the current position and advances.
    bool Next();
    // Hands the frame buffer to the caller, who frees it with delete[].
    void* Detach();

    bool IsReady() const { return m_bReady; }
    bool IsInMemory() const { return m_bInMemory; }
    int GetFrameCount() const { return m_nFrameCount; }
    // The frames the pixel data holds, at most the count the data set
    // claims: a multi-frame value shorter than the frames it claims holds
    // only its whole frames, encapsulated data only the frames it has
    // items for. 0 when the iterator is not ready.
    int GetFramesPresent() const;
    int GetCurrentFrame() const { return m_nCurrentFrame; }
    int GetPixelKind() const { return m_nPixelKind; }
    int GetCoding() const { return m_nCoding; }
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }
    int GetBitsAllocated() const { return m_nBitsAllocated; }
    int GetBitsStored() const { return m_nBitsStored; }
    int GetHighBit() const { return m_nHighBit; }
    int GetSamplesPerPixel() const { return m_nSamplesPerPixel; }
    const UID& GetTransferSyntax() const { return m_transferSyntax; }

protected:
    void Init(DICOMImage* image);
    bool SeekFrameOfFile(int frame);
    bool SeekFrameOfStream(int frame);
    bool NextFrameOfFile();
    bool NextFrameOfStream();
    // Decodes the frame buffer in place by the transfer syntax; 1 or 0.
    int Decompress();
    // Decodes the compressed frame into the frame buffer; 1 or 0.
    int DecompressFrom(CodecInput frame);

private:
    void Release();
    void FreeFrameBuffer();
    bool ReadGeometry();
    bool OpenFile(std::uint32_t position);
    bool ReadPixelHeader();
    bool ReadNativeLength();
    bool BuildItemOffsets();
    bool HasFileLayout() const;
    bool NextNativeFrame();
    bool ReadNativeFrame(std::uint32_t start, std::uint32_t length);
    bool NextItemFrame();
    bool SeekStream(std::uint32_t position);
    bool ReadStream(void* target, std::uint32_t n);
    bool ReadStream32(std::uint32_t& value);
    std::uint32_t GetFileSize() const;
    int DecodeFrameBuffer(const FrameSyntax& row, CodecInput frame);
    void CopyFrame(const std::uint8_t* address, std::uint32_t length);
    bool ExpandSubsampledFrame();

    UID m_transferSyntax;
    DICOMImage* m_pImage = nullptr;
    int m_nRows = 0;
    int m_nColumns = 0;
    int m_nBitsAllocated = 0;
    int m_nBitsStored = 0;
    int m_nHighBit = 0;
    int m_nSamplesPerPixel = 0;
    std::uint32_t m_nPixelDataLength = 0;
    int m_nCoding = 0;
    std::unique_ptr<IFB> m_pStream;
    int m_nPixelKind = enPixelUnknown;
    // Encapsulated data in file mode: the file position of each frame's
    // item, and one after the last.
    std::unique_ptr<std::uint32_t[]> m_pFrameOffsets;
    int m_nFrameCount = 0;
    int m_nCurrentFrame = 0;
    bool m_bReady = false;
    bool m_bInMemory = false;
    // YBR_FULL or YBR_FULL_422, and native 4:2:2 data to be brought to full
    // size.
    bool m_bFullYbr = false;
    bool m_bSubsampled = false;

    // Native data in file mode: where the pixel data value starts and ends
    // in the file, and the byte unit in which big-endian samples are
    // swapped (0: none).
    std::uint32_t m_nPixelDataStart = 0;
    std::uint32_t m_nPixelDataEnd = 0;
    int m_nSwapUnit = 0;
    // The stream's position, kept so that consecutive frames need no seek.
    std::uint32_t m_nStreamPosition = 0;
    // The frame a memory-mode Seek decoded, while its buffer is still held.
    const std::uint8_t* m_pSoughtBuffer = nullptr;
    int m_nSoughtFrame = -1;
};
