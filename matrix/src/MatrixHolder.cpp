// MatrixHolder: a counted handle on one heap matrix.
#include "MatrixHolder.h"

#include "MetaMatrix.h"
#include "WinInterlocked.h"

#include <cstring>

namespace
{

MatrixHolder::MetaData g_nilData = {-1};

// Same class, geometry, sample format and pixel bytes. Min and max are not
// compared: they describe the pixels and may be stale.
bool HaveSameContents(const MetaMatrix& a, const MetaMatrix& b)
{
    const MetaMatrixData& x = *a.GetData();
    const MetaMatrixData& y = *b.GetData();
    return a.GetMatrixType() == b.GetMatrixType() && x.nDataLength == y.nDataLength &&
           x.nBitsAllocated == y.nBitsAllocated && x.nBitsStored == y.nBitsStored &&
           x.nHighBit == y.nHighBit && x.nRows == y.nRows && x.nColumns == y.nColumns &&
           x.nSigned == y.nSigned && x.nSamplesPerPixel == y.nSamplesPerPixel &&
           x.nConvertedToBGR == y.nConvertedToBGR &&
           std::memcmp(a.GetPixelData(), b.GetPixelData(), std::size_t(x.nDataLength)) == 0;
}

} // namespace

MatrixHolder::MetaData* MatrixHolder::DataNil = &g_nilData;

MatrixHolder::MatrixHolder()
{
    Init();
}

MatrixHolder::MatrixHolder(MetaMatrix* matrix)
{
    Init();
    Attach(matrix);
}

MatrixHolder::MatrixHolder(const MatrixHolder& other)
{
    Init();
    if (other.m_pData->nRefs < 0)
        other.CopyTo(*this);
    else
        ShadowCopyFrom(other);
}

MatrixHolder::~MatrixHolder()
{
    Release();
}

MatrixHolder& MatrixHolder::operator=(const MatrixHolder& other)
{
    ShadowCopyFrom(other);
    return *this;
}

MatrixHolder& MatrixHolder::operator=(MetaMatrix* matrix)
{
    Attach(matrix);
    return *this;
}

void MatrixHolder::Attach(MetaMatrix* matrix)
{
    // Releasing the matrix this holder has would delete it (or leave two
    // blocks owning it) before it is taken again.
    if (matrix != nullptr && matrix == m_pMatrix)
        return;
    Release();
    m_pData = new MetaData{1};
    m_pMatrix = matrix;
}

void MatrixHolder::Release()
{
    if (m_pData != DataNil && InterlockedDecrement(&m_pData->nRefs) <= 0)
    {
        delete m_pMatrix;
        delete m_pData;
    }
    Init();
}

MetaMatrix* MatrixHolder::Detach()
{
    // The other holders would go on using, and at last delete, a matrix the
    // caller now owns.
    if (m_pData->nRefs > 1)
        return nullptr;
    MetaMatrix* matrix = m_pMatrix;
    m_pMatrix = nullptr;
    Release();
    return matrix;
}

void MatrixHolder::CopyTo(MatrixHolder& target) const
{
    if (&target == this)
        return;
    target.Release();
    if (m_pMatrix != nullptr)
        target.Attach(m_pMatrix->Clone());
}

bool MatrixHolder::IsEqual(const MatrixHolder& other) const
{
    if (m_pMatrix == other.m_pMatrix)
        return true;
    return m_pMatrix != nullptr && other.m_pMatrix != nullptr &&
           HaveSameContents(*m_pMatrix, *other.m_pMatrix);
}

void MatrixHolder::Init()
{
    m_pMatrix = nullptr;
    m_pData = DataNil;
}

void MatrixHolder::ShadowCopyFrom(const MatrixHolder& other)
{
    if (m_pMatrix == other.m_pMatrix)
        return;
    if ((m_pData->nRefs < 0 && m_pData != DataNil) || other.m_pData->nRefs < 0)
    {
        other.CopyTo(*this);
        return;
    }
    Release();
    m_pMatrix = other.m_pMatrix;
    m_pData = other.m_pData;
    InterlockedIncrement(&m_pData->nRefs);
}

bool operator==(const MatrixHolder& a, const MatrixHolder& b)
{
    return a.IsEqual(b);
}

bool operator!=(const MatrixHolder& a, const MatrixHolder& b)
{
    return !a.IsEqual(b);
}
