// MetaMatrix: the abstract base of the pixel matrices. A matrix is a pixel
// pointer and a pointer to the description block it shares with its copies;
// copies share until one of them is about to be written.
#pragma once

#include "MatrixExport.h"
#include "WinGdi.h"
#include "WinGeometry.h"
#include "WinTypes.h"

// The block a matrix shares with its copies. The viewer reads these fields in
// place, so their order and widths are fixed.
struct MetaMatrixData
{
    // Changed only with interlocked operations. A negative count marks a block
    // that is never shared (the static empty block holds -1).
    LONG nRefs;
    int nDataLength;  // bytes of pixel data in use
    int nAllocLength; // bytes allocated for the pixel buffer
    int nBitsAllocated;
    int nBitsStored;
    int nHighBit;
    int nRows;
    int nColumns;
    int nMin; // smallest stored sample value (before any rescale)
    int nMax; // largest stored sample value
    int nSigned;
    int nSamplesPerPixel;
    int nConvertedToBGR; // RGB matrices only: 1 when pixels are in B, G, R order
};

class MATRIX_API MetaMatrix
{
public:
    enum enMatrixType : int
    {
        enMatrix8 = 1,
        enMatrix16 = 2,
        enMatrixRGB = 3,
        enMatrixBinary = 4
    };
    enum RotateAngle : int
    {
        enRotateCounterClockwise = 1,
        enRotateHalfTurn = 2,
        enRotateClockwise = 3
    };

    MetaMatrix();
    // The buffer is bytes per sample x rows x columns x samples per pixel, a
    // sample taking whole bytes (12 bits allocated take 2); 1 bit allocated, a
    // zero or a too large size leave the matrix empty.
    MetaMatrix(int bitsAllocated, int bitsStored, int highBit, int rows, int columns, int min,
               int max, int isSigned, int samplesPerPixel);
    // Shares the source's block; a never-shared block is copied instead.
    MetaMatrix(const MetaMatrix& source);
    MetaMatrix& operator=(const MetaMatrix& source);

    // Takes ownership of pixels (allocated with new[]). The size follows the
    // description: whole bytes per sample, or one bit per pixel for 1 bit
    // allocated. An empty or impossible size frees pixels and leaves the
    // matrix empty.
    void Attach(void* pixels, int bitsAllocated, int bitsStored, int highBit, int rows, int columns,
                int min, int max, int isSigned, int samplesPerPixel);
    void Empty();
    // Deep copy of pixels and description into target.
    void CopyTo(MetaMatrix& target) const;

    char* GetPixelData() { return m_pPixels; }
    const char* GetPixelData() const { return m_pPixels; }
    MetaMatrixData* GetData() const { return m_pBlock; }
    bool IsEmpty() const { return m_pBlock->nDataLength == 0; }
    int GetWidth() const { return m_pBlock->nColumns; }
    int GetHeight() const { return m_pBlock->nRows; }
    int GetDepth() const { return m_pBlock->nBitsAllocated; }
    CSize GetSize() const { return CSize(m_pBlock->nColumns, m_pBlock->nRows); }

    // New matrix of the same class, owned by the caller: a deep copy, or one
    // sharing this matrix's block.
    virtual MetaMatrix* Clone() const = 0;
    virtual MetaMatrix* Shadow() const = 0;
    virtual void Invert() = 0;
    virtual void FlipVertical() = 0;
    virtual void FlipHorizontal() = 0;
    virtual void Rotate(RotateAngle angle) = 0;
    // New 8-bit matrix (caller owns) whose pixels are lut[sample]; null when
    // empty or lut is null (colour: a shadow, binary: null).
    virtual MetaMatrix* GetPixmap(unsigned char* lut) const = 0;
    // rect: right and bottom exclusive, clipped to the matrix.
    virtual MetaMatrix* GetImagePart(const CRect* rect) const = 0;
    virtual void SetImagePart(const MetaMatrix* source, const CRect* rect) = 0;
    virtual void JoinAtLeft(const MetaMatrix* other) = 0;
    virtual void JoinAtRight(const MetaMatrix* other) = 0;
    virtual void JoinAtTop(const MetaMatrix* other) = 0;
    virtual void JoinAtBottom(const MetaMatrix* other) = 0;
    // Headerless pixel files; false when the file cannot be read or written
    // in full (the matrix is then unchanged).
    virtual bool LoadAsRaw(const char* path, int offset, int width, int height) = 0;
    virtual bool SaveAsRaw(const char* path) const = 0;
    // Min and max of the samples, skipping a border of margin x the smaller
    // dimension on each side; stored in the shared block.
    virtual void CalcMinMaxPixelValue(float margin);
    // The same range widened to powers of two (300..3000 gives 256..4095).
    virtual void CalcMinSetMaxSetPixelValue(float margin);
    virtual void Scale(unsigned width, unsigned height) = 0;
    // Display-quality resampling through the resampling library.
    virtual void ScaleOptimize(unsigned width, unsigned height) = 0;
    // Packed DIBs (caller owns, free with GlobalFree) and screen bitmaps.
    virtual void* CreateDIB(RGBQUAD* const palette) const = 0;
    virtual void* CreateDIB() const = 0;
    virtual HBITMAP CreateBitmap() const = 0;
    virtual bool FromDIB(void* const dib) = 0;
    virtual bool FromBitmap(HBITMAP const bitmap) = 0;
    // x and y are clamped into the matrix.
    virtual int GetPixelValue(int x, int y) const = 0;
    virtual void SetPixelValue(int x, int y, short value) = 0;
    virtual enMatrixType GetMatrixType() const = 0;
    virtual bool AutoWindowLevel(int* width, int* center) const = 0;
    virtual bool AutoWindowLevelEllipseShutter(int* width, int* center, RECT* rect) const = 0;
    // Hands the pixel buffer to the caller (delete[] it) and empties the
    // matrix; a shared buffer is copied first, an empty matrix gives null.
    virtual void* Detach();

    // Virtual so that a matrix of any class may be deleted through a
    // MetaMatrix pointer.
    virtual ~MetaMatrix();

protected:
    void Init();
    // n = 0 gives the empty state. Otherwise a block with count 1, both
    // lengths n and the rest zero, and a buffer of n bytes (zeroed on
    // request); false (and empty) when that cannot be allocated.
    bool AllocBuffer(int n, bool zeroPixels = false);
    void Release();
    // Takes a private copy of a shared block; false when that cannot be
    // allocated, and the caller must then not write.
    bool CopyBeforeWrite();
    // Makes sure this matrix owns an unshared buffer of at least n bytes; the
    // old pixels are not kept.
    bool AllocBeforeWrite(int n);
    // Owns pixels (new[]) as a new unshared block of length bytes with a zero
    // description; frees pixels and leaves the matrix empty when the block
    // cannot be allocated.
    bool AdoptBuffer(char* pixels, int length);
    // The same, keeping this matrix's description with new rows and columns.
    bool AdoptPixels(char* pixels, int rows, int columns, int dataLength);
    // Copies the nine description fields and the byte order flag.
    void CopyDescription(const MetaMatrixData& source);
    void SetDescription(int bitsAllocated, int bitsStored, int highBit, int rows, int columns,
                        int min, int max, int isSigned, int samplesPerPixel);
    // True when the buffer holds rows x columns pixels of bytesPerPixel bytes
    // and the matrix is not empty.
    bool HoldsPixels(int bytesPerPixel) const;
    // Widens min and max to include value.
    void WidenRange(int value);

    // Operations the typed matrices share, on pixels of 1, 2 or 3 bytes.
    void FlipPixelsVertically(int bytesPerPixel);
    void FlipPixelsHorizontally(int bytesPerPixel);
    // Values other than the three angles change nothing.
    void RotatePixels(RotateAngle angle, int bytesPerPixel);
    // target receives the part under rect with this matrix's description;
    // false when the clipped rectangle is empty.
    bool CopyPartTo(MetaMatrix& target, const CRect* rect, int bytesPerPixel) const;
    void PastePart(const MetaMatrix* source, const CRect* rect, int bytesPerPixel);
    void ScalePixelsNearest(unsigned width, unsigned height, int bytesPerPixel);
    // Byte length of this matrix resized to width x height; -1 when the size
    // is unchanged, zero or too large, or the matrix holds no pixels.
    int GetResizedLength(unsigned width, unsigned height, int bytesPerPixel) const;
    // Replaces the matrix by length bytes read from path at offset, with the
    // description given; false (matrix unchanged) when they cannot be read.
    bool LoadRawPixels(const char* path, int offset, long long length, int bitsAllocated,
                       int bitsStored, int highBit, int rows, int columns, int min, int max,
                       int isSigned, int samplesPerPixel);
    bool SaveRawPixels(const char* path, long long length) const;
    // Packs the bitmap into a DIB and runs FromDIB on it.
    bool FromBitmapThroughDib(HBITMAP bitmap);
    // CopyBeforeWrite of another matrix, which may be of another class.
    static bool CopyBeforeWrite(MetaMatrix& matrix) { return matrix.CopyBeforeWrite(); }

    char* m_pPixels;
    MetaMatrixData* m_pBlock;
};
