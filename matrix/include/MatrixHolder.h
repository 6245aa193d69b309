// MatrixHolder: a counted handle that owns one heap matrix of any class and
// shares it between copies of the handle.
#pragma once

#include "MatrixExport.h"
#include "WinTypes.h"

class MetaMatrix;

class MATRIX_API MatrixHolder
{
public:
    struct MetaData
    {
        LONG nRefs; // interlocked; negative: the matrix is never shared
    };
    // The block of a holder that holds nothing (count -1).
    static MetaData* DataNil;

    MatrixHolder();
    // Owns matrix (also null) with a new shared block.
    MatrixHolder(MetaMatrix* matrix);
    MatrixHolder(const MatrixHolder& other);
    ~MatrixHolder();
    MatrixHolder& operator=(const MatrixHolder& other);
    MatrixHolder& operator=(MetaMatrix* matrix);

    // Owns the matrix from now on; attaching the matrix already held changes
    // nothing.
    void Attach(MetaMatrix* matrix);
    void Release();
    // Takes the matrix out; the caller owns it. A matrix shared with other
    // holders stays with them: the result is then null and nothing changes.
    MetaMatrix* Detach();
    // target owns a clone of this holder's matrix.
    void CopyTo(MatrixHolder& target) const;
    void ShadowCopyTo(MatrixHolder& target) const { target.ShadowCopyFrom(*this); }

    MetaMatrix* GetMatrix() { return m_pMatrix; }
    const MetaMatrix* GetMatrix() const { return m_pMatrix; }
    bool IsEmpty() const { return m_pData == DataNil; }
    // Equal when both hold the same matrix, both hold none, or their matrices
    // have the same class, geometry, sample format and pixels.
    bool IsEqual(const MatrixHolder& other) const;

protected:
    void Init();
    void ShadowCopyFrom(const MatrixHolder& other);
    MetaData* GetData() const { return m_pData; }

private:
    MetaMatrix* m_pMatrix;
    MetaData* m_pData;
};

MATRIX_API bool operator==(const MatrixHolder& a, const MatrixHolder& b);
MATRIX_API bool operator!=(const MatrixHolder& a, const MatrixHolder& b);
