// Real-valued images: stored pixel values with the rescale slope and
// intercept that turn them into calibrated values, a display window
// (LookupTable), a 256-entry palette and the photometric interpretation.
// The library's image processing makes them from a frame and uses them for
// icons and for exporting bitmaps and raw files.
//
// Pixels are rows from the top without padding. An image owns its buffer,
// which is allocated with new[] of bytes; Attach and Detach hand buffers in
// and out under the same rule. Every pixmap an image returns is a new buffer
// of width x height bytes that the caller frees with delete[].
#pragma once

#include "LookupTable.h"
#include "VeltaroExport.h"
#include "WinGdi.h"

#include <cstdint>

class DRect;
class RealImage8;

class VELTARO_API RealImage
{
public:
    // Quarter turns are named by the direction the picture turns.
    enum RotateAngle : int
    {
        RotateCounterClockwise = 1,
        RotateHalf = 2,
        RotateClockwise = 3
    };

    static constexpr int PhotometricSize = 64;
    static constexpr int PaletteSize = 256;

    RealImage(int width, int height, int depth, int minImage, int maxImage, int minSet, int maxSet,
              float intercept, float slope);
    virtual ~RealImage();

    // The grey display level table applied to the samples. The table
    // variants index the given table by sample; GetPixmapEx addresses value
    // 0 of the table, so signed samples may index below it. With a non-zero
    // argument the levels 8..243 stretch over the image range, with 0 over
    // the set range. Null when the image holds no pixels.
    virtual std::uint8_t* GetPixmap() = 0;
    virtual std::uint8_t* GetPixmap(const std::uint8_t* table) = 0;
    virtual std::uint8_t* GetPixmap(int useImageRange) = 0;
    virtual std::uint8_t* GetPixmapEx(const std::uint8_t* table) = 0;
    // A new 8-bit image of GetPixmap() with a window over 0..255, or null.
    virtual RealImage8* Remap();
    // The negative image: samples mirrored in the set range,
    // "MONOCHROME1" and "MONOCHROME2" exchanged, the window and the image
    // range mirrored with them. A second Invert restores the image.
    virtual void Invert();
    virtual void FlipVertical() = 0;
    virtual void FlipHorizontal() = 0;
    virtual void Rotate(RotateAngle angle) = 0;
    // Calibrated value at (x, y); 0 outside the image.
    virtual int GetPixelValue(int x, int y) const = 0;
    // Stores the sample of a calibrated value, limited to the sample range.
    virtual void SetPixelValue(int x, int y, short value) = 0;
    // The stored sample (signed for signed images); setting one widens the
    // image and set ranges to hold it.
    virtual int GetInternalPixel(int x, int y) const = 0;
    virtual void SetInternalPixel(int x, int y, int value) = 0;
    virtual void* GetImage() const = 0;
    virtual std::uint32_t GetImageLength() const = 0;
    // Replaces the buffer and returns the old one / returns the buffer and
    // holds none; the caller owns what is returned.
    virtual void* Attach(void* pixels) = 0;
    virtual void* Detach() = 0;
    // A new image of the same class holding the part, or null when the part
    // is empty.
    virtual RealImage* GetImagePart(const DRect* rect) const = 0;
    // Writes source at (x, y); mode bit 0 skips zero source pixels, and
    // (mode >> 1) & 3 == 2 XORs grey pixels into the target. 0 when the
    // images differ in kind or depth or the source does not fit.
    virtual int SetImagePart(int x, int y, const RealImage* source, int mode) = 0;
    // 1, or 0 with a log line when the file cannot be created.
    virtual int SaveAsWindowsBitmap(const char* path) = 0;
    virtual int SaveAsRaw(const char* path) = 0;
    // Resamples to the new size through the resampling library; 1 when the
    // image has that size afterwards.
    virtual int Scale(int width, int height) = 0;
    // 256 counters of the sample distribution.
    virtual void CalcHistogram(std::uint32_t* counts);
    // When the image range's maximum is 0, takes the range from every other
    // sample inside a 1 % border (from all samples of an image too small for
    // that); then, when the set range's maximum is 0, sets it to the powers
    // of two enclosing the image range.
    virtual void CalcMinMaxPixelValue();
    // A packed DIB in a movable global block (unlocked), or null.
    virtual HGLOBAL CreateDIB() = 0;
    // A bitmap of the screen, or null.
    virtual HBITMAP CreateBitmap() = 0;

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetDepth() const { return m_nDepth; }
    float GetIntercept() const { return m_fIntercept; }
    float GetSlope() const { return m_fSlope; }
    int GetMinImage() const { return m_nMinImage; }
    int GetMaxImage() const { return m_nMaxImage; }
    int GetMinSet() const { return m_nMinSet; }
    int GetMaxSet() const { return m_nMaxSet; }

    void SetRescale(float intercept, float slope);
    const char* GetPhotometric() const { return m_szPhotometric; }
    // Keeps at most PhotometricSize - 1 characters.
    void SetPhotometric(const char* photometric);
    // The flag after the photometric text; only copied with the image.
    std::uint8_t GetFlag() const { return m_byFlag; }
    void SetFlag(std::uint8_t flag) { m_byFlag = flag; }
    int IsSigned() const { return m_nSigned; }
    void SetSigned(int isSigned) { m_nSigned = isSigned; }
    int GetNumberOfFrames() const { return m_nNumberOfFrames; }
    void SetNumberOfFrames(int frames) { m_nNumberOfFrames = frames; }
    int GetFrameIndex() const { return m_nFrameIndex; }
    void SetFrameIndex(int frame) { m_nFrameIndex = frame; }
    LookupTable& GetLookupTable() { return m_lut; }
    const LookupTable& GetLookupTable() const { return m_lut; }
    RGBQUAD* GetPalette() { return m_palette; }
    const RGBQUAD* GetPalette() const { return m_palette; }

protected:
    RealImage(const RealImage& other);
    RealImage& operator=(const RealImage& other);

    // Pixel count, 0 for a negative size.
    std::uint64_t GetPixelCount() const;
    bool IsInside(int x, int y) const;
    // Widens the image range, then the set range, to hold value.
    void WidenRange(int value);
    // Gives a part of this image its palette, photometric text and flags,
    // computes the part's range and initialises the part's window with this
    // window as given; the part owns its window.
    void InitPart(RealImage& part) const;

    char m_szPhotometric[PhotometricSize];
    std::uint8_t m_byFlag;
    int m_nNumberOfFrames;
    int m_nFrameIndex;
    int m_nSigned;
    LookupTable m_lut;
    RGBQUAD m_palette[PaletteSize];
    // Kept and copied with the image; nothing reads them.
    int m_nReserved[6];
    int m_nWidth;
    int m_nHeight;
    int m_nDepth;
    float m_fIntercept;
    float m_fSlope;
    int m_nMinImage;
    int m_nMaxImage;
    int m_nMinSet;
    int m_nMaxSet;
};

// The class templates the image classes are built on, one for each part of
// the work in which only the class, its sample type and the samples a pixel
// holds differ:
// - RealImageSamples: every image. The buffer and its copies, attach and
//   detach, flips, turns, parts, raw files and bitmaps, and the grey
//   accessors, which read and write the first width x height samples.
// - RealImageGrey: one grey sample per pixel (8-bit, 16-bit). Tables,
//   inversion, pasted parts and resampling.
// The library instantiates them for its own classes.
template <class TImage, class TSample, int SamplesPerPixel>
class VELTARO_API RealImageSamples : public RealImage
{
public:
    // Takes ownership of pixels (width x height x SamplesPerPixel samples).
    RealImageSamples(TSample* pixels, int width, int height, int depth, int minImage, int maxImage,
                     int minSet, int maxSet, float intercept, float slope);
    RealImageSamples(const RealImageSamples& other);
    RealImageSamples& operator=(const RealImageSamples& other);
    ~RealImageSamples() override;

    std::uint8_t* GetPixmap(int useImageRange) override;
    void FlipVertical() override;
    void FlipHorizontal() override;
    void Rotate(RotateAngle angle) override;
    int GetPixelValue(int x, int y) const override;
    void SetPixelValue(int x, int y, short value) override;
    int GetInternalPixel(int x, int y) const override;
    void SetInternalPixel(int x, int y, int value) override;
    void* GetImage() const override;
    std::uint32_t GetImageLength() const override;
    void* Attach(void* pixels) override;
    void* Detach() override;
    RealImage* GetImagePart(const DRect* rect) const override;
    // Pixels of bytes are drawn as they stand, wider samples through Remap.
    int SaveAsWindowsBitmap(const char* path) override;
    int SaveAsRaw(const char* path) override;
    HGLOBAL CreateDIB() override;
    HBITMAP CreateBitmap() override;

protected:
    static constexpr int BytesPerPixel = int(sizeof(TSample)) * SamplesPerPixel;

    // The sample at index; samples wider than a byte as the signed flag
    // reads them, bytes always unsigned.
    int GetSample(std::uint64_t index) const;

    TSample* m_pPixels;

private:
    bool IsReadSigned() const;
};

template <class TImage, class TSample>
class VELTARO_API RealImageGrey : public RealImageSamples<TImage, TSample, 1>
{
public:
    using RealImageSamples<TImage, TSample, 1>::RealImageSamples;
    using RealImageSamples<TImage, TSample, 1>::GetPixmap;

    std::uint8_t* GetPixmap(const std::uint8_t* table) override;
    std::uint8_t* GetPixmapEx(const std::uint8_t* table) override;
    void Invert() override;
    int SetImagePart(int x, int y, const RealImage* source, int mode) override;
    int Scale(int width, int height) override;
};

// The library's instances, which every user takes from the library. The
// classes are declared exported before the instances name them, so that the
// instances are exported too.
class VELTARO_API RealImage16;
class VELTARO_API RealImage8;
class VELTARO_API RealImageRGB;
extern template class RealImageSamples<RealImage16, std::uint16_t, 1>;
extern template class RealImageGrey<RealImage16, std::uint16_t>;
extern template class RealImageSamples<RealImage8, std::uint8_t, 1>;
extern template class RealImageGrey<RealImage8, std::uint8_t>;
extern template class RealImageSamples<RealImageRGB, std::uint8_t, 3>;

// 16-bit samples, unsigned or signed by the signed flag.
class VELTARO_API RealImage16 : public RealImageGrey<RealImage16, std::uint16_t>
{
public:
    // Takes ownership of pixels (width x height samples).
    RealImage16(std::uint16_t* pixels, int width, int height, int depth, int minImage, int maxImage,
                int minSet, int maxSet, float intercept, float slope);

    using RealImageGrey::GetPixmap;
    std::uint8_t* GetPixmap() override;
};

// 8-bit samples.
class VELTARO_API RealImage8 : public RealImageGrey<RealImage8, std::uint8_t>
{
public:
    // Takes ownership of pixels (width x height bytes).
    RealImage8(std::uint8_t* pixels, int width, int height, int depth, int minImage, int maxImage,
               int minSet, int maxSet, float intercept, float slope);

    using RealImageGrey::GetPixmap;
    std::uint8_t* GetPixmap() override;
};

// Three bytes a pixel in R, G, B order. Its 8-bit forms are palette indices
// of a colour quantisation.
class VELTARO_API RealImageRGB : public RealImageSamples<RealImageRGB, std::uint8_t, 3>
{
public:
    // Takes ownership of pixels (width x height x 3 bytes).
    RealImageRGB(std::uint8_t* pixels, int width, int height, int depth, int minImage, int maxImage,
                 int minSet, int maxSet, float intercept, float slope);

    using RealImageSamples::GetPixmap;
    // The quantised indices; the image's palette becomes the quantised one.
    std::uint8_t* GetPixmap() override;
    std::uint8_t* GetPixmap(const std::uint8_t* table) override;
    std::uint8_t* GetPixmapEx(const std::uint8_t* table) override;
    RealImage8* Remap() override;
    // An RGB image cannot be inverted; logs and changes nothing.
    void Invert() override;
    // Colour pixels are copied whatever the mode.
    int SetImagePart(int x, int y, const RealImage* source, int mode) override;
    // Colour images are not resampled: 0 unless the size is unchanged.
    int Scale(int width, int height) override;

private:
    // Width x height indices into palette, or null.
    std::uint8_t* Quantize(RGBQUAD* palette) const;
};
