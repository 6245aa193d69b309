// ImageProcess: one frame of one DICOMImage. It exposes the frame's pixel
// bytes and geometry, decodes a compressed frame to native little-endian
// samples ("raw"), encodes raw samples into another transfer syntax, and
// hands the raw buffer over to a caller.
//
// The viewer constructs it on the image and a frame index, calls
// ConvertToRaw and Detach, then reads m_nRawPixelLength; the buffer it takes
// over is freed with delete[]. A buffer that points at the frame inside the
// image belongs to the image; every other buffer belongs to the process
// until it is handed over.
//
// The process raises the image's reference count for its lifetime; with
// auto-remove on, it deletes an image no process references any more.
#pragma once

#include "MetaInfo.h"
#include "UID.h"
#include "VeltaroExport.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class DICOMImage;
class LookupTable;
class RealImage;
class RealImage8;
struct FrameSyntax;

class VELTARO_API ImageProcess
{
public:
    // Read directly by callers.
    std::uint8_t* m_pRawPixelData = nullptr;
    std::uint32_t m_nRawPixelLength = 0;

    // Squeeze 0..255 into the display levels 8..243 and back; built once,
    // by the first process constructed.
    static std::uint8_t LUT256To244[256];
    static std::uint8_t LUT244To256[256];

    static constexpr unsigned DefaultQuality = 90;
    static constexpr int PhotometricSize = 65;
    static constexpr int ModalitySize = 16;

    ImageProcess(DICOMImage& image, int frame);
    ImageProcess(const ImageProcess&) = delete;
    ImageProcess& operator=(const ImageProcess&) = delete;
    ~ImageProcess();

    // Returns the previous setting.
    int SetAutoRemoveImage(int autoRemove);
    // Frees the buffers the process owns; geometry and frame index 0, one
    // frame, not colour.
    void Reset();
    void ReleasePixelData();
    // The syntax of the data the process holds.
    void SetTransferSyntax(const UID& uid);

    // Makes sure raw samples exist, decoding when needed.
    int ConvertToRaw();
    // Raw samples for the little-endian syntaxes; raw samples encoded for
    // any other.
    int ConvertTo(const UID& uid);
    // The raw buffer for the caller to free with delete[]: a copy one byte
    // longer when the samples are the image's own, else the buffer itself,
    // which the process then forgets. Null without raw samples.
    void* Detach();

    // RLE is decode-only: always 0.
    int RLEEncode();
    // One transfer syntax each; 1 at once when the frame already has it.
    int JPEGBaselineEncode();
    int JPEGProc14Encode();
    int JPEGProc14SV1Encode();
    int JPEGExtendedProcEncode();
    int JPEGSpectralProcEncode();
    int JPEGFullProgressEncode();
    int JPEGFullProgressEncode_13Bit();
    int JPEGFullProgressEncode_14Bit();
    int JPEGFullProgressEncode_15Bit();
    int JPEGFullProgressEncode_16Bit();
    // Chooses the full progression syntax by the samples' range, records it
    // in the image's (0007,0550) and labels the frame with the adaptive
    // syntax.
    int JPEGFullProgressEncode_Adaptive();
    int JP2KLosslessEncode();
    int JP2KLossyEncode();

    // One transfer syntax each; 0 without a log line when the frame has
    // another.
    int JPEGBaselineDecode();
    int JPEGProc14Decode();
    int JPEGProc14SV1Decode();
    int JPEGExtendedProcDecode();
    int JPEGSpectralProcDecode();
    int JPEGFullProgressDecode();
    int JPEGFullProgressDecode_13Bit();
    int JPEGFullProgressDecode_14Bit();
    int JPEGFullProgressDecode_15Bit();
    int JPEGFullProgressDecode_16Bit();
    // Decodes by the syntax the image's (0007,0550) names.
    int JPEGFullProgressDecode_Adaptive();
    int RLEDecode();
    int JP2KLosslessDecode();
    int JP2KLossyDecode();

    // Three planes of 8-bit samples turned into interleaved triples.
    static void InterleaveColourPlanes(std::uint8_t* samples, std::size_t pixels);

    // Window width and centre of a frame's samples. 8-bit samples take
    // their whole range (the fractions are not used); 16-bit samples are
    // counted inside a border of border x min(width, height), and low and
    // high are the fractions of all pixels cut at either end. bits is
    // accepted and not used. 1 on success; 0 without samples, or when the
    // border leaves none (width and centre are then 0).
    static int AutoWindowLevel_UINT8(float border, float low, float high,
                                     const std::uint8_t* pixels, int width, int height, int bits,
                                     int* windowWidth, int* windowCenter);
    static int AutoWindowLevel_UINT16(float border, float low, float high,
                                      const std::uint16_t* pixels, int width, int height, int bits,
                                      int* windowWidth, int* windowCenter);
    static int AutoWindowLevel_INT16(float border, float low, float high,
                                     const std::int16_t* pixels, int width, int height, int bits,
                                     int* windowWidth, int* windowCenter);
    // The same with 0.01 for all three fractions.
    static int AutoWindowLevel_UINT8(const std::uint8_t* pixels, int width, int height, int bits,
                                     int* windowWidth, int* windowCenter);
    static int AutoWindowLevel_UINT16(const std::uint16_t* pixels, int width, int height, int bits,
                                      int* windowWidth, int* windowCenter);
    static int AutoWindowLevel_INT16(const std::int16_t* pixels, int width, int height, int bits,
                                     int* windowWidth, int* windowCenter);
    // On the frame's raw samples, into this process's window.
    int AutoWindowLevel();

    // 8-bit YBR_FULL samples of so many pixels turned into RGB in place, by
    // the equations of the standard with the offset of 128 folded into the
    // constants, each result cut toward zero and held to 0..255. Planar
    // samples are three planes, else Y, Cb, Cr triples.
    static void ConvertYbrFullToRgb(std::uint8_t* samples, std::size_t pixels, bool isPlanar);

    // A new real-valued image of the frame for the caller to delete, or
    // null: the modality LUT applied, YBR_FULL turned into RGB, with the
    // rescale, the window (the automatic one, in calibrated units, when the
    // data set has none; it is kept in this process), the data set's other
    // windows and the palette. A decoded raw buffer goes to the image.
    RealImage* CreateRealImage();
    // Replaces the raw samples by their 8-bit display rendering (the data
    // set's VOI LUT, else the window; MONOCHROME1 inverted). The process
    // then describes the levels: 8 bits, unsigned, not rescaled, window
    // 127 / 255, MONOCHROME2 for grey frames.
    int Remap();
    // The display rendering through the window as an 8-bit bitmap file.
    int SaveAsWindowsBitmap(const char* path);
    // The frame exactly as stored.
    int SaveAsRaw(const char* path);
    // The frame as a baseline JPEG stream; deeper grey frames as their
    // display rendering.
    int SaveAsJPEGBaseline(const char* path);

    DICOMImage* GetImage() const { return m_pImage; }
    const UID& GetTransferSyntax() const { return m_transferSyntax.TransferSyntaxName; }
    unsigned GetQuality() const { return m_nQuality; }
    void SetQuality(unsigned quality) { m_nQuality = quality; }

    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }
    int GetBitsAllocated() const { return m_nBitsAllocated; }
    int GetBitsStored() const { return m_nBitsStored; }
    int GetHighBit() const { return m_nHighBit; }
    const std::uint8_t* GetCompPixelData() const { return m_pCompPixelData; }
    std::uint32_t GetCompPixelLength() const { return m_nCompPixelLength; }
    int GetCompBitsAllocated() const { return m_nCompBitsAllocated; }
    int GetCompBitsStored() const { return m_nCompBitsStored; }
    int GetCompHighBit() const { return m_nCompHighBit; }
    const std::uint8_t* GetFrameAddress() const { return m_pFrameAddress; }
    std::uint32_t GetFrameLength() const { return m_nFrameLength; }

    int GetWindowCenter() const { return m_nWindowCenter; }
    int GetWindowWidth() const { return m_nWindowWidth; }
    // The stored (0028,0106) and (0028,0107), and their signed views.
    unsigned short GetSmallestPixelValue() const { return m_nSmallestPixelValue; }
    unsigned short GetLargestPixelValue() const { return m_nLargestPixelValue; }
    short GetSmallestSignedPixelValue() const;
    short GetLargestSignedPixelValue() const;
    double GetRowSpacing() const { return m_dRowSpacing; }
    double GetColumnSpacing() const { return m_dColumnSpacing; }
    double GetRescaleIntercept() const { return m_dRescaleIntercept; }
    double GetRescaleSlope() const { return m_dRescaleSlope; }
    int GetNumberOfFrames() const { return m_nNumberOfFrames; }
    unsigned GetFrameIndex() const { return m_nFrameIndex; }
    int GetPixelRepresentation() const { return m_nPixelRepresentation; }
    const char* GetPhotometricInterpretation() const { return m_szPhotometric; }
    const char* GetModality() const { return m_szModality; }
    // 1 unless the photometric interpretation is "MONOCHROME1" or
    // "MONOCHROME2": what the stored frame holds. It does not follow Remap,
    // whose levels are one byte a pixel whatever it says (a colour frame's
    // become palette indices, whose palette the process does not keep).
    int IsColour() const { return static_cast<int>(m_nColour); }

protected:
    static void Init256_244LUT();
    int ConvertToDecompress();
    int ConvertToCompress(const UID& uid);

private:
    friend class DICOMImage;

    void ReleaseRawPixelData();
    void ReleaseCompPixelData();
    int UpdateSelf();
    void ReadPixelSpacing();
    void ReadWindowAndRescale();
    bool IsOwnFrame(const std::uint8_t* buffer) const;
    std::uint8_t* CopyRawSamples(const char* member) const;

    int DecodeAs(const UID& syntax);
    int DecodeWith(const FrameSyntax& row);
    int EncodeAs(const UID& syntax);
    int EncodeWith(const FrameSyntax& row);
    bool HasEncodableSamples() const;
    bool CallEncoder(const FrameSyntax& row, const std::uint8_t* raw, std::uint32_t length);
    void SetCompBits(const FrameSyntax& row);
    void LogEncoded(const FrameSyntax& row) const;
    bool MakeRawOwned();
    bool ShiftRawRight(int shift);
    void FindSparseRange(int& minimum, int& maximum) const;
    int EncodeAdaptively(const UID& inner);
    // The automatic window of samples of this frame's geometry and kind.
    int FindAutoWindow(const std::uint8_t* samples, std::uint32_t length, int* width,
                       int* center) const;
    std::uint8_t* TakeRawSamples(std::uint32_t& length);
    void ConvertColourSpace(std::uint8_t* samples, std::uint32_t length);
    bool IsPlanar() const;
    RealImage* MakeRealImage(std::unique_ptr<std::uint8_t[]>& samples, std::uint32_t length,
                             int bits, int smallest, int largest, float intercept,
                             float slope) const;
    void FindCalibratedAutoWindow(const RealImage& image);
    void AddDataSetWindows(LookupTable& window, bool isFirstInUse) const;
    RealImage8* RenderEightBits(RealImage& image, bool useVoiLut) const;
    void TakeDisplayLevels(const char* photometric);

    std::uint16_t m_nBitsAllocated = 0;
    std::int16_t m_nBitsStored = 0;
    std::int16_t m_nHighBit = 0;
    std::uint16_t m_nRows = 0;
    std::uint16_t m_nColumns = 0;
    std::uint8_t* m_pCompPixelData = nullptr;
    std::uint32_t m_nCompPixelLength = 0;
    std::int16_t m_nCompBitsAllocated = 0;
    std::int16_t m_nCompBitsStored = 0;
    std::int16_t m_nCompHighBit = 0;
    std::int32_t m_nWindowCenter = 0;
    std::int32_t m_nWindowWidth = 0;
    std::uint16_t m_nSmallestPixelValue = 0;
    std::uint16_t m_nLargestPixelValue = 0;
    double m_dRowSpacing = 0.0;
    double m_dColumnSpacing = 0.0;
    double m_dRescaleIntercept = 0.0;
    double m_dRescaleSlope = 1.0;
    std::int32_t m_nNumberOfFrames = 1;
    std::uint32_t m_nFrameIndex = 0;
    std::uint16_t m_nPixelRepresentation = 0;
    char m_szPhotometric[PhotometricSize] = {};
    char m_szModality[ModalitySize] = {};
    DICOMImage* m_pImage;
    std::uint32_t m_nQuality = DefaultQuality;
    MetaTransferSyntax m_transferSyntax;
    const std::uint8_t* m_pFrameAddress = nullptr;
    std::uint32_t m_nFrameLength = 0;
    std::uint32_t m_nColour = 0;
    std::int32_t m_nAutoRemove = 0;
};
